// DenormalGuard: flush-to-zero for the length of one audio block.
//
// Decaying filter and envelope states would otherwise sink into denormal
// numbers, and a processor takes many times longer over an operation on one
// than over a normal number, for as long as a voice dies away. The guard sets
// the processor's flush-to-zero mode and restores the host's own setting
// when the block ends. Two register moves, no system call.
//
// Both machines flush denormal inputs and results alike (x86: FTZ and DAZ;
// aarch64: FZ), so a render is the same on either.
#pragma once

#include <cstdint>

#if defined(__SSE__) || defined(__x86_64__)
#include <xmmintrin.h>

namespace fpmode {
using Word = unsigned;
// MXCSR: bit 15 flushes denormal results to zero, bit 6 reads denormal inputs as zero.
constexpr Word kFlushToZero = 0x8000 | 0x0040;
inline Word read() { return _mm_getcsr(); }
inline void write(Word word) { _mm_setcsr(word); }
}  // namespace fpmode
#define ORV_HAS_FLUSH_TO_ZERO 1

#elif defined(__aarch64__)

namespace fpmode {
using Word = std::uint64_t;
// FPCR bit 24 (FZ): denormal inputs and results of single and double
// precision arithmetic are taken as zero.
constexpr Word kFlushToZero = Word(1) << 24;
inline Word read() {
    Word word;
    __asm__ __volatile__("mrs %0, fpcr" : "=r"(word));
    return word;
}
inline void write(Word word) { __asm__ __volatile__("msr fpcr, %0" : : "r"(word)); }
}  // namespace fpmode
#define ORV_HAS_FLUSH_TO_ZERO 1

#endif

#ifdef ORV_HAS_FLUSH_TO_ZERO
class DenormalGuard {
public:
    DenormalGuard() : saved_(fpmode::read()) { fpmode::write(saved_ | fpmode::kFlushToZero); }
    ~DenormalGuard() { fpmode::write(saved_); }
    DenormalGuard(const DenormalGuard&) = delete;
    DenormalGuard& operator=(const DenormalGuard&) = delete;

private:
    fpmode::Word saved_;
};
#else
// Other processors: the engine's own state handling has to do.
class DenormalGuard {};
#endif
