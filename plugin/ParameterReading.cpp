#include "plugin/ParameterReading.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/Choices.h"
#include "plugin/ParameterText.h"

namespace parameter_text {
namespace {

// Lower case without spaces: how texts are compared.
std::string key(const char* text) {
    std::string k;
    for (; *text; ++text)
        if (!std::isspace(static_cast<unsigned char>(*text)))
            k += static_cast<char>(std::tolower(static_cast<unsigned char>(*text)));
    return k;
}

// Names players give the waveform entries.
struct Alias {
    const char* alias;
    const char* entry;
};
const Alias kAliases[] = {{"pulse", "rec"},  {"square", "rec"}, {"rect", "rec"}, {"sawtooth", "saw"},
                          {"triangle", "tri"}, {"sine", "sin"}};

std::string entryKey(const std::string& k) {
    for (const Alias& a : kAliases)
        if (k == a.alias) return a.entry;
    return k;
}

// Units are families of one quantity: a number in any of them is turned
// into the family's base (Hz, seconds, dB, percent, cents) before numbers
// are compared. The labels describe writes are all here.
enum class Family { kFrequency, kTime, kLevel, kShare, kPitch };
struct Unit {
    const char* key;
    Family family;
    double scale;
};
const Unit kUnits[] = {
    {"hz", Family::kFrequency, 1.0},  {"khz", Family::kFrequency, 1000.0},
    {"ms", Family::kTime, 1e-3},      {"s", Family::kTime, 1.0},
    {"ms/oct", Family::kTime, 1e-3},  {"s/oct", Family::kTime, 1.0},
    {"db", Family::kLevel, 1.0},      {"%", Family::kShare, 1.0},
    {"%osc2", Family::kShare, 1.0},   {"cents", Family::kPitch, 1.0},
    {"cent", Family::kPitch, 1.0},    {"ct", Family::kPitch, 1.0},
    {"semi", Family::kPitch, 100.0},  {"st", Family::kPitch, 100.0},
    {"semitones", Family::kPitch, 100.0},
};

const Unit* unitOf(const std::string& k) {
    for (const Unit& u : kUnits)
        if (k == u.key) return &u;
    return nullptr;
}

// What value shows, display and label, as a key.
std::string shownKey(int index, float value, const ParamBlock& params, float rate) {
    char display[kTextSize], label[kTextSize];
    describeValue(index, value, params, rate, display, label);
    return key(display) + key(label);
}

// The number value shows, in base units of family; NaN when the display is
// a word or a number of another family.
double reading(int index, float value, const ParamBlock& params, float rate, Family family) {
    char display[kTextSize], label[kTextSize];
    const double amount = describeValue(index, value, params, rate, display, label);
    const Unit* unit = unitOf(key(label));
    return unit && unit->family == family ? amount * unit->scale : std::nan("");
}

bool between(double x, double a, double b) { return (a <= x && x <= b) || (b <= x && x <= a); }

// Points of the domain a search starts from; the readings between two
// neighbours are monotonic enough for bisection to find any number.
constexpr int kGrid = 512;
constexpr int kBisections = 48;

float gridPoint(const Domain& d, int i) { return d.lo + (d.hi - d.lo) * float(i) / float(kGrid); }

// The value whose reading in family is target: an exact hit on the grid,
// else bisection between the first two neighbours that straddle it.
bool findNumber(int index, double target, Family family, const ParamBlock& params, float rate,
                float& value) {
    const Domain d = domain(index);
    float previous = d.lo;
    double previousBase = std::nan("");
    for (int i = 0; i <= kGrid; ++i) {
        const float x = gridPoint(d, i);
        const double base = reading(index, x, params, rate, family);
        if (base == target) {
            value = x;
            return true;
        }
        if (!std::isnan(base) && !std::isnan(previousBase) && between(target, previousBase, base)) {
            float a = previous, b = x;
            const bool rising = base > previousBase;
            for (int n = 0; n < kBisections; ++n) {
                const float middle = a + (b - a) * 0.5f;
                if (middle == a || middle == b) break;
                const double m = reading(index, middle, params, rate, family);
                if (std::isnan(m)) break;
                ((m < target) == rising ? a : b) = middle;
            }
            const double atA = reading(index, a, params, rate, family);
            const double atB = reading(index, b, params, rate, family);
            value = std::fabs(atA - target) <= std::fabs(atB - target) ? a : b;
            return true;
        }
        previous = x;
        previousBase = base;
    }
    return false;
}

// A value whose display (and label) is k exactly: a menu's entries, else
// the grid.
bool findWord(int index, const std::string& k, const ParamBlock& params, float rate, float& value) {
    const Domain d = domain(index);
    const int last = d.whole ? int(d.hi - d.lo) : kGrid;
    for (int i = 0; i <= last; ++i) {
        const float x = d.whole ? d.lo + float(i) : gridPoint(d, i);
        if (shownKey(index, x, params, rate) == k) {
            value = x;
            return true;
        }
    }
    return false;
}

}  // namespace

Domain domain(int index) {
    const choice::Menu menu = choice::menuFor(index);
    if (menu.count > 0) return {0.0f, float(menu.count - 1), true};
    if (index == param::kLearnAllPrograms || index == param::kControllerLearn) return {0.0f, 1.0f, true};
    return {};
}

Reading read(int index, const char* text, const ParamBlock& params, float sampleRate, float& value) {
    if (index < 0 || index >= param::kCount || !text) return Reading::kUnknown;
    const std::string k = entryKey(key(text));
    if (k.empty()) return Reading::kUnknown;
    const float current = params.get(index);
    if (shownKey(index, current, params, sampleRate) == k) {
        value = current;
        return Reading::kValue;
    }
    const Domain d = domain(index);
    if (d.whole && findWord(index, k, params, sampleRate, value)) return Reading::kValue;

    char* end = nullptr;
    const double number = std::strtod(k.c_str(), &end);
    if (end != k.c_str() && !std::isnan(number)) {
        if (*end == '\0') {
            const bool inside = number >= d.lo && number <= d.hi && (!d.whole || number == std::floor(number));
            if (!inside) return Reading::kOutsideDomain;
            value = static_cast<float>(number);
            return Reading::kValue;
        }
        const Unit* unit = unitOf(end);
        if (unit && d.whole) return Reading::kUnknown;
        if (unit) {
            // A number beyond the readings' range may still be one an end of
            // the domain shows once rounded.
            if (findNumber(index, number * unit->scale, unit->family, params, sampleRate, value) ||
                findWord(index, k, params, sampleRate, value))
                return Reading::kValue;
            return Reading::kOutsideDomain;
        }
    }
    if (!d.whole && findWord(index, k, params, sampleRate, value)) return Reading::kValue;
    return Reading::kUnknown;
}

}  // namespace parameter_text
