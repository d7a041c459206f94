#include "plugin/AEffEditor.h"

#include "plugin/AudioEffect.h"

AEffEditor::AEffEditor(AudioEffect* effect) : effect_(effect) {
    if (effect_) effect_->setEditor(this);
}

bool AEffEditor::getRect(ERect** rect) {
    *rect = nullptr;
    return false;
}

bool AEffEditor::open(void* window) {
    systemWindow_ = window;
    return false;  // the base has no window content of its own
}
