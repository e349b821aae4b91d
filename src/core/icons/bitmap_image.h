#pragma once
// One image held in memory as a packed device-independent bitmap: the 40-byte info header
// (positive height, so the pixel rows run bottom row first), the palette for 1, 4 and 8 bits
// per pixel, and the pixel rows, each padded to a multiple of 4 bytes. Pixels are read and set
// one at a time in the system's colour form; the whole image comes out as a BMP file image.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "icons/picture.h"
#include "text/text.h"

namespace ondrel {

// What getPixel gives for a position outside the image.
constexpr Colour invalidColour = 0xFFFFFFFF;

class BitmapImage {
public:
    BitmapImage();
    BitmapImage(const BitmapImage&) = delete;
    BitmapImage& operator=(const BitmapImage&) = delete;

    void releaseImage();
    // Picture data in any format the picture decoder reads; false (and empty) when it cannot.
    bool loadFromBytes(std::string_view pictureData);
    // A BMP file image: size and depth from its header, the pixel rows from the end of the data.
    bool loadFromBmpBytes(std::string_view bmpFile);
    // An all-zero image of that size and depth.
    bool createBlank(int width, int height, int bitsPerPixel);
    // The image bytes for that size and depth, zero pixels and the default palette; false for a
    // depth other than 1, 4, 8, 16, 24 or 32, or a size no picture has.
    bool prepareImage(int width, int height, int bitsPerPixel);

    bool empty() const { return imageBytes_.empty(); }
    // As the header in the image bytes gives them; 0 when empty.
    int imageWidth() const { return layout_.width; }
    int imageHeight() const { return layout_.height; }
    int imageBitsPerPixel() const { return layout_.bits; }
    const Bytes& imageBytes() const { return imageBytes_; }
    size_t paletteOffset() const;  // 0 when the depth has no palette
    size_t paletteSize() const;
    size_t pixelRowsOffset() const { return layout_.rowsOffset; }
    size_t pixelRowsSize() const { return layout_.rowBytes * size_t(layout_.height); }
    std::string_view pixelRows() const;
    size_t rowBytes() const { return layout_.rowBytes; }

    static int paletteEntriesFor(int bitsPerPixel);
    static size_t rowBytesFor(std::int64_t bitsPerRow);
    static Bytes infoHeaderBytes(int width, int height, int bitsPerPixel);

    // "BM", the file length, 4 zero bytes, the pixel offset, then the image bytes unchanged.
    Bytes toBmpFileBytes() const;

    // 0-based, top-left origin. Paletted images take the nearest palette colour.
    Colour getPixel(int x, int y) const;
    bool setPixel(int x, int y, Colour colour);

    const Bytes& defaultPalette(int bitsPerPixel) const;

private:
    void initPalettes();
    bool inside(int x, int y) const;
    size_t pixelByteOffset(int x, int y) const;
    Colour paletteColour(unsigned index) const;
    unsigned nearestPaletteIndex(Colour colour) const;
    bool fillFromPicture(const Picture& picture);

    // The header's values, kept beside the bytes so that pixel access need not parse them.
    struct Layout {
        int width = 0;
        int height = 0;
        int bits = 0;
        size_t rowBytes = 0;
        size_t rowsOffset = 0;
    };

    Layout layout_;
    Bytes palette2_;
    Bytes palette16_;
    Bytes palette256_;
    Bytes imageBytes_;
};

}  // namespace ondrel
