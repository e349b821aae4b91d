// GIF through giflib, record by record: only the first frame is decoded, so an animation's
// later frames cost nothing. The frame is placed on the logical screen, which starts white;
// the transparent index of the frame's graphic control extension stays white as well.
#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "icons/picture_formats.h"

namespace ondrel {
namespace {

struct MemoryInput {
    std::string_view data;
    size_t at = 0;
};

int readFromMemory(GifFileType* gif, GifByteType* buffer, int length) {
    auto* in = static_cast<MemoryInput*>(gif->UserData);
    const size_t n = std::min(size_t(length), in->data.size() - in->at);
    if (n > 0) std::memcpy(buffer, in->data.data() + in->at, n);  // empty data may have no buffer at all
    in->at += n;
    return int(n);
}

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};
using GifFile = std::unique_ptr<GifFileType, GifCloser>;

constexpr int graphicControlLength = 4;

// The transparent index from a graphic control extension, or -1.
int transparentIndex(const GifByteType* block) {
    if (block[0] < graphicControlLength || (block[1] & 1) == 0) return -1;
    return block[4];
}

bool skipSubBlocks(GifFileType* gif, GifByteType* block) {
    while (block != nullptr)
        if (DGifGetExtensionNext(gif, &block) != GIF_OK) return false;
    return true;
}

std::optional<Picture> readFrame(GifFileType* gif, int transparent) {
    if (DGifGetImageDesc(gif) != GIF_OK) return std::nullopt;
    const GifImageDesc& frame = gif->Image;
    if (!pictureSizeAllowed(frame.Width, frame.Height)) return std::nullopt;
    const ColorMapObject* colours = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
    if (colours == nullptr) return std::nullopt;
    // A screen smaller than the frame (or none at all) is widened to hold it.
    const int width = std::max<int>(gif->SWidth, frame.Left + frame.Width);
    const int height = std::max<int>(gif->SHeight, frame.Top + frame.Height);
    if (!pictureSizeAllowed(width, height)) return std::nullopt;

    std::vector<GifPixelType> line(size_t(frame.Width));
    Picture picture(width, height);
    // Interlaced frames send rows 0, 8, 16 ..., then 4, 12 ..., then 2, 6 ..., then 1, 3 ...
    const int passStart[4] = {0, 4, 2, 1}, passStep[4] = {8, 8, 4, 2};
    const int passes = frame.Interlace ? 4 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        const int step = frame.Interlace ? passStep[pass] : 1;
        for (int row = frame.Interlace ? passStart[pass] : 0; row < frame.Height; row += step) {
            if (DGifGetLine(gif, line.data(), frame.Width) != GIF_OK) return std::nullopt;
            for (int x = 0; x < frame.Width; ++x) {
                const int index = line[size_t(x)];
                if (index == transparent) continue;
                const GifColorType c = index < colours->ColorCount ? colours->Colors[index] : GifColorType{0, 0, 0};
                picture.at(frame.Left + x, frame.Top + row) = rgb(c.Red, c.Green, c.Blue);
            }
        }
    }
    return picture;
}

}  // namespace

bool looksLikeGif(std::string_view data) { return data.starts_with("GIF87a") || data.starts_with("GIF89a"); }

std::optional<Picture> decodeGif(std::string_view data) {
    MemoryInput input{data};
    int error = 0;
    GifFile gif(DGifOpen(&input, readFromMemory, &error));
    if (!gif) return std::nullopt;
    int transparent = -1;
    for (;;) {
        GifRecordType type;
        if (DGifGetRecordType(gif.get(), &type) != GIF_OK) return std::nullopt;
        if (type == IMAGE_DESC_RECORD_TYPE) return readFrame(gif.get(), transparent);
        if (type == TERMINATE_RECORD_TYPE) return std::nullopt;
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif.get(), &code, &block) != GIF_OK) return std::nullopt;
            if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr) transparent = transparentIndex(block);
            if (!skipSubBlocks(gif.get(), block)) return std::nullopt;
        }
    }
}

}  // namespace ondrel
