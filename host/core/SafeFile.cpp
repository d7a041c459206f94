#include "host/core/SafeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

namespace safefile {
namespace {

// Linux's own limit on symlinks followed in one path.
constexpr int kMaxLinks = 40;

bool fail(std::string& error, const std::string& path, const std::string& reason) {
    error = path + ": " + reason;
    return false;
}

std::string systemReason(const char* doing) {
    return std::string(doing) + " (" + std::strerror(errno) + ")";
}

// What a file that is not a regular one is, for the refusals.
const char* kindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "a directory";
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    if (S_ISSOCK(mode)) return "a socket";
    return "not a regular file";
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string sizeText(std::size_t bytes) {
    if (bytes >= (1u << 20) && bytes % (1u << 20) == 0) return std::to_string(bytes >> 20) + " MiB";
    if (bytes >= 1024 && bytes % 1024 == 0) return std::to_string(bytes >> 10) + " KiB";
    return std::to_string(bytes) + " bytes";
}

bool checkStat(const std::string& path, const struct stat& st, std::size_t maxBytes, const char* kind,
               std::string& error) {
    if (!S_ISREG(st.st_mode)) return fail(error, path, std::string(kindOf(st.st_mode)) + ", not a " + kind);
    if (static_cast<unsigned long long>(st.st_size) > maxBytes)
        return fail(error, path, "larger than any " + std::string(kind) + " (over " + sizeText(maxBytes) + ")");
    return true;
}

}  // namespace

bool writeTarget(const std::string& path, std::string& target, std::string& error) {
    if (path.empty()) return fail(error, path, "no file name");
    std::string p = path;
    for (int links = 0;; ++links) {
        struct stat st;
        if (lstat(p.c_str(), &st) != 0) {
            if (errno != ENOENT) return fail(error, path, systemReason("cannot be written"));
            target = p;  // a new file; its folder is checked by creating the aside file
            return true;
        }
        if (S_ISREG(st.st_mode)) {
            target = p;
            return true;
        }
        if (!S_ISLNK(st.st_mode))
            return fail(error, path, std::string(kindOf(st.st_mode)) + "; only a regular file is replaced");
        if (links == kMaxLinks) return fail(error, path, "too many levels of symbolic links");
        char link[PATH_MAX];
        const ssize_t n = readlink(p.c_str(), link, sizeof link - 1);
        if (n < 0) return fail(error, path, systemReason("cannot be written"));
        link[n] = '\0';
        p = link[0] == '/' ? std::string(link) : folderOf(p) + "/" + link;
    }
}

bool AtomicFile::begin(const std::string& path, std::string& error) {
    abandon();
    if (!writeTarget(path, target_, error)) return false;
    path_ = path;
    const std::string folder = folderOf(target_);
    const std::string name = target_.substr(target_.find_last_of('/') + 1);
    // Hidden, and named after the target and this process, so a left-over
    // from a killed run says what it was.
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        aside_ = folder + "/." + name + ".orv-" + std::to_string(getpid()) + "-" + std::to_string(attempt);
        fd_ = open(aside_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0 && errno != EEXIST) break;
    }
    if (fd_ < 0) {
        const std::string reason = systemReason("cannot be written");
        aside_.clear();
        return fail(error, path, reason);
    }
    // A replaced file keeps its permissions (and, where allowed, its owner).
    struct stat old;
    if (stat(target_.c_str(), &old) == 0) {
        (void)fchmod(fd_, old.st_mode & 07777);
        if (fchown(fd_, old.st_uid, old.st_gid) != 0) {
            // Only the superuser may give a file away; others keep theirs.
        }
    }
    return true;
}

bool AtomicFile::write(const void* data, std::size_t size) {
    const auto* p = static_cast<const unsigned char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd_, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool AtomicFile::commit(std::string& error) {
    if (fd_ < 0) return fail(error, path_, "nothing written");
    if (fsync(fd_) != 0 || close(fd_) != 0) {
        fd_ = -1;
        const std::string reason = systemReason("cannot be written");
        abandon();
        return fail(error, path_, reason);
    }
    fd_ = -1;
    if (std::rename(aside_.c_str(), target_.c_str()) != 0) {
        const std::string reason = systemReason("cannot be replaced");
        abandon();
        return fail(error, path_, reason);
    }
    aside_.clear();
    // The rename itself reaches the disk with the folder.
    const int folder = open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        fsync(folder);
        close(folder);
    }
    return true;
}

void AtomicFile::abandon() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
    if (!aside_.empty()) unlink(aside_.c_str());
    aside_.clear();
}

bool writeWholeFile(const std::string& path, const std::vector<unsigned char>& bytes, std::string& error) {
    AtomicFile file;
    if (!file.begin(path, error)) return false;
    if (!file.write(bytes.data(), bytes.size())) {
        const std::string reason = systemReason("cannot be written");
        file.abandon();
        return fail(error, path, reason);
    }
    return file.commit(error);
}

bool checkReadable(const std::string& path, std::size_t maxBytes, const char* kind, std::string& error) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return fail(error, path, systemReason("cannot be read"));
    return checkStat(path, st, maxBytes, kind, error);
}

bool readWholeFile(const std::string& path, std::size_t maxBytes, const char* kind,
                   std::vector<unsigned char>& bytes, std::string& error) {
    bytes.clear();
    if (!checkReadable(path, maxBytes, kind, error)) return false;
    // Non-blocking, so a FIFO swapped in after the check cannot hang the
    // open; what was opened is checked again.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return fail(error, path, systemReason("cannot be read"));
    struct stat st;
    bool ok = fstat(fd, &st) == 0 && checkStat(path, st, maxBytes, kind, error);
    if (ok) {
        // One byte more than the cap tells a file that grew meanwhile.
        bytes.resize(static_cast<std::size_t>(st.st_size) + 1);
        std::size_t got = 0;
        while (got < bytes.size()) {
            const ssize_t n = read(fd, bytes.data() + got, bytes.size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                ok = fail(error, path, systemReason("cannot be read"));
                break;
            }
            if (n == 0) break;
            got += static_cast<std::size_t>(n);
            if (got > maxBytes) {
                ok = fail(error, path, "larger than any " + std::string(kind) + " (over " + sizeText(maxBytes) + ")");
                break;
            }
            if (got == bytes.size()) bytes.resize(std::min(bytes.size() * 2, maxBytes + 1));
        }
        bytes.resize(ok ? got : 0);
    }
    close(fd);
    return ok;
}

}  // namespace safefile
