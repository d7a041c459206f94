// TuningLibrary: the tunings a player has at hand, for the panel menu.
//
// Every .scl file in the tuning folders, each with the .kbm of the same name
// beside it when there is one. The folders, first to last:
//   $XDG_DATA_HOME/ambrell/tunings (default ~/.local/share/ambrell/tunings),
//   then ambrell/tunings in each of $XDG_DATA_DIRS (default
//   /usr/local/share:/usr/share); %APPDATA%\Ambrell\tunings on Windows.
// A name found in an earlier folder hides the same name in a later one, so
// a player's own file wins over the system's.
//
// [ui thread] It reads folders and files: never on the audio thread.
#pragma once

#include <string>
#include <vector>

#include "tuning/Tuning.h"

struct TuningFile {
    std::string name;   // the file's name without ".scl"
    std::string scale;  // path of the .scl
    std::string map;    // path of the .kbm, or empty
};

// The folders searched, in order, from the environment.
std::vector<std::string> tuningFolders();

// The tunings in folders, sorted by name.
std::vector<TuningFile> findTunings(const std::vector<std::string>& folders = tuningFolders());

// Reads and builds the tuning of file; false with a one-line error.
bool loadTuning(const TuningFile& file, Tuning& tuning, std::string& error);
