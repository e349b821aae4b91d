#pragma once
// The general request path: one HTTP or HTTPS exchange through a request object, returning the
// response body byte for byte. Every caller in the program passes the address alone: a GET with
// four default headers, 15 s per phase, certificate errors ignored, redirects followed.
#include <optional>

#include "text/text.h"
#include "web/request_object.h"

namespace ondrel {

// Every member has an initialiser, so a caller names only the arguments it gives.
struct WebRequestOptions {
    int method = 0;                  // method index (see methodText); outside 0..7 means GET
    Text body{};                       // sent as text when bodyBytes is empty
    std::optional<Text> cookies{};     // "name=value; ..."; given-but-empty still sends a Cookie header
    Text* cookiesOut = nullptr;      // cookies the response set (merged with `cookies` when asked)
    Text headers{};                    // extra header lines separated by CR LF
    Text* headersOut = nullptr;      // the response header lines
    int* statusOut = nullptr;        // HTTP status; 0 after a failed exchange
    bool noRedirect = false;
    Bytes bodyBytes{};                 // sent instead of `body` when non-empty, whatever the method
    Text proxy{};                      // host:port; empty keeps the object's own setting
    int timeoutSeconds = 0;          // per phase; <= 0 means 15, -1 leaves the object's own limits
    Text proxyUser{};
    Text proxyPassword{};
    int proxyAuthMode = 1;           // 1: Basic Proxy-Authorization header; anything else: none
    RequestObject* requestObject = nullptr;  // the caller's object, used instead of a new one
    bool autoMergeCookies = true;
    bool completeHeaders = true;
    bool normaliseNames = true;
};

// The method text for an index: GET, POST, HEAD, PUT, OPTIONS, DELETE, TRACE, CONNECT for 0..7;
// GET for an index outside the table.
Text methodText(int method);

// The response body; empty when the object cannot be made, no body arrives or the exchange fails.
Bytes WebRequest(const Text& url, const WebRequestOptions& options = {});

}  // namespace ondrel
