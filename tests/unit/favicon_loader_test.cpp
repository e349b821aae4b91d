// The favicon loader with the fetch injected: which addresses it asks for, what the tab image
// list holds afterwards, and when the tab control hears of it.
#include <gtest/gtest.h>

#include <future>
#include <map>
#include <mutex>

#include "icons/favicon_loader.h"
#include "icons/tab_image_list.h"
#include "favicon_fixtures.h"
#include "picture_fixtures.h"

namespace ondrel {
namespace {

using namespace fixtures;

constexpr std::uint32_t transparent = 0;
std::uint32_t opaque(Colour c) { return 0xFF000000 | redOf(c) << 16 | greenOf(c) << 8 | blueOf(c); }

// A 32 x 32 PNG: column x (from 0) has red 8x, except for the blue of the first two columns
// (the converted icon's top-left pixel comes from the second) and of a block in the middle.
Bytes patternedIcon() {
    std::vector<std::uint8_t> rgba;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const bool background = x <= 1 || (x >= 12 && x < 20 && y >= 12 && y < 20);
            const std::uint8_t pixel[4] = {std::uint8_t(background ? 0 : 8 * x), 0, std::uint8_t(background ? 255 : 0), 255};
            rgba.insert(rgba.end(), pixel, pixel + 4);
        }
    return pngRgba(32, 32, rgba);
}

TEST(FaviconLoaderTest, OneImagePerEngineWhateverItsSiteAnswered) {
    const EngineTable engines = enginesAt({"http://a.test", "http://b.test/", "", "http://d.test"});
    std::vector<Colour> greenWithWhiteCorner(256, rgb(0, 255, 0));
    greenWithWhiteCorner[0] = white;
    const Bytes greenIcon = icoFile({{16, 16, 24, infoHeader(16, 32, 24) + dibRows24(16, 16, greenWithWhiteCorner) + Bytes(64, '\0')}});
    Bytes iconWithFourOhFourLater = greenIcon + "404";  // only the text before the first NUL counts
    std::map<Text, Bytes> answers = {
        {"http://a.test/favicon.ico", patternedIcon()},
        {"http://b.test//favicon.ico", "<html><title>404 Not Found</title></html>"},
        {"/favicon.ico", ""},  // an invalid engine's empty address fails
        {"http://d.test/favicon.ico", iconWithFourOhFourLater},
    };
    std::vector<Text> asked;
    RecordingSink sink;
    loadTabIcons(engines, sink, [&](const Text& url) {
        asked.push_back(url);
        return answers[url];
    });
    EXPECT_EQ(asked, (std::vector<Text>{"http://a.test/favicon.ico", "http://b.test//favicon.ico", "/favicon.ico", "http://d.test/favicon.ico"}));
    // The tab control gets the whole list after every accepted answer; the "404" page's engine
    // gets no call, its image is the blank one, and the later tabs keep their own images.
    EXPECT_EQ(sink.tabImages, (std::vector<std::pair<int, int>>{{1, 1}, {3, 3}, {4, 4}}));
    ASSERT_EQ(sink.lists.size(), 3u);
    EXPECT_EQ(sink.lists[0].size(), 2u);
    EXPECT_EQ(sink.lists[1].size(), 4u);
    const std::vector<TabImage>& images = sink.lists[2];
    ASSERT_EQ(images.size(), 5u);
    const std::vector<std::uint32_t> allTransparent(256, transparent);
    EXPECT_EQ(images[0].argb, allTransparent);  // the white placeholder: its top-left white is transparent
    EXPECT_EQ(images[2].argb, allTransparent);
    EXPECT_EQ(images[3].argb, allTransparent);  // the 1 x 1 image of the failed fetch
    std::vector<std::uint32_t> greenIconImage(256, opaque(rgb(0, 255, 0)));
    greenIconImage[0] = transparent;
    EXPECT_EQ(images[4].argb, greenIconImage);
    // The 32 x 32 icon shows every second column and row; blue, its top-left colour, is
    // transparent wherever it occurs.
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const int sx = 2 * x + 1, sy = 2 * y + 1;
            const bool background = sx <= 1 || (sx >= 12 && sx < 20 && sy >= 12 && sy < 20);
            ASSERT_EQ(images[1].argb[size_t(y * 16 + x)], background ? transparent : opaque(rgb(unsigned(8 * sx), 0, 0))) << x << "," << y;
        }
}

TEST(FaviconLoaderTest, NoEnginesGiveOnlyThePlaceholderAndNoCall) {
    RecordingSink sink;
    int fetches = 0;
    loadTabIcons(EngineTable(), sink, [&](const Text&) {
        ++fetches;
        return Bytes();
    });
    EXPECT_EQ(fetches, 0);
    EXPECT_TRUE(sink.lists.empty());
    EXPECT_TRUE(sink.tabImages.empty());
}

TEST(FaviconLoaderTest, ImageListTakesTheTopLeftColourAsTransparent) {
    TabImageList list;
    std::vector<Colour> pixels(256, rgb(10, 20, 30));
    pixels[17] = rgb(1, 2, 3);
    pixels[200] = rgb(10, 20, 30);
    pixels[0] = rgb(1, 2, 3);
    EXPECT_EQ(list.add(bmpFile(16, 16, 24, 0, 0, dibRows24(16, 16, pixels))), 0);
    EXPECT_EQ(list.add("not a bitmap"), 1);
    const std::vector<TabImage>& images = list.images();
    EXPECT_EQ(images[0].argb[0], transparent);
    EXPECT_EQ(images[0].argb[17], transparent);
    EXPECT_EQ(images[0].argb[200], 0xFF0A141Eu);
    EXPECT_EQ(images[1].argb, std::vector<std::uint32_t>(256, transparent));
}

TEST(FaviconLoaderTest, StartReturnsAtOnceAndCancellingStopsTheTaskBeforeItsNextCall) {
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::promise<void> asked;
    std::atomic<int> fetches{0};
    auto sink = std::make_shared<RecordingSink>();
    auto engines = std::make_shared<const EngineTable>(enginesAt({"http://a.test", "http://b.test"}));
    auto stop = std::make_shared<Cancellation>();
    TaskPool pool;
    const Bytes icon = patternedIcon();
    ASSERT_TRUE(startTabIcons(pool, engines, sink, stop, [&](const Text&) {
        if (++fetches == 1) asked.set_value();
        released.wait();  // a site that has not answered yet
        return icon;
    }));
    // Start-up goes on while the first request hangs; the task holds what it reads.
    EXPECT_TRUE(pool.isRunning());
    asked.get_future().wait();
    engines.reset();
    stop->cancel();
    release.set_value();
    ASSERT_TRUE(pool.wait(5000));
    EXPECT_EQ(fetches, 1);
    EXPECT_TRUE(sink->lists.empty());
    EXPECT_TRUE(sink->tabImages.empty());
}

}  // namespace
}  // namespace ondrel
