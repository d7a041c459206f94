// SafeFile: how every orv-host command reads and writes files.
//
// Writing: the bytes go to a new file beside the target, which is flushed
// to disk and renamed over the target only when complete, so a failure
// (a full disk, a killed run) leaves either the previous file whole or no
// file at all, never a partial one. A symlink is followed and its target
// replaced; a target that exists must be a regular file (a directory, a
// device, a FIFO or a socket is refused before anything is written). A
// replaced file keeps its permission bits.
//
// Reading: only a regular file no larger than the caller's cap is opened,
// so a device, a FIFO, a directory or an endless stream is refused with one
// line before a byte is read.
//
// Every failure comes back as one line, "PATH: reason". Not thread-safe
// per object; no global state.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace safefile {

// The file that writing to path replaces: path itself, or the end of its
// chain of symlinks. False with the reason when that is not a regular file
// or cannot be reached.
bool writeTarget(const std::string& path, std::string& target, std::string& error);

// A file being written beside its target.
class AtomicFile {
public:
    AtomicFile() = default;
    ~AtomicFile() { abandon(); }
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the aside file for path. False with the reason when path
    // cannot be written (see writeTarget) or its folder takes no new file.
    bool begin(const std::string& path, std::string& error);
    // The open aside file (read and write), for writers that take a
    // descriptor.
    int descriptor() const { return fd_; }
    // All of size bytes appended; false (errno kept) when not.
    bool write(const void* data, std::size_t size);
    // Flushes the aside file and renames it over the target. On failure the
    // aside file is removed and the target is as it was.
    bool commit(std::string& error);
    // Removes the aside file, if any; the target is untouched.
    void abandon();

private:
    std::string path_, target_, aside_;
    int fd_ = -1;
};

// The whole of bytes to path, as AtomicFile writes.
bool writeWholeFile(const std::string& path, const std::vector<unsigned char>& bytes, std::string& error);

// kind names what the file should be in the refusals ("MIDI file",
// "preset"). False with the reason when path is not a regular file of at
// most maxBytes.
bool checkReadable(const std::string& path, std::size_t maxBytes, const char* kind, std::string& error);
// The whole file after the same checks (made again on the open file).
bool readWholeFile(const std::string& path, std::size_t maxBytes, const char* kind,
                   std::vector<unsigned char>& bytes, std::string& error);

}  // namespace safefile
