// The editor's scale from a window's DPI. GetDpiForWindow (Windows 10 1607
// and later, Wine 4 and later) is looked up when first needed, so that the
// DLL imports only what every supported system has and still runs where
// it is missing.
#pragma once

#include <windows.h>

#include <cstdint>

namespace VSTGUI::win32 {

// The messages of a DPI change, for headers that predate them.
constexpr UINT kDpiChanged = 0x02E0;             // WM_DPICHANGED, to top-level windows
constexpr UINT kDpiChangedAfterParent = 0x02E3;  // WM_DPICHANGED_AFTERPARENT, to children

// The scale step nearest window's DPI over 96; where the system cannot say
// (no window, no GetDpiForWindow), the screen's logical DPI. 0 when
// neither is known.
int32_t scaleForWindow(HWND window);
// The scale step nearest dpi over 96; 0 for none.
int32_t scaleForDpi(UINT dpi);

}  // namespace VSTGUI::win32
