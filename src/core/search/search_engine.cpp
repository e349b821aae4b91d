#include "search/search_engine.h"

#include <chrono>
#include <compare>
#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <thread>

#include "search/page_buffer.h"
#include "search/page_count.h"
#include "text/codepage.h"
#include "text/extract.h"
#include "text/html_strip.h"
#include "text/text_rules.h"
#include "web/web_request.h"

namespace ondrel {

FetchResult fetchPage(const Text& url) {
    FetchResult result;
    WebRequestOptions options;
    options.statusOut = &result.status;
    const auto started = std::chrono::steady_clock::now();
    result.body = WebRequest(url, options);
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return result;
}

bool switchOn(const Text& value) { return value == "\xCA\xC7"; }  // "是"

Text resultPageUrl(const EngineDefinition& engine, const Text& encodedKeyword, int n) {
    const std::vector<ReplacePair> keyword = {{"*", encodedKeyword}};
    return replacePairs(engine.pageUrlPrefix, keyword) + std::to_string(n) +
           replacePairs(engine.pageUrlSuffix, keyword);
}

Text detailPageUrl(const EngineDefinition& engine, const Text& link) {
    return findText(link, "://") == notFound ? engine.siteUrl + link : link;
}

ResultRow cutResultFields(const EngineDefinition& engine, std::string_view pageText) {
    const auto field = [&](const Text& prefix, const Text& suffix) {
        return stripHtml(textBetween(pageText, prefix, suffix));
    };
    ResultRow row;
    row.title = field(engine.titlePrefix, engine.titleSuffix);
    row.size = field(engine.sizePrefix, engine.sizeSuffix);
    row.fileCount = field(engine.fileCountPrefix, engine.fileCountSuffix);
    row.date = field(engine.datePrefix, engine.dateSuffix);
    row.magnetLink = field(engine.magnetPrefix, engine.magnetSuffix);
    return row;
}

bool acceptedRow(const ResultRow& row) { return !row.title.empty() && !row.magnetLink.empty(); }

namespace {

// The place of a request in the one-after-another order: the site, the search page, then each
// result page followed by its detail pages. Requests are taken lowest place first, so with one
// request in flight they go out in exactly that order, and with more the earliest pages (whose
// rows are shown first) are never kept waiting by later ones.
struct RequestPlace {
    enum Stage { site, searchPage, resultPages } stage;
    long long page = 0;  // result page from 1
    long long link = 0;  // 0: the result page itself; k: its k-th detail link
    auto operator<=>(const RequestPlace&) const = default;
};

constexpr auto pollInterval = std::chrono::milliseconds(20);

class EngineRunState {
public:
    explicit EngineRunState(const EngineRun& run)
        : run_(run), engine_(*run.engine), fetch_(run.fetch ? run.fetch : PageFetcher(fetchPage)) {}

    void execute() {
        const Text keyword = run_.keyword ? run_.keyword->keyword() : Text{};
        encodedKeyword_ = urlEncode(keyword, true, transcodeSearch());
        if (run_.observer) run_.observer->keywordEncoded(keyword, encodedKeyword_);
        queue_ = {{RequestPlace::site}, {RequestPlace::searchPage}};

        std::vector<std::thread> fetchers = startFetchers();
        if (fetchers.empty()) fetchRequests();  // no thread to spare: fetch everything first
        addRows();
        {
            std::lock_guard lock(mutex_);
            finished_ = true;
        }
        changed_.notify_all();
        for (std::thread& t : fetchers) t.join();
    }

private:
    bool transcodeSearch() const { return switchOn(engine_.transcodeSearchPage); }
    bool cancelled() const { return run_.cancel && run_.cancel->cancelled(); }

    std::vector<std::thread> startFetchers() {
        std::vector<std::thread> fetchers;
        const int count = std::max(run_.jobs, 1);
        try {
            for (int i = 0; i < count; ++i) fetchers.emplace_back([this] { fetchRequests(); });
        } catch (const std::system_error&) {
            // Fewer threads than asked for only means fewer requests in flight.
        }
        return fetchers;
    }

    // Waits on the run's state until `ready` holds or the run is cancelled; true when ready.
    // Cancellation sets no condition, so the wait looks at it every poll interval.
    template <class Ready>
    bool waitFor(std::unique_lock<std::mutex>& lock, Ready ready) {
        while (!ready()) {
            if (cancelled()) return false;
            changed_.wait_for(lock, pollInterval);
        }
        return !cancelled();
    }

    // --- fetching threads ---

    void fetchRequests() {
        CancellationScope scope(run_.cancel);
        std::unique_lock lock(mutex_);
        while (!finished_ && !cancelled()) {
            std::optional<RequestPlace> next = takeNextRequest();
            if (!next) {
                if (noRequestsLeft()) break;
                changed_.wait_for(lock, pollInterval);
                continue;
            }
            ++inFlight_;
            lock.unlock();
            perform(*next);
            lock.lock();
            --inFlight_;
            changed_.notify_all();
        }
        changed_.notify_all();
    }

    // Called with the lock held.
    std::optional<RequestPlace> takeNextRequest() {
        std::optional<RequestPlace> nextPage;
        if (pageCount_ && nextPage_ <= *pageCount_) nextPage = RequestPlace{RequestPlace::resultPages, nextPage_, 0};
        if (!queue_.empty() && (!nextPage || *queue_.begin() < *nextPage)) {
            RequestPlace place = *queue_.begin();
            queue_.erase(queue_.begin());
            return place;
        }
        if (nextPage) ++nextPage_;
        return nextPage;
    }

    bool noRequestsLeft() const { return pageCount_ && nextPage_ > *pageCount_ && queue_.empty() && inFlight_ == 0; }

    FetchResult fetch(RequestKind kind, const Text& url) {
        FetchResult result = fetch_(url);
        if (run_.observer && !cancelled()) run_.observer->fetched(kind, url, result);
        return result;
    }

    void perform(const RequestPlace& place) {
        switch (place.stage) {
            case RequestPlace::site: fetchSite(); break;
            case RequestPlace::searchPage: fetchSearchPage(); break;
            case RequestPlace::resultPages:
                if (place.link == 0) {
                    fetchResultPage(place.page);
                } else {
                    fetchDetailPage(place.page, place.link);
                }
                break;
        }
    }

    void fetchSite() {
        // Nothing of the site's page is used; the request itself is part of a search.
        fetch(RequestKind::site, engine_.siteUrl);
        std::lock_guard lock(mutex_);
        siteFetched_ = true;
    }

    void fetchSearchPage() {
        const FetchResult page =
            fetch(RequestKind::searchPage, engine_.searchUrlPrefix + encodedKeyword_ + engine_.searchUrlSuffix);
        const Text text = pageText(page.body, transcodeSearch());
        const Text countText = textBetween(text, engine_.pageCountPrefix, engine_.pageCountSuffix);
        const int pages = pageCountFromText(countText);
        if (run_.observer) run_.observer->pageCount(text, countText, pages);
        std::lock_guard lock(mutex_);
        pageCount_ = pages;
    }

    void fetchResultPage(long long n) {
        const FetchResult page = fetch(RequestKind::resultPage, resultPageUrl(engine_, encodedKeyword_, int(n)));
        const Text text = pageText(page.body, transcodeSearch());
        std::vector<Text> links;
        allTextsBetween(text, engine_.detailLinkPrefix, engine_.detailLinkSuffix, links);
        if (run_.observer) run_.observer->links(int(n), text, links);
        for (Text& link : links) link = detailPageUrl(engine_, link);
        std::lock_guard lock(mutex_);
        for (size_t k = 1; k <= links.size(); ++k) queue_.insert({RequestPlace::resultPages, n, (long long)k});
        links_[n] = std::move(links);
    }

    void fetchDetailPage(long long n, long long k) {
        Text url;
        {
            std::lock_guard lock(mutex_);
            url = links_.at(n)[size_t(k - 1)];
        }
        const FetchResult page = fetch(RequestKind::detailPage, url);
        const Text text = pageText(page.body, switchOn(engine_.transcodeDetailPage));
        const ResultRow row = cutResultFields(engine_, text);
        const bool accepted = acceptedRow(row);
        if (run_.observer && !cancelled()) run_.observer->detail(int(n), int(k - 1), url, text, row, accepted);
        std::lock_guard lock(mutex_);
        outcomes_[{n, k}] = accepted ? std::optional<ResultRow>(row) : std::nullopt;
    }

    // --- the run's own thread: the list changes, in the one-after-another order ---

    void addRows() {
        std::unique_lock lock(mutex_);
        if (!waitFor(lock, [&] { return siteFetched_; })) return;
        lock.unlock();
        run_.lists->clearList(run_.engineNumber, run_.search);
        lock.lock();

        int row = 0;
        for (long long page = 1;; ++page) {
            if (!waitFor(lock, [&] { return pageCount_ && (page > *pageCount_ || links_.count(page)); })) return;
            if (page > *pageCount_) return;
            const size_t linkCount = links_[page].size();
            for (size_t k = 1; k <= linkCount; ++k) {
                const std::pair<long long, long long> place{page, (long long)k};
                if (!waitFor(lock, [&] { return outcomes_.count(place) > 0; })) return;
                std::optional<ResultRow> outcome = std::move(outcomes_[place]);
                outcomes_.erase(place);
                if (!outcome) continue;
                lock.unlock();
                addRow(row++, *outcome);
                lock.lock();
            }
            links_.erase(page);
        }
    }

    void addRow(int row, const ResultRow& cells) {
        if (cancelled()) return;
        run_.lists->appendRow(run_.engineNumber, row, cells, run_.search);
        // Each engine's first six rows of a run also go to the combined list.
        if (row <= 5) run_.lists->appendRow(0, row, cells, run_.search);
    }

    const EngineRun& run_;
    const EngineDefinition& engine_;
    const PageFetcher fetch_;
    Text encodedKeyword_;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::set<RequestPlace> queue_;
    long long nextPage_ = 1;
    std::optional<int> pageCount_;
    bool siteFetched_ = false;
    int inFlight_ = 0;
    bool finished_ = false;
    std::map<long long, std::vector<Text>> links_;  // detail addresses of the result pages not yet done
    std::map<std::pair<long long, long long>, std::optional<ResultRow>> outcomes_;  // rows not yet added
};

}  // namespace

void searchEngine(const EngineRun& run) {
    if (!run.engine || !run.lists) return;
    EngineRunState(run).execute();
}

}  // namespace ondrel
