#include "editor/OrvVstEditor.h"

OrvVstEditor::OrvVstEditor(AudioEffect* effect) : AEffEditor(effect) {
    rect_.top = 0;
    rect_.left = 0;
    rect_.bottom = kHeight;
    rect_.right = kWidth;
}

bool OrvVstEditor::getRect(ERect** rect) {
    *rect = &rect_;
    return true;
}

void OrvVstEditor::idle() {
    // No controls to bring up to date yet: the changes are taken and dropped.
    takeChangedParameters();
}

bool OrvVstEditor::setKnobMode(VstInt32 mode) {
    knobMode_ = mode;
    return true;
}

void OrvVstEditor::setParameter(VstInt32 index, float) {
    if (index < 0 || index >= 64) return;
    changed_.fetch_or(std::uint64_t{1} << index, std::memory_order_relaxed);
}

std::uint64_t OrvVstEditor::takeChangedParameters() {
    return changed_.exchange(0, std::memory_order_relaxed);
}
