#pragma once
// Text rules both request paths share: header lines, the default request headers, header
// name letter case, Basic credentials, and the cookies a response sets merged with those sent.
// All of them work on the program's text with double-byte stepping (see text_rules.h).
#include <string_view>
#include <vector>

#include "text/text.h"

namespace ondrel {

// The user agent both request paths send unless a caller names another.
inline constexpr const char* defaultUserAgent = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

// The text before the first ":" of a header line, trimmed; empty without a ":".
Text headerName(std::string_view line);
// The text after the first ":" of a header line, trimmed; empty without a ":".
Text headerValue(std::string_view line);

// The text before the first `separator` (exact letter case); empty when it does not occur.
Text textBefore(std::string_view text, std::string_view separator);

// Which request path the default headers are completed for: the general path sends its own
// User-Agent line; the direct path hands the agent to the session instead and starts an empty
// header text with an Accept line.
enum class HeaderForm { general, direct };

// `headers` with the default Accept, Referer (the request address), Accept-Language, User-Agent
// (general form only) and, for method index 1, Content-Type lines appended when missing.
Text completeDefaultHeaders(std::string_view headers, std::string_view url, int method, HeaderForm form);

// Every header name with capital initials ("x-requested-with" -> "X-Requested-With"), lines
// without a ":" dropped, lines joined by CR LF with none after the last.
Text normaliseHeaderNames(std::string_view headers);

// `text` with its first byte in upper case when it is an ASCII lower-case letter.
Text capitaliseFirst(std::string_view text);

// Standard Base64 with padding; no bytes give empty text.
Text base64Encode(std::string_view bytes);

// The first name=value of every "Set-Cookie" line (exact letter case) of a response header
// block, in line order, joined by "; ".
Text collectSetCookies(std::string_view headerBlock);

// The received cookies in their order, then the sent ones the response did not set; items the
// response deleted ("=deleted") are dropped, and so are repeats.
Text mergeCookies(std::string_view sent, std::string_view received);

// The name of a name=value item, trimmed; the whole item trimmed when it has no "=".
Text cookieName(std::string_view item);
bool hasCookieNamed(const std::vector<Text>& items, std::string_view name);

// The items of `text` split at `separator`, first occurrences only, joined by it again.
Text removeDuplicateItems(std::string_view text, std::string_view separator);

// 1-based position of the first item equal to `item`, or -1.
int itemPosition(const std::vector<Text>& items, std::string_view item);

// The pieces between separators (double-byte stepping): an empty piece before a leading
// separator and between two adjacent ones, none after a trailing one; no pieces for empty text.
std::vector<Text> splitText(std::string_view text, std::string_view separator);

// `text` without ASCII spaces and ideographic spaces (0xA1 0xA1) at either end.
Text trimSpaces(std::string_view text);

}  // namespace ondrel
