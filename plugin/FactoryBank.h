// The factory bank: the 20 programs the plug-in starts with, as the exact
// 1220-byte records that the programs and the chunks are made of.
#pragma once

#include <array>

#include "plugin/ProgramRecord.h"

using ProgramBank = std::array<ProgramRecord, kNumPrograms>;

// Built once, on first use (the plug-in's constructor) [main thread].
const ProgramBank& factoryBank();
