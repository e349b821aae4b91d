// Runs the built ondrel-cli text tools as a script or an engine author would.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

struct CliRun {
    int status;
    std::string out, err;
};

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeAll(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class CliText : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("ondrel-cli-text-" + std::to_string(getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path file(const std::string& name, const std::string& bytes) {
        writeAll(dir_ / name, bytes);
        return dir_ / name;
    }

    // Runs ondrel-cli with `args`, `input` on stdin; stdout and stderr are collected in files
    // so that neither pipe can fill up and stall the child.
    CliRun cli(std::vector<std::string> args, const std::string& input = "") {
        const fs::path in = file("stdin", input), out = dir_ / "stdout", err = dir_ / "stderr";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        args.insert(args.begin(), ONDREL_CLI_PATH);
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        pid_t pid = 0;
        const int spawned = posix_spawn(&pid, ONDREL_CLI_PATH, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0) return {-1, "", "spawn failed"};
        int status = 0;
        waitpid(pid, &status, 0);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readAll(out), readAll(err)};
    }

    fs::path dir_;
};

const std::string ciLiUtf8 = "\xE7\xA3\x81\xE5\x8A\x9B";  // 磁力
const std::string ciLiGbk = "\xB4\xC5\xC1\xA6";

TEST_F(CliText, BetweenOnAGbkPage) {
    const fs::path page = file("page.html", "<title>" + ciLiGbk + " x</title><a href=\"/d/1\">");
    struct Case {
        std::vector<std::string> args;
        std::string out;
    } cases[] = {
        {{"between", "<title>", "</title>", page}, ciLiUtf8 + " x\n"},
        {{"between", "--raw", "<title>", "</title>", page}, ciLiGbk + " x"},
        {{"between", "href=#引号", "#引号", page}, "/d/1\n"},
        {{"between", "<h1>", "</h1>", page}, "\n"},                       // nothing found is no failure
        {{"between", ciLiUtf8, "</", page}, " x\n"},  // a UTF-8 argument matches GBK text
        {{"between", "--raw", ciLiGbk, "<", page}, " x"},
    };
    for (const Case& c : cases) {
        const CliRun r = cli(c.args);
        EXPECT_EQ(r.status, 0) << c.args[1] << r.err;
        EXPECT_EQ(r.out, c.out) << c.args[1];
    }
}

TEST_F(CliText, PagesFromStdinAndFromUtf8) {
    const std::string utf8Page = "<td>" + ciLiUtf8 + "\xF0\x9F\x98\x80</td>";
    CliRun r = cli({"between", "--from-utf8", "<td>", "</td>"}, utf8Page);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, ciLiUtf8 + "\xF0\x9F\x98\x80\n");  // the emoji survives both conversions
    r = cli({"between", "<td>", "</td>", "-"}, std::string("<td>a</td>\0<td>b</td>", 21));
    EXPECT_EQ(r.out, "a\n");
    r = cli({"strip"}, std::string("<b>a</b>\0<i>b</i>", 17));  // text ends at the first NUL
    EXPECT_EQ(r.out, "a\n");
}

TEST_F(CliText, AllBetweenAndStrip) {
    const fs::path page = file("list.html", "<a>1</a><a>\n" + ciLiGbk + "</a><a></a>");
    CliRun r = cli({"all-between", "<a>", "</a>", page});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "1\n\n" + ciLiUtf8 + "\n\n");
    r = cli({"all-between", "--raw", "<a>", "</a>", page});
    EXPECT_EQ(r.out, std::string("1\0\n", 3) + ciLiGbk + std::string("\0\0", 2));
    r = cli({"all-between", "<x>", "</x>", page});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");

    r = cli({"strip", file("f.html", "<b>" + ciLiGbk + "</b>&nbsp;1.5 GB<script>x</script>")});
    EXPECT_EQ(r.out, ciLiUtf8 + "1.5 GB\n");
    r = cli({"strip", "--raw", "--from-utf8"}, "<i>" + ciLiUtf8 + "</i>");
    EXPECT_EQ(r.out, ciLiGbk);
}

TEST_F(CliText, Encode) {
    struct Case {
        std::vector<std::string> args;
        std::string out;
    } cases[] = {
        {{"encode", ciLiUtf8 + " A-1.5"}, "%B4%C5%C1%A6%20A-1.5\n"},
        {{"encode", "--utf8", ciLiUtf8 + " A-1.5"}, "%E7%A3%81%E5%8A%9B%20A-1.5\n"},
        {{"encode", "--all", "A-1"}, "%41%2D%31\n"},
        {{"encode", "--raw", "\xB4\xC5"}, "%B4%C5"},
        {{"encode", "--", "-x"}, "-x\n"},
        {{"encode", ""}, "\n"},
    };
    for (const Case& c : cases) {
        const CliRun r = cli(c.args);
        EXPECT_EQ(r.status, 0) << c.args.back() << r.err;
        EXPECT_EQ(r.out, c.out) << c.args.back();
    }
}

TEST_F(CliText, UsageAndFailures) {
    struct Case {
        std::vector<std::string> args;
        int status;
    } cases[] = {
        {{"between", "a"}, 2},
        {{"between", "a", "b", "c", "d"}, 2},
        {{"between", "-x", "a", "b"}, 2},
        {{"encode", "--from-utf8", "k"}, 2},
        {{"encode"}, 2},
        {{"strip", "--utf8"}, 2},
        {{"between", "a", "b", (dir_ / "missing.html").string()}, 1},
        {{"strip", (dir_ / "missing.html").string()}, 1},
    };
    for (const Case& c : cases) {
        const CliRun r = cli(c.args);
        EXPECT_EQ(r.status, c.status) << c.args[0] << " " << c.args.size();
        EXPECT_FALSE(r.err.empty());
        EXPECT_EQ(r.out, "");
    }
    const CliRun help = cli({"between", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("saved page"), std::string::npos);
    const CliRun top = cli({"--help"});
    for (const char* name : {"between", "all-between", "strip", "encode"})
        EXPECT_NE(top.out.find(name), std::string::npos) << name;
}

}  // namespace
