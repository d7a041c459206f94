// Win32FrameWindow: a frame's own window on Windows, a child of the host's
// window, of the class "Plugin%p" (module.h).
//
// The host's message loop delivers the window's messages to its window
// procedure, which turns them into frame calls at once:
//   WM_PAINT            -> drawRect of the paint rectangle, then the
//                          rectangle shown from the pixel buffer
//   WM_L/R/MBUTTONDOWN  -> mouse at the client point, with the buttons of
//                          the press (see press())
//   WM_MOUSEWHEEL       -> onWheel (notches, frame coordinates), then the
//                          default processing too
//   WM_MEASUREITEM,     -> the open pop-up menu's owner-drawn items
//   WM_DRAWITEM
//   WM_DPICHANGED,      -> the editor's desktopScaleChanged with the new
//   ..._AFTERPARENT        DPI's scale (a top-level window also takes the
//                          rectangle the system suggests)
//   WM_DESTROY          -> from outside (the host destroyed its window):
//                          setOpenFlag(false), system window none
// Everything else gets the default processing. The window takes neither
// the mouse capture nor the keyboard focus; controls that hold the mouse
// poll the live buttons (GetAsyncKeyState) and the pointer (GetCursorPos).
//
// Every drawing goes into the pixel buffer; a drawing context that is done
// shows what it changed with SetDIBitsToDevice. OLE is initialised for the
// window's life (its drop target needs it).
//
// Created by the frame's constructor, destroyed by its destructor, used on
// the ui thread only.
#pragma once

#include <windows.h>

#include <memory>

#include "vstgui/pixelsurface.h"
#include "vstgui/platform.h"
#include "vstgui/win32/win32popupmenu.h"

namespace VSTGUI::win32 {

class CDropTarget;

class Win32FrameWindow final : public FrameWindow, public PlatformInput {
public:
    // A visible child window of size in parent (an HWND); none when parent
    // is no window or the window cannot be made.
    static std::unique_ptr<Win32FrameWindow> open(void* parent, const CRect& size, CFrame& frame);
    ~Win32FrameWindow() override;

    // --- PlatformWindow
    PixelSurface* lockSurface() override { return &surface_; }
    void unlockSurface(PixelSurface* surface, const CRect& changed) override;
    CPoint getScreenOrigin() override;

    // --- PlatformInput
    CPoint getPointerPosition() override;
    int32_t getMouseButtons() override;

    // --- FrameWindow
    PlatformInput* getInput() override { return this; }
    // Messages reach the window through the host's loop: nothing waits here.
    void dispatchEvents() override {}
    bool dispatchPendingPaint() override;
    void setCursor(CCursorType type) override;
    void setDropActive(bool active) override;
    bool resize(int32_t width, int32_t height) override;
    bool getOuterPosition(CPoint& position) override;
    bool getHostRect(CRect& rect) override;
    PlatformPopup* getPopup() override { return &popup_; }

    HWND handle() const { return window_; }
    // The registered drop target, or none (for tests).
    CDropTarget* dropTarget() const { return dropTarget_; }

private:
    Win32FrameWindow(HWND window, const CRect& size, CFrame& frame);

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void paint();
    void press(UINT message, WPARAM wParam, LPARAM lParam);
    void wheel(WPARAM wParam, LPARAM lParam);
    void dpiChanged(int32_t scale);
    void destroyedFromOutside();
    void revokeDropTarget();

    HWND window_;
    CFrame& frame_;
    PixelSurface surface_;
    Win32PopupMenu popup_;
    CDropTarget* dropTarget_ = nullptr;  // registered; the registration holds it
    HCURSOR defaultCursor_ = nullptr;    // the cursor found at the first setCursor
    bool defaultCursorRead_ = false;
    bool painting_ = false;  // inside WM_PAINT: the paint shows the pixels
    bool alive_ = true;      // false once destroyed from outside
    bool ole_ = false;       // OleInitialize succeeded: undone at destruction
};

}  // namespace VSTGUI::win32
