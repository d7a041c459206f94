// The window system CLAP editors are embedded in on this platform: X11 on
// Linux, Win32 on Windows. The plug-in offers it; orv-host asks for it.
#pragma once

#include "clap/ext/gui.h"

#ifdef _WIN32
constexpr const char* kClapWindowApi = CLAP_WINDOW_API_WIN32;
#else
constexpr const char* kClapWindowApi = CLAP_WINDOW_API_X11;
#endif
