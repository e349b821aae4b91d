#include "text/text_rules.h"

#include <gtest/gtest.h>

#include <random>

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

// The rule as a plain character walk, to hold the fast search against.
int walkFind(const std::string& text, const std::string& needle, int start, bool ignoreCase) {
    const size_t skip = start > 1 ? size_t(start) - 1 : 0;
    if (skip >= text.size()) return -1;
    if (needle.empty()) return 1;
    auto fold = [&](char c) { return ignoreCase && c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
    for (size_t i = skip; i + needle.size() <= text.size();) {
        size_t k = 0;
        while (k < needle.size() && fold(text[i + k]) == fold(needle[k])) ++k;
        if (k == needle.size()) return int(i) + 1;
        if (static_cast<unsigned char>(text[i]) >= 0x80) {
            if (i + 1 >= text.size()) break;
            i += 2;
        } else {
            ++i;
        }
    }
    return -1;
}

TEST(FindText, AgreesWithTheCharacterWalkOnRandomBytes) {
    const char alphabet[] = {'a', 'A', 'b', '\x81', '\xB0', 'z'};
    std::mt19937 random(11);
    auto randomText = [&](size_t maxLength) {
        std::string s(random() % (maxLength + 1), ' ');
        for (char& c : s) c = alphabet[random() % sizeof alphabet];
        return s;
    };
    for (int round = 0; round < 20000; ++round) {
        // Long texts now and then, so that the case-ignoring search crosses its window edges.
        const std::string text = randomText(round % 50 == 0 ? 3000 : 40);
        const std::string needle = randomText(4);
        const int start = int(random() % (text.size() + 3));
        const bool ignoreCase = random() % 2;
        ASSERT_EQ(findText(text, needle, start, ignoreCase), walkFind(text, needle, start, ignoreCase))
            << "text " << testing::PrintToString(text) << " needle " << testing::PrintToString(needle) << " start "
            << start << " ignoreCase " << ignoreCase;
    }
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
