// Tuning: a tuning as a player chooses it. The texts of its scale and
// keyboard map are kept as they were read (they, not paths, travel with a
// saved project), with the table they make and the scale's description.
// No scale text means the standard tuning.
#pragma once

#include <string>

#include "engine/TuningTable.h"

struct Tuning {
    // The tag of the tuning's record in the saved state's trailer.
    static constexpr const char* kRecordTag = "TUNE";

    std::string scale;        // .scl text; empty for the standard tuning
    std::string keyboardMap;  // .kbm text; empty for the default layout
    std::string description;
    TuningTable table = TuningTable::standard();

    bool isStandard() const { return scale.empty(); }

    // Builds the tuning of a scale and an optional map (empty text: none).
    // The names stand for the files in a refusal, which is one line,
    // "NAME:LINE: what is wrong"; out is untouched then.
    static bool fromText(const std::string& scaleText, const std::string& scaleName, const std::string& mapText,
                         const std::string& mapName, Tuning& out, std::string& error);

    // The texts as one record of saved state, and back. fromRecord answers
    // false for bytes that are not a sound record of a tuning.
    std::string toRecord() const;
    static bool fromRecord(const std::string& record, Tuning& out);
};

// Reads a scale or map file into text. Only a regular file of at most
// kLargestTuningFile bytes is read; anything else is refused, with one line
// naming the file, before a byte of it is read.
constexpr long kLargestTuningFile = 256 * 1024;
bool readTuningFile(const std::string& path, std::string& text, std::string& error);
