#include "text/extract.h"

#include <gtest/gtest.h>

#include "app/event_pump.h"

namespace ondrel {
namespace {

struct BetweenCase {
    const char* name;
    std::string text, prefix, suffix;
    int start;
    bool ignoreCase;
    std::string expected;
};

TEST(TextBetween, Table) {
    const std::string q = std::string(quoteMarker);
    const std::string zhong = "\xD6\xD0", wen = "\xCE\xC4";  // 中, 文
    const BetweenCase cases[] = {
        {"tag pair", "a<b>c</b>d", "<b>", "</b>", 1, false, "c"},
        {"suffix missing", "a<b>c</b>d", "<b>", "</i>", 1, false, ""},
        {"prefix missing", "a<b>c</b>d", "<i>", "</b>", 1, false, ""},
        {"suffix only before prefix", "x]y[z", "[", "]", 1, false, ""},
        {"empty suffix", "a<b>c</b>d", "<b>", "", 1, false, ""},
        {"empty prefix starts at first byte", "12 pages", "", " ", 1, false, "12"},
        {"empty prefix ignores the start", "12 pages", "", " ", 4, false, "12"},
        {"empty text", "", "", "", 1, false, ""},
        {"value may be empty", "<b></b>", "<b>", "</b>", 1, false, ""},
        {"first prefix wins", "[1][2]", "[", "]", 1, false, "1"},
        {"start skips a prefix", "[1][2]", "[", "]", 2, false, "2"},
        {"quote marker in both", "x=\"5\"", "x=" + q, q, 1, false, "5"},
        {"ignore case", "<B>v</B>", "<b>", "</b>", 1, true, "v"},
        {"case kept by default", "<B>v</B>", "<b>", "</b>", 1, false, ""},
        {"value kept raw", "<t> a&amp;<i>b</i> </t>", "<t>", "</t>", 1, false, " a&amp;<i>b</i> "},
        {"chinese value", "<t>" + zhong + wen + "</t>", "<t>", "</t>", 1, false, zhong + wen},
        // The prefix bytes D0 CE stand across the two characters only.
        {"prefix across two characters", zhong + wen + "]", "\xD0\xCE", "]", 1, false, ""},
        {"suffix across two characters", "[" + zhong + wen + "]", "[", "\xD0\xCE", 1, false, ""},
    };
    for (const BetweenCase& c : cases)
        EXPECT_EQ(textBetween(c.text, c.prefix, c.suffix, c.start, c.ignoreCase), c.expected) << c.name;
}

struct AllCase {
    const char* name;
    std::string text, prefix, suffix;
    AllTextsOptions options;
    std::vector<Text> expected;
};

TEST(AllTextsBetween, Table) {
    const AllCase cases[] = {
        {"two links", "<a>1</a><a>2</a>", "<a>", "</a>", {}, {"1", "2"}},
        {"passes overlap", "aabc", "a", "c", {}, {"ab", "b"}},
        {"equal pieces all kept", "[x][x]", "[", "]", {}, {"x", "x"}},
        {"empty suffix: one empty piece per prefix", "a,a,a,", "a", "", {}, {"", "", ""}},
        {"empty suffix, prefix ends the text", "a,a", "a", "", {}, {""}},
        {"missing suffix ends the collection", "[1][2", "[", "]", {}, {"1"}},
        {"no prefix", "abc", "[", "]", {}, {}},
        {"empty text", "", "[", "]", {}, {}},
        {"max length drops pieces of that length", "[ab][abc][a]", "[", "]", {.maxLength = 3}, {"ab", "a"}},
        {"max length counts before and after", "[ab]", "[", "]", {.maxLength = 4, .before = "<", .after = ">"}, {}},
        {"before and after", "[1][2]", "[", "]", {.before = "<", .after = ">"}, {"<1>", "<2>"}},
        {"keep prefix and suffix", "[1]", "[", "]", {.keepPrefix = true, .keepSuffix = true}, {"[1]"}},
        {"keep prefix outside before", "[1]", "[", "]", {.before = "<", .keepPrefix = true}, {"[<1"}},
        {"ignore case", "<A>1</a><a>2</A>", "<a>", "</a>", {.ignoreCase = true}, {"1", "2"}},
        {"start", "[1][2]", "[", "]", {.start = 2}, {"2"}},
        {"quote marker is literal here", "#\xD2\xFD\xBA\xC5x]", "#\xD2\xFD\xBA\xC5", "]", {}, {"x"}},
        // An empty prefix would be found at position 1 again and again; it gives the one piece
        // from the first byte to the first suffix, the value textBetween gives for it.
        {"empty prefix gives one piece", "12 pages 3 ", "", " ", {}, {"12"}},
        {"empty prefix and suffix", "abc", "", "", {}, {""}},
    };
    for (const AllCase& c : cases) {
        std::vector<Text> out = {"stale"};
        EXPECT_EQ(allTextsBetween(c.text, c.prefix, c.suffix, out, c.options), int(c.expected.size())) << c.name;
        EXPECT_EQ(out, c.expected) << c.name;
    }
}

int pumped = 0;

TEST(AllTextsBetween, ProcessesPendingEventsThreeTimesPerPiece) {
    setPendingEventPump([] { ++pumped; });
    std::vector<Text> out;
    pumped = 0;
    allTextsBetween("[1][2][3", "[", "]", out);
    setPendingEventPump(nullptr);
    EXPECT_EQ(pumped, 6);
}

TEST(AllTextsBetween, ManyPiecesWithCaseIgnoredStayFast) {
    // Each search must cost what it covers, not the whole page: 200000 pieces of a 1.2 MB
    // page would take minutes if every search folded the page again.
    std::string page;
    for (int i = 0; i < 200000; ++i) page += "<A>x</A>";
    std::vector<Text> out;
    EXPECT_EQ(allTextsBetween(page, "<a>", "</a>", out, {.ignoreCase = true}), 200000);
}

TEST(ReplacePairs, Table) {
    EXPECT_EQ(replacePairs("s=*&p=*", {{"*", "ab"}}), "s=ab&p=ab");
    EXPECT_EQ(replacePairs("ABC", {{"abc", "x"}}), "x");
    EXPECT_EQ(replacePairs("ABC", {{"abc", "x"}}, -1, 1, true), "ABC");
    // Each pair works on the result of the pairs before it.
    EXPECT_EQ(replacePairs("a", {{"a", "b"}, {"b", "c"}}), "c");
    // An empty search text is skipped, not an end of the list.
    EXPECT_EQ(replacePairs("ab", {{"", "x"}, {"b", "y"}}), "ay");
    // Count and start apply to every pair on its own; start 0 is 1.
    EXPECT_EQ(replacePairs("aabb", {{"a", "x"}, {"b", "y"}}, 1), "xayb");
    EXPECT_EQ(replacePairs("abab", {{"a", "x"}, {"b", "y"}}, -1, 2), "ayxy");
    EXPECT_EQ(replacePairs("ab", {{"a", "x"}}, -1, 0), "xb");
    // Only five pairs are applied.
    EXPECT_EQ(replacePairs("123456", {{"1", "a"}, {"2", "b"}, {"3", "c"}, {"4", "d"}, {"5", "e"}, {"6", "f"}}),
              "abcde6");
    EXPECT_EQ(replacePairs("", {{"a", "b"}}), "");
}

}  // namespace
}  // namespace ondrel
