#pragma once
// TEMPORARY STAND-IN until the text branch lands; replaced by its file on merge.
#include "text/text.h"
namespace ondrel {
Text stripHtml(std::string_view text);
}
