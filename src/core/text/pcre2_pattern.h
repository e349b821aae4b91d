#pragma once
// A compiled PCRE2 expression in the dialect the program's expressions are written for: UTF-8,
// only a line feed ends a line (so "." matches a carriage return), JIT-compiled where the
// platform allows it.
#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <memory>
#include <string_view>

namespace ondrel {

struct Pcre2CodeFree {
    void operator()(pcre2_code* code) const { pcre2_code_free(code); }
};
struct Pcre2MatchDataFree {
    void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};
using Pcre2Code = std::unique_ptr<pcre2_code, Pcre2CodeFree>;
using Pcre2MatchData = std::unique_ptr<pcre2_match_data, Pcre2MatchDataFree>;

// `options` are PCRE2 compile options added to UTF mode; null when the pattern is invalid.
Pcre2Code compilePattern(std::string_view utf8Pattern, uint32_t options);

// pcre2_match on valid UTF-8 from `offset`. A match too deep for the JIT's stack is tried again
// by the interpreter, which keeps its backtracking on the heap, rather than reported as none.
int matchFrom(const pcre2_code* code, std::string_view utf8Subject, size_t offset, pcre2_match_data* data,
              pcre2_match_context* context = nullptr);

}  // namespace ondrel
