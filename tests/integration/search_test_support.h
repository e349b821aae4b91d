#pragma once
// What the search tests share: the generated magnet site on a local server, engines for it,
// and result lists that record every change.
#include <gtest/gtest.h>

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "app/result_lists.h"
#include "engines/engine_file.h"
#include "magnet_site.h"
#include "test_site.h"
#include "search/fixed_keyword.h"
#include "text/codepage.h"

namespace ondrel::searchtest {

using testsite::MagnetFlavor;
using testsite::MagnetSite;
using ondrel::FixedKeyword;

struct ListChange {
    int list;
    int row;  // -1: the list was cleared
    ResultRow cells;
    SearchId search;
    bool operator==(const ListChange&) const = default;
};

// Every change in arrival order, and the lists they build.
class RecordingLists : public ResultLists {
public:
    void clearList(int list, SearchId search) override {
        std::lock_guard lock(mutex_);
        changes_.push_back({list, -1, {}, search});
        lists_[list].clear();
    }
    void appendRow(int list, int row, const ResultRow& cells, SearchId search) override {
        std::lock_guard lock(mutex_);
        changes_.push_back({list, row, cells, search});
        lists_[list].push_back(cells);
    }
    std::vector<ListChange> changes() const {
        std::lock_guard lock(mutex_);
        return changes_;
    }
    std::vector<ResultRow> list(int number) const {
        std::lock_guard lock(mutex_);
        auto it = lists_.find(number);
        return it == lists_.end() ? std::vector<ResultRow>{} : it->second;
    }
    // The changes of one list, in order.
    std::vector<ListChange> changesOf(int list) const {
        std::vector<ListChange> out;
        for (const ListChange& c : changes()) {
            if (c.list == list) out.push_back(c);
        }
        return out;
    }

private:
    mutable std::mutex mutex_;
    std::vector<ListChange> changes_;
    std::map<int, std::vector<ResultRow>> lists_;
};

// The magnet site on a server of its own.
class MagnetServer {
public:
    explicit MagnetServer(testsite::MagnetSiteOptions options = {}) : magnets_(std::move(options)) {
        magnets_.addRoutes(site_.server());
        started_ = site_.start();
    }
    bool started() const { return started_; }
    MagnetSite& magnets() { return magnets_; }
    std::string baseUrl() const { return site_.baseUrl(); }
    EngineDefinition engine(MagnetFlavor flavor) const {
        return *parseEngineFile(MagnetSite::engineFile(flavor, site_.baseUrl()));
    }

private:
    MagnetSite magnets_;          // outlives the server, whose handlers use it
    testsite::TestSite site_;
    bool started_ = false;
};

// The row an item of the data set gives, as the lists hold it.
inline ResultRow expectedRow(const testsite::MagnetItem& item) {
    ResultRow row;
    std::string title = item.title;
    for (size_t at = title.find('\n'); at != std::string::npos; at = title.find('\n', at + 2)) title.insert(at, "\r");
    row.title = utf8ToGbk(title);
    row.size = item.size;
    row.fileCount = std::to_string(item.fileCount);
    row.date = item.date;
    row.magnetLink = "magnet:?xt=urn:btih:" + item.hash;
    return row;
}

inline std::vector<ResultRow> expectedRows(const MagnetSite& site, const std::string& keywordUtf8) {
    std::vector<ResultRow> rows;
    for (const auto& item : site.matches(keywordUtf8)) rows.push_back(expectedRow(item));
    return rows;
}

}  // namespace ondrel::searchtest
