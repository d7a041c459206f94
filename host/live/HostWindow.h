// HostWindow: the top-level X11 window a host gives a plug-in's editor, as
// a DAW does: the plug-in receives its id with effEditOpen and creates its
// own child window inside it. ScreenUser: a user at the screen, with real
// input (XTest), who also reads back what the screen shows.
//
// orv-host's edit, screenshot, play and bench --editor use them, and so do
// the tests that put an editor or the toolkit's X11 layer on a real server.
// These two files and the toolkit's X11 layer (vstgui/x11/) are the only
// code that includes Xlib; this header keeps it out of its users.
//
// Each object has a connection of its own (the display named by DISPLAY)
// and is used by one thread. Both install, once, an X error handler under
// which a window that vanished while it was looked at (a pop-up closing) is
// no error; every other error still ends the process, as Xlib's own does.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "plugin/vst2.h"

class PluginHost;
struct _XDisplay;

// An X window id (the Window of Xlib).
using WindowId = unsigned long;

// A window's place in its parent, or an area of the screen.
struct ScreenArea {
    int x = 0, y = 0, width = 0, height = 0;
};

class HostWindow {
public:
    enum class Kind {
        kNormal,      // managed by the window manager, with a title and a close box
        kScreenshot,  // unmanaged, exactly at its place, above other windows
    };

    HostWindow() = default;
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    // Creates the window, not shown yet, at (x, y) of the screen. False, with
    // a reason in error(), when there is no display.
    bool open(int width, int height, const std::string& title, Kind kind, int x = 0, int y = 0);
    // The window id as a plug-in expects its parent: effEditOpen's pointer.
    void* parentHandle() const;
    WindowId id() const { return window_; }
    // Maps the window and waits until the server has shown it.
    void show();
    // Handles the window's waiting events: keys go to host's plug-in. False
    // once the user asked to close the window.
    bool handleEvents(PluginHost& host);
    void resize(int width, int height);
    // The window's area of the screen as rows of RGB bytes, top row first:
    // the editor, and any pop-up window over it.
    bool capture(std::vector<uint8_t>& rgb, int& width, int& height);
    const std::string& error() const { return error_; }

private:
    void fixSize(int width, int height);

    _XDisplay* display_ = nullptr;
    WindowId window_ = 0;
    unsigned long deleteMessage_ = 0;  // the WM_DELETE_WINDOW atom
    std::string error_;
};

// The user acts on the screen through a connection of their own, so that
// they can act while the host's thread is held inside the plug-in (a pop-up
// menu runs a modal loop inside the editor's idle call). Coordinates are
// the screen's unless a window is named.
class ScreenUser {
public:
    // window: the one capture and clickAndWaitForPopup work on, if any.
    // ok() is false without a display or without the XTest extension.
    explicit ScreenUser(WindowId window = 0);
    ~ScreenUser();
    ScreenUser(const ScreenUser&) = delete;
    ScreenUser& operator=(const ScreenUser&) = delete;

    bool ok() const { return display_ != nullptr; }

    // ---- input: each request reaches the server before it returns
    void moveTo(int x, int y);
    void button(unsigned number, bool down);
    // keysym: an X key symbol (XK_... of <X11/keysym.h>).
    void key(unsigned long keysym, bool down);
    // Clicks button number (1 left, 3 right) at (x, y) of the window. True
    // when a new top-level window (a pop-up) appeared within about a second.
    bool clickAndWaitForPopup(int x, int y, unsigned number = 1);
    // Presses Escape, which dismisses a pop-up.
    void pressEscape();

    // ---- the screen
    WindowId root() const;
    // The window's area of the screen as rows of RGB bytes (see HostWindow).
    bool capture(std::vector<uint8_t>& rgb, int& width, int& height);
    // The pixel at (x, y) of window as 0xRRGGBB (a 24-bit TrueColor screen);
    // 0xDEADBEEF when it cannot be read.
    uint32_t pixel(WindowId window, int x, int y);
    // The pixels of area of window, row by row, as pixel() gives them; empty
    // when they cannot be read.
    std::vector<uint32_t> pixels(WindowId window, const ScreenArea& area);
    // Paints all of window in rgb (0xRRGGBB) behind its owner's back.
    void fill(WindowId window, uint32_t rgb);
    // Asks the server to expose area of window, as if something had covered
    // it: its owner is told to repaint it. An empty area is all of it.
    void expose(WindowId window, const ScreenArea& area);
    // Destroys a window, whoever created it.
    void destroy(WindowId window);

    // ---- windows
    std::vector<WindowId> children(WindowId parent);
    // Where window sits in its parent, and whether it is shown.
    bool geometry(WindowId window, ScreenArea& area, bool* shown = nullptr);
    // Top-level windows (children of the root) that are shown.
    std::vector<WindowId> shownTopLevels();
    // Shown unmanaged (override-redirect) top-level windows other than
    // except, bottom first: pop-up menus while one is open.
    std::vector<ScreenArea> popups(WindowId except);
    // The top-level window titled title; 0 when there is none.
    WindowId findTopLevel(const std::string& title);
    // Asks window's owner to close it, as a window manager's close box does
    // (WM_DELETE_WINDOW).
    void askToClose(WindowId window);
    // Waits until the server has handled every request so far.
    void sync();

    // The connection itself, for tests that speak to the toolkit's X11
    // layer in its own terms (drag and drop messages, selections, grabs).
    _XDisplay* display() const { return display_; }

private:
    _XDisplay* display_ = nullptr;
    WindowId window_;
};
