#include "icons/blank_icon.h"

#include <zlib.h>

#include <cstdint>

namespace ondrel {
namespace {

constexpr std::uint32_t side = 16;
constexpr std::uint32_t bytesPerPixel = 4;  // red, green, blue, alpha

void appendBe32(Bytes& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(char((v >> shift) & 0xFF));
}

// Length, type, data and the CRC of type and data.
void appendChunk(Bytes& png, const char* type, const Bytes& data) {
    const Bytes typed = Bytes(type, 4) + data;
    appendBe32(png, std::uint32_t(data.size()));
    png += typed;
    appendBe32(png, std::uint32_t(crc32(0, reinterpret_cast<const Bytef*>(typed.data()), uInt(typed.size()))));
}

// Filtered rows as an encoder picks them for one solid colour: the first row "Sub" (the first
// pixel, then zero differences), every further row "Up" (all zero).
Bytes filteredWhiteRows() {
    constexpr char sub = 1, up = 2;
    const std::uint32_t rowBytes = side * bytesPerPixel;
    Bytes rows;
    rows += sub;
    rows += Bytes(bytesPerPixel, '\xFF') + Bytes(rowBytes - bytesPerPixel, '\0');
    for (std::uint32_t y = 1; y < side; ++y) rows += up + Bytes(rowBytes, '\0');
    return rows;
}

Bytes makeBlankIconPng() {
    Bytes header;
    appendBe32(header, side);
    appendBe32(header, side);
    header += Bytes("\x08\x06\x00\x00\x00", 5);  // 8 bits, RGBA, deflate, standard filters, not interlaced

    const Bytes rows = filteredWhiteRows();
    uLongf packedSize = compressBound(uLong(rows.size()));
    Bytes packed(packedSize, '\0');
    compress(reinterpret_cast<Bytef*>(packed.data()), &packedSize, reinterpret_cast<const Bytef*>(rows.data()), uLong(rows.size()));
    packed.resize(packedSize);

    Bytes png = "\x89PNG\r\n\x1A\n";
    appendChunk(png, "IHDR", header);
    appendChunk(png, "IDAT", packed);
    appendChunk(png, "IEND", {});
    return png;
}

}  // namespace

const Bytes& blankIconPng() {
    static const Bytes png = makeBlankIconPng();
    return png;
}

}  // namespace ondrel
