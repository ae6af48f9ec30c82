// Saving and loading a configuration file (.CFG): the register texts of the configuration,
// one per line, CR LF line ends, 8-bit text. The input type is not stored; a file is read under
// the input type that is current when it is loaded.
#pragma once

#include <array>
#include <string>

namespace sigcond {

struct Program;

inline constexpr const char* kSavedBanner = "The CONFIGURATION is succesfully saved. ";
inline constexpr const char* kLoadedBanner = "The CONFIGURATION is succesfully loaded. ";

// What went wrong with a file, as the operator is told.
enum class FileProblem {
    None,
    NotFound,          // the file does not exist (its folder does)
    DiskNotReady,      // the medium is missing or cannot be read
    PathNotFound,      // a folder of the path does not exist
    Other,             // anything else (the name, permissions, a full disk, ...)
    NotConfiguration,  // the file is readable but holds no configuration
};

// The problem a system error number stands for. A missing entry counts as a missing file
// when reading from an existing folder, otherwise as a missing path.
FileProblem problemOfError(int errorNumber, const std::string& path, bool reading);

// The message shown for a problem of a load, a save (also used when the data log cannot be
// opened).
std::string loadMessage(FileProblem problem);
std::string saveMessage(FileProblem problem);

// The file's text for the register image of the given input type: slots 1..groupCount, then
// slot 7 unless the type is "ACV" or "ACC", each line ended by CR LF.
std::string configurationFileText(const std::array<std::string, 13>& registerText,
                                  int encodedGroupCount, const std::string& inputType);

// Reads a configuration file's text into the register slots as a load does: slots
// 1..encodedGroupCount in file order, then slot 7 unless the type is "ACV" or "ACC"; a short
// text leaves the later slots as they were. Each line gives its first comma-separated field
// (leading blanks skipped, surrounding double quotes removed, the rest of the line ignored).
// Returns NotConfiguration (slots untouched) when the text has no lines, or a field read is
// not hexadecimal digits of its register's width (24 for slot 4, 2 for the others).
FileProblem readConfigurationText(const std::string& text, int encodedGroupCount,
                                  const std::string& inputType,
                                  std::array<std::string, 13>& registerText);

// Writes the text to a temporary file in the target's folder and renames it over the target,
// so the target is either the old file or the complete new one; a replaced file keeps its
// permissions, and its owner and group where the system allows. A file that may not be
// written (the system refuses it, or all its write permissions are off) is left as it is
// (EACCES). A target that exists and is not a regular file (a device) is written in place, and
// so is an existing file whose folder refuses the temporary file or the rename (a shared
// folder the operator may not create files in, another user's file in a sticky folder): there
// the file is cut to the new length after the new text is written, then synced to the disk.
// Returns 0 or the system's error number.
int writeFileReplacing(const std::string& path, const std::string& text);

// Reads a whole file (at most 1 MiB, more than any configuration). Returns 0 or the system's
// error number.
int readWholeFile(const std::string& path, std::string& text);

// "Save": choose the file, encode, write; a failure is reported and the chooser comes back.
void saveConfiguration(Program& p);
// "Open": choose the file, read, decode; a failure is reported and the chooser comes back.
void loadConfiguration(Program& p);

}  // namespace sigcond
