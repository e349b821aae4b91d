#include "magnet_site.h"

#include <chrono>
#include <cstdio>
#include <thread>

#include "text/codepage.h"

namespace ondrel::testsite {
namespace {

struct FlavorShape {
    const char* path;      // where the flavour's pages live
    bool utf8Lists;        // search and result pages in UTF-8
    bool utf8Details;      // detail pages in UTF-8
    const char* lineEnd;   // how its pages end their lines
};

FlavorShape shapeOf(MagnetFlavor flavor) {
    switch (flavor) {
        case MagnetFlavor::gbk: return {"/gbk", false, false, "\n"};
        case MagnetFlavor::utf8: return {"/utf8", true, true, "\r\n"};
        case MagnetFlavor::mixed: return {"/mixed", true, false, "\r"};
    }
    return {"/gbk", false, false, "\n"};
}

const char* const subjects[] = {
    "Ubuntu 24.04 桌面版",         "Debian 12 网络安装镜像",     "开源字体合集 Noto CJK",
    "公有领域电影 大都会 1927",    "古典音乐 巴赫 平均律",       "Blender 短片 Big Buck Bunny",
    "维基百科 离线包 2024",        "自由软件 文档 合集",         "日本語 テスト データ",
    "한국어 샘플 자료",            "OpenStreetMap 中国 地图数据", "Project Gutenberg 有声书 🎧",
};

std::string hashOf(int number) {
    std::uint64_t x = 0x9E3779B97F4A7C15ull * std::uint64_t(number) + 0x632BE59BD9B4E019ull;
    std::string hash;
    char part[17];
    for (int i = 0; i < 3; ++i) {
        x ^= x >> 31;
        x *= 0xBF58476D1CE4E5B9ull;
        std::snprintf(part, sizeof part, "%016llx", static_cast<unsigned long long>(x));
        hash += part;
    }
    return hash.substr(0, 40);
}

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool containsIgnoringCase(const std::string& text, const std::string& needle) {
    if (needle.empty()) return true;
    for (size_t i = 0; i + needle.size() <= text.size(); ++i) {
        size_t k = 0;
        while (k < needle.size() && lowerAscii(text[i + k]) == lowerAscii(needle[k])) ++k;
        if (k == needle.size()) return true;
    }
    return false;
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

// A page written in UTF-8 with LF line ends, as the flavour sends it.
void send(httplib::Response& response, const std::string& utf8Page, bool asUtf8, const char* lineEnd,
          int status = 200) {
    const std::string lines = replaceAll(utf8Page, "\n", lineEnd);
    response.status = status;
    response.set_content(asUtf8 ? lines : ondrel::utf8ToGbk(lines),
                         asUtf8 ? "text/html; charset=utf-8" : "text/html; charset=gbk");
}

std::string pageHead(const std::string& title, bool utf8) {
    return std::string("<!DOCTYPE html>\n<html><head><meta charset=\"") + (utf8 ? "utf-8" : "gbk") +
           "\"><title>" + title + "</title></head>\n<body>\n";
}

}  // namespace

std::vector<MagnetItem> magnetItems(int count) {
    std::vector<MagnetItem> items;
    const int subjectCount = int(std::size(subjects));
    for (int n = 1; n <= count; ++n) {
        MagnetItem item;
        item.number = n;
        const std::string part = "第" + std::to_string(n) + "部";
        item.title = std::string(subjects[(n - 1) % subjectCount]) + (n % 10 == 3 ? "\n" : " ") + part;
        item.size = std::to_string(1 + n % 7) + "." + std::to_string(n % 10) + " GB";
        item.fileCount = 1 + n % 12;
        char date[16];
        std::snprintf(date, sizeof date, "2024-%02d-%02d", 1 + n % 12, 1 + n % 28);
        item.date = date;
        item.hash = hashOf(n);
        items.push_back(std::move(item));
    }
    return items;
}

MagnetSite::MagnetSite(MagnetSiteOptions options)
    : options_(std::move(options)), items_(magnetItems(options_.itemCount)), latencyMs_(options_.latencyMs) {}

std::vector<MagnetItem> MagnetSite::matches(const std::string& keyword) const {
    std::vector<MagnetItem> found;
    for (const MagnetItem& item : items_) {
        if (containsIgnoringCase(item.title, keyword)) found.push_back(item);
    }
    return found;
}

std::string MagnetSite::flavorName(MagnetFlavor flavor) { return shapeOf(flavor).path + 1; }

std::string MagnetSite::siteUrl(MagnetFlavor flavor, const std::string& baseUrl) {
    // The mixed site lives at the root, so its links that begin with "//" still reach it.
    return flavor == MagnetFlavor::mixed ? baseUrl : baseUrl + shapeOf(flavor).path;
}

std::string MagnetSite::engineFile(MagnetFlavor flavor, const std::string& baseUrl) {
    const std::string site = baseUrl + shapeOf(flavor).path;
    const std::string quote = "#引号";
    std::vector<std::string> lines = {
        "演示" + std::string(flavor == MagnetFlavor::gbk ? "GBK" : flavor == MagnetFlavor::utf8 ? "UTF-8" : "混合") + "站",
        siteUrl(flavor, baseUrl),
        site + "/search?q=",
        "",
        "共<b>",
        "</b>页",
        flavor == MagnetFlavor::gbk ? site + "/list/" : flavor == MagnetFlavor::utf8 ? site + "/list?q=*&p=" : site + "/list?p=",
        flavor == MagnetFlavor::gbk ? ".html?q=*" : flavor == MagnetFlavor::utf8 ? "" : "&q=*",
        "<a class=\"item\" href=\"",
        "\">",
        "<h1 class=" + quote + "title" + quote + ">",
        "</h1>",
        "<dd class=" + quote + "size" + quote + ">",
        "</dd>",
        "<dd class=" + quote + "files" + quote + ">",
        "</dd>",
        "<dd class=" + quote + "date" + quote + ">",
        "</dd>",
        "<a class=" + quote + "magnet" + quote + " href=" + quote,
        quote + ">",
        shapeOf(flavor).utf8Lists ? "是" : "",
        shapeOf(flavor).utf8Details ? "是" : "",
    };
    std::string file;
    for (const std::string& line : lines) file += line + "\r\n";
    return ondrel::utf8ToGbk(file);
}

void MagnetSite::record(const httplib::Request& request) {
    requests_.fetch_add(1);
    std::string entry = request.path;
    if (!request.params.empty()) {
        char separator = '?';
        for (const auto& [key, value] : request.params) {
            entry += separator + key + "=" + value;
            separator = '&';
        }
    }
    {
        std::lock_guard lock(logMutex_);
        log_.push_back(std::move(entry));
    }
    // The latency is read again while waiting, so lowering it releases responses held back.
    const auto arrived = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() < arrived + std::chrono::milliseconds(latencyMs_.load())) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

std::vector<std::string> MagnetSite::requestLog() const {
    std::lock_guard lock(logMutex_);
    return log_;
}

void MagnetSite::resetRequests() {
    std::lock_guard lock(logMutex_);
    log_.clear();
    requests_.store(0);
}

void MagnetSite::addRoutes(httplib::Server& server) {
    // Several engines with several requests in flight each: more than the default handful of
    // server threads, or latency would queue up in the server instead of overlapping.
    server.new_task_queue = [] { return new httplib::ThreadPool(64); };

    for (MagnetFlavor flavor : {MagnetFlavor::gbk, MagnetFlavor::utf8, MagnetFlavor::mixed}) {
        const FlavorShape shape = shapeOf(flavor);
        const std::string path = shape.path;
        // The keyword as the flavour's engine sends it, back in UTF-8.
        const auto keywordOf = [shape](const httplib::Request& request) {
            const std::string q = request.get_param_value("q");
            return shape.utf8Lists ? q : ondrel::gbkToUtf8(q);
        };

        const auto home = [this, shape](const httplib::Request& request, httplib::Response& response) {
            record(request);
            send(response, pageHead("演示磁力站", shape.utf8Lists) + "<p>欢迎</p>\n</body></html>\n",
                 shape.utf8Lists, shape.lineEnd);
        };
        server.Get(flavor == MagnetFlavor::mixed ? "/" : path, home);

        server.Get(path + "/search", [this, shape, keywordOf](const httplib::Request& request,
                                                             httplib::Response& response) {
            record(request);
            const size_t found = matches(keywordOf(request)).size();
            const size_t perPage = size_t(std::max(options_.linksPerPage, 1));
            std::string count = options_.pageCountText.empty() ? std::to_string((found + perPage - 1) / perPage)
                                                               : options_.pageCountText;
            std::string page = pageHead("搜索结果", shape.utf8Lists) + "<p>找到 " + std::to_string(found) +
                               " 个结果</p>\n";
            if (options_.pageCountText != "none") page += "<div class=\"pager\">共<b>" + count + "</b>页</div>\n";
            send(response, page + "</body></html>\n", shape.utf8Lists, shape.lineEnd);
        });

        const auto resultPage = [this, flavor, shape, keywordOf](const httplib::Request& request,
                                                                 httplib::Response& response, int n) {
            record(request);
            const std::vector<MagnetItem> found = matches(keywordOf(request));
            const size_t perPage = size_t(std::max(options_.linksPerPage, 1));
            const std::string host = "http://" + request.get_header_value("Host");
            const auto linkTo = [&](int number) {
                const std::string tail = "/d/" + std::to_string(number) + ".html";
                switch (flavor) {
                    case MagnetFlavor::gbk: return tail;
                    case MagnetFlavor::utf8: return host + "/utf8" + tail;
                    case MagnetFlavor::mixed: return "//mixed" + tail;
                }
                return tail;
            };
            std::string page = pageHead("第" + std::to_string(n) + "页", shape.utf8Lists) + "<ul>\n";
            const size_t first = n >= 1 ? size_t(n - 1) * perPage : found.size();
            for (size_t i = first; i < found.size() && i < first + perPage; ++i) {
                page += "<li><a class=\"item\" href=\"" + linkTo(found[i].number) + "\">" + found[i].title + "</a></li>\n";
                if (options_.deadLinks && i == first) page += "<li><a class=\"item\" href=\"" + linkTo(0) + "\">失效</a></li>\n";
            }
            send(response, page + "</ul>\n</body></html>\n", shape.utf8Lists, shape.lineEnd);
        };
        server.Get(path + R"(/list/(\d+)\.html)", [resultPage](const httplib::Request& request, httplib::Response& response) {
            resultPage(request, response, std::atoi(request.matches[1].str().c_str()));
        });
        server.Get(path + "/list", [resultPage](const httplib::Request& request, httplib::Response& response) {
            resultPage(request, response, std::atoi(request.get_param_value("p").c_str()));
        });

        server.Get("/+" + path.substr(1) + R"(/d/(\d+)\.html)", [this, shape](const httplib::Request& request,
                                                                            httplib::Response& response) {
            record(request);
            const int number = std::atoi(request.matches[1].str().c_str());
            if (number < 1 || number > int(items_.size())) {
                send(response, pageHead("404", shape.utf8Details) + "<p>页面不存在</p>\n</body></html>\n",
                     shape.utf8Details, shape.lineEnd, 404);
                return;
            }
            const MagnetItem& item = items_[size_t(number) - 1];
            const std::string page =
                pageHead(item.title, shape.utf8Details) + "<h1 class=\"title\"><b>" + item.title + "</b></h1>\n<dl>\n" +
                "<dt>大小：</dt><dd class=\"size\">" + item.size + "</dd>\n" +
                "<dt>文件数：</dt><dd class=\"files\">" + std::to_string(item.fileCount) + "</dd>\n" +
                "<dt>日期：</dt><dd class=\"date\"><span>" + item.date + "</span></dd>\n</dl>\n" +
                "<p><a class=\"magnet\" href=\"magnet:?xt=urn:btih:" + item.hash + "\">磁力链接</a></p>\n" +
                "</body></html>\n";
            // Some sites send a whole page with an error status; the search does not look at it.
            send(response, page, shape.utf8Details, shape.lineEnd, number % 10 == 0 ? 404 : 200);
        });
    }
}

}  // namespace ondrel::testsite
