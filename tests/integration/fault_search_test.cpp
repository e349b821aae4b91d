// Whole searches against hostile sites and under a storm of new searches: each ends as it
// should, can be stopped at once, and leaves the lists of the last search exactly right.
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "engines/engine_file.h"
#include "hostile_routes.h"
#include "search/search_dispatch.h"
#include "search_test_support.h"

namespace ondrel::searchtest {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

class HostileSite : public ::testing::Test {
protected:
    void SetUp() override {
        testsite::addHostileRoutes(site_.server());
        ASSERT_TRUE(site_.start());
    }
    EngineTable engine(const std::string& pageCount, int links, bool badUtf8 = false) const {
        auto engine = parseEngineFile(testsite::hostileEngineFile(site_.baseUrl(), pageCount, links, badUtf8));
        EXPECT_TRUE(engine.has_value());
        return EngineTable({engine.value_or(EngineDefinition{})});
    }

    testsite::TestSite site_;
    RecordingLists lists_;
    FixedKeyword keyword_{"k"};
};

TEST_F(HostileSite, BillionPagesCanBeStoppedAtOnce) {
    const EngineTable engines = engine("1000000000", 1);
    {
        SearchDispatcher dispatcher(engines, lists_, keyword_);
        dispatcher.startSearch();
        while (lists_.list(1).size() < 20) std::this_thread::sleep_for(2ms);
        auto stopped = Clock::now();
        dispatcher.stop();
        EXPECT_TRUE(dispatcher.waitForWorkers(2000)) << "the run ends at its next step";
        RecordProperty("stop_ms", int(secondsSince(stopped) * 1000));
    }
    const std::vector<ResultRow> rows = lists_.list(1);
    for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i].title, "item 0") << "one link on every page";
}

TEST_F(HostileSite, TenThousandDetailLinksOnOnePageAllGiveRows) {
    const EngineTable engines = engine("1", 10000);
    SearchDispatcher dispatcher(engines, lists_, keyword_);
    auto start = Clock::now();
    dispatcher.startSearch();
    ASSERT_TRUE(dispatcher.waitForWorkers(240000));
    RecordProperty("search_ms", int(secondsSince(start) * 1000));
    const std::vector<ResultRow> rows = lists_.list(1);
    ASSERT_EQ(rows.size(), 10000u);
    EXPECT_EQ(dispatcher.resultCount(), 10000);
    EXPECT_EQ(rows.front().title, "item 0");
    EXPECT_EQ(rows.back().magnetLink, "magnet:?xt=urn:btih:9999");
    EXPECT_EQ(lists_.list(0).size(), 6u);
}

TEST_F(HostileSite, InvalidUtf8KeepsTheValidCharacters) {
    const EngineTable engines = engine("1", 3, true);
    SearchDispatcher dispatcher(engines, lists_, keyword_);
    dispatcher.startSearch();
    ASSERT_TRUE(dispatcher.waitForWorkers(20000));
    const std::vector<ResultRow> rows = lists_.list(1);
    ASSERT_EQ(rows.size(), 3u) << "a page with bad bytes still gives its row";
    const Text bad = utf8ToGbk("\xEF\xBF\xBD");  // one replacement character per bad sequence
    EXPECT_EQ(rows[0].title, "a" + bad + "b" + bad + " " + utf8ToGbk("\xE4\xB8\xAD\xF0\x9F\x98\x80") + bad + " 0");
    EXPECT_EQ(gbkToUtf8(rows[2].title).find("\xF0\x9F\x98\x80"), 12u) << "the emoji survives";
}

// Every search of the storm keeps its changes apart: within a list, once a newer search has
// changed it, no older search changes it again.
void expectSearchesInOrder(const RecordingLists& lists) {
    for (int list = 0; list < resultListCount; ++list) {
        SearchId newest = 0;
        for (const ListChange& c : lists.changesOf(list)) {
            EXPECT_GE(c.search, newest) << "list " << list;
            newest = std::max(newest, c.search);
        }
    }
}

TEST(SearchStress, NewSearchEvery50msForTenSecondsThenStop) {
    MagnetServer server;
    ASSERT_TRUE(server.started());
    server.magnets().setLatency(5);
    std::vector<EngineDefinition> twenty;
    for (int i = 0; i < 20; ++i) twenty.push_back(server.engine(MagnetFlavor(i % 3)));
    const EngineTable engines(std::move(twenty));
    RecordingLists lists;
    FixedKeyword keyword(utf8ToGbk("ubuntu"));
    int searches = 0;
    {
        SearchDispatcher dispatcher(engines, lists, keyword);
        const auto end = Clock::now() + 10s;
        while (Clock::now() < end) {
            dispatcher.startSearch();
            ++searches;
            std::this_thread::sleep_for(50ms);
        }
        // The last search runs to its end; its lists must be exactly those of a quiet search.
        const SearchId last = dispatcher.startSearch();
        ASSERT_TRUE(dispatcher.waitForWorkers(120000));
        const std::vector<ResultRow> rows = expectedRows(server.magnets(), "ubuntu");
        for (int list = 1; list <= 20; ++list) EXPECT_EQ(lists.list(list), rows) << list;
        EXPECT_EQ(dispatcher.resultCount(), int(rows.size()) * 20);
        size_t combined = 0;
        for (const ListChange& c : lists.changesOf(0)) combined += c.search == last;
        EXPECT_EQ(combined, 20u * 6u);
        dispatcher.stop();
    }  // closing: the dispatcher cancels and waits for every worker it ever started
    expectSearchesInOrder(lists);
    RecordProperty("searches", searches);
}

}  // namespace
}  // namespace ondrel::searchtest
