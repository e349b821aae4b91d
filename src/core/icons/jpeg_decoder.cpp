// JPEG through libjpeg(-turbo). The library reports fatal errors through a callback that must
// not return; it jumps back here and the data counts as unreadable.
#include <csetjmp>
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>  // needs size_t and FILE declared first

#include "icons/picture_formats.h"

namespace ondrel {
namespace {

struct ErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void leaveOnError(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorTrap*>(info->err)->jump, 1); }
void ignoreMessage(j_common_ptr) {}

// Only C objects live in this frame, so the jump back skips no destructor.
bool readJpeg(std::string_view data, Picture& out) {
    jpeg_decompress_struct info;
    ErrorTrap trap;
    info.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = leaveOnError;
    trap.manager.output_message = ignoreMessage;
    if (setjmp(trap.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data.data()), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
    if (!pictureSizeAllowed(info.image_width, info.image_height)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    out = Picture(int(info.output_width), int(info.output_height));
    JSAMPARRAY row = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE, info.output_width * 3, 1);
    while (info.output_scanline < info.output_height) {
        const int y = int(info.output_scanline);
        jpeg_read_scanlines(&info, row, 1);
        for (int x = 0; x < out.width; ++x) out.at(x, y) = rgb(row[0][x * 3], row[0][x * 3 + 1], row[0][x * 3 + 2]);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

}  // namespace

bool looksLikeJpeg(std::string_view data) { return data.starts_with("\xFF\xD8\xFF"); }

std::optional<Picture> decodeJpeg(std::string_view data) {
    Picture picture;
    if (!readJpeg(data, picture)) return std::nullopt;
    return picture;
}

}  // namespace ondrel
