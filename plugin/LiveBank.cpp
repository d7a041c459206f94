#include "plugin/LiveBank.h"

#include <cstring>

LiveBank::LiveBank() {
    ProgramRecord empty;
    std::memset(&empty, 0, sizeof(empty));
    for (int p = 0; p < kNumPrograms; ++p) load(p, empty);
}

void LiveBank::load(int program, const ProgramRecord& record) {
    Slot& slot = slots_[program];
    for (int i = 0; i < kProgramNameSize; ++i)
        slot.name[i].store(record.name[i], std::memory_order_relaxed);
    for (int i = 0; i < param::kCount; ++i)
        slot.values[i].store(record.values[i], std::memory_order_relaxed);
    for (int c = 0; c < kNumControllers; ++c)
        slot.controllers[c].store(record.controllers.target[c], std::memory_order_relaxed);
    std::memcpy(slot.reserved, record.reserved, sizeof(slot.reserved));
}

void LiveBank::snapshot(int program, ProgramRecord& record) const {
    const Slot& slot = slots_[program];
    for (int i = 0; i < kProgramNameSize; ++i)
        record.name[i] = slot.name[i].load(std::memory_order_relaxed);
    for (int i = 0; i < param::kCount; ++i)
        record.values[i] = slot.values[i].load(std::memory_order_relaxed);
    for (int c = 0; c < kNumControllers; ++c)
        record.controllers.target[c] = slot.controllers[c].load(std::memory_order_relaxed);
    std::memcpy(record.reserved, slot.reserved, sizeof(record.reserved));
}

void LiveBank::setName(int program, const char* text) {
    Slot& slot = slots_[program];
    int n = 0;
    for (; n < kProgramNameSize - 1 && text[n] != '\0'; ++n)
        slot.name[n].store(text[n], std::memory_order_relaxed);
    slot.name[n].store('\0', std::memory_order_relaxed);
}

void LiveBank::name(int program, char* text) const {
    const Slot& slot = slots_[program];
    int n = 0;
    for (; n < kProgramNameSize - 1; ++n) {
        const char c = slot.name[n].load(std::memory_order_relaxed);
        if (c == '\0') break;
        text[n] = c;
    }
    text[n] = '\0';
}
