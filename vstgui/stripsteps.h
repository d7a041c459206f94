// Film-strip steps: where each frame of a knob's strip differs from the
// frame before it, as the knob draws them (w x h pixels from the row where
// the frame starts at the frame's scale). A knob turned from frame a to
// frame b changes no pixel outside the union of the steps between them, so
// it need redraw only that box: on a panel whose knobs all move under
// automation, that is a fraction of each knob's pixels.
#pragma once

#include <cstdint>
#include <vector>

#include "vstgui/crect.h"
#include "vstgui/pixelsurface.h"

namespace VSTGUI {

// steps[i] (1 <= i < frames) boxes the pixels, relative to a frame's top
// left corner, that differ between frames i - 1 and i; steps[0] is empty.
// Frame i starts at row toPixels(i * frameHeight, scale) of image. Empty
// when some frame does not lie wholly inside the image.
std::vector<CRect> stripSteps(const PixelSurface& image, int32_t scale, int32_t frames, int32_t frameHeight,
                              int32_t width, int32_t height);

// The box of every step from frame a to frame b (either way round).
CRect changedBetween(const std::vector<CRect>& steps, int32_t a, int32_t b);

}  // namespace VSTGUI
