// stripHtml on any bytes: no crash, no hang, and a result that only ever loses bytes. Stripping
// deletes markup and copies everything else, so the result is never longer than the text, and
// a text without "<" or "&" comes back unchanged.
#include <cstdlib>
#include <cstring>

#include "text/html_strip.h"

using namespace ondrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string_view text = bytes.substr(0, bytes.find('\0'));
    const Text stripped = stripHtml(bytes);
    if (stripped.size() > text.size()) abort();
    if (text.find_first_of("<&") == std::string_view::npos && stripped != text) abort();
    if (memchr(stripped.data(), '\0', stripped.size())) abort();
    // What is left has no complete tag in it unless one was built from the pieces around a
    // deleted one; stripping again must still be safe.
    (void)stripHtml(stripped);
    return 0;
}
