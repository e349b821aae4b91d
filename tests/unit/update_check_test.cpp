#include "app/update_check.h"

#include <gtest/gtest.h>

#include "test_site.h"

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

TEST(UpdateCheck, AsksTheAddressAndDecides) {
    testsite::TestSite site;
    site.server().Get("/ver.txt", [](const httplib::Request&, httplib::Response& res) { res.set_content("1.0", "text/plain"); });
    site.server().Get("/newer/ver.txt", [](const httplib::Request&, httplib::Response& res) { res.set_content("1.1", "text/plain"); });
    ASSERT_TRUE(site.start());
    EXPECT_FALSE(newVersionAvailable(site.baseUrl() + "/ver.txt"));
    EXPECT_TRUE(newVersionAvailable(site.baseUrl() + "/newer/ver.txt"));
    // The site's error page holds no version: a failure is not news.
    EXPECT_FALSE(newVersionAvailable(site.baseUrl() + "/status/404"));
}

TEST(UpdateCheck, NoAddressOrNoServerIsNoNewVersion) {
    EXPECT_FALSE(newVersionAvailable(""));
    // Port 1 on the loopback refuses the connection.
    EXPECT_FALSE(newVersionAvailable("http://127.0.0.1:1/ver.txt"));
}

}  // namespace
}  // namespace ondrel
