#include "text/text_rules.h"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

struct FindCase {
    const char* name;
    std::string text, needle;
    int start;
    bool ignoreCase;
    int expected;
};

TEST(FindText, Table) {
    const std::string zhong = "\xD6\xD0", wen = "\xCE\xC4";  // two double-byte characters
    const FindCase cases[] = {
        {"plain", "abcabc", "c", 1, false, 3},
        {"from start", "abcabc", "c", 4, false, 6},
        {"start 0 is 1", "abc", "a", 0, false, 1},
        {"empty needle gives 1", "abc", "", 3, false, 1},
        {"empty needle nothing left", "abc", "", 4, false, -1},
        {"start past end", "abc", "a", 9, false, -1},
        {"empty text", "", "a", 1, false, -1},
        {"ignore case ascii", "xxABC", "abc", 1, true, 3},
        {"case matters by default", "xxABC", "abc", 1, false, -1},
        {"never across two characters", zhong + wen, "\xD0\xCE", 1, false, -1},
        {"second character found", zhong + wen, wen, 1, false, 3},
        {"trail byte below 0x80 not a start", "\x81" "A" "A", "A", 1, false, 3},
        {"boundaries count from the start", "\x81" "AA", "A", 2, false, 2},
        {"needle longer than rest", "abc", "abcd", 1, false, -1},
        {"lone lead byte at end", "a\x81", "\x81", 1, false, 2},
        {"full-width letters not folded", "\xA3\xC1", "\xA3\xE1", 1, true, -1},
    };
    for (const FindCase& c : cases)
        EXPECT_EQ(findText(c.text, c.needle, c.start, c.ignoreCase), c.expected) << c.name;
}

TEST(FindText, LongRunsOfLeadBytesStayAligned) {
    std::string text(100001, '\x81');  // odd length: the last lead byte pairs with "x"
    EXPECT_EQ(findText(text + "x", "\x81x"), int(text.size()));
    EXPECT_EQ(findText("\x81" + text + "x", "\x81x"), -1);
}

TEST(MidText, Table) {
    EXPECT_EQ(midText("abcdef", 2, 3), "bcd");
    EXPECT_EQ(midText("abcdef", 5, 10), "ef");
    EXPECT_EQ(midText("abcdef", 0, 3), "");
    EXPECT_EQ(midText("abcdef", 7, 1), "");
    EXPECT_EQ(midText("abcdef", 1, 0), "");
    EXPECT_EQ(midText("abcdef", 1, -2), "");
}

TEST(ReplaceText, Table) {
    EXPECT_EQ(replaceText("s=*&p=*", "*", "ab"), "s=ab&p=ab");
    EXPECT_EQ(replaceText("aaaa", "a", "b", 1, 2), "bbaa");
    EXPECT_EQ(replaceText("aaaa", "a", "b", 3), "aabb");
    EXPECT_EQ(replaceText("aaaa", "a", "b", 1, 0), "aaaa");
    EXPECT_EQ(replaceText("aaaa", "a", "b", 5), "aaaa");
    EXPECT_EQ(replaceText("ABC", "abc", "x"), "x");
    EXPECT_EQ(replaceText("ABC", "abc", "x", 1, -1, true), "ABC");
    EXPECT_EQ(replaceText("", "a", "b"), "");
    EXPECT_EQ(replaceText("abc", "", "b"), "abc");
    // A replacement never starts on a trail byte.
    EXPECT_EQ(replaceText("\xD6\xD0\xCE\xC4", "\xD0\xCE", "x"), "\xD6\xD0\xCE\xC4");
    // Replaced text is not searched again.
    EXPECT_EQ(replaceText("aa", "a", "aa"), "aaaa");
}

}  // namespace
}  // namespace ondrel
