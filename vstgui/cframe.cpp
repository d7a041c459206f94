#include "vstgui/cframe.h"

#include <cstring>

#include "vstgui/cdrawcontext.h"
#include "vstgui/pixelsurface.h"
#include "vstgui/viewscale.h"

namespace VSTGUI {

namespace {

CRect sizeOf(const CView* view) {
    CRect r;
    return view->getViewSize(r);
}

// Screen positions on a scaled frame: the window's origin stays where it
// is, distances from it are in view units. Views subtract the origin
// (CDrawContext::offsetScreen) and so see view coordinates.
class ScaledInput final : public PlatformInput {
public:
    ScaledInput(PlatformInput& input, PlatformWindow& window, int32_t scale)
        : input_(input), window_(window), scale_(scale) {}
    CPoint getPointerPosition() override {
        const CPoint p = input_.getPointerPosition();
        const CPoint o = window_.getScreenOrigin();
        return CPoint(o.h + toViewUnits(p.h - o.h, scale_), o.v + toViewUnits(p.v - o.v, scale_));
    }
    int32_t getMouseButtons() override { return input_.getMouseButtons(); }

private:
    PlatformInput& input_;
    PlatformWindow& window_;
    int32_t scale_;
};

// A menu placed in those positions goes to the screen's pixels.
class ScaledPopup final : public PlatformPopup {
public:
    ScaledPopup(PlatformPopup& popup, PlatformWindow& window, int32_t scale)
        : popup_(popup), window_(window), scale_(scale) {}
    int32_t track(const PopupMenu& menu, const PopupPlacement& placement, PopupItemPainter& painter) override {
        const CPoint o = window_.getScreenOrigin();
        PopupPlacement onScreen = placement;
        onScreen.where = CPoint(o.h + toPixels(placement.where.h - o.h, scale_),
                                o.v + toPixels(placement.where.v - o.v, scale_));
        onScreen.flipBottom = o.v + toPixels(placement.flipBottom - o.v, scale_);
        return popup_.track(menu, onScreen, painter);
    }

private:
    PlatformPopup& popup_;
    PlatformWindow& window_;
    int32_t scale_;
};

}  // namespace

CFrame::CFrame(const CRect& size, void* systemWindow, FrameEditor* editor, WindowSystem& windows, int32_t scale)
    : CViewContainer(size), pEditor(editor), pSystemWindow(systemWindow), scale_(isScaleStep(scale) ? scale : 100) {
    pParentFrame = this;
    platform.clock = &windows.clock();
    if (systemWindow) window = windows.openWindow(systemWindow, toPixels(size, scale_), *this);
    if (!window) return;
    platform.window = window.get();
    platform.input = window->getInput();
    platform.popup = window->getPopup();
    if (scale_ != 100) {
        if (platform.input) {
            scaledInput = std::make_unique<ScaledInput>(*platform.input, *window, scale_);
            platform.input = scaledInput.get();
        }
        if (platform.popup) {
            scaledPopup = std::make_unique<ScaledPopup>(*platform.popup, *window, scale_);
            platform.popup = scaledPopup.get();
        }
    }
    // A second full-size buffer would hold the same pixels again.
    if (window->showsOnlyAtUnlock()) useOffscreen(false);
    setDropActive(true);
}

CFrame::~CFrame() {
    if (pModalView) removeView(pModalView, false);
    pFocusView = nullptr;
    setCursor(kCursorDefault);
    if (bDropActive && window) window->setDropActive(false);
    bDropActive = false;
    platform.window = nullptr;
    scaledInput.reset();
    scaledPopup.reset();
    window.reset();
    platform.input = nullptr;
    platform.popup = nullptr;
    // The container part releases the children afterwards.
}

bool CFrame::isTypeOf(const char* className) const {
    return (className && std::strcmp(className, "CFrame") == 0) || CViewContainer::isTypeOf(className);
}

CPoint CFrame::windowToView(const CPoint& pixel) const {
    return CPoint(toViewUnits(pixel.h, scale_), toViewUnits(pixel.v, scale_));
}

CRect CFrame::windowToView(const CRect& pixels) const {
    return scale_ == 100 ? pixels : coveringViewRect(pixels, scale_);
}

CDrawContext* CFrame::createDrawContext() { return new CDrawContext(this, nullptr, platform.window); }

// --- drawing

void CFrame::idle() {
    // The events may close the editor, which forgets the frame: hold it.
    ScopedReference<CFrame> keep(this);
    if (window) window->dispatchEvents();
    if (!bOpenFlag || bFirstDraw || !isDirty()) return;
    CDrawContext* context = createDrawContext();
    update(context);
    context->forget();
}

void CFrame::update(CDrawContext* context) {
    if (!context || !bOpenFlag || bUpdatesDisabled) return;
    if (bDirty) {
        draw(context);
        setDirty(false);
        return;
    }
    CRect kept;
    context->getClipRect(kept);
    if (pModalView && pModalView->isDirty()) {
        ScopedReference<CView> keep(pModalView);
        pModalView->update(context);
    }
    for (size_t i = 0; i < children.size(); ++i) {
        CView* child = children[i];
        ScopedReference<CView> keep(child);
        context->setClipRect(sizeOf(child).bound(kept));
        child->update(context);
    }
    context->setClipRect(kept);
}

void CFrame::draw(CDrawContext* context) {
    bFirstDraw = false;
    CViewContainer::draw(context);
}

void CFrame::drawRect(CDrawContext* context, const CRect& rect) {
    bFirstDraw = false;
    CDrawContext* own = context ? nullptr : createDrawContext();
    if (own) context = own;
    CRect kept;
    context->getClipRect(kept);
    context->setClipRect(CRect(rect).bound(kept));
    if (rect.width() > 0 && rect.height() > 0) CViewContainer::drawRect(context, rect);
    context->setClipRect(kept);
    if (own) own->forget();
}

void CFrame::draw(CView* view) {
    if (view && !isChild(view)) view = nullptr;
    CDrawContext* context = createDrawContext();
    if (view)
        view->draw(context);
    else
        draw(context);
    context->forget();
}

void CFrame::invalidate(const CRect& rect) {
    for (CView* child : children)
        if (sizeOf(child).rectOverlap(rect)) child->setDirty(true);
}

bool CFrame::updatesDisabled(bool disabled) {
    const bool previous = bUpdatesDisabled;
    bUpdatesDisabled = disabled;
    return previous;
}

// --- input

void CFrame::mouse(CDrawContext* context, const CPoint& where, int32_t buttons) {
    if (pFocusView) setFocusView(nullptr);
    if (buttons == kButtonsUnread && context) buttons = context->getMouseButtons();
    if (!pModalView) {
        CViewContainer::mouse(context, where, buttons);
        return;
    }
    ScopedReference<CView> keep(pModalView);
    if (pModalView->hitTest(where, buttons)) pModalView->mouse(context, where, buttons);
}

// Offers a key to the focus view, then to the modal view; the first answer
// other than -1 ends it.
template <class Offer>
int32_t CFrame::offerKey(Offer offer) {
    for (CView* view : {pFocusView, pModalView}) {
        if (!view) continue;
        ScopedReference<CView> keep(view);
        const int32_t result = offer(view);
        if (result != -1) return result;
    }
    return -1;
}

int32_t CFrame::onKeyDown(VstKeyCode& keyCode) {
    const int32_t result = offerKey([&keyCode](CView* view) { return view->onKeyDown(keyCode); });
    if (result != -1 || keyCode.virt != VKEY_TAB) return result;
    const bool reverse = (keyCode.modifier & MODIFIER_SHIFT) != 0;
    return advanceNextFocusView(pFocusView, reverse) ? 1 : -1;
}

int32_t CFrame::onKeyUp(VstKeyCode& keyCode) {
    return offerKey([&keyCode](CView* view) { return view->onKeyUp(keyCode); });
}

bool CFrame::onWheel(CDrawContext* context, const CPoint& where, CMouseWheelAxis axis, float distance) {
    CView* target = pModalView ? pModalView : getViewAt(where, false);
    if (!target) return false;
    ScopedReference<CView> keep(target);
    CDrawContext* own = context ? nullptr : createDrawContext();
    const bool result = target->onWheel(context ? context : own, where, axis, distance);
    if (own) own->forget();
    return result;
}

bool CFrame::getCurrentLocation(CPoint& where) {
    if (!platform.input) {
        where = CPoint();
        return false;
    }
    where = platform.input->getPointerPosition();
    if (platform.window) {
        const CPoint origin = platform.window->getScreenOrigin();
        where.offset(-origin.h, -origin.v);
    }
    return true;
}

CView* CFrame::getCurrentView() const {
    return pModalView ? pModalView : CViewContainer::getCurrentView();
}

// --- focus and modal view

void CFrame::setFocusView(CView* view) {
    CView* old = pFocusView;
    pFocusView = view;
    if (view && view->wantsFocus()) view->setDirty(true);
    if (old) {
        old->looseFocus(nullptr);
        if (old->wantsFocus()) old->setDirty(true);
    }
}

bool CFrame::advanceNextFocusView(CView* oldFocus, bool reverse) {
    if (pModalView) return false;
    if (!oldFocus) {
        if (!pFocusView) return CViewContainer::advanceNextFocusView(nullptr, reverse);
        oldFocus = pFocusView;
    }
    if (isChild(oldFocus)) {
        if (CViewContainer::advanceNextFocusView(oldFocus, reverse)) return true;
        setFocusView(nullptr);
        return false;
    }
    // Deeper down: each container from the focus upwards walks on after the
    // child that leads to it; at the top, the frame after its own child.
    CView* child = oldFocus;
    for (CView* parent = oldFocus->getParentView(); parent && parent != this;
         parent = parent->getParentView()) {
        if (!parent->isTypeOf("CViewContainer")) return false;
        if (static_cast<CViewContainer*>(parent)->advanceNextFocusView(child, reverse)) return true;
        child = parent;
    }
    return CViewContainer::advanceNextFocusView(child, reverse);
}

bool CFrame::setModalView(CView* view) {
    if (view && pModalView) return false;
    if (pModalView) removeView(pModalView, false);
    pModalView = view;
    if (view) addView(view);
    return true;
}

void CFrame::removeView(CView* view, bool withForget) {
    if (view && view == pModalView) pModalView = nullptr;
    CViewContainer::removeView(view, withForget);
}

void CFrame::removeAll(bool withForget) {
    pModalView = nullptr;
    CViewContainer::removeAll(withForget);
}

// --- the editor

void CFrame::doIdleStuff() {
    if (pEditor) pEditor->doIdleStuff();
}

void CFrame::beginEdit(int32_t index) {
    if (pEditor) pEditor->beginEdit(index);
}

void CFrame::endEdit(int32_t index) {
    if (pEditor) pEditor->endEdit(index);
}

uint32_t CFrame::getTicks() const { return pEditor && platform.clock ? platform.clock->getTicks() : 0; }

int32_t CFrame::getKnobMode() const { return pEditor ? pEditor->getKnobMode() : 0; }

// --- the window

bool CFrame::open(CPoint*) { return false; }
bool CFrame::close() { return false; }

void CFrame::setCursor(int32_t type) {
    // The copy shape has no cursor of its own; unknown numbers neither.
    if (type < kCursorDefault || type > kCursorHand || type == kCursorCopy) type = kCursorDefault;
    if (window) window->setCursor(CCursorType(type));
}

bool CFrame::setDropActive(bool active) {
    if (!active && !bDropActive) return true;
    if (!window) return false;
    window->setDropActive(active);
    bDropActive = active;
    return true;
}

bool CFrame::setPosition(int32_t, int32_t) { return false; }

bool CFrame::getPosition(int32_t& x, int32_t& y) const {
    CPoint position;
    if (!bOpenFlag || !window || !window->getOuterPosition(position)) return false;
    x = position.h;
    y = position.v;
    return true;
}

bool CFrame::getSize(CRect* rect) const {
    if (!rect || !bOpenFlag || !window) return false;
    return window->getHostRect(*rect);
}

// The host resizes its own windows when it accepts the new size; either way
// only the frame's window and buffer change here: the host's windows belong
// to the host, which an X11 client does not resize behind its back.
bool CFrame::setSize(int32_t width, int32_t height) {
    if (!bOpenFlag || (width == size.width() && height == size.height())) return false;
    if (width <= 0 || height <= 0 || width > PixelSurface::kMaxSide || height > PixelSurface::kMaxSide)
        return false;
    if (pEditor) pEditor->requestHostResize(toPixels(width, scale_), toPixels(height, scale_));
    if (window) window->resize(toPixels(width, scale_), toPixels(height, scale_));
    // Through the container: the off-screen buffer follows the new size.
    CViewContainer::setViewSize(CRect(size.left, size.top, size.left + width, size.top + height));
    return true;
}

void CFrame::setViewSize(const CRect& rect) { setSize(rect.width(), rect.height()); }

}  // namespace VSTGUI
