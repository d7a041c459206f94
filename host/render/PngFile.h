// Writing an RGB picture as a PNG file (libpng), for orv-host screenshot.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// rgb: width x height pixels of three bytes, top row first. False, with a
// reason in error, when the file cannot be written.
bool writePng(const std::string& path, const std::vector<uint8_t>& rgb, int width, int height,
              std::string& error);
