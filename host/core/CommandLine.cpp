#include "host/core/CommandLine.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

bool parseNumber(const std::string& text, double lo, double hi, double& out) {
    if (text.empty()) return false;
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (*end != '\0' || !std::isfinite(v) || !(v >= lo && v <= hi)) return false;
    out = v;
    return true;
}

bool parseWholeNumber(const std::string& text, long lo, long hi, long& out) {
    double v = 0.0;
    if (!parseNumber(text, static_cast<double>(lo), static_cast<double>(hi), v) || v != std::floor(v)) {
        return false;
    }
    out = static_cast<long>(v);
    return true;
}

int findProgram(const std::vector<std::string>& names, const std::string& wanted) {
    const auto named = std::find(names.begin(), names.end(), wanted);
    if (named != names.end()) return static_cast<int>(named - names.begin());
    long number = 0;
    if (!names.empty() && parseWholeNumber(wanted, 0, static_cast<long>(names.size()) - 1, number)) {
        return static_cast<int>(number);
    }
    return -1;
}

bool hasSuffix(const std::string& path, const std::string& suffix) {
    if (path.size() <= suffix.size()) return false;
    const std::size_t from = path.size() - suffix.size();
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        const auto a = static_cast<unsigned char>(path[from + i]);
        const auto b = static_cast<unsigned char>(suffix[i]);
        if (std::tolower(a) != std::tolower(b)) return false;
    }
    return true;
}

double median(std::vector<double> values) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
}

bool printedHelp(const std::vector<std::string>& args, const char* usage) {
    if (std::find_if(args.begin(), args.end(), [](const std::string& a) { return a == "-h" || a == "--help"; }) ==
        args.end())
        return false;
    std::fputs(usage, stdout);
    return true;
}

int commandFailed(const char* command, const std::string& message) {
    std::fprintf(stderr, "orv-host %s: %s\n", command, message.c_str());
    return 1;
}

int commandRefused(const char* command, const std::string& message) {
    commandFailed(command, message);
    return 2;
}

int commandUsageError(const char* command, const std::string& message, const char* usage) {
    std::fprintf(stderr, "orv-host %s: %s\n\n%s", command, message.c_str(), usage);
    return 2;
}
