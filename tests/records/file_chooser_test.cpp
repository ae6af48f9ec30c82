#include "records/file_chooser.h"

#include <gtest/gtest.h>

#include <sstream>

#include "records_bench.h"

namespace sigcond {
namespace {

using test::RecordsBench;

TEST(FileChooser, OpensWithPatternTitleAndListsMatchingFilesIgnoringCase) {
    RecordsBench b;
    test::writeText(b.path("MYSET.CFG"), "");
    test::writeText(b.path("myset.cfg"), "");
    test::writeText(b.path("other.txt"), "");
    test::writeText(b.path("log.dat"), "");
    std::filesystem::create_directory(b.folder / "sub");
    b.p.files.configFileName = "Save configuration";
    loadFileChooser(b.p);
    const FileChooser& w = b.p.form8;
    EXPECT_TRUE(w.visible);
    EXPECT_EQ(w.title, "Save configuration");
    EXPECT_EQ(w.Text1.caption, "*.cfg");
    EXPECT_EQ(w.pattern, "*.CFG");
    EXPECT_EQ(w.Label2.caption, b.folder.string());
    // Both names where the file system tells case apart (not on Windows).
    const bool apart = std::distance(std::filesystem::directory_iterator(b.folder),
                                     std::filesystem::directory_iterator()) == 5;
    const std::vector<std::string> listed =
        apart ? std::vector<std::string>{"MYSET.CFG", "myset.cfg"}
              : std::vector<std::string>{"MYSET.CFG"};
    EXPECT_EQ(w.File1.lines, listed);
    EXPECT_EQ(w.Dir1.lines, (std::vector<std::string>{"..", "sub"}));
    EXPECT_FALSE(w.Drive1.lines.empty());
    // "/" or the drives; the one selected holds the folder.
    EXPECT_EQ(w.Drive1.lines[0], std::filesystem::path(w.Drive1.lines[0]).root_path().string());
    ASSERT_GE(w.Drive1.selected, 0);
    EXPECT_EQ(std::filesystem::path(w.Drive1.lines[w.Drive1.selected]).root_path(),
              b.folder.root_path());

    b.p.files.logChooser = 1;
    loadFileChooser(b.p);
    EXPECT_EQ(b.p.form8.Text1.caption, "*.dat");
    EXPECT_EQ(b.p.form8.File1.lines, (std::vector<std::string>{"log.dat"}));
}

TEST(FileChooser, NameRulesCompleteTheExtensionOrRejectTheName) {
    RecordsBench b;
    const std::string prefix = b.path("");
    struct Case {
        std::string typed;
        std::string expected;
    };
    const Case cases[] = {
        {"MYSET", prefix + "MYSET.CFG"},
        {"myset.cfg", prefix + "myset.cfg"},
        {"MYSET.Cfg", prefix + "MYSET.Cfg"},
        {"/elsewhere/X.TXT", "/elsewhere/X.TXT"},  // a complete path is taken as typed
        {"MYSET.TXT", "ERROR"},
        {"MYSET.", "ERROR"},
        {"MYSET.CFGX", prefix + "MYSET.CFGX"},  // only three characters are compared
    };
    for (const Case& c : cases) {
        b.p.files.configFileName = "Save configuration";
        b.p.files.fileChosen = 0;
        loadFileChooser(b.p);
        b.p.form8.Text1.caption = c.typed;
        fileChooserOk(b.p);
        EXPECT_EQ(b.p.files.configFileName, c.expected) << c.typed;
        EXPECT_EQ(b.p.files.fileChosen, 1) << c.typed;
        EXPECT_FALSE(b.p.form8.visible) << c.typed;
    }
    b.p.files.lastDirectory = "/";
    loadFileChooser(b.p);
    b.p.form8.Text1.caption = "ROOT";
    fileChooserOk(b.p);
    EXPECT_EQ(b.p.files.configFileName, (std::filesystem::absolute("/") / "ROOT.CFG").string());
    ASSERT_EQ(b.dialogs.messages.size(), 2u);
    EXPECT_EQ(b.dialogs.messages[0].text, "File name should be filename.CFG\r");
    EXPECT_EQ(b.dialogs.messages[0].icon, Icon::Exclamation);
    EXPECT_EQ(b.dialogs.messages[0].title, " ");
    EXPECT_EQ(b.dialogs.beeps, 2);
}

TEST(FileChooser, WildcardOrEmptyNameOnlyRefreshesTheLists) {
    RecordsBench b;
    b.p.files.configFileName = "Load configuration";
    loadFileChooser(b.p);
    EXPECT_TRUE(b.p.form8.File1.lines.empty());
    test::writeText(b.path("NEW.CFG"), "");
    for (const std::string typed : {"*.cfg", ""}) {
        b.p.form8.Text1.caption = typed;
        fileChooserOk(b.p);
        EXPECT_TRUE(b.p.form8.visible);
        EXPECT_EQ(b.p.files.fileChosen, 0);
        EXPECT_EQ(b.p.files.configFileName, "Load configuration");
    }
    EXPECT_EQ(b.p.form8.File1.lines, (std::vector<std::string>{"NEW.CFG"}));
}

TEST(FileChooser, FileClicksEnterAndFolderNavigation) {
    RecordsBench b;
    std::filesystem::create_directory(b.folder / "jobs");
    test::writeText(b.path("jobs/PUMP.CFG"), "");
    b.p.files.configFileName = "Load configuration";
    loadFileChooser(b.p);
    fileChooserDirOpen(b.p, 1);  // "jobs"
    EXPECT_EQ(b.p.form8.Label2.caption, b.path("jobs"));
    ASSERT_EQ(b.p.form8.File1.lines, (std::vector<std::string>{"PUMP.CFG"}));
    fileChooserFileClick(b.p, 0);
    EXPECT_EQ(b.p.form8.Text1.caption, "PUMP.CFG");
    EXPECT_EQ(b.p.form8.File1.selected, 0);
    EXPECT_TRUE(b.p.form8.visible);

    ScreenEvent enter{.window = "Form8", .control = "Text1", .kind = EventKind::KeyPress,
                      .keyAscii = 13};
    fileChooserEvent(b.p, enter);
    EXPECT_EQ(enter.keyAscii, 0);
    EXPECT_EQ(b.p.files.configFileName, b.path("jobs/PUMP.CFG"));
    EXPECT_FALSE(b.p.form8.visible);

    // The next chooser opens where the last one closed; ".." goes up again.
    b.p.files.configFileName = "Load configuration";
    loadFileChooser(b.p);
    EXPECT_EQ(b.p.form8.Label2.caption, b.path("jobs"));
    fileChooserDirOpen(b.p, 0);
    EXPECT_EQ(b.p.form8.Label2.caption, b.folder.string());
    fileChooserDirOpen(b.p, 1);
    fileChooserFileDoubleClick(b.p, 0);
    EXPECT_EQ(b.p.files.configFileName, b.path("jobs/PUMP.CFG"));
    EXPECT_EQ(b.p.files.fileChosen, 1);
}

TEST(FileChooser, ChoiceRepeatsAfterARejectedNameAndCancelGivesNothing) {
    RecordsBench b;
    b.typeName("BAD.TXT");
    b.typeName("GOOD");
    EXPECT_TRUE(chooseFile(b.p, "Save configuration", 0));
    EXPECT_EQ(b.p.files.configFileName, b.path("GOOD.CFG"));
    EXPECT_EQ(b.p.files.fileChosen, 0);  // cleared for the next use
    EXPECT_EQ(b.dialogs.modalWindows.size(), 2u);

    b.cancelChooser();
    EXPECT_FALSE(chooseFile(b.p, "Log Data", 1));
    EXPECT_EQ(b.p.files.configFileName, "");
    EXPECT_EQ(b.p.files.logChooser, 0);
}

TEST(FileChooser, UnreadableDriveAsksToRetryAndFallsBackOnCancel) {
    RecordsBench b;
    b.p.files.configFileName = "Load configuration";
    loadFileChooser(b.p);
    FileChooser& w = b.p.form8;
    const int remembered = w.Drive1.selected;
    w.drives.push_back("/no/such/volume");
    w.Drive1.lines.push_back("/no/such/volume");
    b.dialogs.answers = {Answer::Retry, Answer::Cancel};
    fileChooserDriveChange(b.p, static_cast<int>(w.drives.size()) - 1);
    ASSERT_EQ(b.dialogs.messages.size(), 2u);
    EXPECT_EQ(b.dialogs.messages[0].text, "Disk not ready");
    EXPECT_EQ(b.dialogs.messages[0].buttons, Buttons::RetryCancel);
    EXPECT_EQ(w.Drive1.selected, remembered);
    EXPECT_EQ(w.Label2.caption, b.folder.string());
    EXPECT_EQ(w.pointer, Pointer::Arrow);

    // A readable drive: the chooser shows its top folder and remembers the drive.
    w.drives = {"/", b.folder.string()};
    w.Drive1.lines = w.drives;
    w.rememberedDrive = 1;
    fileChooserDriveChange(b.p, 0);
    EXPECT_EQ(w.Label2.caption, std::filesystem::absolute("/").string());
    EXPECT_EQ(w.rememberedDrive, 0);
    for (int outside : {-1, 2}) fileChooserDriveChange(b.p, outside);
    EXPECT_EQ(w.Drive1.selected, 0);
    fileChooserDriveChange(b.p, 1);
    EXPECT_EQ(w.Label2.caption, b.folder.string());
    EXPECT_EQ(b.dialogs.messages.size(), 2u);
}

TEST(FileChooser, PatternMatchingIgnoresCase) {
    EXPECT_TRUE(matchesPattern("a.CFG", "*.CFG"));
    EXPECT_TRUE(matchesPattern("a.cfg", "*.CFG"));
    EXPECT_TRUE(matchesPattern(".cfg", "*.CFG"));
    EXPECT_FALSE(matchesPattern("a.cfgx", "*.CFG"));
    EXPECT_FALSE(matchesPattern("acfg", "*.CFG"));
    EXPECT_TRUE(matchesPattern("x1.dat", "x?.DAT"));
    EXPECT_TRUE(matchesPattern("a.cfg", "*.CFG*"));
    EXPECT_FALSE(matchesPattern("a.cf", "*.CF?"));
}

TEST(FileChooser, TheDriveOfAFolderIsTheLongestMountPointHoldingIt) {
    const std::vector<std::string> drives = {"/", "/home", "/home/tech/usb", "/media"};
    EXPECT_EQ(driveOf(drives, "/home/tech/usb/jobs"), 2);
    EXPECT_EQ(driveOf(drives, "/home/tech"), 1);
    EXPECT_EQ(driveOf(drives, "/media"), 3);
    EXPECT_EQ(driveOf(drives, "/homework"), 0);
    EXPECT_EQ(driveOf({"/mnt", "/mnt/a"}, "/etc"), -1);
    EXPECT_EQ(driveOf({"/mnt", "/mnt/a"}, "/mnt/a"), 1);
}

TEST(FileChooser, TheChooserFollowsItsScreenEvents) {
    RecordsBench b;
    std::filesystem::create_directory(b.folder / "jobs");
    test::writeText(b.path("jobs/PUMP.CFG"), "");
    FileChooser& w = b.p.form8;
    const auto open = [&] {
        b.p.files.configFileName = "Load configuration";
        b.p.files.fileChosen = 0;
        loadFileChooser(b.p);
    };
    const auto send = [&](const std::string& control, EventKind kind, int selected = -1,
                          const std::string& text = "", int key = 0) {
        ScreenEvent e{.window = "Form8", .control = control, .kind = kind, .keyAscii = key,
                      .text = text, .selected = selected};
        fileChooserEvent(b.p, e);
        return e.keyAscii;
    };
    open();
    EXPECT_EQ(w.focus, "Text1");
    send("Text1", EventKind::Change, -1, "TYPED");
    EXPECT_EQ(w.Text1.caption, "TYPED");
    send("Dir1", EventKind::Click, 1);
    EXPECT_EQ(w.Dir1.selected, 1);
    EXPECT_EQ(w.Label2.caption, b.folder.string());  // a click only selects
    send("Dir1", EventKind::DoubleClick, 1);
    EXPECT_EQ(w.Label2.caption, b.path("jobs"));
    for (int outside : {-1, 1}) {  // the lists hold ".." and "PUMP.CFG" only
        send("File1", EventKind::Click, outside);
        send("File1", EventKind::DoubleClick, outside);
        send("Dir1", EventKind::DoubleClick, outside);
    }
    EXPECT_EQ(w.Text1.caption, "TYPED");
    EXPECT_EQ(w.Label2.caption, b.path("jobs"));
    send("File1", EventKind::Click, 0);
    EXPECT_EQ(w.Text1.caption, "PUMP.CFG");
    EXPECT_EQ(send("Text1", EventKind::KeyPress, -1, "", 'a'), 'a');
    send("Drive1", EventKind::Change, w.rememberedDrive);  // the same drive: nothing moves
    EXPECT_EQ(w.Label2.caption, b.path("jobs"));
    EXPECT_TRUE(w.visible);
    send("Command1", EventKind::Click);
    EXPECT_EQ(b.p.files.configFileName, "");
    EXPECT_FALSE(w.visible);

    open();  // Cancel kept no folder: the chooser opens where it did before
    EXPECT_EQ(w.Label2.caption, b.folder.string());
    send("Dir1", EventKind::DoubleClick, 1);
    send("File1", EventKind::DoubleClick, 0);
    EXPECT_EQ(b.p.files.configFileName, b.path("jobs/PUMP.CFG"));
    open();
    send("Text1", EventKind::Change, -1, "NEW");
    send("Command2", EventKind::Click);
    EXPECT_EQ(b.p.files.configFileName, b.path("jobs/NEW.CFG"));
    EXPECT_EQ(b.p.files.fileChosen, 1);
    open();
    send("", EventKind::CloseRequest);
    EXPECT_EQ(b.p.files.configFileName, "");
    EXPECT_FALSE(w.visible);
}

TEST(FileChooser, DrivesAreTheOperatorsVolumesFromTheMountTable) {
    std::istringstream mounts(
        "/dev/sda1 / ext4 rw 0 0\n"
        "proc /proc proc rw 0 0\n"
        "tmpfs /tmp tmpfs rw 0 0\n"
        "/dev/sdc1 /run/media/tech/BENCH vfat rw 0 0\n"
        "/dev/sda2 /run/lock ext4 rw 0 0\n"
        "/dev/sda3 /sys/x ext4 rw 0 0\n"
        "/dev/sda4 /dev/y ext4 rw 0 0\n"
        "/dev/sdb1 /media/usb\\040stick\\134 vfat rw 0 0\n"
        "/dev/sda5 /home ext4 rw 0 0\n"
        "/dev/sda5 /home ext4 rw 0 0\n"
        "short line\n"
        "/dev/sda6 /mnt/end\\04 ext4 rw 0 0\n");
    EXPECT_EQ(volumesOf(mounts),
              (std::vector<std::string>{"/", "/home", "/media/usb stick\\", "/mnt/end\\04",
                                        "/run/media/tech/BENCH"}));
}

}  // namespace
}  // namespace sigcond
