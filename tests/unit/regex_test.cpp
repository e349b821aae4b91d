#include "text/regex_object.h"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

const std::string ciLi = "\xB4\xC5\xC1\xA6";  // 磁力

struct ReplaceCase {
    const char* name;
    std::string pattern, subject, replacement;
    bool caseSensitive, multiLine, global, quoteMarker;
    std::string expected;
};

TEST(RegexObject, ExecuteAndReplace) {
    const ReplaceCase cases[] = {
        {"case ignored by default", "abc", "xABCx", "-", false, true, true, false, "x-x"},
        {"case sensitive", "abc", "xABCx", "-", true, true, true, false, "xABCx"},
        {"global by default", "a", "aXa", "", false, true, true, false, "X"},
        {"first only", "a", "aXa", "", false, true, false, false, "Xa"},
        {"multi-line by default", "^x", "x\nx", "y", false, true, true, false, "y\ny"},
        {"single line", "^x", "x\nx", "y", false, false, true, false, "y\nx"},
        {"dot matches carriage return", "a.b", "a\rb a\nb", "+", false, true, true, false, "+ a\nb"},
        {"chinese character is one character", "^.{2}$", ciLi, "ok", false, true, true, false, "ok"},
        {"chinese literal", ciLi, "x" + ciLi + "y", "_", false, true, true, false, "x_y"},
        {"quote marker", "=#\xD2\xFD\xBA\xC5", "a=\"1\"", "", false, true, true, true, "a1\""},
        {"quote marker only when asked", "=#\xD2\xFD\xBA\xC5", "a=\"1\"", "", false, true, true, false, "a=\"1\""},
        {"groups and whole match", "(\\w+)@(\\w+)", "me@host", "$2 at $1 ($&)", false, true, true, false, "host at me (me@host)"},
        {"dollar escapes", "b", "abc", "[$$|$`|$']", false, true, true, false, "a[$|a|c]c"},
        {"missing group stays literal", "b", "abc", "$7", false, true, true, false, "a$7c"},
        {"empty matches end", "x*", "ab", "-", false, true, true, false, "-a-b-"},
    };
    for (const ReplaceCase& c : cases) {
        RegexObject regex;
        ASSERT_TRUE(regex.execute(c.pattern, c.subject, c.caseSensitive, c.multiLine, c.global, c.quoteMarker)) << c.name;
        EXPECT_EQ(regex.replace(c.replacement), c.expected) << c.name;
    }
}

TEST(RegexObject, InvalidPatternFailsSilently) {
    RegexObject regex;
    ASSERT_TRUE(regex.execute("a", "a"));
    EXPECT_FALSE(regex.execute("(unclosed", "(unclosed"));
    EXPECT_EQ(regex.replace("x"), "");
    EXPECT_EQ(regex.matchCount(), 0);
    EXPECT_EQ(regex.pattern(), "");
    // An empty match collection is still a result.
    EXPECT_TRUE(regex.execute("zzz", "abc"));
    EXPECT_EQ(regex.matchCount(), 0);
    EXPECT_EQ(regex.replace("x"), "abc");
}

TEST(RegexObject, MatchesAndGroups) {
    RegexObject regex;
    const std::string subject = ciLi + " a=1, b=22, c=";
    ASSERT_TRUE(regex.execute("(\\w)=(\\d+)?", subject));
    EXPECT_EQ(regex.pattern(), "(\\w)=(\\d+)?");
    EXPECT_EQ(regex.matchCount(), 3);
    EXPECT_EQ(regex.subMatchCount(), 2);
    int position = 0;
    // Positions are byte offsets in the program's text, Chinese characters counting two.
    EXPECT_EQ(regex.matchText(2, &position), "b=22");
    EXPECT_EQ(position, 10);
    EXPECT_EQ(regex.subMatchText(2, 2, &position), "22");
    EXPECT_EQ(position, 12);
    EXPECT_EQ(regex.subMatchText(3, 1), "c");
    EXPECT_EQ(regex.subMatchText(3, 2, &position), "");  // took no part
    EXPECT_EQ(position, -1);
    EXPECT_EQ(regex.matchText(4, &position), "");
    EXPECT_EQ(position, -1);
    EXPECT_EQ(regex.subMatchText(1, 3), "");

    // A copy keeps what the original found, even after the original runs again.
    const RegexObject copy = regex;
    ASSERT_TRUE(regex.execute("x", "x"));
    EXPECT_EQ(copy.matchCount(), 3);
    EXPECT_EQ(copy.matchText(1), "a=1");
}

}  // namespace
}  // namespace ondrel

namespace ondrel {
namespace {

TEST(RegexObject, MatchTooDeepForTheJitIsStillFound) {
    RegexObject regex;
    ASSERT_TRUE(regex.execute("(a|b)*c", std::string(300'000, 'a') + "c"));
    EXPECT_EQ(regex.matchCount(), 1);
}

}  // namespace
}  // namespace ondrel
