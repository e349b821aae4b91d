#include "icons/bitmap_image.h"

#include <algorithm>
#include <limits>

#include "icons/byte_order.h"

namespace ondrel {
namespace {

constexpr size_t infoHeaderSize = 40;
constexpr size_t fileHeaderSize = 14;

void appendPaletteEntry(Bytes& palette, Colour c) {
    palette.push_back(char(blueOf(c)));
    palette.push_back(char(greenOf(c)));
    palette.push_back(char(redOf(c)));
    palette.push_back(0);
}

Bytes paletteOf(std::initializer_list<Colour> colours) {
    Bytes palette;
    for (Colour c : colours) appendPaletteEntry(palette, c);
    return palette;
}

// The tables below are written as RRGGBB, the way colours are usually read.
constexpr Colour fromRrggbb(std::uint32_t v) { return rgb(v >> 16, v >> 8, v); }

Bytes systemPalette16() {
    return paletteOf({fromRrggbb(0x000000), fromRrggbb(0x800000), fromRrggbb(0x008000), fromRrggbb(0x808000),
                      fromRrggbb(0x000080), fromRrggbb(0x800080), fromRrggbb(0x008080), fromRrggbb(0x808080),
                      fromRrggbb(0xC0C0C0), fromRrggbb(0xFF0000), fromRrggbb(0x00FF00), fromRrggbb(0xFFFF00),
                      fromRrggbb(0x0000FF), fromRrggbb(0xFF00FF), fromRrggbb(0x00FFFF), fromRrggbb(0xFFFFFF)});
}

// Twenty fixed colours around a colour cube of 8 reds, 8 greens and 4 blues.
Bytes systemPalette256() {
    Bytes palette = paletteOf({fromRrggbb(0x000000), fromRrggbb(0x800000), fromRrggbb(0x008000), fromRrggbb(0x808000),
                               fromRrggbb(0x000080), fromRrggbb(0x800080), fromRrggbb(0x008080), fromRrggbb(0xC0C0C0),
                               fromRrggbb(0xC0DCC0), fromRrggbb(0xA6CAF0)});
    for (unsigned k = 10; k <= 245; ++k) appendPaletteEntry(palette, rgb(0x20 * (k % 8), 0x20 * ((k / 8) % 8), 0x40 * (k / 64)));
    palette += paletteOf({fromRrggbb(0xFFFBF0), fromRrggbb(0xA0A0A4), fromRrggbb(0x808080), fromRrggbb(0xFF0000),
                          fromRrggbb(0x00FF00), fromRrggbb(0xFFFF00), fromRrggbb(0x0000FF), fromRrggbb(0xFF00FF),
                          fromRrggbb(0x00FFFF), fromRrggbb(0xFFFFFF)});
    return palette;
}

unsigned colourDistance(Colour a, Colour b) {
    auto d = [](unsigned x, unsigned y) { return (x > y ? x - y : y - x) * (x > y ? x - y : y - x); };
    return d(redOf(a), redOf(b)) + d(greenOf(a), greenOf(b)) + d(blueOf(a), blueOf(b));
}

}  // namespace

BitmapImage::BitmapImage() { initPalettes(); }

void BitmapImage::initPalettes() {
    palette2_ = paletteOf({fromRrggbb(0x000000), fromRrggbb(0xFFFFFF)});
    palette16_ = systemPalette16();
    palette256_ = systemPalette256();
}

const Bytes& BitmapImage::defaultPalette(int bitsPerPixel) const {
    static const Bytes none;
    switch (bitsPerPixel) {
    case 1: return palette2_;
    case 4: return palette16_;
    case 8: return palette256_;
    default: return none;
    }
}

void BitmapImage::releaseImage() {
    imageBytes_.clear();
    layout_ = Layout();
}

int BitmapImage::paletteEntriesFor(int bitsPerPixel) {
    return bitsPerPixel == 1 ? 2 : bitsPerPixel == 4 ? 16 : bitsPerPixel == 8 ? 256 : 0;
}

size_t BitmapImage::rowBytesFor(std::int64_t bitsPerRow) { return size_t((bitsPerRow + 31) / 32 * 4); }

Bytes BitmapImage::infoHeaderBytes(int width, int height, int bitsPerPixel) {
    Bytes header;
    appendLe32(header, infoHeaderSize);
    appendLe32(header, std::uint32_t(width));
    appendLe32(header, std::uint32_t(height));
    appendLe16(header, 1);  // planes
    appendLe16(header, std::uint32_t(bitsPerPixel));
    for (int i = 0; i < 6; ++i) appendLe32(header, 0);  // no compression, sizes and colour counts left to the reader
    return header;
}

bool BitmapImage::prepareImage(int width, int height, int bitsPerPixel) {
    switch (bitsPerPixel) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return false;
    }
    if (!pictureSizeAllowed(width, height)) return false;
    const size_t paletteBytes = size_t(paletteEntriesFor(bitsPerPixel)) * 4;
    layout_ = {width, height, bitsPerPixel, rowBytesFor(std::int64_t(width) * bitsPerPixel), infoHeaderSize + paletteBytes};
    imageBytes_ = infoHeaderBytes(width, height, bitsPerPixel);
    imageBytes_ += defaultPalette(bitsPerPixel);
    imageBytes_.resize(layout_.rowsOffset + pixelRowsSize(), '\0');
    return true;
}

bool BitmapImage::createBlank(int width, int height, int bitsPerPixel) {
    releaseImage();
    return prepareImage(width, height, bitsPerPixel);
}

size_t BitmapImage::paletteOffset() const { return paletteSize() == 0 ? 0 : infoHeaderSize; }
size_t BitmapImage::paletteSize() const { return size_t(paletteEntriesFor(imageBitsPerPixel())) * 4; }
std::string_view BitmapImage::pixelRows() const {
    return std::string_view(imageBytes_).substr(pixelRowsOffset(), pixelRowsSize());
}

bool BitmapImage::loadFromBytes(std::string_view pictureData) {
    releaseImage();
    const std::optional<Picture> picture = decodePicture(pictureData);
    return picture && fillFromPicture(*picture);
}

bool BitmapImage::fillFromPicture(const Picture& picture) {
    if (!prepareImage(picture.width, picture.height, 24)) return false;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) setPixel(x, y, picture.pixels[size_t(y) * size_t(picture.width) + size_t(x)]);
    return true;
}

bool BitmapImage::loadFromBmpBytes(std::string_view bmpFile) {
    releaseImage();
    constexpr size_t headersSize = fileHeaderSize + infoHeaderSize;
    if (bmpFile.size() <= headersSize) return false;
    const std::string_view info = bmpFile.substr(fileHeaderSize);
    if (!prepareImage(le32signed(info, 4), le32signed(info, 8), le16(info, 14))) return false;
    // Rows the data does not hold are not invented: such a file is refused.
    if (pixelRowsSize() > bmpFile.size() - headersSize) {
        releaseImage();
        return false;
    }
    // A paletted file brings its own colours when it has room for them; otherwise the
    // default palette stands.
    if (paletteSize() > 0 && headersSize + paletteSize() + pixelRowsSize() <= bmpFile.size())
        std::copy_n(bmpFile.begin() + headersSize, paletteSize(), imageBytes_.begin() + std::ptrdiff_t(paletteOffset()));
    std::copy_n(bmpFile.end() - std::ptrdiff_t(pixelRowsSize()), pixelRowsSize(), imageBytes_.begin() + std::ptrdiff_t(pixelRowsOffset()));
    return true;
}

Bytes BitmapImage::toBmpFileBytes() const {
    Bytes file = "BM";
    appendLe32(file, std::uint32_t(fileHeaderSize + imageBytes_.size()));
    appendLe32(file, 0);
    appendLe32(file, std::uint32_t(fileHeaderSize + infoHeaderSize + paletteSize()));
    return file + imageBytes_;
}

bool BitmapImage::inside(int x, int y) const { return x >= 0 && y >= 0 && x < imageWidth() && y < imageHeight(); }

size_t BitmapImage::pixelByteOffset(int x, int y) const {
    const size_t rowFromBottom = size_t(imageHeight() - 1 - y);
    return pixelRowsOffset() + rowFromBottom * rowBytes() + size_t(x) * size_t(imageBitsPerPixel()) / 8;
}

Colour BitmapImage::paletteColour(unsigned index) const {
    const size_t at = infoHeaderSize + size_t(index) * 4;
    return rgb(byteAt(imageBytes_, at + 2), byteAt(imageBytes_, at + 1), byteAt(imageBytes_, at));
}

unsigned BitmapImage::nearestPaletteIndex(Colour colour) const {
    const unsigned entries = unsigned(paletteEntriesFor(imageBitsPerPixel()));
    unsigned best = 0, bestDistance = std::numeric_limits<unsigned>::max();
    for (unsigned i = 0; i < entries; ++i) {
        const unsigned d = colourDistance(colour, paletteColour(i));
        if (d < bestDistance) best = i, bestDistance = d;
    }
    return best;
}

Colour BitmapImage::getPixel(int x, int y) const {
    if (!inside(x, y)) return invalidColour;
    const int bits = imageBitsPerPixel();
    const size_t at = pixelByteOffset(x, y);
    switch (bits) {
    case 16: {
        const unsigned v = le16(imageBytes_, at);
        auto widen = [](unsigned five) { return five << 3 | five >> 2; };
        return rgb(widen((v >> 10) & 31), widen((v >> 5) & 31), widen(v & 31));
    }
    case 24: case 32: return rgb(byteAt(imageBytes_, at + 2), byteAt(imageBytes_, at + 1), byteAt(imageBytes_, at));
    default: {
        const int shift = 8 - bits - int((size_t(x) * size_t(bits)) % 8);
        return paletteColour((byteAt(imageBytes_, at) >> shift) & ((1u << bits) - 1));
    }
    }
}

bool BitmapImage::setPixel(int x, int y, Colour colour) {
    if (!inside(x, y)) return false;
    const int bits = imageBitsPerPixel();
    const size_t at = pixelByteOffset(x, y);
    switch (bits) {
    case 16: {
        const unsigned v = (redOf(colour) >> 3) << 10 | (greenOf(colour) >> 3) << 5 | blueOf(colour) >> 3;
        imageBytes_[at] = char(v & 0xFF);
        imageBytes_[at + 1] = char(v >> 8);
        break;
    }
    case 24: case 32:
        imageBytes_[at] = char(blueOf(colour));
        imageBytes_[at + 1] = char(greenOf(colour));
        imageBytes_[at + 2] = char(redOf(colour));
        break;
    default: {
        const int shift = 8 - bits - int((size_t(x) * size_t(bits)) % 8);
        const unsigned mask = ((1u << bits) - 1) << shift;
        const unsigned byte = byteAt(imageBytes_, at);
        imageBytes_[at] = char((byte & ~mask) | (nearestPaletteIndex(colour) << shift));
    }
    }
    return true;
}

}  // namespace ondrel
