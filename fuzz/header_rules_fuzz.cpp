// The header and cookie rules on any bytes: no crash, no hang, and the shapes both request paths
// rely on. A normalised header text has only lines with a ":"; a merged cookie text names no
// cookie twice and keeps no deleted one.
#include <cstdlib>

#include "fuzz_input.h"
#include "web/header_rules.h"

using namespace ondrel;

namespace {

// Lines are split with double-byte stepping, so a lead byte before CR LF keeps the CR in its
// line; the request objects refuse such a value rather than send a line break.
void checkNormalised(const Text& headers) {
    for (const Text& line : splitText(headers, "\r\n"))
        if (line.find(':') == Text::npos) abort();
}

void checkMerged(const Text& merged) {
    std::vector<Text> seen;
    for (const Text& item : splitText(merged, "; ")) {
        if (item.ends_with("=deleted")) abort();
        if (itemPosition(seen, item) != notFound) abort();
        seen.push_back(item);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto parts = splitFuzzInput(data, size, 3);
    const Text& a = parts[0];
    const Text& b = parts[1];
    const Text& c = parts[2];

    (void)headerName(a);
    (void)headerValue(a);
    (void)textBefore(a, b);
    (void)capitaliseFirst(a);
    for (HeaderForm form : {HeaderForm::general, HeaderForm::direct}) {
        const Text completed = completeDefaultHeaders(a, b, int(c.size() % 3), form);
        if (!completed.starts_with(a)) abort();
        checkNormalised(normaliseHeaderNames(completed));
    }
    checkNormalised(normaliseHeaderNames(a));

    const Text encoded = base64Encode(a);
    if (encoded.size() != (a.size() + 2) / 3 * 4) abort();

    (void)collectSetCookies(a);
    checkMerged(mergeCookies(b, collectSetCookies(a)));
    checkMerged(mergeCookies(a, b));
    (void)removeDuplicateItems(a, b);
    (void)splitText(a, b);
    const Text trimmed = trimSpaces(a);
    // A double-byte character may end in a space byte, so the check is that nothing is left to trim.
    if (trimmed.size() > a.size() || trimSpaces(trimmed) != trimmed) abort();
    return 0;
}
