// Standard MIDI File reader for orv-host render.
//
// Reads format 0 and 1 files (format 2, independent sequences, has no single
// timeline and is refused), merges all tracks into one list of channel
// messages, and converts ticks to seconds through the tempo map, which may sit
// in any track. Files are untrusted input: every length is checked against
// the bytes that are really there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct MidiFileEvent {
    double seconds;      // from the start of the file
    std::uint8_t bytes[3];  // status (with channel), data 1, data 2 (0 if unused)
};

struct MidiFile {
    std::vector<MidiFileEvent> events;  // in time order; ties keep file order
    double lengthSeconds = 0.0;         // time of the last event of any kind
};

// Parses a whole file image. Returns false and a reason on malformed input.
bool parseMidiFile(const std::uint8_t* data, std::size_t size, MidiFile& out, std::string& error);
bool readMidiFile(const std::string& path, MidiFile& out, std::string& error);
