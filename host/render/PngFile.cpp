#include "host/render/PngFile.h"

#include <png.h>

#include <csetjmp>

#include "host/core/SafeFile.h"

namespace {

void append(png_structp png, png_bytep data, png_size_t size) {
    auto* bytes = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
    bytes->insert(bytes->end(), data, data + size);
}

void flush(png_structp) {}

// libpng reports failures by jumping back here; nothing in this function
// changes after the jump point, so nothing is lost by the jump.
bool encode(png_structp png, png_infop info, std::vector<unsigned char>& out, const std::vector<uint8_t>& rgb,
            int width, int height) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, &out, append, flush);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) png_write_row(png, rgb.data() + size_t(y) * size_t(width) * 3);
    png_write_end(png, nullptr);
    return true;
}

}  // namespace

bool writePng(const std::string& path, const std::vector<uint8_t>& rgb, int width, int height,
              std::string& error) {
    if (width <= 0 || height <= 0 || rgb.size() != size_t(width) * size_t(height) * 3) {
        error = "no picture to write";
        return false;
    }
    // Encoded in memory (a picture is small), then written whole.
    std::vector<unsigned char> bytes;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    const bool ok = png && info && encode(png, info, bytes, rgb, width, height);
    png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
    if (!ok) {
        error = path + ": the picture could not be encoded";
        return false;
    }
    return safefile::writeWholeFile(path, bytes, error);
}
