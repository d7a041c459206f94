// Writing an RGB picture as a PNG file (libpng), for orv-host screenshot and
// render --picture: encoded in memory, then written whole beside the target
// and put in its place (host/core/SafeFile.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// rgb: width x height pixels of three bytes, top row first. False, with a
// one-line reason in error, when the file cannot be written; a previous
// file at path is then as it was.
bool writePng(const std::string& path, const std::vector<uint8_t>& rgb, int width, int height,
              std::string& error);
