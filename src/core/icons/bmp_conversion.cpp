#include "icons/bmp_conversion.h"

#include "icons/bitmap_image.h"
#include "icons/pixel_resizer.h"

namespace ondrel {

Bytes convertImageToBmp(std::string_view imageBytes, int width, int height, bool useAveraging) {
    BitmapImage image;
    const PixelResizer resizer;
    PixelArray source, result;
    // Each step finds nothing to work on when the one before failed, and the 1 x 1 black
    // image made below is what remains.
    image.loadFromBytes(imageBytes);
    resizer.readPixels(image, source);
    const int imageWidth = image.imageWidth(), imageHeight = image.imageHeight();
    if (useAveraging)
        resizer.resizeAveraging(source, imageWidth, imageHeight, width, height, result);
    else
        resizer.resizeNearest(source, imageWidth, imageHeight, width, height, result);
    image.createBlank(1, 1, 24);
    resizer.writePixels(image, result, width, height);
    return image.toBmpFileBytes();
}

}  // namespace ondrel
