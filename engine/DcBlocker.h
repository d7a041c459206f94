// DcBlocker: removes the constant part of the voice's output.
//
// The filter emits a constant whenever its cutoff sits near 0 (its stages
// stand still) and its output shaper is asymmetric, so the voice carries an
// offset that would click at every start and stop. One zero at DC cancels
// it; the pole at 0.999 puts the corner at sampleRate x 0.001 / 2 pi, about
// 7 Hz at 44.1 kHz, well below any note.
//
// Its input is the decimated filter output, which the filter keeps within a
// few units, so the state needs no guard.
#pragma once

class DcBlocker {
public:
    // Audio thread, once per output sample.
    float process(float x) {
        const float y = (x - previousInput_) + kPole * previousOutput_;
        previousInput_ = x;
        previousOutput_ = y;
        return y;
    }

private:
    static constexpr float kPole = 0.999000013f;

    float previousInput_ = 0.0f;
    float previousOutput_ = 0.0f;
};
