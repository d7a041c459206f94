// The bytes of a Standard MIDI File for tests that hand orv-host their own
// music: format 0, one track, 480 ticks per quarter note.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

// events: (delta ticks, the event's bytes), in order; the end of track is
// the caller's to add.
inline std::vector<unsigned char> midiFileBytes(const std::vector<std::pair<int, std::vector<std::uint8_t>>>& events) {
    std::vector<unsigned char> track;
    for (const auto& [delta, bytes] : events) {
        std::vector<unsigned char> vlq{static_cast<unsigned char>(delta & 0x7F)};
        for (int d = delta >> 7; d > 0; d >>= 7) vlq.insert(vlq.begin(), static_cast<unsigned char>(0x80 | (d & 0x7F)));
        track.insert(track.end(), vlq.begin(), vlq.end());
        track.insert(track.end(), bytes.begin(), bytes.end());
    }
    std::vector<unsigned char> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0, 'M', 'T', 'r', 'k'};
    for (int shift = 24; shift >= 0; shift -= 8) file.push_back(static_cast<unsigned char>(track.size() >> shift));
    file.insert(file.end(), track.begin(), track.end());
    return file;
}
