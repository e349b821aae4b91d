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

}  // namespace ondrel
