// Envelope: the attack-decay-sustain-release generator (filter and amp).
//
// No stage variable: one attack-done flag, the gate and the comparison of
// the level with the sustain value decide each step. The attack grows in
// proportion to (level + 0.2), so it accelerates towards 1; decay and
// release fall in proportion to (level^2 + 0.04), fast from the top and
// nearly linear at the bottom, so they reach 0 in finite time. A knob
// value k sets h = 0.12 - 0.1 k and the speed goes with h^4, which spreads
// the stage times over a ratio of 1296 (an attack of about 7.2 ms at k = 0,
// 62 ms at 0.5, 9.3 s at 1). Times scale with the sample rate.
#pragma once

class Envelope {
public:
    // Engine construction or sample-rate change (not the audio thread).
    // Level 0, in the attack stage.
    explicit Envelope(float sampleRate);

    // [audio thread] Once per output sample. Knobs 0..1; the gate is 1.0
    // while the key is held and 0.0 after release (any other value holds
    // the level once the attack is over). Returns the new level.
    float step(float attack, float decay, float gate, float sustain, float release);

    // [any thread] The stage times (seconds) a knob value gives at
    // sampleRate: the attack from 0 until the level passes 1; the decay and
    // the release from 1 down to 0.
    static double attackSeconds(float knob, float sampleRate);
    static double decaySeconds(float knob, float sampleRate);
    static double releaseSeconds(float knob, float sampleRate);

    // [audio thread] (retriggering note-on). Back to the attack stage from
    // the present level.
    void restart() { attackDone_ = false; }

    // [audio thread] The filter envelope is set to 0 before it restarts.
    void setLevel(float level) { level_ = level; }
    float level() const { return level_; }

private:
    float level_ = 0.0f;
    float rate_;  // 1000 / sampleRate: the speeds are per millisecond
    bool attackDone_ = false;
};
