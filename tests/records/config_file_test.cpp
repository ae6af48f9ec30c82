#include "records/config_file.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "config/register_codec.h"
#include "records_bench.h"
#include "ui/main_screen_ops.h"

namespace sigcond {
namespace {

using test::RecordsBench;

int countLines(const std::string& text) {
    int lines = 0;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '\r' && text[i + 1] == '\n') ++lines;
    }
    return lines;
}

const std::string kSaveIllegal = "You have entered illegal name for a file.\r\nPlease enter again";

TEST(ConfigFile, ThermocoupleSavedAndLoadedBackGivesTheSameFiveLines) {
    RecordsBench b("TC");
    b.p.config.choice[1][1] = 3;
    b.p.config.choice[3][1] = 5;
    b.p.config.scalingText = {"", "100.0000", "04.0000", "300.0000", "20.0000"};
    b.typeName("FIRST");
    saveConfiguration(b.p);
    const std::string first = test::fileText(b.path("FIRST.CFG"));
    EXPECT_EQ(countLines(first), 5);
    EXPECT_EQ(first.substr(first.size() - 2), "\r\n");
    EXPECT_EQ(b.p.form1.Label3.caption, kSavedBanner);
    EXPECT_EQ(b.p.form1.Label3.width, 40 * 120);
    EXPECT_EQ(b.p.form1.Label3.fontSize, 10);
    EXPECT_TRUE(b.p.form1.Label3.visible);
    EXPECT_EQ(b.p.screen.bannerTicks, 4);
    EXPECT_EQ(b.p.config.modeMarker, "");

    // A fresh record, then the file: the same configuration comes back.
    b.useType("TC");
    b.p.screen.uncommittedGroup = 3;
    b.typeName("FIRST.CFG");
    loadConfiguration(b.p);
    EXPECT_EQ(b.p.config.choice[1][1], 3);
    EXPECT_EQ(b.p.config.choice[3][1], 5);
    EXPECT_EQ(b.p.form1.LABEL17[1].caption, "16");  // the summary shows the loaded filter
    EXPECT_EQ(b.p.screen.currentGroup, 2);
    EXPECT_EQ(b.p.screen.uncommittedGroup, 0);
    EXPECT_EQ(b.p.form1.Label3.caption, kLoadedBanner);
    b.typeName("SECOND");
    saveConfiguration(b.p);
    EXPECT_EQ(test::fileText(b.path("SECOND.CFG")), first);
}

TEST(ConfigFile, TheNextCommitComparesTheModeWithTheLoadedOne) {
    // A Totalize file loaded into a frequency/pulse unit that was read in Frequency mode.
    RecordsBench b("FP");
    b.p.config.choice[2][1] = 4;
    b.p.config.choice[2][2] = 2;  // Volt
    b.p.config.scalingText = {"", "10000000", "4", "10000100", "5"};
    b.typeName("TOTAL");
    saveConfiguration(b.p);
    b.useType("FP");
    b.p.screen.lastOutputMode = 1;
    b.p.form1.Text1[3].caption = "20";  // the scaling panel as it was shown before the load
    b.typeName("TOTAL.CFG");
    loadConfiguration(b.p);
    ASSERT_EQ(b.p.config.choice[2][1], 4);
    // The mode panel opened and closed unchanged keeps the loaded inputs and outputs.
    b.p.screen.currentGroup = 2;
    buildGroupPanel(b.p);
    commitPendingPanel(b.p);
    EXPECT_EQ(b.p.config.scalingText[1], "10000000");
    EXPECT_EQ(b.p.config.scalingText[3], "10000100");
    EXPECT_EQ(b.p.config.scalingText[4], "05.0000");
}

TEST(ConfigFile, LineCountFollowsTheInputType) {
    const std::pair<const char*, int> types[] = {{"FP", 7}, {"ACV", 4}, {"ACC", 4},
                                                 {"RTD", 5}, {"PR", 5},  {"ST", 5}};
    for (const auto& [type, lines] : types) {
        RecordsBench b(type);
        b.typeName("T");
        saveConfiguration(b.p);
        const std::string text = test::fileText(b.path("T.CFG"));
        EXPECT_EQ(countLines(text), lines) << type;
        EXPECT_EQ(text.find('\n'), text.find('\r') + 1) << type;
    }
    // The register slots in file order: 1 to 4 (to 6 for frequency/pulse), then 7 except for AC.
    const std::array<std::string, 13> r{"", "1", "2", "3", "4", "5", "6", "7", "8"};
    EXPECT_EQ(configurationFileText(r, 4, "TC"), "1\r\n2\r\n3\r\n4\r\n7\r\n");
    EXPECT_EQ(configurationFileText(r, 6, "FP"), "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n");
    EXPECT_EQ(configurationFileText(r, 4, "ACC"), "1\r\n2\r\n3\r\n4\r\n");
}

TEST(ConfigFile, LoadingUnderAnotherTypeFillsSlotsInFileOrder) {
    RecordsBench b("FP");
    std::array<std::string, 13> slots = b.p.registers.registerText;
    slots[6] = "7E";
    slots[7] = "05";
    const std::string tcFile = "29\r\n46\r\n06\r\n" + std::string(24, '1') + "\r\n03\r\n";
    ASSERT_EQ(readConfigurationText(tcFile, 6, "FP", slots), FileProblem::None);
    EXPECT_EQ(slots[1], "29");
    EXPECT_EQ(slots[4], std::string(24, '1'));
    EXPECT_EQ(slots[5], "03");  // the thermocouple's slot-7 line
    EXPECT_EQ(slots[6], "7E");  // past the end of the file: unchanged
    EXPECT_EQ(slots[7], "05");

    // A longer file is read only as far as the type needs.
    std::array<std::string, 13> ac{};
    ac[7] = "keep";
    ASSERT_EQ(readConfigurationText(tcFile, 4, "ACV", ac), FileProblem::None);
    EXPECT_EQ(ac[4], std::string(24, '1'));
    EXPECT_EQ(ac[5], "");
    EXPECT_EQ(ac[7], "keep");
}

TEST(ConfigFile, LoadRefusesFilesThatHoldNoConfiguration) {
    RecordsBench b("TC");
    const std::array<std::string, 13> before = b.p.registers.registerText;
    const std::string bad[] = {
        "",
        "29\r\n46\r\n06\r\n0000000000000000000000\r\n03\r\n",  // slot 4 too short
        "29\r\n4G\r\n",                                       // not hexadecimal
        "  12.3  \xB0" "C           12:00:00      12-08-2026\r\n",  // a data log
        "29\r\n\r\n06\r\n",                                   // an empty line
        "29\n\n06\n",                                         // an empty line, LF ends
        "029\r\n46\r\n",                                      // wider than its register
        "29\r\n46\r\n06\r\n" + std::string(24, '0') + "\r\n3\r\n",  // slot 7 too short
        "\"4G\"\r\n",                                         // quoted, not hexadecimal
    };
    for (const std::string& text : bad) {
        std::array<std::string, 13> slots = before;
        EXPECT_EQ(readConfigurationText(text, 4, "TC", slots), FileProblem::NotConfiguration);
        EXPECT_EQ(slots, before);
    }
    const ConfigRecord record = b.p.config;
    test::writeText(b.path("LOG.CFG"), bad[3]);
    b.typeName("LOG.CFG");
    b.cancelChooser();
    loadConfiguration(b.p);
    ASSERT_EQ(b.dialogs.messages.size(), 1u);
    EXPECT_EQ(b.dialogs.messages[0].text,
              "This file does not hold a configuration.\rPlease enter again.");
    EXPECT_EQ(b.p.registers.registerText, before);
    EXPECT_EQ(b.p.config.choice, record.choice);
    EXPECT_EQ(b.dialogs.modalWindows.size(), 2u);  // the chooser came back
}

TEST(ConfigFile, FieldsAreReadAsCommaSeparatedTextFields) {
    std::array<std::string, 13> slots{};
    // The last line has no line end and still counts.
    const std::string text = "  29\r\n\"46\"\r\n 06 ,filter\r\n\"" + std::string(20, '1') +
                             "9Faf\" , scaling\r\n\t\"03\",";
    ASSERT_EQ(readConfigurationText(text, 4, "TC", slots), FileProblem::None);
    EXPECT_EQ(slots[1], "29");
    EXPECT_EQ(slots[2], "46");
    EXPECT_EQ(slots[3], "06");
    EXPECT_EQ(slots[4], std::string(20, '1') + "9FAF");
    EXPECT_EQ(slots[7], "03");
}

TEST(ConfigFile, CancelAndEncoderFailureWriteNothing) {
    RecordsBench b("TC");
    test::writeText(b.path("KEEP.CFG"), "old contents\r\n");
    b.cancelChooser();
    saveConfiguration(b.p);
    b.cancelChooser();
    loadConfiguration(b.p);
    EXPECT_EQ(test::fileText(b.path("KEEP.CFG")), "old contents\r\n");
    EXPECT_FALSE(b.p.form1.Label3.visible && b.p.form1.Label3.caption == kSavedBanner);

    // Input 1 and Input 2 too close: the encoder reports it and nothing is written.
    b.p.config.scalingText = {"", "10.0000", "04.0000", "10.0500", "20.0000"};
    b.typeName("KEEP");
    saveConfiguration(b.p);
    EXPECT_EQ(test::fileText(b.path("KEEP.CFG")), "old contents\r\n");
    EXPECT_EQ(b.p.screen.abortFlag, 0);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(b.folder),
                            std::filesystem::directory_iterator()),
              1);  // no temporary file left behind
}

TEST(ConfigFile, AnErrorLeftFromEarlierDoesNotStopASave) {
    RecordsBench b("TC");
    b.p.screen.abortFlag = 1;  // e.g. a communication report before the save
    b.typeName("LATER");
    saveConfiguration(b.p);
    EXPECT_TRUE(std::filesystem::exists(b.path("LATER.CFG")));
}

TEST(ConfigFile, FailuresShowTheirMessagesAndTheChooserComesBack) {
    RecordsBench b("TC");
    std::filesystem::create_directory(b.folder / "DIR.CFG");
    struct Case {
        std::string name;
        bool save;
        std::string message;
    };
    std::vector<Case> cases = {
        {b.path("missing/X.CFG"), true, "Path not found.\rPlease enter again"},
        {b.path("missing/X.CFG"), false, "Path not found.\rPlease enter again."},
        {b.path("NONE.CFG"), false, "File does not exit.\rPlease enter again."},
        {b.path("DIR.CFG"), true, kSaveIllegal},
        {b.path("DIR.CFG"), false, "You have enter illegal name for a file.\rPlease enter again."},
        {"/dev/full", true, kSaveIllegal},       // the disk is full
        {b.path("RO.CFG"), true, kSaveIllegal},  // write-protected
    };
    test::writeText(b.path("RO.CFG"), "old\r\n");
    ::chmod(b.path("RO.CFG").c_str(), 0444);
    if (::geteuid() == 0) {
        cases.push_back({"/sys/X.CFG", true, kSaveIllegal});  // read-only even for root
    } else {
        std::filesystem::create_directory(b.folder / "ro");
        std::filesystem::permissions(b.folder / "ro", std::filesystem::perms::owner_read |
                                                          std::filesystem::perms::owner_exec);
        cases.push_back({b.path("ro/X.CFG"), true, kSaveIllegal});
    }
    for (const Case& c : cases) {
        b.dialogs.messages.clear();
        b.dialogs.modalWindows.clear();
        const int beeps = b.dialogs.beeps;
        b.typeName(c.name);
        b.cancelChooser();
        if (c.save) saveConfiguration(b.p);
        else loadConfiguration(b.p);
        ASSERT_EQ(b.dialogs.messages.size(), 1u) << c.name;
        EXPECT_EQ(b.dialogs.messages[0].text, c.message) << c.name;
        EXPECT_EQ(b.dialogs.messages[0].icon, Icon::Exclamation);
        EXPECT_EQ(b.dialogs.messages[0].title, " ");
        EXPECT_EQ(b.dialogs.beeps, beeps + 1);
        EXPECT_EQ(b.dialogs.modalWindows.size(), 2u) << c.name;
    }
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
    EXPECT_EQ(test::fileText(b.path("RO.CFG")), "old\r\n");
    const auto kept = std::filesystem::status(b.path("RO.CFG")).permissions();
    EXPECT_EQ(kept & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                  std::filesystem::perms::others_read);
}

TEST(ConfigFile, WhereNoTemporaryFileCanTakeItsPlaceAWritableFileIsWrittenInPlace) {
    // A shared folder the operator may not create files in, and a sticky folder holding another
    // user's group-writable file. Root may do all that: the operator's part is played by nobody.
    RecordsBench b;
    const std::filesystem::path sticky = b.folder / "sticky";
    std::filesystem::create_directory(sticky);
    for (const char* name : {"SHARED.CFG", "THEIRS.CFG", "sticky/OTHER.CFG"}) {
        test::writeText(b.path(name), "old\r\n");
        ::chmod(b.path(name).c_str(), std::string(name) == "THEIRS.CFG" ? 0444 : 0666);
    }
    const bool root = ::geteuid() == 0;
    ASSERT_EQ(::chmod(sticky.c_str(), 01777) | ::chmod(b.folder.c_str(), 0555), 0);
    if (root) {
        ASSERT_EQ(::chown(b.path("sticky/OTHER.CFG").c_str(), 4321, 4321), 0);
    }
    const pid_t child = ::fork();
    if (child == 0) {
        if (root && (::setgroups(0, nullptr) | ::setgid(65534) | ::setuid(65534)) != 0) ::_exit(9);
        const bool ok = writeFileReplacing(b.path("SHARED.CFG"), "new\r\n") == 0 &&
                        writeFileReplacing(b.path("THEIRS.CFG"), "new\r\n") == EACCES &&
                        writeFileReplacing(b.path("sticky/OTHER.CFG"), "new\r\n") == 0;
        ::_exit(ok ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(test::fileText(b.path("SHARED.CFG")), "new\r\n");
    EXPECT_EQ(test::fileText(b.path("THEIRS.CFG")), "old\r\n");
    EXPECT_EQ(test::fileText(b.path("sticky/OTHER.CFG")), "new\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(sticky), {}), 1);  // no temporary
}

TEST(ConfigFile, ReplacingWritesWholeFilesAndKeepsTheOldOneOnFailure) {
    RecordsBench b;
    const std::string target = b.path("A.CFG");
    test::writeText(target, "old\r\n");
    ::chmod(target.c_str(), 0640);
    ASSERT_EQ(writeFileReplacing(target, "new\r\n"), 0);
    EXPECT_EQ(test::fileText(target), "new\r\n");
    EXPECT_EQ(std::filesystem::status(target).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                  std::filesystem::perms::group_read);
    if (::geteuid() == 0) {
        // Saved by the administrator over an operator's file: it stays the operator's.
        ASSERT_EQ(::chown(target.c_str(), 4321, 4322), 0);
        ASSERT_EQ(writeFileReplacing(target, "newer\r\n"), 0);
        struct stat after {};
        ASSERT_EQ(::stat(target.c_str(), &after), 0);
        EXPECT_EQ(after.st_uid, 4321u);
        EXPECT_EQ(after.st_gid, 4322u);
        EXPECT_EQ(after.st_mode & 07777, 0640u);
    }
    // A new file gets the permissions the umask leaves, and the umask stays as it was.
    const mode_t mask = ::umask(027);
    ASSERT_EQ(writeFileReplacing(b.path("NEW.CFG"), "x"), 0);
    EXPECT_EQ(::umask(mask), 027u);
    struct stat created {};
    ASSERT_EQ(::stat(b.path("NEW.CFG").c_str(), &created), 0);
    EXPECT_EQ(created.st_mode & 07777, 0640u);
    // Through a link: the file it points to is replaced and the link stays.
    std::filesystem::create_symlink(target, b.path("LINK.CFG"));
    ASSERT_EQ(writeFileReplacing(b.path("LINK.CFG"), "linked\r\n"), 0);
    EXPECT_TRUE(std::filesystem::is_symlink(b.path("LINK.CFG")));
    EXPECT_EQ(test::fileText(target), "linked\r\n");
    // A device is written in place: here a pseudo-terminal, read back on its other side.
    const int terminal = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(terminal, 0);
    ASSERT_EQ(::grantpt(terminal) | ::unlockpt(terminal), 0);
    EXPECT_EQ(writeFileReplacing(::ptsname(terminal), "pty"), 0);
    char echoed[8] = {};
    EXPECT_EQ(::read(terminal, echoed, sizeof echoed), 3);
    EXPECT_STREQ(echoed, "pty");
    ::close(terminal);
    EXPECT_EQ(writeFileReplacing(b.path("no/A.CFG"), "x"), ENOENT);
    EXPECT_EQ(writeFileReplacing("/dev/full", "x"), ENOSPC);
    EXPECT_EQ(problemOfError(ENOENT, b.path("no/A.CFG"), true), FileProblem::PathNotFound);
    EXPECT_EQ(problemOfError(ENOENT, b.path("B.CFG"), true), FileProblem::NotFound);
    EXPECT_EQ(problemOfError(ENOMEDIUM, b.path("B.CFG"), false), FileProblem::DiskNotReady);
    EXPECT_EQ(saveMessage(FileProblem::DiskNotReady), "Disk not ready.\rPlease enter again");
    EXPECT_EQ(loadMessage(FileProblem::DiskNotReady), "Disk not ready.\rPlease enter again.");
}

}  // namespace
}  // namespace sigcond
