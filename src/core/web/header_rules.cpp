#include "web/header_rules.h"

#include "text/extract.h"
#include "text/text_rules.h"

namespace ondrel {
namespace {

constexpr std::string_view crlf = "\r\n";
constexpr std::string_view ideographicSpace = "\xA1\xA1";  // "　"

// Length of the character that starts at `pos`: two bytes for a lead byte with a byte after it.
size_t charLength(std::string_view text, size_t pos) {
    return isLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
}

size_t spaceLength(std::string_view text, size_t pos) {
    if (text[pos] == ' ') return 1;
    return text.substr(pos, 2) == ideographicSpace ? 2 : 0;
}

// The text before and after the first ":"; both empty without one.
std::pair<std::string_view, std::string_view> splitHeaderLine(std::string_view line) {
    int colon = findText(line, ":");
    if (colon == notFound) return {};
    return {line.substr(0, size_t(colon) - 1), line.substr(size_t(colon))};
}

bool lacks(std::string_view text, std::string_view needle) { return findText(text, needle, 1, true) == notFound; }

Text joinItems(const std::vector<Text>& items, std::string_view separator) {
    Text out;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0) out += separator;
        out += items[i];
    }
    return out;
}

}  // namespace

std::vector<Text> splitText(std::string_view text, std::string_view separator) {
    std::vector<Text> pieces;
    if (text.empty()) return pieces;
    size_t from = 0;
    while (from < text.size()) {
        int hit = findText(text, separator, int(from) + 1);
        if (hit == notFound || separator.empty()) break;
        pieces.emplace_back(text.substr(from, size_t(hit) - 1 - from));
        from = size_t(hit) - 1 + separator.size();
    }
    if (from < text.size()) pieces.emplace_back(text.substr(from));
    return pieces;
}

Text trimSpaces(std::string_view text) {
    size_t begin = 0, end = 0, pos = 0;
    bool seen = false;
    while (pos < text.size()) {
        size_t space = spaceLength(text, pos);
        size_t step = space ? space : charLength(text, pos);
        if (!space) {
            if (!seen) begin = pos;
            seen = true;
            end = pos + step;
        }
        pos += step;
    }
    return seen ? Text(text.substr(begin, end - begin)) : Text();
}

Text headerName(std::string_view line) { return trimSpaces(splitHeaderLine(line).first); }

Text headerValue(std::string_view line) { return trimSpaces(splitHeaderLine(line).second); }

Text textBefore(std::string_view text, std::string_view separator) {
    int hit = findText(text, separator);
    return hit == notFound ? Text() : Text(text.substr(0, size_t(hit) - 1));
}

Text completeDefaultHeaders(std::string_view headers, std::string_view url, int method, HeaderForm form) {
    Text out(headers);
    if (form == HeaderForm::direct && out.empty()) out = "Accept: */*";
    if (lacks(out, "Accept:")) out += "\r\nAccept: */*";
    if (lacks(out, "Referer:")) out += "\r\nReferer: " + Text(url);
    if (lacks(out, "Accept-Language:")) out += "\r\nAccept-Language: zh-cn";
    if (form == HeaderForm::general && lacks(out, "User-Agent:")) out += "\r\nUser-Agent: " + Text(defaultUserAgent);
    if (method == 1 && lacks(out, "Content-Type:")) out += "\r\nContent-Type: application/x-www-form-urlencoded";
    return out;
}

Text normaliseHeaderNames(std::string_view headers) {
    std::vector<Text> lines;
    for (Text& line : splitText(headers, crlf)) {
        int colon = findText(line, ":");
        if (colon == notFound) continue;
        for (size_t i = 0; i + 1 < size_t(colon); ++i) {
            if (i == 0 || line[i - 1] == '-') line[i] = upperAscii(line[i]);
        }
        lines.push_back(std::move(line));
    }
    return joinItems(lines, crlf);
}

Text capitaliseFirst(std::string_view text) {
    Text out(text);
    if (!out.empty()) out[0] = upperAscii(out[0]);
    return out;
}

Text base64Encode(std::string_view bytes) {
    static constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    Text out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        size_t left = bytes.size() - i;
        unsigned group = unsigned(static_cast<unsigned char>(bytes[i])) << 16;
        if (left > 1) group |= unsigned(static_cast<unsigned char>(bytes[i + 1])) << 8;
        if (left > 2) group |= static_cast<unsigned char>(bytes[i + 2]);
        out += alphabet[group >> 18];
        out += alphabet[(group >> 12) & 63];
        out += left > 1 ? alphabet[(group >> 6) & 63] : '=';
        out += left > 2 ? alphabet[group & 63] : '=';
    }
    return out;
}

Text collectSetCookies(std::string_view headerBlock) {
    std::vector<Text> pieces;
    for (const Text& line : splitText(headerBlock, crlf)) {
        if (textBefore(line, ": ") != "Set-Cookie") continue;
        if (findText(line, ";") != notFound) {
            pieces.push_back(trimSpaces(textBetween(line, "Set-Cookie:", ";")));
        } else {
            pieces.push_back(trimSpaces(replaceText(line, "Set-Cookie:", "")));
        }
    }
    return joinItems(pieces, "; ");
}

Text mergeCookies(std::string_view sent, std::string_view received) {
    auto withoutSpaces = [](std::string_view text) { return replaceText(replaceText(text, " ", ""), ideographicSpace, ""); };
    std::vector<Text> items = splitText(withoutSpaces(received), ";");
    for (Text& item : splitText(withoutSpaces(sent), ";")) {
        if (!hasCookieNamed(items, cookieName(item))) items.push_back(std::move(item));
    }
    std::vector<Text> kept;
    for (Text& item : items) {
        bool deleted = item.size() >= 8 && std::string_view(item).substr(item.size() - 8) == "=deleted";
        if (!deleted) kept.push_back(std::move(item));
    }
    return removeDuplicateItems(joinItems(kept, "; "), "; ");
}

Text cookieName(std::string_view item) {
    int equals = findText(item, "=");
    return trimSpaces(equals == notFound ? item : item.substr(0, size_t(equals) - 1));
}

bool hasCookieNamed(const std::vector<Text>& items, std::string_view name) {
    for (const Text& item : items) {
        if (cookieName(item) == name) return true;
    }
    return false;
}

Text removeDuplicateItems(std::string_view text, std::string_view separator) {
    std::vector<Text> kept;
    for (Text& item : splitText(text, separator)) {
        if (itemPosition(kept, item) == notFound) kept.push_back(std::move(item));
    }
    return joinItems(kept, separator);
}

int itemPosition(const std::vector<Text>& items, std::string_view item) {
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i] == item) return int(i) + 1;
    }
    return notFound;
}

}  // namespace ondrel
