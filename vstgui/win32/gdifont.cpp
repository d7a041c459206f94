// The Windows text backend of Font: GDI makes the font (CreateFontA),
// measures (GetTextExtentPoint32A) and draws the glyphs (DrawTextA) white
// on black into a DIB section; their coverage is then blended into the pixel
// surface in the text colour. So text lands in the same surface as every
// other drawing, and only the glyph shapes are the platform's.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <tuple>

#include "vstgui/fonts.h"

namespace VSTGUI {

// The GDI objects every Font of the module shares: one memory device for
// measuring and drawing, the DIB section glyphs are drawn into (grown as
// needed), and the fonts made so far. GDI objects of one device are not
// safe for concurrent use, so every call holds the lock.
struct Library {
    std::mutex lock;
    HDC device = nullptr;
    HBITMAP canvas = nullptr;
    HGDIOBJ oldCanvas = nullptr;
    Pixel* bits = nullptr;
    int32_t canvasWidth = 0;
    int32_t canvasHeight = 0;
    std::map<std::tuple<int32_t, int32_t, int32_t>, std::shared_ptr<Typeface>> faces;

    Library() {
        device = CreateCompatibleDC(nullptr);
        if (!device) return;
        SetBkMode(device, TRANSPARENT);
        SetTextColor(device, RGB(255, 255, 255));
        SetTextAlign(device, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    }
    ~Library() {
        faces.clear();
        if (oldCanvas) SelectObject(device, oldCanvas);
        if (canvas) DeleteObject(canvas);
        if (device) DeleteDC(device);
    }
    // A black canvas of at least width x height; false when it cannot be
    // made. Caller holds the lock.
    bool clearCanvas(int32_t width, int32_t height);

    static std::shared_ptr<Library> instance() {
        static std::shared_ptr<Library> library = std::make_shared<Library>();
        return library;
    }
};

struct Typeface {
    HFONT font = nullptr;
    int32_t ascent = 0;
    int32_t lineHeight = 0;
    ~Typeface() {
        if (font) DeleteObject(font);
    }
};

bool Library::clearCanvas(int32_t width, int32_t height) {
    if (!device) return false;
    if (width > canvasWidth || height > canvasHeight) {
        const int32_t w = std::max(width, canvasWidth), h = std::max(height, canvasHeight);
        BITMAPINFO format{};
        format.bmiHeader.biSize = sizeof format.bmiHeader;
        format.bmiHeader.biWidth = w;
        format.bmiHeader.biHeight = -h;  // top-down
        format.bmiHeader.biPlanes = 1;
        format.bmiHeader.biBitCount = 32;
        format.bmiHeader.biCompression = BI_RGB;
        void* memory = nullptr;
        HBITMAP fresh = CreateDIBSection(device, &format, DIB_RGB_COLORS, &memory, nullptr, 0);
        if (!fresh) return false;
        HGDIOBJ previous = SelectObject(device, fresh);
        if (!oldCanvas) oldCanvas = previous;
        if (canvas) DeleteObject(canvas);
        canvas = fresh;
        bits = static_cast<Pixel*>(memory);
        canvasWidth = w;
        canvasHeight = h;
    }
    GdiFlush();
    std::memset(bits, 0, size_t(canvasWidth) * size_t(canvasHeight) * sizeof(Pixel));
    return true;
}

namespace {

// The font of the table entry, made as the desktop makes it: a negative
// height asks for the character (em) height in pixels. Caller holds the lock.
std::shared_ptr<Typeface> findTypeface(Library& library, int32_t id, int32_t height, int32_t style) {
    const auto key = std::make_tuple(id, height, style);
    auto found = library.faces.find(key);
    if (found != library.faces.end()) return found->second;

    auto typeface = std::make_shared<Typeface>();
    const bool symbol = id == kSymbolFont;
    const bool bold = id == kSystemFont || (style & kBoldFace) != 0;
    typeface->font = CreateFontA(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, (style & kItalicFace) != 0,
                                 (style & kUnderlineFace) != 0, FALSE, ANSI_CHARSET, OUT_STRING_PRECIS,
                                 CLIP_STROKE_PRECIS, DEFAULT_QUALITY,
                                 symbol ? (DEFAULT_PITCH | FF_DECORATIVE) : (VARIABLE_PITCH | FF_SWISS),
                                 standardFont(id).family);
    TEXTMETRICA metrics{};
    if (typeface->font && library.device) {
        HGDIOBJ previous = SelectObject(library.device, typeface->font);
        if (GetTextMetricsA(library.device, &metrics)) {
            typeface->ascent = metrics.tmAscent;
            typeface->lineHeight = metrics.tmHeight;
        }
        SelectObject(library.device, previous);
    }
    library.faces.emplace(key, typeface);
    return typeface;
}

// Selects the face into the shared device for the scope of a call.
class Selected {
public:
    Selected(Library& library, const Typeface& face)
        : device_(library.device), previous_(SelectObject(library.device, face.font)) {}
    ~Selected() { SelectObject(device_, previous_); }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC device_;
    HGDIOBJ previous_;
};

int32_t extentOf(HDC device, const char* text) {
    SIZE size{};
    const int length = int(std::min<size_t>(std::strlen(text), 0x7FFFFFFF));
    return GetTextExtentPoint32A(device, text, length, &size) ? int32_t(size.cx) : 0;
}

}  // namespace

void Font::openFace() {
    library_ = Library::instance();
    std::lock_guard<std::mutex> hold(library_->lock);
    face_ = findTypeface(*library_, id_, height_, style_);
}

Font::~Font() = default;

bool Font::isUsable() const { return face_ && face_->font && library_->device; }

int32_t Font::getStringWidth(const char* text) const {
    if (!text || !*text || !isUsable()) return 0;
    std::lock_guard<std::mutex> hold(library_->lock);
    Selected selected(*library_, *face_);
    return extentOf(library_->device, text);
}

int32_t Font::getLineHeight() const { return isUsable() ? face_->lineHeight : 0; }

int32_t Font::getAscent() const { return isUsable() ? face_->ascent : 0; }

void Font::drawRun(PixelSurface& surface, const char* text, int32_t x, int32_t top, Pixel color) const {
    std::lock_guard<std::mutex> hold(library_->lock);
    Selected selected(*library_, *face_);
    HDC device = library_->device;
    const int32_t width = extentOf(device, text);
    // Slanted and overhanging glyphs reach past the advance box: room on
    // both sides, half the height each.
    const int32_t margin = height_ / 2 + 2;
    const int32_t canvasWidth = width + 2 * margin, canvasHeight = face_->lineHeight;
    if (width <= 0 || canvasHeight <= 0 || canvasWidth > PixelSurface::kMaxSide ||
        !library_->clearCanvas(canvasWidth, canvasHeight))
        return;
    RECT box{margin, 0, margin + width, canvasHeight};
    DrawTextA(device, text, -1, &box, DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | DT_TOP | DT_NOCLIP);
    GdiFlush();
    // White on black: a channel's level is the glyph's coverage (the largest
    // of the three, should the desktop smooth per colour channel).
    for (int32_t row = 0; row < canvasHeight; ++row) {
        const Pixel* line = library_->bits + size_t(row) * size_t(library_->canvasWidth);
        for (int32_t col = 0; col < canvasWidth; ++col) {
            const Pixel p = line[col];
            const uint8_t coverage = uint8_t(std::max({(p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF}));
            if (coverage) surface.blendPixel(x - margin + col, top + row, color, coverage);
        }
    }
}

}  // namespace VSTGUI
