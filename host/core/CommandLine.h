// CommandLine: what every orv-host command reads its arguments with.
//
// Numbers are whole strings (no trailing text, nothing that is not finite)
// within a range; a program is chosen by its exact name or by its number;
// file names are told by their suffix in any case; timings are summed up by
// their median; a failure is told in one line.
#pragma once

#include <string>
#include <vector>

// True, with the value in out, when text is a finite number within lo..hi.
bool parseNumber(const std::string& text, double lo, double hi, double& out);
// The same for a whole number.
bool parseWholeNumber(const std::string& text, long lo, long hi, long& out);

// The program a user means among names: the first of that exact name, or
// else the one with that number (from 0); -1 for none.
int findProgram(const std::vector<std::string>& names, const std::string& wanted);

// True when path ends in suffix, in any case, after at least one character
// ("x.PNG" ends in ".png"; ".png" alone does not).
bool hasSuffix(const std::string& path, const std::string& suffix);

// True, after printing usage on the standard output, when args ask for
// help (-h or --help anywhere): a command then exits 0.
bool printedHelp(const std::vector<std::string>& args, const char* usage);

// One line "orv-host COMMAND: message" on the error stream; answers 1, the
// exit status of a command that failed.
int commandFailed(const char* command, const std::string& message);
// The same line; answers 2, the exit status of a command line whose
// values cannot be used.
int commandRefused(const char* command, const std::string& message);
// The same, then the command's usage; answers 2, the exit status of a
// command line that makes no sense.
int commandUsageError(const char* command, const std::string& message, const char* usage);

// The middle value; for an even count the mean of the two middle values.
// 0 for none.
double median(std::vector<double> values);
