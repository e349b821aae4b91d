#include "text/codepage.h"

#include <iconv.h>

#include <bit>
#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

namespace ondrel {
namespace {

constexpr const char* programCharset = "GB18030";
constexpr const char* utf8Charset = "UTF-8";
constexpr const char* utf16Charset = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

std::string charsetOf(int codePage) {
    if (codePage == codePageGbk || codePage == 54936) return programCharset;
    if (codePage == codePageUtf8) return utf8Charset;
    return "CP" + std::to_string(codePage);
}

// Converters are opened once per thread and direction: an iconv descriptor keeps state and
// must not be shared between threads, and opening one costs far more than a short keyword.
class ConverterCache {
public:
    ~ConverterCache() {
        for (const Entry& e : entries_) iconv_close(e.cd);
    }

    // A converter from `from` to `to` in its initial state, or nullptr when iconv knows neither.
    iconv_t get(const std::string& from, const std::string& to) {
        for (const Entry& e : entries_) {
            if (e.from == from && e.to == to) {
                iconv(e.cd, nullptr, nullptr, nullptr, nullptr);
                return e.cd;
            }
        }
        iconv_t cd = iconv_open(to.c_str(), from.c_str());
        if (cd == iconv_t(-1)) return nullptr;
        entries_.push_back({from, to, cd});
        return cd;
    }

private:
    struct Entry {
        std::string from, to;
        iconv_t cd;
    };
    std::vector<Entry> entries_;
};

thread_local ConverterCache converters;

// Length of the UTF-8 character at the start of `s` when it is valid, else of the longest
// start of a valid sequence there (at least 1): the part one replacement character stands for.
size_t utf8SequenceLength(std::string_view s) {
    const auto b0 = static_cast<unsigned char>(s[0]);
    unsigned lo = 0x80, hi = 0xBF;
    size_t need;
    if (b0 < 0x80) return 1;
    if (b0 >= 0xC2 && b0 <= 0xDF) need = 1;
    else if (b0 == 0xE0) need = 2, lo = 0xA0;
    else if (b0 == 0xED) need = 2, hi = 0x9F;
    else if (b0 >= 0xE1 && b0 <= 0xEF) need = 2;
    else if (b0 == 0xF0) need = 3, lo = 0x90;
    else if (b0 == 0xF4) need = 3, hi = 0x8F;
    else if (b0 >= 0xF1 && b0 <= 0xF3) need = 3;
    else return 1;
    size_t i = 1;
    for (; i <= need && i < s.size(); ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < lo || b > hi) break;
        lo = 0x80, hi = 0xBF;
    }
    return i;
}

size_t utf16SequenceLength(std::string_view s) {
    if (s.size() < 4) return 2;
    char16_t first, second;
    std::memcpy(&first, s.data(), 2);
    std::memcpy(&second, s.data() + 2, 2);
    const bool pair = first >= 0xD800 && first <= 0xDBFF && second >= 0xDC00 && second <= 0xDFFF;
    return pair ? 4 : 2;
}

// How many input bytes a character the converter refused stands for.
size_t refusedLength(std::string_view rest, const std::string& from) {
    if (from == utf8Charset) return utf8SequenceLength(rest);
    if (from == utf16Charset) return std::min(rest.size(), utf16SequenceLength(rest));
    return 1;
}

std::string replacementIn(const std::string& to) {
    if (to == utf8Charset) return "\xEF\xBF\xBD";
    if (to == programCharset) return "\x84\x31\xA4\x37";
    if (to == utf16Charset) {
        const char16_t r = 0xFFFD;
        return std::string(reinterpret_cast<const char*>(&r), 2);
    }
    return "?";
}

// Converts all of `in`, replacing what the converter refuses; false when iconv lacks a charset.
bool convertInto(std::string_view in, const std::string& from, const std::string& to, std::string& out) {
    iconv_t cd = converters.get(from, to);
    if (!cd) return false;
    const std::string replacement = replacementIn(to);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    // iconv writes into a fixed buffer that is appended from; growing `out` to the worst case
    // before every call would cost the whole rest of the input at each bad byte.
    char buffer[16384];
    while (srcLeft > 0) {
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        const size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        const int error = rc == size_t(-1) ? errno : 0;
        out.append(buffer, size_t(dst - buffer));
        if (error == EILSEQ || error == EINVAL) {
            const size_t skip = refusedLength(std::string_view(src, srcLeft), from);
            out += replacement;
            src += skip;
            srcLeft -= skip;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        } else if (error != 0 && error != E2BIG) {
            break;
        }
    }
    return true;
}

size_t asciiRunEnd(std::string_view s, size_t i) {
    constexpr uint64_t highBits = 0x8080808080808080ull;
    while (i + 8 <= s.size()) {
        uint64_t word;
        std::memcpy(&word, s.data() + i, 8);
        if (word & highBits) break;
        i += 8;
    }
    while (i < s.size() && static_cast<unsigned char>(s[i]) < 0x80) ++i;
    return i;
}

bool inRange(std::string_view s, size_t i, unsigned char lo, unsigned char hi) {
    return i < s.size() && static_cast<unsigned char>(s[i]) >= lo && static_cast<unsigned char>(s[i]) <= hi;
}

// Length of the program-text character at `i` (a byte of 0x80 or above): 2 or 4 when a valid
// GB18030 sequence starts there, else 1, so that an ASCII byte after a bad lead byte stays ASCII.
size_t programCharLength(std::string_view s, size_t i) {
    if (!inRange(s, i, 0x81, 0xFE)) return 1;
    if (inRange(s, i + 1, 0x40, 0x7E) || inRange(s, i + 1, 0x80, 0xFE)) return 2;
    if (inRange(s, i + 1, 0x30, 0x39) && inRange(s, i + 2, 0x81, 0xFE) && inRange(s, i + 3, 0x30, 0x39)) return 4;
    return 1;
}

// End of the run of non-ASCII characters starting at `i`. In GB18030 a character's later
// bytes may lie in the ASCII range, so the run steps over whole characters.
size_t foreignRunEnd(std::string_view s, size_t i, bool fromProgramText) {
    while (i < s.size() && static_cast<unsigned char>(s[i]) >= 0x80) i += fromProgramText ? programCharLength(s, i) : 1;
    return i;
}

// Conversion between two charsets that both write ASCII as itself: ASCII runs, most of a
// web page, are copied without passing through iconv.
Text convertAsciiCompatible(std::string_view in, const std::string& from, const std::string& to,
                            std::vector<MappedUtf8::Run>* asciiRuns = nullptr) {
    in = in.substr(0, in.find('\0'));
    Text out;
    out.reserve(in.size() + in.size() / 2);
    const bool fromProgramText = from == programCharset;
    for (size_t i = 0; i < in.size();) {
        const size_t asciiEnd = asciiRunEnd(in, i);
        if (asciiRuns && asciiEnd > i) asciiRuns->push_back({out.size(), i});
        out.append(in.substr(i, asciiEnd - i));
        if (asciiEnd == in.size()) break;
        const size_t foreignEnd = foreignRunEnd(in, asciiEnd, fromProgramText);
        convertInto(in.substr(asciiEnd, foreignEnd - asciiEnd), from, to, out);
        i = foreignEnd;
    }
    return out;
}

}  // namespace

Text urlEncode(std::string_view text, bool keepSafe, bool toUtf8) {
    text = text.substr(0, text.find('\0'));  // taken as text, like every other conversion
    if (text.empty()) return Text();
    const Text utf8 = toUtf8 ? gbkToUtf8(text) : Text();
    const std::string_view bytes = toUtf8 ? std::string_view(utf8) : text;
    static constexpr char hex[] = "0123456789ABCDEF";
    Text out;
    out.reserve(bytes.size() * 3);
    for (const char c : bytes) {
        const bool safe = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                          c == '-' || c == '.';
        if (keepSafe && safe) {
            out += c;
        } else {
            const auto b = static_cast<unsigned char>(c);
            out += '%';
            out += hex[b >> 4];
            out += hex[b & 0x0F];
        }
    }
    return out;
}

Text gbkToUtf8(std::string_view text) { return convertAsciiCompatible(text, programCharset, utf8Charset); }

MappedUtf8 gbkToMappedUtf8(std::string_view text) {
    MappedUtf8 mapped;
    mapped.utf8 = convertAsciiCompatible(text, programCharset, utf8Charset, &mapped.asciiRuns);
    return mapped;
}

Text utf8ToGbk(std::string_view text) { return convertAsciiCompatible(text, utf8Charset, programCharset); }

std::u16string toUtf16(std::string_view text, int codePage) {
    text = text.substr(0, text.find('\0'));
    std::string bytes;
    if (!convertInto(text, charsetOf(codePage), utf16Charset, bytes)) return std::u16string();
    std::u16string out(bytes.size() / 2, u'\0');
    std::memcpy(out.data(), bytes.data(), out.size() * 2);
    return out;
}

Text fromUtf16(std::u16string_view text, int codePage) {
    text = text.substr(0, text.find(u'\0'));
    const std::string_view bytes(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    Text out;
    if (!convertInto(bytes, utf16Charset, charsetOf(codePage), out)) return Text();
    return out;
}

}  // namespace ondrel
