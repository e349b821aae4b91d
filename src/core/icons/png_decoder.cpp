// PNG through libpng's simplified reading interface, which takes every colour type and depth
// (palette, grey, grey with alpha, RGB, RGBA; 1 to 16 bits) to 8-bit RGBA for us.
#include <png.h>

#include <cstring>

#include "icons/picture_formats.h"

namespace ondrel {

bool looksLikePng(std::string_view data) { return data.starts_with("\x89PNG\r\n\x1A\n"); }

std::optional<Picture> decodePng(std::string_view data) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data.data(), data.size())) return std::nullopt;
    // The header has been read, nothing allocated for pixels yet.
    if (!pictureSizeAllowed(image.width, image.height)) {
        png_image_free(&image);
        return std::nullopt;
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<png_byte> rgba(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) {
        png_image_free(&image);
        return std::nullopt;
    }
    Picture picture(int(image.width), int(image.height));
    for (size_t i = 0; i < picture.pixels.size(); ++i) {
        const png_byte* p = &rgba[i * 4];
        picture.pixels[i] = overWhite(p[0], p[1], p[2], p[3]);
    }
    return picture;
}

}  // namespace ondrel
