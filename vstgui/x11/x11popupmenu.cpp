#include "vstgui/x11/x11popupmenu.h"

#include <X11/cursorfont.h>
#include <X11/keysym.h>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "vstgui/pixelsurface.h"
#include "vstgui/popuplayout.h"
#include "vstgui/x11/errortrap.h"
#include "vstgui/x11/ximagebuffer.h"

namespace VSTGUI::x11 {

namespace {

// Another client may hold the pointer for a moment (a window manager ending
// a move): try the grab this often, this far apart, before giving up.
constexpr int kGrabTries = 20;
constexpr auto kGrabPause = std::chrono::milliseconds(10);
// The loop wakes at least this often (milliseconds) to serve the frame.
constexpr int kWakeInterval = 20;
// Moves shorter than this (pixels, either axis) from where the menu opened
// are the hand's tremor, not a drag onto an item.
constexpr int kDragThreshold = 3;
// The X core protocol's buttons.
constexpr unsigned kLeft = Button1;
constexpr unsigned kRight = Button3;

}  // namespace

struct X11PopupMenu::Level {
    Level(const PopupMenu& menu, PopupItemPainter& painter, const CRect& screen)
        : menu(menu), layout(menu, painter, screen.height()) {}
    const PopupMenu& menu;
    PopupLayout layout;
    CRect onScreen;
    Window window = None;
    PixelSurface surface{0, 0};
    XImageBuffer image;
    int32_t selected = -1;
    int32_t openSub = -1;  // the entry whose sub-menu is the next level
};

X11PopupMenu::X11PopupMenu(Display* display, Window root, std::function<void()> whileOpen)
    : display_(display), root_(root), whileOpen_(std::move(whileOpen)) {}

X11PopupMenu::~X11PopupMenu() {
    closeAll();
    if (arrow_) {
        ErrorTrap trap(display_);
        XFreeCursor(display_, arrow_);
    }
}

int32_t X11PopupMenu::track(const PopupMenu& menu, const PopupPlacement& placement, PopupItemPainter& painter) {
    if (tracking_ || menu.items.empty()) return -1;
    XWindowAttributes rootAttributes{};
    {
        ErrorTrap trap(display_);
        if (!XGetWindowAttributes(display_, root_, &rootAttributes) || trap.failed()) return -1;
    }
    tracking_ = true;
    painter_ = &painter;
    visual_ = rootAttributes.visual;
    depth_ = rootAttributes.depth;
    screen_ = CRect(0, 0, rootAttributes.width, rootAttributes.height);
    rightButton_ = placement.rightButton;
    armed_ = false;
    done_ = false;
    result_ = -1;

    auto first = std::make_unique<Level>(menu, painter, screen_);
    const CPoint topLeft = placePopup(first->layout.size(), placement, screen_);
    if (openLevel(std::move(first), topLeft) && grab()) {
        Window root = None, child = None;
        int x = 0, y = 0;
        unsigned mask = 0;
        XQueryPointer(display_, root_, &root, &child, &start_.h, &start_.v, &x, &y, &mask);
        const int fd = ConnectionNumber(display_);
        while (!done_) {
            XEvent event;
            bool handled = false;
            while (!done_ && XCheckIfEvent(display_, &event, &X11PopupMenu::isOurs, XPointer(this))) {
                handle(event);
                handled = true;
            }
            if (done_) break;
            if (whileOpen_) whileOpen_();
            if (!handled) {
                pollfd wait{fd, POLLIN, 0};
                poll(&wait, 1, kWakeInterval);
            }
        }
        XUngrabPointer(display_, CurrentTime);
        XUngrabKeyboard(display_, CurrentTime);
    }
    closeAll();
    XFlush(display_);
    painter_ = nullptr;
    tracking_ = false;
    return result_;
}

// --- levels

bool X11PopupMenu::openLevel(std::unique_ptr<Level> level, const CPoint& topLeft) {
    const CPoint size = level->layout.size();
    level->onScreen = CRect(topLeft.h, topLeft.v, topLeft.h + size.h, topLeft.v + size.v);
    level->surface = PixelSurface(size.h, size.v);
    if (level->surface.isEmpty() || !level->image.create(display_, visual_, depth_, size.h, size.v)) return false;

    ErrorTrap trap(display_);
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.save_under = True;
    attributes.background_pixmap = None;
    attributes.border_pixel = 0;
    attributes.colormap = CopyFromParent;
    attributes.event_mask =
        ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask;
    level->window = XCreateWindow(display_, root_, topLeft.h, topLeft.v, unsigned(size.h), unsigned(size.v), 0,
                                  depth_, InputOutput, visual_,
                                  CWOverrideRedirect | CWSaveUnder | CWBackPixmap | CWBorderPixel | CWEventMask,
                                  &attributes);
    if (!arrow_) arrow_ = XCreateFontCursor(display_, XC_left_ptr);
    XDefineCursor(display_, level->window, arrow_);
    XMapRaised(display_, level->window);
    if (trap.failed()) {
        if (level->window) XDestroyWindow(display_, level->window);
        return false;
    }
    levels_.push_back(std::move(level));
    draw(*levels_.back());
    return true;
}

void X11PopupMenu::openSubMenu(size_t parent, int32_t item) {
    Level& from = *levels_[parent];
    const PopupItem& entry = from.menu.items[size_t(item)];
    if (entry.subMenu < 0 || size_t(entry.subMenu) >= from.menu.subMenus.size()) return;
    const PopupMenu& sub = from.menu.subMenus[size_t(entry.subMenu)];
    if (sub.items.empty()) return;
    CRect entryOnScreen = from.layout.item(size_t(item));
    entryOnScreen.offset(from.onScreen.left, from.onScreen.top);
    auto level = std::make_unique<Level>(sub, *painter_, screen_);
    const CPoint topLeft =
        placeSubMenu(level->layout.size(), entryOnScreen, from.onScreen, screen_, level->layout.border());
    if (openLevel(std::move(level), topLeft)) from.openSub = item;
}

void X11PopupMenu::closeLevelsAfter(size_t keep) {
    if (levels_.size() <= keep + 1) return;
    ErrorTrap trap(display_);
    while (levels_.size() > keep + 1) {
        XDestroyWindow(display_, levels_.back()->window);
        levels_.pop_back();
    }
    levels_[keep]->openSub = -1;
}

void X11PopupMenu::closeAll() {
    if (levels_.empty()) return;
    closeLevelsAfter(0);
    ErrorTrap trap(display_);
    XDestroyWindow(display_, levels_[0]->window);
    levels_.clear();
}

bool X11PopupMenu::grab() {
    const Window window = levels_[0]->window;
    const unsigned mask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;
    bool pointer = false;
    for (int attempt = 0; attempt < kGrabTries && !pointer; ++attempt) {
        pointer = XGrabPointer(display_, window, False, mask, GrabModeAsync, GrabModeAsync, None, arrow_,
                               CurrentTime) == GrabSuccess;
        if (!pointer) std::this_thread::sleep_for(kGrabPause);
    }
    // The keyboard is tried as patiently: another client may hold it for a
    // moment. Without it the menu still works with the pointer.
    bool keyboard = !pointer;
    for (int attempt = 0; attempt < kGrabTries && !keyboard; ++attempt) {
        keyboard = XGrabKeyboard(display_, window, False, GrabModeAsync, GrabModeAsync, CurrentTime) == GrabSuccess;
        if (!keyboard) std::this_thread::sleep_for(kGrabPause);
    }
    return pointer;
}

// --- drawing

void X11PopupMenu::draw(Level& level) {
    drawPopupLevel(level.menu, level.layout, level.selected, *painter_, level.surface);
    show(level, level.surface.bounds());
}

void X11PopupMenu::show(Level& level, const CRect& rect) {
    ErrorTrap trap(display_);
    GC gc = XCreateGC(display_, level.window, 0, nullptr);
    level.image.put(display_, level.window, gc, level.surface, rect);
    XFreeGC(display_, gc);
}

void X11PopupMenu::select(size_t index, int32_t item) {
    Level& level = *levels_[index];
    if (item >= 0 && !level.menu.items[size_t(item)].isSelectable()) item = -1;
    if (level.selected == item) return;
    level.selected = item;
    draw(level);
}

// --- input

Bool X11PopupMenu::isOurs(Display*, XEvent* event, XPointer self) {
    const auto* popup = reinterpret_cast<const X11PopupMenu*>(self);
    for (const auto& level : popup->levels_)
        if (event->xany.window == level->window) return True;
    return False;
}

void X11PopupMenu::handle(XEvent& event) {
    switch (event.type) {
    case Expose:
        for (auto& level : levels_)
            if (level->window == event.xexpose.window)
                show(*level, CRect(event.xexpose.x, event.xexpose.y, event.xexpose.x + event.xexpose.width,
                                   event.xexpose.y + event.xexpose.height));
        break;
    case MotionNotify:
        if (std::abs(event.xmotion.x_root - start_.h) >= kDragThreshold ||
            std::abs(event.xmotion.y_root - start_.v) >= kDragThreshold)
            armed_ = true;
        pointerAt(event.xmotion.x_root, event.xmotion.y_root);
        break;
    case ButtonPress:
        press(event.xbutton);
        break;
    case ButtonRelease:
        release(event.xbutton);
        break;
    case KeyPress:
        key(event.xkey);
        break;
    default:
        break;
    }
}

int32_t X11PopupMenu::levelAt(int x, int y) const {
    for (size_t i = levels_.size(); i-- > 0;)
        if (levels_[i]->onScreen.pointInside(CPoint(x, y))) return int32_t(i);
    return -1;
}

void X11PopupMenu::pointerAt(int x, int y) {
    const int32_t index = levelAt(x, y);
    if (index < 0) {
        // Off the menu: the innermost level lets go of its selection unless
        // it leads to an open sub-menu.
        Level& last = *levels_.back();
        if (last.openSub < 0) select(levels_.size() - 1, -1);
        return;
    }
    Level& level = *levels_[size_t(index)];
    const int32_t item = level.layout.itemAt(CPoint(x - level.onScreen.left, y - level.onScreen.top));
    if (item >= 0 && item == level.openSub) {
        closeLevelsAfter(size_t(index) + 1);
        select(size_t(index) + 1, -1);
        return;
    }
    closeLevelsAfter(size_t(index));
    select(size_t(index), item);
    if (item >= 0 && level.menu.items[size_t(item)].isSelectable() && level.menu.items[size_t(item)].subMenu >= 0)
        openSubMenu(size_t(index), item);
}

bool X11PopupMenu::tracksButton(unsigned button) const {
    return button == kLeft || (rightButton_ && button == kRight);
}

void X11PopupMenu::press(const XButtonEvent& event) {
    if (levelAt(event.x_root, event.y_root) < 0) {
        finish(-1);  // a press anywhere else dismisses
        return;
    }
    if (!tracksButton(event.button)) return;
    armed_ = true;
    pointerAt(event.x_root, event.y_root);
}

void X11PopupMenu::release(const XButtonEvent& event) {
    if (!tracksButton(event.button)) return;
    const bool choose = armed_;
    armed_ = true;  // the opening click is over
    const int32_t index = levelAt(event.x_root, event.y_root);
    if (!choose || index < 0) return;
    Level& level = *levels_[size_t(index)];
    const int32_t item =
        level.layout.itemAt(CPoint(event.x_root - level.onScreen.left, event.y_root - level.onScreen.top));
    if (item >= 0 && level.menu.items[size_t(item)].isCommand()) finish(level.menu.items[size_t(item)].command);
}

void X11PopupMenu::key(XKeyEvent& event) {
    const size_t last = levels_.size() - 1;
    Level& level = *levels_[last];
    switch (XLookupKeysym(&event, 0)) {
    case XK_Escape:
        if (last == 0)
            finish(-1);
        else
            closeLevelsAfter(last - 1);
        break;
    case XK_Up:
    case XK_KP_Up:
        select(last, nextSelectable(level.menu, level.selected, -1));
        break;
    case XK_Down:
    case XK_KP_Down:
        select(last, nextSelectable(level.menu, level.selected, +1));
        break;
    case XK_Right:
    case XK_KP_Right:
        if (level.selected >= 0 && level.menu.items[size_t(level.selected)].subMenu >= 0)
            activate(last, level.selected);
        break;
    case XK_Left:
    case XK_KP_Left:
        if (last > 0) closeLevelsAfter(last - 1);
        break;
    case XK_Return:
    case XK_KP_Enter:
    case XK_space:
        if (level.selected >= 0) activate(last, level.selected);
        break;
    default:
        break;
    }
}

void X11PopupMenu::activate(size_t index, int32_t item) {
    const PopupItem& entry = levels_[index]->menu.items[size_t(item)];
    if (entry.isCommand()) {
        finish(entry.command);
        return;
    }
    if (entry.subMenu < 0) return;
    if (levels_[index]->openSub != item) {
        closeLevelsAfter(index);
        openSubMenu(index, item);
    }
    if (levels_.size() > index + 1) select(index + 1, nextSelectable(levels_[index + 1]->menu, -1, +1));
}

void X11PopupMenu::finish(int32_t command) {
    result_ = command;
    done_ = true;
}

}  // namespace VSTGUI::x11
