#include "engines/engine_file.h"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

// Lines "L1" .. "Ln", each followed by CR LF.
std::string linesFile(int n) {
    std::string file;
    for (int i = 1; i <= n; ++i) file += "L" + std::to_string(i) + "\r\n";
    return file;
}

TEST(SplitEngineLines, Rules) {
    const std::string zhong = "\xD6\xD0";  // a double-byte character
    struct Case {
        const char* name;
        std::string text;
        std::vector<Text> lines;
    } cases[] = {
        {"empty text", "", {}},
        {"no line end", "a", {"a"}},
        {"trailing CR LF adds nothing", "a\r\nb\r\n", {"a", "b"}},
        {"empty line before CR LF counts", "a\r\n\r\n", {"a", ""}},
        {"lone LF and CR are text", "a\nb\rc", {"a\nb\rc"}},
        {"CR LF CR LF CR", "\r\n\r\n\r", {"", "", "\r"}},
        {"blanks kept", " a \r\n\tb", {" a ", "\tb"}},
        // 0x8D 0x0D is one double-byte character here, so the LF after it is ordinary text.
        {"lead byte swallows CR", "x\x8D\r\ny", {"x\x8D\r\ny"}},
        {"double-byte text", zhong + "\r\n" + zhong, {zhong, zhong}},
        {"lone lead byte at the end", "a\r\n\x81", {"a", "\x81"}},
    };
    for (const Case& c : cases) EXPECT_EQ(splitEngineLines(c.text), c.lines) << c.name;
}

TEST(ParseEngineFile, FillsFieldsInFileOrder) {
    const auto engine = parseEngineFile(linesFile(22));
    ASSERT_TRUE(engine);
    EXPECT_EQ(engine->name, "L1");
    EXPECT_EQ(engine->siteUrl, "L2");
    EXPECT_EQ(engine->searchUrlPrefix, "L3");
    EXPECT_EQ(engine->detailLinkSuffix, "L10");
    EXPECT_EQ(engine->magnetSuffix, "L20");
    EXPECT_EQ(engine->transcodeSearchPage, "L21");
    EXPECT_EQ(engine->transcodeDetailPage, "L22");
}

TEST(ParseEngineFile, ValidOnlyWithExactly22Lines) {
    const std::string twentyTwo = linesFile(22);
    const std::string noTrailing = twentyTwo.substr(0, twentyTwo.size() - 2);
    const std::string emptyLast = linesFile(21) + "\r\n";
    std::string lf = twentyTwo;
    for (size_t at = lf.find("\r\n"); at != std::string::npos; at = lf.find("\r\n", at)) lf.erase(at, 1);
    struct Case {
        const char* name;
        std::string bytes;
        bool valid;
    } cases[] = {
        {"trailing CR LF", twentyTwo, true},
        {"no trailing CR LF", noTrailing, true},
        {"an empty 23rd line", twentyTwo + "\r\n", false},
        {"empty line 22 with its CR LF", emptyLast, true},
        {"empty line 22 without CR LF", linesFile(21), false},
        {"LF line ends", lf, false},
        {"only the name", "name", false},
        {"text ends at NUL", linesFile(10) + std::string(1, '\0') + linesFile(12), false},
        {"bytes after NUL ignored", twentyTwo + std::string(1, '\0') + "junk\r\n", true},
    };
    for (const Case& c : cases) EXPECT_EQ(parseEngineFile(c.bytes).has_value(), c.valid) << c.name;
}

TEST(ParseEngineFile, TakesLinesAsTheyStand) {
    // A byte-order mark is not recognised, and blanks are kept.
    std::string file = "\xEF\xBB\xBF name \r\n" + linesFile(21);
    const auto engine = parseEngineFile(file);
    ASSERT_TRUE(engine);
    EXPECT_EQ(engine->name, "\xEF\xBB\xBF name ");
}

TEST(EngineFileProblem, SaysWhyInPlainWords) {
    std::string lf;
    for (int i = 1; i <= 22; ++i) lf += "L" + std::to_string(i) + "\n";
    std::string mixed = linesFile(10) + "L11\nL12\n" + linesFile(10);
    struct Case {
        const char* name;
        std::string bytes;
        std::string problem;
    } cases[] = {
        {"valid", linesFile(22), ""},
        {"empty", "", "the file is empty"},
        {"empty last line", linesFile(21), "21 lines: the last line is empty and has no line end after it"},
        {"LF", lf, "1 line: line ends are LF, not CR LF"},
        {"CR", "a\rb\r", "1 line: line ends are CR, not CR LF"},
        {"some LF", mixed, "20 lines: some line ends are LF alone, not CR LF, and do not end a line (the first in line 11)"},
        {"23rd empty", linesFile(22) + "\r\n", "23 lines: an empty 23rd line: the file ends with one line end too many"},
        {"too many", linesFile(25), "25 lines: 22 are needed"},
        {"name only", "name", "1 line: 22 are needed"},
        {"NUL", linesFile(3) + std::string(1, '\0'), "3 lines: 22 are needed (the text ends at a NUL byte at offset 12)"},
        {"NUL first", std::string(1, '\0') + linesFile(22), "the file begins with a NUL byte, so it holds no text"},
    };
    for (const Case& c : cases) EXPECT_EQ(engineFileProblem(c.bytes), c.problem) << c.name;
}

}  // namespace
}  // namespace ondrel
