#include "host/live/HostWindow.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "host/core/PluginHost.h"

namespace {

struct KeyMapping {
    KeySym symbol;
    unsigned char virt;
};

// The keys the VST interface names; others travel as characters only.
const KeyMapping kVirtualKeys[] = {
    {XK_BackSpace, VKEY_BACK}, {XK_Tab, VKEY_TAB},       {XK_ISO_Left_Tab, VKEY_TAB},
    {XK_Return, VKEY_RETURN},  {XK_Escape, VKEY_ESCAPE}, {XK_space, VKEY_SPACE},
    {XK_End, VKEY_END},        {XK_Home, VKEY_HOME},     {XK_Left, VKEY_LEFT},
    {XK_Up, VKEY_UP},          {XK_Right, VKEY_RIGHT},   {XK_Down, VKEY_DOWN},
    {XK_Page_Up, VKEY_PAGEUP}, {XK_Page_Down, VKEY_PAGEDOWN}, {XK_KP_Enter, VKEY_ENTER},
    {XK_Delete, VKEY_DELETE},
};

unsigned char modifierBits(unsigned state) {
    unsigned char bits = 0;
    if (state & ShiftMask) bits |= MODIFIER_SHIFT;
    if (state & Mod1Mask) bits |= MODIFIER_ALTERNATE;
    if (state & ControlMask) bits |= MODIFIER_CONTROL;
    return bits;
}

void sendKey(PluginHost& host, XKeyEvent& event) {
    char text[8] = {};
    KeySym symbol = NoSymbol;
    const int length = XLookupString(&event, text, sizeof(text) - 1, &symbol, nullptr);
    unsigned char virt = 0;
    for (const KeyMapping& k : kVirtualKeys)
        if (k.symbol == symbol) virt = k.virt;
    const VstInt32 character = (length == 1 && !virt) ? static_cast<unsigned char>(text[0]) : 0;
    if (!virt && !character) return;
    host.dispatch(event.type == KeyPress ? effEditKeyDown : effEditKeyUp, character, virt, nullptr,
                  modifierBits(event.state));
}

// One 8-bit channel of a pixel under a visual's colour mask.
uint8_t channel(unsigned long pixel, unsigned long mask) {
    if (!mask) return 0;
    while (!(mask & 1)) {
        mask >>= 1;
        pixel >>= 1;
    }
    return static_cast<uint8_t>(((pixel & mask) * 255 + mask / 2) / mask);
}

// A window that closed while it was looked at (a pop-up ending between a
// listing and a query) is no error; every other error ends the process, as
// Xlib's default handler does.
int vanishedWindowsAreNoError(Display* display, XErrorEvent* error) {
    if (error->error_code == BadWindow) return 0;
    char text[160];
    XGetErrorText(display, error->error_code, text, sizeof text);
    std::fprintf(stderr, "X error: %s (request %d)\n", text, int(error->request_code));
    std::abort();
}

// Installed once, before any window exists, and left in place: the handler
// is process-wide, and one swapped in and out around each request could be
// undone by a plug-in's own error traps on its ui thread restoring theirs.
// A server still closing an earlier client's connections may turn one away
// for a moment, so opening is tried a few times.
Display* openDisplay() {
    static const XErrorHandler previous = XSetErrorHandler(vanishedWindowsAreNoError);
    (void)previous;
    Display* display = nullptr;
    for (int attempt = 0; attempt < 20 && !display; ++attempt) {
        display = XOpenDisplay(nullptr);
        if (!display) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return display;
}

}  // namespace

HostWindow::~HostWindow() {
    if (!display_) return;
    if (window_) XDestroyWindow(display_, window_);
    XCloseDisplay(display_);
}

bool HostWindow::open(int width, int height, const std::string& title, Kind kind, int x, int y) {
    if (!display_) display_ = openDisplay();
    if (!display_) {
        error_ = "cannot open the X display (is DISPLAY set?)";
        return false;
    }
    const int screen = DefaultScreen(display_);
    XSetWindowAttributes attributes{};
    attributes.background_pixel = BlackPixel(display_, screen);
    attributes.event_mask = KeyPressMask | KeyReleaseMask | StructureNotifyMask;
    attributes.override_redirect = kind == Kind::kScreenshot;
    window_ = XCreateWindow(display_, RootWindow(display_, screen), x, y, unsigned(width),
                            unsigned(height), 0, CopyFromParent, InputOutput, CopyFromParent,
                            CWBackPixel | CWEventMask | CWOverrideRedirect, &attributes);
    XStoreName(display_, window_, title.c_str());
    deleteMessage_ = XInternAtom(display_, "WM_DELETE_WINDOW", False);
    Atom protocols[] = {deleteMessage_};
    XSetWMProtocols(display_, window_, protocols, 1);
    fixSize(width, height);
    XSync(display_, False);  // the window exists before a plug-in looks for it
    return true;
}

void* HostWindow::parentHandle() const { return reinterpret_cast<void*>(static_cast<uintptr_t>(window_)); }

void HostWindow::show() {
    XMapRaised(display_, window_);
    XEvent event;
    do XWindowEvent(display_, window_, StructureNotifyMask, &event);
    while (event.type != MapNotify);
}

bool HostWindow::handleEvents(PluginHost& host) {
    bool open = true;
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        switch (event.type) {
        case KeyPress:
        case KeyRelease:
            sendKey(host, event.xkey);
            break;
        case ClientMessage:
            if (static_cast<Atom>(event.xclient.data.l[0]) == deleteMessage_) open = false;
            break;
        case DestroyNotify:
            if (event.xdestroywindow.window == window_) {
                window_ = 0;
                open = false;
            }
            break;
        default:
            break;
        }
    }
    return open;
}

// A fixed-size editor: the window manager should not offer resizing.
void HostWindow::fixSize(int width, int height) {
    XSizeHints* hints = XAllocSizeHints();
    hints->flags = PMinSize | PMaxSize;
    hints->min_width = hints->max_width = width;
    hints->min_height = hints->max_height = height;
    XSetWMNormalHints(display_, window_, hints);
    XFree(hints);
}

void HostWindow::resize(int width, int height) {
    fixSize(width, height);
    XResizeWindow(display_, window_, unsigned(width), unsigned(height));
    XFlush(display_);
}

namespace {

// The area of window on the screen, read from the root window so that
// override-redirect windows over it (pop-ups) are in the picture.
bool captureScreenArea(Display* display, Window window, std::vector<uint8_t>& rgb, int& width, int& height) {
    XWindowAttributes attributes;
    if (!window || !XGetWindowAttributes(display, window, &attributes)) return false;
    const Window root = DefaultRootWindow(display);
    int rootX = 0, rootY = 0;
    Window child;
    XTranslateCoordinates(display, window, root, 0, 0, &rootX, &rootY, &child);
    // The screen holds only its own pixels: a window reaching past it
    // cannot be read this way (the server would refuse the request).
    XWindowAttributes screen;
    if (!XGetWindowAttributes(display, root, &screen) || rootX < 0 || rootY < 0 ||
        rootX + attributes.width > screen.width || rootY + attributes.height > screen.height)
        return false;
    XImage* image = XGetImage(display, root, rootX, rootY, unsigned(attributes.width),
                              unsigned(attributes.height), AllPlanes, ZPixmap);
    if (!image) return false;
    width = attributes.width;
    height = attributes.height;
    rgb.resize(size_t(width) * size_t(height) * 3);
    const Visual* visual = attributes.visual;
    uint8_t* out = rgb.data();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            *out++ = channel(pixel, visual->red_mask);
            *out++ = channel(pixel, visual->green_mask);
            *out++ = channel(pixel, visual->blue_mask);
        }
    }
    XDestroyImage(image);
    return true;
}

}  // namespace

bool HostWindow::capture(std::vector<uint8_t>& rgb, int& width, int& height) {
    return captureScreenArea(display_, window_, rgb, width, height);
}

// ---- ScreenUser --------------------------------------------------------------

ScreenUser::ScreenUser(WindowId window) : window_(window) {
    display_ = openDisplay();
    int event = 0, error = 0, major = 0, minor = 0;
    if (display_ && !XTestQueryExtension(display_, &event, &error, &major, &minor)) {
        XCloseDisplay(display_);
        display_ = nullptr;
    }
}

ScreenUser::~ScreenUser() {
    if (display_) XCloseDisplay(display_);
}

void ScreenUser::moveTo(int x, int y) {
    XTestFakeMotionEvent(display_, DefaultScreen(display_), x, y, CurrentTime);
    XSync(display_, False);
}

void ScreenUser::button(unsigned number, bool down) {
    XTestFakeButtonEvent(display_, number, down, CurrentTime);
    XSync(display_, False);
}

void ScreenUser::key(unsigned long keysym, bool down) {
    XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, keysym), down, CurrentTime);
    XSync(display_, False);
}

bool ScreenUser::clickAndWaitForPopup(int x, int y, unsigned number) {
    const std::vector<WindowId> before = shownTopLevels();
    int rootX = 0, rootY = 0;
    Window child;
    XTranslateCoordinates(display_, window_, root(), x, y, &rootX, &rootY, &child);
    moveTo(rootX, rootY);
    button(number, true);
    button(number, false);
    // The host's next idle call takes the click; a pop-up then opens and
    // paints. Polled every 20 ms for about a second.
    for (int i = 0; i < 50; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        const std::vector<WindowId> now = shownTopLevels();
        if (std::any_of(now.begin(), now.end(),
                        [&](WindowId w) { return !std::binary_search(before.begin(), before.end(), w); })) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));  // its first paint
            return true;
        }
    }
    return false;
}

void ScreenUser::pressEscape() {
    key(XK_Escape, true);
    key(XK_Escape, false);
}

WindowId ScreenUser::root() const { return DefaultRootWindow(display_); }

bool ScreenUser::capture(std::vector<uint8_t>& rgb, int& width, int& height) {
    return captureScreenArea(display_, window_, rgb, width, height);
}

uint32_t ScreenUser::pixel(WindowId window, int x, int y) {
    const std::vector<uint32_t> one = pixels(window, ScreenArea{x, y, 1, 1});
    return one.empty() ? 0xDEADBEEF : one[0];
}

std::vector<uint32_t> ScreenUser::pixels(WindowId window, const ScreenArea& area) {
    std::vector<uint32_t> out;
    XImage* image = XGetImage(display_, window, area.x, area.y, unsigned(area.width), unsigned(area.height),
                              AllPlanes, ZPixmap);
    if (!image) return out;
    out.reserve(size_t(area.width) * size_t(area.height));
    for (int y = 0; y < area.height; ++y)
        for (int x = 0; x < area.width; ++x) out.push_back(uint32_t(XGetPixel(image, x, y)) & 0xFFFFFF);
    XDestroyImage(image);
    return out;
}

void ScreenUser::fill(WindowId window, uint32_t rgb) {
    GC gc = XCreateGC(display_, window, 0, nullptr);
    XSetForeground(display_, gc, rgb);
    XWindowAttributes a;
    XGetWindowAttributes(display_, window, &a);
    XFillRectangle(display_, window, gc, 0, 0, unsigned(a.width), unsigned(a.height));
    XFreeGC(display_, gc);
    XSync(display_, False);
}

void ScreenUser::expose(WindowId window, const ScreenArea& area) {
    XClearArea(display_, window, area.x, area.y, unsigned(area.width), unsigned(area.height), True);
    XSync(display_, False);
}

void ScreenUser::destroy(WindowId window) {
    XDestroyWindow(display_, window);
    XSync(display_, False);
}

std::vector<WindowId> ScreenUser::children(WindowId parent) {
    Window rootWindow = None, up = None, *list = nullptr;
    unsigned n = 0;
    std::vector<WindowId> result;
    if (XQueryTree(display_, parent, &rootWindow, &up, &list, &n)) result.assign(list, list + n);
    if (list) XFree(list);
    return result;
}

bool ScreenUser::geometry(WindowId window, ScreenArea& area, bool* shown) {
    XWindowAttributes a{};
    if (!XGetWindowAttributes(display_, window, &a)) return false;
    area = ScreenArea{a.x, a.y, a.width, a.height};
    if (shown) *shown = a.map_state == IsViewable;
    return true;
}

std::vector<WindowId> ScreenUser::shownTopLevels() {
    std::vector<WindowId> shown;
    for (WindowId w : children(root())) {
        XWindowAttributes a;
        if (XGetWindowAttributes(display_, w, &a) && a.map_state == IsViewable) shown.push_back(w);
    }
    std::sort(shown.begin(), shown.end());
    return shown;
}

std::vector<ScreenArea> ScreenUser::popups(WindowId except) {
    std::vector<ScreenArea> found;
    for (WindowId w : children(root())) {
        XWindowAttributes a{};
        if (w == except || !XGetWindowAttributes(display_, w, &a)) continue;
        if (a.override_redirect && a.map_state == IsViewable) found.push_back(ScreenArea{a.x, a.y, a.width, a.height});
    }
    return found;
}

WindowId ScreenUser::findTopLevel(const std::string& title) {
    WindowId found = 0;
    for (WindowId w : children(root())) {
        char* name = nullptr;
        if (XFetchName(display_, w, &name) && name && title == name) found = w;
        if (name) XFree(name);
    }
    return found;
}

void ScreenUser::askToClose(WindowId window) {
    XEvent close{};
    close.xclient.type = ClientMessage;
    close.xclient.window = window;
    close.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    close.xclient.format = 32;
    close.xclient.data.l[0] = long(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    XSendEvent(display_, window, False, NoEventMask, &close);
    XSync(display_, False);
}

void ScreenUser::sync() { XSync(display_, False); }
