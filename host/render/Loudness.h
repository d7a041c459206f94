// Loudness: integrated loudness and true peak of a render (ITU-R BS.1770,
// EBU R 128 gating), measured by libebur128.
//
// Fed the same interleaved blocks as the file; read at the end. One thread.
#pragma once

#include <ebur128.h>

class Loudness {
public:
    // channels 1..; rate in Hz. With no state (out of memory, a channel
    // count libebur128 refuses) every reading is NaN.
    Loudness(int channels, unsigned long rate);
    ~Loudness();
    Loudness(const Loudness&) = delete;
    Loudness& operator=(const Loudness&) = delete;

    void add(const float* frames, unsigned long count);
    // LUFS; -inf when everything was gated away as silence.
    double integratedLufs() const;
    // dBTP: the highest inter-sample peak of any channel.
    double truePeakDbtp() const;

private:
    ebur128_state* state_ = nullptr;
    int channels_;
};
