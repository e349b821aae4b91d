#pragma once
// Small pictures made by the tests themselves, through the same libraries the decoder reads
// with (libpng, libjpeg, giflib) or by hand for the formats the decoder reads itself.
#include <cstdint>
#include <optional>
#include <vector>

#include "icons/picture.h"
#include "text/text.h"

namespace ondrel::fixtures {

// PNG of any colour type and depth (PNG_COLOR_TYPE_*); `rows` are the packed rows as the
// format stores them, `palette` RGB triples, `transparency` the tRNS alpha per palette entry.
Bytes pngFile(int width, int height, int bitDepth, int colourType, const std::vector<std::uint8_t>& rows,
              const std::vector<std::uint8_t>& palette = {}, const std::vector<std::uint8_t>& transparency = {});
// 8-bit RGBA shorthand.
Bytes pngRgba(int width, int height, const std::vector<std::uint8_t>& rgba);

// Top-down colours to a JPEG; `grey` stores one channel.
Bytes jpegFile(int width, int height, const std::vector<Colour>& pixels, bool grey = false);

struct GifFrame {
    int left, top, width, height;
    std::vector<std::uint8_t> indices;  // top-down
    bool interlace;
    int transparent;  // -1: none
};
// `palette` of 2, 4, 8 ... 256 colours, shared by all frames.
Bytes gifFile(int screenWidth, int screenHeight, const std::vector<Colour>& palette, const std::vector<GifFrame>& frames);

// A BMP file around a 40-byte info header whose fields the test chooses (a negative height is
// top-down); `tail` (masks, palette, rows) follows the header as it stands, its first
// `paletteAndMaskBytes` before the rows. The pixel offset defaults to where the rows start.
Bytes bmpFile(int width, int height, int bitsPerPixel, std::uint32_t compression, std::uint32_t coloursUsed,
              const Bytes& tail, size_t paletteAndMaskBytes = 0, std::optional<std::uint32_t> pixelOffset = {});
Bytes infoHeader(int width, int height, int bitsPerPixel, std::uint32_t compression = 0, std::uint32_t coloursUsed = 0);

// Palette entries as a DIB stores them: blue, green, red, 0.
Bytes dibPalette(const std::vector<Colour>& colours);
// 24-bit rows, bottom row first, padded: from top-down colours.
Bytes dibRows24(int width, int height, const std::vector<Colour>& topDown);

struct IcoEntry {
    int width, height;  // as the directory states them (256 is written as 0)
    int bitCount;
    Bytes data;
};
Bytes icoFile(const std::vector<IcoEntry>& entries, int type = 1);

Bytes le32(std::uint32_t v);
Bytes le16(std::uint32_t v);

}  // namespace ondrel::fixtures
