#include "text/regex_object.h"

#include "text/codepage.h"
#include "text/extract.h"
#include "text/pcre2_pattern.h"
#include "text/text_rules.h"

namespace ondrel {
namespace {

size_t nextCharacter(std::string_view utf8, size_t pos) {
    ++pos;
    while (pos < utf8.size() && (utf8[pos] & 0xC0) == 0x80) ++pos;
    return pos;
}

// Appends `replacement` with its "$" references filled in from match `spans` of `subject`.
void appendExpanded(std::string& out, std::string_view replacement, std::string_view subject,
                    const std::vector<std::pair<size_t, size_t>>& spans) {
    for (size_t i = 0; i < replacement.size(); ++i) {
        const char c = replacement[i];
        const char n = i + 1 < replacement.size() ? replacement[i + 1] : '\0';
        if (c != '$' || n == '\0') {
            out += c;
        } else if (n == '$') {
            out += '$', ++i;
        } else if (n == '&') {
            out.append(subject.substr(spans[0].first, spans[0].second - spans[0].first)), ++i;
        } else if (n == '`') {
            out.append(subject.substr(0, spans[0].first)), ++i;
        } else if (n == '\'') {
            out.append(subject.substr(spans[0].second)), ++i;
        } else if (n >= '0' && n <= '9') {
            // Two digits when that names a group, else one; a group that does not exist stays literal.
            const char n2 = i + 2 < replacement.size() ? replacement[i + 2] : '\0';
            size_t group = size_t(n - '0'), digits = 1;
            if (n2 >= '0' && n2 <= '9' && group * 10 + size_t(n2 - '0') < spans.size())
                group = group * 10 + size_t(n2 - '0'), digits = 2;
            if (group == 0 || group >= spans.size()) {
                out += c;
                continue;
            }
            if (spans[group].first != std::string_view::npos)
                out.append(subject.substr(spans[group].first, spans[group].second - spans[group].first));
            i += digits;
        } else {
            out += c;
        }
    }
}

}  // namespace

bool RegexObject::execute(std::string_view pattern, std::string_view subject, bool caseSensitive, bool multiLine,
                          bool global, bool quoteMarker) {
    executed_.reset();
    const Text patternText = quoteMarker ? replaceText(pattern, ondrel::quoteMarker, "\"", 1, -1, true) : Text(pattern);
    const Text utf8Pattern = gbkToUtf8(patternText);
    const Pcre2Code code =
        compilePattern(utf8Pattern, (caseSensitive ? 0 : PCRE2_CASELESS) | (multiLine ? PCRE2_MULTILINE : 0));
    if (!code) return false;
    const Pcre2MatchData data(pcre2_match_data_create_from_pattern(code.get(), nullptr));
    if (!data) return false;

    auto result = std::make_shared<Executed>();
    result->pattern = patternText;
    result->subjectUtf8 = gbkToUtf8(subject);
    const std::string_view s = result->subjectUtf8;
    for (size_t pos = 0; pos <= s.size();) {
        const int rc = matchFrom(code.get(), s, pos, data.get());
        if (rc <= 0) break;  // no more matches, or the match limit was reached
        const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data.get());
        Match match;
        const uint32_t pairs = pcre2_get_ovector_count(data.get());
        for (uint32_t g = 0; g < pairs; ++g) {
            const bool took = g < uint32_t(rc) && ovector[2 * g] != PCRE2_UNSET;
            match.spans.push_back({took ? ovector[2 * g] : std::string_view::npos, took ? ovector[2 * g + 1] : 0});
        }
        result->matches.push_back(std::move(match));
        if (!global) break;
        // After an empty match the next search starts one character on, so it cannot loop.
        pos = ovector[1] > ovector[0] ? ovector[1] : nextCharacter(s, ovector[1]);
    }
    executed_ = std::move(result);
    return true;
}

Text RegexObject::replace(std::string_view replacement) const {
    if (!executed_) return Text();
    const std::string_view s = executed_->subjectUtf8;
    const Text utf8Replacement = gbkToUtf8(replacement);
    std::string out;
    size_t copied = 0;
    std::vector<std::pair<size_t, size_t>> spans;
    for (const Match& m : executed_->matches) {
        spans.clear();
        for (const Span& span : m.spans) spans.emplace_back(span.start, span.end);
        out.append(s.substr(copied, m.spans[0].start - copied));
        appendExpanded(out, utf8Replacement, s, spans);
        copied = m.spans[0].end;
    }
    out.append(s.substr(copied));
    return utf8ToGbk(out);
}

Text RegexObject::pattern() const { return executed_ ? executed_->pattern : Text(); }

int RegexObject::matchCount() const { return executed_ ? int(executed_->matches.size()) : 0; }

Text RegexObject::spanText(const Span& span, int* position) const {
    if (span.start == std::string_view::npos) {
        if (position) *position = notFound;
        return Text();
    }
    const std::string_view s = executed_->subjectUtf8;
    if (position) *position = int(utf8ToGbk(s.substr(0, span.start)).size());
    return utf8ToGbk(s.substr(span.start, span.end - span.start));
}

Text RegexObject::matchText(int match, int* position) const {
    if (position) *position = notFound;
    if (match < 1 || match > matchCount()) return Text();
    return spanText(executed_->matches[size_t(match) - 1].spans[0], position);
}

Text RegexObject::subMatchText(int match, int group, int* position) const {
    if (position) *position = notFound;
    if (match < 1 || match > matchCount()) return Text();
    const std::vector<Span>& spans = executed_->matches[size_t(match) - 1].spans;
    if (group < 1 || size_t(group) >= spans.size()) return Text();
    return spanText(spans[size_t(group)], position);
}

int RegexObject::subMatchCount() const {
    return matchCount() > 0 ? int(executed_->matches[0].spans.size()) - 1 : 0;
}

}  // namespace ondrel
