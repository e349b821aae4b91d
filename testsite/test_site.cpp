// TEMPORARY STAND-IN until the web branch lands; replaced by its file on merge.
#include "test_site.h"
namespace ondrel::testsite {
TestSite::TestSite(TestSiteOptions options) : options_(options), server_(std::make_unique<httplib::Server>()) {
    server_->new_task_queue = [] { return new httplib::ThreadPool(32); };
    server_->set_keep_alive_timeout(1);
}
bool TestSite::start() {
    port_ = options_.port ? (server_->bind_to_port("127.0.0.1", options_.port) ? options_.port : -1)
                          : server_->bind_to_any_port("127.0.0.1");
    if (port_ <= 0) return false;
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    while (!server_->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return true;
}
void TestSite::stop() {
    server_->stop();
    if (thread_.joinable()) thread_.join();
}
TestSite::~TestSite() { stop(); }
}  // namespace ondrel::testsite
