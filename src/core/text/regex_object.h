#pragma once
// A regular expression run over the program's text. The expression works on characters (a
// Chinese character is one character to it); only a line feed ends a line, so "." matches
// a carriage return.
#include <memory>
#include <vector>

#include "text/text.h"

namespace ondrel {

class RegexObject {
public:
    // Compiles `pattern` and finds its matches in `subject`, replacing what the object held.
    // Case is ignored unless `caseSensitive`; "^" and "$" match at every line unless
    // `multiLine` is false; every match is found unless `global` is false. With `quoteMarker`,
    // each "#引号" in the pattern stands for a double quote. False when the pattern is invalid.
    bool execute(std::string_view pattern, std::string_view subject, bool caseSensitive = false,
                 bool multiLine = true, bool global = true, bool quoteMarker = false);

    // The last subject with the last matches replaced by `replacement`, in which "$&" is the
    // match, "$1" .. "$99" its groups, "$`" and "$'" the text before and after it, "$$" a "$".
    // Empty before a successful execute.
    Text replace(std::string_view replacement) const;

    Text pattern() const;
    int matchCount() const;
    // Match `match` (from 1); `position`, when given, receives its 0-based byte offset in the
    // subject. Empty, and position -1, when there is no such match.
    Text matchText(int match, int* position = nullptr) const;
    // Group `group` (from 1) of match `match` (from 1), likewise; empty when it took no part.
    Text subMatchText(int match, int group, int* position = nullptr) const;
    // The number of groups of the first match; 0 without one.
    int subMatchCount() const;

private:
    struct Span {
        size_t start, end;  // UTF-8 offsets; start == npos for a group that did not take part
    };
    struct Match {
        std::vector<Span> spans;  // the whole match, then each group
    };
    struct Executed {
        Text pattern;
        Text subjectUtf8;
        std::vector<Match> matches;
    };

    Text spanText(const Span& span, int* position) const;

    // Copies of the object share what an execute produced; each execute makes it anew.
    std::shared_ptr<const Executed> executed_;
};

}  // namespace ondrel
