// COffscreenContext: a drawing context over a private buffer of fixed size
// (in view units: on a scaled frame the buffer has the scaled pixels).
//
// Containers keep one as their double buffer: children draw into it and
// copyFrom puts the result on the window in one copy, so the window never
// shows a half-drawn state. The buffer starts filled with the background
// colour, its top row and left column included. [ui thread] only.
#pragma once

#include <memory>

#include "vstgui/cdrawcontext.h"
#include "vstgui/pixelsurface.h"

namespace VSTGUI {

class COffscreenContext : public CDrawContext {
public:
    // A negative width or height gives an empty buffer whose clip spans from
    // that value to 0; sides beyond PixelSurface::kMaxSide give an empty one.
    COffscreenContext(CFrame* frame, int32_t width, int32_t height,
                      const CColor& background = kBlackCColor);
    ~COffscreenContext() override;

    // Copies the buffer region of destRect's size that starts at srcOffset to
    // destRect on dest (moved by dest's offset, clipped by dest's clip).
    void copyFrom(CDrawContext* dest, const CRect& destRect, const CPoint& srcOffset = CPoint());

    int32_t getWidth() const { return width; }
    int32_t getHeight() const { return height; }
    CColor getBackgroundColor() const { return backgroundColor; }
    // False when the buffer could not be made (empty or oversized).
    bool hasBuffer() const { return !buffer->isEmpty(); }

private:
    int32_t height;
    int32_t width;
    bool ownsPixmap = true;
    CColor backgroundColor;
    std::unique_ptr<PixelSurface> buffer;
};

}  // namespace VSTGUI
