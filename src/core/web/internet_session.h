#pragma once
// A small internet-session layer: a session (agent and proxy), a connection (host and port) and
// a request (method, path, flags) are opened in turn; sending carries out the whole exchange,
// after which the body is read piece by piece and the raw header block queried. Closing is
// dropping the handle. Every phase is bounded: 15 s to connect, 30 s without progress.
#include <cstddef>
#include <memory>

#include "text/text.h"

namespace ondrel::inet {

inline constexpr int openTypeDirect = 1;
inline constexpr int openTypeProxy = 3;

inline constexpr unsigned long flagReload = 0x80000000;
inline constexpr unsigned long flagNeedFile = 0x00000010;
inline constexpr unsigned long flagNoCookies = 0x00080000;
inline constexpr unsigned long flagNoAutoRedirect = 0x00200000;
inline constexpr unsigned long flagSecure = 0x00800000;
inline constexpr unsigned long flagIgnoreRedirectToHttps = 0x00004000;

inline constexpr int queryStatusCode = 19;
inline constexpr int queryRawHeadersCrlf = 22;

class Request;
class Connection;

class Session {
public:
    // `proxy`: with openTypeProxy, "host:port" for every scheme or "scheme=host:port" entries
    // separated by spaces or ";". Null when the access type is unknown.
    static std::unique_ptr<Session> open(const Text& agent, int accessType, const Text& proxy = {},
                                         const Text& proxyBypass = {});
    // Null when the host is empty or the port is above 65535; port 0 means the scheme's default.
    std::unique_ptr<Connection> connect(const Text& host, int port) const;

    const Text& agent() const { return agent_; }
    // The proxy for a scheme ("http" or "https"), empty for none.
    Text proxyFor(std::string_view scheme) const;

private:
    Session(Text agent, Text proxy) : agent_(std::move(agent)), proxy_(std::move(proxy)) {}
    Text agent_;
    Text proxy_;
};

class Connection {
public:
    // Null when the method or the path is empty or the path does not start with "/".
    std::unique_ptr<Request> openRequest(const Text& method, const Text& path, const Text& version,
                                         unsigned long flags) const;

private:
    friend class Session;
    Connection(const Session& session, Text host, int port) : session_(session), host_(std::move(host)), port_(port) {}
    const Session& session_;
    Text host_;
    int port_;
};

class Request {
public:
    ~Request();
    Request(const Request&) = delete;
    Request& operator=(const Request&) = delete;

    // Sends `headers` (lines separated by CR LF) and `optional` as the body, and receives the
    // whole response. False when the exchange failed.
    bool send(const Text& headers, std::string_view optional);
    // Copies up to `size` bytes of the body not yet read into `buffer`; `read` is 0 at the end.
    bool readFile(char* buffer, size_t size, size_t& read);
    // Writes the asked-for information, ended by a NUL, into `buffer`. False, with nothing
    // written, when there is no response or it does not fit; `length` then holds the size needed.
    bool queryInfo(int level, char* buffer, size_t& length) const;

private:
    friend class Connection;
    struct State;
    explicit Request(std::unique_ptr<State> state);
    std::unique_ptr<State> state_;
};

}  // namespace ondrel::inet
