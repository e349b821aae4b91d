#include "web/direct_request.h"

#include <gtest/gtest.h>

#include "web/internet_session.h"

namespace ondrel {
namespace {

TEST(UrlParts, Table) {
    struct Case {
        Text url, host, hostWithPort;
        int port;
        Text path;
    } cases[] = {
        {"HTTPS://Example.COM:8443/a?b", "example.com", "example.com:8443", 8443, "/a?b"},
        {"example.com/x", "example.com", "example.com", 80, "/x"},
        {"http://example.com", "example.com", "example.com", 80, "/"},
        {"https://example.com", "example.com", "example.com", 443, "/"},
        {"http://Host.test/Path/To?Q=A#frag", "host.test", "host.test", 80, "/Path/To?Q=A#frag"},
        {"http://h:abc/", "h", "h:abc", 0, "/"},
        {"http://h:80x/", "h", "h:80x", 80, "/"},
        {"https://h:8080", "h", "h:8080", 8080, "/"},
        {"http://p/x", "p", "p", 80, "/x"},  // a host that also occurs in the scheme
    };
    for (const Case& c : cases) {
        EXPECT_EQ(urlHost(c.url), c.host) << c.url;
        EXPECT_EQ(urlHost(c.url, true), c.hostWithPort) << c.url;
        EXPECT_EQ(urlPort(c.url), c.port) << c.url;
        EXPECT_EQ(urlPath(c.url), c.path) << c.url;
    }
}

TEST(DirectRequestFlags, Table) {
    struct Case {
        Text url;
        bool cookies, noRedirect;
        unsigned long flags;
    } cases[] = {
        {"http://a/", false, false, 0x80004010},
        {"https://a/", false, false, 0x80800010},
        {"HTTPS://a/", false, false, 0x80800010},
        {"a/", false, false, 0x80004010},
        {"http://a/", true, false, 0x80084010},
        {"https://a/", true, true, 0x80A80010},
    };
    for (const Case& c : cases) EXPECT_EQ(directRequestFlags(c.url, c.cookies, c.noRedirect), c.flags) << c.url;
}

TEST(DirectUserAgent, Table) {
    const std::pair<Text, Text> cases[] = {
        {"", "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)"},
        {"Accept: */*", "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)"},
        {"Accept: */*\r\nUser-Agent:  Bot/1 \r\nX: y", "Bot/1"},
        {"user-agent: lower", "lower"},
        // Other letter case among several lines: that line's value, never the header text's rest.
        {"Accept: */*\r\nuser-agent: lower", "lower"},
    };
    for (const auto& [headers, agent] : cases) EXPECT_EQ(directUserAgent(headers), agent) << headers;
}

TEST(InternetSession, RefusesWhatCannotBeOpened) {
    EXPECT_EQ(inet::Session::open("a", 2), nullptr);                 // unknown access type
    EXPECT_EQ(inet::Session::open("a", inet::openTypeProxy), nullptr);  // a proxy session needs a proxy
    EXPECT_EQ(inet::Session::open("a\r\nX: y", inet::openTypeDirect), nullptr);
    auto session = inet::Session::open("a", inet::openTypeDirect);
    ASSERT_NE(session, nullptr);
    EXPECT_EQ(session->connect("", 80), nullptr);
    EXPECT_EQ(session->connect("h", 65536), nullptr);
    auto connection = session->connect("h", 80);
    ASSERT_NE(connection, nullptr);
    EXPECT_EQ(connection->openRequest("GET", "", "HTTP/1.1", 0), nullptr);
    EXPECT_EQ(connection->openRequest("GET", "x", "HTTP/1.1", 0), nullptr);
    EXPECT_NE(connection->openRequest("GET", "/", "HTTP/1.1", 0), nullptr);
}

TEST(InternetSession, ProxyPerScheme) {
    auto both = inet::Session::open("a", inet::openTypeProxy, "p:1");
    EXPECT_EQ(both->proxyFor("http"), "p:1");
    EXPECT_EQ(both->proxyFor("https"), "p:1");
    auto httpOnly = inet::Session::open("a", inet::openTypeProxy, "http=p:2");
    EXPECT_EQ(httpOnly->proxyFor("http"), "p:2");
    EXPECT_EQ(httpOnly->proxyFor("https"), "");
    auto mixed = inet::Session::open("a", inet::openTypeProxy, "https=s:3 http=p:4;q:5");
    EXPECT_EQ(mixed->proxyFor("https"), "s:3");
    EXPECT_EQ(mixed->proxyFor("http"), "p:4");
}

TEST(InternetSession, UnsentRequestHasNothingToRead) {
    auto session = inet::Session::open("a", inet::openTypeDirect);
    auto request = session->connect("h", 80)->openRequest("GET", "/", "HTTP/1.1", 0);
    char buffer[8] = "xxxxxxx";
    size_t length = sizeof buffer, read = 7;
    EXPECT_FALSE(request->queryInfo(inet::queryRawHeadersCrlf, buffer, length));
    EXPECT_STREQ(buffer, "xxxxxxx");
    EXPECT_FALSE(request->readFile(buffer, sizeof buffer, read));
    EXPECT_EQ(read, 0u);
}

}  // namespace
}  // namespace ondrel
