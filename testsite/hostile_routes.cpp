#include "hostile_routes.h"

#include "route_params.h"

#include <chrono>
#include <thread>

namespace ondrel::testsite {
namespace {

// Waits a second in small steps, giving up (false) once the client or the site has closed the
// connection, so a stopping site is not held up by a trickle.
bool waitASecond(const httplib::DataSink& sink) {
    for (int i = 0; i < 20; ++i) {
        if (!sink.is_writable()) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return sink.is_writable();
}

std::string detailPage(const std::string& item, const std::string& titleBytes) {
    return "<html><t>" + titleBytes + "</t><m>magnet:?xt=urn:btih:" + item + "</m></html>";
}

}  // namespace

std::string hostileEngineFile(const std::string& baseUrl, const std::string& pageCount, int links, bool badUtf8) {
    const std::string yes = "\xCA\xC7";  // "是"
    const std::string lines[] = {
        "hostile",
        baseUrl,
        baseUrl + "/h/search?count=" + pageCount + "&k=",
        "",
        "pages:",
        "</b>",
        baseUrl + "/h/list?links=" + std::to_string(links) + (badUtf8 ? "&bad=1" : "") + "&page=",
        "",
        "href=\"",
        "\"",
        "<t>",
        "</t>",
        "", "", "", "", "", "",
        "<m>",
        "</m>",
        badUtf8 ? yes : "",
        badUtf8 ? yes : "",
    };
    std::string file;
    // Every line ends in CR LF, so an empty last line still counts.
    for (const std::string& line : lines) file += line + "\r\n";
    return file;
}

void addHostileRoutes(httplib::Server& s) {
    s.Get("/trickle", [](const httplib::Request& req, httplib::Response& res) {
        res.set_content_provider(sizeParam(req, "bytes", 1000), "text/html",
                                 [](size_t, size_t, httplib::DataSink& sink) {
                                     return waitASecond(sink) && sink.write("t", 1);
                                 });
    });
    s.Get("/huge", [](const httplib::Request& req, httplib::Response& res) {
        res.set_content_provider(sizeParam(req, "size", 100u << 20), "application/octet-stream",
                                 [](size_t, size_t length, httplib::DataSink& sink) {
                                     static const std::string block(64 * 1024, 'x');
                                     return sink.write(block.data(), std::min(length, block.size()));
                                 });
    });
    s.Get("/loop", [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/loop"); });
    s.Get("/bad-gzip", [](const httplib::Request&, httplib::Response& res) {
        // A type the server does not compress itself, so the bytes go out as they stand.
        res.set_header("Content-Encoding", "gzip");
        static constexpr char notGzip[] = "\x1F\x8B\x08\x00not really gzip at all";  // the gzip magic, then junk
        res.set_content(std::string(notGzip, sizeof notGzip - 1), "application/octet-stream");
    });
    s.Get("/h/search", [](const httplib::Request& req, httplib::Response& res) {
        res.set_content("<b>pages:" + req.get_param_value("count") + "</b>", "text/html");
    });
    s.Get("/h/list", [](const httplib::Request& req, httplib::Response& res) {
        const size_t links = sizeParam(req, "links", 20);
        const bool bad = req.get_param_value("bad") == "1";
        std::string page;
        page.reserve(links * 32);
        for (size_t i = 0; i < links; ++i)
            page += std::string("<a href=\"/h/") + (bad ? "bad-utf8" : "d") + "?i=" + std::to_string(i) + "\">x</a>\n";
        res.set_content(page, "text/html");
    });
    s.Get("/h/d", [](const httplib::Request& req, httplib::Response& res) {
        const std::string item = req.get_param_value("i");
        res.set_content(detailPage(item, "item " + item), "text/html");
    });
    s.Get("/h/bad-utf8", [](const httplib::Request& req, httplib::Response& res) {
        const std::string item = req.get_param_value("i");
        // A stray continuation byte, a lone lead byte and a cut-off sequence around real
        // characters ("中" and an emoji).
        res.set_content(detailPage(item, "a\x80" "b\xC3 \xE4\xB8\xAD\xF0\x9F\x98\x80\xE4\xB8 " + item), "text/html; charset=utf-8");
    });
}

}  // namespace ondrel::testsite
