#include "vstgui/win32/win32framewindow.h"

#include <ole2.h>
#include <windowsx.h>

#include <cstdlib>

#include "vstgui/cbuttons.h"
#include "vstgui/cdrawcontext.h"
#include "vstgui/cframe.h"
#include "vstgui/frameeditor.h"
#include "vstgui/win32/dpi.h"
#include "vstgui/win32/droptarget.h"
#include "vstgui/win32/module.h"
#include "vstgui/win32/pixelblit.h"

namespace VSTGUI::win32 {

namespace {

// One wheel notch (WHEEL_DELTA, 120) is a distance of 1.0: the float nearest
// to 1/120, bit pattern 0x3C088889.
constexpr float kWheelScale = 1.f / 120.f;
// An ancestor at most this much wider or taller than the editor's window
// still counts as the editor's own window (getOuterPosition).
constexpr LONG kOuterSlack = 60;

// The system cursor of each CCursorType; none for the default.
const LPCSTR kCursors[kCursorHand + 1] = {
    nullptr,      // kCursorDefault
    IDC_WAIT,     // kCursorWait
    IDC_SIZEWE,   // kCursorHSize
    IDC_SIZENS,   // kCursorVSize
    IDC_SIZEALL,  // kCursorSizeAll
    IDC_SIZENESW, // kCursorNESWSize
    IDC_SIZENWSE, // kCursorNWSESize
    nullptr,      // kCursorCopy: no such shape
    IDC_NO,       // kCursorNotAllowed
    IDC_HAND,     // kCursorHand
};

bool down(int key) { return GetAsyncKeyState(key) < 0; }

// window's rectangle in the client coordinates of its parent (the screen
// when it has none).
CRect rectInParent(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    return CRect(r.left, r.top, r.right, r.bottom);
}

}  // namespace

std::unique_ptr<Win32FrameWindow> Win32FrameWindow::open(void* parentHandle, const CRect& size, CFrame& frame) {
    HWND parent = static_cast<HWND>(parentHandle);
    if (!parent || !IsWindow(parent) || size.isEmpty() || size.width() > PixelSurface::kMaxSide ||
        size.height() > PixelSurface::kMaxSide)
        return nullptr;
    registerWindowClass(&Win32FrameWindow::procedure);
    HWND window = CreateWindowExA(0, windowClassName(), "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0,
                                  size.width(), size.height(), parent, nullptr, moduleHandle(), nullptr);
    if (!window) {
        unregisterWindowClass();
        return nullptr;
    }
    std::unique_ptr<Win32FrameWindow> result(new Win32FrameWindow(window, size, frame));
    // From here on the window procedure reaches the frame.
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(result.get()));
    return result;
}

Win32FrameWindow::Win32FrameWindow(HWND window, const CRect& size, CFrame& frame)
    : window_(window), frame_(frame), surface_(size.width(), size.height()), popup_(window) {
    const HRESULT ole = OleInitialize(nullptr);
    ole_ = SUCCEEDED(ole);
}

Win32FrameWindow::~Win32FrameWindow() {
    revokeDropTarget();
    if (alive_) {
        // Messages of the destruction itself get the default processing.
        SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
    unregisterWindowClass();
    if (ole_) OleUninitialize();
}

// --- pixels

void Win32FrameWindow::unlockSurface(PixelSurface*, const CRect& changed) {
    if (!alive_ || painting_ || changed.isEmpty()) return;
    HDC device = GetDC(window_);
    showPixels(device, surface_, changed, changed.topLeft());
    ReleaseDC(window_, device);
}

CPoint Win32FrameWindow::getScreenOrigin() {
    POINT origin{0, 0};
    if (alive_) ClientToScreen(window_, &origin);
    return CPoint(origin.x, origin.y);
}

// --- input

CPoint Win32FrameWindow::getPointerPosition() {
    POINT p{0, 0};
    GetCursorPos(&p);
    return CPoint(p.x, p.y);
}

int32_t Win32FrameWindow::getMouseButtons() {
    // The key state is physical: with swapped buttons the right one is the
    // user's primary button.
    const bool swapped = buttonsSwapped();
    int32_t buttons = 0;
    if (down(VK_LBUTTON)) buttons |= swapped ? kRButton : kLButton;
    if (down(VK_RBUTTON)) buttons |= swapped ? kLButton : kRButton;
    if (down(VK_MBUTTON)) buttons |= kMButton;
    if (down(VK_SHIFT)) buttons |= kShift;
    if (down(VK_CONTROL)) buttons |= kControl;
    if (down(VK_MENU)) buttons |= kAlt;
    return buttons;
}

// --- messages

LRESULT CALLBACK Win32FrameWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Win32FrameWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self) return DefWindowProcA(window, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT Win32FrameWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    // A press or a wheel turn may close the editor, which deletes this.
    HWND window = window_;
    switch (message) {
    case WM_PAINT:
        if (!GetUpdateRect(window_, nullptr, FALSE)) break;
        paint();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        press(message, wParam, lParam);
        return 0;
    case WM_MOUSEWHEEL:
        wheel(wParam, lParam);
        break;  // and the default processing
    case WM_MEASUREITEM:
        if (popup_.measureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return TRUE;
        break;
    case WM_DRAWITEM:
        if (popup_.drawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
        break;
    case kDpiChanged: {
        // Only top-level windows get it, with the rectangle they should take.
        const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                     suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
        dpiChanged(scaleForDpi(LOWORD(wParam)));
        return 0;
    }
    case kDpiChangedAfterParent:
        dpiChanged(scaleForWindow(window_));
        break;
    case WM_DESTROY:
        destroyedFromOutside();
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void Win32FrameWindow::paint() {
    PAINTSTRUCT record{};
    HDC device = BeginPaint(window_, &record);
    const CRect rect(record.rcPaint.left, record.rcPaint.top, record.rcPaint.right, record.rcPaint.bottom);
    painting_ = true;
    CDrawContext* context = frame_.createDrawContext();
    frame_.drawRect(context, frame_.windowToView(rect));
    context->forget();
    painting_ = false;
    // All of the rectangle, drawn now or unchanged since the last drawing.
    surface_.takeDamage();
    showPixels(device, surface_, rect, rect.topLeft());
    EndPaint(window_, &record);
}

void Win32FrameWindow::dpiChanged(int32_t scale) {
    if (FrameEditor* editor = frame_.getEditor()) editor->desktopScaleChanged(scale);
}

void Win32FrameWindow::press(UINT message, WPARAM wParam, LPARAM lParam) {
    ScopedReference<CFrame> keep(&frame_);
    const CPoint where = frame_.windowToView(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
    // The buttons and modifiers of the press as the message carries them
    // (already the user's logical buttons), not the live ones: a quick click
    // has been released by the time its message is read. A control that
    // tracks the mouse reads on live.
    int32_t buttons = message == WM_LBUTTONDOWN ? kLButton : message == WM_RBUTTONDOWN ? kRButton : kMButton;
    if (wParam & MK_LBUTTON) buttons |= kLButton;
    if (wParam & MK_RBUTTON) buttons |= kRButton;
    if (wParam & MK_MBUTTON) buttons |= kMButton;
    if (wParam & MK_SHIFT) buttons |= kShift;
    if (wParam & MK_CONTROL) buttons |= kControl;
    if (GetKeyState(VK_MENU) < 0) buttons |= kAlt;
    CDrawContext* context = frame_.createDrawContext();
    frame_.mouse(context, where, buttons);
    context->forget();
}

void Win32FrameWindow::wheel(WPARAM wParam, LPARAM lParam) {
    ScopedReference<CFrame> keep(&frame_);
    const float distance = float(GET_WHEEL_DELTA_WPARAM(wParam)) * kWheelScale;
    CDrawContext* context = frame_.createDrawContext();
    // The message's position is on the screen; the frame's is the window's.
    CPoint where(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    where.offset(-context->offsetScreen.h, -context->offsetScreen.v);
    frame_.onWheel(context, frame_.windowToView(where), distance);
    context->forget();
}

void Win32FrameWindow::destroyedFromOutside() {
    revokeDropTarget();
    alive_ = false;
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    frame_.setOpenFlag(false);
    frame_.setSystemWindow(nullptr);
}

bool Win32FrameWindow::dispatchPendingPaint() {
    MSG message;
    if (!alive_ || !PeekMessageA(&message, window_, WM_PAINT, WM_PAINT, PM_REMOVE)) return false;
    DispatchMessageA(&message);
    return true;
}

// --- the window

void Win32FrameWindow::setCursor(CCursorType type) {
    if (!alive_ || type < kCursorDefault || type > kCursorHand) return;
    if (!defaultCursorRead_) {
        defaultCursor_ = GetCursor();
        defaultCursorRead_ = true;
    }
    HCURSOR cursor = kCursors[type] ? LoadCursorA(nullptr, kCursors[type]) : defaultCursor_;
    SetCursor(cursor);
}

void Win32FrameWindow::setDropActive(bool active) {
    if (!active) {
        revokeDropTarget();
        return;
    }
    if (!alive_ || dropTarget_) return;
    auto* target = new CDropTarget(frame_);
    target->AddRef();  // ours, until the registration holds its own
    if (RegisterDragDrop(window_, target) == S_OK) {
        dropTarget_ = target;
        return;
    }
    target->detach();
    target->Release();
}

void Win32FrameWindow::revokeDropTarget() {
    if (!dropTarget_) return;
    if (alive_) RevokeDragDrop(window_);
    dropTarget_->detach();
    dropTarget_->Release();
    dropTarget_ = nullptr;
}

bool Win32FrameWindow::resize(int32_t width, int32_t height) {
    if (!alive_ || width <= 0 || height <= 0 || width > PixelSurface::kMaxSide || height > PixelSurface::kMaxSide)
        return false;
    surface_ = PixelSurface(width, height);
    return SetWindowPos(window_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE) != 0;
}

bool Win32FrameWindow::getOuterPosition(CPoint& position) {
    if (!alive_) return false;
    RECT own{};
    GetWindowRect(window_, &own);
    // Climb while the parent is no more than decoration around the editor.
    for (HWND window = window_; window;) {
        HWND parent = GetParent(window);
        bool outer = !parent || (GetWindowLongA(window, GWL_STYLE) & WS_CAPTION) != 0;
        if (!outer) {
            RECT r{};
            GetWindowRect(parent, &r);
            outer = std::abs((r.right - r.left) - (own.right - own.left)) > kOuterSlack ||
                    std::abs((r.bottom - r.top) - (own.bottom - own.top)) > kOuterSlack;
        }
        if (outer) {
            position = rectInParent(window).topLeft();
            return true;
        }
        window = parent;
    }
    return false;
}

bool Win32FrameWindow::getHostRect(CRect& rect) {
    HWND host = alive_ ? GetParent(window_) : nullptr;
    if (!host) return false;
    rect = rectInParent(host);
    return true;
}

}  // namespace VSTGUI::win32
