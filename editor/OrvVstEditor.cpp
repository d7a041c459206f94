#include "editor/OrvVstEditor.h"

#include "editor/ValueReadout.h"
#include "plugin/AudioEffect.h"
#include "vstgui/cbitmap.h"
#include "vstgui/cframe.h"
#include "vstgui/canimknob.h"
#include "vstgui/conoffbutton.h"
#include "vstgui/coptionmenu.h"
#include "vstgui/coptionmenuscheme.h"
#include "vstgui/cparamdisplay.h"
#include "vstgui/platform.h"

using namespace VSTGUI;

namespace {

// The change record has one bit per parameter.
static_assert(layout::kParameterCount <= 64, "one bit per parameter");

constexpr int32_t kBitmapIds[4] = {layout::kBackgroundBitmap, layout::kKnobBitmap, layout::kLearnBitmap,
                                   layout::kLearnAllBitmap};
constexpr int kBackground = 0, kKnobStrip = 1;

// Menus: black boxes with grey text. The pop-up highlights the entry under
// the pointer in the panel's amber, darkened so that white text reads on it
// and it stands out from the black; greyed entries (the editor has none)
// would be a dim grey, not black on black.
constexpr CColor kMenuText{100, 100, 100, 255};
constexpr CColor kMenuSelection{150, 100, 40, 255};
constexpr CColor kMenuGreyed{60, 60, 60, 255};

// The readout: light text in a dark slot that matches the panel artwork.
constexpr CColor kReadoutBack{18, 19, 22, 255};
constexpr CColor kReadoutText{214, 218, 226, 255};

CRect rectOf(const layout::Control& c) { return CRect(c.left, c.top, c.right, c.bottom); }

}  // namespace

OrvVstEditor::OrvVstEditor(AudioEffect* effect) : OrvVstEditor(effect, VSTGUI::platformWindowSystem()) {}

OrvVstEditor::OrvVstEditor(AudioEffect* effect, VSTGUI::WindowSystem& windows) : AEffGUIEditor(effect, windows) {
    // The panel's size is the window's; the module always carries it.
    bitmaps_[kBackground] = new CBitmap(kBitmapIds[kBackground]);
    const bool loaded = bitmaps_[kBackground]->isLoaded();
    rect.top = 0;
    rect.left = 0;
    rect.bottom = loaded ? std::int16_t(bitmaps_[kBackground]->getHeight()) : kHeight;
    rect.right = loaded ? std::int16_t(bitmaps_[kBackground]->getWidth()) : kWidth;
}

OrvVstEditor::~OrvVstEditor() {
    close();
}

bool OrvVstEditor::open(void* window) {
    if (frame) close();
    for (int i = 0; i < 4; ++i) {
        if (bitmaps_[i]) continue;  // the constructor's background is reused
        bitmaps_[i] = new CBitmap(kBitmapIds[i]);
        // Black around the knob face is see-through.
        if (i == kKnobStrip) bitmaps_[i]->setTransparentColor(kBlackCColor);
    }
    auto* newFrame = new CFrame(CRect(0, 0, rect.right, rect.bottom), window, this, windowSystem());
    if (!newFrame->hasWindow()) {
        newFrame->forget();
        return false;
    }
    newFrame->setBackground(bitmaps_[kBackground]);
    AEffGUIEditor::open(window);
    frame = newFrame;
    // Values stored before now are read below; older records are moot.
    changed_.store(0, std::memory_order_relaxed);
    for (int i = 0; i < layout::kControlCount; ++i) {
        controls_[i] = makeControl(layout::kControls[i]);
        frame->addView(controls_[i]);  // the frame holds the control from here on
    }
    readout_ = new CParamDisplay(
        CRect(layout::kReadoutLeft, layout::kReadoutTop, layout::kReadoutRight, layout::kReadoutBottom));
    readout_->setBackColor(kReadoutBack);
    readout_->setFrameColor(kReadoutBack);
    readout_->setFontColor(kReadoutText);
    readout_->setStringConvert(&OrvVstEditor::readoutText, this);
    readout_->setMouseEnabled(false);  // it only shows
    frame->addView(readout_);
    showInReadout(readoutIndex_);
    return true;
}

CControl* OrvVstEditor::makeControl(const layout::Control& spec) {
    const float value = effect_ ? effect_->getParameter(spec.tag) : 0.f;
    switch (spec.kind) {
        case layout::Kind::knob: {
            CBitmap* strip = bitmaps_[kKnobStrip];
            auto* knob = new CAnimKnob(CRect(spec.left, spec.top, spec.left + strip->getWidth(), spec.top + 40), this,
                                       spec.tag, layout::kKnobFrames, layout::kKnobFrameHeight, strip, CPoint(0, 0));
            knob->setInsetValue(0);
            knob->setTransparency(true);
            knob->setValue(value);
            knob->setDefaultValue(0.f);  // Ctrl-click: parameter to 0.0
            return knob;
        }
        case layout::Kind::menu: {
            auto* scheme = new COptionMenuScheme();
            scheme->setColors(kBlackCColor, kMenuSelection, kMenuText, kWhiteCColor, kMenuGreyed);
            auto* menu = new COptionMenu(rectOf(spec), this, spec.tag);
            menu->setFontColor(kMenuText);
            menu->setBackColor(kBlackCColor);
            menu->setScheme(scheme);
            scheme->forget();  // the menu holds it for as long as it lives
            const layout::Entries entries = layout::entriesOf(spec);
            for (int e = 0; e < entries.count; ++e) menu->addEntry(entries.texts[e], -1);
            menu->setCurrent(int32_t(value), true);
            return menu;
        }
        case layout::Kind::learnSwitch: {
            CBitmap* picture = bitmaps_[spec.bitmap == layout::kLearnBitmap ? 2 : 3];
            const CRect size(spec.left, 472, spec.left + picture->getWidth(), 472 + picture->getHeight() / 2);
            auto* button = new COnOffButton(size, this, spec.tag, picture, kPreListenerUpdate);
            button->setValue(value);
            return button;
        }
    }
    return nullptr;
}

void OrvVstEditor::close() {
    if (frame) frame->forget();  // releases every control and the background
    frame = nullptr;
    for (CControl*& control : controls_) control = nullptr;
    readout_ = nullptr;
    for (CBitmap*& bitmap : bitmaps_) {
        if (bitmap) bitmap->forget();
        bitmap = nullptr;
    }
    AEffGUIEditor::close();
}

void OrvVstEditor::idle() {
    const std::uint64_t changed = takeChangedParameters();
    if (!effect_) return AEffGUIEditor::idle();
    if (frame && changed) {
        for (int32_t index = 0; index < layout::kParameterCount; ++index) {
            if (!(changed >> index & 1)) continue;
            const int i = layout::controlIndexOfTag(index);
            // Menus follow in the refresh below; knobs and switches here.
            if (i >= 0 && layout::kControls[i].kind != layout::Kind::menu)
                controls_[i]->setValue(effect_->getParameter(index));
            if (index == readoutIndex_) showInReadout(index);
        }
    }
    AEffGUIEditor::idle();
    if (!frame) return;
    // A menu is set only when its parameter selects another entry than the
    // one it shows: setting it again would just mark it dirty, and redrawing
    // the eleven menus' text at every idle call is most of what an editor
    // costs while nothing changes (or while automation moves a value within
    // one entry). A menu that is set is marked dirty here, so it shows the
    // change after the next idle call's redraw. Values that select no entry
    // are ignored, as setValue would.
    for (int32_t tag : layout::kMenuRefreshOrder) {
        auto* menu = static_cast<COptionMenu*>(controls_[layout::controlIndexOfTag(tag)]);
        const float value = effect_->getParameter(tag);
        if (value > -1.f && value < float(menu->getNbEntries()) && int32_t(value) != menu->getCurrent())
            menu->setValue(value);
    }
}

void OrvVstEditor::setParameter(VstInt32 index, float) {
    if (index < 0 || index >= layout::kParameterCount) return;
    changed_.fetch_or(std::uint64_t{1} << index, std::memory_order_relaxed);
}

std::uint64_t OrvVstEditor::takeChangedParameters() {
    return changed_.exchange(0, std::memory_order_relaxed);
}

void OrvVstEditor::beginEdit(VstInt32 index) {
    AEffGUIEditor::beginEdit(index);
    showInReadout(index);
}

void OrvVstEditor::valueChanged(CDrawContext*, CControl* control) {
    if (!control) return;
    const int32_t tag = control->getTag();
    if (tag < 0 || tag >= layout::kParameterCount) return;
    if (effect_) effect_->setParameterAutomated(tag, control->getValue());
    control->setDirty(true);
    showInReadout(tag);
}

CControl* OrvVstEditor::getControl(int i) const {
    return (i >= 0 && i < layout::kControlCount) ? controls_[i] : nullptr;
}

void OrvVstEditor::showInReadout(int32_t index) {
    if (index < 0 || index >= layout::kParameterCount) return;
    readoutIndex_ = index;
    if (!readout_) return;
    readout_->setValue(effect_ ? effect_->getParameter(index) : 0.f);
    readout_->setDirty(true);
}

void OrvVstEditor::readoutText(float, char* text, void* editor) {
    auto* self = static_cast<OrvVstEditor*>(editor);
    text[0] = '\0';
    if (self && self->effect_)
        readout::describe(*self->effect_, self->readoutIndex_, layout::kParameterCount, text,
                          CParamDisplay::kTextSize);
}
