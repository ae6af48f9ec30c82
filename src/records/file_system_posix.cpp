// Files on Linux and the other POSIX systems.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "records/file_chooser.h"
#include "records/file_system.h"

namespace sigcond {

namespace fs = std::filesystem;

namespace {

bool writeAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Writes over the file itself. A regular file is cut to the new length only after the new text
// is written (a configuration fits in the blocks the old one had, so a full disk does not leave
// it empty), then forced to the disk.
int writeInPlace(const std::string& path, const std::string& text, bool regular) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return errno;
    int error = writeAll(fd, text) ? 0 : errno;
    if (regular && error == 0 && ::ftruncate(fd, static_cast<off_t>(text.size())) != 0) {
        error = errno;
    }
    if (regular && error == 0 && ::fsync(fd) != 0 && errno != EINVAL) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    return error;
}

// The folder refuses the temporary file or its rename (the operator may not create files there,
// or another user's file in a sticky folder), although the file itself may be writable.
bool folderRefused(int error) { return error == EACCES || error == EPERM; }

}  // namespace

std::FILE* openFile(const std::string& path, const char* mode) { return std::fopen(path.c_str(), mode); }

int replaceFile(const std::string& path, const std::string& text) {
    std::error_code ec;
    fs::path target(path);
    if (fs::is_symlink(target, ec)) {
        const fs::path resolved = fs::weakly_canonical(target, ec);
        if (!ec) target = resolved;
    }
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) return EISDIR;
    if (exists && !S_ISREG(existing.st_mode)) return writeInPlace(target.string(), text, false);
    if (target.filename().empty()) return EISDIR;
    // A file that may not be written is not replaced either: neither one the system would
    // refuse to open for writing nor one whose write permissions are all off (protected by
    // its owner, which the administrator could otherwise override).
    if (exists && (::access(target.c_str(), W_OK) != 0 || (existing.st_mode & 0222) == 0)) {
        return EACCES;
    }

    fs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    std::string temporary = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        const int refused = errno;
        return exists && folderRefused(refused) ? writeInPlace(target.string(), text, true)
                                                : refused;
    }
    int error = 0;
    if (!writeAll(fd, text)) error = errno;
    if (error == 0 && ::fsync(fd) != 0 && errno != EINVAL) error = errno;
    if (error == 0 && exists) {
        // The new file takes the old one's place: its owner and group where this process may
        // give them (otherwise its own), then its permissions.
        [[maybe_unused]] const int owned = ::fchown(fd, existing.st_uid, existing.st_gid);
        ::fchmod(fd, existing.st_mode & 07777);
    } else if (error == 0) {
        ::fchmod(fd, newFileMode());
    }
    if (::close(fd) != 0 && error == 0) error = errno;
    bool renameRefused = false;
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) {
        error = errno;
        renameRefused = exists && folderRefused(error);
    }
    if (error != 0) ::unlink(temporary.c_str());
    return renameRefused ? writeInPlace(target.string(), text, true) : error;
}

std::vector<std::string> systemVolumes() {
    std::ifstream mounts("/proc/mounts");
    return volumesOf(mounts);
}

}  // namespace sigcond
