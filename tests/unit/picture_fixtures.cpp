#include "picture_fixtures.h"

#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <stdexcept>

#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>

namespace ondrel::fixtures {

Bytes le16(std::uint32_t v) { return Bytes{char(v & 0xFF), char((v >> 8) & 0xFF)}; }
Bytes le32(std::uint32_t v) { return le16(v & 0xFFFF) + le16(v >> 16); }

namespace {
void appendToBytes(png_structp png, png_bytep data, png_size_t length) {
    static_cast<Bytes*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}
}  // namespace

Bytes pngFile(int width, int height, int bitDepth, int colourType, const std::vector<std::uint8_t>& rows,
              const std::vector<std::uint8_t>& paletteBytes, const std::vector<std::uint8_t>& transparency) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) throw std::runtime_error("png fixture");
    png_set_write_fn(png, &out, appendToBytes, nullptr);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), bitDepth, colourType,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (size_t i = 0; i + 2 < paletteBytes.size(); i += 3)
        palette.push_back({paletteBytes[i], paletteBytes[i + 1], paletteBytes[i + 2]});
    if (!palette.empty()) png_set_PLTE(png, info, palette.data(), int(palette.size()));
    if (!transparency.empty()) png_set_tRNS(png, info, transparency.data(), int(transparency.size()), nullptr);
    png_write_info(png, info);
    const size_t rowBytes = png_get_rowbytes(png, info);
    for (int y = 0; y < height; ++y) png_write_row(png, rows.data() + size_t(y) * rowBytes);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

Bytes pngRgba(int width, int height, const std::vector<std::uint8_t>& rgba) {
    return pngFile(width, height, 8, PNG_COLOR_TYPE_RGBA, rgba);
}

Bytes jpegFile(int width, int height, const std::vector<Colour>& pixels, bool grey) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = grey ? 1 : 3;
    info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(size_t(width) * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Colour c = pixels[size_t(y * width + x)];
            if (grey) {
                row[size_t(x)] = static_cast<unsigned char>(redOf(c));
            } else {
                row[size_t(x) * 3] = static_cast<unsigned char>(redOf(c));
                row[size_t(x) * 3 + 1] = static_cast<unsigned char>(greenOf(c));
                row[size_t(x) * 3 + 2] = static_cast<unsigned char>(blueOf(c));
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes out(reinterpret_cast<const char*>(buffer), size);
    free(buffer);
    return out;
}

namespace {
int gifToBytes(GifFileType* gif, const GifByteType* data, int length) {
    static_cast<Bytes*>(gif->UserData)->append(reinterpret_cast<const char*>(data), size_t(length));
    return length;
}
}  // namespace

Bytes gifFile(int screenWidth, int screenHeight, const std::vector<Colour>& palette, const std::vector<GifFrame>& frames) {
    Bytes out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, gifToBytes, &error);
    std::vector<GifColorType> colours;
    for (Colour c : palette) colours.push_back({GifByteType(redOf(c)), GifByteType(greenOf(c)), GifByteType(blueOf(c))});
    ColorMapObject* map = GifMakeMapObject(int(colours.size()), colours.data());
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, screenWidth, screenHeight, 8, 0, map);
    for (const GifFrame& f : frames) {
        if (f.transparent >= 0) {
            const GifByteType control[4] = {1, 0, 0, GifByteType(f.transparent)};
            EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, control);
        }
        EGifPutImageDesc(gif, f.left, f.top, f.width, f.height, f.interlace, nullptr);
        // The encoder takes rows in transmission order, which for an interlaced frame is by pass.
        std::vector<int> order;
        if (f.interlace) {
            const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
            for (int p = 0; p < 4; ++p)
                for (int y = start[p]; y < f.height; y += step[p]) order.push_back(y);
        } else {
            for (int y = 0; y < f.height; ++y) order.push_back(y);
        }
        for (int y : order) {
            std::vector<GifPixelType> line(f.indices.begin() + y * f.width, f.indices.begin() + (y + 1) * f.width);
            EGifPutLine(gif, line.data(), f.width);
        }
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

Bytes infoHeader(int width, int height, int bitsPerPixel, std::uint32_t compression, std::uint32_t coloursUsed) {
    return le32(40) + le32(std::uint32_t(width)) + le32(std::uint32_t(height)) + le16(1) + le16(std::uint32_t(bitsPerPixel)) +
           le32(compression) + le32(0) + le32(0) + le32(0) + le32(coloursUsed) + le32(0);
}

Bytes bmpFile(int width, int height, int bitsPerPixel, std::uint32_t compression, std::uint32_t coloursUsed,
              const Bytes& tail, size_t paletteAndMaskBytes, std::optional<std::uint32_t> pixelOffset) {
    const Bytes dib = infoHeader(width, height, bitsPerPixel, compression, coloursUsed) + tail;
    const std::uint32_t offset = pixelOffset.value_or(std::uint32_t(14 + 40 + paletteAndMaskBytes));
    return "BM" + le32(std::uint32_t(14 + dib.size())) + le32(0) + le32(offset) + dib;
}

Bytes dibPalette(const std::vector<Colour>& colours) {
    Bytes out;
    for (Colour c : colours) out += Bytes{char(blueOf(c)), char(greenOf(c)), char(redOf(c)), 0};
    return out;
}

Bytes dibRows24(int width, int height, const std::vector<Colour>& topDown) {
    Bytes out;
    const size_t rowBytes = size_t((width * 24 + 31) / 32 * 4);
    for (int y = height - 1; y >= 0; --y) {
        Bytes row;
        for (int x = 0; x < width; ++x) {
            const Colour c = topDown[size_t(y * width + x)];
            row += Bytes{char(blueOf(c)), char(greenOf(c)), char(redOf(c))};
        }
        row.resize(rowBytes, '\0');
        out += row;
    }
    return out;
}

Bytes icoFile(const std::vector<IcoEntry>& entries, int type) {
    Bytes directory = le16(0) + le16(std::uint32_t(type)) + le16(std::uint32_t(entries.size()));
    Bytes images;
    size_t offset = 6 + 16 * entries.size();
    for (const IcoEntry& e : entries) {
        directory += Bytes{char(e.width & 0xFF), char(e.height & 0xFF), 0, 0};
        directory += le16(1) + le16(std::uint32_t(e.bitCount)) + le32(std::uint32_t(e.data.size())) + le32(std::uint32_t(offset));
        images += e.data;
        offset += e.data.size();
    }
    return directory + images;
}

}  // namespace ondrel::fixtures
