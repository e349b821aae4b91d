#include "icons/pixel_resizer.h"

#include <algorithm>
#include <cstdint>

namespace ondrel {
namespace {

std::int64_t elementIndex(int width, int x, int y) { return (std::int64_t(y) - 1) * width + x; }  // from 1

bool resizeAllowed(const PixelArray& source, int sourceWidth, int sourceHeight, int width, int height) {
    return sourceWidth >= 1 && sourceHeight >= 1 && source.size() >= size_t(sourceWidth) * size_t(sourceHeight) &&
           pictureSizeAllowed(width, height);
}

// The first and last source position (from 1) of the block that target position `t` covers
// when `source` positions are shared among `target` ones; never empty.
std::pair<std::int64_t, std::int64_t> blockOf(std::int64_t t, std::int64_t source, std::int64_t target) {
    const std::int64_t first = (t - 1) * source / target + 1;
    return {first, std::max(first, t * source / target)};
}

}  // namespace

bool PixelResizer::readPixels(const BitmapImage& image, PixelArray& pixelsOut) const {
    const int w = image.imageWidth(), h = image.imageHeight();
    if (w < 1 || h < 1) return false;
    pixelsOut.assign(size_t(w) * size_t(h), 0);
    size_t next = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) pixelsOut[next++] = image.getPixel(x, y);
    return true;
}

bool PixelResizer::writePixels(BitmapImage& image, const PixelArray& pixels, int width, int height) const {
    if (!pictureSizeAllowed(width, height) || pixels.size() < size_t(width) * size_t(height)) return false;
    image.createBlank(width, height, 24);
    size_t next = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.setPixel(x, y, pixels[next++]);
    return true;
}

Colour PixelResizer::pixelAt(const PixelArray& pixels, int width, int x, int y) const {
    const std::int64_t i = elementIndex(width, x, y);
    return i >= 1 && i <= std::int64_t(pixels.size()) ? pixels[size_t(i - 1)] : 0;
}

void PixelResizer::setPixelAt(PixelArray& pixels, int width, int x, int y, Colour colour) const {
    const std::int64_t i = elementIndex(width, x, y);
    if (i >= 1 && i <= std::int64_t(pixels.size())) pixels[size_t(i - 1)] = colour;
}

bool PixelResizer::resizeNearest(const PixelArray& source, int sourceWidth, int sourceHeight, int width, int height,
                                 PixelArray& resultOut) const {
    if (!resizeAllowed(source, sourceWidth, sourceHeight, width, height)) return false;
    resultOut.assign(size_t(width) * size_t(height), 0);
    // Whole-number arithmetic truncates exactly as the fixed-point rule asks.
    const std::int64_t rx = std::int64_t(sourceWidth) * 1000 / width;
    const std::int64_t ry = std::int64_t(sourceHeight) * 1000 / height;
    for (int y = 1; y <= height; ++y) {
        const std::int64_t sy = std::max<std::int64_t>(1, y * ry / 1000);
        for (int x = 1; x <= width; ++x) {
            const std::int64_t sx = std::max<std::int64_t>(1, x * rx / 1000);
            resultOut[size_t(elementIndex(width, x, y) - 1)] = source[size_t((sy - 1) * sourceWidth + sx - 1)];
        }
    }
    return true;
}

bool PixelResizer::resizeAveraging(const PixelArray& source, int sourceWidth, int sourceHeight, int width, int height,
                                   PixelArray& resultOut) const {
    if (!resizeAllowed(source, sourceWidth, sourceHeight, width, height)) return false;
    resultOut.assign(size_t(width) * size_t(height), 0);
    for (int y = 1; y <= height; ++y) {
        const auto [firstRow, lastRow] = blockOf(y, sourceHeight, height);
        for (int x = 1; x <= width; ++x) {
            const auto [firstColumn, lastColumn] = blockOf(x, sourceWidth, width);
            std::uint64_t red = 0, green = 0, blue = 0, count = 0;
            for (std::int64_t sy = firstRow; sy <= lastRow; ++sy)
                for (std::int64_t sx = firstColumn; sx <= lastColumn; ++sx) {
                    const Colour c = source[size_t((sy - 1) * sourceWidth + sx - 1)];
                    red += redOf(c), green += greenOf(c), blue += blueOf(c), ++count;
                }
            resultOut[size_t(elementIndex(width, x, y) - 1)] = rgb(unsigned(red / count), unsigned(green / count), unsigned(blue / count));
        }
    }
    return true;
}

}  // namespace ondrel
