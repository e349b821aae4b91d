// The picture decoder, one format at a time, on pictures the tests make themselves; and the
// hostile headers that must be refused before anything is allocated.
#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <cstdlib>

#include "icons/bmp_conversion.h"
#include "icons/picture.h"
#include "picture_fixtures.h"

namespace ondrel {
namespace {

using namespace fixtures;

constexpr Colour red = rgb(255, 0, 0), green = rgb(0, 255, 0), blue = rgb(0, 0, 255), black = 0;

std::vector<Colour> decodedPixels(const Bytes& data) {
    const std::optional<Picture> p = decodePicture(data);
    if (!p) return {};
    return p->pixels;
}

bool closeTo(Colour a, Colour b, unsigned tolerance) {
    auto near = [&](unsigned x, unsigned y) { return unsigned(std::abs(int(x) - int(y))) <= tolerance; };
    return near(redOf(a), redOf(b)) && near(greenOf(a), greenOf(b)) && near(blueOf(a), blueOf(b));
}

struct PngCase {
    const char* name;
    Bytes png;
    std::vector<Colour> expected;
};

TEST(PictureDecodeTest, PngReadsEveryColourTypeAndDepthAndLaysAlphaOverWhite) {
    const std::vector<std::uint8_t> twoColours = {255, 0, 0, 0, 255, 0};
    const std::vector<std::uint8_t> fourColours = {255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0};
    const PngCase cases[] = {
        {"grey 1", pngFile(2, 1, 1, PNG_COLOR_TYPE_GRAY, {0x80}), {white, black}},
        {"grey 2", pngFile(2, 1, 2, PNG_COLOR_TYPE_GRAY, {0xD0}), {white, rgb(85, 85, 85)}},
        {"grey 4", pngFile(2, 1, 4, PNG_COLOR_TYPE_GRAY, {0xF5}), {white, rgb(85, 85, 85)}},
        {"grey 8", pngFile(2, 1, 8, PNG_COLOR_TYPE_GRAY, {0x00, 0x80}), {black, rgb(128, 128, 128)}},
        {"grey 16", pngFile(2, 1, 16, PNG_COLOR_TYPE_GRAY, {0xFF, 0xFF, 0x00, 0x00}), {white, black}},
        {"rgb 8", pngFile(2, 1, 8, PNG_COLOR_TYPE_RGB, {255, 0, 0, 0, 0, 255}), {red, blue}},
        {"rgb 16", pngFile(2, 1, 16, PNG_COLOR_TYPE_RGB, {0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0, 0}), {red, green}},
        {"palette 1", pngFile(2, 1, 1, PNG_COLOR_TYPE_PALETTE, {0x40}, twoColours), {red, green}},
        {"palette 2", pngFile(2, 1, 2, PNG_COLOR_TYPE_PALETTE, {0xB0}, fourColours), {blue, black}},
        {"palette 4", pngFile(2, 1, 4, PNG_COLOR_TYPE_PALETTE, {0x21}, fourColours), {blue, green}},
        {"palette 8 with tRNS", pngFile(2, 1, 8, PNG_COLOR_TYPE_PALETTE, {0, 1}, fourColours, {0, 255}), {white, green}},
        {"grey alpha 8", pngFile(2, 1, 8, PNG_COLOR_TYPE_GRAY_ALPHA, {0, 0, 0, 255}), {white, black}},
        {"grey alpha 16", pngFile(2, 1, 16, PNG_COLOR_TYPE_GRAY_ALPHA, {0, 0, 0, 0, 0, 0, 0xFF, 0xFF}), {white, black}},
        {"rgba 8 half alpha", pngFile(2, 1, 8, PNG_COLOR_TYPE_RGBA, {0, 0, 0, 128, 0, 0, 255, 255}), {rgb(127, 127, 127), blue}},
        {"rgba 16", pngFile(2, 1, 16, PNG_COLOR_TYPE_RGBA, {0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0, 0, 0xFF, 0xFF}), {white, red}},
    };
    for (const PngCase& c : cases) {
        const std::vector<Colour> pixels = decodedPixels(c.png);
        ASSERT_EQ(pixels.size(), c.expected.size()) << c.name;
        for (size_t i = 0; i < pixels.size(); ++i)
            EXPECT_TRUE(closeTo(pixels[i], c.expected[i], 1)) << c.name << " pixel " << i << ": " << std::hex << pixels[i];
    }
}

TEST(PictureDecodeTest, JpegInColourAndGrey) {
    const Colour orange = rgb(200, 100, 50);
    const std::optional<Picture> colour = decodePicture(jpegFile(8, 8, std::vector<Colour>(64, orange)));
    ASSERT_TRUE(colour);
    EXPECT_EQ(colour->width, 8);
    for (Colour c : colour->pixels) EXPECT_TRUE(closeTo(c, orange, 4)) << std::hex << c;
    const std::optional<Picture> grey = decodePicture(jpegFile(8, 4, std::vector<Colour>(32, rgb(128, 0, 0)), true));
    ASSERT_TRUE(grey);
    EXPECT_EQ(grey->height, 4);
    for (Colour c : grey->pixels) EXPECT_TRUE(closeTo(c, rgb(128, 128, 128), 2)) << std::hex << c;
}

TEST(PictureDecodeTest, GifFirstFrameOnItsScreenWithTransparencyOverWhite) {
    const std::vector<Colour> palette = {red, green, blue, black};
    GifFrame first{1, 1, 2, 1, {0, 3}, false, 3};
    GifFrame second{0, 0, 3, 3, std::vector<std::uint8_t>(9, 2), false, -1};
    const std::optional<Picture> p = decodePicture(gifFile(3, 3, palette, {first, second}));
    ASSERT_TRUE(p);
    // Only the first frame is drawn; the screen around it and its transparent pixel are white.
    EXPECT_EQ(p->pixels, (std::vector<Colour>{white, white, white, white, red, white, white, white, white}));
}

TEST(PictureDecodeTest, GifInterlacedRowsLandInPlace) {
    std::vector<Colour> palette;
    for (unsigned i = 0; i < 16; ++i) palette.push_back(rgb(i * 16, 0, 0));
    GifFrame frame{0, 0, 1, 11, {}, true, -1};
    for (std::uint8_t row = 0; row < 11; ++row) frame.indices.push_back(row);
    const std::optional<Picture> p = decodePicture(gifFile(1, 11, palette, {frame}));
    ASSERT_TRUE(p);
    for (int y = 0; y < 11; ++y) EXPECT_EQ(p->pixels[size_t(y)], rgb(unsigned(y) * 16, 0, 0)) << "row " << y;
}

// 2 x 2 BMPs whose top row is red, green and bottom row blue, then black or white.
struct BmpCase {
    const char* name;
    Bytes bmp;
    std::vector<Colour> expected;  // top-down
};

Bytes rows16(std::initializer_list<std::uint32_t> bottomUp) {
    Bytes out;
    for (std::uint32_t v : bottomUp) out += le16(v);  // two pixels fill a 4-byte row
    return out;
}

Bytes rows32(std::initializer_list<std::uint32_t> bottomUp) {
    Bytes out;
    for (std::uint32_t v : bottomUp) out += le32(v);
    return out;
}

TEST(PictureDecodeTest, BmpEveryDepthBothDirectionsAndRunLengthCoding) {
    const Bytes palette4 = dibPalette({red, green, blue, black});
    const std::vector<Colour> rgbw = {red, green, blue, white};
    const BmpCase cases[] = {
        {"1 bit", bmpFile(2, 2, 1, 0, 2, dibPalette({red, green}) + Bytes("\x80\0\0\0\x40\0\0\0", 8), 8), {red, green, green, red}},
        {"4 bit", bmpFile(2, 2, 4, 0, 4, palette4 + Bytes("\x23\0\0\0\x01\0\0\0", 8), 16), {red, green, blue, black}},
        {"8 bit", bmpFile(2, 2, 8, 0, 4, palette4 + Bytes("\x02\x03\0\0\x00\x01\0\0", 8), 16), {red, green, blue, black}},
        {"16 bit 555", bmpFile(2, 2, 16, 0, 0, rows16({0x001F, 0x7FFF, 0x7C00, 0x03E0})), rgbw},
        {"16 bit bit fields 565", bmpFile(2, 2, 16, 3, 0, le32(0xF800) + le32(0x07E0) + le32(0x001F) + rows16({0x001F, 0xFFFF, 0xF800, 0x07E0}), 12), rgbw},
        {"24 bit", bmpFile(2, 2, 24, 0, 0, dibRows24(2, 2, rgbw)), rgbw},
        {"24 bit top-down", bmpFile(2, -2, 24, 0, 0, Bytes("\0\0\xFF\0\xFF\0", 6) + Bytes(2, '\0') + Bytes("\xFF\0\0\xFF\xFF\xFF", 6) + Bytes(2, '\0')), rgbw},
        {"32 bit", bmpFile(2, 2, 32, 0, 0, rows32({0x0000FF, 0xFFFFFF, 0xFF0000, 0x00FF00})), rgbw},
        {"32 bit top-down", bmpFile(2, -2, 32, 0, 0, rows32({0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF})), rgbw},
        // Bottom row: a run of two blues and a pixel left out (transparent, so white); top
        // row: an absolute run red, green, black, then the end of the bitmap.
        {"RLE8", bmpFile(3, 2, 8, 1, 4, palette4 + Bytes("\x02\x02\x00\x00\x00\x03\x00\x01\x03\x00\x00\x01", 12), 16),
         {red, green, black, blue, blue, white}},
        // Bottom row: alternating green, blue; top row: a move one to the right, then an
        // absolute run red, black, red.
        {"RLE4", bmpFile(4, 2, 4, 2, 4, palette4 + Bytes("\x04\x12\x00\x00\x00\x02\x01\x00\x00\x03\x03\x00\x00\x01", 14), 16),
         {white, red, black, red, green, blue, green, blue}},
    };
    for (const BmpCase& c : cases) {
        EXPECT_EQ(decodedPixels(c.bmp), c.expected) << c.name;
    }
}

// An icon entry: info header with the doubled height, palette, colour rows, AND mask rows.
Bytes iconDib(int side, int bitsPerPixel, const Bytes& paletteAndRows, const Bytes& mask) {
    return infoHeader(side, side * 2, bitsPerPixel) + paletteAndRows + mask;
}

Bytes solidIconDib24(int side, Colour c) {
    const Bytes rows = dibRows24(side, side, std::vector<Colour>(size_t(side * side), c));
    return iconDib(side, 24, rows, Bytes(size_t(side) * size_t((side + 31) / 32 * 4), '\0'));
}

Bytes solidIconDib4(int side, Colour c) {
    const size_t rowBytes = size_t((side * 4 + 31) / 32 * 4);
    return iconDib(side, 4, dibPalette({c}) + Bytes(15 * 4, '\0') + Bytes(rowBytes * size_t(side), '\0'),
                   Bytes(size_t(side) * 4, '\0'));
}

TEST(PictureDecodeTest, IcoTakesTheEntryClosestToSixteenAndTheDeepestAmongEquals) {
    struct Case {
        const char* name;
        std::vector<IcoEntry> entries;
        Colour expected;
    } cases[] = {
        {"16 after 32", {{32, 32, 24, solidIconDib24(32, green)}, {16, 16, 24, solidIconDib24(16, red)}}, red},
        {"16 before 48", {{16, 16, 24, solidIconDib24(16, red)}, {48, 48, 24, solidIconDib24(48, green)}}, red},
        {"24 nearer than 48", {{48, 48, 24, solidIconDib24(48, green)}, {24, 24, 24, solidIconDib24(24, blue)}}, blue},
        {"deeper of two 16s", {{16, 16, 0, solidIconDib4(16, green)}, {16, 16, 0, solidIconDib24(16, red)}}, red},
        {"256 written as 0", {{0, 0, 24, solidIconDib24(256, green)}, {32, 32, 24, solidIconDib24(32, blue)}}, blue},
        {"PNG entry", {{16, 16, 32, pngRgba(16, 16, std::vector<std::uint8_t>(16 * 16 * 4, 0x80))}}, rgb(191, 191, 191)},
    };
    for (const Case& c : cases) {
        const std::optional<Picture> p = decodePicture(icoFile(c.entries));
        ASSERT_TRUE(p) << c.name;
        EXPECT_EQ(p->pixels[0], c.expected) << c.name << ": " << std::hex << p->pixels[0];
    }
    // A cursor file has the same layout with type 2.
    EXPECT_EQ(decodedPixels(icoFile({{16, 16, 24, solidIconDib24(16, red)}}, 2)), std::vector<Colour>(256, red));
}

TEST(PictureDecodeTest, IcoTransparencyFromTheAndMaskOrTheAlphaBytes) {
    // 2 x 2, top row red, green, bottom row blue, black; the mask marks the top-left pixel.
    const Bytes rows = dibRows24(2, 2, {red, green, blue, black});
    const Bytes mask = Bytes("\0\0\0\0", 4) + Bytes("\x80\0\0\0", 4);  // bottom row first
    EXPECT_EQ(decodedPixels(icoFile({{2, 2, 24, iconDib(2, 24, rows, mask)}})), (std::vector<Colour>{white, green, blue, black}));

    // 32-bit rows with alpha ignore the mask: alpha 0 is white, 255 the colour, 128 halfway.
    const Bytes alphaRows = rows32({0xFF0000FF, 0x00000000, 0x80000000, 0xFF00FF00});
    EXPECT_EQ(decodedPixels(icoFile({{2, 2, 32, iconDib(2, 32, alphaRows, mask)}})),
              (std::vector<Colour>{rgb(127, 127, 127), green, blue, white}));

    // 32-bit rows whose alpha is zero throughout are opaque, and the mask decides.
    const Bytes noAlphaRows = rows32({0xFF, 0x00, 0xFF0000, 0x00FF00});
    EXPECT_EQ(decodedPixels(icoFile({{2, 2, 32, iconDib(2, 32, noAlphaRows, mask)}})), (std::vector<Colour>{white, green, blue, black}));
}

// PCX header: version 5, RLE, the given depth, planes and bytes per line.
Bytes pcxHeader(int width, int height, int bitsPerPixel, int planes, int bytesPerLine, const Bytes& palette16 = {}) {
    Bytes h(128, '\0');
    h[0] = 0x0A, h[1] = 5, h[2] = 1, h[3] = char(bitsPerPixel);
    h.replace(8, 2, le16(std::uint32_t(width - 1)));
    h.replace(10, 2, le16(std::uint32_t(height - 1)));
    h.replace(16, palette16.size(), palette16);
    h[65] = char(planes);
    h.replace(66, 2, le16(std::uint32_t(bytesPerLine)));
    return h;
}

TEST(PictureDecodeTest, PcxIndexedTrueColourAndPlanar) {
    Bytes vga = "\x0C" + Bytes("\xFF\0\0\0\xFF\0", 6) + Bytes(768 - 6, '\0');
    // Two lines of 2: indices 0 1 raw, then a run of two 1s.
    EXPECT_EQ(decodedPixels(pcxHeader(2, 2, 8, 1, 2) + Bytes("\x00\x01\xC2\x01", 4) + vga), (std::vector<Colour>{red, green, green, green}));
    // Three planes of 8 bits: red plane 255 0, green 0 0, blue 0 255; 255 must be coded as a run.
    EXPECT_EQ(decodedPixels(pcxHeader(2, 1, 8, 3, 2) + Bytes("\xC1\xFF\x00\x00\x00\x00\xC1\xFF", 8)), (std::vector<Colour>{red, blue}));
    // One plane of 1 bit is black and white.
    EXPECT_EQ(decodedPixels(pcxHeader(4, 1, 1, 1, 2) + Bytes("\xA0\x00", 2)), (std::vector<Colour>{white, black, white, black}));
    // Four planes of 1 bit index the header's 16 colours: pixel 0 has bits of planes 0 and 2.
    Bytes ega(48, '\0');
    ega.replace(15, 3, "\x10\x20\x30");
    EXPECT_EQ(decodedPixels(pcxHeader(2, 1, 1, 4, 1, ega) + Bytes("\x80\x00\x80\x00", 4)), (std::vector<Colour>{rgb(0x10, 0x20, 0x30), black}));
}

Bytes pngChunk(const char* type, const Bytes& data) {
    const Bytes typed = Bytes(type, 4) + data;
    auto be32 = [](std::uint32_t v) { return Bytes{char(v >> 24), char(v >> 16), char(v >> 8), char(v)}; };
    return be32(std::uint32_t(data.size())) + typed + be32(std::uint32_t(crc32(0, reinterpret_cast<const Bytef*>(typed.data()), uInt(typed.size()))));
}

Bytes pngClaiming(std::uint32_t width, std::uint32_t height) {
    auto be32 = [](std::uint32_t v) { return Bytes{char(v >> 24), char(v >> 16), char(v >> 8), char(v)}; };
    return "\x89PNG\r\n\x1A\n" + pngChunk("IHDR", be32(width) + be32(height) + Bytes("\x08\x02\0\0\0", 5)) +
           pngChunk("IDAT", Bytes("\x78\x9C\x03\x00\x00\x00\x00\x01", 8)) + pngChunk("IEND", {});
}

Bytes jpegClaiming(std::uint16_t width, std::uint16_t height) {
    Bytes jpeg = jpegFile(8, 8, std::vector<Colour>(64, red));
    const size_t sof = jpeg.find("\xFF\xC0");
    jpeg[sof + 5] = char(height >> 8), jpeg[sof + 6] = char(height);
    jpeg[sof + 7] = char(width >> 8), jpeg[sof + 8] = char(width);
    return jpeg;
}

Bytes gifScreen(std::uint16_t width, std::uint16_t height) {
    Bytes gif = gifFile(1, 1, {red, green}, {GifFrame{0, 0, 1, 1, {0}, false, -1}});
    gif.replace(6, 4, le16(width) + le16(height));
    return gif;
}

TEST(PictureDecodeTest, HostileHeadersAreRefusedAndConvertToTheOnePixelImage) {
    const Bytes goodPng = pngRgba(16, 16, std::vector<std::uint8_t>(16 * 16 * 4, 0x40));
    const Bytes goodIcon = icoFile({{16, 16, 24, solidIconDib24(16, red)}});
    Bytes countTooLarge = goodIcon;
    countTooLarge.replace(4, 2, le16(1000));
    Bytes entryPastEnd = goodIcon;
    entryPastEnd.replace(6 + 12, 4, le32(std::uint32_t(goodIcon.size())));
    Bytes lengthPastEnd = goodIcon;
    lengthPastEnd.replace(6 + 8, 4, le32(0xFFFFFF00));
    const Bytes rows = dibRows24(4, 4, std::vector<Colour>(16, red));
    const struct {
        const char* name;
        Bytes data;
    } cases[] = {
        {"empty", ""},
        {"HTML page", "<html><body>404 Not Found</body></html>"},
        {"PNG 100000 x 100000", pngClaiming(100000, 100000)},
        {"PNG 5000 x 1", pngClaiming(5000, 1)},
        {"PNG truncated", goodPng.substr(0, goodPng.size() / 2)},
        {"BMP 100000 x 100000", bmpFile(100000, 100000, 24, 0, 0, rows)},
        {"BMP rows beyond the data", bmpFile(4000, 4000, 24, 0, 0, rows)},
        {"BMP pixel offset past the end", bmpFile(4, 4, 24, 0, 0, rows, 0, 0x7FFFFFFF)},
        {"BMP header longer than the data", "BM" + le32(0) + le32(0) + le32(0) + le32(0x7FFFFFFF) + Bytes(40, '\x10')},
        {"BMP 7 bits", bmpFile(4, 4, 7, 0, 0, rows)},
        {"BMP negative width", bmpFile(-4, 4, 24, 0, 0, rows)},
        {"BMP palette past the end", bmpFile(4, 4, 8, 0, 200, Bytes(16, '\0'))},
        {"BMP RLE without its end", bmpFile(4, 4, 8, 1, 0, Bytes(1024, '\0') + Bytes("\x04\x01", 2), 1024)},
        {"BMP RLE top-down", bmpFile(4, -4, 8, 1, 0, Bytes(1024, '\0') + Bytes("\x00\x01", 2), 1024)},
        {"BMP truncated header", Bytes("BM\0\0\0\0\0\0\0\0\x36\0\0\0\x28\0", 16)},
        {"ICO without entries", icoFile({})},
        {"ICO count beyond the directory", countTooLarge},
        {"ICO entry past the end", entryPastEnd},
        {"ICO entry length past the end", lengthPastEnd},
        {"ICO entry 100000 high", icoFile({{16, 16, 24, infoHeader(16, 200000, 24) + rows}})},
        {"ICO directory only", goodIcon.substr(0, 6 + 16)},
        {"GIF screen 65535 x 65535", gifScreen(65535, 65535)},
        {"GIF truncated", gifScreen(1, 1).substr(0, 16)},
        {"JPEG 65000 x 65000", jpegClaiming(65000, 65000)},
        {"JPEG header only", jpegFile(8, 8, std::vector<Colour>(64, red)).substr(0, 20)},
        {"PCX 60000 wide", pcxHeader(60000, 1, 8, 1, 60000) + Bytes(16, '\x01')},
        {"PCX truncated", pcxHeader(64, 64, 8, 1, 64) + Bytes(100, '\x01')},
        {"PCX 3 bits", pcxHeader(2, 2, 3, 1, 2) + Bytes(16, '\x01')},
    };
    const Bytes onePixelBlack = convertImageToBmp("", 16, 16);
    ASSERT_EQ(onePixelBlack.size(), 58u);
    for (const auto& c : cases) {
        EXPECT_FALSE(decodePicture(c.data)) << c.name;
        EXPECT_EQ(convertImageToBmp(c.data, 16, 16), onePixelBlack) << c.name;
    }
}

}  // namespace
}  // namespace ondrel
