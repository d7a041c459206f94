#include "tuning/TuningLibrary.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <system_error>

namespace fs = std::filesystem;

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool endsWith(const std::string& s, const std::string& suffix) {
    return s.size() > suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace

std::vector<std::string> tuningFolders() {
    std::vector<std::string> folders;
#ifdef _WIN32
    if (const std::string appData = environment("APPDATA"); !appData.empty())
        folders.push_back(appData + "\\Ambrell\\tunings");
#else
    std::string data = environment("XDG_DATA_HOME");
    if (data.empty() && !environment("HOME").empty()) data = environment("HOME") + "/.local/share";
    if (!data.empty()) folders.push_back(data + "/ambrell/tunings");
    std::string dirs = environment("XDG_DATA_DIRS");
    if (dirs.empty()) dirs = "/usr/local/share:/usr/share";
    for (std::size_t start = 0; start <= dirs.size();) {
        std::size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        if (end > start) folders.push_back(dirs.substr(start, end - start) + "/ambrell/tunings");
        start = end + 1;
    }
#endif
    return folders;
}

std::vector<TuningFile> findTunings(const std::vector<std::string>& folders) {
    std::vector<TuningFile> found;
    std::set<std::string> names;
    for (const std::string& folder : folders) {
        std::error_code error;
        for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
            const fs::path path = it->path();
            const std::string file = path.filename().string();
            if (!endsWith(file, ".scl") || !it->is_regular_file(error)) continue;
            TuningFile t;
            t.name = file.substr(0, file.size() - 4);
            if (!names.insert(t.name).second) continue;  // an earlier folder has it
            t.scale = path.string();
            fs::path map = path;
            map.replace_extension(".kbm");
            if (fs::is_regular_file(map, error)) t.map = map.string();
            found.push_back(std::move(t));
        }
    }
    std::sort(found.begin(), found.end(), [](const TuningFile& a, const TuningFile& b) { return a.name < b.name; });
    return found;
}

bool loadTuning(const TuningFile& file, Tuning& tuning, std::string& error) {
    std::string scale, map;
    if (!readTuningFile(file.scale, scale, error)) return false;
    if (!file.map.empty() && !readTuningFile(file.map, map, error)) return false;
    return Tuning::fromText(scale, file.scale, map, file.map, tuning, error);
}
