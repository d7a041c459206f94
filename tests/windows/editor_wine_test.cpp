// The Windows module's editor under Wine, in a real top-level window of a
// host (EditorWindowHost), driven by input through the desktop (SendInput):
// a knob drag, a native pop-up menu chosen with the keyboard, a wheel notch,
// the window class shared by two editors, drops of text and files on the
// toolkit's drop target, and a screenshot of the editor for the record.
#include <gtest/gtest.h>

#include <ole2.h>
#include <shlobj.h>
#include <windows.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

#include "tests/windows/EditorWindowHost.h"
#include "tests/windows/PngWriter.h"
#include "vstgui/cdragcontainer.h"
#include "vstgui/cframe.h"
#include "vstgui/win32/droptarget.h"
#include "vstgui/win32/win32framewindow.h"

namespace {

constexpr VstInt32 kWaveformOsc1 = 3;
constexpr VstInt32 kCutoff = 16;
constexpr VstInt32 kResonance = 17;
constexpr int kLinearKnobs = 2;  // effSetEditKnobMode: drags move knobs up and down

std::string modulePath() { return ORV_MODULE_PATH; }

void pause(DWORD milliseconds) { Sleep(milliseconds); }

// On the input thread: waits until done() (checked every 10 ms) or 5 s have
// passed, so that a busy machine slows the script down instead of failing it.
template <class Done>
bool waitFor(Done done) {
    for (DWORD waited = 0; !done(); waited += 10) {
        if (waited > 5000) return false;
        Sleep(10);
    }
    return true;
}

BITMAPINFO topDown32(int width, int height) {
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    return format;
}

// The pixels (0x00RRGGBB) of width x height at (x, y) of a device, copied
// as a screenshot tool copies them (BitBlt).
std::vector<uint32_t> capture(HDC source, int x, int y, int width, int height) {
    const BITMAPINFO format = topDown32(width, height);
    HDC memory = CreateCompatibleDC(source);
    void* bits = nullptr;
    HBITMAP shot = CreateDIBSection(source, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, shot);
    BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);
    GdiFlush();
    std::vector<uint32_t> pixels(static_cast<const uint32_t*>(bits),
                                 static_cast<const uint32_t*>(bits) + size_t(width) * size_t(height));
    SelectObject(memory, old);
    DeleteObject(shot);
    DeleteDC(memory);
    for (uint32_t& p : pixels) p &= 0xFFFFFF;
    return pixels;
}

// Runs script on a second thread while host pumps until it has finished.
template <class Script>
void runWhilePumping(EditorWindowHost& host, Script script) {
    std::atomic<bool> done{false};
    std::thread input([&] {
        script();
        done = true;
    });
    host.pumpUntil([&] { return done.load(); }, 20000);
    input.join();
    host.pump(200);
}

class WineEditor : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.loaded()) << "the module loads from " << modulePath();
        ASSERT_TRUE(host.openEditor(40, 40)) << "the editor opens in the host's window";
        ASSERT_TRUE(host.pumpUntil([&] { return host.idleCalls() > 5; })) << "the host idles the editor";
    }

    EditorWindowHost host{modulePath()};
};

// The cutoff knob's value before and after a drag, and what the host heard.
struct CutoffDrag {
    float before = 0.f, after = 0.f;
    std::vector<HostRequest> log;
};

// The cutoff knob dragged upwards as a user does, the gesture `scale` times
// as large as at 100 % from the knob's place at that size.
CutoffDrag dragCutoff(EditorWindowHost& host, int scale) {
#ifdef ORV_MODULE_IS_CLAP
    // A CLAP host sets no knob mode: the knob stays circular, and a press at
    // its top swept to its right side turns it from the middle up.
    host.plugin().setParameter(kCutoff, 0.2f);
    const int radius = 18 * scale;
#else
    host.plugin().dispatch(effSetEditKnobMode, 0, kLinearKnobs);
    const int radius = 0;
#endif
    CutoffDrag drag;
    drag.before = host.plugin().getParameter(kCutoff);
    host.plugin().clearRequests();
    const POINT centre = host.toScreen((157 + 20) * scale, (175 + 20) * scale);
    runWhilePumping(host, [&] {
        input::moveTo(POINT{centre.x, centre.y - radius});
        pause(100);
        input::button(true);
        waitFor([&] { return host.plugin().countRequests(audioMasterBeginEdit) > 0; });  // the knob holds the mouse
        for (int step = 1; step <= 6; ++step) {
            const double a = 1.5707963 * (1.0 - step / 6.0);  // top to right, on the circle
            input::moveTo(radius ? POINT{centre.x + LONG(std::lround(radius * std::cos(a))),
                                         centre.y - LONG(std::lround(radius * std::sin(a)))}
                                 : POINT{centre.x, centre.y - 10 * scale * step});
            pause(60);
        }
        waitFor([&] { return host.plugin().countRequests(audioMasterAutomate) > 0; });
        input::button(false);
        waitFor([&] { return host.plugin().countRequests(audioMasterEndEdit) > 0; });
    });
    drag.after = host.plugin().getParameter(kCutoff);
    drag.log = host.plugin().editRequests();
    return drag;
}

// Begin edit, automation only, end edit, all on the cutoff, the last
// automation the value kept.
void expectOneCutoffGesture(const CutoffDrag& drag) {
    const std::vector<HostRequest>& log = drag.log;
    ASSERT_GE(log.size(), 3u) << "begin edit, automation, end edit";
    EXPECT_EQ(log.front().opcode, audioMasterBeginEdit);
    EXPECT_EQ(log.front().index, kCutoff);
    EXPECT_EQ(log.back().opcode, audioMasterEndEdit);
    EXPECT_EQ(log.back().index, kCutoff);
    int automations = 0;
    for (size_t i = 1; i + 1 < log.size(); ++i) {
        EXPECT_EQ(log[i].opcode, audioMasterAutomate) << "only automation inside the gesture";
        EXPECT_EQ(log[i].index, kCutoff);
        ++automations;
    }
    EXPECT_GE(automations, 1);
    EXPECT_FLOAT_EQ(log[log.size() - 2].opt, drag.after) << "the last automation is the value kept";
}

TEST_F(WineEditor, DraggingTheCutoffKnobIsOneEditGestureReportedToTheHost) {
    const CutoffDrag drag = dragCutoff(host, 1);
    EXPECT_GT(drag.after, drag.before) << "dragging upwards opens the filter";
    expectOneCutoffGesture(drag);
}

// On the input thread: a click at `at` that opens a native pop-up menu;
// answers the menu's window once it has shown (none if it did not). The
// click's thread is then blocked in the menu; this one is not.
HWND clickOpeningNativeMenu(const POINT& at) {
    input::moveTo(at);
    pause(100);
    input::button(true);
    pause(50);
    input::button(false);
    HWND open = nullptr;  // the desktop's pop-up menu class
    waitFor([&] { return (open = FindWindowA("#32768", nullptr)) && IsWindowVisible(open); });
    pause(200);
    return open;
}

// Where the oscillator menu's native pop-up shows after a click on the
// menu's box at its place at `scale`; dismissed with Escape.
RECT oscillatorPopup(EditorWindowHost& host, int scale) {
    const POINT box = host.toScreen((197 + 230) / 2 * scale, (80 + 95) / 2 * scale);
    RECT shown{};
    host.plugin().clearRequests();
    runWhilePumping(host, [&] {
        HWND open = clickOpeningNativeMenu(box);
        if (open) GetWindowRect(open, &shown);
        input::key(VK_ESCAPE);
        waitFor([&] { return host.plugin().countRequests(audioMasterEndEdit) > 0; });
    });
    return shown;
}

// The editor at 200 %, the size handed over as orv-host hands it (the
// module reads it when its editor is made), against the same at 100 %.
TEST(WineEditorAtTwice, TheCutoffDragTwiceAsLargeChangesTheValueAsAtOneHundredPercentAndMenusGrowWithIt) {
    CutoffDrag drags[2];
    RECT popups[2]{};
    POINT boxCorner[2]{};
    for (int scale : {1, 2}) {
        _putenv(scale == 1 ? "AMBRELL_EDITOR_SCALE=" : "AMBRELL_EDITOR_SCALE=200");
        EditorWindowHost host{modulePath()};
        ASSERT_TRUE(host.loaded() && host.openEditor(40, 40));
        ASSERT_TRUE(host.pumpUntil([&] { return host.idleCalls() > 5; }));
        RECT client{};
        GetClientRect(host.editorWindow(), &client);
        EXPECT_EQ(client.right, 600 * scale);
        EXPECT_EQ(client.bottom, 500 * scale);
        drags[scale - 1] = dragCutoff(host, scale);
        popups[scale - 1] = oscillatorPopup(host, scale);
        boxCorner[scale - 1] = host.toScreen(197 * scale, 95 * scale);
    }
    _putenv("AMBRELL_EDITOR_SCALE=");
    const CutoffDrag& one = drags[0];
    const CutoffDrag& two = drags[1];
    expectOneCutoffGesture(two);
    EXPECT_GT(one.after, one.before);
    EXPECT_NEAR(two.after - two.before, one.after - one.before, 0.02f) << "the same change";

    EXPECT_EQ(popups[1].left, boxCorner[1].x) << "the pop-up under its box, at the box's scaled place";
    EXPECT_EQ(popups[1].top, boxCorner[1].y);
    EXPECT_EQ((popups[1].bottom - popups[1].top) - (popups[0].bottom - popups[0].top), 5 * 18)
        << "five rows twice as tall; the desktop's border as it was";
    EXPECT_GT(popups[1].right - popups[1].left, (popups[0].right - popups[0].left) * 3 / 2) << "and wider";
}

TEST_F(WineEditor, TheOscillatorMenuIsANativePopUpChosenWithTheKeyboard) {
    ASSERT_EQ(host.plugin().getParameter(kWaveformOsc1), 0.f) << "program 0 starts on the first wave";
    host.plugin().clearRequests();
    const POINT menu = host.toScreen((197 + 230) / 2, (80 + 95) / 2);
    const POINT below = host.toScreen(197, 95);  // the pop-up's top-left
    std::vector<uint32_t> popup;
    runWhilePumping(host, [&] {
        clickOpeningNativeMenu(menu);
        HDC screen = GetDC(nullptr);
        popup = capture(screen, below.x, below.y, 120, 100);
        ReleaseDC(nullptr, screen);
        for (int down = 0; down < 3; ++down) {
            input::key(VK_DOWN);
            pause(80);
        }
        input::key(VK_RETURN);
        // Should the menu still be open, end it rather than hang the test.
        if (!waitFor([&] { return host.plugin().countRequests(audioMasterEndEdit) > 0; })) {
            input::key(VK_ESCAPE);
            input::key(VK_ESCAPE);
        }
    });
    EXPECT_EQ(host.plugin().getParameter(kWaveformOsc1), 2.f) << "the third entry was chosen";
    // The items are owner-drawn by the editor's scheme: black, where the
    // desktop's own items are light.
    ASSERT_EQ(popup.size(), 120u * 100u);
    EXPECT_EQ(popup[size_t(6) * 120 + 6], 0x000000u) << "the first item's background";
    const char* path = std::getenv("ORV_MENU_SCREENSHOT");
    if (path) pngwriter::write(path, popup.data(), 120, 100);
    const std::vector<HostRequest> log = host.plugin().editRequests();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].opcode, audioMasterBeginEdit);
    EXPECT_EQ(log[1].opcode, audioMasterAutomate);
    EXPECT_EQ(log[1].opt, 2.f);
    EXPECT_EQ(log[2].opcode, audioMasterEndEdit);
}

TEST_F(WineEditor, AWheelNotchTurnsTheKnobUnderThePointerByATenth) {
    host.plugin().setParameter(kResonance, 0.5f);
    host.pump(100);
    const POINT knob = host.toScreen(211 + 20, 175 + 20);
    runWhilePumping(host, [&] {
        input::moveTo(knob);
        pause(150);
        input::wheel(1);
        waitFor([&] { return host.plugin().getParameter(kResonance) != 0.5f; });
    });
    EXPECT_NEAR(host.plugin().getParameter(kResonance), 0.6f, 1e-5f) << "one notch away from the user";
    runWhilePumping(host, [&] {
        input::wheel(-1);
        waitFor([&] { return host.plugin().getParameter(kResonance) < 0.55f; });
    });
    EXPECT_NEAR(host.plugin().getParameter(kResonance), 0.5f, 1e-5f) << "one notch back";
}

// The class the editor window belongs to, "Plugin" and the module handle.
std::string classOf(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

bool classRegistered(HMODULE module, const std::string& name) {
    WNDCLASSEXA info{};
    info.cbSize = sizeof info;
    return GetClassInfoExA(module, name.c_str(), &info) != 0;
}

TEST_F(WineEditor, TwoEditorsShareOneWindowClassThatTheLastCloseRemoves) {
    auto second = std::make_unique<EditorWindowHost>(modulePath());
    ASSERT_TRUE(second->openEditor(700, 40));
    const std::string name = classOf(host.editorWindow());
    ASSERT_EQ(name.rfind("Plugin", 0), 0u) << name;
    EXPECT_EQ(std::strtoull(name.c_str() + 6, nullptr, 16), reinterpret_cast<uintptr_t>(host.module()))
        << "the class name carries the module handle";
    EXPECT_EQ(classOf(second->editorWindow()), name) << "both editors use one class";
    EXPECT_EQ(GetClassLongPtrA(host.editorWindow(), GCL_STYLE) & CS_GLOBALCLASS, ULONG_PTR(CS_GLOBALCLASS));
    EXPECT_EQ(GetClassLongPtrA(host.editorWindow(), GCL_STYLE) & CS_DBLCLKS, ULONG_PTR(0)) << "no double clicks";

    host.closeEditor();
    EXPECT_TRUE(classRegistered(host.module(), name)) << "the second editor still uses it";
    second->closeEditor();
    EXPECT_FALSE(classRegistered(host.module(), name)) << "the last close unregisters it";
}

TEST_F(WineEditor, AHostDestroyingItsWindowFirstLeavesTheEditorClosingQuietly) {
    const std::string name = classOf(host.editorWindow());
    DestroyWindow(host.hostWindow());  // the editor's window goes with it
    host.plugin().dispatch(effEditIdle);
    host.pump(100);
    host.closeEditor();  // effEditClose after the window is gone
    EXPECT_FALSE(classRegistered(host.module(), name)) << "the class went with the last editor";
    const int idled = host.idleCalls();
    ASSERT_TRUE(host.openEditor(40, 40)) << "and a new editor opens";
    EXPECT_TRUE(host.pumpUntil([&] { return host.idleCalls() > idled + 5; }));
}

TEST_F(WineEditor, ScreenshotShowsTheBackgroundFromTheModulesBitmapResource) {
    host.pump(300);
    HWND editor = host.editorWindow();
    RECT client{};
    GetClientRect(editor, &client);
    ASSERT_EQ(client.right, 600);
    ASSERT_EQ(client.bottom, 500);

    HDC window = GetDC(editor);
    std::vector<uint32_t> pixels = capture(window, 0, 0, 600, 500);
    ReleaseDC(editor, window);

    // The background as the module carries it.
    std::vector<uint32_t> background(600 * 500);
    BITMAPINFO format = topDown32(600, 500);
    HBITMAP resource = LoadBitmapA(host.module(), MAKEINTRESOURCEA(128));
    ASSERT_TRUE(resource) << "bitmap 128 is a resource of the DLL";
    HDC screen = GetDC(nullptr);
    ASSERT_EQ(GetDIBits(screen, resource, 0, 500, background.data(), &format, DIB_RGB_COLORS), 500);
    ReleaseDC(nullptr, screen);
    DeleteObject(resource);

    size_t same = 0;
    for (size_t i = 0; i < pixels.size(); ++i) same += ((pixels[i] ^ background[i]) & 0xFFFFFF) == 0;
    // Knobs, menus, switches and text cover some of it; the rest is the
    // picture pixel for pixel, the right way up.
    EXPECT_GT(double(same) / double(pixels.size()), 0.6) << same << " pixels equal";

    const char* path = std::getenv("ORV_SCREENSHOT");
    EXPECT_TRUE(pngwriter::write(path ? path : "editor-wine.png", pixels.data(), 600, 500));
}

// --- drag and drop, on the toolkit's own drop target

// A data object offering text or a list of files.
class DragData final : public IDataObject {
public:
    explicit DragData(int files) : files_(files) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDataObject)) {
            *out = this;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        const bool text = files_ == 0;
        if (format->cfFormat != (text ? CF_TEXT : CF_HDROP) || !(format->tymed & TYMED_HGLOBAL))
            return DV_E_FORMATETC;
        std::string payload;
        if (text) {
            payload = std::string("some text") + '\0';
        } else {
            DROPFILES header{};
            header.pFiles = sizeof header;
            payload.assign(reinterpret_cast<const char*>(&header), sizeof header);
            for (int i = 0; i < files_; ++i) payload += "C:\\file" + std::to_string(i) + ".wav" + '\0';
            payload += '\0';
        }
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, payload.size());
        std::memcpy(GlobalLock(memory), payload.data(), payload.size());
        GlobalUnlock(memory);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = memory;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

private:
    int files_;
};

// A frame that notes what its drag operations were given.
class DragFrame final : public VSTGUI::CFrame {
public:
    using CFrame::CFrame;
    void onDragEnter(VSTGUI::CDrawContext*, VSTGUI::CDragContainer* drag, const VSTGUI::CPoint&) override {
        entered = drag ? drag->getCount() : -1;
    }
    bool onDrop(VSTGUI::CDrawContext*, VSTGUI::CDragContainer* drag, const VSTGUI::CPoint&) override {
        dropped = drag ? drag->getCount() : -1;
        return false;
    }
    int32_t entered = -1;
    int32_t dropped = -1;
};

TEST(WineDropTarget, TextIsOneItemThreeFilesAreThreeAndOtherInterfacesAreRefused) {
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(parent);
    auto* frame = new DragFrame(VSTGUI::CRect(0, 0, 200, 100), parent, nullptr, VSTGUI::platformWindowSystem());
    ASSERT_TRUE(frame->hasWindow());
    auto* window = static_cast<VSTGUI::win32::Win32FrameWindow*>(frame->getFrameWindow());
    VSTGUI::win32::CDropTarget* target = window->dropTarget();
    ASSERT_TRUE(target) << "the frame registered its window as a drop target";

    DWORD effect = 0;
    DragData text(0);
    EXPECT_EQ(target->DragEnter(&text, 0, POINTL{10, 10}, &effect), S_OK);
    EXPECT_EQ(effect, DWORD(DROPEFFECT_MOVE));
    EXPECT_EQ(frame->entered, 1) << "text is one item";
    effect = DROPEFFECT_COPY;
    target->Drop(&text, 0, POINTL{10, 10}, &effect);
    EXPECT_EQ(frame->dropped, 1);
    EXPECT_EQ(target->currentDrag(), nullptr) << "the drop ends the drag";

    DragData files(3);
    target->DragEnter(&files, 0, POINTL{10, 10}, &effect);
    EXPECT_EQ(frame->entered, 3) << "one item per file";
    target->DragLeave();
    EXPECT_EQ(target->currentDrag(), nullptr);

    effect = DROPEFFECT_MOVE;
    target->DragEnter(nullptr, 0, POINTL{10, 10}, &effect);
    EXPECT_EQ(effect, DWORD(DROPEFFECT_NONE)) << "a drag without data is refused";

    void* other = reinterpret_cast<void*>(1);
    EXPECT_EQ(target->QueryInterface(IID_IDataObject, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    void* self = nullptr;
    ASSERT_EQ(target->QueryInterface(IID_IDropTarget, &self), S_OK);
    EXPECT_EQ(self, static_cast<IDropTarget*>(target));
    target->Release();

    frame->forget();
    DestroyWindow(parent);
}

}  // namespace
