#pragma once
// Picture data of any format the picture decoder reads, to a 24-bit BMP file image of the
// requested size: 54 bytes of headers and the pixel rows, bottom row first. Data that cannot
// be decoded gives a 1 x 1 black image (58 bytes).
#include <string_view>

#include "text/text.h"

namespace ondrel {

Bytes convertImageToBmp(std::string_view imageBytes, int width, int height, bool useAveraging = false);

}  // namespace ondrel
