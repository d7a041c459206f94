// The X11 window system: opens each frame's window (X11FrameWindow) on the
// display named by DISPLAY, inside the host's window whose id the host
// passes as the editor's parent, and keeps a monotonic clock.
//
// On Linux it is also platformWindowSystem() (platform.h), which the editor
// takes; tests that need X11 itself name it here. The header does not
// include Xlib. Stateless; any thread may take the reference, the windows
// are opened on the ui thread.
#pragma once

#include "vstgui/platform.h"

namespace VSTGUI::x11 {

WindowSystem& windowSystem();

}  // namespace VSTGUI::x11
