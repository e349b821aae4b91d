// A search over every engine: one worker per engine, and what a new search or Stop does to
// the runs of the previous one.
#include <gtest/gtest.h>

#include <thread>

#include "search/search_dispatch.h"
#include "search_test_support.h"

namespace ondrel::searchtest {
namespace {

using namespace std::chrono_literals;

EngineTable magnetEngines(const MagnetServer& server, bool withInvalid) {
    std::vector<EngineDefinition> engines = {server.engine(MagnetFlavor::gbk), server.engine(MagnetFlavor::utf8),
                                             server.engine(MagnetFlavor::mixed)};
    if (withInvalid) engines.insert(engines.begin() + 1, EngineDefinition{});
    return EngineTable(std::move(engines));
}

// A keyword box whose text changes between searches; workers read it while it may change.
class SwitchingKeyword : public KeywordSource {
public:
    void set(Text value) {
        std::lock_guard lock(mutex_);
        value_ = std::move(value);
    }
    Text keyword() override {
        std::lock_guard lock(mutex_);
        return value_;
    }

private:
    std::mutex mutex_;
    Text value_;
};

// Within each list, once search `newer` has changed it, no change of an older search follows.
void expectNoOlderChangeAfterNewer(const RecordingLists& lists, SearchId newer) {
    for (int list = 0; list < resultListCount; ++list) {
        bool newerSeen = false;
        for (const ListChange& c : lists.changesOf(list)) {
            newerSeen = newerSeen || c.search == newer;
            if (newerSeen) {
                EXPECT_EQ(c.search, newer) << "list " << list << " row " << c.row;
            }
        }
    }
}

TEST(SearchDispatch, OneWorkerPerEngineIncludingInvalidOnes) {
    MagnetServer server;
    ASSERT_TRUE(server.started());
    const EngineTable engines = magnetEngines(server, true);
    RecordingLists lists;
    FixedKeyword keyword(utf8ToGbk("ubuntu"));
    SearchDispatcher dispatcher(engines, lists, keyword);
    EXPECT_EQ(dispatcher.startedWorkers(), 0);
    dispatcher.startSearch();
    EXPECT_EQ(dispatcher.startedWorkers(), 4);
    ASSERT_TRUE(dispatcher.waitForWorkers());
    EXPECT_EQ(dispatcher.startedWorkers(), 4);  // the slots keep their handles after the end

    const std::vector<ResultRow> rows = expectedRows(server.magnets(), "ubuntu");
    EXPECT_EQ(dispatcher.resultCount(), int(rows.size()) * 3);
    EXPECT_EQ(lists.list(1), rows);
    EXPECT_TRUE(lists.list(2).empty());
    EXPECT_EQ(lists.changesOf(2).size(), 1u);  // the invalid engine's list is cleared all the same
    EXPECT_EQ(lists.list(3), rows);
    EXPECT_EQ(lists.list(4), rows);
    EXPECT_EQ(lists.list(0).size(), 18u);  // six from each engine
}

TEST(SearchDispatch, NoEnginesOnlyResetsTheCount) {
    const EngineTable none;
    RecordingLists lists;
    FixedKeyword keyword("x");
    SearchDispatcher dispatcher(none, lists, keyword);
    dispatcher.startSearch();
    EXPECT_EQ(dispatcher.startedWorkers(), 0);
    EXPECT_EQ(dispatcher.resultCount(), 0);
    EXPECT_TRUE(lists.changes().empty());
}

TEST(SearchDispatch, SecondSearchAfterTheFirstKeepsTheCombinedRowsOfBoth) {
    MagnetServer server;
    ASSERT_TRUE(server.started());
    const EngineTable engines = magnetEngines(server, false);
    RecordingLists lists;
    SwitchingKeyword keyword;
    SearchDispatcher dispatcher(engines, lists, keyword);
    keyword.set(utf8ToGbk("ubuntu"));
    dispatcher.startSearch();
    ASSERT_TRUE(dispatcher.waitForWorkers());
    keyword.set(utf8ToGbk("debian"));
    dispatcher.startSearch();
    ASSERT_TRUE(dispatcher.waitForWorkers());

    const std::vector<ResultRow> debian = expectedRows(server.magnets(), "debian");
    for (int engine = 1; engine <= 3; ++engine) EXPECT_EQ(lists.list(engine), debian) << engine;
    EXPECT_EQ(lists.list(0).size(), 36u);
    EXPECT_EQ(dispatcher.resultCount(), int(debian.size()) * 3);
}

// Searches over every item of the site (many pages), caught while they still run.
class RunningSearch : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server_.started());
        server_.magnets().setLatency(20);
    }
    // Waits until the search under way has given the combined list `rows` rows.
    void waitForCombinedRows(size_t rows) const {
        while (lists_.list(0).size() < rows) std::this_thread::sleep_for(2ms);
    }

    MagnetServer server_;
    const EngineTable engines_ = magnetEngines(server_, false);
    RecordingLists lists_;
};

TEST_F(RunningSearch, NewSearchCancelsTheRunningOne) {
    SwitchingKeyword keyword;
    keyword.set("");
    SearchDispatcher dispatcher(engines_, lists_, keyword, 3);
    dispatcher.startSearch();
    waitForCombinedRows(4);
    keyword.set(utf8ToGbk("debian"));
    const SearchId second = dispatcher.startSearch();
    EXPECT_EQ(dispatcher.resultCount(), 0);
    EXPECT_EQ(dispatcher.startedWorkers(), 3);
    ASSERT_TRUE(dispatcher.waitForWorkers());

    expectNoOlderChangeAfterNewer(lists_, second);
    const std::vector<ResultRow> debian = expectedRows(server_.magnets(), "debian");
    for (int engine = 1; engine <= 3; ++engine) EXPECT_EQ(lists_.list(engine), debian) << engine;
    EXPECT_EQ(dispatcher.resultCount(), int(debian.size()) * 3);  // the cancelled runs count nothing
}

TEST_F(RunningSearch, StopEndsTheRunsAndKeepsTheCount) {
    FixedKeyword keyword("");
    SearchDispatcher dispatcher(engines_, lists_, keyword);
    dispatcher.startSearch();
    waitForCombinedRows(3);
    dispatcher.stop();
    const size_t changesAtStop = lists_.changes().size();
    const int countAtStop = dispatcher.resultCount();
    ASSERT_TRUE(dispatcher.waitForWorkers(5000));
    // Changes already being forwarded when Stop came may complete; none start after it.
    EXPECT_LE(lists_.changes().size(), changesAtStop + 3);
    EXPECT_EQ(dispatcher.resultCount(), countAtStop);
    EXPECT_LT(countAtStop, 120 * 3);
}

TEST_F(RunningSearch, EndingDuringASearchAbortsRequestsThatWouldNotReturn) {
    FixedKeyword keyword("");
    {
        SearchDispatcher dispatcher(engines_, lists_, keyword);
        dispatcher.startSearch();
        waitForCombinedRows(3);
        // Every response from now on would take a minute: only aborting them lets the
        // dispatcher end, and with it this test.
        server_.magnets().setLatency(60000);
    }
    const size_t changesAtEnd = lists_.changes().size();
    server_.magnets().setLatency(0);
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(lists_.changes().size(), changesAtEnd);
}

}  // namespace
}  // namespace ondrel::searchtest
