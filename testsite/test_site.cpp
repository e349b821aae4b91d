// TEMPORARY STAND-IN until the web branch lands; replaced by its file on merge.
#include "test_site.h"
namespace ondrel::testsite {
TestSite::TestSite() { server_.new_task_queue = [] { return new httplib::ThreadPool(32); }; }
void TestSite::start() {
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}
TestSite::~TestSite() {
    server_.stop();
    if (thread_.joinable()) thread_.join();
}
}  // namespace ondrel::testsite
