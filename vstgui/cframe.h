// CFrame: the root of the view tree, bound to the editor's window.
//
// This is the part of the frame that views and containers rely on: the frame
// pointer every view carries, the root of redrawRect (drawRect), the
// single-view draw used by update without a context, the focus view, the
// editor, the live pointer position, and the platform seams the drawing
// contexts reach through it. Its size starts at (0, 0), so frame space is
// the window's client space.
//
// The window layer completes the class: the frame's own window in the host's
// window (and a constructor taking the host's window), the first-draw flag
// that drawRect and draw clear, idle and update, mouse, wheel and key entry
// with the modal view, cursors, drag-and-drop, sizing, ticks and the edit
// notifications. Whatever it adds must keep the operations below as they are:
// containers call drawRect, draw(view), getCurrentLocation, getFocusView,
// setFocusView and getEditor; drawing contexts call getViewSize and
// getPlatformInput.
//
// Created, used and destroyed on the GUI thread (the thread that owns the
// editor window); never from the audio thread.
#pragma once

#include "vstgui/cviewcontainer.h"
#include "vstgui/platform.h"

namespace VSTGUI {

class CFrame : public CViewContainer {
public:
    // The platform services are not owned and must outlive the frame; any of
    // them may be none (a frame without a window draws nowhere).
    CFrame(const CRect& size, AEffGUIEditor* editor, const PlatformServices& platform);
    ~CFrame() override;

    // --- CView / CViewContainer
    using CViewContainer::draw;
    // Redraws rect (frame space) now: clipped to it, through the buffer.
    // Without a context one is made for the call.
    void drawRect(CDrawContext* context, const CRect& rect) override;
    AEffGUIEditor* getEditor() const override { return pEditor; }
    bool isTypeOf(const char* className) const override;

    // Draws view (a direct child; anything else means the whole frame)
    // straight into the window, without the buffer and without clipping.
    virtual void draw(CView* view);
    // The pointer in frame coordinates: screen position minus the window's
    // screen origin; the screen position without a window; (0, 0) and
    // false without input.
    virtual bool getCurrentLocation(CPoint& where);
    // The old focus view loses focus (looseFocus with no context); views that
    // want focus are marked dirty on both ends.
    virtual void setFocusView(CView* view);
    virtual CView* getFocusView() const { return pFocusView; }

    // A context on the frame's window; the caller forgets it after use.
    CDrawContext* createDrawContext();

    PlatformWindow* getPlatformWindow() const { return platform.window; }
    PlatformInput* getPlatformInput() const { return platform.input; }
    PlatformClock* getPlatformClock() const { return platform.clock; }

protected:
    AEffGUIEditor* pEditor;
    PlatformServices platform;
    CView* pFocusView = nullptr;
};

}  // namespace VSTGUI
