#include "editor/AEffGUIEditor.h"

#include <cmath>

#include "plugin/AudioEffectX.h"
#include "vstgui/cdrawcontext.h"
#include "vstgui/cframe.h"
#include "vstgui/platform.h"

namespace {

// doIdleStuff runs its pass at most this often: a drag repaints and gives
// the host time about ten times a second.
constexpr uint32_t kIdleInterval = 100;
// Each turn of a drag loop that comes too early waits this long...
constexpr uint32_t kEarlyWait = 4;
// ...and runs the pass anyway when it is at most this early.
constexpr uint32_t kEarlyTolerance = 50;

// a is before b on a millisecond clock that wraps after 49.7 days.
bool before(uint32_t a, uint32_t b) { return int32_t(a - b) < 0; }

}  // namespace

AEffGUIEditor::AEffGUIEditor(AudioEffect* effect, VSTGUI::WindowSystem& windows)
    : AEffEditor(effect), windows_(windows) {
    lastTicks = getTicks();
}

bool AEffGUIEditor::getRect(ERect** rectOut) {
    if (!rectOut) return false;
    *rectOut = &rect;
    return true;
}

bool AEffGUIEditor::open(void* window) {
    systemWindow_ = window;
    return true;
}

void AEffGUIEditor::idle() {
    if (!inIdleStuff && frame) frame->idle();
}

bool AEffGUIEditor::onKeyDown(VstKeyCode& keyCode) { return frame && frame->onKeyDown(keyCode) == 1; }

bool AEffGUIEditor::onKeyUp(VstKeyCode& keyCode) { return frame && frame->onKeyUp(keyCode) == 1; }

bool AEffGUIEditor::onWheel(float distance) {
    if (!frame || !std::isfinite(distance)) return false;
    VSTGUI::CDrawContext* context = frame->createDrawContext();
    VSTGUI::CPoint where;
    frame->getCurrentLocation(where);
    const bool used = frame->onWheel(context, where, distance);
    context->forget();
    return used;
}

bool AEffGUIEditor::setKnobMode(VstInt32 mode) {
    knobMode = mode;
    return true;
}

void AEffGUIEditor::setParameter(VstInt32, float) {}

void AEffGUIEditor::beginEdit(VstInt32 index) {
    if (effect_) effect_->beginEdit(index);
}

void AEffGUIEditor::endEdit(VstInt32 index) {
    if (effect_) effect_->endEdit(index);
}

void AEffGUIEditor::doIdleStuff() {
    uint32_t now = getTicks();
    if (before(now, lastTicks)) {
        windows_.clock().sleep(kEarlyWait);
        now += kEarlyWait;
        if (before(now, lastTicks - kEarlyTolerance)) return;
    }
    idle();
    if (frame)
        if (VSTGUI::FrameWindow* window = frame->getFrameWindow()) window->dispatchPendingPaint();
    lastTicks = now + kIdleInterval;
    inIdleStuff = true;
    if (effect_) effect_->masterIdle();
    inIdleStuff = false;
}

bool AEffGUIEditor::requestHostResize(int32_t width, int32_t height) {
    auto* effect = dynamic_cast<AudioEffectX*>(effect_);
    return effect && effect->canHostDo("sizeWindow") == 1 && effect->sizeWindow(width, height);
}

uint32_t AEffGUIEditor::getTicks() { return windows_.clock().getTicks(); }
