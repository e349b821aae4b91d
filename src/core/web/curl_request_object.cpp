// The request object over libcurl. The four limits map onto the transfer's two: name
// resolution and connection share the connect limit; sending and receiving become "no progress
// for that long", so a large download that keeps moving is never cut off.
#include <algorithm>

#include "text/text_rules.h"
#include "web/request_object.h"
#include "web/transfer.h"

namespace ondrel {
namespace {

// Without SetTimeouts the object waits this long to connect and this long without progress.
constexpr long ownConnectLimitMs = 60000;
constexpr long ownStallLimitMs = 30000;

bool isWebAddress(const Text& url) {
    return findText(url, "http://", 1, true) == 1 || findText(url, "https://", 1, true) == 1;
}

class CurlRequestObject final : public RequestObject {
public:
    // Name resolution is bounded together with the connection, by the connect limit. A limit of
    // 0 or less would mean "wait for ever"; the object's own bound stays instead.
    bool SetTimeouts(int /*resolveMs*/, int connectMs, int sendMs, int receiveMs) override {
        connectLimitMs_ = connectMs > 0 ? connectMs : ownConnectLimitMs;
        int stallMs = std::max(sendMs, receiveMs);
        stallLimitMs_ = stallMs > 0 ? stallMs : ownStallLimitMs;
        return true;
    }

    bool SetProxy(int setting, const Text& server) override {
        if (setting != proxySettingNamed || hasLineBreak(server)) return false;
        proxy_ = server;
        return true;
    }

    bool Open(const Text& method, const Text& url, bool async) override {
        opened_ = false;
        headerLines_.clear();
        response_ = {};
        followRedirects_ = true;
        if (async || method.empty() || !isWebAddress(url) || hasLineBreak(url)) return false;
        method_ = method;
        url_ = url;
        opened_ = true;
        return true;
    }

    bool Option(int index, long value) override {
        if (!opened_) return false;
        if (index == optionEnableRedirects) {
            followRedirects_ = value != 0;
        } else if (index == optionSslErrorIgnoreFlags) {
            ignoreFlags_ = value;
        } else {
            return false;
        }
        return true;
    }

    bool SetRequestHeader(const Text& name, const Text& value) override {
        // A line break would let a value start a header line of its own.
        if (!opened_ || name.empty() || hasLineBreak(name) || hasLineBreak(value)) return false;
        headerLines_.push_back(headerLine(name, value));
        return true;
    }

    bool Send(std::string_view body, BodyForm) override {
        if (!opened_) return false;
        TransferSettings settings;
        settings.url = url_;
        settings.method = method_;
        if (!body.empty()) settings.body = Bytes(body);
        settings.headerLines = headerLines_;
        settings.proxy = proxy_;
        settings.connectTimeoutMs = connectLimitMs_;
        settings.stallTimeoutMs = stallLimitMs_;
        settings.followRedirects = followRedirects_;
        settings.verifyPeer = !(ignoreFlags_ & (ignoreUnknownAuthority | ignoreDateInvalid | ignoreWrongUsage));
        settings.verifyHost = !(ignoreFlags_ & ignoreNameMismatch);
        response_ = runTransfer(settings);
        return response_.completed;
    }

    Bytes ResponseBody() override { return response_.body; }

    Text GetAllResponseHeaders() override {
        // The block without its status line and without the empty line that ends it.
        const Text& block = response_.headerBlock;
        size_t begin = block.find("\r\n");
        if (begin == Text::npos) return Text();
        Text lines = block.substr(begin + 2);
        if (lines == "\r\n") return Text();
        if (lines.ends_with("\r\n\r\n")) lines.resize(lines.size() - 2);
        return lines;
    }

    int Status() override { return response_.status; }

    Text StatusText() override {
        // "HTTP/1.1 200 OK" -> "OK"
        const Text& line = response_.statusLine;
        size_t first = line.find(' ');
        size_t second = first == Text::npos ? Text::npos : line.find(' ', first + 1);
        return second == Text::npos ? Text() : line.substr(second + 1);
    }

private:
    long connectLimitMs_ = ownConnectLimitMs;
    long stallLimitMs_ = ownStallLimitMs;
    Text proxy_;
    Text method_;
    Text url_;
    bool opened_ = false;
    bool followRedirects_ = true;
    long ignoreFlags_ = 0;
    std::vector<Text> headerLines_;
    TransferResult response_;
};

}  // namespace

std::unique_ptr<RequestObject> createRequestObject() { return std::make_unique<CurlRequestObject>(); }

}  // namespace ondrel
