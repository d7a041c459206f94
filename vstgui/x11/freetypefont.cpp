// The Linux text backend of Font: fontconfig finds the face, FreeType
// renders the glyphs.
#include "vstgui/fonts.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <cmath>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <tuple>

namespace VSTGUI {

namespace {

// Windows-1252 code points of the bytes 0x80..0x9F (0 where none); the other
// bytes are their own Latin-1 code points.
const uint16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

}  // namespace

// FreeType, fontconfig and the faces loaded so far, shared by every Font of
// the module; it lives while the module's own reference or any Font does. A face object is not safe for concurrent use, so every call
// into FreeType holds the lock.
struct Library {
    std::mutex lock;
    FT_Library freetype = nullptr;
    FcConfig* config = nullptr;
    std::map<std::tuple<std::string, bool, bool>, std::shared_ptr<Typeface>> faces;

    Library() {
        if (FT_Init_FreeType(&freetype) != 0) freetype = nullptr;
        // A configuration of our own: the host's global one is left alone.
        config = FcInitLoadConfigAndFonts();
    }
    ~Library() {
        faces.clear();
        if (config) FcConfigDestroy(config);
        if (freetype) FT_Done_FreeType(freetype);
    }

    static std::shared_ptr<Library> instance() {
        static std::shared_ptr<Library> library = std::make_shared<Library>();
        return library;
    }
};

struct Typeface {
    Library* library = nullptr;  // kept alive by every Font using the face
    FT_Face face = nullptr;
    bool synthesizeBold = false;
    bool synthesizeItalic = false;
    bool byteCodes = false;  // glyphs addressed by byte + codeBase, not by Windows-1252
    uint32_t codeBase = 0;

    ~Typeface() {
        if (face) FT_Done_Face(face);
    }
};

namespace {

// Caller holds library.lock.
std::shared_ptr<Typeface> findTypeface(const std::shared_ptr<Library>& library,
                                       const std::string& family, bool bold, bool italic, bool symbol) {
    auto key = std::make_tuple(family, bold, italic);
    auto found = library->faces.find(key);
    if (found != library->faces.end()) return found->second;

    auto typeface = std::make_shared<Typeface>();
    typeface->library = library.get();
    if (library->freetype && library->config) {
        FcPattern* pattern = FcPatternCreate();
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
        FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        FcConfigSubstitute(library->config, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        FcPattern* match = FcFontMatch(library->config, pattern, &result);
        FcChar8* file = nullptr;
        int index = 0, weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
        if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
            FcPatternGetInteger(match, FC_INDEX, 0, &index);
            FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
            FcPatternGetInteger(match, FC_SLANT, 0, &slant);
            FT_Face face = nullptr;
            if (FT_New_Face(library->freetype, reinterpret_cast<const char*>(file), index, &face) == 0)
                typeface->face = face;
        }
        if (match) FcPatternDestroy(match);
        FcPatternDestroy(pattern);
        // A family without a bold or italic face gets them by synthesis.
        typeface->synthesizeBold = bold && weight < FC_WEIGHT_DEMIBOLD;
        typeface->synthesizeItalic = italic && slant == FC_SLANT_ROMAN;
        // A symbol font takes the byte itself: at 0xF000 up in a Windows
        // symbol cmap, as is in the Unicode cmap of the PostScript ones.
        if (symbol && typeface->face) {
            typeface->byteCodes = true;
            if (FT_Select_Charmap(typeface->face, FT_ENCODING_MS_SYMBOL) == 0) typeface->codeBase = 0xF000;
        }
    }
    library->faces.emplace(key, typeface);
    return typeface;
}

uint32_t codePoint(const Typeface& typeface, unsigned char byte) {
    if (typeface.byteCodes) return typeface.codeBase + byte;
    if (byte >= 0x80 && byte < 0xA0) return kCp1252High[byte - 0x80];
    return byte;
}

// Loads the glyph of one byte into the face's slot at the current size,
// rendered when render is set. Caller holds the lock. False when the font
// has no such glyph (control characters included), or it fails to load.
bool loadGlyph(const Typeface& typeface, unsigned char byte, bool render) {
    FT_Face face = typeface.face;
    const uint32_t code = codePoint(typeface, byte);
    if (code == 0) return false;
    const FT_UInt index = FT_Get_Char_Index(face, code);
    if (index == 0) return false;  // no glyph: skip it rather than draw a box
    if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT | FT_LOAD_TARGET_NORMAL) != 0) return false;
    if (typeface.synthesizeItalic) FT_GlyphSlot_Oblique(face->glyph);
    if (typeface.synthesizeBold) FT_GlyphSlot_Embolden(face->glyph);
    if (render && face->glyph->format != FT_GLYPH_FORMAT_BITMAP &&
        FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0)
        return false;
    return true;
}

int32_t advanceOf(const FT_GlyphSlot slot) { return int32_t((slot->advance.x + 32) >> 6); }

void drawGlyph(PixelSurface& surface, const FT_GlyphSlot slot, int32_t penX, int32_t baseline,
               Pixel color) {
    const FT_Bitmap& bitmap = slot->bitmap;
    const int32_t x0 = penX + slot->bitmap_left;
    const int32_t y0 = baseline - slot->bitmap_top;
    for (unsigned row = 0; row < bitmap.rows; ++row) {
        const unsigned char* line = bitmap.buffer + int64_t(row) * bitmap.pitch;
        for (unsigned col = 0; col < bitmap.width; ++col) {
            uint8_t coverage = 0;
            if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY)
                coverage = line[col];
            else if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
                coverage = (line[col / 8] & (0x80 >> (col % 8))) ? 255 : 0;
            surface.blendPixel(x0 + int32_t(col), y0 + int32_t(row), color, coverage);
        }
    }
}

}  // namespace

void Font::openFace() {
    const bool bold = id_ == kSystemFont || (style_ & kBoldFace) != 0;
    const bool italic = (style_ & kItalicFace) != 0;
    library_ = Library::instance();
    std::lock_guard<std::mutex> hold(library_->lock);
    face_ = findTypeface(library_, standardFont(id_).family, bold, italic, id_ == kSymbolFont);
}

Font::~Font() = default;

bool Font::isUsable() const { return face_ && face_->face; }

namespace {
// Selects the height on the shared face; caller holds the lock.
bool selectSize(const Typeface& typeface, int32_t height) {
    return typeface.face && FT_Set_Pixel_Sizes(typeface.face, 0, FT_UInt(height)) == 0;
}
}  // namespace

int32_t Font::getStringWidth(const char* text) const {
    if (!text || !isUsable()) return 0;
    std::lock_guard<std::mutex> hold(face_->library->lock);
    if (!selectSize(*face_, height_)) return 0;
    int32_t width = 0;
    for (const char* c = text; *c; ++c)
        if (loadGlyph(*face_, static_cast<unsigned char>(*c), false)) width += advanceOf(face_->face->glyph);
    return width;
}

int32_t Font::getLineHeight() const {
    if (!isUsable()) return 0;
    std::lock_guard<std::mutex> hold(face_->library->lock);
    if (!selectSize(*face_, height_)) return 0;
    const FT_Size_Metrics& m = face_->face->size->metrics;
    return int32_t((m.ascender - m.descender) >> 6);
}

int32_t Font::getAscent() const {
    if (!isUsable()) return 0;
    std::lock_guard<std::mutex> hold(face_->library->lock);
    if (!selectSize(*face_, height_)) return 0;
    return int32_t(face_->face->size->metrics.ascender >> 6);
}

void Font::drawRun(PixelSurface& surface, const char* text, int32_t x, int32_t top, Pixel color) const {
    std::lock_guard<std::mutex> hold(face_->library->lock);
    if (!selectSize(*face_, height_)) return;
    const FT_Face face = face_->face;
    const int32_t baseline = top + int32_t(face->size->metrics.ascender >> 6);
    int32_t pen = x;
    for (const char* c = text; *c; ++c) {
        if (!loadGlyph(*face_, static_cast<unsigned char>(*c), true)) continue;
        drawGlyph(surface, face->glyph, pen, baseline, color);
        pen += advanceOf(face->glyph);
    }
    if (style_ & kUnderlineFace) {
        const double scale = double(height_) / double(face->units_per_EM ? face->units_per_EM : 1);
        const int32_t below = std::max<int32_t>(1, int32_t(std::lround(-face->underline_position * scale)));
        const int32_t thick = std::max<int32_t>(1, int32_t(std::lround(face->underline_thickness * scale)));
        surface.fill(CRect(x, baseline + below, pen, baseline + below + thick), color);
    }
}

}  // namespace VSTGUI
