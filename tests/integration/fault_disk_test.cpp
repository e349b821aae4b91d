// Engine folders that are broken, hostile or oversized, read through the loader and the settings
// window's rules: nothing hangs, nothing blows up, and every readable engine file loads. (A save
// that fails part-way is tested with the settings rules: the old file stays whole.)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>

#include <gtest/gtest.h>

#include "engines/engine_loader.h"
#include "engines/engine_settings.h"

namespace ondrel {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

class ScratchFolder {
public:
    ScratchFolder() {
        static int serial = 0;
        path_ = fs::temp_directory_path() /
                ("ondrel-disk-faults-" + std::to_string(getpid()) + "-" + std::to_string(++serial));
        fs::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// A valid engine file whose name line is `name` and whose title prefix is `titlePrefix`.
std::string engineFile(const std::string& name, const std::string& titlePrefix = "<t>") {
    std::string file = name + "\r\nhttp://127.0.0.1/";
    for (int line = 3; line <= 22; ++line) file += "\r\n" + (line == 11 ? titlePrefix : "v" + std::to_string(line));
    return file;
}

void writeFile(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

const EngineFileEntry* entryNamed(const std::vector<EngineFileEntry>& entries, const std::string& file) {
    for (const EngineFileEntry& e : entries)
        if (e.file == file) return &e;
    return nullptr;
}

TEST(DiskFaults, EntriesThatCannotBeReadAreInvalidEnginesAndNothingWaits) {
    ScratchFolder conf;
    const fs::path& dir = conf.path();
    writeFile(dir / "a-good.EG", engineFile("good"));
    std::string withNul = engineFile("nul");
    withNul[withNul.size() / 2] = '\0';
    writeFile(dir / "b-nul.EG", withNul);
    writeFile(dir / "c-big.EG", engineFile("big", std::string(50u << 20, 'x')));
    ASSERT_EQ(mkfifo((dir / "d-fifo.EG").c_str(), 0644), 0) << "a pipe no one writes to";
    fs::create_symlink("e-loop.EG", dir / "e-loop.EG");
    fs::create_symlink("/nowhere/at/all", dir / "f-dangling.EG");
    fs::create_symlink("/dev/zero", dir / "g-endless.EG");
    fs::create_directory(dir / "h-folder.EG");

    auto start = Clock::now();
    auto inspected = std::async(std::launch::async, [&] { return inspectEngineFolder(dir); });
    if (inspected.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
        // Let a reader blocked on the pipe go, so the test ends and says why.
        int unblock = ::open((dir / "d-fifo.EG").c_str(), O_WRONLY | O_NONBLOCK);
        if (unblock >= 0) ::close(unblock);
        FAIL() << "reading the folder did not end";
    }
    const std::vector<EngineFileEntry> entries = inspected.get();
    RecordProperty("inspect_ms", int(secondsSince(start) * 1000));

    ASSERT_EQ(entries.size(), 7u) << "the folder is not an engine file";
    const EngineFileEntry* good = entryNamed(entries, "a-good.EG");
    ASSERT_NE(good, nullptr);
    EXPECT_TRUE(good->valid);
    EXPECT_EQ(good->engine.name, "good");
    const EngineFileEntry* big = entryNamed(entries, "c-big.EG");
    ASSERT_NE(big, nullptr);
    EXPECT_TRUE(big->valid) << "22 lines, however long one is";
    EXPECT_EQ(big->engine.titlePrefix.size(), 50u << 20);
    for (const char* name : {"b-nul.EG", "d-fifo.EG", "e-loop.EG", "f-dangling.EG", "g-endless.EG"}) {
        const EngineFileEntry* e = entryNamed(entries, name);
        ASSERT_NE(e, nullptr) << name;
        EXPECT_FALSE(e->valid) << name;
        EXPECT_FALSE(e->problem.empty()) << name;
    }
    // The settings window reads a selected entry the same way.
    EXPECT_EQ(loadSettingValues(dir / "d-fifo.EG"), std::vector<Text>(22));
    EXPECT_EQ(loadSettingValues(dir / "g-endless.EG"), std::vector<Text>(22));
    // The table keeps every file's place, the unreadable ones as empty engines.
    const EngineTable table = loadEngineTable(dir);
    ASSERT_EQ(table.count(), 7);
    EXPECT_EQ(table.engine(1).name, "good");
    EXPECT_EQ(table.engine(2).name, "");
}

TEST(DiskFaults, TwoThousandEngineFilesLoadTheFirst98Quickly) {
    ScratchFolder conf;
    for (int i = 0; i < 2000; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "e%04d.EG", i);
        writeFile(conf.path() / name, engineFile(name));
    }
    auto start = Clock::now();
    const EngineTable table = loadEngineTable(conf.path());
    const double seconds = secondsSince(start);
    RecordProperty("load_2000_ms", int(seconds * 1000));
    ASSERT_EQ(table.count(), maxEngineCount);
    EXPECT_EQ(table.engine(1).name, "e0000.EG");
    EXPECT_EQ(table.engine(98).name, "e0097.EG");
}

TEST(DiskFaults, AConfFolderThatCannotBeCreatedGivesNoEngines) {
    ScratchFolder scratch;
    writeFile(scratch.path() / "conf", "a file where the folder should be");
    for (const fs::path& conf : {scratch.path() / "conf", scratch.path() / "conf" / "conf"}) {
        std::error_code error;
        fs::create_directories(conf, error);  // what start-up tries
        EXPECT_TRUE(error) << conf;
        EXPECT_EQ(loadEngineTable(conf).count(), 0) << conf;
        EXPECT_FALSE(saveEngineFile(conf / "x.EG", {"x", "http://x/"})) << conf;
    }
}

}  // namespace
}  // namespace ondrel
