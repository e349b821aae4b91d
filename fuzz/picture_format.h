#pragma once
// What every picture-format target checks: one decoder on any bytes, no crash, no runaway
// allocation, and a decoded picture within the size limit whose pixels fill it exactly.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "icons/picture.h"

inline int fuzzPictureDecoder(const uint8_t* data, size_t size,
                              std::optional<ondrel::Picture> (*decode)(std::string_view)) {
    const std::optional<ondrel::Picture> picture = decode(std::string_view(reinterpret_cast<const char*>(data), size));
    if (picture && (!ondrel::pictureSizeAllowed(picture->width, picture->height) ||
                    picture->pixels.size() != size_t(picture->width) * size_t(picture->height)))
        abort();
    return 0;
}
