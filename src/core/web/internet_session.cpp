// The internet session over libcurl. Sending carries out the whole exchange; the body is then
// read from memory. Of the request flags, a secure request uses https and is never redirected
// to plain http, an http request follows a redirect to https only with
// flagIgnoreRedirectToHttps, and flagNoAutoRedirect stops redirects. flagReload, flagNeedFile
// and flagNoCookies need nothing: nothing is cached and no cookie is kept.
#include "web/internet_session.h"

#include <cstring>

#include "web/header_rules.h"
#include "web/transfer.h"

namespace ondrel::inet {
namespace {

constexpr long connectLimitMs = 15000;
constexpr long stallLimitMs = 30000;

// The header lines of a header text; empty lines, lines without a name and lines with a stray
// line break in them are not sent.
std::vector<Text> headerLines(const Text& headers) {
    std::vector<Text> lines;
    for (const Text& line : splitText(headers, "\r\n")) {
        if (line.find(':') == Text::npos || hasLineBreak(line) || headerName(line).empty()) continue;
        lines.push_back(headerLine(headerName(line), headerValue(line)));
    }
    return lines;
}

}  // namespace

struct Request::State {
    TransferSettings settings;
    TransferResult response;
    size_t readOffset = 0;
};

std::unique_ptr<Session> Session::open(const Text& agent, int accessType, const Text& proxy, const Text&) {
    if (hasLineBreak(agent) || hasLineBreak(proxy)) return nullptr;
    if (accessType == openTypeDirect) return std::unique_ptr<Session>(new Session(agent, Text()));
    if (accessType == openTypeProxy && !proxy.empty()) return std::unique_ptr<Session>(new Session(agent, proxy));
    return nullptr;
}

Text Session::proxyFor(std::string_view scheme) const {
    Text common;
    for (const Text& spaced : splitText(proxy_, " ")) {
        for (const Text& entry : splitText(spaced, ";")) {
            size_t equals = entry.find('=');
            if (equals == Text::npos) {
                if (common.empty()) common = entry;
            } else if (std::string_view(entry).substr(0, equals) == scheme) {
                return entry.substr(equals + 1);
            }
        }
    }
    return common;
}

std::unique_ptr<Connection> Session::connect(const Text& host, int port) const {
    if (host.empty() || hasLineBreak(host) || port < 0 || port > 65535) return nullptr;
    return std::unique_ptr<Connection>(new Connection(*this, host, port));
}

std::unique_ptr<Request> Connection::openRequest(const Text& method, const Text& path, const Text&,
                                                 unsigned long flags) const {
    if (method.empty() || path.empty() || path[0] != '/' || hasLineBreak(method) || hasLineBreak(path)) {
        return nullptr;
    }
    const bool secure = flags & flagSecure;
    const char* scheme = secure ? "https" : "http";
    auto state = std::make_unique<Request::State>();
    TransferSettings& s = state->settings;
    s.url = Text(scheme) + "://" + host_ + ":" + std::to_string(port_ ? port_ : secure ? 443 : 80) + path;
    s.method = method;
    s.proxy = session_.proxyFor(scheme);
    s.userAgent = session_.agent();
    s.connectTimeoutMs = connectLimitMs;
    s.stallTimeoutMs = stallLimitMs;
    s.followRedirects = !(flags & flagNoAutoRedirect);
    s.redirectProtocols = secure ? "https" : (flags & flagIgnoreRedirectToHttps) ? "http,https" : "http";
    return std::unique_ptr<Request>(new Request(std::move(state)));
}

Request::Request(std::unique_ptr<State> state) : state_(std::move(state)) {}
Request::~Request() = default;

bool Request::send(const Text& headers, std::string_view optional) {
    state_->settings.headerLines = headerLines(headers);
    state_->settings.body.reset();
    if (!optional.empty()) state_->settings.body = Bytes(optional);
    state_->response = runTransfer(state_->settings);
    state_->readOffset = 0;
    return state_->response.completed;
}

bool Request::readFile(char* buffer, size_t size, size_t& read) {
    read = 0;
    if (!state_->response.completed) return false;
    const Bytes& body = state_->response.body;
    read = std::min(size, body.size() - state_->readOffset);
    std::memcpy(buffer, body.data() + state_->readOffset, read);
    state_->readOffset += read;
    return true;
}

bool Request::queryInfo(int level, char* buffer, size_t& length) const {
    if (!state_->response.completed) return false;
    Text info;
    if (level == queryRawHeadersCrlf) {
        info = state_->response.headerBlock;
    } else if (level == queryStatusCode) {
        info = std::to_string(state_->response.status);
    } else {
        return false;
    }
    if (info.size() + 1 > length) {
        length = info.size() + 1;
        return false;
    }
    std::memcpy(buffer, info.c_str(), info.size() + 1);
    length = info.size();
    return true;
}

}  // namespace ondrel::inet
