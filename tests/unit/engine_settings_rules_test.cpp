// The rules of the engine settings window: names and paths, the case-insensitive existence
// test, the file's byte shape, the refusals, and the add / rename / delete / save commands on a
// real folder.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "engines/engine_file_writer.h"
#include "engines/engine_loader.h"
#include "engines/engine_names.h"
#include "engines/engine_settings.h"
#include "../support/file_size_limit.h"

namespace fs = std::filesystem;
using namespace ondrel;

namespace {

class EngineFolder : public ::testing::Test {
protected:
    void SetUp() override {
        conf = fs::temp_directory_path() /
               ("ondrel-settings-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(conf);
        fs::create_directories(conf);
    }
    void TearDown() override { fs::remove_all(conf); }

    void write(const fs::path& name, const std::string& bytes) {
        std::ofstream(conf / name, std::ios::binary) << bytes;
    }
    std::string read(const fs::path& name) {
        std::ifstream in(conf / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // The folder as the settings window lists it: every file, whatever its name.
    std::vector<std::string> names() { return listMatchingFiles(conf, "*", false); }

    fs::path conf;
};

std::vector<Text> numberedValues() {
    std::vector<Text> values;
    for (int i = 0; i < 22; ++i) values.push_back("v" + std::to_string(i));
    return values;
}

}  // namespace

TEST(EngineSettingsRules, LabelsAreTheTwentyTwoValuesInFileOrder) {
    const auto& labels = settingLabels();
    ASSERT_EQ(labels.size(), 22u);
    EXPECT_EQ(labels[0], "\xD2\xFD\xC7\xE6\xC3\xFB\xD7\xD6");                       // 引擎名字
    EXPECT_EQ(labels[1], "\xCB\xD1\xCB\xF7\xD2\xFD\xC7\xE6URL");                    // 搜索引擎URL
    EXPECT_EQ(labels[8], "\xB7\xD6\xD2\xB3\xC7\xB0\xD7\xBA");                       // 分页前缀
    EXPECT_EQ(labels[21], "\xCF\xEA\xC7\xE9\xD2\xB3\xCA\xC7\xB7\xF1\xD7\xAA\xC2\xEB");  // 详情页是否转码
    for (const auto& label : labels) EXPECT_FALSE(label.empty());
}

TEST(EngineSettingsRules, NamesThatWouldLeaveTheFolderOrBreakAFileNameAreRefused) {
    struct Case { std::string name; bool acceptable; };
    const Case cases[] = {
        {"abc", true}, {"abc.EG", true}, {"\xE4\xB8\xAD\xE6\x96\x87", true}, {" a b ", true}, {"...", true},
        {"", false}, {".", false}, {"..", false}, {"../../x", false}, {"a/b", false}, {"/abs", false},
        {"a\\b", false}, {"a?b", false}, {"a<b", false}, {"a>b", false}, {"a*b", false}, {"a|b", false},
        {"a:b", false}, {"a\"b", false}, {std::string("a\0b", 3), false},
    };
    for (const auto& c : cases) EXPECT_EQ(isAcceptableEngineName(c.name), c.acceptable) << '"' << c.name << '"';
}

TEST(EngineSettingsRules, AcceptablePathIsAbsoluteWithACleanFileName) {
    struct Case { const char* path; bool acceptable; };
    const Case cases[] = {
        {"/home/u/conf/abc.EG", true}, {"/conf/abc.EG.EG", true}, {"/x/c:abc.EG", true},
        {"conf/abc.EG", false},  // relative: where it lands depends on the working folder
        {"/conf/", false}, {"/conf/a:", false}, {"/conf/a?b.EG", false}, {"/conf/a*b.EG", false},
        {"/conf/a<b.EG", false}, {"/conf/a>b.EG", false}, {"/conf/a|b.EG", false}, {"/conf/a\"b.EG", false},
        {"/conf/a\\", false},
    };
    for (const auto& c : cases) EXPECT_EQ(isAcceptableEnginePath(c.path), c.acceptable) << c.path;
}

TEST(EngineSettingsRules, EditAndSaveRefusals) {
    const Text both = "\xD2\xFD\xC7\xE6\xC3\xFB\xB3\xC6\xBA\xCD\xD2\xFD\xC7\xE6URL\xB2\xBB\xC4\xDC\xCE\xAA\xBF\xD5,";
    const Text name = "\xD2\xFD\xC7\xE6\xC3\xFB\xB3\xC6\xB2\xBB\xC4\xDC\xCE\xAA\xBF\xD5,";
    const Text url = "\xD2\xFD\xC7\xE6URL\xB2\xBB\xC4\xDC\xCE\xAA\xBF\xD5,";
    EXPECT_EQ(editRefusal(0, ""), both);
    EXPECT_EQ(editRefusal(1, ""), both);
    EXPECT_EQ(editRefusal(-1, ""), both);
    EXPECT_EQ(editRefusal(2, ""), std::nullopt);
    EXPECT_EQ(editRefusal(21, ""), std::nullopt);
    EXPECT_EQ(editRefusal(0, "x"), std::nullopt);

    EXPECT_EQ(saveRefusal({}), name);
    EXPECT_EQ(saveRefusal({"", "http://a"}), name);
    EXPECT_EQ(saveRefusal({"a"}), url);
    EXPECT_EQ(saveRefusal({"a", ""}), url);
    EXPECT_EQ(saveRefusal({"a", "http://a"}), std::nullopt);
}

TEST(EngineSettingsRules, FileShapeEndsEveryValueButTheLastWithCrLf) {
    std::string expected;
    for (int i = 0; i < 21; ++i) expected += "v" + std::to_string(i) + "\r\n";
    EXPECT_EQ(engineFileBytes(numberedValues()), expected + "v21");

    auto values = numberedValues();
    values[21].clear();
    EXPECT_EQ(engineFileBytes(values), expected) << "an empty last value leaves 21 line ends and no final one";

    auto longer = numberedValues();
    longer.push_back("v22");
    EXPECT_EQ(engineFileBytes(longer), expected + "v21") << "values after the 22nd are dropped";
    std::string missing = "a\r\nb";
    for (int i = 0; i < 20; ++i) missing += "\r\n";
    EXPECT_EQ(engineFileBytes({"a", "b"}), missing) << "missing values are written as empty lines";
}

TEST_F(EngineFolder, LoadShowsTheFirst22LinesAndEmptiesForMissingOnes) {
    std::string twentyFive;
    for (int i = 0; i < 25; ++i) twentyFive += "v" + std::to_string(i) + "\r\n";
    write("long.EG", twentyFive);
    EXPECT_EQ(loadSettingValues(conf / "long.EG"), numberedValues());

    write("added.EG", "\xD6\xD0");  // a freshly added engine: its name alone
    auto values = loadSettingValues(conf / "added.EG");
    ASSERT_EQ(values.size(), 22u);
    EXPECT_EQ(values[0], "\xD6\xD0");
    for (size_t i = 1; i < 22; ++i) EXPECT_EQ(values[i], "") << i;

    write("nul.EG", std::string("a\r\nb\0c\r\nd", 9));
    EXPECT_EQ(loadSettingValues(conf / "nul.EG")[1], "b") << "text ends at the first NUL byte";
    EXPECT_EQ(loadSettingValues(conf / "nul.EG")[2], "");

    EXPECT_EQ(loadSettingValues(conf / "missing.EG"), std::vector<Text>(22));
}

TEST_F(EngineFolder, SaveRoundTripsAndReplacesTheWholeFile) {
    write("e.EG", std::string(500, 'x'));
    auto values = numberedValues();
    values[5] = " blank kept ";
    ASSERT_TRUE(saveEngineFile(conf / "e.EG", values));
    EXPECT_EQ(read("e.EG"), engineFileBytes(values));
    EXPECT_EQ(loadSettingValues(conf / "e.EG"), values);
    EXPECT_EQ(names(), std::vector<std::string>{"e.EG"}) << "no temporary file is left beside it";
}

TEST_F(EngineFolder, FailedSaveLeavesTheOldFileWhole) {
    const std::string old = engineFileBytes(numberedValues());
    write("e.EG", old);
    auto bigger = numberedValues();
    bigger[10] = std::string(4096, 'y');
    {
        FileSizeLimit limit(1024);
        EXPECT_FALSE(saveEngineFile(conf / "e.EG", bigger));
        EXPECT_FALSE(replaceFileContent(conf / "new.EG", std::string(2048, 'z')));
    }
    EXPECT_EQ(read("e.EG"), old);
    EXPECT_EQ(names(), std::vector<std::string>{"e.EG"}) << "neither a cut-short file nor a temporary one remains";
}

TEST_F(EngineFolder, SaveKeepsPermissionsAndStepsOverAStaleTemporaryFile) {
    write("e.EG", "old");
    fs::permissions(conf / "e.EG", fs::perms::owner_read | fs::perms::owner_write);
    write("e.EG.saving", "left by an interrupted save");
    ASSERT_TRUE(replaceFileContent(conf / "e.EG", "new"));
    EXPECT_EQ(read("e.EG"), "new");
    EXPECT_EQ(fs::status(conf / "e.EG").permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(read("e.EG.saving"), "left by an interrupted save");
}

TEST_F(EngineFolder, ExistenceTestIgnoresLetterCase) {
    write("abc.EG", "abc");
    fs::create_directory(conf / "dir.EG");
    EXPECT_TRUE(engineFolderHolds(conf, "abc.EG"));
    EXPECT_TRUE(engineFolderHolds(conf, "ABC.eg"));
    EXPECT_TRUE(engineFolderHolds(conf, "DIR.EG")) << "a folder of that name counts too";
    EXPECT_FALSE(engineFolderHolds(conf, "abd.EG"));
    EXPECT_FALSE(engineFolderHolds(conf / "missing", "abc.EG"));
}

TEST_F(EngineFolder, FileListHoldsFilesOnlyInNameOrder) {
    write("b.EG", "");
    write("A.EG", "");
    write("c.txt", "");
    fs::create_directory(conf / "folder");
    EXPECT_EQ(names(), (std::vector<std::string>{"A.EG", "b.EG", "c.txt"}));
    EXPECT_TRUE(listMatchingFiles(conf / "missing", "*", false).empty());
}

TEST_F(EngineFolder, AddWritesTheNameAloneAndRefusesTakenOrUnsafeNames) {
    EXPECT_EQ(addEngineFile(conf, "abc", "\xD6\xD0 abc"), AddOutcome::added);
    EXPECT_EQ(read("abc.EG"), "\xD6\xD0 abc") << "no line end after the name";
    EXPECT_EQ(addEngineFile(conf, "abc.EG", "abc.EG"), AddOutcome::added);
    EXPECT_EQ(read("abc.EG.EG"), "abc.EG");

    EXPECT_EQ(addEngineFile(conf, "ABC", "ABC"), AddOutcome::alreadyExists);
    EXPECT_EQ(read("abc.EG"), "\xD6\xD0 abc");
    EXPECT_EQ(addEngineFile(conf, "../../x", "x"), AddOutcome::unacceptableName);
    EXPECT_EQ(addEngineFile(conf, "..", ".."), AddOutcome::unacceptableName);
    EXPECT_FALSE(fs::exists(conf.parent_path().parent_path() / "x.EG"));
    EXPECT_EQ(names(), (std::vector<std::string>{"abc.EG", "abc.EG.EG"}));

    EXPECT_EQ(addOutcomeMessage(AddOutcome::alreadyExists),
              "\xC4\xE3\xD2\xAA\xCC\xED\xBC\xD3\xB5\xC4\xD2\xFD\xC7\xE6\xD2\xD1\xB4\xE6\xD4\xDA\xA1\xA3");  // 你要添加的引擎已存在。
    const auto unsafe = addOutcomeMessage(AddOutcome::unacceptableName);
    ASSERT_TRUE(unsafe.has_value());
    for (const char c : forbiddenNameChars) EXPECT_NE(unsafe->find(c), std::string::npos) << c;
    EXPECT_EQ(addOutcomeMessage(AddOutcome::added), std::nullopt);
    EXPECT_EQ(addOutcomeMessage(AddOutcome::notWritten), std::nullopt);
}

TEST_F(EngineFolder, RenameMovesOnlyToAnAcceptableFreeName) {
    write("abc.EG", "content");
    write("other.EG", "other");
    EXPECT_TRUE(renameEngineFile(conf / "abc.EG", conf, "abc.EG"));
    EXPECT_EQ(read("abc.EG.EG"), "content") << "the offered name keeps its extension and gains another";

    for (const char* bad : {"a?b", "a*b", "a<b", "a>b", "a|b", "a\"b", "../x", ".."})
        EXPECT_FALSE(renameEngineFile(conf / "abc.EG.EG", conf, bad)) << bad;
    EXPECT_FALSE(renameEngineFile(conf / "abc.EG.EG", conf, "other")) << "an existing engine is never replaced";
    EXPECT_EQ(read("other.EG"), "other");
    EXPECT_FALSE(renameEngineFile(conf / "abc.EG.EG", fs::relative(conf), "fine"));
    EXPECT_EQ(names(), (std::vector<std::string>{"abc.EG.EG", "other.EG"}));

    EXPECT_TRUE(renameEngineFile(conf / "abc.EG.EG", conf, "ABC"));
    EXPECT_EQ(read("ABC.EG"), "content");
}

TEST_F(EngineFolder, DeleteRemovesTheFile) {
    write("abc.EG", "x");
    EXPECT_TRUE(deleteEngineFile(conf / "abc.EG"));
    EXPECT_FALSE(deleteEngineFile(conf / "abc.EG"));
    EXPECT_TRUE(names().empty());
}
