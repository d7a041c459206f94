#include "vstgui/cviewcontainer.h"

#include <algorithm>
#include <cstring>

#include "vstgui/cbitmap.h"
#include "vstgui/cdrawcontext.h"
#include "vstgui/cframe.h"
#include "vstgui/coffscreencontext.h"

namespace VSTGUI {

namespace {

CViewContainer* asContainer(CView* view) {
    return view && view->isTypeOf("CViewContainer") ? dynamic_cast<CViewContainer*>(view) : nullptr;
}

CRect sizeOf(const CView* view) {
    CRect r;
    return view->getViewSize(r);
}

CRect mouseableAreaOf(const CView* view) {
    CRect r;
    return view->getMouseableArea(r);
}

// where (parent space) in the space of a container of that size.
CPoint toLocal(const CRect& size, const CPoint& where) { return CPoint(where.h - size.left, where.v - size.top); }

// An event at where (parent space) entering a container of that size: for
// the scope the context's translations include the container's origin, and
// local is where in the container's own space.
class Entering {
public:
    Entering(CDrawContext* context, const CRect& size, const CPoint& where)
        : local(toLocal(size, where)), translation(context, size.topLeft()) {}
    const CPoint local;

private:
    ContextTranslation translation;
};

}  // namespace

CViewContainer::CViewContainer(const CRect& size) : CView(size) { bDirty = true; }

CViewContainer::~CViewContainer() {
    removeChildren(true);
    dropOffscreen();
}

bool CViewContainer::isFrame() const {
    return pParentFrame && static_cast<const CView*>(pParentFrame) == this;
}

COffscreenContext* CViewContainer::offscreen() {
    if (!bDrawInOffscreen) return nullptr;
    if (!pOffscreenContext) {
        auto* buffer = new COffscreenContext(pParentFrame, size.width(), size.height(), kBlackCColor);
        if (!buffer->hasBuffer()) {
            buffer->forget();
            return nullptr;
        }
        pOffscreenContext = buffer;
    }
    return pOffscreenContext;
}

void CViewContainer::dropOffscreen() {
    if (pOffscreenContext) pOffscreenContext->forget();
    pOffscreenContext = nullptr;
}

// --- drawing

void CViewContainer::draw(CDrawContext* context) { paint(context, size, true); }

void CViewContainer::drawRect(CDrawContext* context, const CRect& updateRect) {
    paint(context, updateRect, false);
}

// Draws into the buffer (or into the caller's context moved to the
// container's origin) what lies in updateRect (parent space), within the
// caller's clip, and copies that part of the buffer out. A whole draw draws
// every child whole; a partial one only the children it overlaps, and marks
// those it cut for a whole draw at the next update.
void CViewContainer::paint(CDrawContext* context, const CRect& updateRect, bool whole) {
    if (!context) return;
    COffscreenContext* buffer = offscreen();
    CDrawContext* target = buffer ? buffer : context;
    ContextTranslation entered(buffer ? nullptr : context, size.topLeft());

    const CRect update = whole ? size : CRect(updateRect).bound(size);
    const CRect client = CRect(update).offset(-size.left, -size.top);

    CRect oldClip;
    context->getClipRect(oldClip);
    CRect keptClip;
    target->getClipRect(keptClip);
    if (buffer && !isFrame()) oldClip.offset(-oldClip.left, -oldClip.top);
    const CRect newClip = CRect(client).bound(oldClip);
    target->setClipRect(newClip);

    drawBackgroundRect(target, client);

    for (size_t i = 0; i < children.size(); ++i) {
        CView* child = children[i];
        ScopedReference<CView> keep(child);
        if (whole) {
            target->setClipRect(sizeOf(child).bound(oldClip));
            child->draw(target);
            continue;
        }
        if (!child->checkUpdate(client)) continue;
        const CRect viewClip = sizeOf(child).bound(newClip);
        if (viewClip.width() == 0 || viewClip.height() == 0) continue;
        target->setClipRect(viewClip);
        const bool wasDirty = child->isDirty();
        child->drawRect(target, client);
        // Drawn only in part: draw it whole at the next update.
        if (wasDirty && sizeOf(child) != viewClip) child->setDirty(true);
    }

    target->setClipRect(keptClip);
    if (buffer) buffer->copyFrom(context, update, client.topLeft());
    setDirty(false);
}

void CViewContainer::drawBackgroundRect(CDrawContext* context, const CRect& rect) {
    if (!context) return;
    if (pBackground) {
        CRect saved;
        context->getClipRect(saved);
        context->setClipRect(CRect(rect).bound(saved));
        const CRect whole(0, 0, pBackground->getWidth(), pBackground->getHeight());
        drawBitmap(context, pBackground, whole, backgroundOffset);
        context->setClipRect(saved);
    } else if (!bTransparencyEnabled) {
        context->setFillColor(backgroundColor);
        context->fillRect(rect);
    }
}

void CViewContainer::redrawRect(CDrawContext* context, const CRect& rect) {
    CRect r = rect;
    r.offset(size.left, size.top);
    if (bTransparencyEnabled) {
        // See-through: whoever is behind paints first.
        if (pParentView)
            pParentView->redrawRect(context, r);
        else if (pParentFrame)
            pParentFrame->drawRect(context, r);
        return;
    }
    if (pParentView) {
        CPoint origin(0, 0);
        pParentView->localToFrame(origin);
        ContextTranslation entered(context, origin);
        drawRect(context, r);
    } else {
        drawRect(context, r);
    }
}

void CViewContainer::update(CDrawContext* context) {
    const CRect area(0, 0, size.width(), size.height());
    if (mode == kNormalUpdate || (mode == kOnlyDirtyUpdate && bDirty)) {
        if (isDirty()) {
            redrawRect(context, area);
            setDirty(false);
        }
        return;
    }
    if (mode != kOnlyDirtyUpdate) return;
    for (size_t i = 0; i < children.size(); ++i) {
        CView* child = children[i];
        if (!child->isDirty() || !child->checkUpdate(area)) continue;
        ScopedReference<CView> keep(child);
        if (child->notify(this, kMsgCheckIfViewContainer) == kMessageNotified)
            child->update(context);
        else
            child->redrawRect(context, sizeOf(child).bound(area));
    }
    setDirty(false);
}

bool CViewContainer::isDirty() const {
    if (bDirty) return true;
    const CRect area(0, 0, size.width(), size.height());
    for (CView* child : children)
        if (child->isDirty() && !sizeOf(child).bound(area).isEmpty()) return true;
    return false;
}

// --- events

void CViewContainer::mouse(CDrawContext* context, const CPoint& where, int32_t buttons) {
    const CPoint local = toLocal(size, where);
    if (buttons == kButtonsUnread && context) buttons = context->getMouseButtons();
    for (size_t i = children.size(); i-- > 0;) {
        if (i >= children.size()) continue;
        CView* child = children[i];
        if (child->getMouseEnabled() && child->hitTest(local, buttons)) {
            ScopedReference<CView> keep(child);
            child->mouse(context, local, buttons);
            return;
        }
    }
}

// Offers a key to the children from the top; the first answer other than
// -1 ends the walk.
template <class Offer>
int32_t CViewContainer::offerKey(Offer offer) {
    for (size_t i = children.size(); i-- > 0;) {
        if (i >= children.size()) continue;
        ScopedReference<CView> keep(children[i]);
        const int32_t result = offer(children[i]);
        if (result != -1) return result;
    }
    return -1;
}

int32_t CViewContainer::onKeyDown(VstKeyCode& keyCode) {
    return offerKey([&keyCode](CView* child) { return child->onKeyDown(keyCode); });
}

int32_t CViewContainer::onKeyUp(VstKeyCode& keyCode) {
    return offerKey([&keyCode](CView* child) { return child->onKeyUp(keyCode); });
}

bool CViewContainer::onWheel(CDrawContext* context, const CPoint& where, float distance) {
    return onWheel(context, where, kMouseWheelAxisY, distance);
}

bool CViewContainer::onWheel(CDrawContext* context, const CPoint& where, CMouseWheelAxis axis,
                             float distance) {
    CView* view = getViewAt(where, false);
    if (!view) return false;
    ScopedReference<CView> keep(view);
    const Entering in(context, size, where);
    return view->onWheel(context, in.local, axis, distance);
}

void CViewContainer::onDragEnter(CDrawContext* context, CDragContainer* drag, const CPoint& where) {
    if (!pParentFrame) return;
    const Entering in(context, size, where);
    if (pCurrentDragView) pCurrentDragView->onDragLeave(context, drag, in.local);
    pCurrentDragView = getViewAt(where, false);
    if (pCurrentDragView) pCurrentDragView->onDragEnter(context, drag, in.local);
}

void CViewContainer::onDragMove(CDrawContext* context, CDragContainer* drag, const CPoint& where) {
    if (!pParentFrame) return;
    const Entering in(context, size, where);
    CView* view = getViewAt(where, false);
    if (view != pCurrentDragView) {
        if (pCurrentDragView) pCurrentDragView->onDragLeave(context, drag, in.local);
        if (view) view->onDragEnter(context, drag, in.local);
        pCurrentDragView = view;
    } else if (pCurrentDragView) {
        pCurrentDragView->onDragMove(context, drag, in.local);
    }
}

void CViewContainer::onDragLeave(CDrawContext* context, CDragContainer* drag, const CPoint& where) {
    if (!pParentFrame) return;
    const Entering in(context, size, where);
    if (pCurrentDragView) pCurrentDragView->onDragLeave(context, drag, in.local);
    pCurrentDragView = nullptr;
}

bool CViewContainer::onDrop(CDrawContext* context, CDragContainer* drag, const CPoint& where) {
    if (!pParentFrame) return false;
    const Entering in(context, size, where);
    CView* view = getViewAt(where, false);
    if (view != pCurrentDragView) {
        if (pCurrentDragView) pCurrentDragView->onDragLeave(context, drag, in.local);
        pCurrentDragView = view;
    }
    bool result = false;
    if (pCurrentDragView) {
        ScopedReference<CView> keep(pCurrentDragView);
        result = pCurrentDragView->onDrop(context, drag, in.local);
        if (pCurrentDragView) pCurrentDragView->onDragLeave(context, drag, in.local);
    }
    pCurrentDragView = nullptr;
    return result;
}

void CViewContainer::looseFocus(CDrawContext* context) {
    for (size_t i = 0; i < children.size(); ++i) children[i]->looseFocus(context);
}

void CViewContainer::takeFocus(CDrawContext* context) {
    for (size_t i = 0; i < children.size(); ++i) children[i]->takeFocus(context);
}

bool CViewContainer::advanceNextFocusView(CView* oldFocus, bool reverse) {
    if (!pParentFrame) return false;
    bool passed = oldFocus == nullptr;
    const size_t count = children.size();
    for (size_t n = 0; n < count && n < children.size(); ++n) {
        CView* child = children[reverse ? children.size() - 1 - n : n];
        if (!passed) {
            passed = child == oldFocus;
            continue;
        }
        if (child->wantsFocus()) {
            pParentFrame->setFocusView(child);
            return true;
        }
        if (CViewContainer* container = asContainer(child))
            if (container->advanceNextFocusView(nullptr, reverse)) return true;
    }
    return false;
}

// --- lookup and coordinates

CView* CViewContainer::getViewAt(const CPoint& where, bool deep) const {
    if (!pParentFrame) return nullptr;
    const CPoint local = toLocal(size, where);
    for (size_t i = children.size(); i-- > 0;) {
        CView* child = children[i];
        if (!mouseableAreaOf(child).pointInside(local)) continue;
        if (deep)
            if (CViewContainer* container = asContainer(child)) return container->getViewAt(local, deep);
        return child;
    }
    return nullptr;
}

CView* CViewContainer::getCurrentView() const {
    if (!pParentFrame) return nullptr;
    CPoint where;
    pParentFrame->getCurrentLocation(where);
    frameToLocal(where);
    for (size_t i = children.size(); i-- > 0;)
        if (mouseableAreaOf(children[i]).pointInside(where)) return children[i];
    return nullptr;
}

CPoint& CViewContainer::frameToLocal(CPoint& point) const {
    point.offset(-size.left, -size.top);
    if (pParentView && pParentView->isTypeOf("CViewContainer")) return pParentView->frameToLocal(point);
    return point;
}

CPoint& CViewContainer::localToFrame(CPoint& point) const {
    point.offset(size.left, size.top);
    if (pParentView && pParentView->isTypeOf("CViewContainer")) return pParentView->localToFrame(point);
    return point;
}

int32_t CViewContainer::notify(CView* sender, const char* message) {
    if (message == kMsgCheckIfViewContainer) return kMessageNotified;
    return CView::notify(sender, message);
}

bool CViewContainer::isTypeOf(const char* className) const {
    return (className && std::strcmp(className, "CViewContainer") == 0) || CView::isTypeOf(className);
}

// --- children

void CViewContainer::addView(CView* view, const CRect& mouseableArea, bool mouseEnabled) {
    if (!view) return;
    view->setMouseEnabled(mouseEnabled);
    view->setMouseableArea(mouseableArea);
    addView(view);
}

void CViewContainer::addView(CView* view) {
    if (!view) return;
    // A container inside itself would draw and route forever.
    for (const CView* v = this; v; v = v->getParentView())
        if (v == view) return;
    view->remember();
    view->setFrame(pParentFrame);
    view->setParentView(this);
    if (CViewContainer* container = asContainer(view)) container->propagateFrame(pParentFrame);
    children.push_back(view);
    view->attached(this);
    view->setDirty(true);
}

void CViewContainer::propagateFrame(CFrame* frame) {
    for (CView* child : children) {
        child->setFrame(frame);
        if (CViewContainer* container = asContainer(child)) container->propagateFrame(frame);
    }
}

void CViewContainer::releaseFocusInside(CView* view) {
    if (!pParentFrame || !view) return;
    for (CView* v = pParentFrame->getFocusView(); v; v = v->getParentView()) {
        if (v == view) {
            pParentFrame->setFocusView(nullptr);
            return;
        }
    }
}

void CViewContainer::removeView(CView* view, bool withForget) {
    if (!view) return;
    releaseFocusInside(view);
    auto entry = std::find(children.begin(), children.end(), view);
    if (entry == children.end()) return;
    children.erase(entry);
    if (pCurrentDragView == view) pCurrentDragView = nullptr;
    detach(view, withForget);
}

void CViewContainer::removeAll(bool withForget) {
    for (CView* child : children) releaseFocusInside(child);
    removeChildren(withForget);
}

void CViewContainer::removeChildren(bool withForget) {
    std::vector<CView*> old;
    old.swap(children);
    pCurrentDragView = nullptr;
    for (CView* view : old) detach(view, withForget);
}

void CViewContainer::detach(CView* view, bool withForget) {
    view->removed(this);
    // A view kept by its creator no longer points into this tree.
    view->setParentView(nullptr);
    view->setFrame(nullptr);
    if (CViewContainer* container = asContainer(view)) container->propagateFrame(nullptr);
    if (withForget) view->forget();
    view->forget();
}

bool CViewContainer::isChild(CView* view) const {
    return view && std::find(children.begin(), children.end(), view) != children.end();
}

CView* CViewContainer::getView(int32_t index) const {
    if (index < 0 || size_t(index) >= children.size()) return nullptr;
    return children[size_t(index)];
}

void CViewContainer::setBackgroundColor(const CColor& color) {
    backgroundColor = color;
    setDirty(true);
}

void CViewContainer::setViewSize(const CRect& rect) {
    size = rect;
    setDirty(true);
    if (pOffscreenContext && bDrawInOffscreen) {
        dropOffscreen();
        offscreen();
    }
}

bool CViewContainer::removed(CView*) {
    dropOffscreen();
    return true;
}

bool CViewContainer::attached(CView*) {
    if (!pOffscreenContext && bDrawInOffscreen) offscreen();
    return true;
}

void CViewContainer::useOffscreen(bool use) {
    bDrawInOffscreen = use;
    if (!use) dropOffscreen();
}

}  // namespace VSTGUI
