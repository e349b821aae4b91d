// ondrel-cli fetch against the local test site, over both schemes and both request paths.
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "test_site.h"

namespace ondrel {
namespace {

using testsite::TestSite;

struct CliRun {
    int exitCode = -1;
    std::string out;
};

// Runs ondrel-cli with `arguments` (already quoted for the shell), stdout captured, stderr dropped.
CliRun runCli(const std::string& arguments, const std::string& environment = "") {
    std::string command = environment + " '" ONDREL_CLI_PATH "' " + arguments + " 2>/dev/null";
    CliRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[65536];
    while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) run.out.append(buffer, n);
    int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(FetchCommand, BinaryByteForByteOnEveryPath) {
    const std::string expected = testsite::binaryPattern(300000, 5);
    for (bool https : {false, true}) {
        TestSite site({.https = https});
        ASSERT_TRUE(site.start());
        const std::string url = site.baseUrl() + "/binary?size=300000&seed=5";
        const std::string trust = https ? "SSL_CERT_FILE='" + site.certificateFile() + "'" : "";
        for (const char* path : {"", "--direct "}) {
            CliRun run = runCli("fetch " + std::string(path) + "'" + url + "'", trust);
            EXPECT_EQ(run.exitCode, 0) << path << url;
            EXPECT_TRUE(run.out == expected) << path << url << ": " << run.out.size() << " bytes";
        }
    }
}

TEST(FetchCommand, DumpsTheHeaderBlock) {
    TestSite site;
    ASSERT_TRUE(site.start());
    const auto file = std::filesystem::temp_directory_path() / ("ondrel-fetch-" + std::to_string(getpid()));
    CliRun direct = runCli("fetch --direct --dump-headers '" + file.string() + "' '" + site.baseUrl() + "/redirect/2'");
    EXPECT_EQ(direct.out, "done");
    std::string block = readFile(file);
    EXPECT_TRUE(block.starts_with("HTTP/1.1 200 OK\r\n")) << block;
    EXPECT_TRUE(block.ends_with("\r\n\r\n"));

    CliRun general = runCli("fetch --dump-headers '" + file.string() + "' '" + site.baseUrl() + "/set-cookie?c=a%3D1'");
    EXPECT_EQ(general.out, "cookies");
    EXPECT_NE(readFile(file).find("Set-Cookie: a=1\r\n"), std::string::npos);
    std::filesystem::remove(file);
}

TEST(FetchCommand, ExitStatus) {
    TestSite closed;
    ASSERT_TRUE(closed.start());
    const std::string refused = closed.baseUrl() + "/";
    closed.stop();
    TestSite site;
    ASSERT_TRUE(site.start());
    const std::pair<std::string, int> cases[] = {
        {"fetch '" + refused + "'", 1},
        {"fetch --direct '" + refused + "'", 1},
        {"fetch '" + site.baseUrl() + "/status/404'", 0},  // an answer, even an error page, is a fetch
        {"fetch", 2},
        {"fetch a b", 2},
        {"fetch --bogus " + site.baseUrl(), 2},
        {"fetch --dump-headers", 2},
        {"fetch -- '" + site.baseUrl() + "/redirect/0'", 0},
    };
    for (const auto& [arguments, code] : cases) EXPECT_EQ(runCli(arguments).exitCode, code) << arguments;
}

}  // namespace
}  // namespace ondrel
