// WebRequest against the local test site, over HTTP and HTTPS (the site's certificate is
// self-signed; this path ignores certificate errors).
#include <chrono>
#include <future>
#include <thread>

#include <gtest/gtest.h>

#include "test_site.h"
#include "web/cancellation.h"
#include "web/web_request.h"

namespace ondrel {
namespace {

using Clock = std::chrono::steady_clock;
using testsite::TestSite;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

bool contains(const Text& text, const Text& part) { return text.find(part) != Text::npos; }

class WebRequestSite : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        site_ = std::make_unique<TestSite>(testsite::TestSiteOptions{.https = GetParam()});
        ASSERT_TRUE(site_->start());
    }
    Text at(const std::string& path) const { return site_->baseUrl() + path; }

    std::unique_ptr<TestSite> site_;
};

INSTANTIATE_TEST_SUITE_P(Schemes, WebRequestSite, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "https" : "http"; });

TEST_P(WebRequestSite, BinaryBodyByteForByte) {
    int status = 0;
    Text headers;
    Bytes body = WebRequest(at("/binary?size=300000&seed=7"), {.headersOut = &headers, .statusOut = &status});
    EXPECT_EQ(status, 200);
    ASSERT_EQ(body.size(), 300000u);
    EXPECT_TRUE(body == testsite::binaryPattern(300000, 7));
    EXPECT_TRUE(contains(headers, "Content-Length: 300000\r\n")) << headers;
    EXPECT_FALSE(headers.starts_with("HTTP/")) << "no status line among this path's header lines";
    EXPECT_FALSE(headers.ends_with("\r\n\r\n"));
}

TEST_P(WebRequestSite, RequestCarriesTheDefaultHeadersOnly) {
    const Text url = at("/echo");
    Text echo = WebRequest(url);
    EXPECT_TRUE(echo.starts_with("GET /echo\n")) << echo;
    for (const char* line : {"Accept: */*\n", "Accept-Language: zh-cn\n",
                             "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)\n"}) {
        EXPECT_TRUE(contains(echo, line)) << line;
    }
    EXPECT_TRUE(contains(echo, "Referer: " + url + "\n"));
    EXPECT_FALSE(contains(echo, "Cookie")) << "no cookies unless given";
    EXPECT_FALSE(contains(echo, "Accept-Encoding")) << "nothing beyond the listed headers";
}

TEST_P(WebRequestSite, RedirectsFollowedUnlessSwitchedOff) {
    int status = 0;
    Text headers;
    EXPECT_EQ(WebRequest(at("/redirect/3"), {.headersOut = &headers, .statusOut = &status}), "done");
    EXPECT_EQ(status, 200);
    EXPECT_FALSE(contains(headers, "Location")) << "the final response's header lines only";

    EXPECT_EQ(WebRequest(at("/redirect/3"), {.headersOut = &headers, .statusOut = &status, .noRedirect = true}), "");
    EXPECT_EQ(status, 302);
    EXPECT_TRUE(contains(headers, "Location: /redirect/2\r\n")) << headers;
}

TEST_P(WebRequestSite, ErrorPagesAreResponses) {
    for (int code : {404, 500}) {
        int status = 0;
        Bytes body = WebRequest(at("/status/" + std::to_string(code)), {.statusOut = &status});
        EXPECT_EQ(status, code);
        EXPECT_EQ(body, "status page " + std::to_string(code));
    }
}

TEST_P(WebRequestSite, CookiesSetByTheResponse) {
    const Text setting = at("/set-cookie?c=a%3D9%3B%20path%3D%2F&c=d%3Ddeleted&c=e%3D5");
    Text cookies;
    WebRequest(setting, {.cookiesOut = &cookies});
    EXPECT_EQ(cookies, "a=9; d=deleted; e=5");
    WebRequest(setting, {.cookies = Text("a=1; c=3"), .cookiesOut = &cookies});
    EXPECT_EQ(cookies, "a=9; e=5; c=3");
    // Nothing is carried into the next call, although the connection may be the same.
    EXPECT_FALSE(contains(WebRequest(at("/echo")), "Cookie"));
}

TEST_P(WebRequestSite, CookieHeaderAsGiven) {
    EXPECT_TRUE(contains(WebRequest(at("/echo"), {.cookies = Text("Cookie: k=v; j=w")}), "Cookie: k=v; j=w\n"));
}

TEST_P(WebRequestSite, BodiesAndMethods) {
    Text post = WebRequest(at("/echo"), {.method = 1, .body = "a=1&b=2"});
    EXPECT_TRUE(post.starts_with("POST /echo\n")) << post;
    EXPECT_TRUE(contains(post, "Content-Type: application/x-www-form-urlencoded\n"));
    EXPECT_TRUE(post.ends_with("\n\na=1&b=2"));

    Text put = WebRequest(at("/echo"), {.method = 3, .body = "p"});
    EXPECT_TRUE(put.starts_with("PUT /echo\n"));
    EXPECT_FALSE(contains(put, "Content-Type")) << "no content type nobody asked for";
    EXPECT_FALSE(contains(put, "Expect"));

    int status = 0;
    Text headers;
    EXPECT_EQ(WebRequest(at("/binary"), {.method = 2, .headersOut = &headers, .statusOut = &status}), "");
    EXPECT_EQ(status, 200);
    EXPECT_TRUE(contains(headers, "Content-Length: 300000"));

    // Last: the site does not read the body of a GET, so the connection is spoilt after it.
    Bytes get = WebRequest(at("/echo"), {.bodyBytes = Bytes("\0\x01\xFFz", 4)});
    EXPECT_TRUE(get.starts_with("GET /echo\n"));
    EXPECT_TRUE(contains(get, "Content-Length: 4\n")) << "GET carries the bytes";
}

TEST_P(WebRequestSite, ChunkedAndCompressedBodies) {
    Text expected;
    for (int i = 0; i < 200; ++i) expected += "piece " + std::to_string(i) + "\n";
    EXPECT_EQ(WebRequest(at("/chunked?pieces=200")), expected);

    EXPECT_EQ(WebRequest(at("/text?size=20000")).size(), 20000u) << "not compressed unless asked";
    Text headers;
    Bytes gzip = WebRequest(at("/text?size=20000"), {.headers = "Accept-Encoding: gzip", .headersOut = &headers});
    EXPECT_TRUE(gzip.starts_with("\x1F\x8B")) << "the body exactly as it came";
    EXPECT_TRUE(contains(headers, "Content-Encoding: gzip"));
}

TEST_P(WebRequestSite, LargeHeaderBlock) {
    Text headers;
    EXPECT_EQ(WebRequest(at("/big-header?size=6000"), {.headersOut = &headers}), "big");
    EXPECT_GT(headers.size(), 5000u);
}

TEST_P(WebRequestSite, FailedExchanges) {
    TestSite closed({.https = GetParam()});
    ASSERT_TRUE(closed.start());
    const Text refused = closed.baseUrl() + "/";
    closed.stop();

    struct Case {
        const char* name;
        Text url;
        double withinSeconds;
    } cases[] = {
        {"refused connection", refused, 1},
        {"reset in the middle of the body", at("/reset?bytes=5000"), 2},
        {"server never answers", at("/hang"), 6},
        {"body stalls half way", at("/stall?bytes=5000"), 6},
        {"body over 32 MiB", at("/binary?size=33554433"), 20},
        {"not a web address", "ftp://127.0.0.1/", 1},
    };
    for (const Case& c : cases) {
        Text headers = "stale", cookies = "stale";
        int status = -1;
        auto start = Clock::now();
        Bytes body = WebRequest(c.url, {.cookies = Text("s=1"), .cookiesOut = &cookies, .headersOut = &headers,
                                        .statusOut = &status, .timeoutSeconds = 1});
        EXPECT_LT(secondsSince(start), c.withinSeconds) << c.name;
        EXPECT_EQ(body, "") << c.name;
        EXPECT_EQ(headers, "") << c.name;
        EXPECT_EQ(status, 0) << c.name;
        EXPECT_EQ(cookies, "s=1") << c.name << ": the sent cookies merged with nothing";
    }
}

TEST_P(WebRequestSite, SteadyDownloadIsNotCutOff) {
    // Six pieces 400 ms apart take longer than the 1 s limit, but none of the gaps does.
    Bytes body = WebRequest(at("/drip?pieces=6&ms=400"), {.timeoutSeconds = 1});
    EXPECT_EQ(body.size(), 6000u);
}

TEST_P(WebRequestSite, LatencyIsWaitedOut) {
    site_->setLatency(std::chrono::milliseconds(300));
    auto start = Clock::now();
    EXPECT_EQ(WebRequest(at("/redirect/0")), "done");
    EXPECT_GE(secondsSince(start), 0.3);
}

TEST_P(WebRequestSite, CancelledFromAnotherThread) {
    auto token = std::make_shared<Cancellation>();
    std::promise<Clock::time_point> returned;
    std::thread worker([&] {
        CancellationScope scope(token);
        Bytes body = WebRequest(at("/hang"));
        returned.set_value(Clock::now());
        EXPECT_EQ(body, "");
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    auto cancelled = Clock::now();
    token->cancel();
    double took = std::chrono::duration<double>(returned.get_future().get() - cancelled).count();
    worker.join();
    EXPECT_LT(took, 0.5) << "an abort lands within a poll interval";
    RecordProperty("cancel_ms", int(took * 1000));

    // A request made after the cancellation does not go out at all.
    CancellationScope scope(token);
    int status = -1;
    EXPECT_EQ(WebRequest(at("/binary"), {.statusOut = &status}), "");
    EXPECT_EQ(status, 0);
}

TEST_P(WebRequestSite, ManyThreadsAtOnce) {
    std::vector<std::thread> threads;
    std::atomic<int> good{0};
    for (unsigned t = 0; t < 8; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 4; ++i) {
                const unsigned seed = t * 10 + unsigned(i);
                if (WebRequest(at("/binary?size=20000&seed=" + std::to_string(seed))) == testsite::binaryPattern(20000, seed))
                    ++good;
            }
        });
    }
    for (std::thread& t : threads) t.join();
    EXPECT_EQ(good.load(), 32);
}

}  // namespace
}  // namespace ondrel
