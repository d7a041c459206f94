// XdndTarget: the editor window's side of the XDND drag-and-drop protocol.
//
// While active, the window carries the XdndAware property (version 5). A
// source's XdndEnter starts a drag: a CDragContainer that counts one item
// per file when the source offers a file list (text/uri-list, asked from the
// source, which answers asynchronously), else 1 when it offers text, else 0.
// File lists are looked at first because file managers offer them as text
// too. The frame hears onDragEnter once the count is known, onDragMove on each XdndPosition,
// onDragLeave on XdndLeave, onDrop on XdndDrop, each at the live pointer
// position. Every position is answered "accepted, move"; a drop is
// answered finished, accepted only when a view took it.
//
// Events arrive through the window's event pump; [ui thread] only.
#pragma once

#include <X11/Xlib.h>

#include <cstddef>
#include <cstdint>

namespace VSTGUI {
class CDragContainer;
class CFrame;
}  // namespace VSTGUI

namespace VSTGUI::x11 {

// The number of entries in a text/uri-list (RFC 2483: one URI a line,
// lines starting with '#' are comments, blank lines do not count).
int32_t countUriListItems(const char* text, size_t length);

class XdndTarget {
public:
    XdndTarget(Display* display, Window window, CFrame& frame);
    // Forgets a drag in progress; the frame hears nothing more.
    ~XdndTarget();
    XdndTarget(const XdndTarget&) = delete;
    XdndTarget& operator=(const XdndTarget&) = delete;

    // Sets or removes XdndAware on the window.
    void setAware(bool aware);
    // False when the event is none of the protocol's.
    bool handle(const XClientMessageEvent& event);
    bool handle(const XSelectionEvent& event);

private:
    enum Atoms {
        kAware, kEnter, kPosition, kStatus, kLeave, kDrop, kFinished, kSelection, kTypeList,
        kActionMove, kUriList, kData,
        kTextPlain, kTextPlainUtf8, kUtf8String, kString, kText,
        kAtomCount
    };

    void enter(const XClientMessageEvent& event);
    void position(const XClientMessageEvent& event);
    void leave();
    void drop();
    // Looks at the types the source offers: sets the count, or asks for
    // the file list.
    void readOffer(const XClientMessageEvent& event);
    void requestFileList();
    void deliverEnter();
    void endDrag();
    void reply(Atom type, long flags, long action);
    bool isText(Atom type) const;
    template <class Call>
    void toFrame(Call call);

    Display* display_;
    Window window_;
    CFrame& frame_;
    Atom atoms_[kAtomCount] = {};
    CDragContainer* drag_ = nullptr;  // the drag in progress, one reference
    Window source_ = None;
    bool awaitingData_ = false;       // the file list was asked for
    bool entered_ = false;            // the frame heard onDragEnter
};

}  // namespace VSTGUI::x11
