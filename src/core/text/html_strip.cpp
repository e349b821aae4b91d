#include "text/html_strip.h"

#include <strings.h>

#include <cstring>

#include "text/codepage.h"
#include "text/pcre2_pattern.h"

namespace ondrel {
namespace {

// The markup, as alternatives of one expression tried in this order at every place; together
// they are "<script[\s\S]*?</script>|<style[\s\S]*?</style>|<[^>]+>|&.{1,8};".
constexpr unsigned scriptBlock = 1, styleBlock = 2, anyTag = 4, allAlternatives = 7;

std::string patternOf(unsigned alternatives) {
    std::string pattern;
    if (alternatives & scriptBlock) pattern += "<script[\\s\\S]*?</script>|";
    if (alternatives & styleBlock) pattern += "<style[\\s\\S]*?</style>|";
    if (alternatives & anyTag) pattern += "<[^>]+>|";
    return pattern + "&.{1,8};";
}

// Compiled once per thread, each variant on first use: compiling and JIT-compiling the
// expression costs far more than stripping one field.
class StripPatterns {
public:
    StripPatterns() : context_(pcre2_match_context_create(nullptr), &pcre2_match_context_free) {}

    pcre2_code* code(unsigned alternatives) {
        Pcre2Code& code = codes_[alternatives];
        if (!code)
            code = compilePattern(patternOf(alternatives),
                                  PCRE2_CASELESS | PCRE2_MULTILINE | PCRE2_USE_OFFSET_LIMIT);
        return code.get();
    }
    pcre2_match_data* data() {
        if (!data_) data_.reset(pcre2_match_data_create(1, nullptr));
        return data_.get();
    }
    pcre2_match_context* context() { return context_.get(); }

private:
    Pcre2Code codes_[allAlternatives + 1];
    Pcre2MatchData data_;
    std::unique_ptr<pcre2_match_context, decltype(&pcre2_match_context_free)> context_;
};

thread_local StripPatterns patterns;

// Start of the last occurrence of `needle` (ASCII, any case) in `s`, or -1.
long lastCaseless(std::string_view s, std::string_view needle) {
    for (size_t end = s.size(); end >= needle.size();) {
        const void* hit = memrchr(s.data(), needle[0], end - needle.size() + 1);
        if (!hit) break;
        const size_t at = size_t(static_cast<const char*>(hit) - s.data());
        if (strncasecmp(s.data() + at, needle.data(), needle.size()) == 0) return long(at);
        end = at + needle.size() - 1;
    }
    return -1;
}

// The last place where each alternative can still begin a match. Past it the alternative
// could only fail, after scanning to the end of the subject, at every "<" that follows, which
// makes a page full of unclosed "<" or "<script" quadratic. So the search leaves an alternative
// out once its last possible place is passed: the matches stay those of the whole expression.
struct LastStarts {
    long script, style, tag;

    explicit LastStarts(std::string_view s)
        : script(lastCaseless(s, "</script>") - 7),  // "<script" must end before "</script>"
          style(lastCaseless(s, "</style>") - 6),
          tag(long(s.rfind('>')) - 1) {}  // rfind's npos is -1 as a long

    unsigned alternativesAt(long pos) const {
        return (pos <= script ? scriptBlock : 0u) | (pos <= style ? styleBlock : 0u) | (pos <= tag ? anyTag : 0u);
    }
    // The last offset at which the alternatives of `pos` stay the same.
    long regionEnd(long pos, long subjectEnd) const {
        long end = subjectEnd;
        for (long limit : {script, style, tag})
            if (limit >= pos && limit < end) end = limit;
        return end;
    }
};

// Maps ascending UTF-8 offsets of ASCII characters back to offsets in the program's text.
class OffsetMapper {
public:
    explicit OffsetMapper(const std::vector<MappedUtf8::Run>& runs) : runs_(runs) {}

    // `utf8` is the offset of an ASCII character, or just past one when `pastCharacter`.
    size_t toText(size_t utf8, bool pastCharacter) {
        const size_t probe = pastCharacter ? utf8 - 1 : utf8;
        while (next_ + 1 < runs_.size() && runs_[next_ + 1].utf8 <= probe) ++next_;
        return runs_[next_].text + (utf8 - runs_[next_].utf8);
    }

private:
    const std::vector<MappedUtf8::Run>& runs_;
    size_t next_ = 0;
};

}  // namespace

Text stripHtml(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    if (!memchr(text.data(), '<', text.size()) && !memchr(text.data(), '&', text.size())) return Text(text);

    // The expression works on characters, so it runs on UTF-8; what it does not match is
    // copied from the text itself, so no byte outside the markup changes, valid or not.
    const MappedUtf8 mapped = gbkToMappedUtf8(text);
    const std::string_view subject = mapped.utf8;
    const long end = long(subject.size());
    const LastStarts lastStarts(subject);
    OffsetMapper mapper(mapped.asciiRuns);
    pcre2_match_data* data = patterns.data();

    Text out;
    out.reserve(text.size());
    size_t copied = 0;
    for (long pos = 0; pos < end;) {
        const long regionEnd = lastStarts.regionEnd(pos, end);
        pcre2_code* code = patterns.code(lastStarts.alternativesAt(pos));
        if (!code) return Text();
        pcre2_set_offset_limit(patterns.context(), PCRE2_SIZE(regionEnd));
        const int rc = matchFrom(code, subject, size_t(pos), data, patterns.context());
        if (rc > 0) {
            const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data);
            const size_t matchStart = mapper.toText(ovector[0], false);
            out.append(text.substr(copied, matchStart - copied));
            copied = mapper.toText(ovector[1], true);
            pos = long(ovector[1]);
        } else if (rc == PCRE2_ERROR_NOMATCH) {
            pos = regionEnd + 1;
            while (pos < end && (subject[size_t(pos)] & 0xC0) == 0x80) ++pos;  // next character
        } else {
            return Text();  // the expression failed: a failed component call yields the empty text
        }
    }
    out.append(text.substr(copied));
    return out;
}

}  // namespace ondrel
