// The MIDI file reader: any bytes as a file image, with a cap below the
// longest input the fuzzer makes, so images over the cap are tried too. What
// it accepts must be in time order with finite times, and no larger than
// the cap.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/render/MidiFile.h"

// Half of the longest input scripts/fuzz.sh asks for.
constexpr std::size_t kCap = 2048;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> file(data, data + size);
    MidiFile midi;
    std::string error;
    MidiReadOptions options;
    options.maxBytes = kCap;
    if (!parseMidiFile(file.data(), file.size(), midi, error, options)) return 0;
    if (size > kCap) std::abort();
    double previous = 0.0;
    for (const MidiFileEvent& e : midi.events) {
        if (!std::isfinite(e.seconds) || e.seconds < previous) std::abort();
        previous = e.seconds;
    }
    for (std::size_t i = 1; i < midi.tempos.size(); ++i)
        if (!(midi.tempos[i].seconds > midi.tempos[i - 1].seconds) || !(midi.tempos[i].bpm > 0.0)) std::abort();
    return 0;
}
