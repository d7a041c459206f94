#include "vstgui/bmpdecoder.h"

#include <cstdint>
#include <cstdlib>

namespace VSTGUI {

namespace {

// File header (14 bytes) followed by the info header's own 40 bytes.
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr uint32_t kUncompressed = 0;  // BI_RGB

uint32_t read32(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t read16(const unsigned char* p) { return uint16_t(p[0] | p[1] << 8); }

}  // namespace

std::unique_ptr<PixelSurface> decodeBmp(const unsigned char* data, std::size_t size) {
    if (!data || size < kFileHeaderSize + kInfoHeaderSize) return nullptr;
    if (data[0] != 'B' || data[1] != 'M') return nullptr;
    const uint64_t pixelOffset = read32(data + 10);
    const uint32_t infoSize = read32(data + 14);
    const int64_t width = int32_t(read32(data + 18));
    const int64_t rawHeight = int32_t(read32(data + 22));
    const uint16_t bitsPerPixel = read16(data + 28);
    const uint32_t compression = read32(data + 30);
    if (infoSize < kInfoHeaderSize || compression != kUncompressed) return nullptr;
    if (bitsPerPixel != 24 && bitsPerPixel != 32) return nullptr;
    const bool topDown = rawHeight < 0;
    const int64_t height = std::llabs(rawHeight);
    if (width <= 0 || height <= 0 || width > PixelSurface::kMaxSide || height > PixelSurface::kMaxSide)
        return nullptr;

    // Rows are padded to whole 32-bit words.
    const uint64_t rowSize = (uint64_t(width) * bitsPerPixel + 31) / 32 * 4;
    if (pixelOffset < kFileHeaderSize + infoSize || pixelOffset > size ||
        rowSize * uint64_t(height) > size - pixelOffset)
        return nullptr;

    auto image = std::make_unique<PixelSurface>(int32_t(width), int32_t(height));
    if (image->isEmpty()) return nullptr;
    const std::size_t bytesPerPixel = bitsPerPixel / 8;
    for (int64_t y = 0; y < height; ++y) {
        const int64_t fileRow = topDown ? y : height - 1 - y;
        const unsigned char* in = data + pixelOffset + uint64_t(fileRow) * rowSize;
        Pixel* out = image->data() + y * width;
        for (int64_t x = 0; x < width; ++x, in += bytesPerPixel)
            out[x] = Pixel(in[2]) << 16 | Pixel(in[1]) << 8 | Pixel(in[0]);  // stored blue, green, red
    }
    return image;
}

}  // namespace VSTGUI
