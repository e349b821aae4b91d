#include "icons/dib_decoder.h"

#include <bit>
#include <cstdint>
#include <cstdlib>

#include "icons/byte_order.h"

namespace ondrel {
namespace {

enum Compression : std::uint32_t { plain = 0, rle8 = 1, rle4 = 2, bitFields = 3, alphaBitFields = 6 };

struct DibHeader {
    size_t headerSize = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;  // of the colour rows, always positive
    bool topDown = false;
    int bitsPerPixel = 0;
    std::uint32_t compression = plain;
    std::uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
    bool masksGiven = false;
    size_t masksAfterHeader = 0;  // bytes of masks stored between the header and the palette
    size_t paletteEntries = 0;
    size_t paletteEntrySize = 4;
};

std::optional<DibHeader> readHeader(std::string_view dib, DibKind kind) {
    DibHeader h;
    if (dib.size() < 4) return std::nullopt;
    h.headerSize = le32(dib, 0);
    if (h.headerSize > dib.size()) return std::nullopt;
    std::int64_t rawHeight;
    std::uint32_t coloursUsed = 0;
    if (h.headerSize == 12) {
        h.width = le16(dib, 4);
        rawHeight = le16(dib, 6);
        h.bitsPerPixel = le16(dib, 10);
        h.paletteEntrySize = 3;
    } else if (h.headerSize >= 40) {
        h.width = le32signed(dib, 4);
        rawHeight = le32signed(dib, 8);
        h.bitsPerPixel = le16(dib, 14);
        h.compression = le32(dib, 16);
        coloursUsed = le32(dib, 32);
        if (h.compression == bitFields || h.compression == alphaBitFields) {
            const size_t maskCount = h.compression == alphaBitFields ? 4 : 3;
            const bool inHeader = h.headerSize >= 40 + 4 * maskCount;
            if (!inHeader) h.masksAfterHeader = 4 * maskCount;
            if (h.headerSize + h.masksAfterHeader > dib.size()) return std::nullopt;
            for (size_t i = 0; i < maskCount; ++i) h.masks[i] = le32(dib, 40 + 4 * i);
            h.masksGiven = true;
        }
        // The longer headers carry an alpha mask even for plain 32-bit rows.
        if (h.headerSize >= 56 && (h.compression == bitFields || h.bitsPerPixel == 32)) h.masks[3] = le32(dib, 52);
    } else {
        return std::nullopt;
    }
    // Icons keep their alpha in the fourth byte of plain 32-bit rows.
    if (kind == DibKind::iconEntry && h.bitsPerPixel == 32 && h.masks[3] == 0) h.masks[3] = 0xFF000000;
    if (kind == DibKind::iconEntry) rawHeight /= 2;
    h.topDown = rawHeight < 0;
    h.height = std::llabs(rawHeight);
    if (!pictureSizeAllowed(h.width, h.height)) return std::nullopt;

    switch (h.bitsPerPixel) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return std::nullopt;
    }
    const bool compressionFits = h.compression == plain ||
        (h.compression == rle8 && h.bitsPerPixel == 8) || (h.compression == rle4 && h.bitsPerPixel == 4) ||
        ((h.compression == bitFields || h.compression == alphaBitFields) && (h.bitsPerPixel == 16 || h.bitsPerPixel == 32));
    if (!compressionFits) return std::nullopt;
    if (h.topDown && (h.compression == rle8 || h.compression == rle4)) return std::nullopt;
    if (h.bitsPerPixel <= 8) {
        const size_t full = size_t(1) << h.bitsPerPixel;
        h.paletteEntries = coloursUsed == 0 || coloursUsed > full ? full : coloursUsed;
    }
    return h;
}

struct ChannelMask {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t max = 0;
    explicit ChannelMask(std::uint32_t m) : mask(m) {
        if (m == 0) return;
        shift = std::countr_zero(m);
        max = m >> shift;
    }
    unsigned value(std::uint32_t pixel) const {
        return max == 0 ? 0 : unsigned((std::uint64_t((pixel & mask) >> shift) * 255 + max / 2) / max);
    }
};

// The colour rows as colours plus alpha, top row first, before any mask is applied.
struct ColourRows {
    std::vector<Colour> colours;
    std::vector<std::uint8_t> alpha;
    std::vector<bool> written;  // RLE leaves pixels out; those are transparent
    bool anyAlpha = false;
};

std::vector<Colour> readPalette(std::string_view dib, const DibHeader& h) {
    std::vector<Colour> palette(h.paletteEntries);
    const size_t start = h.headerSize + h.masksAfterHeader;
    for (size_t i = 0; i < palette.size(); ++i) {
        const size_t at = start + i * h.paletteEntrySize;
        palette[i] = rgb(byteAt(dib, at + 2), byteAt(dib, at + 1), byteAt(dib, at));
    }
    return palette;
}

unsigned indexAt(std::string_view row, std::int64_t x, int bits) {
    const std::int64_t bit = x * bits;
    const unsigned byte = byteAt(row, size_t(bit / 8));
    const int shift = 8 - bits - int(bit % 8);
    return (byte >> shift) & ((1u << bits) - 1);
}

size_t rowBytesOf(const DibHeader& h) { return size_t((h.width * h.bitsPerPixel + 31) / 32 * 4); }

// The rows were checked to lie inside `pixels`.
void readPlainRows(std::string_view pixels, const DibHeader& h, const std::vector<Colour>& palette, ColourRows& out) {
    const size_t rowBytes = rowBytesOf(h);
    const std::uint32_t defaultMasks16[4] = {0x7C00, 0x03E0, 0x001F, 0};
    const std::uint32_t defaultMasks32[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0};
    const std::uint32_t* masks = h.masksGiven ? h.masks : h.bitsPerPixel == 16 ? defaultMasks16 : defaultMasks32;
    const ChannelMask red(masks[0]), green(masks[1]), blue(masks[2]);
    const ChannelMask alpha(h.bitsPerPixel == 32 ? h.masks[3] : 0);
    for (std::int64_t r = 0; r < h.height; ++r) {
        const std::string_view row = pixels.substr(size_t(r) * rowBytes, rowBytes);
        const std::int64_t y = h.topDown ? r : h.height - 1 - r;
        for (std::int64_t x = 0; x < h.width; ++x) {
            const size_t i = size_t(y * h.width + x);
            Colour c = 0;
            switch (h.bitsPerPixel) {
            case 24: c = rgb(byteAt(row, size_t(x) * 3 + 2), byteAt(row, size_t(x) * 3 + 1), byteAt(row, size_t(x) * 3)); break;
            case 16: case 32: {
                const std::uint32_t p = h.bitsPerPixel == 16 ? le16(row, size_t(x) * 2) : le32(row, size_t(x) * 4);
                c = rgb(red.value(p), green.value(p), blue.value(p));
                out.alpha[i] = std::uint8_t(alpha.value(p));
                out.anyAlpha = out.anyAlpha || out.alpha[i] != 0;
                break;
            }
            default: {
                const unsigned index = indexAt(row, x, h.bitsPerPixel);
                c = index < palette.size() ? palette[index] : 0;
            }
            }
            out.colours[i] = c;
        }
    }
}

// RLE8 and RLE4: runs of one index (two alternating ones for RLE4), absolute runs, and the
// escapes end of line (0 0), end of bitmap (0 1) and move (0 2 dx dy). Rows run bottom-up.
bool readRleRows(std::string_view data, const DibHeader& h, const std::vector<Colour>& palette, ColourRows& out) {
    const bool four = h.compression == rle4;
    std::int64_t x = 0, row = 0;  // row counts from the bottom
    auto put = [&](unsigned index) {
        if (x < h.width && row < h.height) {
            const size_t i = size_t((h.height - 1 - row) * h.width + x);
            out.colours[i] = index < palette.size() ? palette[index] : 0;
            out.written[i] = true;
        }
        ++x;
    };
    size_t at = 0;
    while (at + 2 <= data.size()) {
        const unsigned count = byteAt(data, at), value = byteAt(data, at + 1);
        at += 2;
        if (count > 0) {
            for (unsigned k = 0; k < count; ++k) put(four ? (k % 2 == 0 ? value >> 4 : value & 0xF) : value);
        } else if (value == 0) {
            x = 0;
            ++row;
        } else if (value == 1) {
            return true;
        } else if (value == 2) {
            if (at + 2 > data.size()) return false;
            x += byteAt(data, at);
            row += byteAt(data, at + 1);
            at += 2;
        } else {
            const size_t bytes = four ? (value + 1) / 2 : value;
            if (at + bytes > data.size()) return false;
            for (unsigned k = 0; k < value; ++k) {
                const unsigned b = byteAt(data, at + (four ? k / 2 : k));
                put(four ? (k % 2 == 0 ? b >> 4 : b & 0xF) : b);
            }
            at += (bytes + 1) / 2 * 2;  // absolute runs are padded to whole 16-bit words
        }
        if (row >= h.height) return true;
    }
    return false;  // the data ended without the end-of-bitmap escape
}

}  // namespace

int dibBitsPerPixel(std::string_view dib) {
    if (dib.size() < 16) return 0;
    const std::uint32_t size = le32(dib, 0);
    if (size == 12) return le16(dib, 10);
    return size >= 40 ? le16(dib, 14) : 0;
}

std::optional<Picture> decodeDib(std::string_view dib, DibKind kind, std::optional<size_t> pixelOffset) {
    const std::optional<DibHeader> header = readHeader(dib, kind);
    if (!header) return std::nullopt;
    const DibHeader& h = *header;
    const size_t paletteEnd = h.headerSize + h.masksAfterHeader + h.paletteEntries * h.paletteEntrySize;
    if (paletteEnd > dib.size()) return std::nullopt;
    const size_t pixelStart = pixelOffset ? *pixelOffset : paletteEnd;
    if (pixelStart > dib.size()) return std::nullopt;
    const std::vector<Colour> palette = readPalette(dib, h);
    const std::string_view pixels = dib.substr(pixelStart);
    const bool rle = h.compression == rle8 || h.compression == rle4;
    if (!rle && rowBytesOf(h) * size_t(h.height) > pixels.size()) return std::nullopt;  // before any allocation

    const size_t count = size_t(h.width * h.height);
    ColourRows rows;
    rows.colours.assign(count, 0);
    rows.alpha.assign(count, 0);
    rows.written.assign(count, !rle);
    if (rle) {
        if (!readRleRows(pixels, h, palette, rows)) return std::nullopt;
    } else {
        readPlainRows(pixels, h, palette, rows);
    }

    // An icon's AND mask (1 = transparent) follows its colour rows; it matters only when the
    // rows carry no alpha of their own. A mask cut off by the end of the data is not used.
    std::vector<bool> masked(count, false);
    if (kind == DibKind::iconEntry && !rows.anyAlpha) {
        const size_t colourBytes = rowBytesOf(h) * size_t(h.height);
        const size_t maskRowBytes = size_t((h.width + 31) / 32 * 4);
        if (!rle && colourBytes + maskRowBytes * size_t(h.height) <= pixels.size()) {
            const std::string_view mask = pixels.substr(colourBytes);
            for (std::int64_t r = 0; r < h.height; ++r) {
                const std::int64_t y = h.topDown ? r : h.height - 1 - r;
                for (std::int64_t x = 0; x < h.width; ++x)
                    masked[size_t(y * h.width + x)] = indexAt(mask.substr(size_t(r) * maskRowBytes), x, 1) != 0;
            }
        }
    }

    Picture picture(int(h.width), int(h.height));
    for (size_t i = 0; i < count; ++i) {
        const Colour c = rows.colours[i];
        if (!rows.written[i] || masked[i]) continue;  // stays white
        picture.pixels[i] = rows.anyAlpha ? overWhite(redOf(c), greenOf(c), blueOf(c), rows.alpha[i]) : c;
    }
    return picture;
}

}  // namespace ondrel
