// RandomBank: whole banks of program records (the bank chunk's bytes) that
// leave no field at its old content, for tests of saved state.
//
// Each of the 20 records differs from the factory record in its slot and
// from every other record in the bank, field by field: a name of its own
// length (0 to 23 bytes, any byte but zero) with random bytes after its
// terminator, all 44 values (in range, on the boundaries, far outside,
// tiny and huge), a controller map with an entry in every one of its 128
// slots (parameters, 0's neighbours and numbers no parameter has) and
// random reserved bytes. A path that drops, shifts, clips or re-inits any
// byte of any record changes the bank.
//
// Plain functions of their input; depends on the standard library only, so
// the fuzz harnesses build it too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace state {

constexpr std::size_t kRecordBytes = 1220;
constexpr std::size_t kPrograms = 20;
constexpr std::size_t kBankBytes = kRecordBytes * kPrograms;
constexpr std::size_t kNameBytes = 24, kValuesAt = 24, kValueCount = 44;
constexpr std::size_t kMapAt = 200, kMapEntries = 128, kReservedAt = 712;

using Bytes = std::vector<unsigned char>;

// The same bank for the same seed; factory is the bank chunk of a fresh
// instance (kBankBytes).
Bytes randomBank(std::uint64_t seed, const Bytes& factory);

// Any bytes as a bank the plug-in loads: repeated or cut to kBankBytes,
// each name given a terminator and each value that is no number replaced.
// What the fuzz harness feeds through the same paths.
Bytes loadableBank(const std::uint8_t* data, std::size_t size);

}  // namespace state
