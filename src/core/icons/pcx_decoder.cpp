// PCX: a 128-byte header, run-length coded scan lines (a byte of 0xC0 or above gives the
// count in its low six bits for the byte after it), each scan line holding its colour planes
// one after another. Indexed pictures take the 16-colour palette of the header, or the
// 256-colour palette that follows 0x0C at the end of the file; 3 or 4 planes of 8 bits are
// red, green, blue (and an alpha plane, which is not used).
#include "icons/byte_order.h"
#include "icons/picture_formats.h"

namespace ondrel {
namespace {

constexpr size_t headerSize = 128;
constexpr size_t headerPaletteAt = 16;
constexpr size_t vgaPaletteSize = 769;  // 0x0C and 256 RGB triples

struct PcxLayout {
    int bitsPerPixel = 0;
    int planes = 0;
    size_t bytesPerLine = 0;
};

bool layoutSupported(const PcxLayout& l) {
    if (l.planes == 1) return l.bitsPerPixel == 1 || l.bitsPerPixel == 2 || l.bitsPerPixel == 4 || l.bitsPerPixel == 8;
    if (l.bitsPerPixel == 1) return l.planes <= 4;
    return l.bitsPerPixel == 8 && (l.planes == 3 || l.planes == 4);
}

std::vector<Colour> readPalette(std::string_view data, const PcxLayout& l) {
    std::vector<Colour> palette;
    auto take = [&](size_t at, size_t entries) {
        for (size_t i = 0; i < entries; ++i)
            palette.push_back(rgb(byteAt(data, at + 3 * i), byteAt(data, at + 3 * i + 1), byteAt(data, at + 3 * i + 2)));
    };
    if (l.bitsPerPixel == 8 && l.planes == 1) {
        const size_t at = data.size() - vgaPaletteSize;
        if (data.size() >= headerSize + vgaPaletteSize && byteAt(data, at) == 0x0C) {
            take(at + 1, 256);
        } else {
            for (unsigned i = 0; i < 256; ++i) palette.push_back(rgb(i, i, i));
        }
    } else if (l.bitsPerPixel == 1 && l.planes == 1) {
        palette = {rgb(0, 0, 0), white};
    } else {
        take(headerPaletteAt, 16);
    }
    return palette;
}

}  // namespace

bool looksLikePcx(std::string_view data) {
    if (data.size() < headerSize || byteAt(data, 0) != 0x0A || byteAt(data, 2) != 1) return false;
    const unsigned version = byteAt(data, 1);
    return version == 0 || version == 2 || version == 3 || version == 4 || version == 5;
}

std::optional<Picture> decodePcx(std::string_view data) {
    if (!looksLikePcx(data)) return std::nullopt;  // the header's fields must lie inside the data
    PcxLayout l;
    l.bitsPerPixel = int(byteAt(data, 3));
    l.planes = int(byteAt(data, 65));
    l.bytesPerLine = le16(data, 66);
    const std::int64_t width = std::int64_t(le16(data, 8)) - le16(data, 4) + 1;
    const std::int64_t height = std::int64_t(le16(data, 10)) - le16(data, 6) + 1;
    if (!layoutSupported(l) || !pictureSizeAllowed(width, height)) return std::nullopt;
    if (l.bytesPerLine * 8 < size_t(width * l.bitsPerPixel)) return std::nullopt;
    // Each coded byte pair yields at most 63 bytes: data that cannot hold the picture is
    // refused before its lines are allocated.
    const size_t lineBytes = l.bytesPerLine * size_t(l.planes);
    if (lineBytes * size_t(height) > (data.size() - headerSize) * 63) return std::nullopt;
    const std::vector<Colour> palette = readPalette(data, l);

    Picture picture{int(width), int(height)};
    std::vector<unsigned char> line(lineBytes);
    size_t at = headerSize;
    unsigned runValue = 0, runLeft = 0;  // a run may carry over into the next line
    for (int y = 0; y < picture.height; ++y) {
        size_t i = 0;
        while (i < lineBytes) {
            if (runLeft == 0) {
                if (at >= data.size()) return std::nullopt;
                const unsigned b = byteAt(data, at++);
                if (b >= 0xC0) {
                    if (at >= data.size()) return std::nullopt;
                    runLeft = b & 0x3F;  // may be 0: a run that codes nothing
                    runValue = byteAt(data, at++);
                } else {
                    runLeft = 1;
                    runValue = b;
                }
                continue;
            }
            line[i++] = static_cast<unsigned char>(runValue);
            --runLeft;
        }
        for (int x = 0; x < picture.width; ++x) {
            if (l.planes >= 3 && l.bitsPerPixel == 8) {
                picture.at(x, y) = rgb(line[size_t(x)], line[l.bytesPerLine + size_t(x)], line[2 * l.bytesPerLine + size_t(x)]);
                continue;
            }
            unsigned index = 0;
            for (int p = 0; p < l.planes; ++p) {
                const size_t bit = size_t(x) * size_t(l.bitsPerPixel);
                const unsigned byte = line[size_t(p) * l.bytesPerLine + bit / 8];
                const unsigned value = (byte >> (8 - l.bitsPerPixel - int(bit % 8))) & ((1u << l.bitsPerPixel) - 1);
                index |= value << (p * l.bitsPerPixel);
            }
            picture.at(x, y) = index < palette.size() ? palette[index] : 0;
        }
    }
    return picture;
}

}  // namespace ondrel
