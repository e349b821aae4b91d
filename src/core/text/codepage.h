#pragma once
// Percent-encoding of keywords and the character-set conversions between the program's text,
// UTF-8 and UTF-16.
//
// Code page 936 names the program's own text. It is converted as GB18030, a superset of GBK
// that reads every GBK byte string unchanged and also covers the characters GBK lacks, so a
// UTF-8 page with Korean, Japanese or emoji in it loses nothing on the way in. Each conversion
// is pure and may run on any number of threads at once. Every input is taken as text: up to its
// first NUL. A byte sequence that is not valid in its code page becomes one replacement
// character (U+FFFD) per bad sequence; the valid characters around it stay.
#include <string>
#include <string_view>
#include <vector>

#include "text/text.h"

namespace ondrel {

inline constexpr int codePageGbk = 936;
inline constexpr int codePageUtf8 = 65001;

// Every byte as "%XX" (capital hex digits), except, with `keepSafe`, the 64 bytes "-", ".",
// digits and ASCII letters, which stand as they are. With `toUtf8` the text's UTF-8 bytes
// are encoded instead of its own.
Text urlEncode(std::string_view text, bool keepSafe = false, bool toUtf8 = false);

Text gbkToUtf8(std::string_view text);
Text utf8ToGbk(std::string_view text);

// The program's text as UTF-8, with where each of its ASCII runs starts on both sides, so that a
// position found in the UTF-8 at an ASCII character leads back to the same byte of the text.
struct MappedUtf8 {
    struct Run {
        size_t utf8;
        size_t text;
    };
    Text utf8;
    std::vector<Run> asciiRuns;
};
MappedUtf8 gbkToMappedUtf8(std::string_view text);

// Code pages other than 936 and 65001 are looked up by their "CPnnn" name; an unknown one
// gives the empty result.
std::u16string toUtf16(std::string_view text, int codePage = codePageUtf8);
// Characters the code page cannot represent become "?".
Text fromUtf16(std::u16string_view text, int codePage = codePageGbk);

}  // namespace ondrel
