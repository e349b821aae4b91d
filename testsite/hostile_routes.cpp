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

}  // namespace

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
        res.set_content(std::string("\x1F\x8B\x08\x00not really gzip at all", 28), "application/octet-stream");
    });
}

}  // namespace ondrel::testsite
