#include "text/text_rules.h"

#include <algorithm>
#include <cstring>

namespace ondrel {
namespace {

// Finds matches that begin on a character boundary, where boundaries are counted from the
// first position searched. Candidates come from memmem (memchr-class speed); a candidate's
// alignment is decided from the nearest byte below 0x80 before it: the byte after such a
// byte always starts a character, and the run of lead-range bytes after it pairs up. The last
// position known to be a boundary only moves forward, so the whole search stays linear.
class BoundaryFinder {
public:
    BoundaryFinder(std::string_view haystack, std::string_view needle, size_t origin, bool ignoreCase)
        : haystack_(haystack), known_(origin), ignoreCase_(ignoreCase) {
        if (ignoreCase) {
            foldedNeedle_ = lowerAsciiText(needle);
            needle_ = foldedNeedle_;
        } else {
            needle_ = needle;
        }
    }

    // 0-based offset of the first aligned match at or after `from` (itself a boundary), or npos.
    size_t find(size_t from) {
        known_ = std::max(known_, from);
        while (from + needle_.size() <= haystack_.size()) {
            const size_t candidate = ignoreCase_ ? findFolded(from) : findExact(from);
            if (candidate == std::string_view::npos) return candidate;
            if (isBoundary(candidate)) {
                known_ = candidate;
                return candidate;
            }
            // The candidate is a trail byte, so the byte after it starts a character.
            known_ = candidate + 1;
            from = candidate + 1;
        }
        return std::string_view::npos;
    }

private:
    size_t findExact(size_t from) const {
        const void* hit = memmem(haystack_.data() + from, haystack_.size() - from, needle_.data(), needle_.size());
        return hit ? size_t(static_cast<const char*>(hit) - haystack_.data()) : std::string_view::npos;
    }

    // Folds the text window by window rather than all at once, so that a search which ends
    // early costs in proportion to the distance it covered, not to the length of the text:
    // many short searches over one long page (every piece of a page, case ignored) stay linear.
    size_t findFolded(size_t from) {
        const size_t n = needle_.size();
        size_t window = n + 256;
        while (from + n <= haystack_.size()) {
            const size_t end = std::min(haystack_.size(), from + window);
            window_.resize(end - from);
            std::transform(haystack_.begin() + from, haystack_.begin() + end, window_.begin(), lowerAscii);
            if (const void* hit = memmem(window_.data(), window_.size(), needle_.data(), n))
                return from + size_t(static_cast<const char*>(hit) - window_.data());
            if (end == haystack_.size()) break;
            from = end - (n - 1);  // a match may straddle the window's end
            window *= 2;
        }
        return std::string_view::npos;
    }

    bool isBoundary(size_t pos) const {
        size_t run = pos;
        while (run > known_ && isLeadByte(static_cast<unsigned char>(haystack_[run - 1]))) --run;
        return (pos - run) % 2 == 0;
    }

    std::string_view haystack_;
    std::string_view needle_;
    Text foldedNeedle_;
    Text window_;
    size_t known_;
    bool ignoreCase_;
};

}  // namespace

int findText(std::string_view text, std::string_view needle, int start, bool ignoreCase) {
    const size_t skip = start > 1 ? size_t(start) - 1 : 0;
    if (skip >= text.size()) return notFound;
    if (needle.empty()) return 1;
    if (needle.size() > text.size() - skip) return notFound;
    const size_t hit = BoundaryFinder(text, needle, skip, ignoreCase).find(skip);
    return hit == std::string_view::npos ? notFound : int(hit) + 1;
}

Text midText(std::string_view text, int position, int length) {
    if (position < 1 || size_t(position) > text.size() || length <= 0) return Text();
    return Text(text.substr(size_t(position) - 1, size_t(length)));
}

Text replaceText(std::string_view text, std::string_view needle, std::string_view replacement,
                 int start, int count, bool caseSensitive) {
    const size_t from = start > 1 ? size_t(start) - 1 : 0;
    if (text.empty() || needle.empty() || from >= text.size() || count == 0) return Text(text);
    BoundaryFinder finder(text, needle, from, !caseSensitive);
    Text out(text.substr(0, from));
    size_t pos = from;
    for (int done = 0; count < 0 || done < count; ++done) {
        const size_t hit = finder.find(pos);
        if (hit == std::string_view::npos) break;
        out.append(text.substr(pos, hit - pos));
        out.append(replacement);
        pos = hit + needle.size();
    }
    out.append(text.substr(pos));
    return out;
}

}  // namespace ondrel
