// UserSettings: the player's own choices in the editor (knob behaviour and
// whatever the panel menu offers later), kept per user in a small text file
// of "key = value" lines:
//   $XDG_CONFIG_HOME/ambrell/settings (default ~/.config/ambrell/settings),
//   %APPDATA%\Ambrell\settings on Windows.
// The file is read once when an editor opens and written whole when a
// choice changes. A missing, unreadable, oversized or non-regular file means
// the defaults, never an error; lines this build does not know (other keys,
// comments) are kept as they were when the file is written again.
//
// [ui thread] only: nothing here is touched by the audio thread.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class UserSettings {
public:
    // Larger files are not ours to read: the defaults stand.
    static constexpr std::size_t kMaxFileSize = 64 * 1024;

    // The settings file of the user running this process; empty when the
    // environment names no home for it.
    static std::string defaultPath();

    // Settings kept in path (none is read yet: load); none without a path.
    explicit UserSettings(std::string path = {});

    // Reads the file; on any failure every key has its default.
    void load();
    // The value of key, or fallback when the file does not set it.
    std::string get(const std::string& key, const std::string& fallback) const;
    // Sets key and writes the file (through a new file moved into place, so
    // a reader never sees half of it); false when it could not be written.
    // The value stays set for this editor either way.
    bool set(const std::string& key, const std::string& value);

    const std::string& path() const { return path_; }

private:
    struct Line {
        std::string key;   // empty: text kept as it is
        std::string text;  // the value, or the whole line for kept text
    };
    void read();
    bool write() const;

    std::string path_;
    std::vector<Line> lines_;
};
