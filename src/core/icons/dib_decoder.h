#pragma once
// Device-independent bitmaps as BMP files and icon entries hold them: an info header (the
// 12-byte core form or the 40-byte form and its longer successors), optional colour masks, a
// palette and the pixel rows, uncompressed, RLE8, RLE4 or with bit fields.
#include <cstddef>
#include <optional>
#include <string_view>

#include "icons/picture.h"

namespace ondrel {

enum class DibKind {
    file,       // from a BMP file: 32-bit alpha counts only when the header gives an alpha mask
    iconEntry,  // from an icon: the height covers the colour rows and the AND mask after them
};

// `dib` starts at the info header and runs to the end of the data; `pixelOffset`, when the
// file header gives one, is where the pixel rows start within `dib`.
std::optional<Picture> decodeDib(std::string_view dib, DibKind kind, std::optional<size_t> pixelOffset = {});

// Bits per pixel the info header at the start of `dib` declares; 0 when there is no header.
int dibBitsPerPixel(std::string_view dib);

}  // namespace ondrel
