// TEMPORARY STAND-IN until the text branch lands; replaced by its file on merge.
#include "text/codepage.h"

#include <iconv.h>

namespace ondrel {
namespace {
Text convert(std::string_view in, const char* from, const char* to) {
    iconv_t cd = iconv_open(to, from);
    if (cd == iconv_t(-1)) return {};
    Text out;
    char* src = const_cast<char*>(in.data());
    size_t left = in.size();
    char buf[4096];
    while (left > 0) {
        char* dst = buf;
        size_t room = sizeof buf;
        size_t r = iconv(cd, &src, &left, &dst, &room);
        out.append(buf, dst - buf);
        if (r == size_t(-1) && errno != E2BIG) {
            out += '?';
            ++src;
            --left;
        }
    }
    iconv_close(cd);
    return out;
}
}  // namespace

Text urlEncode(std::string_view text, bool keepSafe, bool toUtf8) {
    const Text bytes = toUtf8 ? gbkToUtf8(text) : Text(text);
    Text out;
    for (unsigned char b : bytes) {
        bool safe = b == '-' || b == '.' || (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
        if (keepSafe && safe) {
            out += char(b);
        } else {
            static const char hex[] = "0123456789ABCDEF";
            out += '%';
            out += hex[b >> 4];
            out += hex[b & 15];
        }
    }
    return out;
}
Text gbkToUtf8(std::string_view text) { return convert(text, "GB18030", "UTF-8"); }
Text utf8ToGbk(std::string_view text) { return convert(text, "UTF-8", "GB18030"); }
}  // namespace ondrel
