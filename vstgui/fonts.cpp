#include "vstgui/fonts.h"

namespace VSTGUI {

namespace {

const StandardFont kStandardFonts[kNumStandardFonts] = {
    {"Arial", 12},   // kSystemFont, always bold
    {"Arial", 18},   // kNormalFontVeryBig
    {"Arial", 14},   // kNormalFontBig
    {"Arial", 12},   // kNormalFont
    {"Arial", 11},   // kNormalFontSmall
    {"Arial", 10},   // kNormalFontSmaller
    {"Arial", 9},    // kNormalFontVerySmall
    {"Symbol", 13},  // kSymbolFont
};

}  // namespace

const StandardFont& standardFont(int32_t id) {
    if (id < 0 || id >= kNumStandardFonts) id = kSystemFont;
    return kStandardFonts[id];
}

Font::Font(int32_t id, int32_t height, int32_t style)
    : id_(id < 0 || id >= kNumStandardFonts ? int32_t(kSystemFont) : id),
      height_(height > 0 ? height : standardFont(id_).height),
      style_(style) {
    openFace();
}

void Font::drawString(PixelSurface& surface, const char* text, const CRect& rect,
                      CHoriTxtAlign align, Pixel color, const Pixel* background) const {
    if (!text || !*text || !isUsable()) return;
    const int32_t width = getStringWidth(text);
    const int32_t lineHeight = getLineHeight();

    int32_t x = rect.left;
    if (align == kCenterText) x = rect.left + (rect.width() - width) / 2;
    else if (align == kRightText) x = rect.right - width;
    const int32_t top = rect.top + (rect.height() - lineHeight) / 2;

    // The text never leaves its rectangle.
    const CRect savedClip = surface.clip();
    CRect clip = rect;
    clip.bound(savedClip);
    surface.setClip(clip);
    if (background) surface.fill(CRect(x, top, x + width, top + lineHeight), *background);
    drawRun(surface, text, x, top, color);
    surface.setClip(savedClip);
}

}  // namespace VSTGUI
