// DirectWebRequest against the local test site. This path verifies certificates, so the HTTPS
// runs trust the site's own certificate through SSL_CERT_FILE.
#include <cstdlib>

#include <gtest/gtest.h>

#include "test_site.h"
#include "web/direct_request.h"
#include "web/internet_session.h"

namespace ondrel {
namespace {

using testsite::TestSite;

const Text spaces(5000, ' ');

bool contains(const Text& text, const Text& part) { return text.find(part) != Text::npos; }

// Trusts one certificate file for the scope's lifetime.
class TrustedCertificate {
public:
    explicit TrustedCertificate(const std::string& file) {
        if (!file.empty()) setenv("SSL_CERT_FILE", file.c_str(), 1);
    }
    ~TrustedCertificate() { unsetenv("SSL_CERT_FILE"); }
};

class DirectRequestSite : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        site_ = std::make_unique<TestSite>(testsite::TestSiteOptions{.https = GetParam()});
        ASSERT_TRUE(site_->start());
        trust_ = std::make_unique<TrustedCertificate>(site_->certificateFile());
    }
    Text at(const std::string& path) const { return site_->baseUrl() + path; }

    std::unique_ptr<TestSite> site_;
    std::unique_ptr<TrustedCertificate> trust_;
};

INSTANTIATE_TEST_SUITE_P(Schemes, DirectRequestSite, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "https" : "http"; });

TEST_P(DirectRequestSite, FinalResponseHeaderBlock) {
    Text headers;
    int status = 0;
    Bytes body = DirectWebRequest(at("/redirect/3"), {.headersOut = &headers, .statusOut = &status});
    EXPECT_EQ(body, "done");
    EXPECT_EQ(status, 200);
    EXPECT_TRUE(headers.starts_with("HTTP/1.1 200 OK\r\n")) << headers;
    EXPECT_TRUE(headers.ends_with("\r\n\r\n"));
    EXPECT_FALSE(contains(headers, "Location"));

    body = DirectWebRequest(at("/redirect/3"), {.headersOut = &headers, .noRedirect = true, .statusOut = &status});
    EXPECT_TRUE(headers.starts_with("HTTP/1.1 302 Found\r\n")) << headers;
    EXPECT_TRUE(contains(headers, "Location: /redirect/2\r\n"));
    EXPECT_EQ(status, 302);
}

TEST_P(DirectRequestSite, BinaryBodyByteForByte) {
    Bytes body = DirectWebRequest(at("/binary?size=300000&seed=3"));
    EXPECT_EQ(body.size(), 300000u);
    EXPECT_TRUE(body == testsite::binaryPattern(300000, 3));
}

TEST_P(DirectRequestSite, RequestHeadersAndAgent) {
    const Text url = at("/echo");
    Text echo = DirectWebRequest(url);
    EXPECT_TRUE(echo.starts_with("GET /echo\n"));
    for (const Text& line : {Text("Accept: */*\n"), "Referer: " + url + "\n", Text("Accept-Language: zh-cn\n"),
                             Text("User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)\n")}) {
        EXPECT_TRUE(contains(echo, line)) << line;
    }
    EXPECT_FALSE(contains(echo, "Cookie"));

    echo = DirectWebRequest(url, {.cookies = Text("a=1"), .headers = "user-agent: Bot/2"});
    EXPECT_TRUE(contains(echo, "Cookie: a=1\n")) << echo;
    EXPECT_TRUE(contains(echo, "User-Agent: Bot/2\n"));
    EXPECT_TRUE(contains(DirectWebRequest(url, {.cookies = Text("Cookie: b=2")}), "Cookie: b=2\n"));
    EXPECT_FALSE(contains(DirectWebRequest(url, {.cookies = Text()}), "Cookie")) << "empty cookies add no header";
}

TEST_P(DirectRequestSite, BodiesByMethod) {
    Text post = DirectWebRequest(at("/echo"), {.method = 1, .body = "x=1"});
    EXPECT_TRUE(post.starts_with("POST /echo\n"));
    EXPECT_TRUE(contains(post, "Content-Type: application/x-www-form-urlencoded\n"));
    EXPECT_TRUE(post.ends_with("\n\nx=1"));
    EXPECT_TRUE(DirectWebRequest(at("/echo"), {.method = 1, .body = "x=1", .bodyBytes = "y=2"}).ends_with("\n\ny=2"));
    Text get = DirectWebRequest(at("/echo"), {.body = "x=1", .bodyBytes = "y=2"});
    EXPECT_FALSE(contains(get, "Content-Length")) << "a GET never carries a body";
}

TEST_P(DirectRequestSite, HeaderBlockOf5000BytesOrMoreIsNotRead) {
    Text headers;
    int status = 0;
    EXPECT_EQ(DirectWebRequest(at("/big-header?size=6000"), {.headersOut = &headers, .statusOut = &status}), "big");
    EXPECT_EQ(headers, spaces);
    EXPECT_EQ(status, 200);

    Bytes body = DirectWebRequest(at("/big-header?size=4000"), {.headersOut = &headers});
    EXPECT_TRUE(headers.starts_with("HTTP/1.1 200 OK\r\n"));
    EXPECT_LT(headers.size(), 5000u);
}

TEST_P(DirectRequestSite, Cookies) {
    const Text url = at("/set-cookie?c=a%3D9%3B%20path%3D%2F&c=d%3Ddeleted");
    Text cookies;
    DirectWebRequest(url, {.cookiesOut = &cookies});
    EXPECT_EQ(cookies, "a=9; d=deleted");
    DirectWebRequest(url, {.cookies = Text("a=1; c=3"), .cookiesOut = &cookies});
    EXPECT_EQ(cookies, "a=9; c=3");
}

TEST_P(DirectRequestSite, FailuresLeaveTheSpaces) {
    TestSite closed({.https = GetParam()});
    ASSERT_TRUE(closed.start());
    const Text refused = closed.baseUrl() + "/";
    closed.stop();
    for (const Text& url : {refused, at("/reset?bytes=3000")}) {
        Text headers, cookies = "stale";
        int status = -1;
        EXPECT_EQ(DirectWebRequest(url, {.cookies = Text("s=1"), .cookiesOut = &cookies, .headersOut = &headers,
                                         .statusOut = &status}),
                  "");
        EXPECT_EQ(headers, spaces) << url;
        EXPECT_EQ(status, 0);
        EXPECT_EQ(cookies, "s=1");
    }
}

TEST(InternetSession, HeaderBlockMustFitWithItsNul) {
    TestSite site;
    ASSERT_TRUE(site.start());
    auto session = inet::Session::open("agent", inet::openTypeDirect);
    auto connection = session->connect("127.0.0.1", site.port());
    auto sent = [&](size_t size) {
        auto request = connection->openRequest("GET", "/big-header?size=" + std::to_string(size), "HTTP/1.1", 0);
        EXPECT_TRUE(request->send("", ""));
        return request;
    };
    auto blockSize = [](const inet::Request& request) {
        std::string buffer(100000, '\0');
        size_t length = buffer.size();
        EXPECT_TRUE(request.queryInfo(inet::queryRawHeadersCrlf, buffer.data(), length));
        return length;
    };
    // The filler grows the block byte for byte: find the size that makes it 4999 bytes.
    const size_t fits = 6000 - (blockSize(*sent(6000)) - 4999);
    ASSERT_EQ(blockSize(*sent(fits)), 4999u);

    char buffer[5000];
    size_t length = sizeof buffer;
    EXPECT_TRUE(sent(fits)->queryInfo(inet::queryRawHeadersCrlf, buffer, length));
    EXPECT_EQ(length, 4999u);
    EXPECT_EQ(buffer[4999], '\0');
    length = sizeof buffer;
    EXPECT_FALSE(sent(fits + 1)->queryInfo(inet::queryRawHeadersCrlf, buffer, length));
    EXPECT_EQ(length, 5001u) << "the size needed, NUL included";

    // The body comes in pieces of at most the size asked for.
    auto request = sent(fits);
    std::string body;
    char piece[2];
    size_t read = 0;
    do {
        EXPECT_TRUE(request->readFile(piece, sizeof piece, read));
        EXPECT_LE(read, sizeof piece);
        body.append(piece, read);
    } while (read != 0);
    EXPECT_EQ(body, "big");
}

TEST(DirectRequest, UnopenableHandlesWriteNothing) {
    Text headers = "kept", cookies = "kept";
    EXPECT_EQ(DirectWebRequest("http://host.test:70000/", {.cookiesOut = &cookies, .headersOut = &headers}), "");
    EXPECT_EQ(headers, "kept");
    EXPECT_EQ(cookies, "kept");
}

TEST(DirectRequest, CertificatesAreVerified) {
    TestSite site({.https = true});
    ASSERT_TRUE(site.start());
    Text headers;
    EXPECT_EQ(DirectWebRequest(site.baseUrl() + "/redirect/0", {.headersOut = &headers}), "");
    EXPECT_EQ(headers, spaces) << "an untrusted certificate fails the exchange";
    TrustedCertificate trust(site.certificateFile());
    EXPECT_EQ(DirectWebRequest(site.baseUrl() + "/redirect/0"), "done");
}

TEST(DirectRequest, RedirectsBetweenSchemes) {
    TestSite plain, secure({.https = true});
    ASSERT_TRUE(plain.start());
    ASSERT_TRUE(secure.start());
    TrustedCertificate trust(secure.certificateFile());
    auto redirectTo = [](const TestSite& from, const TestSite& to) {
        return from.baseUrl() + "/redirect-to?url=" + to.baseUrl() + "%2Fredirect%2F0";
    };
    EXPECT_EQ(DirectWebRequest(redirectTo(plain, secure)), "done") << "http may be redirected to https";
    Text headers;
    EXPECT_EQ(DirectWebRequest(redirectTo(secure, plain), {.headersOut = &headers}), "");
    EXPECT_EQ(headers, spaces) << "https is never redirected to plain http";
}

}  // namespace
}  // namespace ondrel
