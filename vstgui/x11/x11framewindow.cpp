#include "vstgui/x11/x11framewindow.h"

#include <X11/cursorfont.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <thread>

#include "vstgui/cbuttons.h"
#include "vstgui/cdrawcontext.h"
#include "vstgui/cframe.h"
#include "vstgui/x11/errortrap.h"

namespace VSTGUI::x11 {

namespace {

// The X core protocol's wheel: button 4 turns away from the user, 5 towards.
constexpr unsigned kWheelAway = 4;
constexpr unsigned kWheelTowards = 5;
// A server busy with other clients' connections may turn a new one away for
// a moment (its listen queue is full): a few tries a few milliseconds apart.
constexpr int kConnectTries = 4;
constexpr auto kConnectPause = std::chrono::milliseconds(5);
// An ancestor at most this much wider or taller than the editor's window
// still counts as the editor's own window (getOuterPosition).
constexpr int32_t kOuterSlack = 60;

// The font cursor of each CCursorType; 0 for the default (none defined).
constexpr unsigned kFontCursors[kCursorHand + 1] = {
    0,                       // kCursorDefault
    XC_watch,                // kCursorWait
    XC_sb_h_double_arrow,    // kCursorHSize
    XC_sb_v_double_arrow,    // kCursorVSize
    XC_fleur,                // kCursorSizeAll
    XC_bottom_left_corner,   // kCursorNESWSize
    XC_bottom_right_corner,  // kCursorNWSESize
    0,                       // kCursorCopy: no such shape
    XC_X_cursor,             // kCursorNotAllowed
    XC_hand2,                // kCursorHand
};

Display* connect() {
    for (int attempt = 0; attempt < kConnectTries; ++attempt) {
        if (Display* display = XOpenDisplay(nullptr)) return display;
        std::this_thread::sleep_for(kConnectPause);
    }
    return nullptr;
}

// The CButton bits of an X button and modifier mask (logical buttons).
int32_t buttonsOf(unsigned mask) {
    int32_t buttons = 0;
    if (mask & Button1Mask) buttons |= kLButton;
    if (mask & Button2Mask) buttons |= kMButton;
    if (mask & Button3Mask) buttons |= kRButton;
    if (mask & ShiftMask) buttons |= kShift;
    if (mask & ControlMask) buttons |= kControl;
    if (mask & Mod1Mask) buttons |= kAlt;
    return buttons;
}

bool usableVisual(const Visual* visual) {
    return visual && (visual->c_class == TrueColor || visual->c_class == DirectColor);
}

}  // namespace

std::unique_ptr<X11FrameWindow> X11FrameWindow::open(void* parentHandle, const CRect& size, CFrame& frame) {
    const Window parent = Window(reinterpret_cast<uintptr_t>(parentHandle));
    if (parent == None || size.isEmpty() || size.width() > PixelSurface::kMaxSide ||
        size.height() > PixelSurface::kMaxSide)
        return nullptr;
    Display* display = connect();
    if (!display) return nullptr;

    XWindowAttributes parentAttributes{};
    Window window = None;
    {
        ErrorTrap trap(display);
        if (XGetWindowAttributes(display, parent, &parentAttributes) && !trap.failed() &&
            parentAttributes.c_class == InputOutput && usableVisual(parentAttributes.visual)) {
            XSetWindowAttributes attributes{};
            // No background: exposed areas keep their pixels until repainted
            // from the buffer, so nothing flickers.
            attributes.background_pixmap = None;
            attributes.bit_gravity = NorthWestGravity;
            attributes.event_mask = ExposureMask | ButtonPressMask | StructureNotifyMask;
            window = XCreateWindow(display, parent, 0, 0, unsigned(size.width()), unsigned(size.height()), 0,
                                   CopyFromParent, InputOutput, CopyFromParent,
                                   CWBackPixmap | CWBitGravity | CWEventMask, &attributes);
            XMapWindow(display, window);
            if (trap.failed()) window = None;
        }
    }
    if (window == None) {
        XCloseDisplay(display);
        return nullptr;
    }
    std::unique_ptr<X11FrameWindow> result(
        new X11FrameWindow(display, parent, window, parentAttributes, size, frame));
    if (!result->gc_) return nullptr;
    return result;
}

X11FrameWindow::X11FrameWindow(Display* display, Window parent, Window window,
                               const XWindowAttributes& parentAttributes, const CRect& size, CFrame& frame)
    : display_(display),
      parent_(parent),
      window_(window),
      root_(parentAttributes.root),
      visual_(parentAttributes.visual),
      depth_(parentAttributes.depth),
      frame_(frame),
      surface_(size.width(), size.height()),
      dnd_(display, window, frame),
      popup_(std::make_unique<X11PopupMenu>(display, parentAttributes.root, [this] {
          while (dispatchPendingPaint()) {
          }
      })) {
    if (image_.create(display_, visual_, depth_, size.width(), size.height())) {
        gc_ = XCreateGC(display_, window_, 0, nullptr);
        surface_.moveTo(image_.sharedPixels());  // drawn where the server reads, if it can
    }
}

X11FrameWindow::~X11FrameWindow() {
    popup_.reset();
    {
        ErrorTrap trap(display_);
        if (alive_) XDestroyWindow(display_, window_);
        for (Cursor cursor : cursors_)
            if (cursor) XFreeCursor(display_, cursor);
        if (gc_) XFreeGC(display_, gc_);
        image_.release();  // its segment is attached to this connection; nothing draws from here on
    }
    // Whatever else the connection created goes with it.
    XCloseDisplay(display_);
}

// --- pixels

PixelSurface* X11FrameWindow::lockSurface() {
    if (alive_) image_.waitUntilRead(display_);
    return &surface_;
}

void X11FrameWindow::unlockSurface(PixelSurface*, const CRect& changed) {
    if (!alive_ || changed.isEmpty()) return;
    ErrorTrap trap(display_);
    // The changed rectangles one by one: a few controls far apart are not
    // sent as the panel between them.
    const int32_t count = surface_.damageCount();
    CRect rects[PixelSurface::kMaxDamageRects];
    for (int32_t i = 0; i < count; ++i) rects[i] = surface_.damageRect(i);
    if (count > 0)
        image_.put(display_, window_, gc_, surface_, rects, count);
    else
        image_.put(display_, window_, gc_, surface_, changed);
}

CPoint X11FrameWindow::getScreenOrigin() {
    if (!alive_) return lastOrigin_;
    ErrorTrap trap(display_);
    int x = 0, y = 0;
    Window child = None;
    if (XTranslateCoordinates(display_, window_, root_, 0, 0, &x, &y, &child) && !trap.failed())
        lastOrigin_ = CPoint(x, y);
    return lastOrigin_;
}

// --- input

void X11FrameWindow::queryPointer(int& rootX, int& rootY, unsigned& mask) {
    // Asked of the root window, which cannot go away under us.
    Window root = None, child = None;
    int x = 0, y = 0;
    rootX = rootY = 0;
    mask = 0;
    XQueryPointer(display_, root_, &root, &child, &rootX, &rootY, &x, &y, &mask);
}

CPoint X11FrameWindow::getPointerPosition() {
    int x, y;
    unsigned mask;
    queryPointer(x, y, mask);
    return CPoint(x, y);
}

int32_t X11FrameWindow::getMouseButtons() {
    int x, y;
    unsigned mask;
    queryPointer(x, y, mask);
    return buttonsOf(mask);
}

// --- events

void X11FrameWindow::dispatchEvents() {
    // A control tracking the mouse runs inside a delivery; the events wait.
    if (dispatching_) return;
    dispatching_ = true;
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (alive_) handle(event);
    }
    dispatching_ = false;
}

bool X11FrameWindow::dispatchPendingPaint() {
    XEvent event;
    // A control holding the mouse calls this from inside a delivery; the
    // window's destruction is taken here too, so that its loop can end.
    if (alive_ && XCheckTypedWindowEvent(display_, window_, DestroyNotify, &event)) handle(event);
    if (!alive_ || !XCheckTypedWindowEvent(display_, window_, Expose, &event)) return false;
    paint(event.xexpose);
    return true;
}

void X11FrameWindow::handle(XEvent& event) {
    switch (event.type) {
    case Expose:
        if (event.xexpose.window == window_) paint(event.xexpose);
        break;
    case ButtonPress:
        if (event.xbutton.window == window_) press(event.xbutton);
        break;
    case DestroyNotify:
        if (event.xdestroywindow.window == window_) {
            alive_ = false;
            frame_.setOpenFlag(false);
            frame_.setSystemWindow(nullptr);
        }
        break;
    case ClientMessage:
        dnd_.handle(event.xclient);
        break;
    case SelectionNotify:
        dnd_.handle(event.xselection);
        break;
    default:
        break;
    }
}

void X11FrameWindow::paint(const XExposeEvent& event) {
    const CRect exposed(event.x, event.y, event.x + event.width, event.y + event.height);
    CDrawContext* context = frame_.createDrawContext();
    frame_.drawRect(context, frame_.windowToView(exposed));
    context->forget();
    // The server lost these pixels; the buffer may still hold them as they
    // were, so redrawing changed nothing there and showed nothing: send them.
    if (!alive_) return;
    ErrorTrap trap(display_);
    image_.put(display_, window_, gc_, surface_, exposed);
}

void X11FrameWindow::press(const XButtonEvent& event) {
    const CPoint where = frame_.windowToView(CPoint(event.x, event.y));
    CDrawContext* context = frame_.createDrawContext();
    // The buttons and modifiers of the press, not the live ones: the event
    // waited for the host's idle, and a quick click (a touchpad tap) has
    // been released by then. A control that tracks the mouse reads on live.
    constexpr int32_t kPressed[] = {kLButton, kMButton, kRButton};
    if (event.button >= Button1 && event.button <= Button3)
        frame_.mouse(context, where, buttonsOf(event.state) | kPressed[event.button - Button1]);
    else if (event.button == kWheelAway)
        frame_.onWheel(context, where, 1.f);
    else if (event.button == kWheelTowards)
        frame_.onWheel(context, where, -1.f);
    context->forget();
}

// --- the window

void X11FrameWindow::setCursor(CCursorType type) {
    if (!alive_ || type < kCursorDefault || type > kCursorHand) return;
    ErrorTrap trap(display_);
    if (!kFontCursors[type]) {
        XUndefineCursor(display_, window_);  // the parent's cursor shows
        return;
    }
    if (!cursors_[type]) cursors_[type] = XCreateFontCursor(display_, kFontCursors[type]);
    XDefineCursor(display_, window_, cursors_[type]);
}

void X11FrameWindow::setDropActive(bool active) {
    if (alive_) dnd_.setAware(active);
}

bool X11FrameWindow::resize(int32_t width, int32_t height) {
    if (!alive_ || width <= 0 || height <= 0) return false;
    surface_ = PixelSurface(width, height);  // out of the segment that create gives back
    if (!image_.create(display_, visual_, depth_, width, height)) return false;
    surface_.moveTo(image_.sharedPixels());
    ErrorTrap trap(display_);
    XResizeWindow(display_, window_, unsigned(width), unsigned(height));
    return !trap.failed();
}

bool X11FrameWindow::geometry(Window window, CRect& rect, Window& parent) {
    ErrorTrap trap(display_);
    Window root = None;
    int x = 0, y = 0;
    unsigned width = 0, height = 0, border = 0, depth = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XGetGeometry(display_, window, &root, &x, &y, &width, &height, &border, &depth) ||
        !XQueryTree(display_, window, &root, &parent, &children, &count) || trap.failed()) {
        if (children) XFree(children);
        return false;
    }
    if (children) XFree(children);
    rect = CRect(x, y, x + int32_t(width), y + int32_t(height));
    return true;
}

bool X11FrameWindow::getOuterPosition(CPoint& position) {
    if (!alive_) return false;
    CRect own, rect, parentRect;
    Window parent = None, grandparent = None;
    if (!geometry(window_, own, parent)) return false;
    // Climb while the parent is no more than decoration around the editor.
    for (Window window = window_;;) {
        if (!geometry(window, rect, parent)) return false;
        if (parent == None || parent == root_ || !geometry(parent, parentRect, grandparent) ||
            std::abs(parentRect.width() - own.width()) > kOuterSlack ||
            std::abs(parentRect.height() - own.height()) > kOuterSlack) {
            position = rect.topLeft();
            return true;
        }
        window = parent;
    }
}

bool X11FrameWindow::getHostRect(CRect& rect) {
    Window grandparent = None;
    return alive_ && geometry(parent_, rect, grandparent);
}

}  // namespace VSTGUI::x11
