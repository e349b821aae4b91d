#pragma once
// A fetched page as the search cuts it: its text with every line break as CR LF.
#include <string_view>

#include "text/text.h"

namespace ondrel {

// Every line break of `text` (CR LF, a lone CR, a lone LF) as CR LF; all other bytes as they are.
Text withCrLfLineBreaks(std::string_view text);

// The text a page's body reads back as: up to its first NUL byte, line breaks as CR LF, and
// converted from UTF-8 when `fromUtf8`. The bytes stay untouched until the conversion, so a
// UTF-8 page reaches it whole.
Text pageText(std::string_view body, bool fromUtf8);

}  // namespace ondrel
