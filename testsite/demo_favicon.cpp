#include "demo_favicon.h"

namespace ondrel::testsite {
namespace {

void put16(std::string& out, unsigned v) {
    out.push_back(char(v & 0xFF));
    out.push_back(char((v >> 8) & 0xFF));
}

void put32(std::string& out, unsigned v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

}  // namespace

std::string demoFavicon(std::uint32_t rgb) {
    constexpr int side = 16;
    constexpr unsigned pixelBytes = side * side * 4;
    constexpr unsigned maskBytes = side * 4;  // one bit a pixel, rows padded to 32 bits
    std::string ico;
    put16(ico, 0), put16(ico, 1), put16(ico, 1);  // icon directory with one entry
    ico.push_back(char(side)), ico.push_back(char(side)), ico.push_back(0), ico.push_back(0);
    put16(ico, 1), put16(ico, 32), put32(ico, 40 + pixelBytes + maskBytes), put32(ico, 22);
    put32(ico, 40), put32(ico, side), put32(ico, side * 2), put16(ico, 1), put16(ico, 32);
    put32(ico, 0), put32(ico, pixelBytes + maskBytes), put32(ico, 0), put32(ico, 0), put32(ico, 0), put32(ico, 0);
    for (int y = side - 1; y >= 0; --y) {  // rows bottom-up
        for (int x = 0; x < side; ++x) {
            const double dx = x - 7.5, dy = y - 7.5, d2 = dx * dx + dy * dy;
            const bool inside = d2 <= 7.6 * 7.6;
            const bool ring = d2 >= 3.0 * 3.0 && d2 <= 4.6 * 4.6;
            const std::uint32_t colour = ring ? 0xFFFFFF : rgb;
            ico.push_back(char(colour & 0xFF));
            ico.push_back(char((colour >> 8) & 0xFF));
            ico.push_back(char((colour >> 16) & 0xFF));
            ico.push_back(char(inside ? 0xFF : 0x00));
        }
    }
    ico.append(maskBytes, '\0');  // the alpha channel decides; the mask shows everything
    return ico;
}

}  // namespace ondrel::testsite
