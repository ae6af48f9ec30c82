#include "records/file_chooser.h"

#include <algorithm>
#include <cctype>
#include <istream>
#include <filesystem>
#include <set>
#include <sstream>
#include <system_error>

#include "program.h"
#include "records/file_system.h"
#include "ui/main_screen_ops.h"

namespace sigcond {

namespace fs = std::filesystem;

namespace {

// File systems that hold no operator files.
const std::set<std::string> kPseudoFileSystems = {
    "proc",    "sysfs",     "devpts",    "devtmpfs", "tmpfs",      "cgroup",     "cgroup2",
    "securityfs", "debugfs", "tracefs",  "pstore",   "bpf",        "mqueue",     "hugetlbfs",
    "configfs", "fusectl",  "binfmt_misc", "autofs", "rpc_pipefs", "nsfs",       "efivarfs",
    "selinuxfs", "ramfs",   "nfsd",      "fuse.gvfsd-fuse", "fuse.portal", "squashfs"};

// /proc/mounts writes blanks and a few other characters as "\ooo".
std::string unescapeMountPath(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() &&
            std::isdigit(static_cast<unsigned char>(text[i + 1])) &&
            std::isdigit(static_cast<unsigned char>(text[i + 2])) &&
            std::isdigit(static_cast<unsigned char>(text[i + 3]))) {
            out += static_cast<char>((text[i + 1] - '0') * 64 + (text[i + 2] - '0') * 8 +
                                     (text[i + 3] - '0'));
            i += 3;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

bool matchFrom(const std::string& name, std::size_t n, const std::string& pattern, std::size_t k) {
    while (k < pattern.size()) {
        const char pc = pattern[k];
        if (pc == '*') {
            for (std::size_t start = n; start <= name.size(); ++start) {
                if (matchFrom(name, start, pattern, k + 1)) return true;
            }
            return false;
        }
        if (n >= name.size()) return false;
        if (pc != '?' && std::toupper(static_cast<unsigned char>(pc)) !=
                             std::toupper(static_cast<unsigned char>(name[n]))) {
            return false;
        }
        ++n;
        ++k;
    }
    return n == name.size();
}

std::string workingFolder() {
    std::error_code ec;
    fs::path here = fs::current_path(ec);
    return ec ? std::string("/") : here.string();
}

bool sameText(const std::string& a, const std::string& b) { return upper(a) == upper(b); }

bool isSeparator(char c) {
    return c == '/' || c == static_cast<char>(fs::path::preferred_separator);
}

bool endsWithSeparator(const std::string& path) { return !path.empty() && isSeparator(path.back()); }

// A folder with no parent: "/" (Windows: a drive's root, "C:\").
bool isRoot(const std::string& path) {
    const fs::path p(path);
    return p.has_root_directory() && p.relative_path().empty();
}

// The root of the working folder's volume, the last folder to fall back on.
std::string rootFolder() { return fs::path(workingFolder()).root_path().string(); }

// The folder lies on the volume (a drive letter in any case).
bool onVolume(const std::string& directory, const std::string& volume) {
    if (directory.size() < volume.size()) return false;
    const bool drive = volume.size() >= 2 && volume[1] == ':';
    const std::string head = directory.substr(0, volume.size());
    if (!(drive ? sameText(head, volume) : head == volume)) return false;
    return directory.size() == volume.size() || endsWithSeparator(volume) ||
           isSeparator(directory[volume.size()]);
}

}  // namespace

std::vector<std::string> volumesOf(std::istream& mounts) {
    std::vector<std::string> volumes = {"/"};
    std::string line;
    while (std::getline(mounts, line)) {
        std::istringstream fields(line);
        std::string device, mountPoint, type;
        if (!(fields >> device >> mountPoint >> type)) continue;
        if (kPseudoFileSystems.count(type) != 0) continue;
        mountPoint = unescapeMountPath(mountPoint);
        if (mountPoint.empty() || mountPoint[0] != '/') continue;
        // The system's own places; but removable media that the desktop mounts under
        // /run/media/<user> are the operator's.
        if (mountPoint.rfind("/proc", 0) == 0 || mountPoint.rfind("/sys", 0) == 0 ||
            mountPoint.rfind("/dev", 0) == 0 ||
            (mountPoint.rfind("/run", 0) == 0 && mountPoint.rfind("/run/media/", 0) != 0)) {
            continue;
        }
        if (std::find(volumes.begin(), volumes.end(), mountPoint) == volumes.end()) {
            volumes.push_back(mountPoint);
        }
    }
    std::sort(volumes.begin() + 1, volumes.end());
    return volumes;
}

bool matchesPattern(const std::string& name, const std::string& pattern) {
    return matchFrom(name, 0, pattern, 0);
}

int driveOf(const std::vector<std::string>& drives, const std::string& directory) {
    int best = -1;
    std::size_t bestLength = 0;
    for (std::size_t i = 0; i < drives.size(); ++i) {
        const std::string& d = drives[i];
        if (onVolume(directory, d) && (best < 0 || d.size() > bestLength)) {
            best = static_cast<int>(i);
            bestLength = d.size();
        }
    }
    return best;
}

bool fileChooserSetDirectory(Program& p, const std::string& directory) {
    FileChooser& w = p.form8;
    std::error_code ec;
    const fs::path folder = fs::absolute(fs::path(directory), ec).lexically_normal();
    if (ec) return false;
    std::vector<std::string> folders;
    std::vector<std::string> files;
    fs::directory_iterator it(folder, ec);
    if (ec) return false;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) return false;
        const fs::directory_entry& entry = *it;
        std::error_code typeError;
        const std::string name = entry.path().filename().string();
        if (entry.is_directory(typeError)) {
            folders.push_back(name);
        } else if (matchesPattern(name, w.pattern)) {
            files.push_back(name);
        }
    }
    std::sort(folders.begin(), folders.end());
    std::sort(files.begin(), files.end());
    std::string text = folder.string();
    if (!isRoot(text) && endsWithSeparator(text)) text.pop_back();
    w.directory = text;
    w.Label2.caption = text;
    w.Dir1.lines.clear();
    if (!isRoot(text)) w.Dir1.lines.push_back("..");
    w.Dir1.lines.insert(w.Dir1.lines.end(), folders.begin(), folders.end());
    w.Dir1.selected = -1;
    w.File1.lines = files;
    w.File1.selected = -1;
    return true;
}

void loadFileChooser(Program& p) {
    FileChooser& w = p.form8;
    w = FileChooser{};
    w.title = p.files.configFileName;
    w.Label4.caption = "File name :";
    w.Label3.caption = "Drive :";
    w.Label1.caption = "Directories :";
    w.Command2.caption = "OK";
    w.Command1.caption = "Cancel";
    if (p.files.logChooser == 1) {
        w.pattern = "*.DAT";
        w.Text1.caption = "*.dat";
    } else {
        w.pattern = "*.CFG";
        w.Text1.caption = "*.cfg";
    }
    w.drives = systemVolumes();
    w.Drive1.lines = w.drives;
    std::string start = p.files.lastDirectory.empty() ? workingFolder() : p.files.lastDirectory;
    if (!fileChooserSetDirectory(p, start) && !fileChooserSetDirectory(p, workingFolder())) {
        fileChooserSetDirectory(p, rootFolder());
    }
    w.Drive1.selected = driveOf(w.drives, w.directory);
    w.rememberedDrive = w.Drive1.selected;
    w.focus = "Text1";
    w.visible = true;
}

void fileChooserDriveChange(Program& p, int line) {
    FileChooser& w = p.form8;
    if (line < 0 || line >= static_cast<int>(w.drives.size())) return;
    if (line == w.rememberedDrive) return;
    // The folder in use on the remembered drive, to go back to after Cancel.
    const std::string previousDirectory = w.directory;
    w.Drive1.selected = line;
    for (;;) {
        w.pointer = Pointer::Hourglass;
        const bool readable = fileChooserSetDirectory(p, w.drives[w.Drive1.selected]);
        w.pointer = Pointer::Arrow;
        if (readable) {
            w.rememberedDrive = w.Drive1.selected;
            return;
        }
        const Answer answer =
            p.dialogs.messageBox("Disk not ready", Buttons::RetryCancel, Icon::Exclamation, " ");
        if (answer == Answer::Retry) continue;
        w.Drive1.selected = w.rememberedDrive;
        if (w.rememberedDrive < 0) return;
        w.pointer = Pointer::Hourglass;
        if (!fileChooserSetDirectory(p, previousDirectory)) {
            fileChooserSetDirectory(p, w.drives[w.rememberedDrive]);
        }
        w.pointer = Pointer::Arrow;
        return;
    }
}

void fileChooserDirOpen(Program& p, int line) {
    FileChooser& w = p.form8;
    if (line < 0 || line >= static_cast<int>(w.Dir1.lines.size())) return;
    const std::string& entry = w.Dir1.lines[line];
    std::string target;
    if (entry == "..") {
        target = fs::path(w.directory).parent_path().string();
    } else {
        target = (fs::path(w.directory) / entry).string();
    }
    if (fileChooserSetDirectory(p, target)) {
        w.Drive1.selected = driveOf(w.drives, w.directory);
        w.rememberedDrive = w.Drive1.selected;
    }
}

void fileChooserFileClick(Program& p, int line) {
    FileChooser& w = p.form8;
    if (line < 0 || line >= static_cast<int>(w.File1.lines.size())) return;
    w.File1.selected = line;
    w.Text1.caption = w.File1.lines[line];
}

void fileChooserFileDoubleClick(Program& p, int line) {
    FileChooser& w = p.form8;
    if (line < 0 || line >= static_cast<int>(w.File1.lines.size())) return;
    fileChooserFileClick(p, line);
    fileChooserOk(p);
}

void fileChooserCancel(Program& p) {
    p.files.configFileName = "";
    p.form8.visible = false;
}

void fileChooserOk(Program& p) {
    FileChooser& w = p.form8;
    const std::string ext = w.pattern.size() >= 3 ? w.pattern.substr(w.pattern.size() - 3) : "";
    const std::string& name = w.Text1.caption;
    if (name.empty() || sameText(name, "*.cfg") || sameText(name, "*.dat")) {
        if (!fileChooserSetDirectory(p, w.directory)) fileChooserSetDirectory(p, rootFolder());
        return;
    }
    if (fs::path(name).has_root_directory()) {
        // A complete path, used as typed.
        p.files.configFileName = name;
    } else {
        const std::string prefix =
            w.directory.empty() || endsWithSeparator(w.directory)
                ? w.directory
                : w.directory + static_cast<char>(fs::path::preferred_separator);
        const std::size_t dot = name.find('.');
        if (dot == std::string::npos) {
            p.files.configFileName = prefix + name + "." + ext;
        } else if (upper(name.substr(dot + 1, 3)) == ext) {
            p.files.configFileName = prefix + name;
        } else {
            p.dialogs.beep();
            p.dialogs.messageBox("File name should be filename." + ext + "\r", Buttons::Ok,
                                 Icon::Exclamation, " ");
            p.files.configFileName = "ERROR";
        }
    }
    p.files.lastDirectory = w.directory;
    p.files.fileChosen = 1;
    w.visible = false;
}

void fileChooserEvent(Program& p, ScreenEvent& event) {
    const std::string& c = event.control;
    switch (event.kind) {
        case EventKind::Click:
            if (c == "Command2") fileChooserOk(p);
            else if (c == "Command1") fileChooserCancel(p);
            else if (c == "File1") fileChooserFileClick(p, event.selected);
            else if (c == "Drive1") fileChooserDriveChange(p, event.selected);
            else if (c == "Dir1") p.form8.Dir1.selected = event.selected;
            break;
        case EventKind::DoubleClick:
            if (c == "File1") fileChooserFileDoubleClick(p, event.selected);
            else if (c == "Dir1") fileChooserDirOpen(p, event.selected);
            break;
        case EventKind::Change:
            if (c == "Text1") p.form8.Text1.caption = event.text;
            else if (c == "Drive1") fileChooserDriveChange(p, event.selected);
            break;
        case EventKind::KeyPress:
            if (c == "Text1" && event.keyAscii == 13) {
                event.keyAscii = 0;
                fileChooserOk(p);
            }
            break;
        case EventKind::CloseRequest:
            fileChooserCancel(p);
            break;
        default:
            break;
    }
}

WindowView fileChooserView(Program& p) {
    FileChooser& w = p.form8;
    WindowView v;
    v.name = "Form8";
    v.title = &w.title;
    v.visible = &w.visible;
    v.modal = true;
    v.widthTwips = 6600;
    v.heightTwips = 4600;
    v.pointer = &w.pointer;
    v.focus = &w.focus;
    auto place = [](Control& c, int left, int top, int width, int height) {
        c.left = left;
        c.top = top;
        c.width = width;
        c.height = height;
    };
    place(w.Label4, 120, 120, 1200, 285);
    place(w.Text1, 120, 420, 3000, 315);
    place(w.File1, 120, 840, 3000, 2400);
    place(w.Label1, 3360, 120, 1500, 285);
    place(w.Label2, 3360, 420, 3000, 285);
    place(w.Dir1, 3360, 840, 3000, 2400);
    place(w.Label3, 3360, 3330, 1000, 285);
    place(w.Drive1, 3360, 3630, 3000, 600);
    place(w.Command2, 120, 3420, 1300, 375);
    place(w.Command1, 1620, 3420, 1300, 375);
    v.controls = {
        {"Label4", -1, ControlKind::Label, &w.Label4, ""},
        {"Text1", -1, ControlKind::TextBox, &w.Text1, ""},
        {"File1", -1, ControlKind::ListBox, &w.File1, ""},
        {"Label1", -1, ControlKind::Label, &w.Label1, ""},
        {"Label2", -1, ControlKind::Label, &w.Label2, ""},
        {"Dir1", -1, ControlKind::ListBox, &w.Dir1, ""},
        {"Label3", -1, ControlKind::Label, &w.Label3, ""},
        {"Drive1", -1, ControlKind::ListBox, &w.Drive1, ""},
        {"Command2", -1, ControlKind::Button, &w.Command2, ""},
        {"Command1", -1, ControlKind::Button, &w.Command1, ""},
    };
    return v;
}

bool chooseFile(Program& p, const std::string& purpose, int logChooser) {
    backToSummary(p);
    commitPendingPanel(p);
    p.files.logChooser = logChooser;
    do {
        p.files.fileChosen = 0;
        p.files.configFileName = purpose;
        p.form8.visible = false;
        loadFileChooser(p);
        p.dialogs.runModal("Form8");
        // A window the operator's side left open counts as Cancel.
        if (p.form8.visible) fileChooserCancel(p);
    } while (p.files.configFileName == "ERROR");
    p.files.logChooser = 0;
    if (p.files.fileChosen == 0) return false;
    p.files.fileChosen = 0;
    return true;
}

}  // namespace sigcond
