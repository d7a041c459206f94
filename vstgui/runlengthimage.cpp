#include "vstgui/runlengthimage.h"

#include <algorithm>
#include <cstring>

namespace VSTGUI {

namespace {

constexpr std::size_t kHeaderSize = 12;

uint32_t readLe32(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

}  // namespace

bool readRunLengthSize(const unsigned char* data, std::size_t size, int32_t& width, int32_t& height) {
    if (!data || size < kHeaderSize || std::memcmp(data, "ORLE", 4) != 0) return false;
    const uint32_t w = readLe32(data + 4), h = readLe32(data + 8);
    if (w == 0 || h == 0 || w > uint32_t(PixelSurface::kMaxSide) || h > uint32_t(PixelSurface::kMaxSide))
        return false;
    width = int32_t(w);
    height = int32_t(h);
    return true;
}

std::unique_ptr<PixelSurface> decodeRunLength(const unsigned char* data, std::size_t size) {
    int32_t width = 0, height = 0;
    if (!readRunLengthSize(data, size, width, height)) return nullptr;
    auto image = std::make_unique<PixelSurface>(width, height);
    if (image->isEmpty()) return nullptr;
    Pixel* out = image->data();
    const std::size_t total = std::size_t(width) * std::size_t(height);
    std::size_t done = 0;
    const unsigned char* p = data + kHeaderSize;
    const unsigned char* end = data + size;
    auto pixelAt = [](const unsigned char* q) { return Pixel(q[0]) << 16 | Pixel(q[1]) << 8 | Pixel(q[2]); };
    while (p < end && done < total) {
        const unsigned n = *p++;
        if (n < 128) {
            const std::size_t count = n + 1;
            if (std::size_t(end - p) < 3 * count || total - done < count) return nullptr;
            for (std::size_t i = 0; i < count; ++i, p += 3) out[done++] = pixelAt(p);
        } else {
            const std::size_t count = n - 126;
            if (end - p < 3 || total - done < count) return nullptr;
            std::fill(out + done, out + done + count, pixelAt(p));
            done += count;
            p += 3;
        }
    }
    if (done != total || p != end) return nullptr;
    return image;
}

}  // namespace VSTGUI
