#include "vstgui/x11/errortrap.h"

#include <atomic>

namespace VSTGUI::x11 {

namespace {
// The innermost trap of this thread.
thread_local ErrorTrap* innermost = nullptr;
// The handler the outermost trap replaced: errors of other connections (the
// host's, possibly on other threads) go there while a trap is set.
std::atomic<XErrorHandler> replaced{nullptr};

// Waits until the server has answered every request sent so far, and their
// errors have been handled. Skipped when the last request sent has had its
// answer read already (a reply, or the sync of the trap before): then no
// error can still be on its way, and a round trip would be spent on nothing.
void settle(Display* display) {
    if (NextRequest(display) - 1 != LastKnownRequestProcessed(display)) XSync(display, False);
}

}  // namespace

ErrorTrap::ErrorTrap(Display* display) : display_(display), outer_(innermost) {
    // Errors of earlier requests belong to whoever was handling them.
    settle(display_);
    previous_ = XSetErrorHandler(&ErrorTrap::onError);
    if (!outer_) replaced.store(previous_);
    innermost = this;
}

ErrorTrap::~ErrorTrap() {
    settle(display_);
    innermost = outer_;
    XSetErrorHandler(previous_);
}

bool ErrorTrap::failed() {
    settle(display_);
    return failed_;
}

int ErrorTrap::onError(Display* display, XErrorEvent* error) {
    for (ErrorTrap* trap = innermost; trap; trap = trap->outer_) {
        if (trap->display_ == display) {
            trap->failed_ = true;
            return 0;
        }
    }
    XErrorHandler forward = replaced.load();
    return forward ? forward(display, error) : 0;
}

}  // namespace VSTGUI::x11
