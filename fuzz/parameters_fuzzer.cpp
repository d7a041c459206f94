// Parameter sequences: any index and any float (NaN, inf, huge, negative),
// read back and named, then notes and a render in which every sample must
// be a finite number.
#include "fuzz/FuzzPlugin.h"

namespace {
constexpr int kMaxChanges = 256;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Reader in(data, size);
    fuzz::Plugin& plugin = fuzz::Plugin::shared();
    AEffect* effect = plugin.effect();
    char text[256];
    for (int i = 0; i < kMaxChanges && in.left() >= 5; ++i) {
        const VstInt32 index = in.take<std::uint8_t>() % 48;  // a few beyond the 44
        const float value = in.take<float>();
        effect->setParameter(effect, index, value);
        if (!std::isfinite(effect->getParameter(effect, index))) std::abort();
        for (VstInt32 opcode : {effGetParamName, effGetParamDisplay, effGetParamLabel}) {
            std::memset(text, 0, sizeof(text));
            plugin.dispatch(opcode, index, 0, text);
        }
    }
    plugin.playNote(in.take<std::uint8_t>());
    plugin.renderChecked(256);
    plugin.playNote(in.take<std::uint8_t>());
    plugin.renderChecked(256);
    return 0;
}
