#include "fixed_response_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace ondrel::testsite {
namespace {

// A TCP socket bound to a free port of 127.0.0.1; the port is written to `port`.
int boundLoopbackSocket(int& port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(fd, reinterpret_cast<sockaddr*>(&address), length);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    return fd;
}

std::string loopbackUrl(int port) { return "http://127.0.0.1:" + std::to_string(port); }

}  // namespace

FixedResponseServer::FixedResponseServer(std::string response) : response_(std::move(response)) {
    listener_ = boundLoopbackSocket(port_);
    listen(listener_, 8);
    thread_ = std::thread([this] { serve(); });
}

FixedResponseServer::~FixedResponseServer() {
    shutdown(listener_, SHUT_RDWR);  // wakes the accept() of the serving thread
    thread_.join();
    close(listener_);
}

std::string FixedResponseServer::baseUrl() const { return loopbackUrl(port_); }

void FixedResponseServer::serve() {
    for (;;) {
        const int connection = accept(listener_, nullptr, nullptr);
        if (connection < 0) return;
        // The whole request head first, so the client never sees its request cut off.
        std::string request;
        char buffer[1024];
        ssize_t got = 0;
        while (request.find("\r\n\r\n") == std::string::npos && (got = read(connection, buffer, sizeof buffer)) > 0)
            request.append(buffer, size_t(got));
        [[maybe_unused]] const ssize_t sent = write(connection, response_.data(), response_.size());
        close(connection);
    }
}

std::string refusedUrl() {
    int port = 0;
    close(boundLoopbackSocket(port));
    return loopbackUrl(port);
}

}  // namespace ondrel::testsite
