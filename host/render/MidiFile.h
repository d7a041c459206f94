// Standard MIDI File reader for orv-host render.
//
// Reads format 0 and 1 files (format 2, independent sequences, has no single
// timeline and is refused), merges all tracks into one list of channel
// messages, and converts ticks to seconds through the tempo map, which may sit
// in any track. Files are untrusted input: every length is checked against
// the bytes that are really there. System-exclusive messages (F0) are kept
// beside them; escaped ones (F7) are skipped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct MidiFileEvent {
    double seconds;      // from the start of the file
    std::uint8_t bytes[3];  // status (with channel), data 1, data 2 (0 if unused)
};

// A system-exclusive message, F0 to its end (F7 in a well-formed file), as
// a tuning message reaches the plug-in.
struct MidiFileSysEx {
    double seconds;
    std::vector<std::uint8_t> bytes;
};

// A tempo from a point of the file on; ppq counts quarter notes from the start.
struct MidiTempo {
    double seconds, ppq, bpm;
};
// A time signature from a point on: numerator / denominator.
struct MidiMeter {
    double seconds, ppq;
    int numerator, denominator;
};

struct MidiFile {
    std::vector<MidiFileEvent> events;  // in time order; ties keep file order
    // In time order; at one time before the channel messages.
    std::vector<MidiFileSysEx> sysex;
    double lengthSeconds = 0.0;         // time of the last event of any kind
    // In time order, the first at 0 s (120 BPM, 4/4 until the file says
    // otherwise). Both are empty for a file timed in SMPTE frames, which
    // has no tempo.
    std::vector<MidiTempo> tempos;
    std::vector<MidiMeter> meters;
};

// Larger than any file a person plays; it bounds what a reader allocates.
constexpr std::size_t kMaxMidiFileBytes = 4u << 20;

struct MidiReadOptions {
    double fixedBpm = 0.0;  // when above 0, the file is played at this tempo throughout
    std::size_t maxBytes = kMaxMidiFileBytes;
};

// Parses a whole file image. Returns false and a reason on malformed input
// or an image larger than options.maxBytes.
bool parseMidiFile(const std::uint8_t* data, std::size_t size, MidiFile& out, std::string& error,
                   const MidiReadOptions& options = {});
// A regular file of at most options.maxBytes, parsed; the reason starts
// with the path.
bool readMidiFile(const std::string& path, MidiFile& out, std::string& error, const MidiReadOptions& options = {});
