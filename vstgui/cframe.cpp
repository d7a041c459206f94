#include "vstgui/cframe.h"

#include <cstring>

#include "vstgui/cdrawcontext.h"

namespace VSTGUI {

CFrame::CFrame(const CRect& size, AEffGUIEditor* editor, const PlatformServices& platform)
    : CViewContainer(size), pEditor(editor), platform(platform) {
    pParentFrame = this;
}

CFrame::~CFrame() = default;

bool CFrame::isTypeOf(const char* className) const {
    return (className && std::strcmp(className, "CFrame") == 0) || CViewContainer::isTypeOf(className);
}

CDrawContext* CFrame::createDrawContext() { return new CDrawContext(this, nullptr, platform.window); }

void CFrame::drawRect(CDrawContext* context, const CRect& rect) {
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

void CFrame::setFocusView(CView* view) {
    CView* old = pFocusView;
    pFocusView = view;
    if (view && view->wantsFocus()) view->setDirty(true);
    if (old) {
        old->looseFocus(nullptr);
        if (old->wantsFocus()) old->setDirty(true);
    }
}

}  // namespace VSTGUI
