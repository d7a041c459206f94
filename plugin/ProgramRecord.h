// ProgramRecord: one program (preset), 1220 bytes.
//
// The same bytes are the record in memory, an entry of the factory bank and
// the state chunk the host saves with its project (a bank chunk is 20 records
// back to back, a program chunk one record, no header). So the layout is
// fixed to the byte: little-endian, no gaps, checked below.
//
//   0    name         24 bytes, NUL-terminated; bytes after the NUL travel
//                     unchanged with the record
//   24   values       44 floats, entry i = parameter i
//   200  controllers  128 int32: parameter driven by MIDI controller c, 0 = none
//   712  reserved     508 bytes, zero
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/ParamBlock.h"

constexpr int kNumPrograms = 20;
constexpr int kProgramNameSize = 24;  // terminator included
constexpr int kNumControllers = 128;

struct ControllerMap {
    std::int32_t target[kNumControllers];
};

struct ProgramRecord {
    char name[kProgramNameSize];
    float values[param::kCount];
    ControllerMap controllers;
    std::uint8_t reserved[508];
};

constexpr std::int32_t kProgramChunkSize = 1220;
constexpr std::int32_t kBankChunkSize = kProgramChunkSize * kNumPrograms;  // 24400

static_assert(sizeof(float) == 4 && sizeof(std::int32_t) == 4, "32-bit fields");
static_assert(sizeof(ProgramRecord) == kProgramChunkSize, "a program record is 1220 bytes");
static_assert(offsetof(ProgramRecord, values) == 24, "values follow the 24-byte name");
static_assert(offsetof(ProgramRecord, controllers) == 200, "controller map at 200");
static_assert(offsetof(ProgramRecord, reserved) == 712, "reserved bytes at 712");
static_assert(alignof(ProgramRecord) == 4, "records pack back to back in a bank");
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "chunks are the records' raw little-endian bytes");

// The state of a record before anything is written to it: the chunk copies
// hold it until the host first asks for a chunk.
ProgramRecord initialProgramRecord();

// Whether a record from outside (a chunk) is safe to load: its name ends
// within its 24 bytes and every value is a finite number.
bool isLoadableRecord(const ProgramRecord& record);
