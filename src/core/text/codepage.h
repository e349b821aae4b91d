#pragma once
// TEMPORARY STAND-IN until the text branch lands; replaced by its file on merge.
#include <string>
#include <string_view>

#include "text/text.h"

namespace ondrel {
Text urlEncode(std::string_view text, bool keepSafe = false, bool toUtf8 = false);
Text gbkToUtf8(std::string_view text);
Text utf8ToGbk(std::string_view text);
}  // namespace ondrel
