#include "host/render/MidiFile.h"

#include <algorithm>
#include <utility>

#include "host/core/SafeFile.h"

namespace {

// 120 beats per minute until the file says otherwise.
constexpr std::uint32_t kDefaultMicrosPerQuarter = 500000;

// A bounds-checked reader over one chunk of the file.
class Cursor {
public:
    Cursor(const std::uint8_t* data, std::size_t size) : p_(data), end_(data + size) {}
    bool atEnd() const { return p_ >= end_; }
    std::size_t left() const { return static_cast<std::size_t>(end_ - p_); }
    bool byte(std::uint8_t& b) {
        if (atEnd()) return false;
        b = *p_++;
        return true;
    }
    bool peek(std::uint8_t& b) const {
        if (atEnd()) return false;
        b = *p_;
        return true;
    }
    bool be(int n, std::uint32_t& v) {
        if (left() < static_cast<std::size_t>(n)) return false;
        v = 0;
        for (int i = 0; i < n; ++i) v = (v << 8) | *p_++;
        return true;
    }
    // Variable-length quantity: at most four bytes, seven bits each.
    bool vlq(std::uint32_t& v) {
        v = 0;
        for (int i = 0; i < 4; ++i) {
            std::uint8_t b;
            if (!byte(b)) return false;
            v = (v << 7) | (b & 0x7F);
            if (!(b & 0x80)) return true;
        }
        return false;
    }
    bool skip(std::size_t n) {
        if (left() < n) return false;
        p_ += n;
        return true;
    }
    const std::uint8_t* here() const { return p_; }

private:
    const std::uint8_t* p_;
    const std::uint8_t* end_;
};

// Also the order of events on one tick: tempo and meter first, then
// system-exclusive messages (a tuning before the notes it tunes).
enum class Kind : std::uint8_t { kTempo, kMeter, kSysEx, kChannel };

struct TickEvent {
    std::uint64_t tick;
    int track;
    int order;  // position in its track, so sorting keeps file order on ties
    Kind kind;
    std::uint32_t microsPerQuarter;
    std::uint8_t bytes[3];  // a channel message, or a meter's numerator and power-of-two denominator
    std::size_t sysex;      // the message's index in the file's list
};

bool readTrack(Cursor c, int track, std::vector<TickEvent>& out, std::vector<std::vector<std::uint8_t>>& sysex,
               std::uint64_t& lastTick, std::string& error) {
    std::uint64_t tick = 0;
    std::uint8_t running = 0;
    int order = 0;
    while (!c.atEnd()) {
        std::uint32_t delta;
        if (!c.vlq(delta)) return error = "bad delta time", false;
        tick += delta;
        lastTick = std::max(lastTick, tick);
        std::uint8_t status;
        if (!c.peek(status)) return error = "event cut short", false;
        if (status & 0x80) {
            c.byte(status);
        } else {
            if (!running) return error = "data byte without status", false;
            status = running;
        }
        if (status == 0xFF) {  // meta event
            std::uint8_t type;
            std::uint32_t len;
            if (!c.byte(type) || !c.vlq(len) || c.left() < len) return error = "bad meta event", false;
            const std::uint8_t* d = c.here();
            if (type == 0x51 && len == 3) {
                TickEvent e{tick, track, order++, Kind::kTempo, 0, {0, 0, 0}, 0};
                e.microsPerQuarter = (std::uint32_t(d[0]) << 16) | (d[1] << 8) | d[2];
                if (e.microsPerQuarter == 0) e.microsPerQuarter = kDefaultMicrosPerQuarter;
                out.push_back(e);
            } else if (type == 0x58 && len == 4 && d[0] > 0 && d[1] <= 6) {
                out.push_back({tick, track, order++, Kind::kMeter, 0, {d[0], d[1], 0}, 0});
            }
            c.skip(len);
            if (type == 0x2F) break;  // end of track
            running = 0;
        } else if (status == 0xF0 || status == 0xF7) {  // system exclusive
            std::uint32_t len;
            if (!c.vlq(len) || c.left() < len) return error = "bad system exclusive event", false;
            if (status == 0xF0) {
                TickEvent e{tick, track, order++, Kind::kSysEx, 0, {0, 0, 0}, sysex.size()};
                sysex.emplace_back(1, std::uint8_t{0xF0});
                sysex.back().insert(sysex.back().end(), c.here(), c.here() + len);
                out.push_back(e);
            }
            c.skip(len);
            running = 0;
        } else if (status >= 0xF0) {
            return error = "unexpected system message in a track", false;
        } else {
            running = status;
            const int dataBytes = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
            TickEvent e{tick, track, order++, Kind::kChannel, 0, {status, 0, 0}, 0};
            for (int i = 0; i < dataBytes; ++i)
                if (!c.byte(e.bytes[1 + i])) return error = "channel message cut short", false;
            out.push_back(e);
        }
    }
    return true;
}

}  // namespace

bool parseMidiFile(const std::uint8_t* data, std::size_t size, MidiFile& out, std::string& error,
                   const MidiReadOptions& options) {
    out = MidiFile{};
    if (!data) return error = "no data", false;
    if (size > options.maxBytes) return error = "larger than any MIDI file", false;
    Cursor file(data, size);
    std::uint32_t id, len, format, ntracks, division;
    if (!file.be(4, id) || id != 0x4D546864 /* MThd */ || !file.be(4, len) || len < 6 ||
        !file.be(2, format) || !file.be(2, ntracks) || !file.be(2, division) || !file.skip(len - 6))
        return error = "not a standard MIDI file", false;
    if (format > 1) return error = "format 2 files are not supported", false;
    if (division & 0x8000) {
        // SMPTE time: frames per second (negative) times ticks per frame.
        const int fps = -static_cast<std::int8_t>(division >> 8);
        const int perFrame = division & 0xFF;
        if (fps <= 0 || perFrame == 0) return error = "bad time division", false;
    } else if (division == 0) {
        return error = "bad time division", false;
    }

    std::vector<TickEvent> events;
    std::vector<std::vector<std::uint8_t>> sysex;
    std::uint64_t lastTick = 0;
    for (std::uint32_t t = 0; t < ntracks && !file.atEnd(); ++t) {
        if (!file.be(4, id) || !file.be(4, len) || file.left() < len)
            return error = "track chunk cut short", false;
        Cursor track(file.here(), len);
        file.skip(len);
        if (id != 0x4D54726B /* MTrk */) continue;  // unknown chunks are skipped
        if (!readTrack(track, static_cast<int>(t), events, sysex, lastTick, error)) return false;
    }
    std::stable_sort(events.begin(), events.end(), [](const TickEvent& a, const TickEvent& b) {
        if (a.tick != b.tick) return a.tick < b.tick;
        // Tempo and meter changes take effect before notes on the same tick.
        if (a.kind != b.kind) return a.kind < b.kind;
        if (a.track != b.track) return a.track < b.track;
        return a.order < b.order;
    });

    // Walk the merged list, accumulating seconds segment by segment.
    double secondsPerTick;
    const bool smpte = division & 0x8000;
    const bool fixed = options.fixedBpm > 0.0;
    if (smpte) {
        const int fps = -static_cast<std::int8_t>(division >> 8);
        secondsPerTick = 1.0 / (fps * double(division & 0xFF));
    } else {
        const double micros = fixed ? 60e6 / options.fixedBpm : kDefaultMicrosPerQuarter;
        secondsPerTick = micros * 1e-6 / division;
        out.tempos.push_back({0.0, 0.0, 60e6 / micros});
        out.meters.push_back({0.0, 0.0, 4, 4});
    }
    std::uint64_t tick = 0;
    double seconds = 0.0;
    for (const TickEvent& e : events) {
        seconds += double(e.tick - tick) * secondsPerTick;
        tick = e.tick;
        const double ppq = double(tick) / division;
        if (e.kind == Kind::kTempo) {
            if (smpte || fixed) continue;
            secondsPerTick = e.microsPerQuarter * 1e-6 / division;
            // A change at the same moment replaces the one before.
            if (out.tempos.back().seconds == seconds) out.tempos.pop_back();
            out.tempos.push_back({seconds, ppq, 60e6 / e.microsPerQuarter});
        } else if (e.kind == Kind::kMeter) {
            if (smpte) continue;
            if (out.meters.back().seconds == seconds) out.meters.pop_back();
            out.meters.push_back({seconds, ppq, e.bytes[0], 1 << e.bytes[1]});
        } else if (e.kind == Kind::kSysEx) {
            out.sysex.push_back({seconds, std::move(sysex[e.sysex])});
        } else {
            out.events.push_back({seconds, {e.bytes[0], e.bytes[1], e.bytes[2]}});
        }
    }
    out.lengthSeconds = seconds + double(lastTick - tick) * secondsPerTick;
    return true;
}

bool readMidiFile(const std::string& path, MidiFile& out, std::string& error, const MidiReadOptions& options) {
    std::vector<std::uint8_t> bytes;
    if (!safefile::readWholeFile(path, options.maxBytes, "MIDI file", bytes, error)) return false;
    if (!parseMidiFile(bytes.data(), bytes.size(), out, error, options)) return error = path + ": " + error, false;
    return true;
}
