// The X11 window system: opens each frame's window (X11FrameWindow) on the
// display named by DISPLAY, inside the host's window whose id the host
// passes as the editor's parent, and keeps a monotonic clock.
//
// The header does not include Xlib: the editor names the window system
// without seeing the platform. Stateless; any thread may take the
// reference, the windows are opened on the GUI thread.
#pragma once

#include "vstgui/platform.h"

namespace VSTGUI::x11 {

WindowSystem& windowSystem();

}  // namespace VSTGUI::x11
