#pragma once
// Removing markup from a value cut out of a page.
#include "text/text.h"

namespace ondrel {

// `text` without its script blocks, style blocks, other tags and character references, all
// deleted, not decoded; tag names match in any case. Everything else stays byte for byte,
// blanks and line breaks included. Safe to call from any number of threads at once.
Text stripHtml(std::string_view text);

}  // namespace ondrel
