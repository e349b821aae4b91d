// findText, textBetween, allTextsBetween and replacePairs on any bytes: no crash, results that
// stay inside the text, positions on character boundaries.
#include <cstdlib>

#include "fuzz_input.h"
#include "text/extract.h"
#include "text/text_rules.h"

using namespace ondrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto parts = splitFuzzInput(data, size, 4);
    const std::string& text = parts[0];
    const std::string& prefix = parts[1];
    const std::string& suffix = parts[2];
    const int start = parts[3].empty() ? 1 : int(static_cast<unsigned char>(parts[3][0])) - 8;

    for (bool ignoreCase : {false, true}) {
        int at = findText(text, prefix, start, ignoreCase);
        if (at != notFound && (at < 1 || size_t(at) > text.size())) abort();
    }
    Text value = textBetween(text, prefix, suffix, start);
    if (value.size() > text.size()) abort();
    std::vector<Text> pieces;
    AllTextsOptions options;
    options.start = start;
    options.maxLength = int(parts[3].size());
    int n = allTextsBetween(text, prefix, suffix, pieces, options);
    if (n != int(pieces.size())) abort();
    replacePairs(text, {{prefix, suffix}, {suffix, prefix}}, -1, start);
    return 0;
}
