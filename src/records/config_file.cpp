#include "records/config_file.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include "config/option_catalogue.h"
#include "config/register_codec.h"
#include "link/register_map.h"
#include "program.h"
#include "records/file_chooser.h"
#include "records/file_system.h"
#include "records/records_banner.h"
#include "ui/main_screen_ops.h"

namespace sigcond {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMaxConfigurationBytes = 1 << 20;

bool isAcInput(const std::string& inputType) { return inputType == "ACV" || inputType == "ACC"; }

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// Lines of a text; a line ends with CR LF, LF or CR. A last line without an end counts.
std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    bool open = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            open = false;
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line += c;
            open = true;
        }
    }
    if (open) lines.push_back(line);
    return lines;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The first field of a line, read as a comma-separated text field: leading blanks skipped, a
// field in double quotes taken up to its closing quote, any other one up to the first comma
// (its trailing blanks dropped); whatever follows on the line is not part of it.
std::string firstField(const std::string& line) {
    std::size_t at = 0;
    while (at < line.size() && isBlank(line[at])) ++at;
    if (at < line.size() && line[at] == '"') {
        const std::size_t close = line.find('"', at + 1);
        return line.substr(at + 1, close == std::string::npos ? std::string::npos : close - at - 1);
    }
    std::string field = line.substr(at, line.find(',', at) - at);
    while (!field.empty() && isBlank(field.back())) field.pop_back();
    return field;
}

// Digits a register text of the slot has (0 for slots outside the register map).
std::size_t slotWidth(int slot) {
    return slot >= 1 && slot < static_cast<int>(kRegisterSlots.size())
               ? static_cast<std::size_t>(kRegisterSlots[static_cast<std::size_t>(slot)].width)
               : 0;
}

void showFileMessage(Program& p, const std::string& text) {
    p.dialogs.beep();
    p.dialogs.messageBox(text, Buttons::Ok, Icon::Exclamation, " ");
}

}  // namespace

FileProblem problemOfError(int errorNumber, const std::string& path, bool reading) {
    switch (errorNumber) {
        case 0:
            return FileProblem::None;
        case ENOENT: {
            if (!reading) return FileProblem::PathNotFound;
            std::error_code ec;
            fs::path folder = fs::path(path).parent_path();
            if (folder.empty()) folder = ".";
            return fs::is_directory(folder, ec) ? FileProblem::NotFound : FileProblem::PathNotFound;
        }
        case ENOTDIR:
            return FileProblem::PathNotFound;
        case EIO:
        case ENXIO:
        case ENODEV:
#ifdef ENOMEDIUM
        case ENOMEDIUM:
        case EMEDIUMTYPE:
#endif
#ifdef ESTALE
        case ESTALE:
#endif
#ifdef EHOSTDOWN
        case EHOSTDOWN:
#endif
            return FileProblem::DiskNotReady;
        default:
            return FileProblem::Other;
    }
}

std::string loadMessage(FileProblem problem) {
    switch (problem) {
        case FileProblem::NotFound:
            return "File does not exit.\rPlease enter again.";
        case FileProblem::DiskNotReady:
            return "Disk not ready.\rPlease enter again.";
        case FileProblem::PathNotFound:
            return "Path not found.\rPlease enter again.";
        case FileProblem::NotConfiguration:
            return "This file does not hold a configuration.\rPlease enter again.";
        default:
            return "You have enter illegal name for a file.\rPlease enter again.";
    }
}

std::string saveMessage(FileProblem problem) {
    switch (problem) {
        case FileProblem::DiskNotReady:
            return "Disk not ready.\rPlease enter again";
        case FileProblem::PathNotFound:
            return "Path not found.\rPlease enter again";
        default:
            return "You have entered illegal name for a file.\r\nPlease enter again";
    }
}

std::string configurationFileText(const std::array<std::string, 13>& registerText,
                                  int encodedGroupCount, const std::string& inputType) {
    std::string text;
    const int last = std::min(encodedGroupCount, 12);
    for (int slot = 1; slot <= last; ++slot) text += registerText[slot] + "\r\n";
    if (!isAcInput(inputType)) text += registerText[7] + "\r\n";
    return text;
}

FileProblem readConfigurationText(const std::string& text, int encodedGroupCount,
                                  const std::string& inputType,
                                  std::array<std::string, 13>& registerText) {
    const std::vector<std::string> lines = splitLines(text);
    if (lines.empty()) return FileProblem::NotConfiguration;
    // The slots the lines go into, in file order, as far as the file and the type reach.
    std::vector<int> slots;
    const int last = std::max(0, std::min(encodedGroupCount, 12));
    for (int slot = 1; slot <= last && slots.size() < lines.size(); ++slot) slots.push_back(slot);
    if (!isAcInput(inputType) && slots.size() < lines.size()) slots.push_back(7);

    std::array<std::string, 13> loaded = registerText;
    for (std::size_t n = 0; n < slots.size(); ++n) {
        std::string field = firstField(lines[n]);
        if (field.empty()) return FileProblem::NotConfiguration;
        for (char& c : field) {
            if (!isHexDigit(c)) return FileProblem::NotConfiguration;
            if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
        }
        const std::size_t width = slotWidth(slots[n]);
        if (width != 0 && field.size() != width) return FileProblem::NotConfiguration;
        loaded[slots[n]] = field;
    }
    registerText = loaded;
    return FileProblem::None;
}

int writeFileReplacing(const std::string& path, const std::string& text) {
    return replaceFile(path, text);
}

int readWholeFile(const std::string& path, std::string& text) {
    text.clear();
    std::FILE* file = openFile(path, "rb");
    if (file == nullptr) return errno;
    char buffer[4096];
    int error = 0;
    while (text.size() < kMaxConfigurationBytes) {
        const std::size_t n = std::fread(buffer, 1, sizeof buffer, file);
        text.append(buffer, n);
        if (n < sizeof buffer) {
            if (std::ferror(file)) error = errno != 0 ? errno : EIO;
            break;
        }
    }
    std::fclose(file);
    return error;
}

void saveConfiguration(Program& p) {
    for (;;) {
        if (!chooseFile(p, "Save configuration", 0)) return;
        const std::string path = p.files.configFileName;
        // Only a failure of this encoding stops the save (not a report left from earlier).
        p.screen.abortFlag = 0;
        p.config.modeMarker = "NA";
        const bool encoded = encodeConfiguration(p);
        p.config.modeMarker = "";
        if (!encoded || p.screen.abortFlag == 1) {
            p.screen.abortFlag = 0;
            return;
        }
        const std::string text = configurationFileText(
            p.registers.registerText, p.registers.encodedGroupCount, p.config.inputType);
        const int error = writeFileReplacing(path, text);
        if (error == 0) {
            showFileBanner(p, kSavedBanner);
            return;
        }
        showFileMessage(p, saveMessage(problemOfError(error, path, false)));
    }
}

void loadConfiguration(Program& p) {
    for (;;) {
        if (!chooseFile(p, "Load configuration", 0)) return;
        const std::string path = p.files.configFileName;
        std::string text;
        const int error = readWholeFile(path, text);
        FileProblem problem = problemOfError(error, path, true);
        if (problem == FileProblem::None) {
            problem = readConfigurationText(text, p.registers.encodedGroupCount,
                                            p.config.inputType, p.registers.registerText);
        }
        if (problem != FileProblem::None) {
            showFileMessage(p, loadMessage(problem));
            continue;
        }
        p.config.modeMarker = "NA";
        decodeConfiguration(p);
        p.config.modeMarker = "";
        // As after a read: the next panel commit compares the mode with the loaded one, so a
        // loaded frequency/pulse configuration keeps its scaling inputs.
        p.screen.lastOutputMode = p.config.choice[2][1];
        p.screen.currentGroup = 2;
        refreshDerivedLabels(p);
        refreshSummaryValues(p);
        p.screen.uncommittedGroup = 0;
        showFileBanner(p, kLoadedBanner);
        return;
    }
}

}  // namespace sigcond
