// CFrame: the root of the view tree, bound to the editor's window.
//
// The editor constructs it with its rectangle (0, 0, width, height), the
// host's parent window and itself; the frame then opens its own child window
// in the host's window through the window system and becomes the entry for
// everything that reaches the toolkit: paints, button presses, wheel turns
// and drags from the window (FrameWindow), idle calls and keys from the host
// through the editor. It owns the modal and the focus view, passes the
// controls' edit notifications to the editor, and decides when dirty views
// are redrawn: at idle, only what is dirty, and nothing before the window's
// first paint.
//
// Frame space is the window's client space (the frame's size starts at
// (0, 0)) in view units: a frame made at a scale other than 100 % has a
// window of the scaled size, draws into it at that scale and maps the
// window's pixels (presses, pointer, paints) back to view units. Containers rely on drawRect, draw(view), getCurrentLocation,
// getFocusView, setFocusView and getEditor; drawing contexts on getViewSize
// and getPlatformInput.
//
// Lifecycle: constructed by the editor's open, used by the host's idle and
// key calls and by the window's events, destroyed (forget) by the editor's
// close. Everything runs on the ui thread, the thread that owns the editor
// window; nothing here may be called from the audio thread.
#pragma once

#include <memory>

#include "vstgui/cviewcontainer.h"
#include "vstgui/frameeditor.h"
#include "vstgui/platform.h"

namespace VSTGUI {

class CFrame : public CViewContainer {
public:
    // A frame with its own window inside systemWindow (the host's window),
    // opened through windows; without a parent, or when the window cannot
    // be made, the frame has no window (hasWindow() is false) and draws
    // nowhere. editor may be none; windows must outlive the frame.
    // scale is a percentage from kScaleSteps; anything else is 100.
    CFrame(const CRect& size, void* systemWindow, FrameEditor* editor, WindowSystem& windows,
           int32_t scale = 100);
    // Removes the modal view (without forget), restores the cursor, withdraws
    // the drop target, destroys the window, then releases every child.
    ~CFrame() override;

    // --- CView / CViewContainer
    // Clears the first-draw flag, then paints everything through the buffer
    // (straight into the window's when that is off screen itself:
    // PlatformWindow::showsOnlyAtUnlock).
    void draw(CDrawContext* context) override;
    // Clears the first-draw flag and redraws rect (frame space) now, clipped
    // to it, through the buffer. Without a context one is made for the call.
    void drawRect(CDrawContext* context, const CRect& rect) override;
    // A press: clears the focus first; with a modal view only it can take
    // the press.
    void mouse(CDrawContext* context, const CPoint& where, int32_t buttons = kButtonsUnread) override;
    // Focus view, then modal view; Tab (Shift+Tab) walks the focus.
    int32_t onKeyDown(VstKeyCode& keyCode) override;
    int32_t onKeyUp(VstKeyCode& keyCode) override;
    using CViewContainer::onWheel;
    // To the modal view, else the child under where; where stays in frame
    // coordinates.
    bool onWheel(CDrawContext* context, const CPoint& where, CMouseWheelAxis axis, float distance) override;
    // Resizes through setSize.
    void setViewSize(const CRect& rect) override;
    FrameEditor* getEditor() const override { return pEditor; }
    bool isTypeOf(const char* className) const override;
    // Redraws what is dirty: everything when the frame itself is, otherwise
    // each child's own update clipped to the child.
    void update(CDrawContext* context) override;
    // The modal view while there is one.
    CView* getCurrentView() const override;
    bool advanceNextFocusView(CView* oldFocus, bool reverse = false) override;
    // Removing the modal view ends the modal state.
    void removeView(CView* view, bool withForget = true) override;
    void removeAll(bool withForget = true) override;

    // --- the frame's own operations
    // The window exists from construction: both answer false.
    virtual bool open(CPoint* where = nullptr);
    virtual bool close();
    virtual bool isOpen() const { return bOpenFlag; }
    // The host's idle: first the window's waiting events, then the redraw of
    // dirty views (nothing when closed, before the first paint, or clean).
    virtual void idle();
    // The editor's idle pump for controls that hold the mouse.
    virtual void doIdleStuff();
    // Milliseconds from the clock; 0 without an editor.
    virtual uint32_t getTicks() const;
    // The host's knob mode, as the editor keeps it (0 without an editor).
    virtual int32_t getKnobMode() const;
    // The frame cannot move itself: false.
    virtual bool setPosition(int32_t x, int32_t y);
    // Where the host's top-level window is in its parent; false when closed.
    virtual bool getPosition(int32_t& x, int32_t& y) const;
    // Asks the host to resize the editor; see cframe.cpp for what happens
    // without the host's help. False when closed or unchanged.
    virtual bool setSize(int32_t width, int32_t height);
    // The host's window in its parent's coordinates; false when closed.
    virtual bool getSize(CRect* rect) const;
    virtual bool getSize(CRect& rect) const { return getSize(&rect); }
    // While set, mouse, wheel and keys go to the modal view alone. False,
    // changing nothing, when one is set and another is given; none ends it.
    virtual bool setModalView(CView* view);
    virtual CView* getModalView() const { return pModalView; }
    // A control's edit gesture on parameter index, passed to the editor.
    virtual void beginEdit(int32_t index);
    virtual void endEdit(int32_t index);
    // The pointer in frame coordinates: screen position minus the window's
    // screen origin; the screen position without a window; (0, 0) and
    // false without input.
    virtual bool getCurrentLocation(CPoint& where);
    // A shape from CCursorType; any other number shows the default.
    virtual void setCursor(int32_t type);
    // The old focus view loses focus (looseFocus with no context), even when
    // it is the new one; views that want focus are marked dirty on both ends.
    virtual void setFocusView(CView* view);
    virtual CView* getFocusView() const { return pFocusView; }
    // Announces the window as a drop target (or withdraws it); false
    // without a window.
    virtual bool setDropActive(bool active);
    virtual bool isDropActive() const { return bDropActive; }
    virtual void setOpenFlag(bool open) { bOpenFlag = open; }
    virtual bool getOpenFlag() const { return bOpenFlag; }
    // Marks every child that overlaps rect (touching counts) dirty.
    virtual void invalidate(const CRect& rect);
    // Suspends update; answers the previous setting.
    virtual bool updatesDisabled(bool disabled);
    virtual bool updatesDisabled() const { return bUpdatesDisabled; }
    // Draws view (a direct child; anything else means the whole frame)
    // straight into the window, without the buffer and without clipping.
    virtual void draw(CView* view);

    // The percentage the window's pixels are of the view's coordinates.
    int32_t getScale() const { return scale_; }
    // A point (rectangle) of the window's pixels in view units; a rectangle
    // grows to every view unit it touches.
    CPoint windowToView(const CPoint& pixel) const;
    CRect windowToView(const CRect& pixels) const;

    // A context on the frame's window; the caller forgets it after use.
    CDrawContext* createDrawContext();

    // The host's window while the frame's window lives; none once the host
    // destroyed it (the window calls setSystemWindow(nullptr)).
    void* getSystemWindow() const { return pSystemWindow; }
    void setSystemWindow(void* window) { pSystemWindow = window; }
    // False when no window of its own could be opened.
    bool hasWindow() const { return window != nullptr; }
    FrameWindow* getFrameWindow() const { return window.get(); }
    PlatformWindow* getPlatformWindow() const { return platform.window; }
    PlatformInput* getPlatformInput() const { return platform.input; }
    // Where option menus pop up; none when they cannot.
    PlatformPopup* getPlatformPopup() const { return platform.popup; }

protected:
    template <class Offer>
    int32_t offerKey(Offer offer);

    FrameEditor* pEditor;
    void* pSystemWindow = nullptr;
    CView* pModalView = nullptr;
    CView* pFocusView = nullptr;
    bool bFirstDraw = true;
    bool bOpenFlag = true;
    bool bDropActive = false;
    bool bUpdatesDisabled = false;
    int32_t scale_ = 100;
    std::unique_ptr<FrameWindow> window;
    // On a scaled frame, the window's input and pop-ups seen in view units.
    std::unique_ptr<PlatformInput> scaledInput;
    std::unique_ptr<PlatformPopup> scaledPopup;
    PlatformServices platform;
};

}  // namespace VSTGUI
