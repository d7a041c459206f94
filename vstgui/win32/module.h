// The module's handle and its window class, shared by every editor of every
// plug-in instance the process has loaded.
//
// The handle is stored by the module's entry routine (DllMain) when the
// loader maps the DLL; bitmaps are loaded from it and the window class is
// registered with it. The class "Plugin%p" (the handle formatted by the C
// library) is registered by the first frame window that opens and removed
// when the last one closes; the registration also reads whether the user
// swapped the mouse buttons.
//
// [ui thread] only, except moduleHandle (any thread, set before any other
// code of the module runs). Nothing is locked: the editors of one process
// live on its ui thread.
#pragma once

#include <windows.h>

namespace VSTGUI::win32 {

// The DLL's handle; in a program that links the toolkit statically (tests),
// that program's.
HINSTANCE moduleHandle();

// Adds one frame window to the class's users, registering it for the
// first with procedure as its window procedure. Registration failure is not
// reported: the window creation fails instead.
void registerWindowClass(WNDPROC procedure);
// Takes one user away; the last unregisters the class.
void unregisterWindowClass();
// "Plugin" and the module handle; empty before the first registration.
const char* windowClassName();
// The user's primary button is the right one (read at registration).
bool buttonsSwapped();

}  // namespace VSTGUI::win32
