// CDrawContext: a drawing state bound to one pixel surface.
//
// It holds the pen (colour, width, style, position), the fill colour, the
// font and its colour, the clip and two translations: offset, added to every
// coordinate drawn and to the clip, and offsetScreen, where the drawing
// origin lies on the screen. Containers move both while they draw their
// children. Drawing follows the classic device rules: a line leaves its end
// pixel unset, fillRect leaves the top row and left column of its rectangle
// to the outline, the ellipse is bounded one pixel down and right.
//
// Coordinates are view coordinates. On a scaled frame (getScale) every
// shape, picture and line of text lands on the pixels of its scaled place:
// text is rendered at the scaled height, not enlarged.
//
// A context made for a window borrows the window's buffer and shows what it
// drew when it is destroyed (its last forget). Contexts are reference counted,
// created and used on the ui thread only, and never kept across host calls
// except by a container that owns its off-screen one.
#pragma once

#include <cstdint>
#include <memory>

#include "vstgui/ccolor.h"
#include "vstgui/creferencecounter.h"
#include "vstgui/crect.h"
#include "vstgui/fonts.h"

namespace VSTGUI {

class CFrame;
class PixelSurface;
class PlatformInput;
class PlatformWindow;

enum CLineStyle : int32_t {
    kLineSolid = 0,
    kLineOnOffDash = 1,
};

// Only kCopyMode changes how pixels are written; the others are kept as
// state and draw as copies.
enum CDrawMode : int32_t {
    kCopyMode = 0,
    kOrMode = 1,
    kXorMode = 2,
    kAntialias = 3,
};

class CDrawContext : public CReferenceCounter {
public:
    // Any of the three may be none. Without a device but with a window, the
    // context borrows the window's buffer until it is destroyed. The clip
    // starts as the frame's size, or (0, 0, 1000, 1000) without a frame.
    CDrawContext(CFrame* frame, PixelSurface* device, PlatformWindow* window);
    // A context for device alone (none: measuring only) that draws at scale
    // percent, as a frame of that scale would.
    CDrawContext(PixelSurface* device, int32_t scale);
    ~CDrawContext() override;

    void moveTo(const CPoint& point);
    void lineTo(const CPoint& point);
    // Outline through left..right-1 and top..bottom-1 in the frame colour.
    void drawRect(const CRect& rect);
    // left+1..right-1 by top+1..bottom-1 in the fill colour.
    void fillRect(const CRect& rect);
    // The ellipse inscribed in (left+1, top+1, right+1, bottom+1).
    void fillEllipse(const CRect& rect);

    // Pens and brushes are plain state on a pixel surface: setting one
    // creates nothing, so there is nothing to save when it is unchanged.
    void setLineStyle(CLineStyle style) { lineStyle = style; }
    CLineStyle getLineStyle() const { return lineStyle; }
    void setLineWidth(int32_t width) { frameWidth = width; }
    int32_t getLineWidth() const { return frameWidth; }
    void setDrawMode(CDrawMode mode) { drawMode = mode; }
    CDrawMode getDrawMode() const { return drawMode; }
    void setFrameColor(const CColor& color) { frameColor = color; }
    CColor getFrameColor() const { return frameColor; }
    // Also the background of opaque text.
    void setFillColor(const CColor& color) { fillColor = color; }
    CColor getFillColor() const { return fillColor; }
    void setFontColor(const CColor& color) { fontColor = color; }
    CColor getFontColor() const { return fontColor; }

    // rect in the caller's coordinates (offset is added).
    void setClipRect(const CRect& rect);
    // The clip in the caller's coordinates.
    CRect& getClipRect(CRect& rect) const;

    // An id outside the table is the system font; size 0 is the table
    // height. Unchanged id, size and style keep the current font object.
    void setFont(CFont fontID, int32_t size = 0, int32_t style = 0);
    CFont getFont() const { return CFont(fontId); }
    int32_t getFontSize() const { return fontSize; }
    // The font object in use (none before the first setFont).
    const Font* getFontObject() const { return font.get(); }
    int32_t getStringWidth(const char* text);
    // One line, centred vertically; left-aligned text starts one pixel right
    // of rect.left. Opaque text is drawn on the fill colour.
    void drawString(const char* text, const CRect& rect, bool opaque = false,
                    CHoriTxtAlign align = kCenterText);

    // Buttons and modifiers held now (kLButton ... kAlt), through the frame's
    // input seam; 0 without one.
    int32_t getMouseButtons();
    // The live input of the frame, or none.
    PlatformInput* getPlatformInput() const;

    CFrame* getFrame() const { return pFrame; }
    PlatformWindow* getWindow() const { return pWindow; }
    PixelSurface* getSystemContext() const { return pSystemContext; }
    // The frame's scale in percent; 100 without a frame.
    int32_t getScale() const { return scale; }
    // rect (caller's coordinates, offset added) in the surface's pixels.
    CRect toPixelRect(const CRect& rect) const;

    // Read and written directly by containers while they draw children.
    CPoint offsetScreen;
    CPoint offset;

protected:
    CPoint toDevice(const CPoint& p) const { return CPoint(p.h + offset.h, p.v + offset.v); }
    // A line on a scaled surface: straight ones as the blocks their unscaled
    // pixels become, slanted ones as a pen of the scaled width.
    void scaledLine(const CPoint& from, const CPoint& to);

    PixelSurface* pSystemContext = nullptr;
    PlatformWindow* pWindow = nullptr;
    CFrame* pFrame = nullptr;
    int32_t scale = 100;
    int32_t fontSize = -1;
    int32_t fontStyle = 0;
    int32_t fontId = kNumStandardFonts;  // none yet
    CColor fontColor;
    CPoint penLoc;
    int32_t frameWidth = 0;
    CColor frameColor;
    CColor fillColor;
    CLineStyle lineStyle = kLineOnOffDash;
    CDrawMode drawMode = kAntialias;
    CRect clipRect;
    std::unique_ptr<Font> font;
    bool ownDevice = false;  // borrowed from pWindow; given back at destruction
};

// Moves both translations of a context by delta for a scope ("entering" a
// container whose top-left is delta); none is allowed.
class ContextTranslation {
public:
    ContextTranslation(CDrawContext* context, const CPoint& delta) : context_(context) {
        if (!context_) return;
        savedScreen_ = context_->offsetScreen;
        savedOffset_ = context_->offset;
        context_->offsetScreen.offset(delta.h, delta.v);
        context_->offset.offset(delta.h, delta.v);
    }
    ~ContextTranslation() {
        if (!context_) return;
        context_->offsetScreen = savedScreen_;
        context_->offset = savedOffset_;
    }
    ContextTranslation(const ContextTranslation&) = delete;
    ContextTranslation& operator=(const ContextTranslation&) = delete;

private:
    CDrawContext* context_;
    CPoint savedScreen_;
    CPoint savedOffset_;
};

}  // namespace VSTGUI
