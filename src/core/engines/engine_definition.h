#pragma once
// One engine as its 22-line file describes it, and the table of all engines. The table is
// built once at start-up and only read afterwards, by every thread, without locks.
#include <memory>
#include <vector>

#include "text/text.h"

namespace ondrel {

constexpr int engineLineCount = 22;
// The window has 99 result lists; list 0 is the combined tab's, so at most 98 engines.
constexpr int maxEngineCount = 98;

struct EngineDefinition {
    Text siteUrl;              // line 2
    Text name;                 // line 1
    Text searchUrlPrefix;      // lines 3 .. 22 in file order
    Text searchUrlSuffix;
    Text pageCountPrefix;
    Text pageCountSuffix;
    Text pageUrlPrefix;
    Text pageUrlSuffix;
    Text detailLinkPrefix;
    Text detailLinkSuffix;
    Text titlePrefix;
    Text titleSuffix;
    Text sizePrefix;
    Text sizeSuffix;
    Text fileCountPrefix;
    Text fileCountSuffix;
    Text datePrefix;
    Text dateSuffix;
    Text magnetPrefix;
    Text magnetSuffix;
    Text transcodeSearchPage;  // "是" turns transcoding of search and result pages on
    Text transcodeDetailPage;  // "是" turns transcoding of detail pages on
};

// 1-based, in load order; an engine's number is its tab index and result-list number.
class EngineTable {
public:
    EngineTable() = default;
    explicit EngineTable(std::vector<EngineDefinition> engines) : engines_(std::move(engines)) {}
    int count() const { return int(engines_.size()); }
    const EngineDefinition& engine(int number) const { return engines_.at(size_t(number) - 1); }

private:
    std::vector<EngineDefinition> engines_;
};

}  // namespace ondrel
