// X11FrameWindow: a frame's own window on X11, a child of the host's window.
//
// Each window opens its own display connection, so editors of several
// plug-in instances in one process never share one: closing one closes its
// connection and nothing else. The host's window id is all it shares with
// the host. Events wait in the connection until the frame's idle asks for
// them (dispatchEvents) and are turned into frame calls:
//   Expose              -> drawRect of the exposed rectangle
//   button 1, 2, 3      -> mouse at the press point with the buttons and
//                          modifiers of the press (see press())
//   button 4 / 5        -> onWheel +1 / -1 (away from / towards the user)
//   DestroyNotify       -> setOpenFlag(false), system window none; from then
//                          on nothing is drawn or asked of the window (also
//                          taken by dispatchPendingPaint, which a control's
//                          mouse-tracking loop reaches through doIdleStuff)
//   XDND messages       -> the frame's drag operations (XdndTarget)
// Option menus pop up through X11PopupMenu on the same connection; while
// one is open, this window's paints are still served.
// Pointer position, buttons and modifiers are the server's live state
// (XQueryPointer); buttons are logical, so a left-handed mapping already
// reports the primary button as kLButton. Every request that may fail (the
// host may destroy its window at any time) runs inside an ErrorTrap.
//
// Created by the frame's constructor, destroyed by its destructor, used on
// the ui thread only.
#pragma once

#include <X11/Xlib.h>

#include <memory>

#include "vstgui/pixelsurface.h"
#include "vstgui/platform.h"
#include "vstgui/x11/x11popupmenu.h"
#include "vstgui/x11/xdndtarget.h"
#include "vstgui/x11/ximagebuffer.h"

namespace VSTGUI::x11 {

class X11FrameWindow final : public FrameWindow, public PlatformInput {
public:
    // A visible child window of size in parent on the display named by
    // DISPLAY; none when there is no display, no such parent or no usable
    // visual.
    static std::unique_ptr<X11FrameWindow> open(void* parent, const CRect& size, CFrame& frame);
    ~X11FrameWindow() override;

    // --- PlatformWindow
    PixelSurface* lockSurface() override;
    void unlockSurface(PixelSurface* surface, const CRect& changed) override;
    CPoint getScreenOrigin() override;
    // The pixels go to the server at unlockSurface only.
    bool showsOnlyAtUnlock() const override { return true; }

    // --- PlatformInput
    CPoint getPointerPosition() override;
    int32_t getMouseButtons() override;

    // --- FrameWindow
    PlatformInput* getInput() override { return this; }
    void dispatchEvents() override;
    bool dispatchPendingPaint() override;
    void setCursor(CCursorType type) override;
    void setDropActive(bool active) override;
    bool resize(int32_t width, int32_t height) override;
    bool getOuterPosition(CPoint& position) override;
    bool getHostRect(CRect& rect) override;
    PlatformPopup* getPopup() override { return popup_.get(); }

private:
    X11FrameWindow(Display* display, Window parent, Window window, const XWindowAttributes& parentAttributes,
                   const CRect& size, CFrame& frame);

    void handle(XEvent& event);
    void paint(const XExposeEvent& event);
    void press(const XButtonEvent& event);
    void queryPointer(int& rootX, int& rootY, unsigned& mask);
    // The window's rectangle in its parent (position) and its parent.
    bool geometry(Window window, CRect& rect, Window& parent);

    Display* display_;
    Window parent_;
    Window window_;
    Window root_;
    Visual* visual_;
    int depth_;
    GC gc_ = nullptr;
    CFrame& frame_;
    PixelSurface surface_;
    XImageBuffer image_;
    XdndTarget dnd_;
    std::unique_ptr<X11PopupMenu> popup_;  // on this connection; released before it closes
    Cursor cursors_[kCursorHand + 1] = {};
    CPoint lastOrigin_;
    bool alive_ = true;         // false once destroyed from outside
    bool dispatching_ = false;  // inside dispatchEvents
};

}  // namespace VSTGUI::x11
