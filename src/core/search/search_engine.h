#pragma once
// One engine's whole search: the site address, the search page, every result page and every
// detail page it links to, and one result row per accepted detail page.
#include <functional>
#include <vector>

#include "app/result_lists.h"
#include "engines/engine_definition.h"
#include "web/cancellation.h"

namespace ondrel {

// One response as the search sees it.
struct FetchResult {
    Bytes body;
    int status = 0;        // 0 when no response came
    double seconds = 0;    // from asking to the last byte
};

using PageFetcher = std::function<FetchResult(const Text& url)>;

// The general request path, the address alone.
FetchResult fetchPage(const Text& url);

enum class RequestKind { site, searchPage, resultPage, detailPage };

// What a run does, step by step, for the engine author's tools. Calls come from the run's
// fetching threads; with one request in flight they come one at a time, in request order.
class SearchObserver {
public:
    virtual ~SearchObserver() = default;
    virtual void fetched(RequestKind, const Text& /*url*/, const FetchResult&) {}
    virtual void keywordEncoded(const Text& /*keyword*/, const Text& /*encoded*/) {}
    // `countText` as cut from the search page's text, `pages` the result pages it gives.
    virtual void pageCount(const Text& /*pageText*/, const Text& /*countText*/, int /*pages*/) {}
    // The detail links of result page `page` as cut, before the site address is put in front.
    virtual void links(int /*page*/, const Text& /*pageText*/, const std::vector<Text>& /*links*/) {}
    // The five fields of detail page `index` (from 0) of result page `page`, cut from `pageText`.
    virtual void detail(int /*page*/, int /*index*/, const Text& /*url*/, const Text& /*pageText*/, const ResultRow&,
                        bool /*accepted*/) {}
};

struct EngineRun {
    const EngineDefinition* engine = nullptr;
    int engineNumber = 1;              // its own result list
    ResultLists* lists = nullptr;
    KeywordSource* keyword = nullptr;
    SearchId search = 0;               // carried by every list change
    CancellationToken cancel;          // may be null: the run cannot be cancelled
    int jobs = 6;                      // requests in flight at most; 1: one after another
    PageFetcher fetch;                 // empty: fetchPage
    SearchObserver* observer = nullptr;
};

// Runs the search of one engine to its end, or until `cancel` is set. Requests go out up to
// `jobs` at a time, yet the lists change exactly as when every page is fetched after the one
// before: the own list is cleared once the site address has been fetched, rows come in page
// and link order, and the first six rows also go to the combined list 0.
void searchEngine(const EngineRun& run);

// The address of result page `n`: every "*" of the prefix and suffix replaced by the encoded
// keyword, and `n` in decimal between them.
Text resultPageUrl(const EngineDefinition& engine, const Text& encodedKeyword, int n);

// A detail link as it is fetched: with the site address in front when it holds no "://".
Text detailPageUrl(const EngineDefinition& engine, const Text& link);

// The five fields of a detail page's text, each cut between its prefix and suffix and
// stripped of HTML. The page is accepted when title and magnet link are both non-empty.
ResultRow cutResultFields(const EngineDefinition& engine, std::string_view pageText);
bool acceptedRow(const ResultRow& row);

// Whether a switch line is on: exactly "是".
bool switchOn(const Text& value);

}  // namespace ondrel
