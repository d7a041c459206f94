#include "tuning/MtsMessage.h"

namespace mts {
namespace {

constexpr unsigned char kStart = 0xF0;
constexpr unsigned char kEnd = 0xF7;
constexpr unsigned char kNonRealTime = 0x7E;
constexpr unsigned char kRealTime = 0x7F;
constexpr unsigned char kTuning = 0x08;
constexpr unsigned char kBulkDump = 0x01;
constexpr unsigned char kSingleNote = 0x02;
constexpr unsigned char kBulkDumpInBank = 0x04;
constexpr unsigned char kSingleNoteInBank = 0x07;
constexpr int kNameBytes = 16;
constexpr int kKeys = TuningTable::kKeys;
constexpr float kFractionScale = 1.0f / 16384.0f;
// The longest message read: a single-note change of every key, in a bank.
constexpr long kLongest = 9 + 4 * kKeys;

// A key's pitch from its three data bytes; false for "no change".
bool pitchOf(const unsigned char* d, float& pitch) {
    if (d[0] == 0x7F && d[1] == 0x7F && d[2] == 0x7F) return false;
    pitch = static_cast<float>(d[0]) + static_cast<float>((d[1] << 7) | d[2]) * kFractionScale;
    return true;
}

void add(TuningChange& change, int key, const unsigned char* d) {
    float pitch = 0.0f;
    if (!pitchOf(d, pitch)) return;
    change.keys[change.count] = static_cast<unsigned char>(key);
    change.pitches[change.count] = pitch;
    ++change.count;
}

// keys [kk xx yy zz] groups from d, for a message that must end right after.
bool singleNotes(const unsigned char* d, long groups, long room, TuningChange& change) {
    if (groups < 1 || groups > kKeys || room != groups * 4) return false;
    change.count = 0;
    for (long g = 0; g < groups; ++g) add(change, d[g * 4], d + g * 4 + 1);
    return true;
}

bool bulk(const unsigned char* bytes, const unsigned char* data, long room, TuningChange& change) {
    if (room != kNameBytes + kKeys * 3 + 1) return false;
    const unsigned char* checksum = data + kNameBytes + kKeys * 3;
    unsigned char sum = 0;
    for (const unsigned char* p = bytes + 1; p < checksum; ++p) sum ^= *p;
    if ((sum & 0x7F) != *checksum) return false;
    change.count = 0;
    for (int key = 0; key < kKeys; ++key) add(change, key, data + kNameBytes + key * 3);
    return true;
}

}  // namespace

bool read(const unsigned char* bytes, long size, TuningChange& change) {
    // F0, universal id, device, tuning, kind ... F7: at least six bytes.
    if (!bytes || size < 6 || size > kLongest || bytes[0] != kStart || bytes[size - 1] != kEnd) return false;
    for (long i = 1; i < size - 1; ++i)
        if (bytes[i] & 0x80) return false;  // a status byte inside the message
    const unsigned char universal = bytes[1];
    if ((universal != kNonRealTime && universal != kRealTime) || bytes[3] != kTuning) return false;
    const unsigned char kind = bytes[4];
    const unsigned char* end = bytes + size - 1;  // the F7
    TuningChange parsed;
    bool ok = false;
    if (kind == kSingleNote && universal == kRealTime && size >= 8)
        ok = singleNotes(bytes + 7, bytes[6], end - (bytes + 7), parsed);
    else if (kind == kSingleNoteInBank && size >= 9)
        ok = singleNotes(bytes + 8, bytes[7], end - (bytes + 8), parsed);
    else if (kind == kBulkDump && universal == kNonRealTime)
        ok = bulk(bytes, bytes + 6, end - (bytes + 6), parsed);
    else if (kind == kBulkDumpInBank && universal == kNonRealTime && size >= 8)
        ok = bulk(bytes, bytes + 7, end - (bytes + 7), parsed);
    if (ok) change = parsed;
    return ok;
}

}  // namespace mts
