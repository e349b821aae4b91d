#pragma once
// TEMPORARY STAND-IN until the web branch lands; replaced by its file on merge.
#include <httplib.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

namespace ondrel::testsite {
struct TestSiteOptions {
    bool https = false;
    int port = 0;
};
class TestSite {
public:
    explicit TestSite(TestSiteOptions options = {});
    ~TestSite();
    httplib::Server& server() { return *server_; }
    bool start();
    void stop();
    int port() const { return port_; }
    std::string baseUrl() const { return "http://127.0.0.1:" + std::to_string(port_); }

private:
    TestSiteOptions options_;
    std::unique_ptr<httplib::Server> server_;
    int port_ = 0;
    std::thread thread_;
};
}  // namespace ondrel::testsite
