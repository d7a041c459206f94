// X11PopupMenu: the option menus' pop-up on X11, a window of our own.
//
// Each open level of the menu (the menu and the sub-menus opened from it) is
// an override-redirect window on the root, so no window manager moves or
// decorates it, drawn from a pixel surface by the menu's painter. The first
// level holds the pointer grab (and the keyboard's, when it can get it)
// while the menu is open, so every press and release anywhere on the screen
// comes here:
//   pointer over an item      selects it (drawn kPopupItemSelected); over a
//                             sub-menu entry opens its sub-menu beside it
//   release on a command      chooses it, once the user has pressed inside
//                             the menu or moved the pointer since it opened
//                             (the release of the opening click chooses
//                             nothing), so a click or a press-drag-release
//                             both choose
//   press outside every level dismisses the menu
//   Up, Down                  the previous or next selectable item (wraps)
//   Right, Left               into the selected sub-menu, back out of one
//   Return, Enter, space      chooses the selected command (or opens its
//                             sub-menu)
//   Escape                    closes the innermost sub-menu, or the menu
// Greyed entries, titles and separators are never selected or chosen.
//
// It runs its own loop on the frame window's connection, taking only its
// own windows' events; the frame window's paints are served on each turn
// (whileOpen), everything else waits for the frame's next idle.
//
// Owned by the frame window; track is called on the ui thread.
#pragma once

#include <X11/Xlib.h>

#include <functional>
#include <memory>
#include <vector>

#include "vstgui/platform.h"

namespace VSTGUI::x11 {

class X11PopupMenu final : public PlatformPopup {
public:
    // Pop-ups on the screen of root, shown through display; whileOpen runs
    // on every turn of the loop.
    X11PopupMenu(Display* display, Window root, std::function<void()> whileOpen);
    ~X11PopupMenu() override;
    X11PopupMenu(const X11PopupMenu&) = delete;
    X11PopupMenu& operator=(const X11PopupMenu&) = delete;

    int32_t track(const PopupMenu& menu, const PopupPlacement& placement, PopupItemPainter& painter) override;

private:
    struct Level;

    bool openLevel(std::unique_ptr<Level> level, const CPoint& topLeft);
    void openSubMenu(size_t parent, int32_t item);
    void closeLevelsAfter(size_t keep);
    void closeAll();
    bool grab();
    void draw(Level& level);
    void show(Level& level, const CRect& rect);
    void select(size_t level, int32_t item);

    void handle(XEvent& event);
    void pointerAt(int rootX, int rootY);
    bool tracksButton(unsigned button) const;
    void press(const XButtonEvent& event);
    void release(const XButtonEvent& event);
    void key(XKeyEvent& event);
    void activate(size_t level, int32_t item);
    void finish(int32_t command);
    // The deepest level whose window holds (x, y) on the screen, or -1.
    int32_t levelAt(int x, int y) const;
    static Bool isOurs(Display* display, XEvent* event, XPointer self);

    Display* display_;
    Window root_;
    std::function<void()> whileOpen_;
    Cursor arrow_ = None;

    // The menu being tracked.
    std::vector<std::unique_ptr<Level>> levels_;
    PopupItemPainter* painter_ = nullptr;
    Visual* visual_ = nullptr;
    int depth_ = 0;
    CRect screen_;
    CPoint start_;         // the pointer when the menu opened
    bool armed_ = false;   // a release may choose
    bool rightButton_ = false;
    bool tracking_ = false;
    bool done_ = false;
    int32_t result_ = -1;
};

}  // namespace VSTGUI::x11
