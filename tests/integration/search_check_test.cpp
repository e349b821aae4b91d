// The engine check: a site answers when its final response has the status 200.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

#include "check/check_engines.h"
#include "test_site.h"

namespace ondrel {
namespace {

// A server that answers every connection with the same raw response, then closes it.
class RawServer {
public:
    explicit RawServer(std::string response) : response_(std::move(response)) {
        fd_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(fd_, 8);
        getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] {
            for (;;) {
                const int client = accept(fd_, nullptr, nullptr);
                if (client < 0) return;
                char request[4096];
                (void)!read(client, request, sizeof request);
                (void)!write(client, response_.data(), response_.size());
                close(client);
            }
        });
    }
    ~RawServer() {
        shutdown(fd_, SHUT_RDWR);
        close(fd_);
        thread_.join();
    }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }

private:
    std::string response_;
    int fd_ = -1;
    int port_ = 0;
    std::thread thread_;
};

// An address on which nothing listens.
std::string closedPortUrl() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);
    return "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/";
}

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
    RawServer noReason("HTTP/1.1 200\r\nContent-Length: 2\r\nConnection: close\r\n\r\nok");

    const std::vector<Text> sites = {site.baseUrl() + "/ok", site.baseUrl() + "/missing", noReason.url(),
                                     closedPortUrl(),         site.baseUrl() + "/moved",   "not an address"};
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
    checkEngines({closedPortUrl()}, [&](int, const Text&) { ++calls; }, &stop);
    EXPECT_EQ(calls, 0);
}

}  // namespace
}  // namespace ondrel
