#include "app/update_check.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <thread>

namespace ondrel {
namespace {

TEST(UpdateCheck, OnlyASuccessfulAnswerOtherThanOursIsANewVersion) {
    const struct {
        const char* name;
        int status;
        Bytes body;
        bool expected;
    } cases[] = {
        {"exactly ours", 200, "1.0", false},
        {"ours up to a NUL byte", 200, Bytes("1.0\0junk", 8), false},
        {"ours with a line end", 200, "1.0\r\n", true},
        {"newer", 200, "1.1", true},
        {"prefixed", 200, "V1.0", true},
        {"letter case counts", 200, "v1.0", true},
        {"empty answer", 200, "", true},
        {"not found", 404, "1.1", false},
        {"server error", 500, "", false},
        {"no answer at all", 0, "", false},
    };
    for (const auto& c : cases) EXPECT_EQ(announcesNewVersion(c.status, c.body), c.expected) << c.name;
}

TEST(UpdateCheck, NoticeEndsWithTheExtractionCode) {
    EXPECT_EQ(Text(updateNotice).substr(Text(updateNotice).size() - 4), "wqkd");
}

class VersionServer : public ::testing::Test {
protected:
    void SetUp() override {
        server_.Get("/ver.txt", [](const httplib::Request&, httplib::Response& res) { res.set_content("1.0", "text/plain"); });
        server_.Get("/newer/ver.txt", [](const httplib::Request&, httplib::Response& res) { res.set_content("1.1", "text/plain"); });
        server_.Get("/gone/ver.txt", [](const httplib::Request&, httplib::Response& res) {
            res.status = 404;
            res.set_content("1.1", "text/plain");
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
    }
    void TearDown() override {
        server_.stop();
        thread_.join();
    }
    Text url(const char* path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }

    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
};

TEST_F(VersionServer, AsksTheAddressAndDecides) {
    EXPECT_FALSE(newVersionAvailable(url("/ver.txt")));
    EXPECT_TRUE(newVersionAvailable(url("/newer/ver.txt")));
    EXPECT_FALSE(newVersionAvailable(url("/gone/ver.txt")));
}

TEST(UpdateCheck, NoAddressOrNoServerIsNoNewVersion) {
    EXPECT_FALSE(newVersionAvailable(""));
    // Port 1 on the loopback refuses the connection.
    EXPECT_FALSE(newVersionAvailable("http://127.0.0.1:1/ver.txt"));
}

}  // namespace
}  // namespace ondrel
