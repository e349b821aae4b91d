#pragma once
// TEMPORARY STAND-IN until the web branch lands; replaced by its file on merge.
#include <httplib.h>

#include <string>
#include <thread>

namespace ondrel::testsite {
class TestSite {
public:
    TestSite();
    ~TestSite();
    httplib::Server& server() { return server_; }
    void start();
    std::string baseUrl() const { return "http://127.0.0.1:" + std::to_string(port_); }
    int port() const { return port_; }

private:
    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
};
}  // namespace ondrel::testsite
