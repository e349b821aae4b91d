#include "icons/picture.h"

#include "icons/picture_formats.h"

namespace ondrel {

Colour overWhite(unsigned red, unsigned green, unsigned blue, unsigned alpha) {
    auto blend = [alpha](unsigned c) { return (c * alpha + 255 * (255 - alpha) + 127) / 255; };
    return rgb(blend(red), blend(green), blend(blue));
}

bool pictureSizeAllowed(std::int64_t width, std::int64_t height) {
    return width >= 1 && height >= 1 && width <= maxPictureSide && height <= maxPictureSide;
}

std::optional<Picture> decodePicture(std::string_view data) {
    if (looksLikePng(data)) return decodePng(data);
    if (looksLikeIco(data)) return decodeIco(data);
    if (looksLikeBmp(data)) return decodeBmp(data);
    if (looksLikeGif(data)) return decodeGif(data);
    if (looksLikeJpeg(data)) return decodeJpeg(data);
    if (looksLikePcx(data)) return decodePcx(data);
    return std::nullopt;
}

}  // namespace ondrel
