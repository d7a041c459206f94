#include "vstgui/bmpdecoder.h"

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

bool readBmpLayout(const unsigned char* data, std::size_t size, BmpLayout& layout) {
    if (!data || size < kFileHeaderSize + kInfoHeaderSize) return false;
    if (data[0] != 'B' || data[1] != 'M') return false;
    const uint64_t pixelOffset = read32(data + 10);
    const uint32_t infoSize = read32(data + 14);
    const int64_t width = int32_t(read32(data + 18));
    const int64_t rawHeight = int32_t(read32(data + 22));
    const uint16_t bitsPerPixel = read16(data + 28);
    const uint32_t compression = read32(data + 30);
    if (infoSize < kInfoHeaderSize || compression != kUncompressed) return false;
    if (bitsPerPixel != 24 && bitsPerPixel != 32) return false;
    const int64_t height = std::llabs(rawHeight);
    if (width <= 0 || height <= 0 || width > PixelSurface::kMaxSide || height > PixelSurface::kMaxSide)
        return false;

    // Rows are padded to whole 32-bit words.
    const uint64_t rowSize = (uint64_t(width) * bitsPerPixel + 31) / 32 * 4;
    if (pixelOffset < kFileHeaderSize + infoSize || pixelOffset > size ||
        rowSize * uint64_t(height) > size - pixelOffset)
        return false;

    layout.width = int32_t(width);
    layout.height = int32_t(height);
    layout.topDown = rawHeight < 0;
    layout.bytesPerPixel = bitsPerPixel / 8;
    layout.rowSize = std::size_t(rowSize);
    layout.pixelOffset = std::size_t(pixelOffset);
    return true;
}

std::unique_ptr<PixelSurface> decodeBmp(const unsigned char* data, std::size_t size) {
    BmpLayout layout;
    if (!readBmpLayout(data, size, layout)) return nullptr;
    auto image = std::make_unique<PixelSurface>(layout.width, layout.height);
    if (image->isEmpty()) return nullptr;
    for (int32_t y = 0; y < layout.height; ++y) {
        const int32_t fileRow = layout.topDown ? y : layout.height - 1 - y;
        const unsigned char* in = data + layout.pixelOffset + std::size_t(fileRow) * layout.rowSize;
        Pixel* out = image->data() + std::size_t(y) * std::size_t(layout.width);
        for (int32_t x = 0; x < layout.width; ++x, in += layout.bytesPerPixel)
            out[x] = Pixel(in[2]) << 16 | Pixel(in[1]) << 8 | Pixel(in[0]);  // stored blue, green, red
    }
    return image;
}

}  // namespace VSTGUI
