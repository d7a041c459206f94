// Lv2Instance: one Ambrell as an LV2 host holds it: the instrument, the
// ports the host connected, and the editor's way back to the host's ports.
//
// The control ports are the host's: a port value reaches the instrument
// when it differs from the one last taken from that port, so a change the
// plug-in makes itself (MIDI learn, a program chosen on the panel) holds
// until the host writes that port again. The UI, in the same binary,
// reaches the instance through instance access.
//
// Threads, as plugin/AudioEffect.h tags them: run is the audio thread, the
// UI's calls the ui thread, everything else the main thread.
#pragma once

#include <lv2/core/lv2.h>
#include <lv2/urid/urid.h>

#include <array>
#include <cstdint>
#include <vector>

#include "engine/ParamBlock.h"
#include "shells/common/Instrument.h"

// Where the editor's gestures go: the open UI, which writes them to the
// host's ports. Set and cleared by the UI [ui thread].
class Lv2PortWriter {
public:
    virtual ~Lv2PortWriter() = default;
    virtual void touch(int index, bool grabbed) = 0;
    virtual void write(int index, float value) = 0;
};

class Lv2Instance : public InstrumentListener {
public:
    Lv2Instance(double sampleRate, const LV2_Feature* const* features);

    bool valid() const { return map_ && instrument_.valid(); }
    Instrument& instrument() { return instrument_; }

    void connect(std::uint32_t port, void* data);
    void activate() { instrument_.activate(sampleRate_, maxFrames_); }
    void deactivate() { instrument_.deactivate(); }
    void run(std::uint32_t frames);

    // The bank chunk and its trailer, as one chunk atom under the state key.
    bool save(std::vector<unsigned char>& bytes) { return !(bytes = instrument_.saveState()).empty(); }
    bool restore(const void* data, std::size_t size, std::uint32_t type);
    LV2_URID chunkType() const { return urids_.chunk; }
    LV2_URID stateKey() const { return urids_.stateKey; }

    // [ui thread]
    void attachWriter(Lv2PortWriter* writer) { writer_ = writer; }

    // InstrumentListener [ui thread]
    void gestureBegan(int index) override;
    void parameterEdited(int index, float value) override;
    void gestureEnded(int index) override;

private:
    struct Urids {
        LV2_URID chunk, sequence, object, blank, float_, double_, midiEvent, position, bpm, stateKey;
    };
    void readEvents(std::uint32_t frames);
    void takeTempo(const void* object);
    void render(std::uint32_t frames);

    LV2_URID_Map* map_ = nullptr;
    Urids urids_{};
    double sampleRate_;
    std::uint32_t maxFrames_ = 4096;
    Instrument instrument_;

    // Connected by the host [main thread]; read by run.
    std::array<const float*, param::kCount> controls_{};
    const void* midiIn_ = nullptr;
    float* outputs_[2] = {nullptr, nullptr};

    // Audio thread, or the main thread while nothing runs (restore): the
    // value last taken from each control port.
    std::array<float, param::kCount> taken_{};
    // Audio thread only: the block's events, with room reserved up front.
    std::vector<InstrumentEvent> events_;
    Lv2PortWriter* writer_ = nullptr;
};
