#pragma once
// The image list of the tab control: 16 x 16 images, each with the colour of its top-left
// pixel drawn transparent wherever it occurs in that image.
#include <string_view>
#include <vector>

#include "icons/tab_icons.h"

namespace ondrel {

class TabImageList {
public:
    // Appends the picture of a BMP file image and returns its position. Exactly one image is
    // added whatever the bytes hold, so image i stays engine i's: a picture smaller than 16 x 16
    // (the 1 x 1 image of an unreadable answer) sits at the top-left with the rest transparent,
    // which makes the 1 x 1 image wholly transparent; a larger one is cut to 16 x 16; bytes that
    // are no BMP file image give a transparent image.
    int add(std::string_view bmpFile);
    const std::vector<TabImage>& images() const { return images_; }

private:
    std::vector<TabImage> images_;
};

}  // namespace ondrel
