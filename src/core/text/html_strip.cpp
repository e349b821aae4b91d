// TEMPORARY STAND-IN until the text branch lands; replaced by its file on merge.
#include "text/html_strip.h"
namespace ondrel {
Text stripHtml(std::string_view text) {
    Text out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '<') {
            size_t e = text.find('>', i);
            if (e == std::string_view::npos) { out.append(text.substr(i)); break; }
            i = e;
        } else if (text[i] == '&') {
            size_t e = text.find(';', i);
            if (e != std::string_view::npos && e - i < 10) { i = e; continue; }
            out += text[i];
        } else {
            out += text[i];
        }
    }
    return out;
}
}
