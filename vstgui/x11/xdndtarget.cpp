#include "vstgui/x11/xdndtarget.h"

#include <X11/Xatom.h>

#include "vstgui/cdragcontainer.h"
#include "vstgui/cdrawcontext.h"
#include "vstgui/cframe.h"
#include "vstgui/x11/errortrap.h"

namespace VSTGUI::x11 {

namespace {

// The protocol version this target speaks; sources use the lower of theirs
// and ours.
constexpr long kXdndVersion = 5;
// XdndEnter: bit 0 of l[1] says the source has more than three types (they
// are in its XdndTypeList property); the version is in the top byte.
constexpr long kMoreThanThreeTypes = 1;
constexpr int kVersionShift = 24;
// XdndStatus flags: the drop would be accepted; keep sending positions.
constexpr long kStatusAccept = 1;
constexpr long kStatusWantPositions = 2;
// XdndFinished flag (version 5): the drop was taken.
constexpr long kFinishedAccepted = 1;
// The longest file list read: 1 MB (in 32-bit units, as Xlib counts).
constexpr long kMaxListLength = (1 << 20) / 4;
// Type lists beyond this many atoms are not looked at.
constexpr long kMaxTypes = 1024;

const char* const kAtomNames[] = {
    "XdndAware", "XdndEnter", "XdndPosition", "XdndStatus", "XdndLeave", "XdndDrop",
    "XdndFinished", "XdndSelection", "XdndTypeList", "XdndActionMove", "text/uri-list",
    "ORV_XDND_DATA", "text/plain", "text/plain;charset=utf-8", "UTF8_STRING", "STRING", "TEXT",
};

}  // namespace

int32_t countUriListItems(const char* text, size_t length) {
    int32_t count = 0;
    size_t start = 0;
    while (start < length) {
        size_t end = start;
        while (end < length && text[end] != '\n' && text[end] != '\r' && text[end] != '\0') ++end;
        if (end > start && text[start] != '#') ++count;
        start = end + 1;
    }
    return count;
}

XdndTarget::XdndTarget(Display* display, Window window, CFrame& frame)
    : display_(display), window_(window), frame_(frame) {
    static_assert(sizeof(kAtomNames) / sizeof(kAtomNames[0]) == kAtomCount, "one name per atom");
    XInternAtoms(display_, const_cast<char**>(kAtomNames), kAtomCount, False, atoms_);
}

XdndTarget::~XdndTarget() {
    if (drag_) drag_->forget();
}

void XdndTarget::setAware(bool aware) {
    ErrorTrap trap(display_);
    if (aware) {
        const long version = kXdndVersion;
        XChangeProperty(display_, window_, atoms_[kAware], XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&version), 1);
    } else {
        XDeleteProperty(display_, window_, atoms_[kAware]);
    }
}

bool XdndTarget::handle(const XClientMessageEvent& event) {
    if (event.window != window_ || event.format != 32) return false;
    const Atom type = event.message_type;
    if (type == atoms_[kEnter]) {
        enter(event);
    } else if (type == atoms_[kPosition]) {
        position(event);
    } else if (type == atoms_[kLeave]) {
        if (drag_ && Window(event.data.l[0]) == source_) leave();
    } else if (type == atoms_[kDrop]) {
        if (drag_ && Window(event.data.l[0]) == source_) drop();
    } else {
        return false;
    }
    return true;
}

bool XdndTarget::handle(const XSelectionEvent& event) {
    if (event.requestor != window_ || event.selection != atoms_[kSelection]) return false;
    if (!drag_ || !awaitingData_) return true;
    awaitingData_ = false;
    int32_t count = 0;
    if (event.property != None) {
        ErrorTrap trap(display_);
        Atom type = None;
        int format = 0;
        unsigned long length = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display_, window_, event.property, 0, kMaxListLength, True,
                               AnyPropertyType, &type, &format, &length, &after, &data) == Success &&
            data && format == 8)
            count = countUriListItems(reinterpret_cast<const char*>(data), length);
        if (data) XFree(data);
    }
    drag_->setCount(count);
    deliverEnter();
    return true;
}

void XdndTarget::enter(const XClientMessageEvent& event) {
    if (drag_) endDrag();  // a new drag without the old one's leave
    const long version = (event.data.l[1] >> kVersionShift) & 0xFF;
    if (version > kXdndVersion) return;  // a protocol we do not speak
    source_ = Window(event.data.l[0]);
    drag_ = new CDragContainer(reinterpret_cast<void*>(source_));
    readOffer(event);
    if (!awaitingData_) deliverEnter();
}

void XdndTarget::readOffer(const XClientMessageEvent& event) {
    bool files = false, text = false;
    auto look = [&](Atom type) {
        files = files || type == atoms_[kUriList];
        text = text || isText(type);
    };
    if (event.data.l[1] & kMoreThanThreeTypes) {
        ErrorTrap trap(display_);
        Atom type = None;
        int format = 0;
        unsigned long length = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display_, source_, atoms_[kTypeList], 0, kMaxTypes, False, XA_ATOM,
                               &type, &format, &length, &after, &data) == Success &&
            data && format == 32) {
            // Format-32 properties come as longs on the client side.
            const long* types = reinterpret_cast<const long*>(data);
            for (unsigned long i = 0; i < length; ++i) look(Atom(types[i]));
        }
        if (data) XFree(data);
    } else {
        for (int i = 2; i < 5; ++i) look(Atom(event.data.l[i]));
    }
    if (files)
        requestFileList();
    else
        drag_->setCount(text ? 1 : 0);
}

void XdndTarget::requestFileList() {
    ErrorTrap trap(display_);
    XDeleteProperty(display_, window_, atoms_[kData]);
    XConvertSelection(display_, atoms_[kSelection], atoms_[kUriList], atoms_[kData], window_, CurrentTime);
    awaitingData_ = true;
}

bool XdndTarget::isText(Atom type) const {
    for (int a = kTextPlain; a <= kText; ++a)
        if (type == atoms_[a]) return true;
    return false;
}

void XdndTarget::position(const XClientMessageEvent& event) {
    if (!drag_ || Window(event.data.l[0]) != source_) return;
    reply(atoms_[kStatus], kStatusAccept | kStatusWantPositions, long(atoms_[kActionMove]));
    if (entered_) toFrame([this](CDrawContext* c, const CPoint& p) { frame_.onDragMove(c, drag_, p); });
}

void XdndTarget::leave() {
    if (entered_) toFrame([this](CDrawContext* c, const CPoint& p) { frame_.onDragLeave(c, drag_, p); });
    endDrag();
}

void XdndTarget::drop() {
    // A drop before the file list came: the frame hears the drag as it is.
    if (!entered_) deliverEnter();
    bool taken = false;
    toFrame([this, &taken](CDrawContext* c, const CPoint& p) { taken = frame_.onDrop(c, drag_, p); });
    reply(atoms_[kFinished], taken ? kFinishedAccepted : 0, taken ? long(atoms_[kActionMove]) : None);
    endDrag();
}

void XdndTarget::deliverEnter() {
    entered_ = true;
    toFrame([this](CDrawContext* c, const CPoint& p) { frame_.onDragEnter(c, drag_, p); });
}

void XdndTarget::endDrag() {
    if (drag_) drag_->forget();
    drag_ = nullptr;
    source_ = None;
    awaitingData_ = false;
    entered_ = false;
}

void XdndTarget::reply(Atom type, long flags, long action) {
    XEvent message{};
    XClientMessageEvent& m = message.xclient;
    m.type = ClientMessage;
    m.display = display_;
    m.window = source_;
    m.message_type = type;
    m.format = 32;
    m.data.l[0] = long(window_);
    m.data.l[1] = flags;
    m.data.l[4] = type == atoms_[kStatus] ? action : 0;
    if (type == atoms_[kFinished]) m.data.l[2] = action;
    ErrorTrap trap(display_);  // the source may be gone
    XSendEvent(display_, source_, False, NoEventMask, &message);
}

// Calls the frame with a context and the live pointer in frame coordinates.
template <class Call>
void XdndTarget::toFrame(Call call) {
    ScopedReference<CDragContainer> keep(drag_);
    CDrawContext* context = frame_.createDrawContext();
    CPoint where;
    frame_.getCurrentLocation(where);
    call(context, where);
    context->forget();
}

}  // namespace VSTGUI::x11
