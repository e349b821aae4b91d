// The engine check: a site answers when its final response has the status 200.
#include <gtest/gtest.h>

#include "check/check_engines.h"
#include "fixed_response_server.h"
#include "test_site.h"

namespace ondrel {
namespace {

const Text fine = "\xC1\xAC\xBD\xD3\xD5\xFD\xB3\xA3";    // 连接正常
const Text broken = "\xC1\xAC\xBD\xD3\xD2\xEC\xB3\xA3";  // 连接异常

TEST(EngineCheck, DecidesByTheFinalStatusCode) {
    testsite::TestSite site;
    site.server().Get("/ok", [](const httplib::Request&, httplib::Response& r) { r.set_content("ok", "text/plain"); });
    // An error page one of whose header lines happens to hold "200 OK".
    site.server().Get("/missing", [](const httplib::Request&, httplib::Response& r) {
        r.status = 404;
        r.set_header("X-Cache-Note", "upstream said 200 OK");
        r.set_content("gone", "text/plain");
    });
    site.server().Get("/moved", [](const httplib::Request&, httplib::Response& r) { r.set_redirect("/ok"); });
    ASSERT_TRUE(site.start());
    // A status line without a reason phrase is legal and means the same.
    testsite::FixedResponseServer noReason("HTTP/1.1 200\r\nContent-Length: 2\r\nConnection: close\r\n\r\nok");

    const std::vector<Text> sites = {site.baseUrl() + "/ok", site.baseUrl() + "/missing", noReason.baseUrl() + "/",
                                     testsite::refusedUrl(),         site.baseUrl() + "/moved",   "not an address"};
    std::vector<std::pair<int, Text>> reported;
    checkEngines(sites, [&](int row, const Text& state) { reported.emplace_back(row, state); });
    const std::vector<std::pair<int, Text>> expected = {{0, fine}, {1, broken}, {2, fine},
                                                        {3, broken}, {4, fine}, {5, broken}};
    EXPECT_EQ(reported, expected);
}

TEST(EngineCheck, StopsWhenCancelledAndWithNoEngines) {
    int calls = 0;
    checkEngines({}, [&](int, const Text&) { ++calls; });
    EXPECT_EQ(calls, 0);
    Cancellation stop;
    stop.cancel();
    checkEngines({testsite::refusedUrl()}, [&](int, const Text&) { ++calls; }, &stop);
    EXPECT_EQ(calls, 0);
}

}  // namespace
}  // namespace ondrel
