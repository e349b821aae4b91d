#include "app/magnet_link.h"

#include <algorithm>
#include <string_view>

namespace ondrel {

bool isMagnetLink(const Text& text) {
    constexpr std::string_view scheme = "magnet:?";
    auto asciiLower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : char(c); };
    return text.size() >= scheme.size() &&
           std::equal(scheme.begin(), scheme.end(), text.begin(),
                      [&](char want, char have) { return asciiLower(have) == want; });
}

}  // namespace ondrel
