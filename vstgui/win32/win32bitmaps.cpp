// The editor's pictures as bitmap resources of the DLL (resources/bitmaps.rc),
// loaded with LoadBitmapA and read back as 32-bit pixels; those drawn larger
// for scaled editors are run-length coded data resources.
#include <windows.h>

#include "vstgui/resourcebitmap.h"
#include "vstgui/runlengthimage.h"
#include "vstgui/win32/module.h"

namespace VSTGUI {

namespace {

// A resource number is a 16-bit integer resource name; anything else would
// be taken for a string pointer.
HBITMAP loadBitmap(int32_t id, BITMAP& info) {
    if (id <= 0 || id > 0xFFFF) return nullptr;
    HBITMAP bitmap = LoadBitmapA(win32::moduleHandle(), MAKEINTRESOURCEA(id));
    if (!bitmap) return nullptr;
    if (GetObjectA(bitmap, sizeof info, &info) != sizeof info || info.bmWidth <= 0 || info.bmHeight <= 0 ||
        info.bmWidth > PixelSurface::kMaxSide || info.bmHeight > PixelSurface::kMaxSide) {
        DeleteObject(bitmap);
        return nullptr;
    }
    return bitmap;
}

// The bytes of data resource id, or none. Resource memory lives as long as
// the module.
const unsigned char* loadData(int32_t id, std::size_t& size) {
    if (id <= 0 || id > 0xFFFF) return nullptr;
    HMODULE module = win32::moduleHandle();
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    if (!loaded) return nullptr;
    size = SizeofResource(module, found);
    return static_cast<const unsigned char*>(LockResource(loaded));
}

}  // namespace

bool resourceBitmapSize(int32_t id, int32_t& width, int32_t& height) {
    std::size_t size = 0;
    if (const unsigned char* data = loadData(id, size)) return readRunLengthSize(data, size, width, height);
    BITMAP info{};
    HBITMAP bitmap = loadBitmap(id, info);
    if (!bitmap) return false;
    width = info.bmWidth;
    height = info.bmHeight;
    DeleteObject(bitmap);
    return true;
}

std::unique_ptr<PixelSurface> loadResourceBitmap(int32_t id) {
    std::size_t size = 0;
    if (const unsigned char* data = loadData(id, size)) return decodeRunLength(data, size);
    BITMAP info{};
    HBITMAP bitmap = loadBitmap(id, info);
    if (!bitmap) return nullptr;
    auto pixels = std::make_unique<PixelSurface>(info.bmWidth, info.bmHeight);
    // Rows top-down, 32 bits a pixel: bytes B, G, R, unused, which is the
    // surface's 0x00RRGGBB.
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = info.bmWidth;
    format.bmiHeader.biHeight = -info.bmHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, bitmap, 0, UINT(info.bmHeight), pixels->data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    if (rows != info.bmHeight) return nullptr;
    Pixel* p = pixels->data();
    for (size_t i = 0, n = size_t(info.bmWidth) * size_t(info.bmHeight); i < n; ++i) p[i] &= 0x00FFFFFF;
    return pixels;
}

}  // namespace VSTGUI
