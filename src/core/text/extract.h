#pragma once
// Cutting values out of a page between a literal prefix and a literal suffix, and putting
// values into texts by literal replacement.
#include <vector>

#include "text/text.h"

namespace ondrel {

// Inside the prefix and suffix given to textBetween, this stands for one double quote.
inline constexpr std::string_view quoteMarker = "#\xD2\xFD\xBA\xC5";  // "#引号"

// The text between the first `prefix` at or after `start` and the first `suffix` after it;
// empty when either is missing.
Text textBetween(std::string_view text, std::string_view prefix, std::string_view suffix,
                 int start = 1, bool ignoreCase = false);

struct AllTextsOptions {
    bool ignoreCase = false;
    int maxLength = 0;  // 0: no limit; a piece of maxLength bytes or more is dropped
    Text before{};      // put before each piece
    Text after{};       // put after each piece
    bool keepPrefix = false;
    bool keepSuffix = false;
    int start = 1;
};

// The values one allTextsBetween call cuts add up to at most this many bytes. Pieces may
// overlap, so a prefix that recurs before a distant suffix (a million "&" and then one ";")
// would otherwise cut a quadratic amount of text from a page and exhaust memory. The bound is
// the largest page a request accepts: pieces that do not overlap never come near it.
inline constexpr size_t maxCutBytes = 32u << 20;

// Every value between `prefix` and `suffix` in page order into `out` (emptied first); each
// pass looks for the next prefix right after the previous one, so pieces may overlap. The
// collection ends early once the values cut reach maxCutBytes in all. Returns the number of
// pieces.
int allTextsBetween(std::string_view text, std::string_view prefix, std::string_view suffix,
                    std::vector<Text>& out, const AllTextsOptions& options = {});

struct ReplacePair {
    Text search;
    Text replacement;
};

// Up to five search/replacement pairs applied in order, each to the result of the ones before.
// `count` < 0: no limit.
Text replacePairs(std::string_view text, const std::vector<ReplacePair>& pairs, int count = -1,
                  int start = 1, bool caseSensitive = false);

}  // namespace ondrel
