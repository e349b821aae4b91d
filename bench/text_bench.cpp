// Speed of the text rules on a realistic result page, beside memchr as the limit.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "text/codepage.h"
#include "text/extract.h"
#include "text/html_strip.h"
#include "text/text_rules.h"

namespace {

using namespace ondrel;

// Result-page markup in the program's text: mostly ASCII tags with Chinese titles, about
// `size` bytes, ending in "</html>".
std::string resultPage(size_t size) {
    const std::string title = "\xB4\xC5\xC1\xA6\xCB\xD1\xCB\xF7\xBD\xE1\xB9\xFB";  // 磁力搜索结果
    std::string page = "<html><head><title>" + title + "</title><style>td{color:#333}</style></head><body>\n";
    for (int row = 0; page.size() < size; ++row) {
        const std::string id = std::to_string(100000 + row);
        page += "<tr class=\"item\"><td class=\"name\"><a href=\"/detail/" + id + ".html\" title=\"" + title +
                "\">" + title + " 1080p &amp; " + title + "</a></td>\n<td class=\"size\">1.5&nbsp;GB</td>"
                "<td class=\"date\">2024-05-01</td><td>" + title + title + "</td></tr>\n";
    }
    return page + "</body></html>";
}

const std::string& page() {
    static const std::string p = resultPage(1 << 20);
    return p;
}

void BM_Memchr(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(memchr(page().data(), '\x01', page().size()));
    state.SetBytesProcessed(int64_t(state.iterations() * page().size()));
}
BENCHMARK(BM_Memchr);

void BM_FindText(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(findText(page(), "</html>"));
    state.SetBytesProcessed(int64_t(state.iterations() * page().size()));
}
BENCHMARK(BM_FindText);

void BM_FindTextIgnoreCase(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(findText(page(), "</HTML>", 1, true));
    state.SetBytesProcessed(int64_t(state.iterations() * page().size()));
}
BENCHMARK(BM_FindTextIgnoreCase);

void BM_TextBetween(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(textBetween(page(), "</body>", "</html>"));
    state.SetBytesProcessed(int64_t(state.iterations() * page().size()));
}
BENCHMARK(BM_TextBetween);

void BM_AllTextsBetween(benchmark::State& state) {
    std::vector<Text> links;
    for (auto _ : state) benchmark::DoNotOptimize(allTextsBetween(page(), "<a href=\"", "\"", links));
    state.counters["links"] = double(links.size());
    state.SetBytesProcessed(int64_t(state.iterations() * page().size()));
}
BENCHMARK(BM_AllTextsBetween);

void BM_StripHtml(benchmark::State& state) {
    const std::string markup = resultPage(100 * 1024);
    for (auto _ : state) benchmark::DoNotOptimize(stripHtml(markup));
    state.SetBytesProcessed(int64_t(state.iterations() * markup.size()));
}
BENCHMARK(BM_StripHtml);

// One field as a detail page gives it: what the search does five times per page.
void BM_StripHtmlField(benchmark::State& state) {
    const std::string field = "<a href=\"/d/1\">\xB4\xC5\xC1\xA6 1080p</a>&nbsp;";
    for (auto _ : state) benchmark::DoNotOptimize(stripHtml(field));
    state.SetItemsProcessed(int64_t(state.iterations()));
}
BENCHMARK(BM_StripHtmlField);

void BM_Utf8ToGbk(benchmark::State& state) {
    const std::string utf8 = gbkToUtf8(page());
    for (auto _ : state) benchmark::DoNotOptimize(utf8ToGbk(utf8));
    state.SetBytesProcessed(int64_t(state.iterations() * utf8.size()));
}
BENCHMARK(BM_Utf8ToGbk);

}  // namespace

BENCHMARK_MAIN();
