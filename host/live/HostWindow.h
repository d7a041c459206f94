// HostWindow: the top-level X11 window that orv-host gives a plug-in's
// editor, as a DAW does: the plug-in receives its id with effEditOpen and
// creates its own child window inside it.
//
// The window has a connection of its own (the display named by DISPLAY);
// it forwards key presses to the plug-in (effEditKeyDown/Up), notices when
// the user closes it, can follow the plug-in's resize requests, and can
// read back its pixels (with the editor's child window in them) for a
// screenshot. One thread only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "plugin/vst2.h"

class PluginHost;
struct _XDisplay;

class HostWindow {
public:
    enum class Kind {
        kNormal,      // managed by the window manager, with a title and a close box
        kScreenshot,  // unmanaged at the screen's top-left, above other windows
    };

    HostWindow() = default;
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    // False, with a reason in error(), when there is no display.
    bool open(int width, int height, const std::string& title, Kind kind);
    // The window id as a plug-in expects its parent: effEditOpen's pointer.
    void* parentHandle() const;
    unsigned long id() const { return window_; }
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
    unsigned long window_ = 0;
    unsigned long deleteMessage_ = 0;  // the WM_DELETE_WINDOW atom
    std::string error_;
};

// ScreenUser: a user at the screen, with real input (XTest) on a connection
// of its own, so that it can act while the host's thread is held inside the
// plug-in (a pop-up menu runs a modal loop inside the editor's idle call).
// One thread only; a different one from the HostWindow's.
class ScreenUser {
public:
    // Acts on window (a HostWindow's id). ok() is false without a display
    // or without the XTest extension.
    explicit ScreenUser(unsigned long window);
    ~ScreenUser();
    ScreenUser(const ScreenUser&) = delete;
    ScreenUser& operator=(const ScreenUser&) = delete;

    bool ok() const { return display_ != nullptr; }
    // Clicks button (1 left, 3 right) at (x, y) of the window. True when a
    // new top-level window (a pop-up) appeared within about a second.
    bool clickAndWaitForPopup(int x, int y, unsigned button = 1);
    // Presses Escape, which dismisses a pop-up.
    void pressEscape();
    // As HostWindow::capture.
    bool capture(std::vector<uint8_t>& rgb, int& width, int& height);

private:
    std::vector<unsigned long> shownTopLevels();

    _XDisplay* display_ = nullptr;
    unsigned long window_;
};
