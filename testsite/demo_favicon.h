#pragma once
// Site icons for the generated magnet site, so the demo's tabs show them.
#include <cstdint>
#include <string>

namespace ondrel::testsite {

// A 16 × 16, 32-bit ICO file: a disc in `rgb` (0xRRGGBB) with a white ring, transparent corners.
std::string demoFavicon(std::uint32_t rgb);

}  // namespace ondrel::testsite
