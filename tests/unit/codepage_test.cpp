#include "text/codepage.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace ondrel {
namespace {

const std::string ciLiGbk = "\xB4\xC5\xC1\xA6";                    // 磁力
const std::string ciLiUtf8 = "\xE7\xA3\x81\xE5\x8A\x9B";          // 磁力
const std::string replacementUtf8 = "\xEF\xBF\xBD";               // U+FFFD
const std::string replacementText = "\x84\x31\xA4\x37";           // U+FFFD in the program's text

struct EncodeCase {
    std::string text;
    bool keepSafe, toUtf8;
    std::string expected;
};

TEST(UrlEncode, Table) {
    const EncodeCase cases[] = {
        {ciLiGbk + " A-1.5", true, false, "%B4%C5%C1%A6%20A-1.5"},
        {ciLiGbk + " A-1.5", true, true, "%E7%A3%81%E5%8A%9B%20A-1.5"},
        {ciLiGbk + " A-1.5", false, false, "%B4%C5%C1%A6%20%41%2D%31%2E%35"},
        {"a/b_c~d*e+f", true, false, "a%2Fb%5Fc%7Ed%2Ae%2Bf"},
        {"a/b_c~d*e+f", true, true, "a%2Fb%5Fc%7Ed%2Ae%2Bf"},
        {"", true, true, ""},
        {"", false, false, ""},
        {"  ", true, false, "%20%20"},
        {"\xAB\x0F", true, false, "%AB%0F"},
        {"AZaz09", true, false, "AZaz09"},
        {"@[`{", true, false, "%40%5B%60%7B"},  // the neighbours of the letter ranges
        {"\xA3\xC1", true, false, "%A3%C1"},      // a full-width letter, byte by byte
    };
    for (const EncodeCase& c : cases)
        EXPECT_EQ(urlEncode(c.text, c.keepSafe, c.toUtf8), c.expected) << c.text << " " << c.keepSafe << c.toUtf8;
}

struct ConvertCase {
    const char* name;
    std::string utf8, text;
};

// Pairs that convert into each other both ways.
const ConvertCase roundTrips[] = {
    {"ascii", "magnet:?xt=urn:btih:ABC&dn=x", "magnet:?xt=urn:btih:ABC&dn=x"},
    {"chinese", ciLiUtf8 + " 1.5GB", ciLiGbk + " 1.5GB"},
    {"full-width letter", "\xEF\xBC\xA1", "\xA3\xC1"},
    // Characters the narrower code page lacks must survive the way in.
    {"korean", "\xED\x95\x9C", "\x83\x36\x84\x33"},
    {"japanese kana", "\xE3\x83\xB4", "\xA5\xF4"},
    {"emoji", "\xF0\x9F\x98\x80", "\x94\x39\xFC\x36"},
    {"trail byte in ascii range", "\xE4\xB8\x82" "@", "\x81\x40" "@"},
    {"empty", "", ""},
};

TEST(CodePages, ConvertBothWays) {
    for (const ConvertCase& c : roundTrips) {
        EXPECT_EQ(utf8ToGbk(c.utf8), c.text) << c.name;
        EXPECT_EQ(gbkToUtf8(c.text), c.utf8) << c.name;
        EXPECT_EQ(fromUtf16(toUtf16(c.utf8), codePageGbk), c.text) << c.name;
        EXPECT_EQ(fromUtf16(toUtf16(c.text, codePageGbk), codePageUtf8), c.utf8) << c.name;
    }
    EXPECT_EQ(toUtf16("\xF0\x9F\x98\x80"), u"\U0001F600");
    EXPECT_EQ(toUtf16(ciLiGbk, codePageGbk), u"\u78C1\u529B");
}

TEST(CodePages, EveryTwoByteGbkCharacterRoundTrips) {
    std::string all;
    for (int lead = 0x81; lead <= 0xFE; ++lead)
        for (int trail = 0x40; trail <= 0xFE; ++trail)
            if (trail != 0x7F) all += {char(lead), char(trail)};
    const Text utf8 = gbkToUtf8(all);
    EXPECT_EQ(utf8.find(replacementUtf8), std::string::npos);
    EXPECT_EQ(utf8ToGbk(utf8), all);
}

TEST(CodePages, BadSequencesBecomeOneReplacementEach) {
    const ConvertCase fromUtf8[] = {
        {"lone continuation", "a\x80" "b", "a" + replacementText + "b"},
        {"truncated three-byte then ascii", "\xE7\xA3" "x", replacementText + "x"},
        {"truncated at the end", "x\xE7\xA3", "x" + replacementText},
        {"two bad bytes", "\xFF\xFE", replacementText + replacementText},
        {"surrogate half", "\xED\xA0\x80", replacementText + replacementText + replacementText},
        {"overlong", "\xC0\xAF", replacementText + replacementText},
        {"valid around bad", ciLiUtf8 + "\xC3" + ciLiUtf8, ciLiGbk + replacementText + ciLiGbk},
    };
    for (const ConvertCase& c : fromUtf8) EXPECT_EQ(utf8ToGbk(c.utf8), c.text) << c.name;

    const ConvertCase fromText[] = {
        {"lone lead byte at the end", "ab" + replacementUtf8, "ab\x81"},
        {"lead byte before ascii", replacementUtf8 + " x", "\x81 x"},
        {"0x80 and 0xFF", replacementUtf8 + "a" + replacementUtf8, "\x80" "a\xFF"},
    };
    for (const ConvertCase& c : fromText) EXPECT_EQ(gbkToUtf8(c.text), c.utf8) << c.name;
}

TEST(CodePages, TextEndsAtItsFirstNul) {
    EXPECT_EQ(gbkToUtf8(std::string("ab\0cd", 5)), "ab");
    EXPECT_EQ(utf8ToGbk(std::string("ab\0cd", 5)), "ab");
    EXPECT_EQ(toUtf16(std::string("ab\0cd", 5)), u"ab");
    EXPECT_EQ(fromUtf16(std::u16string(u"ab\0cd", 5)), "ab");
}

TEST(CodePages, OtherCodePages) {
    EXPECT_EQ(fromUtf16(u"\u00E9", 1252), "\xE9");
    EXPECT_EQ(fromUtf16(u"\u78C1x", 1252), "?x");  // not in the code page
    EXPECT_EQ(fromUtf16(u"\xD800x", codePageUtf8), replacementUtf8 + "x");
    EXPECT_EQ(toUtf16("abc", 99999), u"");
    EXPECT_EQ(fromUtf16(u"abc", 99999), "");
}

TEST(CodePages, ConcurrentConversionsAgree) {
    std::string page;
    for (int i = 0; i < 2000; ++i) page += "<td>" + ciLiUtf8 + "\xF0\x9F\x98\x80</td>";
    const Text expected = utf8ToGbk(page);
    std::vector<std::thread> threads;
    std::vector<int> good(8, 0);
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 20; ++i) good[t] += utf8ToGbk(page) == expected && gbkToUtf8(expected) == page;
        });
    for (std::thread& th : threads) th.join();
    for (int g : good) EXPECT_EQ(g, 20);
}

TEST(CodePages, LongInvalidInputStaysLinear) {
    const std::string bad(2'000'000, '\xFF');
    EXPECT_EQ(utf8ToGbk(bad).size(), bad.size() * 4);
    EXPECT_EQ(gbkToUtf8(bad).size(), bad.size() * 3);
}

}  // namespace
}  // namespace ondrel
