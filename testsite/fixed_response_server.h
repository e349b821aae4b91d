#pragma once
// Answers every connection on 127.0.0.1 with one fixed response, byte for byte, then closes
// it: for answers a regular server library does not write, such as a status line without a
// reason phrase.
#include <atomic>
#include <string>
#include <thread>

namespace ondrel::testsite {

class FixedResponseServer {
public:
    explicit FixedResponseServer(std::string response);
    ~FixedResponseServer();  // stops listening and waits for its thread
    FixedResponseServer(const FixedResponseServer&) = delete;
    FixedResponseServer& operator=(const FixedResponseServer&) = delete;

    // "http://127.0.0.1:PORT", without a trailing "/".
    std::string baseUrl() const;

private:
    void serve();

    std::string response_;
    int listener_ = -1;
    int port_ = 0;
    std::thread thread_;
};

// An address on 127.0.0.1 on which nothing listens, so a connection to it is refused.
std::string refusedUrl();

}  // namespace ondrel::testsite
