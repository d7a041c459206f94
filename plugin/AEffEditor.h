// AEffEditor: the base of the plug-in's editor, as the host reaches it
// through the plug-in's dispatcher (size, open, close, idle, keys, knob mode)
// and as the plug-in tells it of parameter changes. The shell reaches its
// editor only through this class; the editor library builds on the shell.
//
// Constructing an editor attaches it to its plug-in object, which then owns
// it and reports effFlagsHasEditor to the host. The base opens nothing and
// handles no key; subclasses build the window content.
//
// Threads (tags as AudioEffect.h defines them): the editor is constructed
// inside the plug-in's constructor and destroyed with the plug-in object,
// both [main thread]; setParameter comes from [any thread]; every other
// operation is a host's editor request [ui thread].
#pragma once

#include "plugin/vst2.h"

class AudioEffect;

class AEffEditor {
public:
    // Attaches to effect: effect takes ownership and sets effFlagsHasEditor.
    explicit AEffEditor(AudioEffect* effect);
    virtual ~AEffEditor() = default;

    AEffEditor(const AEffEditor&) = delete;
    AEffEditor& operator=(const AEffEditor&) = delete;

    virtual AudioEffect* getEffect() { return effect_; }
    // ---- the host's editor requests [ui thread] ----------------------------
    // Stores the address of the window rectangle in *rect; false when the
    // editor has none. Valid before open.
    virtual bool getRect(ERect** rect);
    // window: the host's parent window (an X11 window id on Linux). True
    // when the editor's window now exists inside it.
    virtual bool open(void* window);
    virtual void close() { systemWindow_ = nullptr; }
    virtual bool isOpen() { return systemWindow_ != nullptr; }
    virtual void idle() {}
    // True when the editor used the key.
    virtual bool onKeyDown(VstKeyCode&) { return false; }
    virtual bool onKeyUp(VstKeyCode&) { return false; }
    virtual bool onWheel(float) { return false; }
    virtual bool setKnobMode(VstInt32) { return false; }
    // [any thread] (automation, mapped MIDI controllers on the audio thread)
    // The plug-in has stored value as parameter index. The base ignores it.
    virtual void setParameter(VstInt32 /*index*/, float /*value*/) {}

protected:
    AudioEffect* const effect_;
    void* systemWindow_ = nullptr;  // the host's parent window while open
};
