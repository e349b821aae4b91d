#pragma once
// Why a cut from a page came out empty, in plain words for the engine author.
#include <string>
#include <string_view>

#include "text/text.h"

namespace ondrel {

// Empty when textBetween(page, prefix, suffix) finds a value; otherwise what is missing:
// "the page is empty", "the prefix ... is not in the page", "no suffix ... after the prefix".
// The quote marker counts as a double quote, as it does when the value is cut.
std::string whyNothingBetween(std::string_view page, std::string_view prefix, std::string_view suffix);

// Why a detail page gave no row; empty when it gave one.
std::string whyNoRow(std::string_view page, const Text& title, const Text& magnetLink, const Text& titlePrefix,
                     const Text& titleSuffix, const Text& magnetPrefix, const Text& magnetSuffix);

}  // namespace ondrel
