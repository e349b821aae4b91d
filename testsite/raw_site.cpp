#include "raw_site.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace ondrel::testsite {
namespace {

constexpr int pollMs = 50;
// A client that has not sent its request head by then is given up on.
constexpr int requestWaitMs = 2000;

bool readable(int fd, int timeoutMs) {
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, timeoutMs) > 0;
}

// The request head, or what arrived of it before the client stopped sending.
std::string readRequestHead(int connection) {
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536 &&
           readable(connection, requestWaitMs)) {
        ssize_t n = ::recv(connection, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        head.append(buffer, size_t(n));
    }
    return head;
}

// "GET /path?x HTTP/1.1" -> "/path"
std::string requestPath(const std::string& head) {
    size_t begin = head.find(' ');
    if (begin == std::string::npos) return {};
    size_t end = head.find_first_of(" ?\r\n", begin + 1);
    return head.substr(begin + 1, end == std::string::npos ? std::string::npos : end - begin - 1);
}

void sendAll(int connection, const std::string& bytes) {
    for (size_t sent = 0; sent < bytes.size();) {
        ssize_t n = ::send(connection, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return;
        sent += size_t(n);
    }
}

}  // namespace

RawSite::~RawSite() { stop(); }

bool RawSite::start() {
    if (thread_.joinable()) return true;
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    if (listener_ < 0) return false;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, SOMAXCONN) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(listener_);
        listener_ = -1;
        return false;
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { serve(); });
    return true;
}

void RawSite::stop() {
    stopping_ = true;
    if (thread_.joinable()) thread_.join();
    if (listener_ >= 0) ::close(listener_);
    listener_ = -1;
}

void RawSite::serve() {
    while (!stopping_) {
        if (!readable(listener_, pollMs)) continue;
        int connection = ::accept(listener_, nullptr, nullptr);
        if (connection < 0) continue;
        handle(connection);
        ::close(connection);
    }
}

void RawSite::handle(int connection) const {
    const std::string path = requestPath(readRequestHead(connection));
    auto found = responses_.find(path);
    sendAll(connection, found != responses_.end()
                            ? found->second
                            : std::string("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n"));
    // Half-close and let the client read to the end: closing with its bytes unread would reset
    // the connection and lose the tail of the response.
    ::shutdown(connection, SHUT_WR);
    char buffer[4096];
    while (!stopping_ && readable(connection, pollMs * 4) && ::recv(connection, buffer, sizeof buffer, 0) > 0) {
    }
}

}  // namespace ondrel::testsite
