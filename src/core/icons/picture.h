#pragma once
// A decoded picture: what the picture decoder turns picture data into, before it becomes a
// bitmap. Every pixel is opaque; the decoders lay transparent and part-transparent pixels over
// white, the background a tab icon is drawn on.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace ondrel {

// A colour as the bitmaps hold it: 0x00BBGGRR, red in the low byte.
using Colour = std::uint32_t;

constexpr Colour rgb(unsigned red, unsigned green, unsigned blue) {
    return Colour(red & 0xFF) | Colour(green & 0xFF) << 8 | Colour(blue & 0xFF) << 16;
}
constexpr unsigned redOf(Colour c) { return c & 0xFF; }
constexpr unsigned greenOf(Colour c) { return (c >> 8) & 0xFF; }
constexpr unsigned blueOf(Colour c) { return (c >> 16) & 0xFF; }

constexpr Colour white = 0xFFFFFF;

// A colour with an alpha (0 transparent .. 255 opaque) laid over white.
Colour overWhite(unsigned red, unsigned green, unsigned blue, unsigned alpha);

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Colour> pixels;  // row after row from the top, each row from the left

    Picture() = default;
    // A picture of that size, every pixel `fill`. The size must have passed pictureSizeAllowed.
    Picture(int w, int h, Colour fill = white) : width(w), height(h), pixels(size_t(w) * size_t(h), fill) {}
    Colour& at(int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

// No site icon is anywhere near this big; a header that claims more is refused before any
// pixel memory is taken, so a few hostile bytes cannot make the decoder allocate gigabytes.
constexpr int maxPictureSide = 4096;
bool pictureSizeAllowed(std::int64_t width, std::int64_t height);

// Recognises the data by its first bytes: ICO, CUR, BMP, GIF, JPEG, PNG or PCX. Nothing for
// data it cannot read, whatever the reason.
std::optional<Picture> decodePicture(std::string_view data);

}  // namespace ondrel
