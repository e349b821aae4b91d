#include "web/direct_request.h"

#include <algorithm>

#include "text/extract.h"
#include "text/text_rules.h"
#include "web/header_rules.h"
#include "web/internet_session.h"
#include "web/web_request.h"

namespace ondrel {
namespace {

// The raw header block is read into a buffer of this size, NUL included.
constexpr size_t headerBufferSize = 5000;
constexpr size_t readPieceSize = 1024;

bool isSecure(const Text& url) { return lowerAsciiText(url.substr(0, 8)) == "https://"; }

// The value of the first line named User-Agent in any letter case.
Text userAgentLineValue(const Text& headers) {
    for (const Text& line : splitText(headers, "\r\n")) {
        if (lowerAsciiText(headerName(line)) == "user-agent") return headerValue(line);
    }
    return Text();
}

Text headerTextToSend(const Text& url, int method, const DirectWebRequestOptions& options) {
    Text headers = options.headers;
    if (options.completeHeaders) headers = completeDefaultHeaders(headers, url, method, HeaderForm::direct);
    if (options.normaliseNames) headers = normaliseHeaderNames(headers);
    if (options.cookies && !options.cookies->empty()) {
        const Text& cookies = *options.cookies;
        headers += findText(cookies, "Cookie:") != notFound ? "\r\n" + cookies : "\r\nCookie: " + cookies;
    }
    return headers;
}

Bytes readBody(inet::Request& request) {
    Bytes body;
    char piece[readPieceSize];
    size_t read = 0;
    do {
        read = 0;
        request.readFile(piece, sizeof piece, read);
        body.append(piece, read);
    } while (read != 0);
    return body;
}

// The raw header block, or the untouched buffer of spaces when it cannot be read.
Text readHeaderBlock(const inet::Request& request) {
    Text buffer(headerBufferSize, ' ');
    size_t length = buffer.size();
    request.queryInfo(inet::queryRawHeadersCrlf, buffer.data(), length);
    return textFromBytes(buffer);
}

int readStatus(const inet::Request& request) {
    char buffer[16];
    size_t length = sizeof buffer;
    return request.queryInfo(inet::queryStatusCode, buffer, length) ? std::atoi(buffer) : 0;
}

}  // namespace

Text urlHost(const Text& url, bool keepPort) {
    Text address = lowerAsciiText(url);
    if (!address.ends_with("/")) address += "/";
    Text host;
    if (address.starts_with("https://")) {
        host = textBetween(address, "https://", "/");
    } else {
        if (address.find("http://") == Text::npos) address = "http://" + address;
        host = textBetween(address, "http://", "/");
    }
    if (!keepPort) host = host.substr(0, host.find(':'));
    return host;
}

int urlPort(const Text& url) {
    Text host = urlHost(url, true);
    size_t colon = host.rfind(':');
    if (colon == Text::npos) return lowerAsciiText(url.substr(0, 5)) == "https" ? 443 : 80;
    int port = 0;
    for (size_t i = colon + 1; i < host.size() && host[i] >= '0' && host[i] <= '9'; ++i) {
        port = std::min(port * 10 + (host[i] - '0'), 9999999);  // anything this large is refused anyway
    }
    return port;
}

Text urlPath(const Text& url) {
    // The host is looked for after the scheme, so that a short host name such as "p" is not
    // found inside "http://" itself.
    size_t scheme = url.find("://");
    int host = findText(url, urlHost(url), scheme == Text::npos ? 1 : int(scheme) + 4, true);
    int slash = host == notFound ? notFound : findText(url, "/", host);
    return slash == notFound ? Text("/") : url.substr(size_t(slash) - 1);
}

Text directUserAgent(const Text& headers) {
    if (findText(headers, "User-Agent:", 1, true) == notFound) return defaultUserAgent;
    Text agent = trimSpaces(textBetween(headers + "\r\n", "User-Agent:", "\r\n"));
    // A line in other letter case: its own value, never the rest of the header text, which
    // would carry line breaks into the agent.
    return agent.empty() ? userAgentLineValue(headers) : agent;
}

unsigned long directRequestFlags(const Text& url, bool cookiesGiven, bool noRedirect) {
    unsigned long flags = inet::flagReload | inet::flagNeedFile;
    if (cookiesGiven) flags |= inet::flagNoCookies;
    if (noRedirect) flags |= inet::flagNoAutoRedirect;
    flags |= isSecure(url) ? inet::flagSecure : inet::flagIgnoreRedirectToHttps;
    return flags;
}

Bytes DirectWebRequest(const Text& url, const DirectWebRequestOptions& options) {
    const int method = options.method >= 0 && options.method <= 7 ? options.method : 0;
    const Text agent = directUserAgent(options.headers);

    std::unique_ptr<inet::Session> session =
        options.proxy.empty() ? inet::Session::open(agent, inet::openTypeDirect)
                              : inet::Session::open(agent, inet::openTypeProxy,
                                                    isSecure(url) ? options.proxy : "http=" + options.proxy, Text());
    if (!session) return Bytes();
    std::unique_ptr<inet::Connection> connection = session->connect(urlHost(url), urlPort(url));
    if (!connection) return Bytes();
    std::unique_ptr<inet::Request> request = connection->openRequest(
        methodText(method), urlPath(url), "HTTP/1.1", directRequestFlags(url, options.cookies.has_value(), options.noRedirect));
    if (!request) return Bytes();

    // A GET never carries a body; other methods send bodyBytes, or the bytes of body.
    Bytes optional;
    if (method != 0) optional = options.bodyBytes.empty() ? options.body : options.bodyBytes;
    request->send(headerTextToSend(url, method, options), optional);

    Bytes body = readBody(*request);
    Text headerBlock = readHeaderBlock(*request);
    int status = readStatus(*request);
    request.reset();
    connection.reset();
    session.reset();

    if (options.headersOut) *options.headersOut = headerBlock;
    if (options.statusOut) *options.statusOut = status;
    if (options.cookiesOut) {
        Text received = collectSetCookies(headerBlock);
        if (options.autoMergeCookies && options.cookies) received = mergeCookies(*options.cookies, received);
        *options.cookiesOut = std::move(received);
    }
    return body;
}

}  // namespace ondrel
