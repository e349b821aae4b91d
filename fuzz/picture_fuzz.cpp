// The picture decoder and the tab icon conversion on any bytes: no crash, no runaway
// allocation, a decoded picture within the size limit, and a result that is either the
// 16 x 16 image or the 1 x 1 one.
#include <cstdlib>

#include "icons/bmp_conversion.h"
#include "icons/picture.h"
#include "icons/tab_image_list.h"

using namespace ondrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::optional<Picture> picture = decodePicture(bytes);
    if (picture && (!pictureSizeAllowed(picture->width, picture->height) ||
                    picture->pixels.size() != size_t(picture->width) * size_t(picture->height)))
        abort();
    const Bytes bmp = convertImageToBmp(bytes, 16, 16);
    if (bmp.size() != (picture ? 822u : 58u)) abort();
    TabImageList list;
    list.add(bmp);
    list.add(bytes);  // the image list takes any bytes as well
    if (list.images().size() != 2) abort();
    return 0;
}
