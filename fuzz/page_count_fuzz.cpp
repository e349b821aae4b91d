// The page-count reading on any bytes: no crash, no overflow, and the rules around the number.
#include <cstdlib>

#include "search/page_count.h"

using namespace ondrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Text text = textFromBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    const int n = leadingInteger(text);
    const int pages = pageCountFromText(text);
    if (text.empty() && pages != 5) abort();
    if (text == "0" && pages != 1) abort();
    if (!text.empty() && text != "0" && pages != n) abort();
    // The number and whatever follows it: digits after it only make it larger in size.
    if (n > 0 && leadingInteger(text + "x") != n) abort();
    return 0;
}
