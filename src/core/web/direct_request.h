#pragma once
// The direct request path, used by the engine check: one exchange through the internet session
// layer, returning the body and the final response's raw header block (status line first).
#include <optional>

#include "text/text.h"

namespace ondrel {

// Every member has an initialiser, so a caller names only the arguments it gives.
struct DirectWebRequestOptions {
    int method = 0;               // method index as for WebRequest; outside 0..7 means GET
    Text body{};                    // sent by methods other than GET when bodyBytes is empty
    std::optional<Text> cookies{};  // given: no session cookies, and the reply's cookies are merged
    Text* cookiesOut = nullptr;
    Text headers{};                 // extra header lines separated by CR LF
    Text* headersOut = nullptr;   // raw header block; 5000 spaces when it could not be read
    bool noRedirect = false;
    Bytes bodyBytes{};              // sent by methods other than GET
    Text proxy{};                   // empty connects directly
    bool autoMergeCookies = true;
    bool completeHeaders = true;
    bool normaliseNames = true;
    int* statusOut = nullptr;     // HTTP status of the final response; 0 when there was none
};

// The body; empty when a handle cannot be opened or nothing could be read.
Bytes DirectWebRequest(const Text& url, const DirectWebRequestOptions& options = {});

// The host of an address in lower case ("http://" assumed without a scheme), with ":port" when
// `keepPort` and the address has one.
Text urlHost(const Text& url, bool keepPort = false);
// The port given in the address, else 443 for https and 80 otherwise; 0 when it is not a number.
int urlPort(const Text& url);
// The address from the first "/" after the host on, in its own letter case; "/" when none.
Text urlPath(const Text& url);

// The agent the session is opened with: the value of the caller's "User-Agent:" line when there
// is one, else the default agent.
Text directUserAgent(const Text& headers);
// The request flags for an address and the switches of a call.
unsigned long directRequestFlags(const Text& url, bool cookiesGiven, bool noRedirect);

}  // namespace ondrel
