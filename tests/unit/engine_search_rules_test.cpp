// The rules the per-engine search applies to what it fetches.
#include <gtest/gtest.h>

#include "search/engine_diagnosis.h"
#include "search/page_buffer.h"
#include "search/page_count.h"
#include "search/search_engine.h"

namespace ondrel {
namespace {

TEST(PageCount, FromText) {
    struct Case {
        std::string text;
        int pages;
    } cases[] = {
        {"", 5},          {"0", 1},        {"1", 1},           {"3", 3},
        {" 3", 3},        {"\xA3\xB3", 3},  // full-width 3
        {"\xA1\xA1\xA3\xB1\xA3\xB2", 12},  // ideographic space, full-width 12
        {"3\xD2\xB3", 3},  // 3页
        {"abc", 0},       {"-2", -2},      {"+4", 4},          {"00", 0},
        {"\t\r\n 7x", 7}, {"- 3", 0},      {"99999999999", 2147483647},
        {"\xA3\xAD\xA3\xB5", -5},  // full-width minus and 5
    };
    for (const Case& c : cases) EXPECT_EQ(pageCountFromText(c.text), c.pages) << "\"" << c.text << "\"";
}

TEST(PageBuffer, EveryLineBreakReadsBackAsCrLf) {
    struct Case {
        std::string body;
        std::string text;
    } cases[] = {
        {"a\r\nb", "a\r\nb"},
        {"a\nb\rc", "a\r\nb\r\nc"},
        {"\r\r\n\n", "\r\n\r\n\r\n"},
        {"\n\r", "\r\n\r\n"},  // LF then a lone CR: two breaks
        {std::string("ab\0c\nd", 6), "ab"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(pageText(c.body, false), c.text);
}

TEST(PageBuffer, Utf8PageReachesTheConversionWhole) {
    // "磁力" in UTF-8 with a lone LF: the bytes survive, the break becomes CR LF, then GBK.
    EXPECT_EQ(pageText("\xE7\xA3\x81\n\xE5\x8A\x9B", true), "\xB4\xC5\r\n\xC1\xA6");
    EXPECT_EQ(pageText("\xE7\xA3\x81", false), "\xE7\xA3\x81");
}

EngineDefinition engineWith(const Text& site, const Text& pagePrefix, const Text& pageSuffix) {
    EngineDefinition e;
    e.siteUrl = site;
    e.pageUrlPrefix = pagePrefix;
    e.pageUrlSuffix = pageSuffix;
    return e;
}

TEST(SearchAddresses, ResultPageAndDetailLinks) {
    const EngineDefinition e = engineWith("http://s", "http://s/list/*-", ".html?k=*");
    EXPECT_EQ(resultPageUrl(e, "K", 2), "http://s/list/K-2.html?k=K");
    EXPECT_EQ(resultPageUrl(e, "", 12), "http://s/list/-12.html?k=");

    struct Case {
        Text site, link, url;
    } cases[] = {
        {"http://s", "/d/42", "http://s/d/42"},
        {"http://s/", "/d/42", "http://s//d/42"},
        {"http://s", "//cdn/d/42", "http://s//cdn/d/42"},
        {"http://s", "https://other/d/1", "https://other/d/1"},
        {"http://s", "/go?to=http://x", "/go?to=http://x"},
        {"http://s", "d/1", "http://sd/1"},
        {"http://s", "HTTP:/x", "http://sHTTP:/x"},
    };
    for (const Case& c : cases) EXPECT_EQ(detailPageUrl(engineWith(c.site, "", ""), c.link), c.url) << c.link;
}

TEST(SearchSwitches, OnlyExactlyYesIsOn) {
    EXPECT_TRUE(switchOn("\xCA\xC7"));
    for (const Text off : {"", "\xCA\xC7 ", " \xCA\xC7", "Y", "1", "\xCA\xC7\xCA\xC7"}) EXPECT_FALSE(switchOn(off)) << off;
}

TEST(DetailFields, CutStripAndAccept) {
    EngineDefinition e;
    e.titlePrefix = "<h1 class=#\xD2\xFD\xBA\xC5t#\xD2\xFD\xBA\xC5>";  // the quote marker stands for "
    e.titleSuffix = "</h1>";
    e.sizePrefix = "<s>";
    e.sizeSuffix = "</s>";
    e.magnetPrefix = "href=\"";
    e.magnetSuffix = "\"";
    const std::string page = "<h1 class=\"t\"><b>One</b>\r\nTwo</h1><h1 class=\"t\">second</h1><s>1 GB</s>"
                             "<a href=\"magnet:?xt=1\">";
    const ResultRow row = cutResultFields(e, page);
    EXPECT_EQ(row.title, "One\r\nTwo");  // the first title, its line break kept
    EXPECT_EQ(row.size, "1 GB");
    EXPECT_EQ(row.fileCount, "");
    EXPECT_EQ(row.magnetLink, "magnet:?xt=1");
    EXPECT_TRUE(acceptedRow(row));

    const ResultRow onlyMarkup = cutResultFields(e, "<h1 class=\"t\"><b></b></h1><a href=\"magnet:\">");
    EXPECT_FALSE(acceptedRow(onlyMarkup));
    EXPECT_EQ(whyNoRow("<h1 class=\"t\"><b></b></h1>", onlyMarkup.title, onlyMarkup.magnetLink, e.titlePrefix,
                       e.titleSuffix, e.magnetPrefix, e.magnetSuffix),
              "no title: it is only markup");
    EXPECT_EQ(whyNoRow("<h1 class=\"t\">x</h1>", "x", "", e.titlePrefix, e.titleSuffix, e.magnetPrefix, e.magnetSuffix),
              "no magnet link: the prefix \"href=\"\" is not in the page");
    EXPECT_EQ(whyNothingBetween("", "a", "b"), "the page is empty");
    EXPECT_EQ(whyNothingBetween("a x", "a", "b"), "no suffix \"b\" after the prefix");
}

}  // namespace
}  // namespace ondrel
