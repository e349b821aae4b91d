// BMP files: a 14-byte file header ("BM", file length, two reserved words, the offset of the
// pixel rows) in front of a device-independent bitmap.
#include "icons/byte_order.h"
#include "icons/dib_decoder.h"
#include "icons/picture_formats.h"

namespace ondrel {

namespace {
constexpr size_t fileHeaderSize = 14;
}

bool looksLikeBmp(std::string_view data) { return data.starts_with("BM"); }

std::optional<Picture> decodeBmp(std::string_view data) {
    if (data.size() < fileHeaderSize + 12) return std::nullopt;
    const std::uint32_t pixelOffset = le32(data, 10);
    // An offset of 0 is what some writers leave; the rows then follow the palette.
    std::optional<size_t> offsetInDib;
    if (pixelOffset != 0) {
        if (pixelOffset < fileHeaderSize || pixelOffset > data.size()) return std::nullopt;
        offsetInDib = pixelOffset - fileHeaderSize;
    }
    return decodeDib(data.substr(fileHeaderSize), DibKind::file, offsetInDib);
}

}  // namespace ondrel
