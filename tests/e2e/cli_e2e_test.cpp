// The command-line companion against sigcond-unit-sim on pseudo-terminals: every subcommand,
// a silent unit, a file that is no configuration, a verification mismatch, many units at once
// with their progress on a terminal, and the send's frames compared with those of the
// program's own transmission; and the simulator's unit on a TCP port, as socket://.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

#include "config/option_catalogue.h"
#include "config/register_codec.h"
#include "config/send_config.h"
#include "link/command_set.h"
#include "link/line_search.h"
#include "program.h"
#include "qt/qt_clock.h"
#include "qt/qt_serial_port.h"
#include "records/config_file.h"
#include "support/scripted_dialogs.h"
#include "support/sim_process.h"

namespace sigcond::test {
namespace {

struct CliRun {
    int code = -1;
    std::string out;
    std::string err;
};

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A private folder for the files of this run, removed when the tests end.
struct ScratchFolder {
    ScratchFolder() {
        char pattern[] = "/tmp/sigcond-cli-test-XXXXXX";
        if (mkdtemp(pattern)) path = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (!path.empty()) std::filesystem::remove_all(path, ignored);
    }
    std::string path;
};

std::string scratchFolder() {
    static ScratchFolder folder;
    return folder.path;
}

// Runs sigcond-cli with the arguments; `prefix` goes in front of the command ("timeout ...").
CliRun runCli(const std::string& arguments, const std::string& prefix = "") {
    const std::string out = scratchFolder() + "/out.txt";
    const std::string err = scratchFolder() + "/err.txt";
    const std::string line = prefix + std::string(SIGCOND_BIN_DIR) + "/sigcond-cli " + arguments +
                             " >" + out + " 2>" + err;
    const int status = std::system(line.c_str());
    CliRun run;
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = slurp(out);
    run.err = slurp(err);
    return run;
}

// The commands of the frames logged, without their line settings.
std::vector<std::string> commands(const SimProcess& sim) {
    std::vector<std::string> out;
    for (const std::string& frame : sim.frames()) {
        const auto blank = frame.find(' ');
        out.push_back(blank == std::string::npos ? frame : frame.substr(blank + 1));
    }
    return out;
}

// A unit whose scaling points can be sent back (0 -> 0 mA, 1000 -> 10 mA).
std::vector<std::string> withScaling(std::vector<std::string> more = {}) {
    std::vector<std::string> args{"--register", "3C=500000100000", "--register", "3D=5186A01003E8"};
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

std::unique_ptr<SimProcess> startSim(std::vector<std::string> args) {
    auto sim = std::make_unique<SimProcess>(std::move(args));
    EXPECT_TRUE(sim->start()) << sim->error();
    return sim;
}

TEST(CliE2E, IdentifyReadSaveAndJsonAtTheUnitsLineSettings) {
    auto sim = startSim(withScaling({"--baud", "4800", "--parity", "E", "--type", "PR"}));
    const std::string port = sim->linkPath();

    const CliRun identify = runCli("identify " + port);
    EXPECT_EQ(identify.code, 0) << identify.err;
    EXPECT_NE(identify.out.find("4800,E,7,1"), std::string::npos) << identify.out;
    EXPECT_NE(identify.out.find("input type PR"), std::string::npos) << identify.out;

    const std::string file = scratchFolder() + "/pr.CFG";
    const CliRun read = runCli("read " + port + " --save " + file);
    EXPECT_EQ(read.code, 0) << read.err;
    EXPECT_NE(read.out.find("Analog output scaling"), std::string::npos);
    EXPECT_NE(read.out.find("Desired output 2"), std::string::npos);
    EXPECT_NE(read.out.find("10.0000  mA"), std::string::npos) << read.out;
    // The saved file holds the registers read, one per line with CR LF, slot 4 as 3D then 3C.
    const std::string saved = slurp(file);
    EXPECT_NE(saved.find("\r\n5186A01003E8500000100000\r\n"), std::string::npos) << saved;

    const CliRun json = runCli("read " + port + " --json");
    EXPECT_EQ(json.code, 0) << json.err;
    EXPECT_EQ(json.out.front(), '{');
    EXPECT_NE(json.out.find("\"inputType\": \"PR\""), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("\"3D/3C\": \"5186A01003E8500000100000\""), std::string::npos);
}

TEST(CliE2E, SilentUnitAndUnansweredCommandFailWithPortAndCommand) {
    auto silent = startSim({"--silent"});
    const CliRun identify = runCli("identify " + silent->linkPath());
    EXPECT_EQ(identify.code, 1);
    EXPECT_NE(identify.err.find(silent->linkPath() + ": no answer to U01"), std::string::npos)
        << identify.err;

    auto halfSilent = startSim({"--silent-for", "R3C"});
    const CliRun read = runCli("read " + halfSilent->linkPath());
    EXPECT_EQ(read.code, 1);
    EXPECT_NE(read.err.find("command R3C was not answered"), std::string::npos) << read.err;
    EXPECT_NE(read.err.find(halfSilent->linkPath()), std::string::npos);

    // Nobody is there to cancel a search the unit keeps sending back with "?": it ends.
    auto rejecting = startSim({"--reject", "U01=100000000"});
    const CliRun rejected = runCli("identify " + rejecting->linkPath(), "timeout 20 ");
    EXPECT_EQ(rejected.code, 1);
    EXPECT_NE(rejected.err.find("the unit keeps rejecting U01"), std::string::npos) << rejected.err;

    const CliRun noPort = runCli("identify " + scratchFolder() + "/no-such-device");
    EXPECT_EQ(noPort.code, 1);
    EXPECT_NE(noPort.err.find("cannot be opened"), std::string::npos) << noPort.err;
}

TEST(CliE2E, WrongFilesAndBadUsageExitWithTwoAndSendNothing) {
    auto sim = startSim(withScaling());
    const std::string notConfiguration = scratchFolder() + "/notes.CFG";
    std::ofstream(notConfiguration) << "shopping list\r\nmilk\r\n";
    sim->clearFrames();
    const CliRun wrongKind = runCli("send " + sim->linkPath() + " " + notConfiguration);
    EXPECT_EQ(wrongKind.code, 2);
    EXPECT_NE(wrongKind.err.find(notConfiguration), std::string::npos) << wrongKind.err;
    for (const std::string& c : commands(*sim)) EXPECT_EQ(c.rfind("W", 0), std::string::npos);

    const CliRun missing = runCli("send " + sim->linkPath() + " " + scratchFolder() + "/none.CFG");
    EXPECT_EQ(missing.code, 2);
    EXPECT_EQ(runCli("").code, 2);
    EXPECT_EQ(runCli("frobnicate COM1").code, 2);
    EXPECT_EQ(runCli("read " + sim->linkPath() + " --bogus").code, 2);
    // One server's port named twice, whatever the spelling, and a malformed address: refused
    // before any unit is served.
    for (const char* ports : {"rfc2217://127.0.0.1:1,rfc2217://127.0.0.1:1/",
                              "rfc2217://localhost:1,SOCKET://127.0.0.1:1", "rfc2217://h:x"}) {
        const CliRun refused = runCli(std::string("identify ") + ports);
        EXPECT_EQ(refused.code, 2) << ports << ": " << refused.err;
        EXPECT_EQ(refused.err.find("cannot be opened"), std::string::npos) << refused.err;
    }
    EXPECT_EQ(runCli("monitor " + sim->linkPath() + " --seconds soon").code, 2);
    EXPECT_EQ(runCli("send COM1,com1 x.CFG").code, 2);
    // One device named twice, once through its link and once as the COMn it stands for.
    const CliRun twice =
        runCli("identify " + sim->linkPath() + ",COM1", "SIGCOND_COM1=" + sim->devicePath() + " ");
    EXPECT_EQ(twice.code, 2);
    EXPECT_NE(twice.err.find("are the same port (" + sim->devicePath() + ")"), std::string::npos)
        << twice.err;
    const CliRun ports = runCli("ports", "SIGCOND_COM9=rfc2217://127.0.0.1:2217 ");
    EXPECT_EQ(ports.code, 0);
    EXPECT_NE(ports.out.find("COM9\trfc2217://127.0.0.1:2217\tdevice server, line settings set "
                             "by the program\t\t\n"),
              std::string::npos)
        << ports.out;
}

// A plain TCP connection to the simulator's port, held open; -1 when it cannot be made.
int connectTo(const std::string& address) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port =
        htons(static_cast<std::uint16_t>(std::stoi(address.substr(address.find(':') + 1))));
    peer.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr*>(&peer), sizeof peer) == 0) return fd;
    close(fd);
    return -1;
}

TEST(CliE2E, UnitOnATcpPortAnswersAtItsOwnSettingsOneClientAtATime) {
    auto sim =
        startSim({"--listen", "127.0.0.1:0", "--type", "RTD", "--baud", "4800", "--parity", "E"});
    const std::string address = sim->devicePath(), url = "socket://" + address;
    ASSERT_EQ(address.rfind("127.0.0.1:", 0), 0u) << address;
    // No line settings on TCP: the search's first attempt is understood, and logged at the unit's.
    const CliRun identify = runCli("identify " + url);
    EXPECT_EQ(identify.code, 0) << identify.err;
    EXPECT_NE(identify.out.find("input type RTD"), std::string::npos) << identify.out;
    EXPECT_EQ(sim->frames(), std::vector<std::string>{"4800,E,7,1 U01"});

    // Held by another client, the unit is refused; freed, it serves the next one.
    int holder = connectTo(address);
    const CliRun busy = runCli("identify " + url);
    close(holder);
    EXPECT_EQ(busy.code, 1);
    EXPECT_NE(busy.err.find("in use by another client"), std::string::npos) << busy.err;
    const CliRun read = runCli("read " + url);
    EXPECT_EQ(read.code, 0) << read.err;
    EXPECT_NE(read.out.find("Analog output scaling"), std::string::npos) << read.out;

    // A taken port, a bad or foreign address and options that need a pseudo-terminal.
    const std::pair<std::string, int> refused[] = {
        {address, 1},
        {"127.0.0.1:65536", 2},
        {"192.0.2.1:0", 2},
        {"127.0.0.1:0 --units 2", 2},
        {"127.0.0.1:0 --link " + scratchFolder() + "/l", 2}};
    for (const auto& [arguments, code] : refused) {
        const int status = std::system(("timeout 5 " + std::string(SIGCOND_BIN_DIR) +
                                        "/sigcond-unit-sim --listen " + arguments + " 2>/dev/null")
                                           .c_str());
        EXPECT_EQ(WEXITSTATUS(status), code) << arguments;
    }

    // SIGTERM ends it promptly, even with a client connected.
    holder = connectTo(address);
    const auto began = std::chrono::steady_clock::now();
    sim->stop();
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count(), 1.0);
    close(holder);
}

// The program's own transmission of a configuration file, in this process, to the given unit.
std::vector<std::string> programSends(SimProcess& sim, const std::string& fileText) {
    setenv("SIGCOND_COM1", sim.linkPath().c_str(), 1);
    QtSerialPort port;
    SystemClock clock;
    ScriptedDialogs dialogs;
    Program p(port, clock, dialogs);
    fillLinkTables(p);
    p.link.portNumber = 1;
    p.screen.unitConnected = 1;
    EXPECT_TRUE(connectToUnit(p));
    p.link.identifyMode = false;
    p.config.inputType = inputTypeForNumber(p.link.replyText);
    buildOptionCatalogue(p);
    EXPECT_EQ(readConfigurationText(fileText, p.registers.encodedGroupCount, p.config.inputType,
                                    p.registers.registerText),
              FileProblem::None);
    p.config.modeMarker = "NA";
    decodeConfiguration(p);
    p.config.modeMarker.clear();
    sim.clearFrames();
    EXPECT_TRUE(encodeConfiguration(p));
    transmitConfiguration(p);
    EXPECT_EQ(p.link.linkError, 0);
    port.close();
    unsetenv("SIGCOND_COM1");
    return commands(sim);
}

TEST(CliE2E, SendWritesWhatTheProgramWritesAndVerifies) {
    auto source = startSim(withScaling({"--type", "FP", "--register", "0D=14"}));
    const std::string file = scratchFolder() + "/fp.CFG";
    ASSERT_EQ(runCli("read " + source->linkPath() + " --save " + file).code, 0);

    auto target = startSim(withScaling({"--type", "FP"}));
    target->clearFrames();
    const CliRun send = runCli("send " + target->linkPath() + " " + file + " --verify");
    EXPECT_EQ(send.code, 0) << send.err;
    std::vector<std::string> sent = commands(*target);
    // After the identification (one "U01" at the first setting), the writes, then the read-back.
    ASSERT_GE(sent.size(), 2u);
    EXPECT_EQ(sent.front(), "U01");
    sent.erase(sent.begin());
    const auto readBack = std::find(sent.begin(), sent.end(), "R01");
    ASSERT_NE(readBack, sent.end());
    sent.erase(readBack, sent.end());

    auto reference = startSim(withScaling({"--type", "FP"}));
    const std::vector<std::string> expected = programSends(*reference, slurp(file));
    EXPECT_EQ(sent, expected);
    ASSERT_GE(expected.size(), 2u);
    EXPECT_EQ(expected[expected.size() - 2], "W0814");
    EXPECT_EQ(expected.back(), "Z01");
    // The target now holds what the program's own send left in its unit.
    const std::string copy = scratchFolder() + "/fp-copy.CFG";
    const std::string programCopy = scratchFolder() + "/fp-program.CFG";
    ASSERT_EQ(runCli("read " + target->linkPath() + " --save " + copy).code, 0);
    ASSERT_EQ(runCli("read " + reference->linkPath() + " --save " + programCopy).code, 0);
    EXPECT_EQ(slurp(copy), slurp(programCopy));
    EXPECT_NE(slurp(copy).find("\r\n14\r\n"), std::string::npos);  // the gate register
}

TEST(CliE2E, VerificationReportsARegisterTheUnitKeptUnchanged) {
    auto source = startSim(withScaling({"--register", "02=06"}));
    const std::string file = scratchFolder() + "/tc.CFG";
    ASSERT_EQ(runCli("read " + source->linkPath() + " --save " + file).code, 0);
    auto stubborn = startSim(withScaling({"--register", "02=46", "--ignore-write", "02"}));
    const CliRun send = runCli("send " + stubborn->linkPath() + " " + file + " --verify");
    EXPECT_EQ(send.code, 1);
    EXPECT_NE(send.err.find(stubborn->linkPath() + ": verification: register 02 reads 46"),
              std::string::npos)
        << send.err;
    // Without verification the same send counts as done.
    EXPECT_EQ(runCli("send " + stubborn->linkPath() + " " + file).code, 0);
}

TEST(CliE2E, ManyUnitsAtTheirOwnLineSettingsWithOneFailing) {
    // Seven units of one simulator, each at line settings of its own, and one more between
    // them that keeps its register 02 whatever is sent.
    auto units = startSim(withScaling({"--units", "7", "--baud", "9600,4800,2400,1200", "--parity",
                                       "O,E,N", "--register", "02=06"}));
    auto stubborn = startSim(withScaling({"--register", "02=46", "--ignore-write", "02"}));
    const std::string file = scratchFolder() + "/many.CFG";
    ASSERT_EQ(runCli("read " + units->linkPath(0) + " --save " + file).code, 0);
    std::string list;
    for (std::size_t n = 0; n < units->units(); ++n) {
        list += units->linkPath(n) + ",";
        if (n == 3) list += stubborn->linkPath() + ",";
    }
    list.pop_back();

    const CliRun send = runCli("send " + list + " " + file + " --verify");
    EXPECT_EQ(send.code, 1);
    // The one failure named, and nothing else on standard error.
    EXPECT_EQ(send.err, "sigcond-cli: " + stubborn->linkPath() +
                            ": verification: register 02 reads 46, sent 06\n");
    EXPECT_EQ(send.out.find('\x1b'), std::string::npos);  // not a terminal: the table only
    const char* settings[] = {"9600,O,7,1", "4800,E,7,1", "2400,N,7,2", "1200,O,7,1",
                              "9600,E,7,1", "4800,N,7,2", "2400,O,7,1"};
    for (std::size_t n = 0; n < units->units(); ++n) {
        EXPECT_NE(send.out.find(units->linkPath(n) + "  ok      sent to TC (THERMOCOUPLE) at " +
                                settings[n] + ", verified"),
                  std::string::npos)
            << send.out;
    }

    const std::string folder = scratchFolder() + "/saved";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directory(folder);
    stubborn->stop();  // its adapter is gone
    const CliRun read = runCli("read " + list + " --save " + folder);
    EXPECT_EQ(read.code, 1);
    EXPECT_NE(read.out.find(stubborn->linkPath() + "    FAILED"), std::string::npos) << read.out;
    EXPECT_NE(read.err.find(stubborn->linkPath() + ": the port cannot be opened"),
              std::string::npos);
    std::vector<std::string> saved;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        saved.push_back(slurp(entry.path()));
    }
    ASSERT_EQ(saved.size(), units->units());
    // All hold the one configuration sent.
    for (const std::string& one : saved) EXPECT_EQ(one, saved[0]);
}

TEST(CliE2E, ProgressOnATerminalThenTheResults) {
    // A unit slow to answer keeps its session at the first attempt of the search for a while.
    auto sim = startSim({"--delay", "400"});
    const CliRun run =
        runCli("identify " + sim->linkPath() + "\" /dev/null", "TERM=xterm script -qec \"");
    EXPECT_EQ(run.code, 0) << run.err;
    const std::string board = "\x1b[2K" + sim->linkPath() + "  searching 9600,O,7,1";
    const auto drawn = run.out.find(board);
    ASSERT_NE(drawn, std::string::npos) << run.out;
    // The board goes (back to its line, erased) before the results come.
    const auto erased = run.out.find("\x1b[1F\x1b[J", drawn);
    ASSERT_NE(erased, std::string::npos) << run.out;
    EXPECT_NE(run.out.find(sim->linkPath() + ": line settings 9600,O,7,1", erased),
              std::string::npos);
}

TEST(CliE2E, MonitorWritesReadingsAndOutputValuesToCsv) {
    auto sim = startSim(withScaling({"--reading", "500"}));
    // Sending the scaling points also sets the output scale and offset the monitor reads.
    const std::string file = scratchFolder() + "/live.CFG";
    ASSERT_EQ(runCli("read " + sim->linkPath() + " --save " + file).code, 0);
    ASSERT_EQ(runCli("send " + sim->linkPath() + " " + file).code, 0);
    const std::string csv = scratchFolder() + "/live.csv";
    const CliRun run = runCli("monitor " + sim->linkPath() + " --seconds 1.2 --csv " + csv);
    EXPECT_EQ(run.code, 0) << run.err;
    std::istringstream lines(slurp(csv));
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "timestamp,reading,number,output\r");
    int readings = 0;
    while (std::getline(lines, line)) {
        ++readings;
        // 2026-12-08T22:29:34.095Z," 500.00",500,5.000 : 1000 -> 10 mA, so 500 -> 5 mA.
        EXPECT_EQ(line.substr(4, 1), "-");
        EXPECT_NE(line.find(",\" 500.00\",500,5.000\r"), std::string::npos) << line;
    }
    EXPECT_GE(readings, 2);
    EXPECT_LE(readings, 4);

    // A reply's control characters (escape sequences, a bell) reach neither terminal nor file.
    auto hostile = startSim({"--reading-text", "\x1b]0;x\a 5\x1b[2J00.00"});
    const CliRun shown = runCli("monitor " + hostile->linkPath() + " --seconds 0.5 --csv " + csv);
    EXPECT_EQ(shown.code, 0) << shown.err;
    for (const std::string& text : {shown.out, slurp(csv)}) {
        EXPECT_NE(text.find("?]0;x? 5?[2J00.00"), std::string::npos) << text;
        EXPECT_EQ(text.find_first_of("\x1b\a"), std::string::npos) << text;
    }

    auto silent = startSim({"--silent-from", "12"});
    const CliRun failed = runCli("monitor " + silent->linkPath() + " --seconds 1");
    EXPECT_EQ(failed.code, 1);
    EXPECT_NE(failed.err.find("X01 went unanswered"), std::string::npos) << failed.err;
}

TEST(CliE2E, MonitorCountsItsSecondsFromTheFirstReading) {
    // Silent for the first two attempts of the search (4 s), then found at the last one.
    auto sim = startSim({"--baud", "1200", "--parity", "N"});
    double took = 0;  // seconds the last run took
    const auto slowSearch = [&](const std::string& arguments, const std::string& prefix) {
        sim->signal(SIGUSR1);
        const auto began = std::chrono::steady_clock::now();
        std::thread wakeUp([&] {
            std::this_thread::sleep_for(std::chrono::seconds(3));
            sim->signal(SIGUSR1);
        });
        const CliRun run = runCli(arguments, prefix);
        took = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
        wakeUp.join();
        // Lets the simulator take this switch before the next: two pending SIGUSR1 are one.
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        return run;
    };
    const std::string csv = scratchFolder() + "/late.csv";
    const CliRun run = slowSearch("monitor " + sim->linkPath() + " --seconds 1 --csv " + csv, "");
    EXPECT_EQ(run.code, 0) << run.err;
    const std::string text = slurp(csv);
    EXPECT_GE(std::count(text.begin(), text.end(), '\n'), 3) << text;

    // Ctrl+C or SIGTERM during the search stops the command within a wait slice, not after
    // the search.
    for (const char* stop : {"INT", "TERM"}) {
        const CliRun stopped = slowSearch("monitor " + sim->linkPath(),
                                          std::string("timeout --preserve-status -s ") + stop + " 1 ");
        EXPECT_EQ(stopped.code, 1) << stop << ": " << stopped.err;
        // Within the search, which would have gone on until the wake-up at 3 s.
        EXPECT_NE(stopped.err.find(sim->linkPath() +
                                   ": stopped on request during the line-settings search"),
                  std::string::npos)
            << stopped.err << " after " << took << " s";
    }
}

}  // namespace
}  // namespace sigcond::test
