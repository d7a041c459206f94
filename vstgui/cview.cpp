#include "vstgui/cview.h"

#include <cstring>

#include "vstgui/cbitmap.h"
#include "vstgui/cdrawcontext.h"
#include "vstgui/cframe.h"
#include "vstgui/platform.h"

namespace VSTGUI {

const char* const kMsgCheckIfViewContainer = "kMsgCheckIfViewContainer";

CView::CView(const CRect& size) : size(size), mouseableArea(size) {}

CView::~CView() {
    if (pBackground) pBackground->forget();
}

void CView::draw(CDrawContext* context) {
    drawBitmap(context, pBackground, size);
    setDirty(false);
}

void CView::drawBitmap(CDrawContext* context, CBitmap* bitmap, const CRect& rect, const CPoint& offset) const {
    if (!bitmap) return;
    if (bTransparencyEnabled)
        bitmap->drawTransparent(context, rect, offset);
    else
        bitmap->draw(context, rect, offset);
}

void CView::drawRect(CDrawContext* context, const CRect&) { draw(context); }

bool CView::checkUpdate(const CRect& updateRect) const { return updateRect.rectOverlap(size); }

void CView::mouse(CDrawContext*, const CPoint&, int32_t) {}

// Remember first: the new bitmap may be the one already set.
void CView::setBackground(CBitmap* background) {
    if (background) background->remember();
    if (pBackground) pBackground->forget();
    pBackground = background;
    setDirty(true);
}

int32_t CView::onKeyDown(VstKeyCode&) { return -1; }
int32_t CView::onKeyUp(VstKeyCode&) { return -1; }

bool CView::onWheel(CDrawContext* context, const CPoint& where, CMouseWheelAxis, float distance) {
    return onWheel(context, where, distance);
}
bool CView::onWheel(CDrawContext*, const CPoint&, float) { return false; }

bool CView::onDrop(CDrawContext*, CDragContainer*, const CPoint&) { return false; }
void CView::onDragEnter(CDrawContext*, CDragContainer*, const CPoint&) {}
void CView::onDragLeave(CDrawContext*, CDragContainer*, const CPoint&) {}
void CView::onDragMove(CDrawContext*, CDragContainer*, const CPoint&) {}

void CView::looseFocus(CDrawContext*) {}
void CView::takeFocus(CDrawContext*) {}

CRect& CView::getMouseableArea(CRect& rect) const {
    rect = mouseableArea;
    return rect;
}

bool CView::hitTest(const CPoint& where, int32_t) { return mouseableArea.pointInside(where); }

void CView::setViewSize(const CRect& rect) {
    size = rect;
    setDirty(true);
}

CRect& CView::getViewSize(CRect& rect) const {
    rect = size;
    return rect;
}

bool CView::removed(CView*) { return true; }
bool CView::attached(CView*) { return true; }

void CView::getMouseLocation(CDrawContext* context, CPoint& point) {
    if (!context) return;
    if (pParentView && pParentView->notify(this, kMsgCheckIfViewContainer) == kMessageNotified) {
        CRect parentSize;
        pParentView->getViewSize(parentSize);
        ContextTranslation entered(context, parentSize.topLeft());
        pParentView->getMouseLocation(context, point);
        return;
    }
    PlatformInput* input = context->getPlatformInput();
    CPoint screen = input ? input->getPointerPosition() : CPoint();
    point = CPoint(screen.h - context->offsetScreen.h, screen.v - context->offsetScreen.v);
}

CPoint& CView::frameToLocal(CPoint& point) const {
    if (pParentView && pParentView->isTypeOf("CViewContainer")) return pParentView->frameToLocal(point);
    return point;
}

CPoint& CView::localToFrame(CPoint& point) const {
    if (pParentView && pParentView->isTypeOf("CViewContainer")) return pParentView->localToFrame(point);
    return point;
}

FrameEditor* CView::getEditor() const { return pParentFrame ? pParentFrame->getEditor() : nullptr; }

int32_t CView::notify(CView*, const char*) { return kMessageUnknown; }

void CView::redrawRect(CDrawContext* context, const CRect& rect) {
    if (pParentView)
        pParentView->redrawRect(context, rect);
    else if (pParentFrame)
        pParentFrame->drawRect(context, rect);
}

bool CView::isTypeOf(const char* className) const {
    return className && std::strcmp(className, "CView") == 0;
}

void CView::update(CDrawContext* context) {
    if (isDirty()) {
        if (context)
            redrawRect(context, size);
        else if (pParentFrame)
            pParentFrame->draw(this);
        setDirty(false);
    }
}

}  // namespace VSTGUI
