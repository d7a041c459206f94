// Lv2Host: loads an LV2 instrument through lilv and drives it as a host
// does: control ports, one atom input for MIDI and the tempo, audio
// outputs, presets, and state through the plug-in's state interface.
//
// A bundle path ("build/lv2/ORV-Ambrell2.lv2") loads that bundle and its
// first plug-in; anything else is taken as a plug-in URI and looked up
// where LV2_PATH says. All calls come from one thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/core/VstEventList.h"
#include "plugin/vst2.h"

class Lv2Host {
public:
    Lv2Host();
    ~Lv2Host();
    Lv2Host(const Lv2Host&) = delete;
    Lv2Host& operator=(const Lv2Host&) = delete;

    // False, with a message in error(), when there is no such plug-in, it
    // needs what this host lacks, or it does not instantiate. Activated.
    bool load(const std::string& bundleOrUri, double sampleRate, std::uint32_t maxFrames);
    const std::string& error() const { return error_; }
    // Whether text names an LV2 bundle (a folder with a manifest.ttl) or
    // plug-in URI rather than a module file.
    static bool looksLikeLv2(const std::string& text);

    std::string name() const;
    std::string uri() const;
    std::string author() const;

    // The control inputs, in port order.
    int parameterCount() const;
    std::string parameterName(int index) const;
    std::string parameterSymbol(int index) const;
    float parameter(int index) const;
    // Takes effect at the next process call, at its first frame.
    void setParameter(int index, float value);

    // The plug-in's presets, by label, in the order of their URIs.
    std::vector<std::string> presetNames() const;
    // Sets the ports (and the state, where the preset has one) as the
    // preset says. False for an index outside the list.
    bool applyPreset(int index);

    // The plug-in's state as one value: the bytes of its only property.
    // False when it has no state interface or saves nothing else.
    bool saveState(std::vector<unsigned char>& bytes);
    bool loadState(const std::vector<unsigned char>& bytes);

    // A new rate or longest block: the plug-in is made again at it, with
    // its state and port values. Never while it processes.
    bool reconfigure(double sampleRate, std::uint32_t maxFrames);

    int outputCount() const;
    // The longest block the plug-in was made for.
    std::uint32_t maxFrames() const;
    // Renders frames (at most maxFrames) into outputs, one buffer per
    // output; events at their frames; a tempo above 0 goes with the block
    // as a time position.
    void process(float** outputs, std::uint32_t frames, const VstEventBlock& events, double beatsPerMinute);

    // The plug-in's X11 UI, embedded in parent. What it writes to a port
    // is set as the port's value and told to the listener, bracketed by
    // the touches of a gesture.
    class UiListener {
    public:
        virtual ~UiListener() = default;
        virtual void touched(int index, bool grabbed) = 0;
        virtual void written(int index, float value) = 0;
    };
    bool hasUi() const;
    bool openUi(void* parent, UiListener* listener);
    // The size the UI asked for, once it did.
    bool uiSize(int& width, int& height) const;
    void idleUi();
    void closeUi();

private:
    struct Impl;
    struct Ui;
    std::unique_ptr<Ui> ui_;
    std::unique_ptr<Impl> impl_;
    std::string error_;
};
