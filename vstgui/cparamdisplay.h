// CParamDisplay: a control that shows its value as text on a filled, framed
// field (or on its background bitmap).
//
// The text comes from a converter the owner sets (with or without user
// data; the one with user data wins), else from the value as "%2.2f". Style
// bits choose a bevel instead of the outline, a text shadow, no frame, no
// text or no drawing at all; the pop-up bits are for the option menu, which
// derives from this class and draws through drawText.
//
// [ui thread] only, like every view; the setters that change the look mark
// the display dirty so that the next idle redraws it.
#pragma once

#include <cstdint>

#include "vstgui/ccolor.h"
#include "vstgui/ccontrol.h"
#include "vstgui/fonts.h"

namespace VSTGUI {

// Style bits of displays and menus.
enum CParamDisplayStyle : int32_t {
    kShadowText = 0x4,             // the text once more in shadowColor, 1 px down and right
    k3DIn = 0x80,                  // a sunken bevel instead of the outline
    k3DOut = 0x100,                // a raised bevel instead of the outline
    kPopupStyle = 0x200,           // a menu pops up over itself instead of below
    kCheckStyle = 0x400,           // the pop-up marks the current entry
    kMultipleCheckStyle = 0x401,   // every entry has its own check mark
    kNoTextStyle = 0x800,          // no text
    kNoDrawStyle = 0x1000,         // nothing drawn at all
    kNoFrame = 0x4000,             // no outline
};

class CParamDisplay : public CControl {
public:
    // Converters write at most kTextSize - 1 characters and a terminator.
    static constexpr int32_t kTextSize = 256;
    using StringConvert = void (*)(float value, char* text);
    using StringConvert2 = void (*)(float value, char* text, void* userData);
    using String2FloatConvert = void (*)(char* text, float& value);

    // No listener, tag 0; white text centred on black, outlined in black,
    // the normal font.
    CParamDisplay(const CRect& size, CBitmap* background = nullptr, int32_t style = 0);
    ~CParamDisplay() override;

    // --- CView / CControl
    // The converted value through drawText.
    void draw(CDrawContext* context) override;
    bool isTypeOf(const char* className) const override;

    // --- the display's own operations (each marks dirty when it changes
    // something that shows)
    virtual void setFont(int32_t fontID);
    virtual void setFontColor(const CColor& color);
    virtual void setBackColor(const CColor& color);
    virtual void setFrameColor(const CColor& color);
    virtual void setShadowColor(const CColor& color);
    virtual void setHoriAlign(int32_t align);
    virtual void setStringConvert(StringConvert2 convert, void* userData);
    virtual void setStringConvert(StringConvert convert);
    // Kept for the owner; nothing here calls it.
    virtual void setString2FloatConvert(String2FloatConvert convert);
    virtual void setStyle(int32_t newStyle);
    virtual void setTxtFace(int32_t face);
    // On (the default): text draws without a background of its own.
    virtual void setTextTransparency(bool transparent);

    int32_t getStyle() const { return style; }
    int32_t getFont() const { return fontID; }
    CColor getFontColor() const { return fontColor; }
    CColor getFrameColor() const { return frameColor; }

protected:
    // Background (newBackground instead of the view's own when given), bevel
    // or outline, then text (none allowed); clears dirty first.
    void drawText(CDrawContext* context, const char* text, CBitmap* newBackground = nullptr);

    StringConvert stringConvert = nullptr;
    StringConvert2 stringConvert2 = nullptr;
    String2FloatConvert string2FloatConvert = nullptr;
    void* userData = nullptr;
    int32_t horiTxtAlign = kCenterText;
    int32_t style;
    int32_t fontID = kNormalFont;
    int32_t txtFace = kNormalFace;
    CColor fontColor = kWhiteCColor;
    CColor backColor = kBlackCColor;
    CColor frameColor = kBlackCColor;
    CColor shadowColor = kRedCColor;
    bool bTextTransparencyEnabled = true;
};

}  // namespace VSTGUI
