#include "host/render/Transport.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The last entry at or before frame (entries start at frame 0).
template <typename Entry>
const Entry& at(const std::vector<Entry>& entries, std::int64_t frame) {
    const auto after = std::upper_bound(entries.begin(), entries.end(), frame,
                                        [](std::int64_t f, const Entry& e) { return f < e.frame; });
    return after == entries.begin() ? entries.front() : *(after - 1);
}

template <typename Entry>
std::int64_t firstAfter(const std::vector<Entry>& entries, std::int64_t frame) {
    const auto after = std::upper_bound(entries.begin(), entries.end(), frame,
                                        [](std::int64_t f, const Entry& e) { return f < e.frame; });
    return after == entries.end() ? std::numeric_limits<std::int64_t>::max() : after->frame;
}

}  // namespace

Transport::Transport(const std::vector<MidiTempo>& tempos, const std::vector<MidiMeter>& meters, double bpm,
                     double sampleRate)
    : rate_(sampleRate) {
    for (const MidiTempo& t : tempos) tempos_.push_back({std::llround(t.seconds * sampleRate), t.ppq, t.bpm});
    for (const MidiMeter& m : meters)
        meters_.push_back({std::llround(m.seconds * sampleRate), m.ppq, m.numerator, m.denominator});
    if (tempos_.empty()) tempos_.push_back({0, 0.0, bpm});
    if (meters_.empty()) meters_.push_back({0, 0.0, 4, 4});
}

void Transport::describe(std::int64_t frame, VstTimeInfo& time) const {
    const Tempo& tempo = at(tempos_, frame);
    const Meter& meter = at(meters_, frame);
    time.samplePos = double(frame);
    time.sampleRate = rate_;
    time.tempo = tempo.bpm;
    time.ppqPos = tempo.ppq + double(frame - tempo.frame) / rate_ * tempo.bpm / 60.0;
    const double barQuarters = meter.numerator * 4.0 / meter.denominator;
    const double bars = std::floor((time.ppqPos - meter.ppq) / barQuarters + 1e-9);
    time.barStartPos = meter.ppq + std::max(0.0, bars) * barQuarters;
    time.timeSigNumerator = meter.numerator;
    time.timeSigDenominator = meter.denominator;
    time.flags |= kVstTransportPlaying | kVstTempoValid | kVstPpqPosValid | kVstBarsValid | kVstTimeSigValid;
}

std::int64_t Transport::nextChange(std::int64_t frame) const {
    return std::min(firstAfter(tempos_, frame), firstAfter(meters_, frame));
}
