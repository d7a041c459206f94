// orv_alias_quality FILE HZ: how clean a rendered steady tone is. Reads the
// first channel of FILE (any format libsndfile reads), takes 2^16 samples
// from a quarter second in (past the attack), finds the fundamental near HZ
// and prints, below 20 kHz, the strongest component that is not a harmonic
// (dB relative to the fundamental) and the power of everything that is not
// a harmonic (dB relative to the harmonics' power), then the fundamental:
//   strongest -71.2 total -68.0 fundamental 1046.50
// With a plain saw through an open filter, what is not a harmonic is alias
// (and whatever noise the instrument makes). Used by scripts/bench-peers.sh.
#include <sndfile.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "measure/SignalProbe.h"

namespace {

constexpr size_t kLength = 1 << 16;
constexpr double kSkipSeconds = 0.25;
constexpr double kTopHz = 20000.0;

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: orv_alias_quality FILE HZ\n");
        return 2;
    }
    SF_INFO info{};
    SNDFILE* file = sf_open(argv[1], SFM_READ, &info);
    if (!file) {
        std::fprintf(stderr, "orv_alias_quality: cannot read %s: %s\n", argv[1], sf_strerror(nullptr));
        return 1;
    }
    const auto skip = static_cast<sf_count_t>(kSkipSeconds * info.samplerate);
    std::vector<float> frames(static_cast<size_t>(info.channels) * kLength);
    const bool enough = info.frames >= skip + static_cast<sf_count_t>(kLength) &&
                        sf_seek(file, skip, SEEK_SET) == skip &&
                        sf_readf_float(file, frames.data(), kLength) == static_cast<sf_count_t>(kLength);
    sf_close(file);
    if (!enough) {
        std::fprintf(stderr, "orv_alias_quality: %s is shorter than %.2f s\n", argv[1],
                     kSkipSeconds + static_cast<double>(kLength) / info.samplerate);
        return 1;
    }
    std::vector<float> x(kLength);
    for (size_t i = 0; i < kLength; ++i) x[i] = frames[i * static_cast<size_t>(info.channels)];

    const double rate = info.samplerate;
    const double hz = std::atof(argv[2]);
    const double fundamental = probe::peakFrequency(x, rate, hz * 0.7, hz * 1.4);
    const probe::Alias strongest = probe::largestAlias(x, rate, fundamental, kTopHz);
    std::printf("strongest %.1f total %.1f fundamental %.2f\n", strongest.db,
                probe::aliasPowerDb(x, rate, fundamental, kTopHz), fundamental);
    return 0;
}
