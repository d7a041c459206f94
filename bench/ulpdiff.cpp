// ulpdiff A.f32 B.f32: compares two raw renders (32-bit floats, as
// orv-host bench --golden --dump writes them) and prints how far apart they
// are: the number of differing samples, the first one, and the largest
// distance in units in the last place. Exit status 0 when identical, 1 when
// not, 2 when the files cannot be read or differ in length.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

std::vector<float> readFloats(const char* path, bool& ok) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ok = static_cast<bool>(in) || in.eof();
    std::vector<float> samples(bytes.size() / sizeof(float));
    std::memcpy(samples.data(), bytes.data(), samples.size() * sizeof(float));
    return samples;
}

// Maps a float's bits onto a line where neighbouring floats are neighbouring
// integers (negative numbers mirrored), so a subtraction counts the floats
// between two values.
int64_t ordered(float f) {
    int32_t bits;
    std::memcpy(&bits, &f, sizeof(bits));
    return bits < 0 ? static_cast<int64_t>(INT32_MIN) - bits : bits;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: ulpdiff A.f32 B.f32\n");
        return 2;
    }
    bool okA = false, okB = false;
    const std::vector<float> a = readFloats(argv[1], okA), b = readFloats(argv[2], okB);
    if (!okA || !okB || a.size() != b.size() || a.empty()) {
        std::fprintf(stderr, "ulpdiff: unreadable files or different lengths\n");
        return 2;
    }
    std::size_t differing = 0, first = 0;
    int64_t worst = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        // Compared by their bits: -0 and +0 differ, at a distance of 0.
        if (std::memcmp(&a[i], &b[i], sizeof(float)) == 0) continue;
        const int64_t d = std::llabs(ordered(a[i]) - ordered(b[i]));
        if (differing++ == 0) first = i;
        if (d > worst) worst = d;
    }
    if (differing == 0) {
        std::printf("identical, %zu samples\n", a.size());
        return 0;
    }
    std::printf("%zu of %zu samples differ, first at %zu (%.9g vs %.9g), at most %lld ulp\n",
                differing, a.size(), first, a[first], b[first], static_cast<long long>(worst));
    return 1;
}
