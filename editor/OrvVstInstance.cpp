// createEffectInstance: the plug-in object with its editor, the one place
// that knows both the shell and the editor.
#include "editor/OrvVstEditor.h"
#include "plugin/OrvVst.h"

namespace {
void attachOrvEditor(AudioEffect* effect) { new OrvVstEditor(effect); }
}  // namespace

AudioEffect* createEffectInstance(audioMasterCallback host) {
    try {
        return new OrvVst(host, attachOrvEditor);
    } catch (...) {
        return nullptr;  // out of memory: the host gets no plug-in, not an exception
    }
}
