#include "editor/OrvVstEditor.h"

#include "vstgui/cbitmap.h"
#include "vstgui/cframe.h"
#include "vstgui/x11/x11windowsystem.h"

namespace {
// Parameters the recorder can tell apart: one bit each.
constexpr VstInt32 kRecordedParameters = 64;
}  // namespace

OrvVstEditor::OrvVstEditor(AudioEffect* effect) : OrvVstEditor(effect, VSTGUI::x11::windowSystem()) {}

OrvVstEditor::OrvVstEditor(AudioEffect* effect, VSTGUI::WindowSystem& windows)
    : AEffGUIEditor(effect, windows), background_(new VSTGUI::CBitmap(kBackgroundBitmap)) {
    // The picture's size is the window's; the module always carries it.
    const bool loaded = background_->isLoaded();
    rect.top = 0;
    rect.left = 0;
    rect.bottom = loaded ? std::int16_t(background_->getHeight()) : kHeight;
    rect.right = loaded ? std::int16_t(background_->getWidth()) : kWidth;
}

OrvVstEditor::~OrvVstEditor() {
    close();
    if (background_) background_->forget();
}

bool OrvVstEditor::open(void* window) {
    if (frame) close();
    if (!background_) background_ = new VSTGUI::CBitmap(kBackgroundBitmap);
    auto* newFrame = new VSTGUI::CFrame(VSTGUI::CRect(0, 0, rect.right, rect.bottom), window, this,
                                        windowSystem());
    if (!newFrame->hasWindow()) {
        newFrame->forget();
        return false;
    }
    newFrame->setBackground(background_);
    AEffGUIEditor::open(window);
    frame = newFrame;
    return true;
}

void OrvVstEditor::close() {
    if (frame) frame->forget();
    frame = nullptr;
    if (background_) background_->forget();
    background_ = nullptr;
    AEffGUIEditor::close();
}

void OrvVstEditor::idle() {
    // No controls yet to bring up to date: the changes are taken and dropped.
    takeChangedParameters();
    AEffGUIEditor::idle();
}

void OrvVstEditor::setParameter(VstInt32 index, float) {
    if (index < 0 || index >= kRecordedParameters) return;
    changed_.fetch_or(std::uint64_t{1} << index, std::memory_order_relaxed);
}

std::uint64_t OrvVstEditor::takeChangedParameters() {
    return changed_.exchange(0, std::memory_order_relaxed);
}
