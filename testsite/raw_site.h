#pragma once
// A server on 127.0.0.1 that answers each request with bytes it was given, exactly as given, and
// then closes the connection: for responses that break the protocol in ways no well-behaved
// server library can be made to send (broken chunked coding, an impossible chunk size). It
// serves one connection at a time, on a thread of its own.
#include <atomic>
#include <map>
#include <string>
#include <thread>

namespace ondrel::testsite {

class RawSite {
public:
    RawSite() = default;
    ~RawSite();  // stops the site
    RawSite(const RawSite&) = delete;
    RawSite& operator=(const RawSite&) = delete;

    // The bytes sent for a request whose target, up to any "?", is `path`; set before start().
    // Other paths get a plain 404.
    void answer(const std::string& path, std::string response) { responses_[path] = std::move(response); }

    // Binds any free port of 127.0.0.1; false when that fails.
    bool start();
    void stop();

    // "http://127.0.0.1:PORT"
    std::string baseUrl() const { return "http://127.0.0.1:" + std::to_string(port_); }

private:
    void serve();
    void handle(int connection) const;

    std::map<std::string, std::string> responses_;
    int listener_ = -1;
    int port_ = 0;
    std::thread thread_;
    std::atomic<bool> stopping_{false};
};

}  // namespace ondrel::testsite
