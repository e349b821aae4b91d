// Converting site icons of growing size to the 16 x 16 tab image, against refusing a header
// that claims a huge picture. Compare the per-conversion times as ratios.
#include <benchmark/benchmark.h>

#include "icons/bitmap_image.h"
#include "icons/blank_icon.h"
#include "icons/bmp_conversion.h"

namespace {

using namespace ondrel;

Bytes bmpOfSide(int side) {
    BitmapImage image;
    image.createBlank(side, side, 24);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) image.setPixel(x, y, rgb(unsigned(x), unsigned(y), 0x40));
    return image.toBmpFileBytes();
}

void convertBmp(benchmark::State& state) {
    const Bytes picture = bmpOfSide(int(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(convertImageToBmp(picture, 16, 16));
    state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(0));
}
BENCHMARK(convertBmp)->Arg(16)->Arg(32)->Arg(256)->Arg(1024);

void convertBlankPng(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(convertImageToBmp(blankIconPng(), 16, 16));
}
BENCHMARK(convertBlankPng);

// A BMP header claiming 100000 x 100000 pixels in 100 bytes of data.
void refuseHugeHeader(benchmark::State& state) {
    Bytes picture = bmpOfSide(4);
    picture.replace(18, 8, Bytes("\xA0\x86\x01\x00\xA0\x86\x01\x00", 8));
    for (auto _ : state) benchmark::DoNotOptimize(convertImageToBmp(picture, 16, 16));
}
BENCHMARK(refuseHugeHeader);

}  // namespace

BENCHMARK_MAIN();
