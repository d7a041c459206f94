// The standard font table and Font, the text renderer behind CDrawContext.
// The table, the font's id and height, and the placing of a line (fonts.cpp)
// are shared; the faces and glyphs are the platform's: FreeType on Linux
// (x11/freetypefont.cpp), GDI on Windows (win32/gdifont.cpp).
//
// Eight fixed fonts (index, height in pixels, family): the system font is
// 12-pixel bold "Arial", the symbol font 13-pixel "Symbol". fontconfig
// resolves each family to a face file once (on Debian "Arial" resolves to
// the metric-compatible Liberation Sans); FreeType renders the glyphs
// anti-aliased with fixed settings, so nothing but the family resolution
// depends on the user's font configuration. A height is the character (em)
// height in pixels, as a negative height asks of the Windows font mapper.
//
// Text is 8-bit: Windows-1252 for the text fonts, the font's own symbol
// encoding for "Symbol" ('a' is alpha). Missing fonts draw nothing and
// measure 0. [ui thread]; the shared face cache is locked internally.
#pragma once

#include <cstdint>
#include <memory>

#include "vstgui/crect.h"
#include "vstgui/pixelsurface.h"

namespace VSTGUI {

enum CFont : int32_t {
    kSystemFont = 0,
    kNormalFontVeryBig,
    kNormalFontBig,
    kNormalFont,
    kNormalFontSmall,
    kNormalFontSmaller,
    kNormalFontVerySmall,
    kSymbolFont,
    kNumStandardFonts,  // also "no font set yet" in a drawing context
};

enum CTxtFace : int32_t {
    kNormalFace = 0,
    kBoldFace = 1,
    kItalicFace = 2,
    kUnderlineFace = 4,
};

enum CHoriTxtAlign : int32_t {
    kLeftText = 0,
    kCenterText = 1,
    kRightText = 2,
};

struct StandardFont {
    const char* family;
    int32_t height;  // pixels
};

// The table entry of id; ids outside the table give the system font.
const StandardFont& standardFont(int32_t id);

struct Library;
struct Typeface;

// One face at one height and style, ready to measure and draw.
class Font {
public:
    // id outside the table is the system font, which is always bold; a
    // height of 0 or less is the table height.
    Font(int32_t id, int32_t height, int32_t style);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    int32_t getHeight() const { return height_; }
    int32_t getStyle() const { return style_; }
    // False when no face could be found: such a font draws nothing.
    bool isUsable() const;

    // Sum of the glyph advances in whole pixels; 0 for no text.
    int32_t getStringWidth(const char* text) const;
    // Ascent plus descent: the height a line of this font occupies.
    int32_t getLineHeight() const;
    int32_t getAscent() const;

    // One line inside rect, centred vertically, starting at rect.left,
    // centred or ending at rect.right; clipped to rect and the surface's clip.
    // With background, the box behind the text is filled first (opaque text).
    void drawString(PixelSurface& surface, const char* text, const CRect& rect,
                    CHoriTxtAlign align, Pixel color, const Pixel* background) const;

private:
    // Finds (or loads) the face of id_, height_ and style_ into library_ and
    // face_. The backend's part.
    void openFace();
    // The glyphs of text (and its underline) on one line whose box starts
    // at (x, top); clipped to the surface's clip. The backend's part.
    void drawRun(PixelSurface& surface, const char* text, int32_t x, int32_t top, Pixel color) const;

    int32_t id_;
    int32_t height_;
    int32_t style_;
    std::shared_ptr<Library> library_;  // declared first: released last
    std::shared_ptr<Typeface> face_;
};

}  // namespace VSTGUI
