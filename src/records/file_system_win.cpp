// Files on Windows. The program's texts are 8-bit (the system's code page), so paths are
// widened as std::filesystem does it for narrow strings.
#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "records/file_system.h"

namespace sigcond {

namespace fs = std::filesystem;

namespace {

// The error number a Windows error stands for, as config_file.h's problemOfError reads them.
int errorNumberOf(DWORD error) {
    switch (error) {
        case ERROR_SUCCESS:
            return 0;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_WRITE_PROTECT:
            return EACCES;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_NOT_READY:
        case ERROR_DEV_NOT_EXIST:
        case ERROR_BAD_NETPATH:
        case ERROR_NETNAME_DELETED:
        case ERROR_BAD_NET_NAME:
        case ERROR_UNRECOGNIZED_MEDIA:
        case ERROR_CRC:
        case ERROR_SEEK:
        case ERROR_SECTOR_NOT_FOUND:
        case ERROR_GEN_FAILURE:
        case ERROR_IO_DEVICE:
            return EIO;
        case ERROR_DIRECTORY:
            return ENOTDIR;
        default:
            return EINVAL;  // a name the system will not take, and the rest
    }
}

int lastErrorNumber() { return errorNumberOf(GetLastError()); }

std::wstring wide(const std::string& path) {
    return fs::path(path).wstring();
}

bool writeAll(HANDLE file, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(text.size() - done, 1 << 20));
        DWORD written = 0;
        if (!WriteFile(file, text.data() + done, chunk, &written, nullptr)) return false;
        done += written;
    }
    return true;
}

// Writes over the file itself, cut to the new length only after the new text is written (a
// configuration fits in the blocks the old one had), then forced to the disk.
int writeInPlace(const std::wstring& path, const std::string& text, bool regular) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return lastErrorNumber();
    int error = writeAll(file, text) ? 0 : lastErrorNumber();
    if (regular && error == 0 && !SetEndOfFile(file)) error = lastErrorNumber();
    if (regular && error == 0 && !FlushFileBuffers(file)) error = lastErrorNumber();
    CloseHandle(file);
    return error;
}

}  // namespace

std::FILE* openFile(const std::string& path, const char* mode) {
    DWORD access = GENERIC_READ;
    DWORD disposition = OPEN_EXISTING;
    int flags = _O_RDONLY | _O_BINARY;
    if (std::strchr(mode, 'w') != nullptr) {
        access = GENERIC_WRITE;
        disposition = CREATE_ALWAYS;
        flags = _O_WRONLY | _O_BINARY;
    } else if (std::strchr(mode, 'a') != nullptr) {
        access = FILE_APPEND_DATA;
        disposition = OPEN_ALWAYS;
        flags = _O_WRONLY | _O_APPEND | _O_BINARY;
    }
    HANDLE file = CreateFileW(wide(path).c_str(), access,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        errno = lastErrorNumber();
        return nullptr;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), flags);
    if (fd < 0) {
        CloseHandle(file);
        errno = EMFILE;
        return nullptr;
    }
    std::FILE* stream = _fdopen(fd, mode);
    if (stream == nullptr) _close(fd);
    return stream;
}

int replaceFile(const std::string& path, const std::string& text) {
    const std::wstring target = wide(path);
    if (target.empty() || target.back() == L'\\' || target.back() == L'/') return EISDIR;
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return EISDIR;
    // A read-only file is not replaced either.
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY) != 0) return EACCES;
    if (exists) {
        // A device (a COM port, say) is written as it is.
        HANDLE probe = CreateFileW(target.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (probe != INVALID_HANDLE_VALUE) {
            const DWORD type = GetFileType(probe);
            CloseHandle(probe);
            if (type != FILE_TYPE_DISK) return writeInPlace(target, text, false);
        }
    }

    const fs::path targetPath(target);
    fs::path folder = targetPath.parent_path();
    if (folder.empty()) folder = L".";
    std::wstring temporary;
    HANDLE file = INVALID_HANDLE_VALUE;
    DWORD refused = ERROR_SUCCESS;
    for (unsigned attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = (folder / (L"." + targetPath.filename().wstring() + L"." +
                               std::to_wstring(GetCurrentProcessId()) + L"-" +
                               std::to_wstring(GetTickCount() + attempt)))
                        .wstring();
        file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        refused = file == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
        if (refused != ERROR_FILE_EXISTS && refused != ERROR_ALREADY_EXISTS) break;
    }
    if (file == INVALID_HANDLE_VALUE) {
        const int error = errorNumberOf(refused);
        return exists && error == EACCES ? writeInPlace(target, text, true) : error;
    }
    int error = writeAll(file, text) ? 0 : lastErrorNumber();
    if (error == 0 && !FlushFileBuffers(file)) error = lastErrorNumber();
    CloseHandle(file);
    bool renameRefused = false;
    if (error == 0 && !MoveFileExW(temporary.c_str(), target.c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = lastErrorNumber();
        renameRefused = exists && error == EACCES;
    }
    if (error != 0) DeleteFileW(temporary.c_str());
    return renameRefused ? writeInPlace(target, text, true) : error;
}

std::vector<std::string> systemVolumes() {
    std::vector<std::string> drives;
    const DWORD present = GetLogicalDrives();
    for (int n = 0; n < 26; ++n) {
        if ((present & (1u << n)) != 0) drives.push_back(std::string(1, char('A' + n)) + ":\\");
    }
    return drives;
}

}  // namespace sigcond
