#include "support/RandomBank.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstring>

namespace state {
namespace {

// splitmix64: the same numbers on every compiler and library, which the
// standard distributions do not promise.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::uint32_t below(std::uint32_t n) { return std::uint32_t(next() % n); }
    float unit() { return float(next() >> 40) / float(1 << 24); }

private:
    std::uint64_t state_;
};

float valueAt(const unsigned char* record, std::size_t i) {
    float v;
    std::memcpy(&v, record + kValuesAt + 4 * i, 4);
    return v;
}
std::int32_t entryAt(const unsigned char* record, std::size_t c) {
    std::int32_t t;
    std::memcpy(&t, record + kMapAt + 4 * c, 4);
    return t;
}

// Values that sit on an edge of some parameter's range, or of float itself.
const float kEdgeValues[] = {0.0f,    1.0f,     0.5f,     std::nextafter(1.0f, 2.0f), std::nextafter(1.0f, 0.0f),
                             -1.0f,   2.0f,     7.0f,     9.0f,     FLT_MIN,  -FLT_MIN,
                             FLT_TRUE_MIN, FLT_MAX, -FLT_MAX, 1e30f,   -1e30f};

float randomValue(Random& r) {
    switch (r.below(5)) {
    case 0: return kEdgeValues[r.below(sizeof kEdgeValues / sizeof kEdgeValues[0])];
    case 1: return float(int(r.below(24)) - 4);  // choice numbers, in range and out
    case 2: {
        // Any finite float, from denormals to the largest.
        std::uint32_t bits;
        float v;
        do {
            bits = std::uint32_t(r.next());
            std::memcpy(&v, &bits, 4);
        } while (!std::isfinite(v));
        return v;
    }
    default: return r.unit();  // continuous values
    }
}

std::int32_t randomEntry(Random& r) {
    switch (r.below(4)) {
    case 0: {
        const std::int32_t odd[] = {-1, 44, 45, 127, INT_MIN, INT_MAX, -44};
        return odd[r.below(7)];
    }
    case 1: return std::int32_t(std::uint32_t(r.next()));
    default: return std::int32_t(1 + r.below(43));  // a parameter a controller can drive
    }
}

// Draws until the value is unlike those already in the column (by value:
// 0.0 and -0.0 count as the same) and the factory's in the same slot.
template <typename T, typename Draw>
T fresh(const std::vector<T>& column, T factory, Draw draw) {
    for (;;) {
        const T v = draw();
        if (v != factory && std::find(column.begin(), column.end(), v) == column.end()) return v;
    }
}

}  // namespace

Bytes randomBank(std::uint64_t seed, const Bytes& factory) {
    Random r(seed);
    Bytes bank(kBankBytes);
    // Name lengths: 20 of the 24 possible, each once.
    std::size_t lengths[kNameBytes];
    for (std::size_t i = 0; i < kNameBytes; ++i) lengths[i] = i;
    for (std::size_t i = kNameBytes - 1; i > 0; --i) std::swap(lengths[i], lengths[r.below(std::uint32_t(i + 1))]);

    for (std::size_t p = 0; p < kPrograms; ++p) {
        unsigned char* record = bank.data() + p * kRecordBytes;
        const unsigned char* old = factory.data() + p * kRecordBytes;
        const std::size_t length = lengths[p];
        do {
            for (std::size_t i = 0; i < kNameBytes; ++i) record[i] = std::uint8_t(r.next());
            for (std::size_t i = 0; i < length; ++i) record[i] = std::uint8_t(1 + r.below(255));
            record[length] = 0;
        } while (std::memcmp(record, old, kNameBytes) == 0);
        for (std::size_t i = kReservedAt; i < kRecordBytes; ++i) record[i] = std::uint8_t(r.next());
    }
    // Values and map entries column by column.
    for (std::size_t i = 0; i < kValueCount; ++i) {
        std::vector<float> column;
        for (std::size_t p = 0; p < kPrograms; ++p) {
            const float v = fresh(column, valueAt(factory.data() + p * kRecordBytes, i), [&] { return randomValue(r); });
            std::memcpy(bank.data() + p * kRecordBytes + kValuesAt + 4 * i, &v, 4);
            column.push_back(v);
        }
    }
    for (std::size_t c = 0; c < kMapEntries; ++c) {
        std::vector<std::int32_t> column{0};  // 0 is no entry
        for (std::size_t p = 0; p < kPrograms; ++p) {
            const std::int32_t t = fresh(column, entryAt(factory.data() + p * kRecordBytes, c), [&] { return randomEntry(r); });
            std::memcpy(bank.data() + p * kRecordBytes + kMapAt + 4 * c, &t, 4);
            column.push_back(t);
        }
    }
    return bank;
}

Bytes loadableBank(const std::uint8_t* data, std::size_t size) {
    Bytes bank(kBankBytes, 0);
    for (std::size_t i = 0; size > 0 && i < kBankBytes; ++i) bank[i] = data[i % size];
    for (std::size_t p = 0; p < kPrograms; ++p) {
        unsigned char* record = bank.data() + p * kRecordBytes;
        if (!std::memchr(record, 0, kNameBytes)) record[kNameBytes - 1] = 0;
        for (std::size_t i = 0; i < kValueCount; ++i) {
            float v;
            std::memcpy(&v, record + kValuesAt + 4 * i, 4);
            if (std::isfinite(v)) continue;
            v = 0.5f;
            std::memcpy(record + kValuesAt + 4 * i, &v, 4);
        }
    }
    return bank;
}

}  // namespace state
