#include "editor/UserSettings.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

std::string trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

const char* environment(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
}

}  // namespace

std::string UserSettings::defaultPath() {
    try {
#ifdef _WIN32
        if (const char* appData = environment("APPDATA")) return (fs::path(appData) / "Ambrell" / "settings").string();
#else
        if (const char* config = environment("XDG_CONFIG_HOME"))
            return (fs::path(config) / "ambrell" / "settings").string();
        if (const char* home = environment("HOME")) return (fs::path(home) / ".config" / "ambrell" / "settings").string();
#endif
    } catch (...) {
        // A name the platform cannot convert: no settings file.
    }
    return {};
}

UserSettings::UserSettings(std::string path) : path_(std::move(path)) {}

void UserSettings::load() {
    lines_.clear();
    // The editor opens whatever happens here: a failure of any kind (a path
    // the platform cannot convert, memory) leaves the defaults.
    try {
        read();
    } catch (...) {
        lines_.clear();
    }
}

void UserSettings::read() {
    if (path_.empty()) return;
    // Only a plain file of a sensible size: a FIFO would block the editor's
    // opening, a device or a huge file would never end.
    std::error_code error;
    const fs::file_status status = fs::status(path_, error);
    if (error || !fs::is_regular_file(status)) return;
    const std::uintmax_t size = fs::file_size(path_, error);
    if (error || size > kMaxFileSize) return;
    std::ifstream in(path_, std::ios::binary);
    if (!in) return;
    std::string content(kMaxFileSize + 1, '\0');
    in.read(content.data(), std::streamsize(content.size()));
    if (in.bad() || std::size_t(in.gcount()) > kMaxFileSize) return;  // grew meanwhile
    content.resize(std::size_t(in.gcount()));
    if (content.find('\0') != std::string::npos) return;  // not text

    std::istringstream lines(content);
    for (std::string line; std::getline(lines, line);) {
        const auto equals = line.find('=');
        const std::string key = equals == std::string::npos ? std::string() : trimmed(line.substr(0, equals));
        if (key.empty() || key[0] == '#')
            lines_.push_back({std::string(), line});
        else
            lines_.push_back({key, trimmed(line.substr(equals + 1))});
    }
}

std::string UserSettings::get(const std::string& key, const std::string& fallback) const {
    // The last line with the key wins, as it would when read top down.
    for (auto line = lines_.rbegin(); line != lines_.rend(); ++line)
        if (line->key == key) return line->text;
    return fallback;
}

bool UserSettings::set(const std::string& key, const std::string& value) {
    bool found = false;
    for (Line& line : lines_)
        if (line.key == key) {
            line.text = value;
            found = true;
        }
    if (!found) lines_.push_back({key, value});
    try {
        return write();
    } catch (...) {
        return false;
    }
}

bool UserSettings::write() const {
    if (path_.empty()) return false;
    const fs::path target(path_);
    std::error_code error;
    if (target.has_parent_path()) fs::create_directories(target.parent_path(), error);
    if (error) return false;
    fs::path temporary = target;
    temporary += ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        for (const Line& line : lines_) out << (line.key.empty() ? line.text : line.key + " = " + line.text) << '\n';
        out.flush();
        if (!out) {
            fs::remove(temporary, error);
            return false;
        }
    }
    fs::rename(temporary, target, error);
    if (!error) return true;
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return false;
}
