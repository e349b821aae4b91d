#include "icons/tab_image_list.h"

#include <algorithm>

#include "icons/bitmap_image.h"

namespace ondrel {
namespace {

constexpr std::uint32_t opaque = 0xFF000000;

std::uint32_t argbOf(Colour c) { return opaque | redOf(c) << 16 | greenOf(c) << 8 | blueOf(c); }

}  // namespace

int TabImageList::add(std::string_view bmpFile) {
    TabImage image;
    BitmapImage bitmap;
    if (bitmap.loadFromBmpBytes(bmpFile)) {
        const Colour transparent = bitmap.getPixel(0, 0);
        const int width = std::min(bitmap.imageWidth(), TabImage::side);
        const int height = std::min(bitmap.imageHeight(), TabImage::side);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const Colour c = bitmap.getPixel(x, y);
                if (c != transparent) image.argb[size_t(y * TabImage::side + x)] = argbOf(c);
            }
    }
    images_.push_back(std::move(image));
    return int(images_.size()) - 1;
}

}  // namespace ondrel
