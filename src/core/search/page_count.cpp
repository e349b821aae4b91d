#include "search/page_count.h"

#include <climits>

namespace ondrel {
namespace {

// Full-width forms U+FF01..U+FF5E are the two-byte characters A3 A1 .. A3 FE, in ASCII
// order from "!"; the ideographic space is A1 A1.
Text withFullWidthAsAscii(std::string_view text) {
    Text out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(text[i]);
        if (!isLeadByte(b) || i + 1 == text.size()) {
            out.push_back(char(b));
            continue;
        }
        const unsigned char trail = static_cast<unsigned char>(text[i + 1]);
        if (b == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
            out.push_back(char(trail - 0x80));
        } else if (b == 0xA1 && trail == 0xA1) {
            out.push_back(' ');
        } else {
            out.append(text.substr(i, 2));
        }
        ++i;
    }
    return out;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

int leadingInteger(std::string_view text) {
    const Text ascii = withFullWidthAsAscii(text);
    size_t i = 0;
    while (i < ascii.size() && isBlank(ascii[i])) ++i;
    bool negative = false;
    if (i < ascii.size() && (ascii[i] == '+' || ascii[i] == '-')) negative = ascii[i++] == '-';
    long long value = 0;
    for (; i < ascii.size() && ascii[i] >= '0' && ascii[i] <= '9'; ++i) {
        value = value * 10 + (ascii[i] - '0');
        if (value > INT_MAX) value = INT_MAX + 1LL;  // held here so it cannot overflow
    }
    if (negative) return value > INT_MAX ? INT_MIN : int(-value);
    return value > INT_MAX ? INT_MAX : int(value);
}

int pageCountFromText(std::string_view countText) {
    if (countText.empty()) return 5;
    if (countText == "0") return 1;
    return leadingInteger(countText);
}

}  // namespace ondrel
