#pragma once
// What the result lists may hand to the system's handler. A page can put any text into the
// magnet column (a file path, a script address); the handler would open whatever it gets.
#include "text/text.h"

namespace ondrel {

// True when the text begins with "magnet:?", letter case ignored.
bool isMagnetLink(const Text& text);

}  // namespace ondrel
