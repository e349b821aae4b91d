#include "engines/engine_loader.h"

#include <gtest/gtest.h>

#include <fstream>

namespace ondrel {
namespace {

namespace fs = std::filesystem;

std::string validFile(const std::string& name) {
    std::string file = name + "\r\n";
    for (int i = 2; i <= 22; ++i) file += "L" + std::to_string(i) + "\r\n";
    return file;
}

class ConfFolder : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("ondrel-loader-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    void write(const std::string& name, const std::string& bytes) {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
    }
    fs::path dir_;
};

TEST(MatchesWildcard, Table) {
    struct Case {
        const char* name;
        const char* pattern;
        bool matches;
    } cases[] = {
        {"a.EG", "*.EG", true},     {"a.eg", "*.EG", true},    {".EG", "*.EG", true},
        {"a.EGG", "*.EG", false},   {"a.EG.txt", "*.EG", false}, {"EG", "*.EG", false},
        {"a.b.Eg", "*.EG", true},   {"ab", "a?", true},        {"a", "a?", false},
        {"abcabc", "*bc*c", true},  {"", "*", true},
    };
    for (const Case& c : cases) EXPECT_EQ(matchesWildcard(c.name, c.pattern), c.matches) << c.name << " " << c.pattern;
}

TEST_F(ConfFolder, ListsMatchingFilesByNameWithCaseIgnored) {
    for (const char* name : {"b.EG", "a.eg", "c.txt", "C.Eg", ".hidden.EG", "_x.EG", "Z.EG"}) write(name, "x");
    fs::create_directory(dir_ / "folder.EG");
    // Upper-cased order: "." < "A" < "B" < "C" < "Z" < "_".
    const std::vector<std::string> expected = {".hidden.EG", "a.eg", "b.EG", "C.Eg", "Z.EG", "_x.EG"};
    EXPECT_EQ(listMatchingFiles(dir_, "*.EG", false), expected);

    const auto withFolder = listMatchingFiles(dir_, "*.EG", true);
    ASSERT_EQ(withFolder.size(), expected.size());
    EXPECT_EQ(withFolder[1], (dir_ / "a.eg").string());
    EXPECT_EQ(listMatchingFiles(dir_.string() + "/", "*.EG", true)[1], (dir_ / "a.eg").string());
}

TEST_F(ConfFolder, MissingFolderGivesNothing) {
    EXPECT_TRUE(listMatchingFiles(dir_ / "none", "*.EG", true).empty());
    EXPECT_EQ(loadEngineTable(dir_ / "none").count(), 0);
}

TEST_F(ConfFolder, InvalidFileKeepsItsPlaceWithEmptyFields) {
    write("a.EG", validFile("first"));
    write("b.EG", "only a name");
    write("c.EG", validFile("third"));
    write("d.txt", validFile("ignored"));
    const EngineTable table = loadEngineTable(dir_);
    ASSERT_EQ(table.count(), 3);
    EXPECT_EQ(table.engine(1).name, "first");
    EXPECT_EQ(table.engine(2).name, "");
    EXPECT_EQ(table.engine(2).siteUrl, "");
    EXPECT_EQ(table.engine(3).name, "third");

    const auto entries = inspectEngineFolder(dir_);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_FALSE(entries[1].valid);
    EXPECT_TRUE(entries[1].loaded);
    EXPECT_EQ(entries[1].problem, "1 line: 22 are needed");
}

TEST_F(ConfFolder, EnginesBeyondWhatTheWindowShowsAreNotLoaded) {
    for (int i = 1; i <= maxEngineCount + 2; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "e%03d.EG", i);
        write(name, validFile("engine " + std::to_string(i)));
    }
    const EngineTable table = loadEngineTable(dir_);
    ASSERT_EQ(table.count(), maxEngineCount);
    EXPECT_EQ(table.engine(maxEngineCount).name, "engine 98");
    const auto entries = inspectEngineFolder(dir_);
    ASSERT_EQ(entries.size(), size_t(maxEngineCount) + 2);
    EXPECT_FALSE(entries.back().loaded);
    EXPECT_TRUE(entries.back().valid);
    EXPECT_NE(entries.back().problem.find("not loaded"), std::string::npos);
}

}  // namespace
}  // namespace ondrel
