// The code-page conversions on any bytes: no crash, and the round trips that must hold. Every
// program text reaches UTF-8 and comes back unchanged when it was valid GB18030; every UTF-8
// result is valid UTF-8; no code page, known or not, makes a conversion fail.
#include <cstdlib>

#include "fuzz_input.h"
#include "text/codepage.h"

using namespace ondrel;

namespace {

constexpr std::string_view replacement = "\xEF\xBF\xBD";  // U+FFFD

bool validUtf8(std::string_view s) {
    const std::u16string wide = toUtf16(s, codePageUtf8);
    for (char16_t c : wide)
        if (c == u'\uFFFD') return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto parts = splitFuzzInput(data, size, 2);
    const Text& text = parts[0];
    const Text& other = parts[1];

    // Without a replacement character in it, the UTF-8 of a text is valid and converts back to
    // the same text.
    const Text utf8 = gbkToUtf8(text);
    if (utf8.find(replacement) == Text::npos && (!validUtf8(utf8) || utf8ToGbk(utf8) != text)) abort();
    // GB18030 covers all of Unicode: valid UTF-8 comes back from the program's text unchanged.
    const Text fromUtf8 = utf8ToGbk(text);
    if (validUtf8(text) && gbkToUtf8(fromUtf8) != text) abort();
    if (fromUtf8.find('\0') != Text::npos || utf8.find('\0') != Text::npos) abort();

    const MappedUtf8 mapped = gbkToMappedUtf8(text);
    if (mapped.utf8 != utf8) abort();
    for (const auto& run : mapped.asciiRuns)
        if (run.utf8 > mapped.utf8.size() || run.text > text.size()) abort();

    (void)fromUtf16(toUtf16(text, codePageGbk), codePageUtf8);
    (void)fromUtf16(toUtf16(other, codePageUtf8), codePageGbk);
    // An unknown or odd code page is an empty result, never a failure.
    const int codePage = other.empty() ? 1252 : 1250 + static_cast<unsigned char>(other[0]) % 10;
    (void)fromUtf16(toUtf16(text, codePage), codePage);
    return 0;
}
