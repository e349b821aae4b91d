#include "web/header_rules.h"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

const Text agentLine = "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

TEST(HeaderLine, NameAndValue) {
    struct Case {
        Text line, name, value;
    } cases[] = {
        {"Referer: a:b", "Referer", "a:b"},
        {"no colon", "", ""},
        {"  X-A  :  v  ", "X-A", "v"},
        {"\xA1\xA1Name\xA1\xA1:\xA1\xA1v\xA1\xA1", "Name", "v"},  // ideographic spaces trimmed
        {"\tTab:\tv", "\tTab", "\tv"},                              // tabs are not spaces
        {":only value", "", "only value"},
        {"Name:", "Name", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(headerName(c.line), c.name) << c.line;
        EXPECT_EQ(headerValue(c.line), c.value) << c.line;
    }
}

TEST(TrimSpaces, StepsOverDoubleByteCharacters) {
    // "\xB0\xA1" is one character whose trail byte looks like half an ideographic space: the
    // trailing "\xA1\xA1" after it is a space, but "\xB0\xA1\xA1" keeps its last byte's pair.
    EXPECT_EQ(trimSpaces("\xB0\xA1\xA1\xA1 "), "\xB0\xA1");
    EXPECT_EQ(trimSpaces(" \xA1\xA1 "), "");
    EXPECT_EQ(trimSpaces("a b"), "a b");
}

TEST(SplitText, Pieces) {
    struct Case {
        Text text, separator;
        std::vector<Text> pieces;
    } cases[] = {
        {"", ";", {}},
        {"a;b", ";", {"a", "b"}},
        {";a", ";", {"", "a"}},
        {"a;;b", ";", {"a", "", "b"}},
        {"a;", ";", {"a"}},
        {"a\r\n\r\nb\r\n", "\r\n", {"a", "", "b"}},
        {"\xB0;x;y", ";", {"\xB0;x", "y"}},  // ";" after a lead byte is its trail byte
    };
    for (const Case& c : cases) EXPECT_EQ(splitText(c.text, c.separator), c.pieces) << c.text;
}

TEST(TextBefore, ExactSearch) {
    EXPECT_EQ(textBefore("Set-Cookie: a", ": "), "Set-Cookie");
    EXPECT_EQ(textBefore("no separator", ": "), "");
    EXPECT_EQ(textBefore("A:B", "b"), "");  // letter case counts
}

TEST(CompleteDefaultHeaders, BothForms) {
    const Text base = "Accept: */*\r\nReferer: A\r\nAccept-Language: zh-cn";
    struct Case {
        const char* name;
        Text headers;
        int method;
        HeaderForm form;
        Text expected;
    } cases[] = {
        {"direct, empty", "", 0, HeaderForm::direct, base},
        {"general, empty", "", 0, HeaderForm::general, "\r\n" + base + "\r\n" + agentLine},
        {"post adds a content type", "", 1, HeaderForm::direct,
         base + "\r\nContent-Type: application/x-www-form-urlencoded"},
        {"put adds none", "", 3, HeaderForm::direct, base},
        {"presence ignores letter case", "user-agent: X\r\nACCEPT: a\r\nreferer: r\r\naccept-language: en", 0,
         HeaderForm::general, "user-agent: X\r\nACCEPT: a\r\nreferer: r\r\naccept-language: en"},
        {"Accept: is not found inside Accept-Language:", "Accept-Language: en", 0, HeaderForm::direct,
         "Accept-Language: en\r\nAccept: */*\r\nReferer: A"},
        {"a value containing Referer: counts", "X: Referer:", 0, HeaderForm::direct,
         "X: Referer:\r\nAccept: */*\r\nAccept-Language: zh-cn"},
        {"caller's content type kept", "Content-Type: text/xml", 1, HeaderForm::direct,
         "Content-Type: text/xml\r\n" + base},
    };
    for (const Case& c : cases)
        EXPECT_EQ(completeDefaultHeaders(c.headers, "A", c.method, c.form), c.expected) << c.name;
}

TEST(NormaliseHeaderNames, Table) {
    struct Case {
        Text headers, expected;
    } cases[] = {
        {"\r\naccept: */*\r\nx-requested-with: a", "Accept: */*\r\nX-Requested-With: a"},
        {"a-: v", "A-: v"},
        {"no colon at all", ""},
        {"", ""},
        {"x-a: lower-case value: kept", "X-A: lower-case value: kept"},
        {"a--b: v\r\nbroken\r\n-x: v\r\n", "A--B: v\r\n-X: v"},
        {" x-y: v", " x-Y: v"},  // the name is not trimmed: its first byte is the space
    };
    for (const Case& c : cases) EXPECT_EQ(normaliseHeaderNames(c.headers), c.expected) << c.headers;
}

TEST(CapitaliseFirst, AsciiOnly) {
    EXPECT_EQ(capitaliseFirst("abc"), "Abc");
    EXPECT_EQ(capitaliseFirst("Abc"), "Abc");
    EXPECT_EQ(capitaliseFirst("1a"), "1a");
    EXPECT_EQ(capitaliseFirst(""), "");
}

TEST(Base64Encode, Rfc4648Vectors) {
    const std::pair<Text, Text> cases[] = {
        {"", ""},           {"f", "Zg=="},         {"fo", "Zm8="},         {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"},
        {Text("\0\xFF\xFE", 3), "AP/+"},  // every byte counts, NUL and high bytes alike
        {"user:pass", "dXNlcjpwYXNz"},
    };
    for (const auto& [bytes, encoded] : cases) EXPECT_EQ(base64Encode(bytes), encoded) << encoded;
}

TEST(CollectSetCookies, Table) {
    struct Case {
        Text block, expected;
    } cases[] = {
        {"Set-Cookie: a=1; path=/\r\nset-cookie: b=2\r\nSet-Cookie: c=3", "a=1; c=3"},
        {"Set-Cookie: a=1; path=/\r\nSet-Cookie: b=2", "a=1; b=2"},
        {"Content-Type: text/html\r\n", ""},
        {"", ""},
        {"Set-Cookie: a=1\r\nSet-Cookie: a=2\r\n\r\n", "a=1; a=2"},  // repeated names all kept
        {"HTTP/1.1 200 OK\r\nSet-Cookie:  s=x ; HttpOnly\r\n\r\n", "s=x"},
        {"Set-Cookie:a=1", ""},  // no ": " after the name: not a Set-Cookie line
    };
    for (const Case& c : cases) EXPECT_EQ(collectSetCookies(c.block), c.expected) << c.block;
}

TEST(MergeCookies, Table) {
    struct Case {
        Text sent, received, expected;
    } cases[] = {
        {"a=1; a=2; c=3", "", "a=1; c=3"},
        {"x=1", "x=deleted", ""},
        {"a = 1", "b=2", "b=2; a=1"},
        {"a=1; c=3", "a=9; d=deleted", "a=9; c=3"},
        {"", "", ""},
        {"", "b=2; b=2", "b=2"},
        {"a=1;b=2", "", "a=1; b=2"},
        {"k=\xA1\xA1v", "", "k=v"},  // ideographic spaces are removed too
        {"=deleted; z=1", "", "z=1"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(mergeCookies(c.sent, c.received), c.expected) << c.sent << " | " << c.received;
}

TEST(CookieItems, NamesAndPositions) {
    EXPECT_EQ(cookieName(" a = 1 "), "a");
    EXPECT_EQ(cookieName(" flag "), "flag");
    const std::vector<Text> items = {"a=1", "b=2", "a=3"};
    EXPECT_TRUE(hasCookieNamed(items, "b"));
    EXPECT_FALSE(hasCookieNamed(items, "B"));
    EXPECT_EQ(itemPosition(items, "a=3"), 3);
    EXPECT_EQ(itemPosition(items, "a"), -1);
    EXPECT_EQ(removeDuplicateItems("a; b; a", "; "), "a; b");
    EXPECT_EQ(removeDuplicateItems("", "; "), "");
    EXPECT_EQ(removeDuplicateItems("x|x|y|", "|"), "x|y");
}

}  // namespace
}  // namespace ondrel
