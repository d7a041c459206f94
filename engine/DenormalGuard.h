// DenormalGuard: flush-to-zero for the length of one audio block.
//
// Decaying filter and envelope states would otherwise sink into denormal
// numbers, and x86 takes many times longer over an operation on one than
// over a normal number, for as long as a voice dies away. The guard sets the SSE
// flush-to-zero and denormals-are-zero bits and restores the host's own
// setting when the block ends. Two register moves, no system call.
#pragma once

#if defined(__SSE__) || defined(__x86_64__)
#include <xmmintrin.h>

class DenormalGuard {
public:
    // Bit 15 flushes denormal results to zero, bit 6 reads denormal inputs as zero.
    static constexpr unsigned kFlushToZero = 0x8000;
    static constexpr unsigned kDenormalsAreZero = 0x0040;

    DenormalGuard() : saved_(_mm_getcsr()) {
        _mm_setcsr(saved_ | kFlushToZero | kDenormalsAreZero);
    }
    ~DenormalGuard() { _mm_setcsr(saved_); }
    DenormalGuard(const DenormalGuard&) = delete;
    DenormalGuard& operator=(const DenormalGuard&) = delete;

private:
    unsigned saved_;
};
#else
// Other processors: the engine's own state handling has to do.
class DenormalGuard {};
#endif
