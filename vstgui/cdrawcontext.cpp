#include "vstgui/cdrawcontext.h"

#include <algorithm>

#include "vstgui/cframe.h"
#include "vstgui/pixelsurface.h"
#include "vstgui/platform.h"

namespace VSTGUI {

namespace {
// Largest font height honoured: bigger requests would render glyph bitmaps
// of many megabytes; the editor's window is 500 pixels tall.
constexpr int32_t kMaxFontSize = 500;
}  // namespace

CDrawContext::CDrawContext(CFrame* frame, PixelSurface* device, PlatformWindow* window)
    : pSystemContext(device), pWindow(window), pFrame(frame) {
    if (frame)
        frame->getViewSize(clipRect);
    else
        clipRect = CRect(0, 0, 1000, 1000);
    if (!device && window) {
        pSystemContext = window->lockSurface();
        ownDevice = pSystemContext != nullptr;
    }
    // A fresh context draws on the whole surface until a clip is set.
    if (pSystemContext) pSystemContext->resetClip();
    if (window) offsetScreen = window->getScreenOrigin();

    setFrameColor(kWhiteCColor);
    setLineStyle(kLineSolid);
    setLineWidth(1);
    setFillColor(kBlackCColor);
    setFontColor(kWhiteCColor);
    setFont(kSystemFont);
    setDrawMode(kCopyMode);
}

CDrawContext::~CDrawContext() {
    if (!ownDevice || !pWindow) return;
    // The surface still lists the separate changed rectangles during the
    // call (PlatformWindow::unlockSurface); they are forgotten afterwards.
    pWindow->unlockSurface(pSystemContext, pSystemContext->damage());
    pSystemContext->takeDamage();
}

void CDrawContext::moveTo(const CPoint& point) { penLoc = point; }

void CDrawContext::lineTo(const CPoint& point) {
    if (pSystemContext)
        pSystemContext->line(toDevice(penLoc), toDevice(point), toPixel(frameColor), frameWidth,
                             lineStyle == kLineOnOffDash);
    penLoc = point;
}

void CDrawContext::drawRect(const CRect& rect) {
    moveTo(CPoint(rect.left, rect.top));
    lineTo(CPoint(rect.right - 1, rect.top));
    lineTo(CPoint(rect.right - 1, rect.bottom - 1));
    lineTo(CPoint(rect.left, rect.bottom - 1));
    lineTo(CPoint(rect.left, rect.top));
}

void CDrawContext::fillRect(const CRect& rect) {
    if (!pSystemContext) return;
    CRect r(rect.left + 1, rect.top + 1, rect.right, rect.bottom);
    r.offset(offset.h, offset.v);
    pSystemContext->fill(r, toPixel(fillColor));
}

void CDrawContext::fillEllipse(const CRect& rect) {
    if (!pSystemContext) return;
    CRect r(rect.left + 1, rect.top + 1, rect.right + 1, rect.bottom + 1);
    r.offset(offset.h, offset.v);
    pSystemContext->fillEllipse(r, toPixel(fillColor));
}




void CDrawContext::setClipRect(const CRect& rect) {
    CRect clip = rect;
    clip.offset(offset.h, offset.v);
    if (clip == clipRect) return;
    clipRect = clip;
    if (pSystemContext) pSystemContext->setClip(clipRect);
}

CRect& CDrawContext::getClipRect(CRect& rect) const {
    rect = clipRect;
    rect.offset(-offset.h, -offset.v);
    return rect;
}

void CDrawContext::setFont(CFont fontID, int32_t size, int32_t style) {
    int32_t id = fontID;
    if (id < 0 || id >= kNumStandardFonts) id = kSystemFont;
    // Heights of 0 or less take the table's; absurd heights are capped.
    int32_t height = size > 0 ? std::min(size, kMaxFontSize) : standardFont(id).height;
    if (id == fontId && height == fontSize && style == fontStyle) return;
    fontId = id;
    fontSize = height;
    fontStyle = style;
    font = std::make_unique<Font>(id, height, style);
}

int32_t CDrawContext::getStringWidth(const char* text) {
    return font ? font->getStringWidth(text) : 0;
}

void CDrawContext::drawString(const char* text, const CRect& rect, bool opaque, CHoriTxtAlign align) {
    if (!text || !pSystemContext || !font) return;
    CRect r = rect;
    r.offset(offset.h, offset.v);
    if (align == kLeftText) r.left += 1;
    const Pixel background = toPixel(fillColor);
    font->drawString(*pSystemContext, text, r, align, toPixel(fontColor), opaque ? &background : nullptr);
}

PlatformInput* CDrawContext::getPlatformInput() const {
    return pFrame ? pFrame->getPlatformInput() : nullptr;
}

int32_t CDrawContext::getMouseButtons() {
    PlatformInput* input = getPlatformInput();
    return input ? input->getMouseButtons() : 0;
}

}  // namespace VSTGUI
