// RenderOutput: where a render's blocks go. Each block, times the gain, is
// written to the audio file and measured (levels, loudness, the picture),
// so what is printed and drawn is what the file holds.
//
// To normalize, the gain that brings the peak to the target is known only
// at the end: the blocks wait in a spill file beside the output (removed
// when done) and finish plays them through at that gain.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/core/SafeFile.h"
#include "host/render/AudioFile.h"
#include "host/render/Loudness.h"
#include "host/render/SoundPicture.h"

class RenderOutput {
public:
    // Where --normalize puts the peak.
    static constexpr double kNormalizedPeakDb = -1.0;

    // file is open; picture may be null. gainDb applies unless normalize.
    RenderOutput(AudioFileWriter& file, int channels, unsigned long rate, SoundPicture* picture, double gainDb,
                 bool normalize);

    // Makes the spill file beside output when normalizing.
    bool begin(const std::string& output, std::string& error);
    // Interleaved frames; false when they cannot be written.
    bool add(const float* frames, long count);
    // The spill, if any, through the file at the normalizing gain; then
    // the file is finished and in place.
    bool finish(std::string& error);

    double gainDb() const { return toDbfs(gain_); }
    const Levels& levels() const { return levels_; }
    const Loudness& loudness() const { return loudness_; }

private:
    bool deliver(const float* frames, long count);

    AudioFileWriter& file_;
    int channels_;
    SoundPicture* picture_;
    double gain_;
    bool normalize_;
    Levels levels_, raw_;
    Loudness loudness_;
    safefile::AtomicFile spill_;
    std::string output_;
    std::vector<float> scaled_;
};
