// urlHost, urlPort and urlPath on any address: no crash, a host in lower case that a "/" ends,
// a port that fits, and a path that starts with "/" and is a piece of the address.
#include <cstdlib>

#include "web/direct_request.h"

using namespace ondrel;

namespace {

// Whether `ch` stands in `text` as a character of its own, not as the second byte of a
// double-byte character (which any byte may be).
bool hasCharacter(std::string_view text, char ch) {
    for (size_t i = 0; i < text.size(); i += isLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1)
        if (text[i] == ch) return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Text url = textFromBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    for (bool keepPort : {false, true}) {
        const Text host = urlHost(url, keepPort);
        if (hasCharacter(host, '/')) abort();
        for (char ch : host)
            if (ch >= 'A' && ch <= 'Z') abort();
        if (!keepPort && host.find(':') != Text::npos) abort();
    }
    const int port = urlPort(url);
    if (port < 0) abort();
    const Text path = urlPath(url);
    if (!path.starts_with('/')) abort();
    if (path != "/" && url.find(path) == Text::npos) abort();
    (void)directUserAgent(url);
    (void)directRequestFlags(url, size % 2 == 0, size % 3 == 0);
    return 0;
}
