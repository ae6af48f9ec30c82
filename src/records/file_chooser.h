// Form8, the file chooser of the configuration files and the data log, as data, and its rules.
// It is shown modally through Dialogs::runModal("Form8"); the Qt layer draws it from
// fileChooserView and forwards its events to fileChooserEvent (through dispatchEvent).
#pragma once

#include <istream>
#include <string>
#include <vector>

#include "ui/controls.h"
#include "ui/events.h"
#include "ui/window_model.h"

namespace sigcond {

struct Program;

// What the chooser is asked for and what it answers.
struct FileChoice {
    // In: the purpose text ("Load configuration", "Save configuration", "Log Data"), which is
    // the chooser's title. Out: the chosen path, "" after Cancel, "ERROR" after a rejected name.
    std::string configFileName;
    int fileChosen = 0;  // 1 when the chooser closed with a name (also a rejected one)
    int logChooser = 0;  // 1 while the chooser is open for the data log (pattern "*.DAT")
    // Folder the chooser opens in; "" = the program's working folder. Kept between uses.
    std::string lastDirectory;
};

struct FileChooser {
    bool visible = false;
    std::string title;
    Pointer pointer = Pointer::Arrow;
    std::string focus;

    Control Label4, Text1;   // "File name :" and the name box
    Control Label3, Drive1;  // "Drive :" and the mounted volumes
    Control Label1, Dir1;    // "Directories :" and the folders ("..", then sub-folders)
    Control Label2;          // the current folder
    Control File1;           // files matching the pattern
    Control Command2;        // "OK"
    Control Command1;        // "Cancel"

    std::string pattern;                // "*.CFG" or "*.DAT"
    std::string directory;              // current folder (absolute)
    std::vector<std::string> drives;    // mount points, parallel to Drive1.lines
    int rememberedDrive = -1;           // drive list entry before the last change
};

// Mount points of the volumes of a mount table in the form of /proc/mounts: "/" first, pseudo
// file systems left out (the drive list on Linux; systemVolumes() in file_system.h).
std::vector<std::string> volumesOf(std::istream& mounts);

// Index of the drive (mount point) that holds the folder: the longest mount point that is the
// folder or one of its parents; -1 when none is.
int driveOf(const std::vector<std::string>& drives, const std::string& directory);

// True when the name matches the pattern ("*" any run, "?" one character), ignoring case.
bool matchesPattern(const std::string& name, const std::string& pattern);

// Builds a fresh chooser (Form8 load) from p.files: title, pattern and lists, and shows it.
void loadFileChooser(Program& p);

// Points the chooser at a folder: directory list, file list and Label2. False (lists left as
// they were) when the folder cannot be read.
bool fileChooserSetDirectory(Program& p, const std::string& directory);

// The chooser's buttons and lists.
void fileChooserOk(Program& p);
void fileChooserCancel(Program& p);
void fileChooserFileClick(Program& p, int line);
void fileChooserFileDoubleClick(Program& p, int line);
void fileChooserDirOpen(Program& p, int line);
void fileChooserDriveChange(Program& p, int line);

// Every Form8 event (clicks, double-clicks, Enter in the name box, typing, the close box).
void fileChooserEvent(Program& p, ScreenEvent& event);

WindowView fileChooserView(Program& p);

// The file choice shared by loading, saving and the data log: commits a pending panel, then
// shows the chooser until it does not answer "ERROR". True when a path was chosen (it is in
// p.files.configFileName); false after Cancel.
bool chooseFile(Program& p, const std::string& purpose, int logChooser);

}  // namespace sigcond
