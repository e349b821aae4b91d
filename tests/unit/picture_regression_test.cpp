// Inputs the fuzz targets found that the picture decoders once read past the end of.
#include <vector>

#include <gtest/gtest.h>

#include "icons/picture_formats.h"

namespace ondrel {
namespace {

TEST(PictureRegression, EachDecoderRefusesDataTooShortForItsHeader) {
    // Every decoder yields nothing for what it cannot read, also when it is called on its own
    // rather than after the format was recognised; the ICO and PCX decoders read header fields
    // of a one-byte input.
    std::optional<Picture> (*const decoders[])(std::string_view) = {decodeIco, decodeBmp, decodeGif,
                                                                    decodeJpeg, decodePng, decodePcx};
    for (const std::string& data : {std::string(), std::string("\x0A", 1), std::string("\0\0\1\0", 4),
                                    std::string("\x0A\x05\x01\x08", 4)}) {
        // On the heap at its exact size, so that a read past the end is caught.
        const std::vector<char> bytes(data.begin(), data.end());
        for (auto decode : decoders)
            EXPECT_FALSE(decode(std::string_view(bytes.data(), bytes.size())).has_value()) << data.size();
    }
}

}  // namespace
}  // namespace ondrel
