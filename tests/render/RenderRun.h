// Runs `orv-host render` as a user runs it, for the tests of the render
// command and of its pictures: ORV_HOST_PATH names the built host.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>

#include "support/Command.h"

struct HostRun {
    int status;
    std::string out, err;
};

// Unique to this process: tests run in parallel, other checkouts too.
inline std::string tempPath(const std::string& name) {
    return ::testing::TempDir() + "orv-render-" + std::to_string(getpid()) + "-" + name;
}

inline std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline bool exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

// Runs `orv-host render <arguments>`. A peer plug-in's own leaks are not
// ours to find in the sanitizer build.
inline HostRun render(const std::string& arguments) {
    const std::string errFile = tempPath("stderr.txt");
    const CommandRun run = runCommand("ASAN_OPTIONS=detect_leaks=0 " + std::string(ORV_HOST_PATH) +
                                      " render " + arguments + " 2>" + errFile);
    return {run.status, run.out, slurp(errFile)};
}
