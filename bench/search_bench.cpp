// A whole search over three engines of 5 result pages x 20 detail pages each, every response
// 50 ms late: with 6 requests in flight per engine against the bound that many requests in
// flight allow, and one request at a time against that.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
#include <mutex>

#include "engines/engine_file.h"
#include "magnet_site.h"
#include "search/search_dispatch.h"
#include "test_site.h"

namespace {

using namespace ondrel;
using testsite::MagnetFlavor;
using testsite::MagnetSite;

constexpr int latencyMs = 50;
constexpr int requestsPerEngine = 2 + 5 + 5 * 20;

class Rows : public ResultLists {
public:
    void clearList(int list, SearchId) override {
        std::lock_guard lock(mutex_);
        lists_[list].clear();
    }
    void appendRow(int list, int, const ResultRow& cells, SearchId) override {
        std::lock_guard lock(mutex_);
        lists_[list].push_back(cells);
    }
    // The engines' own lists; the combined list's interleaving depends on timing by design.
    std::map<int, std::vector<ResultRow>> engineLists() const {
        std::lock_guard lock(mutex_);
        auto copy = lists_;
        copy.erase(0);
        return copy;
    }

private:
    mutable std::mutex mutex_;
    std::map<int, std::vector<ResultRow>> lists_;
};

struct NoKeyword : KeywordSource {
    Text keyword() override { return {}; }
};

struct Site {
    Site() : magnets(options()) {
        magnets.addRoutes(site.server());
        site.start();
        std::vector<EngineDefinition> list;
        for (MagnetFlavor f : {MagnetFlavor::gbk, MagnetFlavor::utf8, MagnetFlavor::mixed}) {
            list.push_back(*parseEngineFile(MagnetSite::engineFile(f, site.baseUrl())));
        }
        engines = EngineTable(std::move(list));
        magnets.setLatency(latencyMs);
    }
    static testsite::MagnetSiteOptions options() {
        testsite::MagnetSiteOptions o;
        o.itemCount = 100;
        o.linksPerPage = 20;
        o.deadLinks = false;
        return o;
    }
    MagnetSite magnets;  // outlives the server, whose handlers use it
    testsite::TestSite site;
    EngineTable engines;
};

Site& site() {
    static Site s;
    return s;
}

std::map<int, std::map<int, std::vector<ResultRow>>> rowsByJobs;
std::map<int, double> secondsByJobs;

void searchOnce(benchmark::State& state, int jobs) {
    for (auto _ : state) {
        Rows rows;
        NoKeyword keyword;
        site().magnets.resetRequests();
        const auto started = std::chrono::steady_clock::now();
        {
            SearchDispatcher dispatcher(site().engines, rows, keyword, jobs);
            dispatcher.startSearch();
            dispatcher.waitForWorkers();
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        state.SetIterationTime(seconds);
        secondsByJobs[jobs] = seconds;
        rowsByJobs[jobs] = rows.engineLists();
        state.counters["requests"] = site().magnets.requestCount();
    }
}

void BM_SearchSixInFlight(benchmark::State& state) {
    searchOnce(state, 6);
    const double bound = std::ceil(requestsPerEngine / 6.0) * latencyMs / 1000.0;
    state.counters["vs_bound"] = secondsByJobs[6] / bound;
}

void BM_SearchOneAtATime(benchmark::State& state) {
    searchOnce(state, 1);
    state.counters["vs_six"] = secondsByJobs[1] / secondsByJobs[6];
    state.counters["rows_identical"] = rowsByJobs[1] == rowsByJobs[6] && !rowsByJobs[1].empty() ? 1 : 0;
}

BENCHMARK(BM_SearchSixInFlight)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SearchOneAtATime)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
