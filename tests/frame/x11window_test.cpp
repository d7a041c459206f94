// The frame in a real X11 window (Xvfb): input sent through XTest reaches
// the frame as the window system maps it, paints come from the buffer, the
// host may destroy its window first, drags are counted. (Several editors
// side by side, and what closing leaves behind: editor_module_test.)
#include <gtest/gtest.h>

#include <list>
#include <string>

#include "vstgui/cdragcontainer.h"
#include "vstgui/probeview.h"
#include "vstgui/x11/x11framewindow.h"
#include "vstgui/x11/x11windowsystem.h"
#include "vstgui/x11/ximagebuffer.h"
#include "xhost.h"

using namespace VSTGUI;

namespace {

constexpr uint32_t kGrey = toPixel(kGreyCColor);
constexpr uint32_t kRed = toPixel(kRedCColor);
constexpr uint32_t kBlue = toPixel(kBlueCColor);
constexpr uint32_t kGreen = toPixel(kGreenCColor);

// Where the host's window sits on the screen.
constexpr int kHostX = 100;
constexpr int kHostY = 80;

Atom atom(XHost& x, const char* name) { return XInternAtom(x.display(), name, False); }

// A probe that also notes how many items each drag carries.
class DragProbe : public Probe {
public:
    using Probe::Probe;
    void onDragEnter(CDrawContext* c, CDragContainer* drag, const CPoint& where) override {
        items = drag->getCount();
        Probe::onDragEnter(c, drag, where);
    }
    int32_t items = -1;
};

struct Editor {
    Window host = None;
    CFrame* frame = nullptr;
    DragProbe* probe = nullptr;
};

class X11Frame : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(x.ok()) << "an X server (DISPLAY) with XTest";
        ASSERT_EQ(DefaultDepth(x.display(), DefaultScreen(x.display())), 24) << "pixels compared as 24-bit RGB";
    }
    void TearDown() override {
        for (Editor& e : editors) close(e);
    }

    // A host window with a frame in it: grey, with a red probe at the
    // top-left 100 x 100; painted once unless mapped is false.
    Editor& open(int hostX = kHostX, int hostY = kHostY, bool mapped = true) {
        editors.push_back({});
        Editor& e = editors.back();
        e.host = x.topLevel(hostX, hostY, 600, 500, mapped);
        e.frame = new CFrame(CRect(0, 0, 600, 500), XHost::handle(e.host), nullptr, x11::windowSystem());
        EXPECT_TRUE(e.frame->hasWindow()) << "a window inside the host's";
        e.frame->setBackgroundColor(kGreyCColor);
        e.probe = new DragProbe(CRect(0, 0, 100, 100), kRedCColor, &log);
        e.frame->addView(e.probe);
        if (mapped) {
            EXPECT_TRUE(idleUntil(e.frame, [&] { return e.probe->draws > 0; })) << "first paint";
        }
        e.probe->draws = 0;
        return e;
    }
    void close(Editor& e) {
        if (e.frame) e.frame->forget();
        e.frame = nullptr;
        if (e.host) XDestroyWindow(x.display(), e.host);
        e.host = None;
        XSync(x.display(), False);
    }
    Window frameWindow(const Editor& e) {
        auto kids = x.children(e.host);
        return kids.empty() ? None : kids[0];
    }

    XHost x;
    std::list<Editor> editors{};  // stable references
    std::vector<std::string> log;
};

// --- input

TEST_F(X11Frame, AClickReachesTheFrameAtTheWindowPointWithTheServersButtons) {
    Editor& e = open();
    x.moveTo(kHostX + 10, kHostY + 20);
    x.button(1, true);
    ASSERT_TRUE(idleUntil(e.frame, [&] { return e.probe->clicks == 1; })) << "the press arrived";
    EXPECT_EQ(e.probe->lastWhere, CPoint(10, 20)) << "window point (10, 20)";
    EXPECT_EQ(e.probe->lastButtons, kLButton) << "the pressed button";
    x.button(1, false);

    x.key(XK_Shift_L, true);
    x.button(3, true);
    ASSERT_TRUE(idleUntil(e.frame, [&] { return e.probe->clicks == 2; }));
    EXPECT_EQ(e.probe->lastButtons, kRButton | kShift) << "right button with Shift";
    x.button(3, false);
    x.key(XK_Shift_L, false);
}

TEST_F(X11Frame, AWheelNotchTowardsTheUserIsMinusOne) {
    Editor& e = open();
    x.moveTo(kHostX + 50, kHostY + 60);
    x.button(5, true);
    x.button(5, false);
    ASSERT_TRUE(idleUntil(e.frame, [&] { return e.probe->lastDistance != 0.f; }));
    EXPECT_EQ(e.probe->lastDistance, -1.0f) << "towards the user";
    EXPECT_EQ(e.probe->lastWhere, CPoint(50, 60)) << "at the pointer, frame coordinates";
    EXPECT_EQ(e.probe->clicks, 0) << "a wheel turn is no click";
    x.button(4, true);
    x.button(4, false);
    ASSERT_TRUE(idleUntil(e.frame, [&] { return e.probe->lastDistance == 1.0f; })) << "away: +1";
}

// --- painting

TEST_F(X11Frame, AnExposeRepaintsExactlyTheExposedAreaFromTheBuffer) {
    Editor& e = open();
    const Window w = frameWindow(e);
    x.fill(w, kGreen);  // what the window shows now differs from the buffer
    XClearArea(x.display(), w, 80, 90, 50, 40, True);
    XSync(x.display(), False);
    ASSERT_TRUE(idleUntil(e.frame, [&] { return x.pixel(w, 120, 120) == kGrey; })) << "repainted";
    EXPECT_EQ(x.pixel(w, 80, 90), kRed) << "top-left of the area: the probe, from the buffer";
    EXPECT_EQ(x.pixel(w, 99, 99), kRed) << "the probe's last pixel";
    EXPECT_EQ(x.pixel(w, 129, 129), kGrey) << "bottom-right of the area: background";
    EXPECT_EQ(x.pixel(w, 79, 90), kGreen) << "left of the area: untouched";
    EXPECT_EQ(x.pixel(w, 80, 89), kGreen) << "above: untouched";
    EXPECT_EQ(x.pixel(w, 130, 129), kGreen) << "right: untouched";
    EXPECT_EQ(x.pixel(w, 129, 130), kGreen) << "below: untouched";
    EXPECT_EQ(e.probe->lastUpdate, CRect(80, 90, 130, 130)) << "the probe drew for that rectangle";
}

TEST_F(X11Frame, ADirtyViewIsRedrawnAtTheNextIdleButNotBeforeTheFirstPaint) {
    Editor& e = open(kHostX, kHostY, false);
    e.probe->setDirty(true);
    for (int i = 0; i < 10; ++i) e.frame->idle();
    EXPECT_EQ(e.probe->draws, 0) << "the window was never shown, so never painted";
    x.show(e.host);
    ASSERT_TRUE(idleUntil(e.frame, [&] { return e.probe->draws > 0; })) << "the first Expose paints";
    e.probe->draws = 0;
    e.probe->color = kBlueCColor;
    e.probe->setDirty(true);
    e.frame->idle();
    EXPECT_EQ(e.probe->draws, 1) << "redrawn at the next idle";
    EXPECT_EQ(x.pixel(frameWindow(e), 50, 50), kBlue) << "and shown on the screen";
}

// --- the pixels' way to the server

// A window of 64 x 48 filled green behind an XImageBuffer's back, a surface
// of that size with a different colour in every pixel, and the buffer.
class ImageBufferTest : public ::testing::Test {
protected:
    static constexpr int kWidth = 64, kHeight = 48;
    void SetUp() override {
        ASSERT_TRUE(x.ok()) << "an X server (DISPLAY)";
        window = x.topLevel(kHostX, kHostY, kWidth, kHeight);
        x.fill(window, kGreen);
        for (int y = 0; y < kHeight; ++y)
            for (int i = 0; i < kWidth; ++i) surface.data()[y * kWidth + i] = Pixel(y * 256 + i * 3 + 1);
    }
    void TearDown() override {
        buffer.release();
        if (gc) XFreeGC(x.display(), gc);
    }
    bool create(bool allowShared) {
        Display* d = x.display();
        gc = XCreateGC(d, window, 0, nullptr);
        return buffer.create(d, DefaultVisual(d, DefaultScreen(d)), 24, kWidth, kHeight, allowShared);
    }
    // What the window shows: the surface's pixels inside rects, green elsewhere.
    void expectShown(const PixelSurface& shown, std::initializer_list<CRect> rects, const char* what) {
        XSync(x.display(), False);
        const std::vector<uint32_t> got = x.pixels(window, {0, 0, kWidth, kHeight});
        ASSERT_EQ(got.size(), size_t(kWidth * kHeight)) << what;
        int wrong = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int i = 0; i < kWidth; ++i) {
                bool inside = false;
                for (const CRect& r : rects) inside = inside || (i >= r.left && i < r.right && y >= r.top && y < r.bottom);
                wrong += got[size_t(y * kWidth + i)] != (inside ? shown.pixel(i, y) : kGreen);
            }
        EXPECT_EQ(wrong, 0) << what;
    }

    XHost x;
    WindowId window = 0;
    GC gc = nullptr;
    PixelSurface surface{kWidth, kHeight};
    x11::XImageBuffer buffer;
};

TEST_F(ImageBufferTest, ALocalServerTakesThePixelsThroughSharedMemoryAndShowsWhatXPutImageShows) {
    for (bool allowShared : {false, true}) {
        SCOPED_TRACE(allowShared ? "shared" : "through the socket");
        x.fill(window, kGreen);
        ASSERT_TRUE(create(allowShared));
        EXPECT_EQ(buffer.sharedPixels() != nullptr, allowShared) << "Xvfb on this machine attaches the segment";
        const CRect rects[] = {CRect(2, 3, 20, 11), CRect(40, 30, 64, 48), CRect(-5, -5, 1, 1)};
        buffer.put(x.display(), window, gc, surface, rects, 3);
        expectShown(surface, {rects[0], rects[1], CRect(0, 0, 1, 1)}, "the rectangles, cut to the window");
        buffer.release();
        XFreeGC(x.display(), gc);
        gc = nullptr;
    }
}

TEST_F(ImageBufferTest, ASurfaceDrawnInTheSegmentChangesNothingShownUntilItIsPutAgain) {
    ASSERT_TRUE(create(true));
    ASSERT_NE(buffer.sharedPixels(), nullptr);
    surface.moveTo(buffer.sharedPixels());
    EXPECT_EQ(surface.data(), buffer.sharedPixels()) << "drawn where the server reads";
    EXPECT_EQ(surface.pixel(5, 7), Pixel(7 * 256 + 5 * 3 + 1)) << "the pixels went along";

    // The put stays in Xlib's queue until something sends it; waiting for
    // the server to read it must send it and wait, or it reads blue.
    buffer.put(x.display(), window, gc, surface, surface.bounds());
    PixelSurface before(kWidth, kHeight);
    before.copy(surface, surface.bounds(), CPoint(0, 0));
    buffer.waitUntilRead(x.display());
    surface.fill(CRect(0, 0, kWidth, kHeight), kBlue);
    expectShown(before, {surface.bounds()}, "what was put, not what was drawn since");

    buffer.put(x.display(), window, gc, surface, CRect(8, 8, 16, 16));
    before.fill(CRect(8, 8, 16, 16), kBlue);
    expectShown(before, {surface.bounds()}, "then blue where put again");
}

TEST_F(ImageBufferTest, ASurfaceOfAnotherSizeShowsNothing) {
    ASSERT_TRUE(create(true));
    x.fill(window, kGreen);
    buffer.put(x.display(), window, gc, surface, CRect(10, 10, 30, 20));
    PixelSurface other(kWidth + 1, kHeight);
    other.fill(other.bounds(), kBlue);
    buffer.put(x.display(), window, gc, other, CRect(0, 0, 8, 8));
    expectShown(surface, {CRect(10, 10, 30, 20)}, "the surface's rectangle only");
}

// --- the host's window and the frame's life

int foreignErrors = 0;
int countForeignError(Display*, XErrorEvent*) { return ++foreignErrors, 0; }

TEST_F(X11Frame, DestroyingTheHostsWindowFirstLeavesIdleDoingNothing) {
    Editor& e = open();
    foreignErrors = 0;
    XErrorHandler before = XSetErrorHandler(countForeignError);
    XDestroyWindow(x.display(), e.host);
    XSync(x.display(), False);
    e.host = None;
    e.frame->draw(static_cast<CView*>(nullptr));  // before the frame has heard of it
    ASSERT_TRUE(idleUntil(e.frame, [&] { return !e.frame->isOpen(); })) << "the frame learns of the destruction";
    EXPECT_EQ(e.frame->getSystemWindow(), nullptr) << "no host window any more";
    e.probe->setDirty(true);
    e.probe->draws = 0;
    e.frame->idle();
    EXPECT_EQ(e.probe->draws, 0) << "idle draws nothing";
    e.frame->setCursor(kCursorHand);
    EXPECT_TRUE(e.frame->setDropActive(false));
    int32_t px = 0, py = 0;
    EXPECT_FALSE(e.frame->getPosition(px, py)) << "no geometry";
    close(e);
    EXPECT_EQ(XSetErrorHandler(before), countForeignError) << "the process's error handler is left as it was";
    EXPECT_EQ(foreignErrors, 0) << "the plug-in's failed requests never reached it";
}





TEST_F(X11Frame, GeometryIsTheHostWindows) {
    Editor& e = open();
    CRect rect;
    ASSERT_TRUE(e.frame->getSize(rect));
    EXPECT_EQ(rect, CRect(kHostX, kHostY, kHostX + 600, kHostY + 500)) << "the host's window on the screen";
    int32_t px = 0, py = 0;
    ASSERT_TRUE(e.frame->getPosition(px, py));
    EXPECT_EQ(CPoint(px, py), CPoint(kHostX, kHostY)) << "the top-level window holding the editor";
    CPoint where;
    x.moveTo(kHostX + 7, kHostY + 9);
    e.frame->getCurrentLocation(where);
    EXPECT_EQ(where, CPoint(7, 9)) << "the pointer in frame coordinates";
}

// --- drag and drop, with this test's connection as the source

class XdndSource {
public:
    XdndSource(XHost& x, Window target) : x(x), target(target) {
        // A window of this connection: the target's replies, sent with no
        // event mask, reach the client that created it.
        window = XCreateSimpleWindow(x.display(), DefaultRootWindow(x.display()), 0, 0, 1, 1, 0, 0, 0);
        XSync(x.display(), False);
    }
    ~XdndSource() { XDestroyWindow(x.display(), window); }

    void enter(std::vector<const char*> types) {
        XEvent e = message("XdndEnter");
        e.xclient.data.l[1] = 5L << 24;
        for (size_t i = 0; i < types.size() && i < 3; ++i) e.xclient.data.l[2 + i] = long(atom(x, types[i]));
        send(e);
    }
    void position() { send(message("XdndPosition")); }
    void drop() { send(message("XdndDrop")); }
    void leave() { send(message("XdndLeave")); }
    void offerFiles(const std::string& list) {
        files = list;
        XSetSelectionOwner(x.display(), atom(x, "XdndSelection"), window, CurrentTime);
        XSync(x.display(), False);
    }
    // Answers the target's request for the file list; true once it did.
    bool serve() {
        while (XPending(x.display())) {
            XEvent e;
            XNextEvent(x.display(), &e);
            if (e.type == SelectionRequest) {
                const XSelectionRequestEvent& r = e.xselectionrequest;
                XChangeProperty(x.display(), r.requestor, r.property, r.target, 8, PropModeReplace,
                                reinterpret_cast<const unsigned char*>(files.data()), int(files.size()));
                XEvent n{};
                n.xselection = {SelectionNotify, 0, True, x.display(), r.requestor, r.selection, r.target,
                                r.property, r.time};
                XSendEvent(x.display(), r.requestor, False, NoEventMask, &n);
                XSync(x.display(), False);
                served = true;
            } else if (e.type == ClientMessage) {
                replies.push_back(e.xclient);
            }
        }
        return served;
    }

    XHost& x;
    Window target;
    Window window;
    std::string files;
    bool served = false;
    std::vector<XClientMessageEvent> replies;

private:
    XEvent message(const char* type) {
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = target;
        e.xclient.message_type = atom(x, type);
        e.xclient.format = 32;
        e.xclient.data.l[0] = long(window);
        return e;
    }
    void send(XEvent e) {
        XSendEvent(x.display(), target, False, NoEventMask, &e);
        XSync(x.display(), False);
    }
};

TEST_F(X11Frame, ADragOfferingTextCountsOneItemAndIsAnsweredMove) {
    Editor& e = open();
    x.moveTo(kHostX + 20, kHostY + 20);  // over the probe
    XdndSource source(x, frameWindow(e));
    source.enter({"UTF8_STRING", "text/plain"});
    ASSERT_TRUE(idleUntil(e.frame, [&] { return e.probe->items >= 0; })) << "the drag entered";
    EXPECT_EQ(e.probe->items, 1) << "text is one item";
    source.position();
    ASSERT_TRUE(idleUntil(e.frame, [&] { return source.serve(), !source.replies.empty(); })) << "a status";
    const XClientMessageEvent& status = source.replies.back();
    EXPECT_EQ(status.message_type, atom(x, "XdndStatus"));
    EXPECT_EQ(status.data.l[1] & 1, 1) << "accepted";
    EXPECT_EQ(Atom(status.data.l[4]), atom(x, "XdndActionMove")) << "as a move";
    EXPECT_EQ(log.back(), "probe:move") << "the view under the pointer heard the move";
    source.leave();
    ASSERT_TRUE(idleUntil(e.frame, [&] { return log.back() == "probe:leave"; })) << "and the leave";
}

TEST_F(X11Frame, ADragOfThreeFilesCountsThree) {
    Editor& e = open();
    x.moveTo(kHostX + 20, kHostY + 20);
    XdndSource source(x, frameWindow(e));
    source.offerFiles("# dropped\r\nfile:///tmp/a.wav\r\nfile:///tmp/b.wav\r\nfile:///tmp/c%20d.wav\r\n");
    source.enter({"text/uri-list", "text/plain"});
    ASSERT_TRUE(idleUntil(e.frame, [&] { return source.serve(), e.probe->items >= 0; })) << "entered";
    EXPECT_EQ(e.probe->items, 3) << "one item per file, comments aside";
    source.drop();
    ASSERT_TRUE(idleUntil(e.frame, [&] { return source.serve(), !source.replies.empty(); })) << "finished";
    EXPECT_EQ(source.replies.back().message_type, atom(x, "XdndFinished"));
    EXPECT_EQ(log.back(), "probe:leave") << "the drop ends with a leave";
}

}  // namespace
