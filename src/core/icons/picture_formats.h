#pragma once
// One decoder per picture format; decodePicture picks among them by the data's first bytes.
// Each takes the whole data of its format and yields nothing for anything it cannot read.
#include <optional>
#include <string_view>

#include "icons/picture.h"

namespace ondrel {

bool looksLikeIco(std::string_view data);  // icons and cursors
bool looksLikeBmp(std::string_view data);
bool looksLikeGif(std::string_view data);
bool looksLikeJpeg(std::string_view data);
bool looksLikePng(std::string_view data);
bool looksLikePcx(std::string_view data);

std::optional<Picture> decodeIco(std::string_view data);
std::optional<Picture> decodeBmp(std::string_view data);
std::optional<Picture> decodeGif(std::string_view data);
std::optional<Picture> decodeJpeg(std::string_view data);
std::optional<Picture> decodePng(std::string_view data);
std::optional<Picture> decodePcx(std::string_view data);

}  // namespace ondrel
