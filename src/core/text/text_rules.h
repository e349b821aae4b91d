#pragma once
// The shared text rules every part that searches, cuts or replaces text follows.
#include "text/text.h"

namespace ondrel {

// Position of the first match of `needle` at or after `start` that begins on a character
// boundary (counting characters from `start`), or -1. An empty needle gives 1 when any byte
// remains from `start` on. With `ignoreCase` the 26 ASCII letters fold, nothing else.
int findText(std::string_view text, std::string_view needle, int start = 1, bool ignoreCase = false);

// The bytes from `position` on, at most `length` of them; empty when the position is below 1
// or beyond the end, or the length is 0 or less.
Text midText(std::string_view text, int position, int length);

// `text` with matches of `needle` replaced by `replacement`, from `start` on, character by
// character. `count` < 0 means no limit; 0 leaves the text unchanged.
Text replaceText(std::string_view text, std::string_view needle, std::string_view replacement,
                 int start = 1, int count = -1, bool caseSensitive = false);

}  // namespace ondrel
