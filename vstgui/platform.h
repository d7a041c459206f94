// The toolkit's seams to the window system: the only way its logic reaches
// the platform. The X11 layer (vstgui/x11/) implements them for the editor;
// tests implement them with fakes. Every call comes from the GUI thread.
//
//   PlatformWindow  the pixels of a window: lend its buffer for drawing, show
//                   what changed, tell where the window is on the screen.
//   PlatformInput   the live pointer position and button/modifier state.
//   PlatformClock   milliseconds and sleeping.
//
// Window creation, sizing, cursors, the pop-up menu and drag-and-drop are
// added here by the layer that binds the frame to a real window.
#pragma once

#include <cstdint>

#include "vstgui/crect.h"

namespace VSTGUI {

class PixelSurface;

class PlatformWindow {
public:
    virtual ~PlatformWindow() = default;
    // The window's buffer for drawing, or none when it has none.
    virtual PixelSurface* lockSurface() = 0;
    // Drawing into the buffer is done: show the pixels of changed (buffer
    // coordinates, may be empty) on the screen.
    virtual void unlockSurface(PixelSurface* surface, const CRect& changed) = 0;
    // The window's top-left corner in screen coordinates.
    virtual CPoint getScreenOrigin() = 0;
};

class PlatformInput {
public:
    virtual ~PlatformInput() = default;
    // Pointer position in screen coordinates.
    virtual CPoint getPointerPosition() = 0;
    // kLButton, kMButton, kRButton, kShift, kControl, kAlt bits held right
    // now. Swapped mouse buttons are already accounted for: the button the
    // user treats as primary reports kLButton.
    virtual int32_t getMouseButtons() = 0;
};

class PlatformClock {
public:
    virtual ~PlatformClock() = default;
    // Milliseconds from an arbitrary start; wraps after 49.7 days.
    virtual uint32_t getTicks() = 0;
    virtual void sleep(uint32_t milliseconds) = 0;
};

// A monotonic clock from the standard library; needs no window system.
class SystemClock final : public PlatformClock {
public:
    uint32_t getTicks() override;
    void sleep(uint32_t milliseconds) override;
};

// What a frame is bound to. Not owned: they outlive the frame.
struct PlatformServices {
    PlatformWindow* window = nullptr;
    PlatformInput* input = nullptr;
    PlatformClock* clock = nullptr;
};

}  // namespace VSTGUI
