#pragma once
// The placeholder icon: a 16 x 16 PNG, 8 bits per channel with alpha, every pixel opaque white,
// 84 bytes. Converted it is all white, and since the tab image list takes the top-left colour
// as transparent, it draws as nothing.
#include "text/text.h"

namespace ondrel {

const Bytes& blankIconPng();

}  // namespace ondrel
