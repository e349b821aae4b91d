// Conversion of picture data to the 16 x 16 BMP file image: which source pixels the
// nearest-neighbour resize keeps, the exact bytes of both results, and the in-memory bitmap.
#include <gtest/gtest.h>

#include "icons/bitmap_image.h"
#include "icons/blank_icon.h"
#include "icons/bmp_conversion.h"
#include "icons/pixel_resizer.h"
#include "picture_fixtures.h"

namespace ondrel {
namespace {

using namespace fixtures;

// A square BMP whose pixel in column x, row y (from 1) has red x and green y.
Bytes coordinatePicture(int side) {
    std::vector<Colour> pixels;
    for (int y = 1; y <= side; ++y)
        for (int x = 1; x <= side; ++x) pixels.push_back(rgb(unsigned(x), unsigned(y), 7));
    return bmpFile(side, side, 24, 0, 0, dibRows24(side, side, pixels));
}

TEST(BitmapConvertTest, NearestNeighbourKeepsTheListedSourceColumnsAndRows) {
    const struct {
        int side;
        std::vector<int> kept;  // the source column (and row) behind each of the 16 target ones
    } cases[] = {
        {16, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}},
        {32, {2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30, 32}},
        {48, {3, 6, 9, 12, 15, 18, 21, 24, 27, 30, 33, 36, 39, 42, 45, 48}},
        {8, {1, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8}},
        {10, {1, 1, 1, 2, 3, 3, 4, 5, 5, 6, 6, 7, 8, 8, 9, 10}},
        {17, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}},  // column 17 never used
    };
    for (const auto& c : cases) {
        BitmapImage result;
        ASSERT_TRUE(result.loadFromBmpBytes(convertImageToBmp(coordinatePicture(c.side), 16, 16))) << c.side;
        ASSERT_EQ(result.imageWidth(), 16);
        for (int y = 1; y <= 16; ++y)
            for (int x = 1; x <= 16; ++x)
                ASSERT_EQ(result.getPixel(x - 1, y - 1), rgb(unsigned(c.kept[size_t(x - 1)]), unsigned(c.kept[size_t(y - 1)]), 7))
                    << "source " << c.side << " target " << x << "," << y;
    }
}

TEST(BitmapConvertTest, SixteenBySixteenResultByteLayout) {
    std::vector<Colour> pixels(256, rgb(0x11, 0x22, 0x33));
    pixels[0] = rgb(0xAA, 0xBB, 0xCC);    // top-left
    pixels[240] = rgb(0x01, 0x02, 0x03);  // bottom-left
    const Bytes bmp = convertImageToBmp(bmpFile(16, 16, 24, 0, 0, dibRows24(16, 16, pixels)), 16, 16);
    ASSERT_EQ(bmp.size(), 822u);
    const Bytes headers = "BM" + le32(822) + le32(0) + le32(54) + infoHeader(16, 16, 24);
    EXPECT_EQ(bmp.substr(0, 54), headers);
    // The bottom row comes first, each pixel blue, green, red, 48 bytes a row with no padding.
    EXPECT_EQ(bmp.substr(54, 6), Bytes("\x03\x02\x01\x33\x22\x11", 6));
    EXPECT_EQ(bmp.substr(54 + 15 * 48, 3), Bytes("\xCC\xBB\xAA", 3));
}

TEST(BitmapConvertTest, UnreadableDataGivesTheOnePixelBlackImageByteForByte) {
    const Bytes expected = Bytes("BM\x3A\0\0\0\0\0\0\0\x36\0\0\0", 14) +
                           Bytes("\x28\0\0\0\x01\0\0\0\x01\0\0\0\x01\0\x18\0", 16) + Bytes(24, '\0') + Bytes(4, '\0');
    ASSERT_EQ(expected.size(), 58u);
    for (const Bytes& input : {Bytes(), Bytes("<html><head><title>Moved</title></head></html>"), Bytes("GIF89a")})
        EXPECT_EQ(convertImageToBmp(input, 16, 16), expected);
    // A size no picture has is refused the same way.
    EXPECT_EQ(convertImageToBmp(coordinatePicture(16), 0, 16), expected);
    EXPECT_EQ(convertImageToBmp(coordinatePicture(16), -16, -16), expected);
}

TEST(BitmapConvertTest, BlankIconIsAnEightyFourBytePngThatConvertsToWhite) {
    const Bytes& png = blankIconPng();
    EXPECT_EQ(png.size(), 84u);
    EXPECT_TRUE(png.starts_with("\x89PNG\r\n\x1A\n"));
    const Bytes bmp = convertImageToBmp(png, 16, 16);
    ASSERT_EQ(bmp.size(), 822u);
    EXPECT_EQ(bmp.substr(54), Bytes(768, '\xFF'));
}

TEST(BitmapConvertTest, AveragingTakesTheMeanOfEachBlock) {
    // 32 x 32 in 2 x 2 blocks of black and white columns: every block averages to 127.
    std::vector<Colour> pixels;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) pixels.push_back(x % 2 == 0 ? 0 : white);
    BitmapImage result;
    ASSERT_TRUE(result.loadFromBmpBytes(convertImageToBmp(bmpFile(32, 32, 24, 0, 0, dibRows24(32, 32, pixels)), 16, 16, true)));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) ASSERT_EQ(result.getPixel(x, y), rgb(127, 127, 127));
    // Enlarging repeats each source pixel.
    PixelArray out;
    ASSERT_TRUE(PixelResizer().resizeAveraging({1, 2}, 2, 1, 4, 1, out));
    EXPECT_EQ(out, (PixelArray{1, 1, 2, 2}));
}

TEST(BitmapConvertTest, ResizersRefuseAndLeaveTheResultAsItWas) {
    const PixelResizer resizer;
    const struct {
        const char* name;
        PixelArray source;
        int sourceWidth, sourceHeight, width, height;
    } cases[] = {
        {"empty source", {}, 0, 0, 16, 16},
        {"source shorter than its size", {1, 2, 3}, 2, 2, 16, 16},
        {"empty target", {1, 2, 3, 4}, 2, 2, 0, 16},
        {"negative target", {1, 2, 3, 4}, 2, 2, -4, -4},
    };
    for (const auto& c : cases) {
        PixelArray result = {42};
        EXPECT_FALSE(resizer.resizeNearest(c.source, c.sourceWidth, c.sourceHeight, c.width, c.height, result)) << c.name;
        EXPECT_FALSE(resizer.resizeAveraging(c.source, c.sourceWidth, c.sourceHeight, c.width, c.height, result)) << c.name;
        EXPECT_EQ(result, PixelArray{42}) << c.name;
    }
    BitmapImage image;
    ASSERT_TRUE(image.createBlank(1, 1, 24));
    EXPECT_FALSE(resizer.writePixels(image, {1, 2, 3}, 2, 2));
    EXPECT_EQ(image.imageWidth(), 1);
    PixelArray untouched = {7};
    EXPECT_FALSE(resizer.readPixels(BitmapImage(), untouched));
    EXPECT_EQ(untouched, PixelArray{7});
    EXPECT_EQ(resizer.pixelAt({5, 6, 7, 8}, 2, 1, 2), 7u);
    EXPECT_EQ(resizer.pixelAt({5, 6, 7, 8}, 2, 1, 3), 0u);
}

TEST(BitmapImageTest, PixelsAtEveryDepthAndTheDefaultPalettes) {
    for (int bits : {1, 4, 8, 16, 24, 32}) {
        BitmapImage image;
        ASSERT_TRUE(image.createBlank(3, 2, bits)) << bits;
        EXPECT_EQ(image.imageBytes().size(), 40 + size_t(BitmapImage::paletteEntriesFor(bits)) * 4 + 2 * BitmapImage::rowBytesFor(3 * bits));
        EXPECT_TRUE(image.setPixel(2, 1, white));
        EXPECT_TRUE(image.setPixel(1, 0, rgb(0xFF, 0, 0)));
        EXPECT_EQ(image.getPixel(2, 1), white) << bits;
        EXPECT_EQ(image.getPixel(0, 0), 0u) << bits;
        if (bits != 1) {
            EXPECT_EQ(image.getPixel(1, 0), rgb(0xFF, 0, 0)) << bits;
        }
        EXPECT_FALSE(image.setPixel(3, 0, white));
        EXPECT_EQ(image.getPixel(0, 2), invalidColour);
    }
    BitmapImage image;
    EXPECT_FALSE(image.prepareImage(4, 4, 7));
    EXPECT_TRUE(image.empty());
    // The 256-colour palette: the fixed colours, then the colour cube, then the fixed colours.
    const Bytes& p = image.defaultPalette(8);
    ASSERT_EQ(p.size(), 1024u);
    EXPECT_EQ(p.substr(9 * 4, 4), Bytes("\xF0\xCA\xA6\0", 4));
    EXPECT_EQ(p.substr(77 * 4, 4), Bytes("\x40\x20\xA0\0", 4));  // red 0x20*5, green 0x20*1, blue 0x40*1
    EXPECT_EQ(p.substr(246 * 4, 4), Bytes("\xF0\xFB\xFF\0", 4));
    EXPECT_EQ(image.defaultPalette(4).substr(1 * 4, 4), Bytes("\0\0\x80\0", 4));
}

TEST(BitmapImageTest, BmpFileImageRoundTripAndShortFilesRefused) {
    BitmapImage image;
    ASSERT_TRUE(image.createBlank(5, 3, 8));
    image.setPixel(4, 2, rgb(0, 0xFF, 0));
    const Bytes file = image.toBmpFileBytes();
    EXPECT_EQ(file.substr(10, 4), le32(54 + 1024));
    BitmapImage copy;
    ASSERT_TRUE(copy.loadFromBmpBytes(file));
    EXPECT_EQ(copy.imageBytes(), image.imageBytes());
    EXPECT_EQ(copy.getPixel(4, 2), rgb(0, 0xFF, 0));
    // The rows come from the end of the data: without room for the palette the default one
    // stands, without room for the rows the file is refused.
    ASSERT_TRUE(copy.loadFromBmpBytes(file.substr(0, file.size() - 1)));
    EXPECT_EQ(copy.imageWidth(), 5);
    EXPECT_FALSE(copy.loadFromBmpBytes(file.substr(0, 54 + image.pixelRowsSize() - 1)));
    EXPECT_TRUE(copy.empty());
    EXPECT_FALSE(copy.loadFromBmpBytes(file.substr(0, 54)));
}

}  // namespace
}  // namespace ondrel
