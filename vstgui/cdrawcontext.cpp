#include "vstgui/cdrawcontext.h"

#include <algorithm>

#include "vstgui/cframe.h"
#include "vstgui/pixelsurface.h"
#include "vstgui/platform.h"
#include "vstgui/viewscale.h"

namespace VSTGUI {

namespace {
// Largest font height honoured: bigger requests would render glyph bitmaps
// of many megabytes; the editor's window is 500 pixels tall.
constexpr int32_t kMaxFontSize = 500;
}  // namespace

CDrawContext::CDrawContext(PixelSurface* device, int32_t scale) : CDrawContext(nullptr, device, nullptr) {
    if (!isScaleStep(scale) || scale == 100) return;
    this->scale = scale;
    font.reset();
    fontId = kNumStandardFonts;
    setFont(kSystemFont);
}

CDrawContext::CDrawContext(CFrame* frame, PixelSurface* device, PlatformWindow* window)
    : pSystemContext(device), pWindow(window), pFrame(frame), scale(frame ? frame->getScale() : 100) {
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
    if (pSystemContext && scale != 100)
        scaledLine(toDevice(penLoc), toDevice(point));
    else if (pSystemContext)
        pSystemContext->line(toDevice(penLoc), toDevice(point), toPixel(frameColor), frameWidth,
                             lineStyle == kLineOnOffDash);
    penLoc = point;
}

void CDrawContext::scaledLine(const CPoint& from, const CPoint& to) {
    const Pixel color = toPixel(frameColor);
    const int32_t width = std::max<int32_t>(frameWidth, 1);
    const bool dashed = lineStyle == kLineOnOffDash;
    if ((from.h == to.h) != (from.v == to.v) && !dashed) {
        // The unscaled pixels from `from` up to, not including, `to`, under
        // a square pen centred on them.
        const int32_t before = (width - 1) / 2;
        CRect r;
        if (from.v == to.v)
            r = CRect(from.h < to.h ? from.h : to.h + 1, from.v - before,
                      from.h < to.h ? to.h : from.h + 1, from.v - before + width);
        else
            r = CRect(from.h - before, from.v < to.v ? from.v : to.v + 1, from.h - before + width,
                      from.v < to.v ? to.v : from.v + 1);
        pSystemContext->fill(toPixels(r, scale), color);
        return;
    }
    // The middle of each end's block.
    const int32_t half = toPixels(1, scale) / 2;
    CPoint a = toPixels(from, scale), b = toPixels(to, scale);
    a.offset(half, half);
    b.offset(half, half);
    pSystemContext->line(a, b, color, std::max(1, toPixels(width, scale)), dashed);
}

CRect CDrawContext::toPixelRect(const CRect& rect) const {
    CRect r = rect;
    r.offset(offset.h, offset.v);
    return scale == 100 ? r : toPixels(r, scale);
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
    pSystemContext->fill(toPixelRect(CRect(rect.left + 1, rect.top + 1, rect.right, rect.bottom)),
                         toPixel(fillColor));
}

void CDrawContext::fillEllipse(const CRect& rect) {
    if (!pSystemContext) return;
    pSystemContext->fillEllipse(toPixelRect(CRect(rect.left + 1, rect.top + 1, rect.right + 1, rect.bottom + 1)),
                                toPixel(fillColor));
}




void CDrawContext::setClipRect(const CRect& rect) {
    CRect clip = rect;
    clip.offset(offset.h, offset.v);
    if (clip == clipRect) return;
    clipRect = clip;
    if (pSystemContext) pSystemContext->setClip(scale == 100 ? clipRect : toPixels(clipRect, scale));
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
    // Rendered at the height its pixels have; measured back in view units.
    font = std::make_unique<Font>(id, scale == 100 ? height : std::max(1, toPixels(height, scale)), style);
}

int32_t CDrawContext::getStringWidth(const char* text) {
    if (!font) return 0;
    const int32_t width = font->getStringWidth(text);
    return scale == 100 ? width : (width * 100 + scale / 2) / scale;
}

void CDrawContext::drawString(const char* text, const CRect& rect, bool opaque, CHoriTxtAlign align) {
    if (!text || !pSystemContext || !font) return;
    CRect r = rect;
    if (align == kLeftText) r.left += 1;
    r = toPixelRect(r);
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
