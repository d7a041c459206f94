// ScalaFiles: the Scala scale (.scl) and keyboard map (.kbm) text formats,
// and the key-to-pitch table the two make together.
//
// A scale is a description line, a count and that many pitches above the
// implied 1/1, each a cents value (it has a period) or a ratio (a/b, or a
// whole number meaning a/1); the last pitch is the period the scale repeats
// at. Lines that begin with '!' are comments; text after a pitch is a
// remark. A keyboard map gives the map's size, the first and last keys it
// retunes, the key that plays degree 0, a reference key with its frequency,
// the degree its pattern repeats at, and one degree (or x, unmapped) per key
// of the pattern; trailing unmapped keys may be left out, and a size of 0
// maps the keys to the degrees one after another.
//
// A file that breaks a rule is refused with the number of the line at
// fault (or, for a file that ends too soon, the line after its last).
#pragma once

#include <string>
#include <vector>

#include "engine/TuningTable.h"

namespace scala {

struct ParseError {
    int line = 0;
    std::string message;
};

struct Scale {
    std::string description;
    std::vector<double> cents;  // degrees 1..N above 1/1; the last is the period
};

struct KeyboardMap {
    int size = 0;  // 0: linear, key after key
    int firstKey = 0;
    int lastKey = 127;
    int middleKey = 60;  // plays degree 0
    int referenceKey = 60;
    double referenceHz = 261.6255653005986;  // equal-tempered middle C: 440 x 2^(-9/12)
    int octaveDegree = 0;                    // 0: the scale's own size
    std::vector<int> degrees;                // per key of the pattern; -1 unmapped
    int referenceLine = 0;                   // where the reference key was named
};

// False, with the fault in error, when text is no scale.
bool parseScale(const std::string& text, Scale& scale, ParseError& error);
bool parseKeyboardMap(const std::string& text, KeyboardMap& map, ParseError& error);

// The 128 keys of scale laid out by map. False when the reference key is
// one the map leaves unmapped (error names the map's line).
bool layOut(const Scale& scale, const KeyboardMap& map, TuningTable& table, ParseError& error);

}  // namespace scala
