#pragma once
// The tab control's side of the site icons. The desktop program implements the sink by
// carrying each call to its user-interface thread; the calls come from the icon task's thread,
// and may still come while the window closes, so an implementation must drop them once its
// window is gone rather than wait for or touch it.
#include <cstdint>
#include <vector>

namespace ondrel {

// One 16 x 16 image of the tab image list: 0xAARRGGBB, rows from the top, each row from the
// left. Alpha is 0 (the transparent colour) or 255, so the values read the same premultiplied
// or not.
struct TabImage {
    static constexpr int side = 16;
    std::vector<std::uint32_t> argb = std::vector<std::uint32_t>(side * side, 0);
};

class TabIconSink {
public:
    virtual ~TabIconSink() = default;
    // The whole image list so far, replacing any list given before: image 0 is the blank
    // placeholder, image i engine i's.
    virtual void setImageList(const std::vector<TabImage>& images) = 0;
    // Tab `tab` shows image `image` normally and in both highlighted states. A tab the
    // control does not have changes nothing.
    virtual void setTabImage(int tab, int image) = 0;
};

}  // namespace ondrel
