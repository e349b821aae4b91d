// The ICO and CUR decoder alone, so the fuzzer's effort is not spent finding the format's first bytes.
#include "icons/picture_formats.h"
#include "picture_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return fuzzPictureDecoder(data, size, ondrel::decodeIco);
}
