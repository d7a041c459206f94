// The MIDI file reader: any bytes as a file image. What it accepts must be
// in time order with finite times.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/render/MidiFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> file(data, data + size);
    MidiFile midi;
    std::string error;
    if (!parseMidiFile(file.data(), file.size(), midi, error)) return 0;
    double previous = 0.0;
    for (const MidiFileEvent& e : midi.events) {
        if (!std::isfinite(e.seconds) || e.seconds < previous) std::abort();
        previous = e.seconds;
    }
    return 0;
}
