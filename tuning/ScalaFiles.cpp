#include "tuning/ScalaFiles.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace scala {
namespace {

// Pitches further than this from the keyboard's own range would only ever
// be clamped by the oscillators; keeping them finite is what matters.
constexpr double kLowestPitch = -256.0;
constexpr double kHighestPitch = 384.0;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The text's lines, numbered from 1, with the comments left out. A line
// break may be \n or \r\n.
class Lines {
public:
    explicit Lines(const std::string& text) : text_(text) {}

    // The next line that is not a comment; false at the end of the text.
    bool next(std::string& line) {
        while (position_ < text_.size()) {
            std::size_t end = text_.find('\n', position_);
            if (end == std::string::npos) end = text_.size();
            line.assign(text_, position_, end - position_);
            position_ = end + 1;
            ++number_;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (!line.empty() && line[0] == '!') continue;
            return true;
        }
        return false;
    }
    // The line last read, or after the end the line that is missing.
    int number() const { return number_; }
    int missingLine() const { return number_ + 1; }

private:
    const std::string& text_;
    std::size_t position_ = 0;
    int number_ = 0;
};

std::size_t skipBlanks(const std::string& s, std::size_t i) {
    while (i < s.size() && isBlank(s[i])) ++i;
    return i;
}

// The value must end where the line or a blank begins: "3/2 fifth" is 3/2,
// "3/2x" is nothing.
bool endsToken(const std::string& s, std::size_t i) { return i == s.size() || isBlank(s[i]); }

bool wholeNumber(const std::string& s, long long low, long long high, long long& value) {
    std::size_t i = skipBlanks(s, 0);
    const std::size_t start = i;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
    const std::size_t digits = i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
    if (i == digits || !endsToken(s, i)) return false;
    errno = 0;
    value = std::strtoll(s.c_str() + start, nullptr, 10);
    return errno == 0 && value >= low && value <= high;
}

bool fail(ParseError& error, int line, std::string message) {
    error.line = line;
    error.message = std::move(message);
    return false;
}

// One pitch line in cents above 1/1.
bool pitchCents(const std::string& line, double& cents, std::string& problem) {
    const std::size_t start = skipBlanks(line, 0);
    std::size_t end = start;
    while (end < line.size() && !isBlank(line[end])) ++end;
    const std::string token = line.substr(start, end - start);
    if (token.empty()) {
        problem = "a pitch is missing";
        return false;
    }
    if (token.find('.') != std::string::npos) {
        char* stop = nullptr;
        errno = 0;
        cents = std::strtod(token.c_str(), &stop);
        if (stop != token.c_str() + token.size() || errno != 0 || !std::isfinite(cents) ||
            token.find_first_of("xXeEnN") != std::string::npos) {
            problem = "'" + token + "' is not a number of cents";
            return false;
        }
        return true;
    }
    const std::size_t slash = token.find('/');
    const std::string top = token.substr(0, slash);
    const std::string bottom = slash == std::string::npos ? "1" : token.substr(slash + 1);
    long long numerator = 0, denominator = 0;
    if (top.size() > 0 && top[0] == '-') {
        problem = "the ratio " + token + " is negative";
        return false;
    }
    if (!wholeNumber(top, 0, LLONG_MAX, numerator) || !wholeNumber(bottom, 0, LLONG_MAX, denominator) ||
        top.find('+') != std::string::npos || bottom.find_first_of("+-") != std::string::npos) {
        problem = "'" + token + "' is neither cents nor a ratio";
        return false;
    }
    if (numerator == 0 || denominator == 0) {
        problem = "the ratio " + token + " has a zero in it";
        return false;
    }
    cents = 1200.0 * std::log2(static_cast<double>(numerator) / static_cast<double>(denominator));
    return true;
}

long long floorDivide(long long a, long long b) {
    long long q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

}  // namespace

bool parseScale(const std::string& text, Scale& scale, ParseError& error) {
    Lines lines(text);
    Scale result;
    std::string line;
    if (!lines.next(line)) return fail(error, lines.missingLine(), "the description line is missing");
    result.description = line;
    while (!result.description.empty() && isBlank(result.description.back())) result.description.pop_back();
    if (!lines.next(line)) return fail(error, lines.missingLine(), "the number of notes is missing");
    long long count = 0;
    if (!wholeNumber(line, 1, INT_MAX, count))
        return fail(error, lines.number(), "the number of notes must be a whole number from 1 up");
    for (long long n = 0; n < count; ++n) {
        if (!lines.next(line))
            return fail(error, lines.missingLine(),
                        std::to_string(count) + " notes declared, " + std::to_string(n) + " found");
        double cents = 0.0;
        std::string problem;
        if (!pitchCents(line, cents, problem)) return fail(error, lines.number(), problem);
        result.cents.push_back(cents);
    }
    scale = std::move(result);
    return true;
}

bool parseKeyboardMap(const std::string& text, KeyboardMap& map, ParseError& error) {
    Lines lines(text);
    KeyboardMap result;
    std::string line;
    struct Field {
        const char* name;
        int* value;
        long long low, high;
    };
    const Field header[] = {
        {"the map size", &result.size, 0, 65536},
        {"the first key", &result.firstKey, 0, 127},
        {"the last key", &result.lastKey, 0, 127},
        {"the middle key", &result.middleKey, 0, 127},
        {"the reference key", &result.referenceKey, 0, 127},
    };
    for (const Field& field : header) {
        if (!lines.next(line)) return fail(error, lines.missingLine(), std::string(field.name) + " is missing");
        long long v = 0;
        if (!wholeNumber(line, field.low, field.high, v))
            return fail(error, lines.number(),
                        std::string(field.name) + " must be a whole number from " + std::to_string(field.low) +
                            " to " + std::to_string(field.high));
        *field.value = static_cast<int>(v);
        if (field.value == &result.lastKey && result.lastKey < result.firstKey)
            return fail(error, lines.number(), "the last key lies below the first");
    }
    result.referenceLine = lines.number();

    if (!lines.next(line)) return fail(error, lines.missingLine(), "the reference frequency is missing");
    {
        const std::size_t start = skipBlanks(line, 0);
        std::size_t end = start;
        while (end < line.size() && !isBlank(line[end])) ++end;
        const std::string token = line.substr(start, end - start);
        char* stop = nullptr;
        const double hz = std::strtod(token.c_str(), &stop);
        if (token.empty() || stop != token.c_str() + token.size() || !std::isfinite(hz) || !(hz > 0.0) ||
            token.find_first_of("xXnN") != std::string::npos)
            return fail(error, lines.number(), "the reference frequency must be a number of Hz above 0");
        result.referenceHz = hz;
    }

    if (!lines.next(line)) return fail(error, lines.missingLine(), "the octave degree is missing");
    long long octave = 0;
    if (!wholeNumber(line, 0, 65536, octave))
        return fail(error, lines.number(), "the octave degree must be a whole number from 0 up");
    result.octaveDegree = static_cast<int>(octave);

    while (lines.next(line)) {
        const std::size_t start = skipBlanks(line, 0);
        if (start == line.size()) {
            // Blank lines may close the file; one inside the map is a hole.
            std::string rest;
            int holeLine = lines.number();
            while (lines.next(rest))
                if (skipBlanks(rest, 0) != rest.size()) return fail(error, holeLine, "a map entry is missing");
            break;
        }
        if (static_cast<int>(result.degrees.size()) == result.size)
            return fail(error, lines.number(),
                        "the map is longer than its size of " + std::to_string(result.size));
        long long degree = 0;
        if ((line[start] == 'x' || line[start] == 'X') && endsToken(line, start + 1)) {
            result.degrees.push_back(-1);
        } else if (wholeNumber(line, 0, INT_MAX, degree)) {
            result.degrees.push_back(static_cast<int>(degree));
        } else {
            return fail(error, lines.number(), "a map entry is a scale degree from 0 up, or x");
        }
    }
    map = std::move(result);
    return true;
}

bool layOut(const Scale& scale, const KeyboardMap& map, TuningTable& table, ParseError& error) {
    const long long notes = static_cast<long long>(scale.cents.size());
    const double period = scale.cents.back();
    const long long repeat = map.octaveDegree > 0 ? map.octaveDegree : notes;
    // The degree each key plays, or false for a key left unmapped.
    const auto degreeOf = [&](int key, long long& degree) {
        if (key < map.firstKey || key > map.lastKey) return false;
        const long long offset = key - map.middleKey;
        if (map.size == 0) {
            degree = offset;
            return true;
        }
        const long long pattern = floorDivide(offset, map.size);
        const long long index = offset - pattern * map.size;
        if (index >= static_cast<long long>(map.degrees.size()) || map.degrees[index] < 0) return false;
        degree = map.degrees[index] + pattern * repeat;
        return true;
    };
    const auto centsOf = [&](long long degree) {
        const long long periods = floorDivide(degree, notes);
        const long long step = degree - periods * notes;
        return static_cast<double>(periods) * period + (step == 0 ? 0.0 : scale.cents[step - 1]);
    };
    long long referenceDegree = 0;
    if (!degreeOf(map.referenceKey, referenceDegree))
        return fail(error, map.referenceLine,
                    "the reference key " + std::to_string(map.referenceKey) + " is not mapped");
    // Held to a float, so that a reference on an equal-tempered key lands on
    // its whole number and equal temperament comes out exact.
    const double referencePitch = static_cast<float>(69.0 + 12.0 * std::log2(map.referenceHz / 440.0));
    const double referenceCents = centsOf(referenceDegree);
    TuningTable result;
    for (int key = 0; key < TuningTable::kKeys; ++key) {
        long long degree = 0;
        if (!degreeOf(key, degree)) {
            result.pitch[key] = static_cast<float>(key);
            result.mapped[key] = 0;
            continue;
        }
        const double pitch = referencePitch + (centsOf(degree) - referenceCents) / 100.0;
        result.pitch[key] = static_cast<float>(std::clamp(pitch, kLowestPitch, kHighestPitch));
        result.mapped[key] = 1;
    }
    table = result;
    return true;
}

}  // namespace scala
