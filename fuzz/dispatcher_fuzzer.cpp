// The dispatcher: calls with any opcode, index, value and float, each with
// a valid buffer behind ptr (4 KiB, filled from the input, terminated) and,
// where the interface makes value a pointer or a length, a valid one. The
// close request is left to the end; a render follows the calls. There is no
// X server: an editor open must fail cleanly, whatever window it is given.
#include "fuzz/FuzzPlugin.h"

namespace {
constexpr std::size_t kBufferSize = 4096;
constexpr int kMaxCalls = 64;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    unsetenv("DISPLAY");
    fuzz::Reader in(data, size);
    fuzz::Plugin& plugin = fuzz::Plugin::shared();
    alignas(16) std::uint8_t buffer[kBufferSize];
    for (int call = 0; call < kMaxCalls && !in.empty(); ++call) {
        // Mostly the opcodes there are (0..127), now and then any number.
        VstInt32 opcode = in.take<std::uint8_t>();
        if (opcode >= 128) opcode = in.take<VstInt32>();
        const VstInt32 index = in.take<VstInt32>();
        VstIntPtr value = in.take<VstIntPtr>();
        const float opt = in.take<float>();
        std::memset(buffer, 0, sizeof(buffer));
        const std::size_t fill = in.take<std::uint8_t>();
        for (std::size_t i = 0; i < fill && !in.empty(); ++i) buffer[i] = in.take<std::uint8_t>();
        void* ptr = buffer;
        switch (opcode) {
        case effClose:
            continue;
        case effProcessEvents:
            // A list of as many events as the buffer holds.
            reinterpret_cast<VstEvents*>(buffer)->numEvents = 0;
            break;
        case effSetChunk:
            value = static_cast<VstIntPtr>(static_cast<std::size_t>(value) % (kBufferSize + 1));
            break;
        case effSetSpeakerArrangement:
        case effGetSpeakerArrangement:
            value = reinterpret_cast<VstIntPtr>(buffer + kBufferSize / 2);
            break;
        default:
            break;
        }
        plugin.dispatch(opcode, index, value, ptr, opt);
    }
    plugin.playNote(60);
    plugin.renderChecked(256);
    return 0;
}
