// CViewContainer: a view that holds child views and draws them through an
// off-screen buffer of its own size.
//
// Children are kept in order: the first is drawn first (bottom), the last is
// on top and is offered mouse, wheel, key and drag events first. Each child
// is held by one reference. A child's size is in the container's local space,
// whose origin is the container's top-left corner.
//
// Redraws: draw paints everything; drawRect paints only what overlaps an
// update rectangle (background, overlapping children) and copies that part
// of the buffer out; update redraws what is dirty, in one of two modes.
// [ui thread] only, like every view.
#pragma once

#include <vector>

#include "vstgui/ccolor.h"
#include "vstgui/cview.h"

namespace VSTGUI {

class COffscreenContext;

enum CViewContainerMode : int32_t {
    kNormalUpdate = 0,      // redraw the whole container when anything is dirty
    kOnlyDirtyUpdate = 1,   // redraw only the dirty children's rectangles
};

class CViewContainer : public CView {
public:
    // Starts dirty, black, with no background bitmap.
    explicit CViewContainer(const CRect& size);
    // Removes every child with forget (the creators' references are taken
    // over by the container), then drops the off-screen buffer.
    ~CViewContainer() override;

    // --- CView
    void draw(CDrawContext* context) override;
    void drawRect(CDrawContext* context, const CRect& updateRect) override;
    void mouse(CDrawContext* context, const CPoint& where, int32_t buttons = kButtonsUnread) override;
    int32_t onKeyDown(VstKeyCode& keyCode) override;
    int32_t onKeyUp(VstKeyCode& keyCode) override;
    bool onWheel(CDrawContext* context, const CPoint& where, CMouseWheelAxis axis, float distance) override;
    bool onWheel(CDrawContext* context, const CPoint& where, float distance) override;
    bool onDrop(CDrawContext* context, CDragContainer* drag, const CPoint& where) override;
    void onDragEnter(CDrawContext* context, CDragContainer* drag, const CPoint& where) override;
    void onDragLeave(CDrawContext* context, CDragContainer* drag, const CPoint& where) override;
    void onDragMove(CDrawContext* context, CDragContainer* drag, const CPoint& where) override;
    void looseFocus(CDrawContext* context = nullptr) override;
    void takeFocus(CDrawContext* context = nullptr) override;
    // Own flag, or a dirty child that shows inside the container.
    bool isDirty() const override;
    void setViewSize(const CRect& rect) override;
    bool removed(CView* parent) override;
    bool attached(CView* parent) override;
    CPoint& frameToLocal(CPoint& point) const override;
    CPoint& localToFrame(CPoint& point) const override;
    int32_t notify(CView* sender, const char* message) override;
    void redrawRect(CDrawContext* context, const CRect& rect) override;
    bool isTypeOf(const char* className) const override;
    void update(CDrawContext* context) override;

    // --- children
    // Enables the mouse as told and sets the mouseable area, then adds.
    virtual void addView(CView* view, const CRect& mouseableArea, bool mouseEnabled = true);
    // Appends on top and takes a reference. None, the container itself and
    // its ancestors are ignored.
    virtual void addView(CView* view);
    // Clears the frame's focus first if it is view (or inside view); then
    // unlinks, calls removed, and drops the container's reference plus,
    // with withForget, the creator's.
    virtual void removeView(CView* view, bool withForget = true);
    virtual void removeAll(bool withForget = true);
    virtual bool isChild(CView* view) const;
    virtual int32_t getNbViews() const { return int32_t(children.size()); }
    // None when index is out of range.
    virtual CView* getView(int32_t index) const;

    virtual void setBackgroundColor(const CColor& color);
    virtual CColor getBackgroundColor() const { return backgroundColor; }
    virtual void setBackgroundOffset(const CPoint& offset) { backgroundOffset = offset; }
    virtual const CPoint& getBackgroundOffset() const { return backgroundOffset; }
    // Paints the background under rect (local space) only.
    virtual void drawBackgroundRect(CDrawContext* context, const CRect& rect);
    virtual void setMode(int32_t newMode) { mode = newMode; }
    virtual int32_t getMode() const { return mode; }
    // Off: draw straight into the caller's context; the buffer is dropped.
    virtual void useOffscreen(bool use);
    // The child under the live pointer, or none.
    virtual CView* getCurrentView() const;
    // The topmost child whose mouseable area holds where (parent space),
    // descending into containers when deep; none without a frame.
    virtual CView* getViewAt(const CPoint& where, bool deep = false) const;
    // Moves the frame's focus to the next child that wants it, after
    // oldFocus (or from the start), backwards when reverse.
    virtual bool advanceNextFocusView(CView* oldFocus, bool reverse = false);

    COffscreenContext* getOffscreenContext() const { return pOffscreenContext; }

protected:
    // The buffer, created on first use; none when off-screen drawing is off
    // or a buffer of this size cannot be made.
    COffscreenContext* offscreen();
    // draw (whole) and drawRect (what overlaps updateRect) in one pass.
    void paint(CDrawContext* context, const CRect& updateRect, bool whole);
    void dropOffscreen();
    bool isFrame() const;
    void removeChildren(bool withForget);
    // The unlinked view's removed call and reference drops.
    void detach(CView* view, bool withForget);
    // Clears the frame's focus when it is view or lies inside it.
    void releaseFocusInside(CView* view);
    void propagateFrame(CFrame* frame);
    template <class Offer>
    int32_t offerKey(Offer offer);

    std::vector<CView*> children;
    int32_t mode = kOnlyDirtyUpdate;
    COffscreenContext* pOffscreenContext = nullptr;
    CColor backgroundColor = kBlackCColor;
    CPoint backgroundOffset;
    bool bDrawInOffscreen = true;
    CView* pCurrentDragView = nullptr;
};

}  // namespace VSTGUI
