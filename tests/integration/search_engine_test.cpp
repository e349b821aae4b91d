// One engine's search against the generated magnet site.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <thread>

#include "engines/engine_loader.h"
#include "search/search_engine.h"
#include "search_test_support.h"

namespace ondrel::searchtest {
namespace {

struct RunResult {
    std::vector<ListChange> changes;
    std::vector<std::string> requests;
};

RunResult runEngine(MagnetServer& server, const EngineDefinition& engine, const std::string& keywordUtf8, int jobs,
                    int engineNumber = 1) {
    server.magnets().resetRequests();
    RecordingLists lists;
    FixedKeyword keyword(utf8ToGbk(keywordUtf8));
    EngineRun run;
    run.engine = &engine;
    run.engineNumber = engineNumber;
    run.lists = &lists;
    run.keyword = &keyword;
    run.search = 7;
    run.jobs = jobs;
    searchEngine(run);
    return {lists.changes(), server.magnets().requestLog()};
}

// The changes one run should make: its list cleared, then each row, the first six also in list 0.
std::vector<ListChange> expectedChanges(const std::vector<ResultRow>& rows, int engineNumber, SearchId search) {
    std::vector<ListChange> changes = {{engineNumber, -1, {}, search}};
    for (size_t r = 0; r < rows.size(); ++r) {
        changes.push_back({engineNumber, int(r), rows[r], search});
        if (r <= 5) changes.push_back({0, int(r), rows[r], search});
    }
    return changes;
}

TEST(SearchEngine, EveryFlavourGivesTheSiteRowsInOrder) {
    MagnetServer server;
    ASSERT_TRUE(server.started());
    // Korean in the keyword reaches a GBK engine as GB18030 bytes and a UTF-8 one as UTF-8; its
    // items include error-status pages (cut like any other page) and a title over two lines.
    for (const std::string keyword : {"한국어", "ubuntu"}) {
        const std::vector<ResultRow> rows = expectedRows(server.magnets(), keyword);
        ASSERT_GE(rows.size(), 7u);  // the seventh row goes to the engine's own list only
        for (MagnetFlavor flavor : {MagnetFlavor::gbk, MagnetFlavor::utf8, MagnetFlavor::mixed}) {
            const RunResult result = runEngine(server, server.engine(flavor), keyword, 6, 3);
            EXPECT_EQ(result.changes, expectedChanges(rows, 3, 7)) << MagnetSite::flavorName(flavor) << " " << keyword;
            // The site, the search page, one result page, every link including the dead one.
            EXPECT_EQ(result.requests.size(), 2 + 1 + rows.size() + 1) << MagnetSite::flavorName(flavor);
        }
    }
}

TEST(SearchEngine, TitleOverSeveralLinesKeepsItsBreaksAsCrLf) {
    MagnetServer server;
    ASSERT_TRUE(server.started());
    // Item 13 has a two-line title; each flavour ends its lines differently (LF, CR LF, CR).
    for (MagnetFlavor flavor : {MagnetFlavor::gbk, MagnetFlavor::utf8, MagnetFlavor::mixed}) {
        const RunResult result = runEngine(server, server.engine(flavor), "\xE7\xAC\xAC" "13\xE9\x83\xA8", 6);  // 第13部
        ASSERT_EQ(result.changes.size(), 3u) << MagnetSite::flavorName(flavor);
        EXPECT_EQ(result.changes[1].cells.title, utf8ToGbk("Ubuntu 24.04 桌面版\r\n第13部"));
    }
}

TEST(SearchEngine, ConcurrentFetchingChangesTheListsExactlyAsOneAfterAnother) {
    testsite::MagnetSiteOptions options;
    options.linksPerPage = 7;  // 120 items: 18 result pages
    MagnetServer server(options);
    ASSERT_TRUE(server.started());
    const EngineDefinition engine = server.engine(MagnetFlavor::utf8);
    const RunResult strict = runEngine(server, engine, "", 1);
    const RunResult concurrent = runEngine(server, engine, "", 6);
    EXPECT_EQ(strict.changes, expectedChanges(expectedRows(server.magnets(), ""), 1, 7));
    EXPECT_EQ(concurrent.changes, strict.changes);

    // One request in flight: the order of the one-after-another procedure.
    std::vector<std::string> order = {"/utf8", "/utf8/search?q="};
    const auto items = server.magnets().matches("");
    for (int page = 1; page <= 18; ++page) {
        order.push_back("/utf8/list?p=" + std::to_string(page) + "&q=");
        for (int i = (page - 1) * 7; i < std::min(page * 7, int(items.size())); ++i) {
            order.push_back("/utf8/d/" + std::to_string(items[size_t(i)].number) + ".html");
            if (i == (page - 1) * 7) order.push_back("/utf8/d/0.html");
        }
    }
    EXPECT_EQ(strict.requests, order);
    // More in flight: the same requests, each once.
    std::vector<std::string> a = strict.requests, b = concurrent.requests;
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    EXPECT_EQ(a, b);
}

TEST(SearchEngine, PageCountTextDecidesTheResultPagesFetched) {
    struct Case {
        const char* sent;  // what the search page holds between the count's prefix and suffix
        int pages;
    } cases[] = {{"none", 5}, {"abc", 0}, {"0", 1}, {"\xEF\xBC\x93", 3} /* full-width 3 */, {" 2页", 2}, {"-1", 0}};
    for (const Case& c : cases) {
        testsite::MagnetSiteOptions options;
        options.pageCountText = c.sent;
        options.linksPerPage = 2;
        MagnetServer server(options);
        ASSERT_TRUE(server.started());
        const RunResult result = runEngine(server, server.engine(MagnetFlavor::gbk), "", 6);
        const auto resultPages = std::count_if(result.requests.begin(), result.requests.end(),
                                               [](const std::string& r) { return r.starts_with("/gbk/list/"); });
        EXPECT_EQ(resultPages, c.pages) << c.sent;
        EXPECT_EQ(result.changes.size(), 1 + size_t(c.pages) * 2 + std::min(c.pages * 2, 6)) << c.sent;
    }
}

// An engine whose file did not load still runs, on the empty address and its pieces.
TEST(SearchEngine, InvalidEngineRequestsTheEmptyAddresses) {
    std::vector<Text> asked;
    std::mutex mutex;
    const EngineDefinition empty;
    RecordingLists lists;
    FixedKeyword keyword("a b");
    EngineRun run;
    run.engine = &empty;
    run.engineNumber = 2;
    run.lists = &lists;
    run.keyword = &keyword;
    run.search = 1;
    run.jobs = 1;
    run.fetch = [&](const Text& url) {
        std::lock_guard lock(mutex);
        asked.push_back(url);
        return FetchResult{};
    };
    searchEngine(run);
    EXPECT_EQ(asked, (std::vector<Text>{"", "a%20b", "1", "2", "3", "4", "5"}));
    EXPECT_EQ(lists.changes(), (std::vector<ListChange>{{2, -1, {}, 1}}));
}

TEST(SearchEngine, CancelledRunStopsAndChangesNothingMore) {
    MagnetServer server;
    ASSERT_TRUE(server.started());
    server.magnets().setLatency(50);
    const EngineDefinition engine = server.engine(MagnetFlavor::gbk);
    auto cancel = std::make_shared<Cancellation>();
    RecordingLists lists;
    FixedKeyword keyword("");
    EngineRun run;
    run.engine = &engine;
    run.lists = &lists;
    run.keyword = &keyword;
    run.search = 1;
    run.cancel = cancel;
    std::thread worker([&] { searchEngine(run); });
    while (lists.list(1).size() < 3) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    cancel->cancel();
    const size_t changesAtCancel = lists.changes().size();
    worker.join();
    // A row being added as the flag was set may still land; nothing after that.
    EXPECT_LE(lists.changes().size(), changesAtCancel + 2);
    EXPECT_LT(lists.list(1).size(), 20u);
}

// The demo's engine files are the generated site's own, for the port the demo serves on.
TEST(SearchEngine, DemoEngineFilesDescribeTheGeneratedSite) {
    const std::filesystem::path conf = std::filesystem::path(ONDREL_SOURCE_DIR) / "demo" / "conf";
    const auto entries = inspectEngineFolder(conf);
    ASSERT_EQ(entries.size(), 3u);
    const MagnetFlavor flavors[] = {MagnetFlavor::gbk, MagnetFlavor::mixed, MagnetFlavor::utf8};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_TRUE(entries[i].valid);
        std::ifstream in(conf / entries[i].file, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(bytes, MagnetSite::engineFile(flavors[i], "http://127.0.0.1:18470")) << entries[i].file;
    }
}

}  // namespace
}  // namespace ondrel::searchtest
