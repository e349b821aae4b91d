#include "web/web_request.h"

#include <climits>

#include "text/text_rules.h"
#include "web/header_rules.h"

namespace ondrel {
namespace {

constexpr int defaultLimitMs = 15000;

// The per-phase limit for a timeoutSeconds value; -1 (keep the object's own) is handled before.
int limitMs(int timeoutSeconds) {
    if (timeoutSeconds <= 0) return defaultLimitMs;
    double ms = double(timeoutSeconds) * 1000.0;
    return ms > double(INT_MAX) ? INT_MAX : int(ms);
}

bool hasCrlf(std::string_view text) { return findText(text, "\r\n") != notFound; }

void sendHeaderLine(RequestObject& object, std::string_view line) {
    Text name = headerName(line);
    if (!name.empty()) object.SetRequestHeader(name, headerValue(line));
}

// Every line of the header text becomes a request header. On the multi-line path the object's
// own keep-alive is left to it: a caller's "Connection: keep-alive" line is not passed on.
void sendHeaderText(RequestObject& object, std::string_view headers) {
    if (!hasCrlf(headers)) {
        sendHeaderLine(object, headers);
        return;
    }
    for (const Text& line : splitText(headers, "\r\n")) {
        if (line.empty()) continue;
        if (headerName(line) == "Connection" && headerValue(line) == "keep-alive") continue;
        sendHeaderLine(object, line);
    }
}

// The cookie text as sent: any "Cookie:" prefix (in any letter case) taken out.
Text cookieTextToSend(const Text& cookies) {
    if (cookies.empty() || findText(cookies, "Cookie:", 1, true) == notFound) return cookies;
    return replaceText(cookies, "Cookie:", "");
}

}  // namespace

Text methodText(int method) {
    static constexpr const char* methods[] = {"GET", "POST", "HEAD", "PUT", "OPTIONS", "DELETE", "TRACE", "CONNECT"};
    return methods[method >= 0 && method <= 7 ? method : 0];
}

Bytes WebRequest(const Text& url, const WebRequestOptions& options) {
    const int method = options.method >= 0 && options.method <= 7 ? options.method : 0;

    std::unique_ptr<RequestObject> created;
    RequestObject* object = options.requestObject;
    if (!object) {
        created = createRequestObject();
        if (!created) return Bytes();
        object = created.get();
    }

    if (options.timeoutSeconds != -1) {
        int ms = limitMs(options.timeoutSeconds);
        object->SetTimeouts(ms, ms, ms, ms);
    }
    if (!options.proxy.empty()) object->SetProxy(proxySettingNamed, options.proxy);
    object->Open(methodText(method), url, false);
    if (options.noRedirect) object->Option(optionEnableRedirects, 0);
    object->Option(optionSslErrorIgnoreFlags, ignoreUnknownAuthority | ignoreWrongUsage | ignoreNameMismatch | ignoreDateInvalid);

    Text headers = options.headers;
    if (options.completeHeaders) headers = completeDefaultHeaders(headers, url, method, HeaderForm::general);
    if (options.normaliseNames) headers = normaliseHeaderNames(headers);

    if (!options.proxy.empty() && !options.proxyUser.empty() && options.proxyAuthMode == 1) {
        object->SetRequestHeader("Proxy-Authorization",
                                 "Basic " + base64Encode(options.proxyUser + ":" + options.proxyPassword));
    }
    Text sentCookies;
    if (options.cookies) {
        sentCookies = cookieTextToSend(*options.cookies);
        object->SetRequestHeader("Cookie", sentCookies);
    }
    sendHeaderText(*object, headers);

    if (!options.bodyBytes.empty()) {
        object->Send(options.bodyBytes, BodyForm::bytes);
    } else {
        object->Send(options.body, BodyForm::text);
    }

    Bytes body = object->ResponseBody();
    Text responseHeaders = object->GetAllResponseHeaders();
    int status = object->Status();
    object->StatusText();

    if (options.headersOut) *options.headersOut = responseHeaders;
    if (options.statusOut) *options.statusOut = status;
    if (options.cookiesOut) {
        Text received = collectSetCookies(responseHeaders);
        if (options.autoMergeCookies && options.cookies) received = mergeCookies(sentCookies, received);
        *options.cookiesOut = std::move(received);
    }
    return body;
}

}  // namespace ondrel
