#include "vstgui/win32/droptarget.h"

#include <shellapi.h>

#include "vstgui/cdragcontainer.h"
#include "vstgui/cdrawcontext.h"
#include "vstgui/cframe.h"

namespace VSTGUI::win32 {

namespace {

// IUnknown {00000000-0000-0000-C000-000000000046} and IDropTarget
// {00000122-0000-0000-C000-000000000046}.
constexpr GUID kUnknownId = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr GUID kDropTargetId = {0x00000122, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

bool offers(IDataObject* data, CLIPFORMAT format, STGMEDIUM& medium) {
    FORMATETC request{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    medium = STGMEDIUM{};
    return data->GetData(&request, &medium) == S_OK;
}

}  // namespace

int32_t countDragItems(IDataObject* data) {
    if (!data) return 0;
    STGMEDIUM medium;
    if (offers(data, CF_TEXT, medium)) {
        ReleaseStgMedium(&medium);
        return 1;
    }
    if (!offers(data, CF_HDROP, medium)) return 0;
    int32_t count = 0;
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal)
        count = int32_t(DragQueryFileA(static_cast<HDROP>(medium.hGlobal), 0xFFFFFFFF, nullptr, 0));
    ReleaseStgMedium(&medium);
    return count;
}

CDropTarget::~CDropTarget() { endDrag(); }

void CDropTarget::detach() {
    endDrag();
    frame_ = nullptr;
}

HRESULT CDropTarget::QueryInterface(REFIID id, void** result) {
    if (!result) return E_POINTER;
    if (IsEqualGUID(id, kDropTargetId) || IsEqualGUID(id, kUnknownId)) {
        *result = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *result = nullptr;
    return E_NOINTERFACE;
}

ULONG CDropTarget::AddRef() { return ULONG(++references_); }

ULONG CDropTarget::Release() {
    if (--references_ <= 0) {
        delete this;
        return 0;
    }
    return ULONG(references_);
}

template <class Call>
void CDropTarget::toFrame(Call call) {
    ScopedReference<CFrame> keepFrame(frame_);
    ScopedReference<CDragContainer> keep(drag_);
    CDrawContext* context = frame_->createDrawContext();
    CPoint where;
    frame_->getCurrentLocation(where);
    call(context, where);
    context->forget();
}

void CDropTarget::endDrag() {
    if (drag_) drag_->forget();
    drag_ = nullptr;
}

HRESULT CDropTarget::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) {
    if (!data || !frame_) {
        if (effect) *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    endDrag();  // an enter without a leave before it
    drag_ = new CDragContainer(data, countDragItems(data));
    toFrame([this](CDrawContext* context, const CPoint& where) { frame_->onDragEnter(context, drag_, where); });
    if (effect) *effect = DROPEFFECT_MOVE;
    return S_OK;
}

HRESULT CDropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
    if (!drag_) return S_OK;
    toFrame([this](CDrawContext* context, const CPoint& where) { frame_->onDragMove(context, drag_, where); });
    if (effect) *effect = DROPEFFECT_MOVE;
    return S_OK;
}

HRESULT CDropTarget::DragLeave() {
    if (!drag_) return S_OK;
    toFrame([this](CDrawContext* context, const CPoint& where) { frame_->onDragLeave(context, drag_, where); });
    endDrag();
    return S_OK;
}

HRESULT CDropTarget::Drop(IDataObject*, DWORD, POINTL, DWORD*) {
    if (!drag_) return S_OK;
    toFrame([this](CDrawContext* context, const CPoint& where) { frame_->onDrop(context, drag_, where); });
    endDrag();
    return S_OK;
}

}  // namespace VSTGUI::win32
