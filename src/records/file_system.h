// The file operations that differ between the systems: opening a file, replacing one safely,
// and the volumes the file chooser offers. Paths are as the rest of the program holds them;
// failures are given as the C library's error numbers (errno values) on every system.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace sigcond {

// Opens a file in binary mode ("rb", "wb" or "ab": never a text-mode translation of line
// ends). Null with errno set when it cannot be opened. On Windows the file stays deletable and
// renamable by others while it is open, as on Linux.
std::FILE* openFile(const std::string& path, const char* mode);

// The replace of writeFileReplacing (config_file.h), on the system's own calls.
int replaceFile(const std::string& path, const std::string& text);

// Where the operator's files may be: Linux: "/" and the mounted file systems that hold files;
// Windows: the drives ("C:\", "D:\", ...).
std::vector<std::string> systemVolumes();

}  // namespace sigcond
