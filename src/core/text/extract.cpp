#include "text/extract.h"

#include <algorithm>

#include "app/event_pump.h"
#include "text/text_rules.h"

namespace ondrel {

Text textBetween(std::string_view text, std::string_view prefix, std::string_view suffix,
                 int start, bool ignoreCase) {
    const Text p = replaceText(prefix, quoteMarker, "\"", 1, -1, true);
    const Text x = replaceText(suffix, quoteMarker, "\"", 1, -1, true);
    const int at = findText(text, p, start, ignoreCase);
    if (at == notFound) return Text();
    const int valueStart = at + int(p.size());
    const int end = findText(text, x, valueStart, ignoreCase);
    if (end == notFound) return Text();
    return midText(text, valueStart, end - valueStart);
}

int allTextsBetween(std::string_view text, std::string_view prefix, std::string_view suffix,
                    std::vector<Text>& out, const AllTextsOptions& options) {
    out.clear();
    // An empty prefix would be found at position 1 in every pass and never end; it yields
    // the one piece from the start of the text to the first suffix.
    const bool once = prefix.empty();
    int pos = options.start;
    size_t cut = 0;
    for (;;) {
        const int at = findText(text, prefix, pos, options.ignoreCase);
        if (at == notFound) break;
        pos = at + int(prefix.size());
        const int end = findText(text, suffix, pos, options.ignoreCase);
        if (end == notFound) break;
        cut += size_t(std::max(end - pos, 0));
        if (cut > maxCutBytes) break;
        Text piece = options.before + midText(text, pos, end - pos) + options.after;
        if (options.keepPrefix) piece.insert(0, prefix);
        if (options.keepSuffix) piece.append(suffix);
        if (options.maxLength == 0 || int(piece.size()) < options.maxLength) out.push_back(std::move(piece));
        for (int i = 0; i < 3; ++i) pumpPendingMessages();
        if (once) break;
    }
    return int(out.size());
}

Text replacePairs(std::string_view text, const std::vector<ReplacePair>& pairs, int count, int start,
                  bool caseSensitive) {
    if (start == 0) start = 1;
    Text result(text);
    const size_t used = pairs.size() < 5 ? pairs.size() : 5;
    for (size_t i = 0; i < used; ++i) {
        if (pairs[i].search.empty()) continue;
        result = replaceText(result, pairs[i].search, pairs[i].replacement, start, count, caseSensitive);
    }
    return result;
}

}  // namespace ondrel
