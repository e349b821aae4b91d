// The favicon loader against real sites on 127.0.0.1, through the program's own request path.
#include <gtest/gtest.h>

#include <future>
#include <mutex>

#include "icons/favicon_loader.h"
#include "test_site.h"
#include "../unit/favicon_fixtures.h"
#include "../unit/picture_fixtures.h"

namespace ondrel {
namespace {

using namespace fixtures;
using testsite::TestSite;

// A 16 x 16 icon: white top-left pixel, red elsewhere.
Bytes redIcon() {
    std::vector<Colour> pixels(256, rgb(255, 0, 0));
    pixels[0] = white;
    return icoFile({{16, 16, 24, infoHeader(16, 32, 24) + dibRows24(16, 16, pixels) + Bytes(64, '\0')}});
}

TEST(FaviconSiteTest, IconsFromRealSitesInEngineOrder) {
    TestSite iconSite, missingSite;
    std::mutex lock;
    std::vector<std::string> iconPaths;
    // Any number of slashes before the name reaches the icon, and the path is noted.
    iconSite.server().Get(R"(/+favicon\.ico)", [&](const httplib::Request& request, httplib::Response& response) {
        std::lock_guard held(lock);
        iconPaths.push_back(request.path);
        response.set_content(redIcon(), "image/x-icon");
    });
    missingSite.server().Get("/favicon.ico", [](const httplib::Request&, httplib::Response& response) {
        response.status = 404;
        response.set_content("<html><body><h1>404 Not Found</h1></body></html>", "text/html");
    });
    ASSERT_TRUE(iconSite.start());
    ASSERT_TRUE(missingSite.start());
    // Port 1 on the loopback address has nobody listening: the request fails at once.
    const EngineTable engines = enginesAt({iconSite.baseUrl(), missingSite.baseUrl(), "http://127.0.0.1:1", iconSite.baseUrl() + "/"});
    RecordingSink sink;
    loadTabIcons(engines, sink, fetchFavicon);

    EXPECT_EQ(iconPaths, (std::vector<std::string>{"/favicon.ico", "//favicon.ico"}));
    EXPECT_EQ(sink.tabImages, (std::vector<std::pair<int, int>>{{1, 1}, {3, 3}, {4, 4}}));
    ASSERT_EQ(sink.lists.size(), 3u);
    const std::vector<TabImage>& last = sink.lists.back();
    ASSERT_EQ(last.size(), 5u);
    std::vector<std::uint32_t> shown(256, 0xFFFF0000);
    shown[0] = 0;
    EXPECT_EQ(last[1].argb, shown);
    EXPECT_EQ(last[4].argb, shown);
    EXPECT_EQ(last[2].argb, std::vector<std::uint32_t>(256, 0));  // the blank placeholder
    EXPECT_EQ(last[3].argb, std::vector<std::uint32_t>(256, 0));  // the unreachable site's 1 x 1 image
}

TEST(FaviconSiteTest, StartUpDoesNotWaitAndClosingAbortsTheRequestInFlight) {
    // The site answers only when the test lets it, after the task has given up on it.
    std::promise<void> answer;
    std::shared_future<void> answered = answer.get_future().share();
    TestSite slowSite;
    std::promise<void> asked;
    slowSite.server().Get("/favicon.ico", [answered, &asked](const httplib::Request&, httplib::Response& response) {
        asked.set_value();  // only the first engine's request ever arrives
        answered.wait_for(std::chrono::seconds(10));
        response.set_content(redIcon(), "image/x-icon");
    });
    ASSERT_TRUE(slowSite.start());
    auto sink = std::make_shared<RecordingSink>();
    auto stop = std::make_shared<Cancellation>();
    TaskPool pool;
    ASSERT_TRUE(startTabIcons(pool, std::make_shared<const EngineTable>(enginesAt({slowSite.baseUrl(), slowSite.baseUrl()})),
                              sink, stop));
    EXPECT_TRUE(pool.isRunning());
    asked.get_future().wait();
    stop->cancel();
    // Cancelling aborts the request in flight; the site has not answered.
    EXPECT_TRUE(pool.wait(5000));
    EXPECT_TRUE(sink->tabImages.empty());
    answer.set_value();
}

}  // namespace
}  // namespace ondrel
