// ErrorTrap: keeps the X errors of one connection's requests away from the
// process's error handler for a scope.
//
// Xlib reports a failed request (a window the host destroyed, a drag source
// that went away) to one process-wide handler, whose default ends the
// process: a plug-in must not take its host down that way. A trap syncs,
// installs a handler that records errors of its own connection and passes
// every other error on to the handler it replaced, syncs again at the end
// so that its requests' errors have arrived, and puts the old handler back.
// A sync is left out when every request sent has been answered already (a
// request with a reply was the last), so a trap around one such request
// costs no round trip of its own. Traps nest. [ui thread] only (the thread
// that makes the requests).
#pragma once

#include <X11/Xlib.h>

namespace VSTGUI::x11 {

class ErrorTrap {
public:
    explicit ErrorTrap(Display* display);
    ~ErrorTrap();
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    // True when a request made in the scope so far failed (syncs first).
    bool failed();

private:
    static int onError(Display* display, XErrorEvent* error);

    Display* display_;
    XErrorHandler previous_;
    ErrorTrap* outer_;
    bool failed_ = false;
};

}  // namespace VSTGUI::x11
