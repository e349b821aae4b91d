#include "main_layout.h"

namespace {
// Room the lists leave at the right and at the bottom of the window's outer size: the window
// frame and the tab control's border.
constexpr int listRightMargin = 7;
constexpr int listBottomMargin = 27;

// A share of a width, truncated toward zero as integer division does.
int share(int width, int numerator, int denominator) { return width * numerator / denominator; }
}  // namespace

MainLayout computeMainLayout(const MainLayoutInput& in) {
    const int w = in.outer.width() - listRightMargin;
    const int s = in.statusBarWidth;
    return {
        {in.outer.width(), in.outer.height() - in.tabControlTop - in.statusBarHeight},
        {w, in.outer.height() - in.resultListTop - listBottomMargin - in.statusBarHeight},
        {share(w, 1, 2), share(w, 1, 10), share(w, 1, 10), share(w, 3, 10)},
        {share(s, 1, 4), share(s, 1, 4), share(s, 1, 2)},
    };
}
