// PrivateConfigHome: a settings folder of a test's own. It is made empty
// under /tmp and is XDG_CONFIG_HOME while it lives, so no player's saved
// choice applies unless the test writes one; afterwards the variable is as
// it was and the folder is gone.
#pragma once

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

class PrivateConfigHome {
public:
    PrivateConfigHome() {
        const char* previous = std::getenv("XDG_CONFIG_HOME");
        hadOne_ = previous != nullptr;
        if (hadOne_) previous_ = previous;
        char folder[] = "/tmp/ambrell-config-XXXXXX";
        if (!mkdtemp(folder)) return;
        path_ = folder;
        setenv("XDG_CONFIG_HOME", folder, 1);
    }
    ~PrivateConfigHome() {
        if (path_.empty()) return;
        if (hadOne_)
            setenv("XDG_CONFIG_HOME", previous_.c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    PrivateConfigHome(const PrivateConfigHome&) = delete;
    PrivateConfigHome& operator=(const PrivateConfigHome&) = delete;

    bool ok() const { return !path_.empty(); }
    const std::string& path() const { return path_; }

private:
    std::string path_, previous_;
    bool hadOne_ = false;
};
