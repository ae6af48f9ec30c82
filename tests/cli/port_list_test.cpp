// The command line's port lists: "Com n" numbers, devices and URLs as handed to the port
// adapter, the file each unit's configuration is saved to, and the progress board's lines.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/port_names.h"
#include "cli/progress_board.h"

namespace sigcond::cli {
namespace {

TEST(PortList, NumbersDevicesAndUrlsAsTypedAnyNumberOfThem) {
    std::string error;
    const auto ports = parsePortList(
        "COM3,/dev/ttyUSB0,rfc2217://10.0.0.5:4001,socket://[::1]:7000,unit7,com12,COM01", error);
    ASSERT_TRUE(ports) << error;
    const auto here = [](const char* name) {
        return (std::filesystem::current_path() / name).string();
    };
    const std::vector<std::pair<int, std::string>> expected = {
        {3, ""},
        {1, "/dev/ttyUSB0"},
        {2, "rfc2217://10.0.0.5:4001"},
        {4, "socket://[::1]:7000"},
        {5, here("unit7")},
        {12, ""},
        {6, here("COM01")},  // a leading zero makes it a file name
    };
    ASSERT_EQ(ports->size(), expected.size());
    for (std::size_t n = 0; n < expected.size(); ++n) {
        EXPECT_EQ((*ports)[n].number, expected[n].first) << (*ports)[n].label;
        EXPECT_EQ((*ports)[n].device, expected[n].second) << (*ports)[n].label;
    }

    for (const char* refused : {"COM2,com2", "/dev/ttyS0,/dev/ttyS0", "COM1,,COM2", ""}) {
        error.clear();
        EXPECT_FALSE(parsePortList(refused, error)) << refused;
        EXPECT_FALSE(error.empty()) << refused;
    }
}

TEST(PortList, SaveFileNamesAndTheirClashes) {
    std::string error;
    const auto ports = parsePortList("/dev/ttyUSB0,rfc2217://10.0.0.5:4001,COM3", error);
    ASSERT_TRUE(ports);
    const auto names = saveFileNames(*ports, error);
    ASSERT_TRUE(names) << error;
    EXPECT_EQ(*names, (std::vector<std::string>{"ttyUSB0.CFG", "10_0_0_5_4001.CFG", "COM3.CFG"}));

    // Two ports whose names differ only in characters a file name cannot hold would overwrite
    // one file: refused before any unit is served.
    const auto clash = parsePortList("/dev/pts/3,pts/3", error);
    ASSERT_TRUE(clash);
    EXPECT_FALSE(saveFileNames(*clash, error));
    EXPECT_EQ(error, "ports /dev/pts/3 and pts/3 would both be saved to pts_3.CFG");
}

TEST(ProgressBoard, LinesFitTheScreenWithTheUnitsStillAtWorkFirst) {
    ProgressBoard board({"COM1", "/dev/ttyUSB10", "COM3", "COM4", "COM5"}, stdout, 40, 4);
    board.setResult(0, true, "TC (THERMOCOUPLE) at 9600,O,7,1");
    board.setStep(2, "searching 4800,E,7,1");
    board.setResult(3, false, "no answer to U01 at any baud rate and parity");
    board.setStep(3, "reading");  // a finished unit keeps its result
    board.setResult(4, true, "PR (PROCESS) at 4800,E,7,1");
    // Four rows leave three lines: two units not done well, then a count of the others.
    EXPECT_EQ(board.lines(), (std::vector<std::string>{
                                 "/dev/ttyUSB10  waiting",
                                 "COM3           searching 4800,E,7,1",
                                 "... 3 more: 2 ok, 1 failed, 0 at work",
                             }));

    ProgressBoard tall({"COM1", "COM4"}, stdout, 40, 24);
    tall.setResult(1, false, "no answer to U01 at any baud rate and parity");
    EXPECT_EQ(tall.lines(), (std::vector<std::string>{
                                "COM1  waiting",
                                "COM4  FAILED  no answer to U01 at any b",  // cut to 39
                            }));
    // However narrow the terminal, no line reaches its last column (it would wrap).
    ProgressBoard narrow({"/dev/ttyUSB0"}, stdout, 12, 24);
    EXPECT_EQ(narrow.lines(), std::vector<std::string>{"/dev/ttyUSB"});
}

}  // namespace
}  // namespace sigcond::cli
