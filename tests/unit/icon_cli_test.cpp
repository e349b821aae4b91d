// ondrel-cli icon, run as a separate process on files the test writes.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "picture_fixtures.h"

namespace ondrel {
namespace {

namespace fs = std::filesystem;

struct TempFolder {
    fs::path path = fs::temp_directory_path() / ("ondrel-icon-cli-" + std::to_string(::getpid()));
    TempFolder() { fs::create_directories(path); }
    ~TempFolder() { fs::remove_all(path); }
};

int runCli(const std::string& arguments) {
    const int status = std::system((std::string(ONDREL_CLI_PATH) + " " + arguments + " 2>/dev/null").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void writeFile(const fs::path& path, const Bytes& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

Bytes readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(IconCliTest, ConvertsAPictureAndReportsUnreadableInputAndBadUsage) {
    TempFolder folder;
    const fs::path png = folder.path / "icon.png", html = folder.path / "page.html", out = folder.path / "out.bmp";
    writeFile(png, fixtures::pngRgba(32, 32, std::vector<std::uint8_t>(32 * 32 * 4, 0x80)));
    writeFile(html, "<html>404</html>");

    EXPECT_EQ(runCli("icon " + png.string() + " " + out.string()), 0);
    const Bytes bmp = readFile(out);
    ASSERT_EQ(bmp.size(), 822u);
    EXPECT_TRUE(bmp.starts_with("BM"));

    // The 1 x 1 black image is still written, but the run says it failed.
    EXPECT_EQ(runCli("icon -- " + html.string() + " " + out.string()), 1);
    EXPECT_EQ(readFile(out).size(), 58u);

    EXPECT_EQ(runCli("icon " + (folder.path / "missing.ico").string() + " " + out.string()), 1);
    EXPECT_EQ(runCli("icon " + png.string() + " " + (folder.path / "no/such/dir/out.bmp").string()), 1);
    EXPECT_EQ(runCli("icon " + png.string()), 2);
}

}  // namespace
}  // namespace ondrel
