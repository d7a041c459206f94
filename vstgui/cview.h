// CView: one rectangle of the editor's view tree.
//
// A view's size is in its parent container's coordinates; its mouseable area
// (same coordinates) is where it takes the pointer, edges included. Changes
// mark it dirty; the frame's idle pass redraws dirty views later, never at
// the moment of the change. The base class draws its background bitmap and
// answers every event with "not handled".
//
// Views are reference counted: the creator holds the first reference, a
// container takes its own in addView. All operations run on the ui thread,
// called by the editor, the frame and the window glue; none may be called
// from the audio thread.
#pragma once

#include <cstdint>

#include "plugin/vst2.h"
#include "vstgui/cbuttons.h"
#include "vstgui/creferencecounter.h"
#include "vstgui/crect.h"

namespace VSTGUI {

class CBitmap;
class CDragContainer;
class CDrawContext;
class CFrame;
class FrameEditor;

enum CMessageResult : int32_t {
    kMessageUnknown = 0,
    kMessageNotified = 1,
};

enum CMouseWheelAxis : int32_t {
    kMouseWheelAxisX = 0,
    kMouseWheelAxisY = 1,
};

// The one notify message of the toolkit. Compared by address, not by text:
// "are you a container?"
extern const char* const kMsgCheckIfViewContainer;

class CView : public CReferenceCounter {
public:
    explicit CView(const CRect& size);
    ~CView() override;  // drops the background's reference

    // Draws the background bitmap into size (see-through key colour when
    // transparency is on) and clears the dirty flag.
    virtual void draw(CDrawContext* context);
    // Partial redraw; a plain view draws whole.
    virtual void drawRect(CDrawContext* context, const CRect& updateRect);
    // True when updateRect overlaps size (touching edges count).
    virtual bool checkUpdate(const CRect& updateRect) const;
    virtual void mouse(CDrawContext* context, const CPoint& where, int32_t buttons = kButtonsUnread);

    // Takes a reference to the new bitmap (none allowed) and marks dirty.
    virtual void setBackground(CBitmap* background);
    virtual CBitmap* getBackground() const { return pBackground; }

    // -1: not handled.
    virtual int32_t onKeyDown(VstKeyCode& keyCode);
    virtual int32_t onKeyUp(VstKeyCode& keyCode);
    // The axis form drops the axis and calls the plain form.
    virtual bool onWheel(CDrawContext* context, const CPoint& where, CMouseWheelAxis axis, float distance);
    virtual bool onWheel(CDrawContext* context, const CPoint& where, float distance);

    virtual bool onDrop(CDrawContext* context, CDragContainer* drag, const CPoint& where);
    virtual void onDragEnter(CDrawContext* context, CDragContainer* drag, const CPoint& where);
    virtual void onDragLeave(CDrawContext* context, CDragContainer* drag, const CPoint& where);
    virtual void onDragMove(CDrawContext* context, CDragContainer* drag, const CPoint& where);

    virtual void looseFocus(CDrawContext* context = nullptr);
    virtual void takeFocus(CDrawContext* context = nullptr);

    virtual bool isDirty() const { return bDirty; }
    virtual void setDirty(bool dirty = true) { bDirty = dirty; }

    virtual void setMouseEnabled(bool enabled = true) { bMouseEnabled = enabled; }
    virtual bool getMouseEnabled() const { return bMouseEnabled; }
    virtual void setMouseableArea(const CRect& rect) { mouseableArea = rect; }
    virtual CRect& getMouseableArea(CRect& rect) const;
    // True when where lies in the mouseable area, right and bottom included.
    virtual bool hitTest(const CPoint& where, int32_t buttons = kButtonsUnread);

    virtual void setTransparency(bool transparent) { bTransparencyEnabled = transparent; }
    virtual bool getTransparency() const { return bTransparencyEnabled; }

    // Moves or resizes the view (not its mouseable area) and marks it dirty.
    virtual void setViewSize(const CRect& rect);
    virtual CRect& getViewSize(CRect& rect) const;

    // Called by the container after unlinking / after adding; true.
    virtual bool removed(CView* parent);
    virtual bool attached(CView* parent);

    // The live pointer in the coordinates of this view's size (its parent's
    // space); nothing without a context.
    virtual void getMouseLocation(CDrawContext* context, CPoint& point);
    virtual CPoint& frameToLocal(CPoint& point) const;
    virtual CPoint& localToFrame(CPoint& point) const;

    // The frame's editor, or none.
    virtual FrameEditor* getEditor() const;
    virtual int32_t notify(CView* sender, const char* message);
    // Asks the parent (or the frame at the root) to redraw rect now.
    virtual void redrawRect(CDrawContext* context, const CRect& rect);

    virtual bool wantsFocus() const { return bWantsFocus; }
    virtual void setWantsFocus(bool wants) { bWantsFocus = wants; }

    // Exact class-name test: "CView" here; subclasses add their names.
    virtual bool isTypeOf(const char* className) const;
    // If dirty: redraw through redrawRect (or the frame's single-view draw
    // without a context), then clean.
    virtual void update(CDrawContext* context);

    CFrame* getFrame() const { return pParentFrame; }
    void setFrame(CFrame* frame) { pParentFrame = frame; }
    CView* getParentView() const { return pParentView; }
    void setParentView(CView* parent) { pParentView = parent; }

protected:
    // Draws bitmap (none: nothing) into rect from offset inside it, the key
    // colour see-through when the view's transparency is on.
    void drawBitmap(CDrawContext* context, CBitmap* bitmap, const CRect& rect,
                    const CPoint& offset = CPoint()) const;

    CRect size;
    CRect mouseableArea;
    CFrame* pParentFrame = nullptr;
    CView* pParentView = nullptr;
    bool bDirty = false;
    bool bMouseEnabled = true;
    bool bTransparencyEnabled = false;
    bool bWantsFocus = false;
    CBitmap* pBackground = nullptr;
};

}  // namespace VSTGUI
