// The test's own X connection: it plays the host (top-level windows that
// editors open inside), the user (pointer and keys through XTest) and a
// drag source, and reads back what is on the screen.
#pragma once

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <dirent.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <thread>
#include <vector>

#include "vstgui/cframe.h"

class XHost {
public:
    XHost() {
        // A server still closing the last test's connections may turn one
        // away for a moment.
        for (int attempt = 0; attempt < 20 && !display; ++attempt) {
            display = XOpenDisplay(nullptr);
            if (!display) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        // Installed once, before any editor or pop-up exists, and left in
        // place: the handler is process-wide, and a scan that swapped it
        // around its own requests could be undone by the toolkit's error
        // traps on the GUI thread restoring theirs at the same moment.
        static const XErrorHandler fatal = XSetErrorHandler(vanishedWindowsAreNoError);
        (void)fatal;
    }
    ~XHost() {
        if (display) XCloseDisplay(display);
    }
    XHost(const XHost&) = delete;
    XHost& operator=(const XHost&) = delete;

    // An unmanaged top-level window (placed exactly where asked), shown
    // when map is set.
    Window topLevel(int x, int y, int width, int height, bool map = true) {
        XSetWindowAttributes a{};
        a.override_redirect = True;
        a.background_pixel = 0;
        a.event_mask = StructureNotifyMask;
        Window w = XCreateWindow(display, DefaultRootWindow(display), x, y, unsigned(width), unsigned(height), 0,
                                 CopyFromParent, InputOutput, CopyFromParent,
                                 CWOverrideRedirect | CWBackPixel | CWEventMask, &a);
        if (map)
            show(w);
        else
            XSync(display, False);  // the window must exist before the editor looks for it
        return w;
    }
    void show(Window w) {
        XMapWindow(display, w);
        XEvent e;
        do XWindowEvent(display, w, StructureNotifyMask, &e);
        while (e.type != MapNotify);
    }
    static void* handle(Window w) { return reinterpret_cast<void*>(uintptr_t(w)); }

    std::vector<Window> children(Window parent) {
        Window root = None, up = None, *list = nullptr;
        unsigned n = 0;
        std::vector<Window> result;
        if (XQueryTree(display, parent, &root, &up, &list, &n)) result.assign(list, list + n);
        if (list) XFree(list);
        return result;
    }

    // --- the user
    void moveTo(int rootX, int rootY) {
        XTestFakeMotionEvent(display, DefaultScreen(display), rootX, rootY, CurrentTime);
        XSync(display, False);
    }
    void button(unsigned number, bool down) {
        XTestFakeButtonEvent(display, number, down, CurrentTime);
        XSync(display, False);
    }
    void key(KeySym symbol, bool down) {
        XTestFakeKeyEvent(display, XKeysymToKeycode(display, symbol), down, CurrentTime);
        XSync(display, False);
    }

    // --- the screen
    // The pixel at (x, y) of window w as 0xRRGGBB (24-bit TrueColor).
    uint32_t pixel(Window w, int x, int y) {
        XImage* image = XGetImage(display, w, x, y, 1, 1, AllPlanes, ZPixmap);
        if (!image) return 0xDEADBEEF;
        const uint32_t p = uint32_t(XGetPixel(image, 0, 0)) & 0xFFFFFF;
        XDestroyImage(image);
        return p;
    }
    void fill(Window w, uint32_t rgb) {
        GC gc = XCreateGC(display, w, 0, nullptr);
        XSetForeground(display, gc, rgb);
        XWindowAttributes a;
        XGetWindowAttributes(display, w, &a);
        XFillRectangle(display, w, gc, 0, 0, unsigned(a.width), unsigned(a.height));
        XFreeGC(display, gc);
        XSync(display, False);
    }

    // Viewable unmanaged (override-redirect) top-level windows other than
    // except, bottom first: pop-up menus while one is open.
    std::vector<VSTGUI::CRect> popups(Window except) {
        std::vector<VSTGUI::CRect> found;
        Window root = None, up = None, *list = nullptr;
        unsigned n = 0;
        if (!XQueryTree(display, DefaultRootWindow(display), &root, &up, &list, &n)) return found;
        // A pop-up may close between the listing and the query: its
        // BadWindow is expected (vanishedWindowsAreNoError), not the end of
        // the test.
        for (unsigned i = 0; i < n; ++i) {
            XWindowAttributes a{};
            if (list[i] == except || !XGetWindowAttributes(display, list[i], &a)) continue;
            if (a.override_redirect && a.map_state == IsViewable)
                found.push_back(VSTGUI::CRect(a.x, a.y, a.x + a.width, a.y + a.height));
        }
        if (list) XFree(list);
        return found;
    }

    Atom atom(const char* name) { return XInternAtom(display, name, False); }

    // A window that closed while the test looked at it (a pop-up ending) is
    // no error; every other error still ends the test as Xlib's default does.
    static int vanishedWindowsAreNoError(Display* d, XErrorEvent* e) {
        if (e->error_code == BadWindow) return 0;
        char text[160];
        XGetErrorText(d, e->error_code, text, sizeof text);
        std::fprintf(stderr, "X error: %s (request %d)\n", text, int(e->request_code));
        std::abort();
    }

    Display* display = nullptr;
};

// Open file descriptors of this process: each X connection holds one.
inline int openFileDescriptors() {
    int n = 0;
    if (DIR* dir = opendir("/proc/self/fd")) {
        while (readdir(dir)) ++n;
        closedir(dir);
    }
    return n;
}

// Waits until done() holds, for at most two seconds.
template <class Done>
bool waitFor(Done done) {
    for (int i = 0; i < 400; ++i) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

// Idles frame until done() holds, for at most two seconds: events from
// another connection take a moment to arrive.
template <class Done>
bool idleUntil(VSTGUI::CFrame* frame, Done done) {
    for (int i = 0; i < 400; ++i) {
        frame->idle();
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

// Runs act as a user on an X connection of its own while the calling thread
// keeps calling idle, as a host idles an editor: a control holds the host's
// idle call for as long as it holds the mouse, a pop-up until it closes.
inline void userActsWhileIdling(const std::function<void(XHost&)>& act, const std::function<void()>& idle) {
    std::atomic<bool> done{false};
    std::thread user([&] {
        XHost hand;
        if (hand.display) act(hand);
        done = true;
    });
    while (!done) idle();
    user.join();
}
