#pragma once
// How many result pages a search page announces.
#include <string_view>

#include "text/text.h"

namespace ondrel {

// The number at the start of a text: full-width forms of the ASCII characters and the
// ideographic space read as their ASCII counterparts, leading blanks are skipped, then an
// optional sign and the decimal digits after it are read up to the first other character.
// No digits give 0; a number beyond the 32-bit range is held at its limit.
int leadingInteger(std::string_view text);

// The result pages to fetch for the page-count text cut from a search page: an empty text
// means 5 pages, "0" means 1, anything else its leading integer.
int pageCountFromText(std::string_view countText);

}  // namespace ondrel
