// urlEncode on any bytes: every output byte is a safe character or part of a "%XX", and
// decoding the result gives back the bytes that were encoded.
#include <cstdlib>

#include "text/codepage.h"

using namespace ondrel;

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool safe(unsigned char c) {
    return c == '-' || c == '.' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The bytes behind an encoded text; aborts on anything a conforming encoder cannot produce.
std::string decode(const Text& encoded, bool keepSafe) {
    std::string out;
    for (size_t i = 0; i < encoded.size();) {
        if (encoded[i] == '%') {
            if (i + 2 >= encoded.size()) abort();
            int hi = hexValue(encoded[i + 1]), lo = hexValue(encoded[i + 2]);
            if (hi < 0 || lo < 0) abort();
            out.push_back(char(hi * 16 + lo));
            i += 3;
        } else {
            if (!keepSafe || !safe(static_cast<unsigned char>(encoded[i]))) abort();
            out.push_back(encoded[i++]);
        }
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Text text = textFromBytes(bytes);
    for (bool keepSafe : {false, true}) {
        if (decode(urlEncode(bytes, keepSafe, false), keepSafe) != text) abort();
        if (decode(urlEncode(bytes, keepSafe, true), keepSafe) != gbkToUtf8(text)) abort();
    }
    return 0;
}
