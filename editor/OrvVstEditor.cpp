#include "editor/OrvVstEditor.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "editor/PanelMenu.h"
#include "editor/PanelReadout.h"
#include "editor/ValueReadout.h"
#include "plugin/OscillatorRecord.h"
#include "plugin/AudioEffect.h"
#include "vstgui/canimknob.h"
#include "vstgui/cbitmap.h"
#include "vstgui/cframe.h"
#include "vstgui/cknob.h"
#include "vstgui/conoffbutton.h"
#include "vstgui/coptionmenu.h"
#include "vstgui/coptionmenuscheme.h"
#include "vstgui/platform.h"
#include "vstgui/viewscale.h"

using namespace VSTGUI;

namespace {

// The change record has one bit per parameter.
static_assert(layout::kParameterCount <= 64, "one bit per parameter");

// Menus: black boxes with grey text. The pop-up highlights the entry under
// the pointer in the panel's amber, darkened so that white text reads on it
// and it stands out from the black, and marks the current entry with a dot;
// greyed entries (the panel menu's about line) are a dim grey, not black on
// black.
constexpr CColor kMenuText{100, 100, 100, 255};
constexpr CColor kMenuSelection{150, 100, 40, 255};
constexpr CColor kMenuGreyed{60, 60, 60, 255};
constexpr CColor kPanelMenuText{190, 194, 202, 255};
constexpr CColor kPanelMenuInformation{120, 124, 132, 255};

// The readout: light text in a dark slot that matches the panel artwork.
constexpr CColor kReadoutBack{18, 19, 22, 255};
constexpr CColor kReadoutText{214, 218, 226, 255};

CRect rectOf(const layout::Control& c) { return CRect(c.left, c.top, c.right, c.bottom); }

COptionMenuScheme* menuScheme(const CColor& text, const CColor& greyed) {
    auto* scheme = new COptionMenuScheme();
    scheme->setColors(kBlackCColor, kMenuSelection, text, kWhiteCColor, greyed);
    return scheme;
}

// Gives menu a scheme of its own; the menu holds it for as long as it lives.
void attachScheme(COptionMenu& menu, COptionMenuScheme* scheme) {
    menu.setScheme(scheme);
    scheme->forget();
}

// The panel menu's items, in order; a later choice is one more row here and
// one more case in choosePanelItem.
enum class PanelItem {
    knobsCircular, knobsVertical, gap1, programs, tuning, oscillatorsClassic, oscillatorsClean, size, gap2, about
};
constexpr PanelItem kPanelItems[] = {PanelItem::knobsCircular,      PanelItem::knobsVertical,
                                     PanelItem::gap1,               PanelItem::programs,
                                     PanelItem::tuning,             PanelItem::oscillatorsClassic,
                                     PanelItem::oscillatorsClean,   PanelItem::size,
                                     PanelItem::gap2,               PanelItem::about};

#ifndef AMBRELL_VERSION
#define AMBRELL_VERSION "unknown"
#endif

}  // namespace

OrvVstEditor::OrvVstEditor(AudioEffect* effect) : OrvVstEditor(effect, VSTGUI::platformWindowSystem()) {}

OrvVstEditor::OrvVstEditor(AudioEffect* effect, VSTGUI::WindowSystem& windows) : AEffGUIEditor(effect, windows) {
    // The panel's size is the window's; the module always carries it.
    bitmaps_[0] = new CBitmap(layout::kBackgroundBitmap);
    const bool loaded = bitmaps_[0]->isLoaded();
    panelHeight_ = loaded ? std::int16_t(bitmaps_[0]->getHeight()) : kHeight;
    panelWidth_ = loaded ? std::int16_t(bitmaps_[0]->getWidth()) : kWidth;
    rect.top = 0;
    rect.left = 0;
    rect.bottom = panelHeight_;
    rect.right = panelWidth_;
    if (const char* scale = std::getenv(kScaleVariable)) setHostScale(std::atoi(scale));
}

void OrvVstEditor::setHostScale(int32_t percent) { hostScale_ = isScaleStep(percent) ? percent : 0; }

void OrvVstEditor::chooseScale(const UserSettings& settings, void* parent) {
    const int32_t chosen = std::atoi(settings.get(kSizeKey, "").c_str());
    if (isScaleStep(chosen)) {
        scale_ = chosen;
    } else if (hostScale_) {
        scale_ = hostScale_;
    } else {
        if (parent && parent != desktopParent_) desktopScale_ = -1;
        if (parent) desktopParent_ = parent;
        if (desktopScale_ < 0) desktopScale_ = windowSystem().desktopScale(desktopParent_);
        scale_ = isScaleStep(desktopScale_) ? desktopScale_ : 100;
    }
    rect.bottom = std::int16_t(toPixels(panelHeight_, scale_));
    rect.right = std::int16_t(toPixels(panelWidth_, scale_));
}

bool OrvVstEditor::getRect(ERect** rectOut) {
    // While open the window keeps the size it opened with.
    if (!frame) {
        UserSettings settings(UserSettings::defaultPath());
        settings.load();
        chooseScale(settings, nullptr);
    }
    return AEffGUIEditor::getRect(rectOut);
}

OrvVstEditor::~OrvVstEditor() {
    close();
}

CBitmap* OrvVstEditor::bitmap(int32_t id) const {
    for (std::size_t i = 0; i < std::size(layout::kBitmapIds); ++i)
        if (layout::kBitmapIds[i] == id) return bitmaps_[i];
    return nullptr;
}

bool OrvVstEditor::open(void* window) {
    if (frame) close();
    for (std::size_t i = 0; i < std::size(layout::kBitmapIds); ++i) {
        if (bitmaps_[i]) continue;  // the constructor's background is reused
        const int32_t id = layout::kBitmapIds[i];
        bitmaps_[i] = new CBitmap(id);
        // Black around a knob's face is see-through.
        if (id == layout::kKnobBitmap || id == layout::kSmallKnobBitmap || id == layout::kBipolarKnobBitmap)
            bitmaps_[i]->setTransparentColor(kBlackCColor);
    }
    settings_ = UserSettings(UserSettings::defaultPath());
    settings_.load();
    chooseScale(settings_, window);
    auto* newFrame = new PanelFrame(CRect(0, 0, panelWidth_, panelHeight_), window, this, windowSystem(),
                                    [this](CDrawContext* context, const CPoint& where) {
                                        openPanelMenu(context, where);
                                    },
                                    scale_);
    if (!newFrame->hasWindow()) {
        newFrame->forget();
        return false;
    }
    newFrame->setBackground(bitmap(layout::kBackgroundBitmap));
    AEffGUIEditor::open(window);
    frame = newFrame;
    verticalKnobs_ = settings_.get(kKnobsKey, kKnobsCircular) == kKnobsVertical;
    // Values stored before now are read below; older records are moot.
    changed_.store(0, std::memory_order_relaxed);
    for (int i = 0; i < layout::kControlCount; ++i) {
        controls_[i] = makeControl(layout::kControls[i]);
        frame->addView(controls_[i]);  // the frame holds the control from here on
    }
    readout_ = new PanelReadout(
        CRect(layout::kReadoutLeft, layout::kReadoutTop, layout::kReadoutRight, layout::kReadoutBottom), this);
    readout_->setBackColor(kReadoutBack);
    readout_->setFrameColor(kReadoutBack);
    readout_->setFontColor(kReadoutText);
    attachScheme(*readout_, menuScheme(kPanelMenuText, kMenuGreyed));
    listPrograms(*readout_);
    readout_->setBeforePopup([this] { listPrograms(*readout_); });
    frame->addView(readout_);
    panelMenu_ = new PanelMenu(this);
    attachScheme(*panelMenu_, menuScheme(kPanelMenuText, kPanelMenuInformation));
    frame->addView(panelMenu_);
    editing_ = -1;
    holdUntil_ = getTicks();
    return true;
}

CControl* OrvVstEditor::makeControl(const layout::Control& row) {
    const float value = effect_ ? effect_->getParameter(row.tag) : 0.f;
    switch (row.kind) {
        case layout::Kind::knob: {
            const int32_t destination = layout::destinationOfDepth(row.tag);
            const float routed = destination >= 0 && effect_ ? effect_->getParameter(destination) : 0.f;
            auto* knob = new CAnimKnob(rectOf(row), this, row.tag, layout::kKnobFrames, row.height(),
                                       bitmap(layout::knobStrip(row, routed)), CPoint(0, 0));
            knob->setInsetValue(0);
            knob->setTransparency(true);
            knob->setValue(value);
            knob->setDefaultValue(0.f);  // Ctrl-click: parameter to 0.0
            return knob;
        }
        case layout::Kind::menu: {
            auto* menu = new COptionMenu(rectOf(row), this, row.tag, nullptr, nullptr, kCheckStyle);
            menu->setFontColor(kMenuText);
            menu->setBackColor(kBlackCColor);
            attachScheme(*menu, menuScheme(kMenuText, kMenuGreyed));
            const layout::Entries entries = layout::entriesOf(row);
            for (int e = 0; e < entries.count; ++e) menu->addEntry(entries.texts[e], -1);
            menu->setCurrent(int32_t(value), true);
            return menu;
        }
        case layout::Kind::learnSwitch:
            auto* button = new COnOffButton(rectOf(row), this, row.tag, bitmap(row.bitmap), kPreListenerUpdate);
            button->setValue(value);
            return button;
    }
    return nullptr;
}

void OrvVstEditor::close() {
    if (frame) frame->forget();  // releases every control and the background
    frame = nullptr;
    for (CControl*& control : controls_) control = nullptr;
    readout_ = nullptr;
    panelMenu_ = nullptr;
    for (CBitmap*& held : bitmaps_) {
        if (held) held->forget();
        held = nullptr;
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
        }
        refreshDepthStrips();
    }
    refreshReadout();
    AEffGUIEditor::idle();
    if (pendingScale_) applyPendingScale();
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

// An LFO depth knob shows the bipolar strip while its destination is a pitch.
void OrvVstEditor::refreshDepthStrips() {
    for (int i = 0; i < layout::kControlCount; ++i) {
        const layout::Control& row = layout::kControls[i];
        const int32_t destination = layout::destinationOfDepth(row.tag);
        if (destination < 0 || !controls_[i]) continue;
        CBitmap* strip = bitmap(layout::knobStrip(row, effect_->getParameter(destination)));
        if (controls_[i]->getBackground() == strip) continue;
        controls_[i]->setBackground(strip);
        controls_[i]->setDirty(true);
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
    if (index < 0 || index >= layout::kParameterCount) return;  // the editor's own controls
    AEffGUIEditor::beginEdit(index);
    editing_ = index;
    showInReadout(index);
}

void OrvVstEditor::endEdit(VstInt32 index) {
    if (index < 0 || index >= layout::kParameterCount) return;
    AEffGUIEditor::endEdit(index);
    if (editing_ == index) editing_ = -1;
    holdUntil_ = getTicks() + kReadoutHoldMs;
}

int32_t OrvVstEditor::getKnobMode() const {
    return verticalKnobs_ ? int32_t(kLinearMode) : AEffGUIEditor::getKnobMode();
}

void OrvVstEditor::valueChanged(CDrawContext*, CControl* control) {
    if (!control) return;
    const int32_t tag = control->getTag();
    if (tag == layout::kProgramTag) return selectProgram(int32_t(control->getValue()));
    if (tag == layout::kSizeMenuTag) return chooseSize(int32_t(control->getValue()));
    if (tag == layout::kPanelMenuTag) return choosePanelItem(int32_t(control->getValue()));
    if (tag == layout::kTuningTag) return chooseTuning(int32_t(control->getValue()));
    if (tag < 0 || tag >= layout::kParameterCount) return;
    if (effect_) effect_->setParameterAutomated(tag, control->getValue());
    control->setDirty(true);
    showInReadout(tag);
    if (effect_) refreshDepthStrips();  // a destination may have changed
}

CControl* OrvVstEditor::getControl(int i) const {
    return (i >= 0 && i < layout::kControlCount) ? controls_[i] : nullptr;
}

// ---- the readout

void OrvVstEditor::showInReadout(int32_t index) {
    if (index < 0 || index >= layout::kParameterCount) return;
    readoutIndex_ = index;
    holdUntil_ = getTicks() + kReadoutHoldMs;
    if (!readout_ || !effect_) return;
    char text[256];
    readout::describe(*effect_, index, layout::kParameterCount, text, sizeof text);
    readout_->showText(text);
}

// The control's words while it moves and for a moment after, else the
// program; a program change or rename from anywhere shows here.
void OrvVstEditor::refreshReadout() {
    if (!readout_ || !effect_) return;
    if (!readout_->showsProgram()) {
        if (editing_ < 0 && int32_t(holdUntil_ - getTicks()) <= 0) {
            readout_->showText(nullptr);
        } else if (readoutIndex_ >= 0) {
            char text[256];
            readout::describe(*effect_, readoutIndex_, layout::kParameterCount, text, sizeof text);
            readout_->showText(text);  // automation may move the value shown
        }
    }
    listPrograms(*readout_, true);
}

void OrvVstEditor::listPrograms(COptionMenu& menu, bool currentOnly) {
    const int32_t count = effect_ ? effect_->getAeffect()->numPrograms : 0;
    const int32_t current = effect_ ? effect_->getProgram() : -1;
    const bool same = menu.getNbEntries() == count;
    // The current program's name is all that idle needs to watch while the
    // list is whole and the same program is current.
    currentOnly = currentOnly && same && current >= 0 && current < count && current == menu.getCurrent();
    char entry[COptionMenu::kMaxEntryLength + 1], shown[COptionMenu::kMaxEntryLength + 1];
    if (!same) menu.removeAllEntry();
    for (int32_t i = currentOnly ? current : 0; i < (currentOnly ? current + 1 : count); ++i) {
        char name[256] = {};
        effect_->dispatcher(effGetProgramNameIndexed, i, 0, name, 0.f);
        name[sizeof name - 1] = '\0';
        PanelReadout::programText(i, name, entry, sizeof entry);
        if (!same) {
            menu.addEntry(entry);
        } else if (!menu.getEntry(i, shown) || std::strcmp(shown, entry) != 0) {
            menu.setEntry(i, entry);
            menu.setDirty(true);
        }
    }
    if (current >= 0 && current < count && current != menu.getCurrent()) menu.setCurrent(current);
}

void OrvVstEditor::selectProgram(int32_t program) {
    if (!effect_ || program < 0 || program >= effect_->getAeffect()->numPrograms) return;
    effect_->dispatcher(effSetProgram, 0, program, nullptr, 0.f);
    effect_->updateDisplay();
    editing_ = -1;
    holdUntil_ = getTicks();
    if (readout_) {
        readout_->showText(nullptr);
        listPrograms(*readout_);
    }
}

// ---- the panel menu

void OrvVstEditor::openPanelMenu(CDrawContext* context, const CPoint& where) {
    if (!panelMenu_ || !effect_) return;
    panelMenu_->clear();
    auto* programs = new COptionMenu(CRect(0, 0, 0, 0), this, layout::kProgramTag, nullptr, nullptr, kCheckStyle);
    attachScheme(*programs, menuScheme(kPanelMenuText, kMenuGreyed));
    listPrograms(*programs);
    auto* tunings = new COptionMenu(CRect(0, 0, 0, 0), this, layout::kTuningTag, nullptr, nullptr, kMultipleCheckStyle);
    attachScheme(*tunings, menuScheme(kPanelMenuText, kMenuGreyed));
    auto* plugin = dynamic_cast<OrvVst*>(effect_);
    if (plugin) tunings_.fill(*tunings, *plugin);
    // The sizes, the one the editor opens at next checked.
    auto* sizes = new COptionMenu(CRect(0, 0, 0, 0), this, layout::kSizeMenuTag, nullptr, nullptr, kCheckStyle);
    attachScheme(*sizes, menuScheme(kPanelMenuText, kMenuGreyed));
    const int32_t chosen = std::atoi(settings_.get(kSizeKey, "").c_str());
    const int32_t next = isScaleStep(chosen) ? chosen : scale_;
    for (int32_t step : kScaleSteps) {
        char entry[16];
        std::snprintf(entry, sizeof entry, "%d %%", int(step));
        sizes->addEntry(entry);
        if (step == next) sizes->setCurrent(sizes->getNbEntries() - 1);
    }
    char about[64];
    std::snprintf(about, sizeof about, "About: Ambrell %s, Orvane Instruments", AMBRELL_VERSION);
    const OscillatorMode oscillators = plugin ? plugin->oscillatorMode() : OscillatorMode::kClassic;
    const auto addOscillators = [&](OscillatorMode mode) {
        const std::string text = std::string("Oscillators: ") + oscillator_record::name(mode);
        panelMenu_->addChoice(text.c_str(), oscillators == mode);
    };
    for (PanelItem item : kPanelItems) {
        switch (item) {
            case PanelItem::knobsCircular: panelMenu_->addChoice("Knobs: circular, as the host says", !verticalKnobs_); break;
            case PanelItem::knobsVertical: panelMenu_->addChoice("Knobs: vertical drag", verticalKnobs_); break;
            case PanelItem::gap1:
            case PanelItem::gap2: panelMenu_->addSeparator(); break;
            case PanelItem::size:
                panelMenu_->addSubMenu(sizes, "Editor size");
                if (next != scale_) panelMenu_->addInformation("The host kept the window: the new size shows at the next open");
                break;
            case PanelItem::programs: panelMenu_->addSubMenu(programs, "Program"); break;
            case PanelItem::tuning: panelMenu_->addSubMenu(tunings, TuningMenu::kTitle); break;
            case PanelItem::oscillatorsClassic: addOscillators(OscillatorMode::kClassic); break;
            case PanelItem::oscillatorsClean: addOscillators(OscillatorMode::kClean); break;
            case PanelItem::about: panelMenu_->addInformation(about); break;
        }
    }
    programs->forget();  // the panel menu holds them
    tunings->forget();
    sizes->forget();
    panelMenu_->popUpAt(context, where);
}

void OrvVstEditor::choosePanelItem(int32_t position) {
    if (position < 0 || position >= int32_t(std::size(kPanelItems))) return;
    switch (kPanelItems[position]) {
        case PanelItem::knobsCircular: return setVerticalKnobs(false);
        case PanelItem::knobsVertical: return setVerticalKnobs(true);
        case PanelItem::oscillatorsClassic: return chooseOscillators(OscillatorMode::kClassic);
        case PanelItem::oscillatorsClean: return chooseOscillators(OscillatorMode::kClean);
        default: return;  // the programs choose through their own menu
    }
}

void OrvVstEditor::chooseSize(int32_t position) {
    if (position < 0 || position >= int32_t(std::size(kScaleSteps))) return;
    const int32_t percent = kScaleSteps[position];
    settings_.set(kSizeKey, std::to_string(percent));
    // The frame is inside its own event delivery now: it is rebuilt at the
    // next idle, once the host has agreed to the new size.
    if (percent != scale_) pendingScale_ = percent;
}

void OrvVstEditor::desktopScaleChanged(int32_t percent) {
    if (!isScaleStep(percent)) return;
    desktopScale_ = percent;  // the answer for the window as it is now
    if (isScaleStep(std::atoi(settings_.get(kSizeKey, "").c_str())) || hostScale_) return;
    if (frame && percent != scale_) pendingScale_ = percent;
}

void OrvVstEditor::applyPendingScale() {
    const int32_t percent = pendingScale_;
    pendingScale_ = 0;
    if (!frame || !percent) return;
    if (!requestHostResize(toPixels(panelWidth_, percent), toPixels(panelHeight_, percent))) return;
    void* parent = frame->getSystemWindow();
    close();
    open(parent);
}

// The tuning's description (or why its file was refused) stays in the
// readout for a moment, as a control's words do.
void OrvVstEditor::chooseTuning(int32_t entry) {
    auto* plugin = dynamic_cast<OrvVst*>(effect_);
    if (!plugin) return;
    const std::string shown = tunings_.choose(entry, *plugin);
    if (shown.empty() || !readout_) return;
    readoutIndex_ = -1;  // no control's words to bring back while it shows
    holdUntil_ = getTicks() + kReadoutHoldMs;
    readout_->showText((std::string(TuningMenu::kTitle) + ": " + shown).c_str());
}

// Per instance: the plug-in keeps the mode and saves it with the bank.
void OrvVstEditor::chooseOscillators(OscillatorMode mode) {
    if (auto* plugin = dynamic_cast<OrvVst*>(effect_)) plugin->setOscillatorMode(mode);
}

void OrvVstEditor::setVerticalKnobs(bool vertical) {
    if (vertical == verticalKnobs_) return;
    verticalKnobs_ = vertical;
    settings_.set(kKnobsKey, vertical ? kKnobsVertical : kKnobsCircular);
}
