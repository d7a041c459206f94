// EditorWindowHost: a host for the Windows module's editor, as a Windows
// host runs one. It loads the DLL (LoadLibrary, VSTPluginMain), opens the
// editor in a top-level window of its own (effEditOpen with the HWND),
// pumps the thread's messages and calls effEditIdle 30 times a second from
// a timer, and records the edit requests the plug-in sends back
// (audioMasterBeginEdit, audioMasterAutomate, audioMasterEndEdit).
//
// Input comes from outside through the desktop (SendInput), usually from a
// second thread while this one pumps: a click may open a pop-up menu whose
// modal loop blocks the pumping thread until it ends.
//
// One instance per plug-in instance; every call on the thread that made it.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "plugin/vst2.h"

struct EditRequest {
    VstInt32 opcode;
    VstInt32 index;
    float value;  // audioMasterAutomate: the new value
};

class EditorWindowHost {
public:
    // Loads the module (once per process) and makes a plug-in instance.
    explicit EditorWindowHost(const std::string& dllPath);
    ~EditorWindowHost();
    EditorWindowHost(const EditorWindowHost&) = delete;
    EditorWindowHost& operator=(const EditorWindowHost&) = delete;

    bool loaded() const { return effect_ != nullptr; }
    HMODULE module() const { return module_; }
    AEffect* effect() const { return effect_; }
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                       float opt = 0.f);
    float parameter(VstInt32 index) const { return effect_->getParameter(effect_, index); }

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

    std::vector<EditRequest> requests() const;
    void clearRequests();
    int idleCalls() const { return idleCalls_.load(); }

private:
    static VstIntPtr callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                          void* ptr, float opt);
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HMODULE module_ = nullptr;
    AEffect* effect_ = nullptr;
    HWND window_ = nullptr;
    bool editorOpen_ = false;
    mutable std::mutex lock_;  // the plug-in may call back from any thread
    std::vector<EditRequest> requests_;
    std::atomic<int> idleCalls_{0};
};

// Input through the desktop, as a user gives it; any thread.
namespace input {
void moveTo(POINT screen);
void button(bool down, bool right = false);
void wheel(int notches);  // one notch = WHEEL_DELTA, positive away from the user
void key(WORD virtualKey);
}  // namespace input
