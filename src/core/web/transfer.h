#pragma once
// One HTTP/1.1 exchange over libcurl, shared by the request object and the internet session.
// It runs on the calling thread, reuses that thread's connections and TLS sessions, never keeps
// cookies, and is aborted soon after the thread's cancellation token fires.
#include <optional>
#include <string_view>
#include <vector>

#include "text/text.h"

namespace ondrel {

// Larger bodies are refused: a hostile site must not exhaust memory.
inline constexpr size_t maxResponseBytes = 32u << 20;

struct TransferSettings {
    Text url;
    Text method = "GET";
    std::optional<Bytes> body;      // sent with the request when present (whatever the method)
    std::vector<Text> headerLines;  // complete lines, "Name: value"
    Text proxy;                     // empty: connect directly
    Text userAgent;                 // empty: none unless a header line gives one
    long connectTimeoutMs = 15000;  // name resolution, connection and TLS handshake
    long stallTimeoutMs = 30000;    // sending or receiving without progress for this long
    bool followRedirects = true;
    Text redirectProtocols = "http,https";  // the schemes a redirect may lead to
    bool verifyPeer = true;         // certificate chain and dates
    bool verifyHost = true;         // certificate names the host
};

struct TransferResult {
    bool completed = false;  // a whole response arrived
    int status = 0;
    Text statusLine;         // e.g. "HTTP/1.1 200 OK"
    Text headerBlock;        // final response: status line first, CR LF lines, empty line last
    Bytes body;
};

TransferResult runTransfer(const TransferSettings& settings);

// The header line for a name and a value as the transfer sends it; a value may be empty.
Text headerLine(std::string_view name, std::string_view value);

// True for a text that contains a CR or LF byte: such a text must never become part of a
// header, where it would start a header line of its own.
bool hasLineBreak(std::string_view text);

}  // namespace ondrel
