// EditorWindowHost: a host for the Windows module's editor, as a Windows
// host runs one. The plug-in is loaded and its requests recorded by a
// ModuleHost; this opens the editor in a top-level window of its own
// (effEditOpen with the HWND), pumps the thread's messages and calls
// effEditIdle 30 times a second from a timer.
//
// Input comes from outside through the desktop (SendInput), usually from a
// second thread while this one pumps: a click may open a pop-up menu whose
// modal loop blocks the pumping thread until it ends.
//
// One instance per plug-in instance; every call on the thread that made it.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "support/ModuleHost.h"

class EditorWindowHost {
public:
    // Loads the module (once per process) and makes a plug-in instance.
    explicit EditorWindowHost(const std::string& dllPath);
    ~EditorWindowHost();
    EditorWindowHost(const EditorWindowHost&) = delete;
    EditorWindowHost& operator=(const EditorWindowHost&) = delete;

    bool loaded() const { return plugin_.effect() != nullptr; }
    ModuleHost& plugin() { return plugin_; }
    // The loaded DLL.
    HMODULE module() const;

    // A visible top-level window of the editor's size at (left, top) on the
    // screen, with the editor open in it; false when it did not open.
    bool openEditor(int left, int top);
    void closeEditor();
    // The editor's own window (the child of the host window), or none.
    HWND editorWindow() const;
    HWND hostWindow() const { return window_; }
    // Client point (x, y) of the editor window on the screen.
    POINT toScreen(int x, int y) const;

    // Pumps messages (and the idle timer) for milliseconds.
    void pump(DWORD milliseconds);
    // Pumps until done() or timeout; answers done().
    template <class Done>
    bool pumpUntil(Done done, DWORD timeout = 5000) {
        const DWORD start = GetTickCount();
        while (!done()) {
            if (GetTickCount() - start > timeout) return done();
            pump(10);
        }
        return true;
    }

    int idleCalls() const { return idleCalls_.load(); }

private:
    const std::string path_;
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    ModuleHost plugin_;
    HWND window_ = nullptr;
    bool editorOpen_ = false;
    std::atomic<int> idleCalls_{0};
};

// Input through the desktop, as a user gives it; any thread.
namespace input {
void moveTo(POINT screen);
void button(bool down, bool right = false);
void wheel(int notches);  // one notch = WHEEL_DELTA, positive away from the user
void key(WORD virtualKey);
}  // namespace input
