// The toolkit's seams to the window system: the only way its logic reaches
// the platform. The X11 layer (vstgui/x11/) implements them on Linux, the
// Win32 layer (vstgui/win32/) on Windows; tests implement them with fakes.
// Every call is [ui thread] (AudioEffect.h says what the tags mean), except
// platformWindowSystem itself.
//
//   PlatformWindow  the pixels of a window: lend its buffer for drawing, show
//                   what changed, tell where the window is on the screen.
//   PlatformInput   the live pointer position and button/modifier state.
//   PlatformClock   milliseconds and sleeping.
//   PlatformPopup   a pop-up menu shown until the user chooses or dismisses.
//   FrameWindow     a frame's own window inside the host's: its events,
//                   cursor, drop registration, geometry and pop-up menus.
//   WindowSystem    opens a FrameWindow for a frame, and keeps the clock.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "vstgui/crect.h"

namespace VSTGUI {

class CFrame;
class PixelSurface;

class PlatformWindow {
public:
    virtual ~PlatformWindow() = default;
    // The window's buffer for drawing, or none when it has none.
    virtual PixelSurface* lockSurface() = 0;
    // Drawing into the buffer is done: show the pixels of changed (buffer
    // coordinates, may be empty) on the screen. changed is the bounding box
    // of the surface's damage, whose separate rectangles (damageRect) the
    // window may show instead; they are cleared after the call.
    virtual void unlockSurface(PixelSurface* surface, const CRect& changed) = 0;
    // The window's top-left corner in screen coordinates.
    virtual CPoint getScreenOrigin() = 0;
    // True when the buffer reaches the screen only through unlockSurface
    // (a client-side image): drawing there is drawing off screen already,
    // so a frame needs no off-screen buffer of its own to hide half-drawn
    // states.
    virtual bool showsOnlyAtUnlock() const { return false; }
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

// --- pop-up menus
//
// A pop-up menu as the platform receives it: a tree of levels built by the
// menu control, shown by the platform, which answers the command number of
// the chosen item. The items are measured and drawn by a painter that the
// control hands over (its colour scheme), so every platform shows the same
// pixels.

// Item state bits, as the painter receives them.
enum PopupItemState : int32_t {
    kPopupItemChecked = 1,
    kPopupItemDisabled = 2,  // greyed entries and titles: shown, not choosable
    kPopupItemSelected = 4,  // the item under the pointer or the keyboard
};

struct PopupItem {
    const char* text = nullptr;  // what the painter shows; "-" for a separator
    int32_t command = -1;        // answered when chosen; -1 when it cannot be
    int32_t state = 0;           // kPopupItemChecked, kPopupItemDisabled
    int32_t subMenu = -1;        // index in PopupMenu::subMenus, or -1
    bool separator = false;
    bool columnBreak = false;  // the first item of a new column

    bool isCommand() const { return !separator && subMenu < 0 && !(state & kPopupItemDisabled); }
    // Commands and sub-menu entries: what the pointer and keys may select.
    bool isSelectable() const { return !separator && !(state & kPopupItemDisabled); }
};

struct PopupMenu {
    std::vector<PopupItem> items;
    std::vector<PopupMenu> subMenus;
    // The menu has a scheme of its own: a native pop-up has the painter draw
    // its items. Without one it may show them in the desktop's own way.
    bool ownerDrawn = true;
};

// Where a pop-up goes, in screen coordinates.
struct PopupPlacement {
    CPoint where;        // its top-left, when it fits below
    int32_t flipBottom;  // its bottom edge when it does not fit below
    bool rightButton;    // the right button chooses too (else the left only)
};

class PopupItemPainter {
public:
    virtual ~PopupItemPainter() = default;
    // An item's width and height in pixels.
    virtual CPoint measure(const PopupItem& item) = 0;
    // Draws item with state (PopupItemState bits) into rect of surface.
    virtual void draw(const PopupItem& item, int32_t state, PixelSurface& surface, const CRect& rect) = 0;
    // Covers rect of surface with the menu's background.
    virtual void drawBackground(PixelSurface& surface, const CRect& rect) = 0;
    // The editor's scale (percent) the items are measured and drawn at; a
    // pop-up sizes its border and margins by it too.
    virtual int32_t scale() const { return 100; }
};

class PlatformPopup {
public:
    virtual ~PlatformPopup() = default;
    // Shows menu at placement and returns once the user chose a command
    // (its number) or dismissed the menu (-1). Runs the platform's modal
    // loop [ui thread]; pending paints of the frame's window are
    // still served meanwhile. -1 at once when called from inside a track.
    virtual int32_t track(const PopupMenu& menu, const PopupPlacement& placement,
                          PopupItemPainter& painter) = 0;
};

// What a frame is bound to. Not owned: they outlive the frame.
struct PlatformServices {
    PlatformWindow* window = nullptr;
    PlatformInput* input = nullptr;
    PlatformClock* clock = nullptr;
    PlatformPopup* popup = nullptr;  // none: menus cannot open
};

// The cursor shapes a frame can show (CFrame::setCursor).
enum CCursorType : int32_t {
    kCursorDefault = 0,  // whatever the host's window shows
    kCursorWait,
    kCursorHSize,
    kCursorVSize,
    kCursorSizeAll,
    kCursorNESWSize,
    kCursorNWSESize,
    kCursorCopy,  // no such shape: shown as the default
    kCursorNotAllowed,
    kCursorHand,
};

// A frame's own window, a child of the host's window. It turns the window
// system's events into frame calls (paint -> drawRect, button 1..3 press ->
// mouse with buttons -1, wheel -> onWheel, destroyed from outside ->
// setOpenFlag(false), drag and drop -> the drag operations) and only when
// asked to: events wait until dispatchEvents or dispatchPendingPaint.
// Owned by its frame; deleting it destroys the window and releases
// everything it holds. [ui thread]
class FrameWindow : public PlatformWindow {
public:
    // The pointer and buttons as this window's connection sees them.
    virtual PlatformInput* getInput() = 0;
    // Delivers every waiting event to the frame. Does nothing when called
    // again from inside a delivery (a control's mouse-tracking loop).
    virtual void dispatchEvents() = 0;
    // Delivers one waiting paint event, even inside a delivery; false when
    // none was waiting.
    virtual bool dispatchPendingPaint() = 0;
    virtual void setCursor(CCursorType type) = 0;
    // Announces (or withdraws) the window as a drop target.
    virtual void setDropActive(bool active) = 0;
    // Resizes the window and its pixel buffer (contents are lost); the
    // window stays where it is. False when it cannot.
    virtual bool resize(int32_t width, int32_t height) = 0;
    // The top-left of the outermost window that still fits the editor (the
    // host's top-level window, give or take its decoration) in its parent's
    // coordinates.
    virtual bool getOuterPosition(CPoint& position) = 0;
    // The host's window (this window's parent) in its own parent's
    // coordinates.
    virtual bool getHostRect(CRect& rect) = 0;
    // Pop-up menus on this window's screen; none where there are none.
    virtual PlatformPopup* getPopup() { return nullptr; }
};

// Opens frame windows. Implementations hold no per-frame state: every frame
// gets a window of its own (with its own connection to the window system),
// so frames of several plug-in instances never disturb each other.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;
    // A child window of size inside parent (the host's window handle) that
    // delivers its events to frame; none when it cannot be made (no window
    // system, no such parent).
    virtual std::unique_ptr<FrameWindow> openWindow(void* parent, const CRect& size,
                                                    CFrame& frame) = 0;
    virtual PlatformClock& clock() = 0;
    // The desktop's preferred scale in percent for an editor inside parent
    // (the host's window; none when not known yet), 0 when it states none.
    // X11: the Xft.dpi resource over 96; Windows: the window's DPI over 96.
    virtual int32_t desktopScale(void* parent) {
        (void)parent;
        return 0;
    }
};

// The window system of the platform the module is built for: X11 on Linux
// (vstgui/x11/), Win32 on Windows (vstgui/win32/). [any thread] for the
// reference; windows are opened [ui thread].
WindowSystem& platformWindowSystem();

}  // namespace VSTGUI
