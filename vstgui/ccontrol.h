// CControl: a view that holds one value and stands for one parameter.
//
// The control knows its parameter by its tag and tells its listener when the
// user changed the value (valueChanged). Its value normally lies between
// min and max (0..1 by default); setValue stores any float as given, and the
// controls' own handlers bring it back into range (bounceValue).
//
// Dirty rule: a control is dirty when its value differs from the value at
// the last redraw (oldValue) or when it was marked dirty. Marking dirty sets
// oldValue to something the value surely is not; a draw clears it by making
// oldValue the value.
//
// Edit gestures: beginEdit makes the control the frame's focus view and tells
// the frame (and so the host) that the parameter tag is being edited;
// endEdit ends the gesture. A control attached to no frame edits nothing.
//
// All of this runs on the ui thread. Parameter changes from other threads
// reach a control only through the editor, which applies them at its idle.
#pragma once

#include <cstdint>

#include "vstgui/cview.h"

namespace VSTGUI {
class CControl;
class CDrawContext;
}  // namespace VSTGUI

// Receives a control's user changes, on the ui thread. The editor is one;
// controls hold their listener without owning it.
class CControlListener {
public:
    // The control's value changed through the user. context may be none.
    virtual void valueChanged(VSTGUI::CDrawContext* context, VSTGUI::CControl* control) = 0;
    // A click with Shift, Ctrl or Alt held (buttons as CButton bits, or -1
    // still to be read) is offered here first; non-zero means the listener
    // took it and the control does nothing more.
    virtual int32_t controlModifierClicked(VSTGUI::CDrawContext* context, VSTGUI::CControl* control,
                                           int32_t buttons);

protected:
    ~CControlListener() = default;
};

namespace VSTGUI {

// The modifier bits that make a click a modifier-click. 64 is a button bit
// some platforms report; it never occurs here but still counts.
constexpr int32_t kModifierClickMask = kShift | kControl | kAlt | 64;

class CControl : public CView {
public:
    // Mouse enabled, transparency off; takes a reference to background (none
    // allowed) and starts dirty.
    CControl(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background);
    ~CControl() override;

    // --- CView
    void draw(CDrawContext* context) override = 0;
    // Value differs from oldValue (a NaN always does), or marked dirty.
    bool isDirty() const override;
    // Marking dirty moves oldValue away from the value; clearing makes it
    // the value.
    void setDirty(bool dirty = true) override;
    bool isTypeOf(const char* className) const override;

    // --- the control's own operations
    // The frame's idle pump (repaints and gives the host time); for controls
    // that hold the mouse.
    virtual void doIdleStuff();
    // A plain store: no clamping, no dirty marking.
    virtual void setValue(float val) { value = val; }
    virtual float getValue() const { return value; }
    virtual void setMin(float val) { vmin = val; }
    virtual float getMin() const { return vmin; }
    virtual void setMax(float val) { vmax = val; }
    virtual float getMax() const { return vmax; }
    virtual void setOldValue(float val) { oldValue = val; }
    virtual float getOldValue() const { return oldValue; }
    virtual void setDefaultValue(float val) { defaultValue = val; }
    virtual float getDefaultValue() const { return defaultValue; }
    virtual void setTag(int32_t val) { tag = val; }
    virtual int32_t getTag() const { return tag; }
    // The frame's focus moves here, then the edit gesture on tag begins.
    virtual void beginEdit();
    virtual void endEdit();
    // Offset into the background bitmap (displays draw from it).
    virtual void setBackOffset(const CPoint& offset) { backOffset = offset; }
    // The offset becomes the control's own top-left.
    virtual void copyBackOffset();
    // Step of one wheel notch or arrow key.
    virtual void setWheelInc(float val) { wheelInc = val; }
    virtual float getWheelInc() const { return wheelInc; }
    // Clamps value into min..max.
    virtual void bounceValue();
    // Exactly left button + Ctrl: the value returns to the default inside an
    // edit gesture, the listener hears of it when it changed; true. Any
    // other buttons: false, nothing changes.
    virtual bool checkDefaultValue(CDrawContext* context, int32_t buttons);

    void setListener(CControlListener* newListener) { listener = newListener; }

protected:
    // The listener took a modifier-click (see CControlListener).
    bool offerModifierClick(CDrawContext* context, int32_t buttons);
    // One complete edit: beginEdit, the listener's valueChanged, endEdit.
    void reportEdit(CDrawContext* context);
    // Still attached to a frame whose window lives: a loop that holds the
    // mouse goes on only while this holds.
    bool isOnOpenFrame() const;

    CControlListener* listener;
    int32_t tag;
    float oldValue = 1.f;
    float defaultValue = 0.5f;
    float value = 0.f;
    float vmin = 0.f;
    float vmax = 1.f;
    float wheelInc = 0.1f;
    CPoint backOffset;
};

}  // namespace VSTGUI
