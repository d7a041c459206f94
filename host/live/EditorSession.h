// EditorHost: a PluginHost whose plug-in shows its editor in a HostWindow
// and may ask that window for another size (audioMasterSizeWindow), as
// `orv-host edit`, `screenshot` and `play` show it. Main thread only.
#pragma once

#include <string>

#include "host/live/HostWindow.h"
#include "host/core/PluginHost.h"

class EditorHost : public PluginHost {
public:
    // Opens the loaded plug-in's editor in window, titled `title`, and shows
    // it. False, with the reason in error, when the plug-in has no editor or
    // there is no display.
    bool showEditor(HostWindow& window, const std::string& title, HostWindow::Kind kind,
                    std::string& error);

protected:
    VstIntPtr onRequest(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                        float opt) override;

private:
    bool editorSize(int& width, int& height);

    HostWindow* window_ = nullptr;  // set once the editor is open
};
