#pragma once
// The request object the general request path drives: one HTTP(S) exchange, configured call by
// call and carried out synchronously by Send. A failing call reports false and changes nothing
// else; the caller goes on with its next step regardless.
#include <memory>
#include <string_view>

#include "text/text.h"

namespace ondrel {

// How Send hands the body over: as text or as an array of bytes. Both go over the wire as the
// bytes given.
enum class BodyForm { text, bytes };

// Option indices understood by RequestObject::Option.
inline constexpr int optionSslErrorIgnoreFlags = 4;
inline constexpr int optionEnableRedirects = 6;

// Bits of optionSslErrorIgnoreFlags.
inline constexpr long ignoreUnknownAuthority = 0x0100;
inline constexpr long ignoreWrongUsage = 0x0200;
inline constexpr long ignoreNameMismatch = 0x1000;
inline constexpr long ignoreDateInvalid = 0x2000;

// SetProxy setting that names a proxy server.
inline constexpr int proxySettingNamed = 2;

class RequestObject {
public:
    virtual ~RequestObject() = default;

    // Limits in milliseconds for name resolution, connection, sending and receiving.
    virtual bool SetTimeouts(int resolveMs, int connectMs, int sendMs, int receiveMs) = 0;
    // `server` is host:port.
    virtual bool SetProxy(int setting, const Text& server) = 0;
    // Starts a new request; drops the headers and the response of an earlier one.
    virtual bool Open(const Text& method, const Text& url, bool async) = 0;
    // Property write of an option (see the option indices above).
    virtual bool Option(int index, long value) = 0;
    virtual bool SetRequestHeader(const Text& name, const Text& value) = 0;
    // Carries out the exchange; returns when the response has been read or the exchange failed.
    virtual bool Send(std::string_view body, BodyForm form) = 0;

    // The response, after Send: empty, empty and 0 after a failed exchange.
    virtual Bytes ResponseBody() = 0;
    // Response header lines, each ended by CR LF, status line not included.
    virtual Text GetAllResponseHeaders() = 0;
    virtual int Status() = 0;
    virtual Text StatusText() = 0;
};

// A new request object over the real network; null when one cannot be made.
std::unique_ptr<RequestObject> createRequestObject();

}  // namespace ondrel
