#include "search/page_buffer.h"

#include "text/codepage.h"

namespace ondrel {

Text withCrLfLineBreaks(std::string_view text) {
    Text out;
    out.reserve(text.size() + text.size() / 32);
    size_t from = 0;
    while (from < text.size()) {
        const size_t at = text.find_first_of("\r\n", from);
        if (at == std::string_view::npos) {
            out.append(text.substr(from));
            break;
        }
        out.append(text.substr(from, at - from));
        out.append("\r\n");
        from = at + ((text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ? 2 : 1);
    }
    return out;
}

Text pageText(std::string_view body, bool fromUtf8) {
    Text text = withCrLfLineBreaks(textFromBytes(body));
    return fromUtf8 ? utf8ToGbk(text) : text;
}

}  // namespace ondrel
