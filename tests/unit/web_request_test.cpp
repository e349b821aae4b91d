// The order and the values of the calls WebRequest makes on its request object, seen through
// a recording object that answers with a canned response.
#include "web/web_request.h"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

const Text url = "http://site.test/p?q=1";
const Text defaultAgent = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

class RecordingRequestObject final : public RequestObject {
public:
    std::vector<Text> calls;
    Bytes body = Bytes("body\0bytes", 10);
    Text responseHeaders = "Content-Type: text/html\r\n";
    int status = 200;

    bool SetTimeouts(int a, int b, int c, int d) override {
        return record("SetTimeouts " + std::to_string(a) + " " + std::to_string(b) + " " + std::to_string(c) + " " +
                      std::to_string(d));
    }
    bool SetProxy(int setting, const Text& server) override {
        return record("SetProxy " + std::to_string(setting) + " " + server);
    }
    bool Open(const Text& method, const Text& u, bool async) override {
        return record("Open " + method + " " + u + (async ? " async" : " sync"));
    }
    bool Option(int index, long value) override {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%#lx", value);
        return record("Option " + std::to_string(index) + " " + hex);
    }
    bool SetRequestHeader(const Text& name, const Text& value) override { return record("Header " + name + "|" + value); }
    bool Send(std::string_view b, BodyForm form) override {
        return record(Text(form == BodyForm::bytes ? "Send bytes " : "Send text ") + Text(b));
    }
    Bytes ResponseBody() override {
        record("ResponseBody");
        return body;
    }
    Text GetAllResponseHeaders() override {
        record("GetAllResponseHeaders");
        return responseHeaders;
    }
    int Status() override {
        record("Status");
        return status;
    }
    Text StatusText() override {
        record("StatusText");
        return "OK";
    }

    // The calls that set request headers, in order.
    std::vector<Text> headers() const {
        std::vector<Text> out;
        for (const Text& c : calls)
            if (c.starts_with("Header ")) out.push_back(c.substr(7));
        return out;
    }
    // The first call that starts with `prefix`, or empty.
    Text first(std::string_view prefix) const {
        for (const Text& c : calls)
            if (c.starts_with(prefix)) return c;
        return Text();
    }

private:
    bool record(Text call) {
        calls.push_back(std::move(call));
        return true;
    }
};

std::vector<Text> defaultHeaders(const Text& address) {
    return {"Accept|*/*", "Referer|" + address, "Accept-Language|zh-cn", "User-Agent|" + defaultAgent};
}

TEST(WebRequest, AddressAloneMakesTheDocumentedCalls) {
    RecordingRequestObject object;
    Text headersOut = "stale", cookiesOut = "stale";
    int status = -5;
    Bytes result = WebRequest(url, {.cookiesOut = &cookiesOut, .headersOut = &headersOut, .statusOut = &status,
                                    .requestObject = &object});
    std::vector<Text> expected = {"SetTimeouts 15000 15000 15000 15000", "Open GET " + url + " sync", "Option 4 0x3300"};
    for (const Text& h : defaultHeaders(url)) expected.push_back("Header " + h);
    expected.insert(expected.end(), {"Send text ", "ResponseBody", "GetAllResponseHeaders", "Status", "StatusText"});
    EXPECT_EQ(object.calls, expected);
    EXPECT_EQ(result, object.body);  // NULs and all
    EXPECT_EQ(headersOut, object.responseHeaders);
    EXPECT_EQ(status, 200);
    EXPECT_EQ(cookiesOut, "");
}

TEST(WebRequest, MethodTable) {
    const std::pair<int, const char*> cases[] = {{0, "GET"},     {1, "POST"},   {2, "HEAD"},  {3, "PUT"},
                                                 {4, "OPTIONS"}, {5, "DELETE"}, {6, "TRACE"}, {7, "CONNECT"},
                                                 {8, "GET"},     {9, "GET"},    {-1, "GET"}};
    for (const auto& [method, text] : cases) {
        RecordingRequestObject object;
        WebRequest(url, {.method = method, .requestObject = &object});
        EXPECT_EQ(object.first("Open"), "Open " + Text(text) + " " + url + " sync") << method;
        bool contentType = object.first("Header Content-Type") == "Header Content-Type|application/x-www-form-urlencoded";
        EXPECT_EQ(contentType, method == 1) << method;
    }
}

TEST(WebRequest, LimitTable) {
    const std::pair<int, const char*> cases[] = {
        {0, "SetTimeouts 15000 15000 15000 15000"},  {-7, "SetTimeouts 15000 15000 15000 15000"},
        {2, "SetTimeouts 2000 2000 2000 2000"},      {2147483, "SetTimeouts 2147483000 2147483000 2147483000 2147483000"},
        {2147484, "SetTimeouts 2147483647 2147483647 2147483647 2147483647"},  // too large for ms: the largest
        {-1, ""},
    };
    for (const auto& [seconds, call] : cases) {
        RecordingRequestObject object;
        WebRequest(url, {.timeoutSeconds = seconds, .requestObject = &object});
        EXPECT_EQ(object.first("SetTimeouts"), call) << seconds;
        EXPECT_EQ(object.calls.front().starts_with("SetTimeouts"), seconds != -1);
    }
}

TEST(WebRequest, CallerHeaders) {
    struct Case {
        const char* name;
        Text headers;
        std::vector<Text> sent;
    } cases[] = {
        {"caller's agent keeps the default out and is renamed",
         "user-agent: X",
         {"User-Agent|X", "Accept|*/*", "Referer|" + url, "Accept-Language|zh-cn"}},
        {"keep-alive skipped among several lines, other connection values passed",
         "Connection: keep-alive\r\nConnection: close\r\nConnection: Keep-Alive",
         {"Connection|close", "Connection|Keep-Alive", "Accept|*/*", "Referer|" + url, "Accept-Language|zh-cn",
          "User-Agent|" + defaultAgent}},
    };
    for (const Case& c : cases) {
        RecordingRequestObject object;
        WebRequest(url, {.headers = c.headers, .requestObject = &object});
        EXPECT_EQ(object.headers(), c.sent) << c.name;
    }
}

TEST(WebRequest, SingleLineHeadersWithoutCompletion) {
    // Without completion a header text without CR LF is one line: keep-alive is passed on there,
    // and a line without a colon adds nothing.
    const std::pair<Text, std::vector<Text>> cases[] = {
        {"Connection: keep-alive", {"Connection|keep-alive"}},
        {"no colon", {}},
        {"", {}},
        {"x-custom:  a b ", {"X-Custom|a b"}},
    };
    for (const auto& [headers, sent] : cases) {
        RecordingRequestObject object;
        WebRequest(url, {.headers = headers, .requestObject = &object, .completeHeaders = false});
        EXPECT_EQ(object.headers(), sent) << headers;
    }
    RecordingRequestObject raw;
    WebRequest(url, {.headers = "x-custom: v", .requestObject = &raw, .completeHeaders = false, .normaliseNames = false});
    EXPECT_EQ(raw.headers(), std::vector<Text>{"x-custom|v"});
}

TEST(WebRequest, Cookies) {
    struct Case {
        const char* name;
        std::optional<Text> cookies;
        Text header;  // the Cookie call, empty for none
    } cases[] = {
        {"omitted", std::nullopt, ""},
        {"empty text still sets one", Text(), "Header Cookie|"},
        {"prefix removed, nothing else trimmed", Text("Cookie: a=1"), "Header Cookie| a=1"},
        {"prefix in any letter case", Text("cookie:a=1; COOKIE:b=2"), "Header Cookie|a=1; b=2"},
    };
    for (const Case& c : cases) {
        RecordingRequestObject object;
        WebRequest(url, {.cookies = c.cookies, .requestObject = &object});
        EXPECT_EQ(object.first("Header Cookie"), c.header) << c.name;
        // Credentials and cookies go before the header lines.
        if (!c.header.empty()) {
            EXPECT_EQ(object.headers().front(), c.header.substr(7)) << c.name;
        }
    }
}

TEST(WebRequest, CookiesOut) {
    struct Case {
        std::optional<Text> sent;
        bool merge;
        Text responseHeaders, expected;
    } cases[] = {
        {std::nullopt, true, "Set-Cookie: a=1; path=/\r\nSet-Cookie: b=2\r\n", "a=1; b=2"},
        {std::nullopt, true, "Content-Length: 0\r\n", ""},
        {Text("a=1; c=3"), true, "Set-Cookie: a=9\r\nSet-Cookie: d=deleted\r\n", "a=9; c=3"},
        {Text("a=1; c=3"), false, "Set-Cookie: a=9\r\nSet-Cookie: d=deleted\r\n", "a=9; d=deleted"},
        {Text("Cookie: a=1"), true, "", "a=1"},  // merged from the text as sent
    };
    for (const Case& c : cases) {
        RecordingRequestObject object;
        object.responseHeaders = c.responseHeaders;
        Text cookiesOut;
        WebRequest(url, {.cookies = c.sent, .cookiesOut = &cookiesOut, .requestObject = &object,
                         .autoMergeCookies = c.merge});
        EXPECT_EQ(cookiesOut, c.expected) << c.responseHeaders;
    }
}

TEST(WebRequest, ProxyAndCredentials) {
    struct Case {
        const char* name;
        Text proxy, user;
        int mode;
        Text setProxy, authorization;
    } cases[] = {
        {"basic credentials", "p:8080", "user", 1, "SetProxy 2 p:8080", "Header Proxy-Authorization|Basic dXNlcjpwYXNz"},
        {"no user, no credentials", "p:8080", "", 1, "SetProxy 2 p:8080", ""},
        {"mode 2 sends none", "p:8080", "user", 2, "SetProxy 2 p:8080", ""},
        {"no proxy, no credentials", "", "user", 1, "", ""},
    };
    for (const Case& c : cases) {
        RecordingRequestObject object;
        WebRequest(url, {.proxy = c.proxy, .proxyUser = c.user, .proxyPassword = "pass", .proxyAuthMode = c.mode,
                         .requestObject = &object});
        EXPECT_EQ(object.first("SetProxy"), c.setProxy) << c.name;
        EXPECT_EQ(object.first("Header Proxy-Authorization"), c.authorization) << c.name;
        if (!c.setProxy.empty()) {
            EXPECT_EQ(object.calls[1], c.setProxy) << "SetProxy comes before Open";
        }
    }
}

TEST(WebRequest, BodiesAndRedirectOption) {
    RecordingRequestObject bytes;
    WebRequest(url, {.body = "text", .noRedirect = true, .bodyBytes = Bytes("b\0y", 3), .requestObject = &bytes});
    EXPECT_EQ(bytes.first("Send"), "Send bytes " + Bytes("b\0y", 3));  // GET carries bodyBytes too
    EXPECT_EQ(bytes.calls[2], "Option 6 0") << "redirects off before the certificate option";
    EXPECT_EQ(bytes.calls[3], "Option 4 0x3300");

    RecordingRequestObject text;
    WebRequest(url, {.method = 1, .body = "a=1", .requestObject = &text});
    EXPECT_EQ(text.first("Send"), "Send text a=1");
    EXPECT_EQ(text.first("Option 6"), "");
}

}  // namespace
}  // namespace ondrel
