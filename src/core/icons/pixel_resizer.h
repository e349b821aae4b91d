#pragma once
// Pixel arrays and their resizing. A pixel array holds colours row after row from the top,
// each row from the left; the pixel in column x and row y (both from 1) is element
// (y - 1) * width + x, counted from 1 as well.
#include <vector>

#include "icons/bitmap_image.h"

namespace ondrel {

using PixelArray = std::vector<Colour>;

class PixelResizer {
public:
    // The image's pixels; false, leaving `pixelsOut` as it was, for an empty image.
    bool readPixels(const BitmapImage& image, PixelArray& pixelsOut) const;
    // Makes `image` a 24-bit image of those pixels; false, leaving it unchanged, when the
    // array holds fewer than width * height pixels or the size is no picture's.
    bool writePixels(BitmapImage& image, const PixelArray& pixels, int width, int height) const;

    // 0 when the array does not reach that far.
    Colour pixelAt(const PixelArray& pixels, int width, int x, int y) const;
    void setPixelAt(PixelArray& pixels, int width, int x, int y, Colour colour) const;

    // Each target pixel takes one source pixel: the ratios source / target are fixed-point
    // numbers with three decimals, truncated once, and target column x takes source column
    // trunc(x * ratio) (at least 1), so a reduction by a whole factor f keeps the last of the
    // f columns that map onto a target column. Rows likewise. False, leaving `resultOut` as
    // it was, for an empty or too short source or an empty target.
    bool resizeNearest(const PixelArray& source, int sourceWidth, int sourceHeight, int width, int height,
                       PixelArray& resultOut) const;
    // Each target pixel is the mean, per red, green and blue, of the block of source pixels
    // that maps onto it. Same arguments and refusals.
    bool resizeAveraging(const PixelArray& source, int sourceWidth, int sourceHeight, int width, int height,
                         PixelArray& resultOut) const;
};

}  // namespace ondrel
