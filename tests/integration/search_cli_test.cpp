// The engine commands of ondrel-cli, run as a user runs them.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "search_test_support.h"

namespace ondrel::searchtest {
namespace {

namespace fs = std::filesystem;

struct CliRun {
    int status;
    std::string out;
};

CliRun cli(const std::string& arguments) {
    const std::string command = std::string(ONDREL_CLI_PATH) + " " + arguments + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    CliRun run{-1, {}};
    if (!pipe) return run;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

class EngineCommands : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server_.started());
        conf_ = fs::temp_directory_path() / ("ondrel-cli-conf-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(conf_);
        fs::create_directories(conf_);
        write("a-gbk.EG", MagnetSite::engineFile(MagnetFlavor::gbk, server_.baseUrl()));
        std::string lf = MagnetSite::engineFile(MagnetFlavor::utf8, server_.baseUrl());
        for (size_t at = lf.find("\r\n"); at != std::string::npos; at = lf.find("\r\n", at)) lf.erase(at, 1);
        write("b-unix.eg", lf);
        write("c-utf8.EG", MagnetSite::engineFile(MagnetFlavor::utf8, server_.baseUrl()));
        std::string shortFile = MagnetSite::engineFile(MagnetFlavor::gbk, server_.baseUrl());
        shortFile.resize(shortFile.size() - 2);  // line 22 is empty: without its CR LF there are 21 lines
        write("d-short.EG", shortFile);
    }
    void TearDown() override { fs::remove_all(conf_); }
    void write(const std::string& name, const std::string& bytes) { std::ofstream(conf_ / name, std::ios::binary) << bytes; }
    std::string conf() const { return "--conf '" + conf_.string() + "'"; }

    MagnetServer server_;
    fs::path conf_;
};

TEST_F(EngineCommands, EnginesSaysWhyAFileDoesNotLoad) {
    const CliRun json = cli("engines --json " + conf());
    EXPECT_EQ(json.status, 0);
    const std::string base = server_.baseUrl();
    EXPECT_EQ(json.out,
              "[{\"engine\":1,\"file\":\"a-gbk.EG\",\"valid\":true,\"name\":\"演示GBK站\",\"siteUrl\":\"" + base +
                  "/gbk\",\"reason\":\"\"},\n"
                  " {\"engine\":2,\"file\":\"b-unix.eg\",\"valid\":false,\"name\":\"\",\"siteUrl\":\"\",\"reason\":\"1 line: "
                  "line ends are LF, not CR LF\"},\n"
                  " {\"engine\":3,\"file\":\"c-utf8.EG\",\"valid\":true,\"name\":\"演示UTF-8站\",\"siteUrl\":\"" + base +
                  "/utf8\",\"reason\":\"\"},\n"
                  " {\"engine\":4,\"file\":\"d-short.EG\",\"valid\":false,\"name\":\"\",\"siteUrl\":\"\",\"reason\":\"21 "
                  "lines: the last line is empty and has no line end after it\"}]\n");
    const CliRun plain = cli("engines " + conf());
    EXPECT_NE(plain.out.find("2  b-unix.eg  invalid"), std::string::npos) << plain.out;
}

TEST_F(EngineCommands, SearchPrintsEachRowOnceAsJson) {
    const CliRun run = cli("search --json " + conf() + " -- ubuntu");
    EXPECT_EQ(run.status, 0);
    const auto rows = expectedRows(server_.magnets(), "ubuntu");
    size_t lines = 0;
    for (char c : run.out) lines += c == '\n';
    EXPECT_EQ(lines, rows.size() * 2);  // two valid engines; the invalid ones give nothing
    EXPECT_NE(run.out.find("{\"engine\":1,\"engineName\":\"演示GBK站\",\"row\":1,\"title\":\"Ubuntu 24.04 桌面版\\r\\n第13部\","),
              std::string::npos)
        << run.out;
    EXPECT_EQ(cli("search --jobs 1 --json " + conf() + " ubuntu").out.size(), run.out.size());
}

TEST_F(EngineCommands, TestEngineShowsEveryStep) {
    const CliRun run = cli("test-engine " + conf() + " c-utf8.EG ubuntu");
    EXPECT_EQ(run.status, 0);
    for (const std::string& expected :
         {"GET " + server_.baseUrl() + "/utf8\n    site address (fetched, not used): status 200",
          std::string("page count between \"共<b>\" and \"</b>页\": \"1\" -> 1 result page"),
          std::string("11 detail links on result page 1"),
          std::string("title:      \"Ubuntu 24.04 桌面版\\r\\n第13部\""),
          std::string("-> no row: no title: the prefix \"<h1 class=\"title\">\" is not in the page"),
          std::string("-> row 6\n"), std::string("14 requests, 10 rows")}) {
        EXPECT_NE(run.out.find(expected), std::string::npos) << expected << "\n" << run.out;
    }
}

TEST_F(EngineCommands, BadUsageAndUnknownEngines) {
    EXPECT_EQ(cli("search --jobs 0 " + conf() + " x").status, 2);
    EXPECT_EQ(cli("search " + conf()).status, 2);
    EXPECT_EQ(cli("engines --frobnicate").status, 2);
    EXPECT_EQ(cli("test-engine " + conf() + " 9 x").status, 1);
    EXPECT_EQ(cli("search --conf /nonexistent/conf x").status, 1);
}

}  // namespace
}  // namespace ondrel::searchtest
