#include "text/html_strip.h"

#include <gtest/gtest.h>

#include <random>
#include <thread>

#include "text/codepage.h"
#include "text/pcre2_pattern.h"

namespace ondrel {
namespace {

const std::string ciLi = "\xB4\xC5\xC1\xA6";  // 磁力

struct StripCase {
    const char* name;
    std::string text, expected;
};

TEST(StripHtml, Table) {
    const StripCase cases[] = {
        {"bold", "<b>Name</b>", "Name"},
        {"script any case", "a<SCRIPT>x</script>b", "ab"},
        {"script across lines", "a<script>\r\nif (a<b) x();\n</script>b", "ab"},
        {"style block", "<style type=x>p>b{}</STYLE>t", "t"},
        {"nearest closing script", "<script>1</script>k<script>2</script>", "k"},
        {"reference", "1.5&nbsp;GB", "1.5GB"},
        {"numeric reference", "a&#160;b", "ab"},
        {"ampersand reaching a far semicolon", "Tom & Jerry; the end", "Tom  the end"},
        {"greedy to the last semicolon in reach", "&a;b;c", "c"},
        {"nine characters is too many", "&123456789;", "&123456789;"},
        {"lone less-than", "a < b", "a < b"},
        {"empty tag is no tag", "a<>b", "a<>b"},
        {"tag across lines", "<a\nhref=\"x\">link</a>", "link"},
        {"unclosed script loses its tag", "<script>alert", "alert"},
        {"ampersand before a line feed stays", "a&b\nc;d", "a&b\nc;d"},
        {"carriage return is a character", "a&b\rc;d", "ad"},
        {"empty", "", ""},
        {"blanks stay", "  <i> x </i>  ", "   x   "},
        {"chinese title", "<td>" + ciLi + " 1080p</td>", ciLi + " 1080p"},
        // A reference counts characters, not bytes: six Chinese characters are twelve bytes.
        {"six chinese characters", "&" + ciLi + ciLi + ciLi + ";", ""},
        {"nine chinese characters", "x&" + ciLi + ciLi + ciLi + ciLi + "\xB4\xC5;", "x&" + ciLi + ciLi + ciLi + ciLi + "\xB4\xC5;"},
        // Bytes that are no valid character stay as they were outside the markup.
        {"bad bytes kept", "\x80<b>\xFFx</b>\x81", "\x80\xFFx\x81"},
        {"lead byte before a tag", "\x81<b>", "\x81"},
        {"text ends at nul", std::string("<b>a\0<i>", 8), "a"},
    };
    for (const StripCase& c : cases) EXPECT_EQ(stripHtml(c.text), c.expected) << c.name;
}

// The whole expression, applied by PCRE2 in one global substitution.
std::string substituteWhole(const std::string& utf8) {
    static const Pcre2Code code = compilePattern(
        "<script[\\s\\S]*?</script>|<style[\\s\\S]*?</style>|<[^>]+>|&.{1,8};", PCRE2_CASELESS | PCRE2_MULTILINE);
    std::string out(utf8.size() + 1, '\0');
    PCRE2_SIZE size = out.size();
    pcre2_substitute(code.get(), reinterpret_cast<PCRE2_SPTR>(utf8.data()), utf8.size(), 0, PCRE2_SUBSTITUTE_GLOBAL,
                     nullptr, nullptr, reinterpret_cast<PCRE2_SPTR>(""), 0, reinterpret_cast<PCRE2_UCHAR*>(out.data()),
                     &size);
    out.resize(size);
    return out;
}

TEST(StripHtml, SameAsTheWholeExpressionOnRandomMarkup) {
    const std::vector<std::string> pieces = {"<", ">", "<script", "</script>", "<STYLE", "</style>", "&", ";",
                                             "\n", "\r", "a", " ", ciLi, "<b>", "</SCRIPT>", "&nbsp;"};
    std::mt19937 random(7);
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const int length = int(random() % 24);
        for (int i = 0; i < length; ++i) text += pieces[random() % pieces.size()];
        ASSERT_EQ(gbkToUtf8(stripHtml(text)), substituteWhole(gbkToUtf8(text))) << text;
    }
}

TEST(StripHtml, HostileInputEnds) {
    // Inputs that would take quadratic time if every "<" that can never close were scanned to
    // the end again; each must stay a matter of milliseconds.
    const std::string mb2(2'000'000, 'x'), amps(1'000'000, '&'), opens(1'000'000, '<'), high(1'000'000, '\xFE');
    std::string scripts, styles;
    for (int i = 0; i < 100'000; ++i) scripts += "<script>", styles += "<style";
    const StripCase cases[] = {
        {"2 MB tag", "<" + mb2 + ">z", "z"},
        {"2 MB unclosed tag", "<" + mb2, "<" + mb2},
        {"a million ampersands", amps, amps},
        {"a million ampersands and a semicolon", amps + ";", std::string(amps.size() - 9, '&')},
        {"a million less-thans", opens, opens},
        {"a million less-thans closed once", opens + ">", ""},
        {"unclosed scripts", scripts, ""},
        {"scripts closed once", scripts + "</script>", ""},
        {"styles closed once", styles + "</style>x", "x"},
        {"high bytes", high + "<b>", high},
    };
    for (const StripCase& c : cases) {
        const Text result = stripHtml(c.text);
        EXPECT_TRUE(result == c.expected) << c.name << ": " << result.size() << " bytes, not " << c.expected.size();
    }
}

TEST(StripHtml, ConcurrentCallsAgree) {
    std::string page;
    for (int i = 0; i < 500; ++i) page += "<tr><td class=\"t\">" + ciLi + "&nbsp;</td><script>x</script></tr>\n";
    const Text expected = stripHtml(page);
    std::vector<int> good(6, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 6; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 50; ++i) good[t] += stripHtml(page) == expected;
        });
    for (std::thread& th : threads) th.join();
    for (int g : good) EXPECT_EQ(g, 50);
}

}  // namespace
}  // namespace ondrel
