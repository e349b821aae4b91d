// Inputs the fuzz targets found that the code-page operations once handled wrongly.
#include <gtest/gtest.h>

#include "text/codepage.h"

namespace ondrel {
namespace {

TEST(CodepageRegression, UrlEncodeTakesItsInputAsTextOnBothPaths) {
    // Bytes after a NUL were encoded as they stood on the program's-text path while the UTF-8
    // path, like every conversion, stopped at the NUL.
    const std::string bytes("\x01\0\0\0\0\0\0\0\xE4\xB8\xAD \xFF", 13);
    for (bool keepSafe : {false, true}) {
        EXPECT_EQ(urlEncode(bytes, keepSafe, false), "%01");
        EXPECT_EQ(urlEncode(bytes, keepSafe, true), "%01");
    }
}

}  // namespace
}  // namespace ondrel
