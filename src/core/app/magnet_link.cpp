#include "app/magnet_link.h"

#include <algorithm>
#include <string_view>

namespace ondrel {

bool isMagnetLink(const Text& text) {
    constexpr std::string_view scheme = "magnet:?";
    return text.size() >= scheme.size() &&
           std::equal(scheme.begin(), scheme.end(), text.begin(),
                      [](char want, char have) { return lowerAscii(have) == want; });
}

}  // namespace ondrel
