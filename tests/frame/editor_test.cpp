// The editor layer with a fake window system: AEffGUIEditor's idle pump and
// host requests, OrvVstEditor's open, close, keys and wheel, and the way
// parameter changes travel between its controls and the host.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "editor/ControlLayout.h"
#include "editor/OrvVstEditor.h"
#include "editor/PanelReadout.h"
#include "fakewindowsystem.h"
#include "plugin/AudioEffectX.h"
#include "vstgui/canimknob.h"
#include "vstgui/coptionmenu.h"
#include "vstgui/coptionmenuscheme.h"
#include "vstgui/probeview.h"
#include "vstgui/viewscale.h"
#include "support/PrivateConfigHome.h"

using namespace VSTGUI;

namespace {

class Editor;

// A plug-in object with nothing but a host and 44 stored parameters that
// it reports to the editor, as Ambrell's does: the host records its
// requests and, like a DAW, idles the editor from inside audioMasterIdle.
class TestEffect : public AudioEffectX {
public:
    TestEffect(audioMasterCallback host, Editor* fixture) : AudioEffectX(host, 1, 44) {
        getAeffect()->user = fixture;
    }
    void processReplacing(float**, float**, VstInt32) override {}
    void setParameter(VstInt32 index, float value) override {
        if (index < 0 || index >= 44) return;
        values[index] = value;
        if (auto* e = static_cast<OrvVstEditor*>(getEditor())) e->setParameter(index, value);
    }
    float getParameter(VstInt32 index) override { return (index >= 0 && index < 44) ? values[index] : 0.f; }
    // Display texts for two parameters, as the plug-in words them.
    void getParameterDisplay(VstInt32 index, char* text) override {
        if (index == 15) std::snprintf(text, 24, "mode %d", int(values[index]) + 1);
        if (index == 22) std::snprintf(text, 8, "412");
    }
    void getParameterLabel(VstInt32 index, char* text) override {
        if (index == 22) std::snprintf(text, 8, "ms");
    }
    float values[44] = {};
};

class Editor : public ::testing::Test {
protected:
    Editor() {
        windows.clockSource.now = 1000;
        effect = new TestEffect(&Editor::hostCallback, this);
        editor = new OrvVstEditor(effect, windows);  // owned by the effect
    }
    ~Editor() override { delete effect; }

    static VstIntPtr hostCallback(AEffect* e, VstInt32 opcode, VstInt32 index, VstIntPtr value, void*,
                                  float) {
        auto* self = e ? static_cast<Editor*>(e->user) : nullptr;
        if (!self) return opcode == audioMasterVersion ? 2400 : 0;
        self->requests.push_back({opcode, index, value});
        if (opcode == audioMasterIdle) self->editor->idle();
        if (opcode == audioMasterCanDo) return self->canSizeWindow ? 1 : -1;
        return opcode == audioMasterSizeWindow ? 1 : 0;
    }
    VSTGUI::CControl* control(int32_t tag) const { return editor->getControl(layout::controlIndexOfTag(tag)); }
    int count(VstInt32 opcode) const {
        int n = 0;
        for (const auto& r : requests) n += r.opcode == opcode;
        return n;
    }
    static void* parent() { return reinterpret_cast<void*>(uintptr_t{0x2a}); }

    struct Request {
        VstInt32 opcode;
        VstInt32 index;
        VstIntPtr value;
    };
    fake::WindowSystem windows;
    TestEffect* effect;
    OrvVstEditor* editor;
    std::vector<Request> requests;
    bool canSizeWindow = true;
};




TEST_F(Editor, OpeningAgainMovesTheEditor) {
    ASSERT_TRUE(editor->open(parent()));
    fake::FrameWindow* first = windows.window;
    bool firstDestroyed = false;
    first->destroyed = &firstDestroyed;
    void* other = reinterpret_cast<void*>(uintptr_t{0x2b});
    ASSERT_TRUE(editor->open(other));
    EXPECT_TRUE(firstDestroyed) << "the first window is not left behind";
    EXPECT_EQ(windows.lastParent, other);
}

TEST_F(Editor, DoIdleStuffRunsAtMostEveryHundredMilliseconds) {
    editor->doIdleStuff();
    EXPECT_EQ(count(audioMasterIdle), 1) << "due at once after construction";
    windows.clockSource.now = 1010;
    editor->doIdleStuff();
    EXPECT_EQ(count(audioMasterIdle), 1) << "90 ms early: nothing";
    EXPECT_EQ(windows.clockSource.now, 1014u) << "but it waited 4 ms";
    windows.clockSource.now = 1060;
    editor->doIdleStuff();
    EXPECT_EQ(count(audioMasterIdle), 2) << "within 50 ms of due after the wait: runs";
}

TEST_F(Editor, DoIdleStuffSurvivesTheClockWrapping) {
    delete effect;
    windows.clockSource.now = 0xFFFFFFF0u;  // 16 ms before the clock wraps
    effect = new TestEffect(&Editor::hostCallback, this);
    editor = new OrvVstEditor(effect, windows);
    editor->doIdleStuff();
    windows.clockSource.now = 0xFFFFFFF0u + 100;  // wrapped past zero
    editor->doIdleStuff();
    EXPECT_EQ(count(audioMasterIdle), 2) << "100 ms later is later, across the wrap";
}

TEST_F(Editor, TheHostsIdleInsideDoIdleStuffSkipsTheFramesPass) {
    ASSERT_TRUE(editor->open(parent()));
    fake::FrameWindow* window = windows.window;
    editor->doIdleStuff();
    EXPECT_EQ(count(audioMasterIdle), 1) << "the host got its idle time";
    EXPECT_EQ(window->dispatches, 1) << "one frame pass: the host's nested idle was skipped";
    EXPECT_EQ(window->paintRequests, 1) << "one waiting paint served";
    editor->idle();
    EXPECT_EQ(window->dispatches, 2) << "outside doIdleStuff the host's idle reaches the frame";
}

TEST_F(Editor, EditGesturesAndResizesGoToTheHost) {
    editor->beginEdit(16);
    editor->endEdit(16);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].opcode, audioMasterBeginEdit);
    EXPECT_EQ(requests[0].index, 16);
    EXPECT_EQ(requests[1].opcode, audioMasterEndEdit);
    EXPECT_TRUE(editor->requestHostResize(640, 480)) << "a host that can size windows";
    EXPECT_EQ(requests.back().opcode, audioMasterSizeWindow);
    EXPECT_EQ(requests.back().index, 640);
    EXPECT_EQ(requests.back().value, 480);
    canSizeWindow = false;
    requests.clear();
    EXPECT_FALSE(editor->requestHostResize(640, 480)) << "a host that cannot";
    EXPECT_EQ(count(audioMasterSizeWindow), 0) << "is not asked to";
}

TEST_F(Editor, KeysAreUsedExactlyWhenTheFrameAnswersOne) {
    VstKeyCode key{};
    EXPECT_FALSE(editor->onKeyDown(key)) << "closed";
    ASSERT_TRUE(editor->open(parent()));
    auto* probe = new Probe(CRect(0, 0, 10, 10));
    editor->getFrame()->addView(probe);  // the frame takes over the reference
    editor->getFrame()->setFocusView(probe);
    probe->keyResult = 1;
    EXPECT_TRUE(editor->onKeyDown(key));
    EXPECT_TRUE(editor->onKeyUp(key));
    probe->keyResult = 2;
    EXPECT_FALSE(editor->onKeyDown(key)) << "handled, but not answered 1";
}

TEST_F(Editor, WheelGoesToTheViewUnderThePointer) {
    EXPECT_FALSE(editor->onWheel(1.f)) << "closed";
    ASSERT_TRUE(editor->open(parent()));
    auto* probe = new Probe(CRect(100, 100, 140, 140));
    editor->getFrame()->addView(probe);
    windows.window->screenOrigin = CPoint(300, 200);
    windows.window->input.pointer = CPoint(300 + 110, 200 + 120);
    EXPECT_TRUE(editor->onWheel(-1.f));
    EXPECT_EQ(probe->lastWhere, CPoint(110, 120)) << "the pointer in frame coordinates";
    EXPECT_EQ(probe->lastDistance, -1.f);
    EXPECT_FALSE(editor->onWheel(std::nanf(""))) << "no number, no turn";
}

TEST_F(Editor, OpensWithEveryControlBoundToItsParameterThenTheReadoutAndThePanelMenu) {
    effect->values[16] = 0.25f;
    effect->values[3] = 4.f;
    effect->values[43] = 1.f;
    ASSERT_TRUE(editor->open(parent()));
    EXPECT_EQ(editor->getFrame()->getNbViews(), layout::kControlCount + 2) << "the controls, readout and panel menu";
    for (int i = 0; i < layout::kControlCount; ++i) {
        ASSERT_NE(editor->getControl(i), nullptr);
        EXPECT_EQ(editor->getControl(i)->getTag(), layout::kControls[i].tag);
        EXPECT_EQ(editor->getFrame()->getView(i), editor->getControl(i)) << "in the table's order";
    }
    EXPECT_EQ(control(16)->getValue(), 0.25f);
    EXPECT_EQ(static_cast<COptionMenu*>(control(3))->getCurrent(), 4) << "the fifth wave, noise";
    EXPECT_EQ(control(43)->getValue(), 1.f);
    editor->close();
    EXPECT_EQ(editor->getControl(0), nullptr) << "closed: no controls";
    EXPECT_EQ(editor->getReadout(), nullptr);
}

TEST_F(Editor, UserChangesReachTheHostAndTheReadoutExceptFromTagsBeyondTheParameters) {
    ASSERT_TRUE(editor->open(parent()));
    control(16)->setValue(0.75f);
    editor->valueChanged(nullptr, control(16));
    EXPECT_EQ(effect->values[16], 0.75f);
    ASSERT_EQ(count(audioMasterAutomate), 1);
    EXPECT_EQ(requests.back().index, 16);
    EXPECT_EQ(editor->getReadoutParameter(), 16) << "the readout follows the change";
    editor->beginEdit(3);
    EXPECT_EQ(editor->getReadoutParameter(), 3) << "and a gesture's start";

    requests.clear();
    auto* stray = new CAnimKnob(CRect(0, 0, 40, 40), editor, 44, 80, 40, nullptr, CPoint());
    stray->setValue(1.f);
    editor->valueChanged(nullptr, stray);
    EXPECT_TRUE(requests.empty()) << "tag 44 is no parameter";
    EXPECT_EQ(editor->getReadoutParameter(), 3);
    stray->forget();
}

TEST_F(Editor, HostChangesReachKnobsAndSwitchesAtTheNextIdleAndMenusOnEveryIdle) {
    ASSERT_TRUE(editor->open(parent()));
    effect->setParameter(16, 0.6f);
    effect->setParameter(42, 1.f);
    effect->setParameter(3, 2.f);
    EXPECT_EQ(control(16)->getValue(), 0.f) << "recorded only, on whatever thread it came";
    editor->idle();
    EXPECT_EQ(control(16)->getValue(), 0.6f);
    EXPECT_EQ(control(42)->getValue(), 1.f) << "the learn switch follows the host";
    EXPECT_EQ(control(3)->getValue(), 2.f);
    effect->values[7] = 3.f;  // stored without telling the editor
    editor->doIdleStuff();    // the host idles the editor from inside it
    EXPECT_EQ(control(7)->getValue(), 3.f) << "menus refresh even when the frame's pass is skipped";
    effect->setParameter(16, 0.2f);
    editor->close();
    ASSERT_TRUE(editor->open(parent()));
    EXPECT_EQ(control(16)->getValue(), 0.2f) << "reopened from the current values";
}

TEST_F(Editor, AnEditorWithNothingChangingDrawsNothingAndAMenuOnlyWhenItsEntryChanges) {
    ASSERT_TRUE(editor->open(parent()));
    editor->getFrame()->drawRect(nullptr, CRect(0, 0, 600, 500));  // the window's first paint
    editor->idle();
    editor->idle();
    fake::FrameWindow* window = windows.window;
    window->shown.clear();
    for (int i = 0; i < 3; ++i) editor->idle();
    EXPECT_TRUE(window->shown.empty()) << "no idle call drew anything";

    effect->setParameter(3, 0.5f);  // the osc 1 wave menu, still on its first entry
    editor->idle();
    editor->idle();
    EXPECT_TRUE(window->shown.empty()) << "a value within the entry shown redraws nothing";

    effect->setParameter(3, 2.f);
    editor->idle();
    EXPECT_TRUE(control(3)->isDirty()) << "set by the refresh after the frame's pass";
    editor->idle();
    ASSERT_EQ(window->shown.size(), 1u) << "drawn by the next one";
    const layout::Control& row = layout::kControls[layout::controlIndexOfTag(3)];
    const CRect shown = window->shown[0];
    EXPECT_FALSE(shown.isEmpty()) << "the new entry's text";
    EXPECT_EQ(CRect(shown).bound(CRect(row.left, row.top, row.right, row.bottom)), shown)
        << "the menu's own pixels alone";
    EXPECT_EQ(static_cast<COptionMenu*>(control(3))->getCurrent(), 2);
}

TEST_F(Editor, TheReadoutSpeaksThePanelsWordsWhileAControlMovesAndAMomentAfterThenShowsTheProgram) {
    ASSERT_TRUE(editor->open(parent()));
    PanelReadout* readout = editor->getReadout();
    EXPECT_TRUE(readout->showsProgram());
    editor->beginEdit(22);
    control(22)->setValue(0.5f);
    editor->valueChanged(nullptr, control(22));
    EXPECT_EQ(readout->shownInstead(), "FILTER ENV DECAY  412 ms") << "section, label, value and unit";
    windows.clockSource.now += 10 * OrvVstEditor::kReadoutHoldMs;
    editor->idle();
    EXPECT_FALSE(readout->showsProgram()) << "for as long as the gesture lasts";
    editor->endEdit(22);
    windows.clockSource.now += OrvVstEditor::kReadoutHoldMs - 10;
    editor->idle();
    EXPECT_FALSE(readout->showsProgram()) << "and a moment after";
    windows.clockSource.now += 20;
    editor->idle();
    EXPECT_TRUE(readout->showsProgram()) << "then the program again";

    effect->values[15] = 1.f;
    editor->beginEdit(15);
    EXPECT_EQ(readout->shownInstead(), "GLIDE MODE  mode 2: legato glides, envelopes run on")
        << "a bare mode number says what it does";
    editor->endEdit(15);
}

// Contrast of two colours as screens show them (relative luminance of the
// sRGB channels, (lighter + 0.05) / (darker + 0.05)): 1 for equal colours,
// 21 for black on white; text reads well from 4.5.
double contrast(const CColor& a, const CColor& b) {
    auto luminance = [](const CColor& c) {
        auto linear = [](uint8_t v) {
            const double s = v / 255.0;
            return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.red) + 0.7152 * linear(c.green) + 0.0722 * linear(c.blue);
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST_F(Editor, EveryMenusPopupShowsItsSelectionAndGreyedEntriesOnItsBlack) {
    ASSERT_TRUE(editor->open(parent()));
    for (int32_t tag : layout::kMenuRefreshOrder) {
        const COptionMenuScheme* scheme = static_cast<COptionMenu*>(control(tag))->getScheme();
        ASSERT_NE(scheme, nullptr) << "menu " << tag;
        EXPECT_EQ(scheme->getBackgroundColor(), kBlackCColor) << "black boxes";
        EXPECT_GE(contrast(scheme->getSelectionColor(), kBlackCColor), 3.0) << "the highlight stands out";
        EXPECT_GE(contrast(scheme->getHiliteTextColor(), scheme->getSelectionColor()), 4.5)
            << "its text reads on it";
        EXPECT_GE(contrast(scheme->getDisableTextColor(), kBlackCColor), 1.5) << "greyed text is not black on black";
        EXPECT_LT(contrast(scheme->getDisableTextColor(), kBlackCColor),
                  contrast(scheme->getTextColor(), kBlackCColor))
            << "and dimmer than the entries";
    }
}

}  // namespace

namespace {

// No saved size: a settings folder of the test's own.
class EditorWithoutSavedSize : public Editor {
protected:
    void SetUp() override { ASSERT_TRUE(config.ok()) << "a settings folder of the test's own"; }
    PrivateConfigHome config;
};

TEST_F(EditorWithoutSavedSize, MovedToADenserScreenItReopensAtThatScaleOnceTheHostResizes) {
    ASSERT_TRUE(editor->open(parent()));
    ASSERT_EQ(editor->getScale(), 100);
    editor->desktopScaleChanged(200);
    editor->idle();
    ASSERT_GE(count(audioMasterSizeWindow), 1);
    EXPECT_EQ(requests.back().opcode, audioMasterSizeWindow);
    EXPECT_EQ(requests.back().index, 1200);
    EXPECT_EQ(requests.back().value, 1000);
    EXPECT_EQ(editor->getScale(), 200) << "open again at the screen's scale";

    canSizeWindow = false;
    editor->desktopScaleChanged(100);
    editor->idle();
    EXPECT_EQ(editor->getScale(), 200) << "a host that cannot resize keeps the window as it is";
}

// Every knob's pixels as the window shows them now.
std::vector<Pixel> knobPixels(const PixelSurface& surface, int32_t scale) {
    std::vector<Pixel> pixels;
    for (const layout::Control& c : layout::kControls) {
        if (c.kind != layout::Kind::knob) continue;
        const CRect r = toPixels(CRect(c.left, c.top, c.right, c.bottom), scale);
        for (int32_t y = r.top; y < r.bottom; ++y)
            for (int32_t x = r.left; x < r.right; ++x) pixels.push_back(surface.pixel(x, y));
    }
    return pixels;
}

// Knobs moved by the host redraw only where their new frame differs from
// the one on screen; the window must still show, after every move, exactly
// what a whole redraw of the panel shows for the same values. (Each step
// moves every knob's pointer by a pixel at least: smaller ones are not
// drawn at all.)
TEST_F(EditorWithoutSavedSize, KnobsTurnedByTheHostShowWhatAWholeRedrawShowsAtEveryScale) {
    const float path[] = {0.5f, 0.53f, 0.57f, 0.65f, 0.62f, 0.2f, 1.f, 0.f, 1.5f, -0.5f, 0.77f};
    for (int32_t scale : {100, 125, 200}) {
        editor->setHostScale(scale);
        ASSERT_TRUE(editor->open(parent()));
        ASSERT_EQ(editor->getScale(), scale);
        fake::FrameWindow* window = windows.window;
        editor->getFrame()->drawRect(nullptr, CRect(0, 0, 600, 500));  // the window's first paint
        for (size_t step = 0; step < std::size(path); ++step) {
            for (int i = 0; i < layout::kControlCount; ++i) {
                const layout::Control& c = layout::kControls[i];
                // Each knob a little ahead of the one before, as automation moves them.
                if (c.kind == layout::Kind::knob) effect->setParameter(c.tag, path[step] + 0.003f * float(i));
            }
            editor->idle();
            editor->idle();
            const std::vector<Pixel> shown = knobPixels(window->surface, scale);
            editor->getFrame()->drawRect(nullptr, CRect(0, 0, 600, 500));
            ASSERT_TRUE(shown == knobPixels(window->surface, scale))
                << "at " << scale << " %, after step " << step << " the knobs show their values";
        }

        // One frame up on CUTOFF: the redraw stays inside the knob and is a
        // part of it.
        const layout::Control& cutoff = layout::kControls[layout::controlIndexOfTag(16)];
        const CRect knob(cutoff.left, cutoff.top, cutoff.right, cutoff.bottom);
        effect->setParameter(16, 0.5f);
        editor->idle();
        window->shown.clear();
        effect->setParameter(16, 0.5f + 1.f / float(layout::kKnobFrames - 1));
        editor->idle();
        ASSERT_EQ(window->shown.size(), 1u);
        const CRect redrawn = window->shown[0];
        const CRect knobArea = toPixels(knob, scale);
        EXPECT_EQ(CRect(redrawn).bound(knobArea), redrawn) << "inside the knob";
        EXPECT_LT(int64_t(redrawn.width()) * redrawn.height(), int64_t(knobArea.width()) * knobArea.height())
            << "a part of it, at " << scale << " %";
        editor->close();
    }
}

}  // namespace
