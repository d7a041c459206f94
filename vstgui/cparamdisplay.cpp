#include "vstgui/cparamdisplay.h"

#include <cstdio>
#include <cstring>

#include "vstgui/cbitmap.h"
#include "vstgui/cdrawcontext.h"

namespace VSTGUI {

namespace {

// Stores value into field and marks view dirty when it changes something.
template <class T>
void change(CControl& view, T& field, const T& value) {
    if (field != value) view.setDirty(true);
    field = value;
}

}  // namespace

CParamDisplay::CParamDisplay(const CRect& size, CBitmap* background, int32_t style)
    : CControl(size, nullptr, 0, background), style(style) {
    backOffset = CPoint(0, 0);
}

CParamDisplay::~CParamDisplay() = default;

bool CParamDisplay::isTypeOf(const char* className) const {
    return (className && std::strcmp(className, "CParamDisplay") == 0) || CControl::isTypeOf(className);
}

void CParamDisplay::draw(CDrawContext* context) {
    char text[kTextSize] = {};
    if (stringConvert2)
        stringConvert2(value, text, userData);
    else if (stringConvert)
        stringConvert(value, text);
    else
        std::snprintf(text, sizeof text, "%2.2f", double(value));
    text[kTextSize - 1] = 0;  // a converter that forgot its terminator
    drawText(context, text);
}

void CParamDisplay::drawText(CDrawContext* context, const char* text, CBitmap* newBackground) {
    setDirty(false);
    if (!context || (style & kNoDrawStyle)) return;

    if (CBitmap* picture = newBackground ? newBackground : pBackground) {
        drawBitmap(context, picture, size, backOffset);
    } else if (!bTransparencyEnabled) {
        context->setFillColor(backColor);
        context->fillRect(size);
        if (!(style & (kNoFrame | k3DIn | k3DOut))) {
            context->setFrameColor(frameColor);
            context->drawRect(size);
        }
    }

    if (style & (k3DIn | k3DOut)) {
        // Sunken: top and left edges in backColor, bottom and right in
        // frameColor; raised: the other way round.
        const bool sunken = (style & k3DIn) != 0;
        context->setLineWidth(1);
        context->setFrameColor(sunken ? backColor : frameColor);
        context->moveTo(CPoint(size.left, size.bottom - 1));
        context->lineTo(CPoint(size.left, size.top + 1));
        context->lineTo(CPoint(size.right - 1, size.top + 1));
        context->setFrameColor(sunken ? frameColor : backColor);
        context->moveTo(CPoint(size.right - 1, size.top + 1));
        context->lineTo(CPoint(size.right - 1, size.bottom - 1));
        context->lineTo(CPoint(size.left, size.bottom - 1));
    }

    if ((style & kNoTextStyle) || !text || !*text) return;
    CRect kept;
    context->getClipRect(kept);
    context->setClipRect(CRect(size).bound(kept));
    context->setFont(CFont(fontID), 0, txtFace);
    const bool opaque = !bTextTransparencyEnabled;
    if (opaque) context->setFillColor(backColor);
    const auto align = CHoriTxtAlign(horiTxtAlign);
    if (style & kShadowText) {
        context->setFontColor(shadowColor);
        context->drawString(text, CRect(size).offset(1, 1), opaque, align);
    }
    context->setFontColor(fontColor);
    context->drawString(text, size, opaque, align);
    context->setClipRect(kept);
}

void CParamDisplay::setFont(int32_t id) { change(*this, fontID, id); }
void CParamDisplay::setFontColor(const CColor& color) { change(*this, fontColor, color); }
void CParamDisplay::setBackColor(const CColor& color) { change(*this, backColor, color); }
void CParamDisplay::setFrameColor(const CColor& color) { change(*this, frameColor, color); }
void CParamDisplay::setShadowColor(const CColor& color) { change(*this, shadowColor, color); }
void CParamDisplay::setHoriAlign(int32_t align) { change(*this, horiTxtAlign, align); }
void CParamDisplay::setStyle(int32_t newStyle) { change(*this, style, newStyle); }
void CParamDisplay::setTxtFace(int32_t face) { change(*this, txtFace, face); }

void CParamDisplay::setStringConvert(StringConvert2 convert, void* data) {
    stringConvert2 = convert;
    userData = data;
}

void CParamDisplay::setStringConvert(StringConvert convert) { stringConvert = convert; }

void CParamDisplay::setString2FloatConvert(String2FloatConvert convert) { string2FloatConvert = convert; }

void CParamDisplay::setTextTransparency(bool transparent) { bTextTransparencyEnabled = transparent; }

}  // namespace VSTGUI
