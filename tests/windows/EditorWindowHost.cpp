#include "tests/windows/EditorWindowHost.h"

namespace {

constexpr UINT_PTR kIdleTimer = 1;
constexpr UINT kIdlePeriod = 33;  // ms: 30 idle calls a second, as hosts do
constexpr const char* kHostClass = "OrvEditorWindowHost";

}  // namespace

EditorWindowHost::EditorWindowHost(const std::string& dllPath) : path_(dllPath) { plugin_.load(dllPath); }

EditorWindowHost::~EditorWindowHost() { closeEditor(); }

HMODULE EditorWindowHost::module() const {
    // The file loaded: a CLAP plug-in's record is the host's own, so the
    // module is found by its path, not by the record's functions.
    return plugin_.effect() ? GetModuleHandleA(path_.c_str()) : nullptr;
}

LRESULT CALLBACK EditorWindowHost::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<EditorWindowHost*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_TIMER && wParam == kIdleTimer && self && self->editorOpen_) {
        ++self->idleCalls_;
        self->plugin_.dispatch(effEditIdle);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool EditorWindowHost::openEditor(int left, int top) {
    if (!loaded() || window_) return false;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &EditorWindowHost::procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kHostClass;
    RegisterClassA(&windowClass);  // fails harmlessly for the second host

    ERect* size = nullptr;
    plugin_.dispatch(effEditGetRect, 0, 0, &size);
    if (!size) return false;
    RECT frame{0, 0, size->right - size->left, size->bottom - size->top};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    AdjustWindowRect(&frame, style, FALSE);
    window_ = CreateWindowExA(0, kHostClass, "Ambrell - ORV", style, left, top, frame.right - frame.left,
                              frame.bottom - frame.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!window_) return false;
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    editorOpen_ = plugin_.dispatch(effEditOpen, 0, 0, window_) != 0;
    SetTimer(window_, kIdleTimer, kIdlePeriod, nullptr);
    return editorOpen_;
}

void EditorWindowHost::closeEditor() {
    if (!window_) return;
    if (IsWindow(window_)) KillTimer(window_, kIdleTimer);
    if (editorOpen_) plugin_.dispatch(effEditClose);
    editorOpen_ = false;
    if (IsWindow(window_)) DestroyWindow(window_);
    window_ = nullptr;
}

HWND EditorWindowHost::editorWindow() const { return window_ ? GetWindow(window_, GW_CHILD) : nullptr; }

POINT EditorWindowHost::toScreen(int x, int y) const {
    POINT p{x, y};
    ClientToScreen(editorWindow(), &p);
    return p;
}

void EditorWindowHost::pump(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        const DWORD spent = GetTickCount() - start;
        if (spent >= milliseconds) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - spent, QS_ALLINPUT);
    }
}

namespace input {

namespace {
void send(INPUT event) { SendInput(1, &event, sizeof event); }
}  // namespace

void moveTo(POINT screen) {
    // Absolute positions are in 0..65535 across the primary screen.
    INPUT event{};
    event.type = INPUT_MOUSE;
    event.mi.dx = LONG((screen.x * 65536 + GetSystemMetrics(SM_CXSCREEN) / 2) / GetSystemMetrics(SM_CXSCREEN));
    event.mi.dy = LONG((screen.y * 65536 + GetSystemMetrics(SM_CYSCREEN) / 2) / GetSystemMetrics(SM_CYSCREEN));
    event.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    send(event);
}

void button(bool down, bool right) {
    INPUT event{};
    event.type = INPUT_MOUSE;
    event.mi.dwFlags = right ? (down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP)
                             : (down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
    send(event);
}

void wheel(int notches) {
    INPUT event{};
    event.type = INPUT_MOUSE;
    event.mi.dwFlags = MOUSEEVENTF_WHEEL;
    event.mi.mouseData = DWORD(notches * WHEEL_DELTA);
    send(event);
}

void key(WORD virtualKey) {
    INPUT event{};
    event.type = INPUT_KEYBOARD;
    event.ki.wVk = virtualKey;
    send(event);
    event.ki.dwFlags = KEYEVENTF_KEYUP;
    send(event);
}

}  // namespace input
