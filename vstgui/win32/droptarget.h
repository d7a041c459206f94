// CDropTarget: the editor window's OLE drop target.
//
// The frame window registers one while the frame is drop-active
// (RegisterDragDrop holds its own reference; revoking the registration
// releases it). A drag entering the window becomes a CDragContainer that
// counts its items: 1 when the data offers text (CF_TEXT), else the number
// of files of a file list (CF_HDROP), else 0. Enter, over, leave and drop
// reach the frame's drag operations at the live pointer position in frame
// coordinates; every enter and move is answered DROPEFFECT_MOVE, a drag
// without data DROPEFFECT_NONE. A drop changes nothing else (no view of the
// editor takes one).
//
// OLE calls it on the thread that owns the window, the ui thread.
#pragma once

#include <ole2.h>
#include <windows.h>

#include <cstdint>

namespace VSTGUI {
class CDragContainer;
class CFrame;
}  // namespace VSTGUI

namespace VSTGUI::win32 {

// The items a drag's data offers: 1 for text, the file count of a file
// list, else 0.
int32_t countDragItems(IDataObject* data);

class CDropTarget final : public IDropTarget {
public:
    // Starts with no reference: the registration takes the first.
    explicit CDropTarget(CFrame& frame) : frame_(&frame) {}
    // The frame goes away: from now on the target answers like one without
    // a frame (DROPEFFECT_NONE) and forgets a drag in progress.
    void detach();

    // --- IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** result) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // --- IDropTarget
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

    // The drag in progress, or none (for tests).
    CDragContainer* currentDrag() const { return drag_; }

private:
    // Deleted by the last Release; a drag still held is forgotten.
    ~CDropTarget();
    // Calls the frame with a context and the live pointer (frame space).
    template <class Call>
    void toFrame(Call call);
    void endDrag();

    LONG references_ = 0;
    CFrame* frame_;  // none once detached
    CDragContainer* drag_ = nullptr;  // one reference, from enter to leave or drop
};

}  // namespace VSTGUI::win32
