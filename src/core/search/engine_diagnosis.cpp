#include "search/engine_diagnosis.h"

#include "text/extract.h"
#include "text/text_rules.h"

namespace ondrel {

std::string whyNothingBetween(std::string_view page, std::string_view prefix, std::string_view suffix) {
    if (page.empty()) return "the page is empty";
    const Text p = replaceText(prefix, quoteMarker, "\"", 1, -1, true);
    const Text s = replaceText(suffix, quoteMarker, "\"", 1, -1, true);
    const int at = findText(page, p);
    if (at == notFound) return "the prefix \"" + p + "\" is not in the page";
    if (s.empty()) return "the suffix is empty";
    if (findText(page, s, at + int(p.size())) == notFound) return "no suffix \"" + s + "\" after the prefix";
    if (textBetween(page, prefix, suffix).empty()) return "nothing stands between the prefix and the suffix";
    return {};
}

std::string whyNoRow(std::string_view page, const Text& title, const Text& magnetLink, const Text& titlePrefix,
                     const Text& titleSuffix, const Text& magnetPrefix, const Text& magnetSuffix) {
    const auto why = [&](const char* field, const Text& prefix, const Text& suffix) {
        std::string reason = whyNothingBetween(page, prefix, suffix);
        if (reason.empty()) reason = "it is only markup";
        return std::string("no ") + field + ": " + reason;
    };
    if (title.empty()) return why("title", titlePrefix, titleSuffix);
    if (magnetLink.empty()) return why("magnet link", magnetPrefix, magnetSuffix);
    return {};
}

}  // namespace ondrel
