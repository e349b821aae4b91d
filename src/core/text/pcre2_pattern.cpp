#include "text/pcre2_pattern.h"

namespace ondrel {

Pcre2Code compilePattern(std::string_view utf8Pattern, uint32_t options) {
    std::unique_ptr<pcre2_compile_context, decltype(&pcre2_compile_context_free)> context(
        pcre2_compile_context_create(nullptr), &pcre2_compile_context_free);
    if (!context) return nullptr;
    pcre2_set_newline(context.get(), PCRE2_NEWLINE_LF);
    int error = 0;
    PCRE2_SIZE errorOffset = 0;
    Pcre2Code code(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(utf8Pattern.data()), utf8Pattern.size(),
                                 PCRE2_UTF | options, &error, &errorOffset, context.get()));
    // Without JIT the interpreter gives the same matches, only slower.
    if (code) pcre2_jit_compile(code.get(), PCRE2_JIT_COMPLETE);
    return code;
}

int matchFrom(const pcre2_code* code, std::string_view utf8Subject, size_t offset, pcre2_match_data* data,
              pcre2_match_context* context) {
    const auto subject = reinterpret_cast<PCRE2_SPTR>(utf8Subject.data());
    int rc = pcre2_match(code, subject, utf8Subject.size(), offset, PCRE2_NO_UTF_CHECK, data, context);
    if (rc == PCRE2_ERROR_JIT_STACKLIMIT)
        rc = pcre2_match(code, subject, utf8Subject.size(), offset, PCRE2_NO_UTF_CHECK | PCRE2_NO_JIT, data, context);
    return rc;
}

}  // namespace ondrel
