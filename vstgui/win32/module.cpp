#include "vstgui/win32/module.h"

#include <cstdio>

namespace {

HINSTANCE gModule = nullptr;     // written by DllMain before anything runs
int gRegistrations = 0;          // frame windows alive; [ui thread]
char gClassName[64] = "";        // "Plugin%p"; [ui thread]
bool gButtonsSwapped = false;    // [ui thread]

}  // namespace

// The loader calls this for every load, unload, thread start and end; only
// the handle is of interest.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD, LPVOID) {
    gModule = instance;
    return TRUE;
}

namespace VSTGUI::win32 {

HINSTANCE moduleHandle() {
    if (!gModule) {
        // Linked into a program rather than a DLL: the module that holds
        // this code.
        HMODULE self = nullptr;
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCSTR>(&moduleHandle), &self);
        gModule = self;
    }
    return gModule;
}

void registerWindowClass(WNDPROC procedure) {
    if (gRegistrations++ != 0) return;
    std::snprintf(gClassName, sizeof gClassName, "Plugin%p", static_cast<void*>(moduleHandle()));
    WNDCLASSA windowClass{};
    // Global, so the host's process can create it from any module; no
    // double-click style: the window never sees double clicks.
    windowClass.style = CS_GLOBALCLASS;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = moduleHandle();
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = gClassName;
    RegisterClassA(&windowClass);
    gButtonsSwapped = GetSystemMetrics(SM_SWAPBUTTON) > 0;
}

void unregisterWindowClass() {
    if (gRegistrations <= 0 || --gRegistrations != 0) return;
    UnregisterClassA(gClassName, moduleHandle());
}

const char* windowClassName() { return gClassName; }

bool buttonsSwapped() { return gButtonsSwapped; }

}  // namespace VSTGUI::win32
