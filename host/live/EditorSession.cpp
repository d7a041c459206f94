#include "host/live/EditorSession.h"

#include <cstring>

namespace {

// Largest editor window the host makes.
constexpr int kMaxSide = 8192;

}  // namespace

VstIntPtr EditorHost::onRequest(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                void* ptr, float opt) {
    if (opcode == audioMasterCanDo && ptr && std::strcmp(static_cast<const char*>(ptr), "sizeWindow") == 0)
        return 1;
    if (opcode == audioMasterSizeWindow) {
        if (!window_ || index <= 0 || value <= 0 || index > kMaxSide || value > kMaxSide) return 0;
        window_->resize(index, static_cast<int>(value));
        return 1;
    }
    return PluginHost::onRequest(effect, opcode, index, value, ptr, opt);
}

bool EditorHost::editorSize(int& width, int& height) {
    ERect* rect = nullptr;
    if (!dispatch(effEditGetRect, 0, 0, &rect) || !rect) return false;
    width = rect->right - rect->left;
    height = rect->bottom - rect->top;
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide;
}

bool EditorHost::showEditor(HostWindow& window, const std::string& title, HostWindow::Kind kind,
                            std::string& error) {
    int width = 0, height = 0;
    if (!effect() || !(effect()->flags & effFlagsHasEditor) || !editorSize(width, height)) {
        error = "the plug-in has no editor";
        return false;
    }
    if (!window.open(width, height, title, kind)) {
        error = window.error();
        return false;
    }
    window_ = &window;
    // Some plug-ins answer 0 even when their editor opened; the window tells.
    dispatch(effEditOpen, 0, 0, window.parentHandle());
    int openWidth = 0, openHeight = 0;
    if (editorSize(openWidth, openHeight) && (openWidth != width || openHeight != height))
        window.resize(openWidth, openHeight);
    window.show();
    return true;
}
