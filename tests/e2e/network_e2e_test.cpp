// Units behind a real device server: Debian's ser2net in front of sigcond-unit-sim, reached
// through rfc2217:// and socket:// addresses by the program in-process and by sigcond-cli.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "fault_fixture.h"
#include "support/ser2net_process.h"

namespace sigcond::test {
namespace {

using Steady = std::chrono::steady_clock;

double secondsSince(Steady::time_point start) {
    return std::chrono::duration<double>(Steady::now() - start).count();
}

struct CliRun {
    int code = -1;
    std::string out, err;
};

class NetworkE2E : public FaultE2E {
protected:
    NetworkE2E() {
        char pattern[] = "/tmp/sigcond-net-test-XXXXXX";
        if (mkdtemp(pattern)) folder = pattern;
    }
    ~NetworkE2E() override { std::filesystem::remove_all(folder); }

    // ser2net in front of the unit, its Telnet port on Com 1.
    Ser2netProcess& serve(SimProcess& sim, const std::string& plainSettings = "9600o71") {
        server = std::make_unique<Ser2netProcess>(sim.linkPath(), plainSettings);
        EXPECT_TRUE(server->start()) << server->error();
        setenv("SIGCOND_COM1", server->rfc2217Url().c_str(), 1);
        return *server;
    }

    CliRun runCli(const std::string& arguments) {
        const std::string out = folder + "/out.txt", err = folder + "/err.txt";
        const int status = std::system(
            (std::string(SIGCOND_BIN_DIR) + "/sigcond-cli " + arguments + " >" + out + " 2>" + err)
                .c_str());
        const auto slurp = [](const std::string& path) {
            std::stringstream s;
            s << std::ifstream(path).rdbuf();
            return s.str();
        };
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(out), slurp(err)};
    }

    void waitForReading(const char* shown, int ms = 6000) {
        ASSERT_TRUE(waitFor([&] { return labelText(app, "Label4") == shown; }, ms))
            << labelText(app, "Label4").toStdString() << " " << trace();
    }

    std::string folder;
    std::unique_ptr<Ser2netProcess> server;
};

TEST_F(NetworkE2E, ProgramFindsA4800EvenUnitThroughTheServerAndReadsOnAfterItsRestart) {
    SimProcess& sim =
        startUnit({"--type", "TC", "--baud", "4800", "--parity", "E", "--reading", "12.34"});
    serve(sim);
    EXPECT_NE(describeComPort(1).find(server->rfc2217Url() + " (SIGCOND_COM1): device server"),
              std::string::npos);
    ASSERT_NO_FATAL_FAILURE(openMainScreen());
    ASSERT_NO_FATAL_FAILURE(waitForReading("  12.34"));
    EXPECT_EQ(app.program().link.lineSettings, "4800,E,7,1");
    const std::vector<std::string> search = {
        "9600,O,7,1 U01",  "9600,E,7,1 U01",  "9600,N,7,2 U01", "19200,O,7,1 U01",
        "19200,E,7,1 U01", "19200,N,7,2 U01", "4800,O,7,1 U01", "4800,E,7,1 U01"};
    const std::vector<std::string> frames = sim.frames();
    ASSERT_GE(frames.size(), search.size());
    EXPECT_EQ(std::vector<std::string>(frames.begin(), frames.begin() + 8), search);
    // The pseudo-terminal cannot show data bits and parity: the server's acknowledgements say
    // what it took from the wire (ser2net echoes the values asked for).
    NetworkPort& network = app.port().network();
    EXPECT_EQ(network.acknowledgedCount(), 4);
    EXPECT_EQ(network.acknowledgedSettings().baud, 4800u);
    EXPECT_EQ(network.acknowledgedSettings().dataSize, 7);
    EXPECT_EQ(network.acknowledgedSettings().parity, telnet::kParityEven);
    EXPECT_EQ(network.acknowledgedSettings().stopSize, 1);

    // The server goes away: the missing-reply state, no report; back, it starts the line at its
    // own 115200 baud, the adapter sets it again and the readings resume.
    server->stop();
    ASSERT_NO_FATAL_FAILURE(waitForReading("ERROR  "));
    EXPECT_TRUE(app.widget(kFaultMain, "Picture2")->isVisible());
    EXPECT_TRUE(errorPanel().isEmpty());
    EXPECT_TRUE(network.failed());
    ASSERT_TRUE(server->start()) << server->error();
    ASSERT_NO_FATAL_FAILURE(waitForReading("  12.34", 10000));
    EXPECT_EQ(sim.frames().back(), "4800,E,7,1 X01");
    EXPECT_FALSE(app.widget(kFaultMain, "Picture2")->isVisible());
    EXPECT_EQ(network.reconnections(), 1);
}

TEST_F(NetworkE2E, SendThroughTheServerWritesWhatALocalSendWritesAndSocketKeepsTheServersLine) {
    const std::vector<std::string> unit = {
        "--type", "PR",         "--baud",          "2400",       "--parity",
        "N",      "--register", "3C=500000100000", "--register", "3D=5186A01003E8"};
    SimProcess& remote = startUnit(unit);
    serve(remote, "2400n72");
    SimProcess local(unit);
    ASSERT_TRUE(local.start()) << local.error();
    const std::string file = folder + "/pr.CFG";
    const CliRun read = runCli("read COM1 --save " + file);
    ASSERT_EQ(read.code, 0) << read.err;
    EXPECT_NE(read.out.find("2400,N,7,2"), std::string::npos) << read.out;

    remote.clearFrames();
    const CliRun sent = runCli("send COM1 " + file + " --verify");
    EXPECT_EQ(sent.code, 0) << sent.err;
    ASSERT_EQ(runCli("send " + local.linkPath() + " " + file + " --verify").code, 0);
    EXPECT_GT(local.frames().size(), 20u);
    EXPECT_EQ(remote.frames(), local.frames());

    // Plain TCP: the server's line carries the first attempt, which is what is reported.
    remote.clearFrames();
    // A scheme is a scheme in any case, and every output form says the settings are the try's.
    setenv("SIGCOND_COM1", ("SOCKET" + server->socketUrl().substr(6)).c_str(), 1);
    const CliRun identify = runCli("identify COM1");
    EXPECT_EQ(identify.code, 0) << identify.err;
    EXPECT_NE(identify.out.find("9600,O,7,1 as tried ("), std::string::npos) << identify.out;
    EXPECT_EQ(remote.frames(), std::vector<std::string>{"2400,N,7,2 U01"});

    const CliRun json = runCli("read COM1 --json");
    EXPECT_NE(json.out.find("\"lineSettings\": \"9600,O,7,1\", \"lineSettingsAsTried\": true, "
                            "\"lineSettingsCaveat\": \"over socket://"),
              std::string::npos)
        << json.out;
}

TEST_F(NetworkE2E, AConnectionLostDuringACommandIsNoSilentUnit) {
    // The server goes while sigcond-cli waits for the answer to R3C (which this unit never gives).
    serve(startUnit({"--silent-for", "R3C"}));
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(1000));
        server->stop();
    });
    const CliRun cut = runCli("read COM1");
    stopper.join();
    EXPECT_EQ(cut.code, 1);
    EXPECT_NE(cut.err.find("command R3C was cut short: the port failed"), std::string::npos)
        << cut.err;
}

TEST_F(NetworkE2E, RefusingUnknownAndBusyServersAreAWrongPortWithinSeconds) {
    SimProcess& sim = startUnit({"--type", "TC"});
    serve(sim);
    setenv("SIGCOND_COM1", ("rfc2217://127.0.0.1:" + std::to_string(freeLocalPort())).c_str(), 1);
    const auto start = Steady::now();
    ASSERT_NO_FATAL_FAILURE(openMainScreen(6000));
    EXPECT_LT(secondsSince(start), 6.0);
    const QStringList lines = errorPanel();
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[2], QStringLiteral("      You have chosen a wrong  SERIAL PORT"));
    EXPECT_TRUE(sim.frames().empty());

    // Another client holds the server's port: its text is the reason given.
    const int holder = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(server->rfc2217Port()));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(connect(holder, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    setenv("SIGCOND_COM1", server->rfc2217Url().c_str(), 1);
    auto began = Steady::now();
    const CliRun busy = runCli("identify COM1");
    EXPECT_LT(secondsSince(began), 5.0);
    close(holder);
    EXPECT_EQ(busy.code, 1);
    // The address named once, the server's own words after it.
    EXPECT_EQ(busy.err, "sigcond-cli: COM1: the port cannot be opened (" + server->rfc2217Url() +
                            "): the server closed the connection: Port already in use\n");

    setenv("SIGCOND_COM1", "rfc2217://no-such-host.invalid:2000", 1);
    began = Steady::now();
    const CliRun unknown = runCli("identify COM1");
    EXPECT_LT(secondsSince(began), 5.0);
    EXPECT_EQ(unknown.code, 1);
    EXPECT_NE(unknown.err.find("no-such-host.invalid"), std::string::npos) << unknown.err;
}

TEST_F(NetworkE2E, SendAndVerifyTo16UnitsBehindOneServerEachAtItsOwnLineSettings) {
    // Every one of the fifteen line settings of the search, and the first again.
    SimProcess& units =
        startUnit({"--units", "16", "--baud", "9600,19200,4800,2400,1200", "--parity", "O,E,N",
                   "--register", "3C=500000100000", "--register", "3D=5186A01003E8"});
    std::vector<std::string> devices;
    for (std::size_t n = 0; n < units.units(); ++n) devices.push_back(units.linkPath(n));
    Ser2netProcess sixteen(devices);
    ASSERT_TRUE(sixteen.start()) << sixteen.error();
    const std::string file = folder + "/tc.CFG";
    ASSERT_EQ(runCli("read " + sixteen.rfc2217Url(0) + " --save " + file).code, 0);
    units.clearFrames();
    std::string list;
    for (std::size_t n = 0; n < units.units(); ++n) list += sixteen.rfc2217Url(n) + ",";
    list.pop_back();

    const CliRun send = runCli("send " + list + " " + file + " --verify");
    EXPECT_EQ(send.code, 0) << send.err;
    // The whole send and read-back reached each unit at its own settings, after its search.
    const char* bauds[] = {"9600", "19200", "4800", "2400", "1200"};
    const char* parities[] = {",O,7,1", ",E,7,1", ",N,7,2"};
    std::vector<std::string> first;
    for (std::size_t n = 0; n < units.units(); ++n) {
        const std::string settings = std::string(bauds[n % 5]) + parities[n % 3];
        const std::string url = sixteen.rfc2217Url(n) + " ";
        const auto row = send.out.rfind(url);
        ASSERT_NE(row, std::string::npos) << send.out;
        const std::string result =
            send.out.substr(row + url.size(), send.out.find('\n', row) - row - url.size());
        EXPECT_EQ(result.substr(result.find_first_not_of(' ')),
                  "ok      sent to TC (THERMOCOUPLE) at " + settings + ", verified");
        std::vector<std::string> frames = units.frames(n), commands;
        const auto found = std::find(frames.begin(), frames.end(), settings + " U01");
        ASSERT_NE(found, frames.end()) << n;
        for (auto frame = found; frame != frames.end(); ++frame) {
            EXPECT_EQ(frame->rfind(settings + " ", 0), 0u) << *frame;
            commands.push_back(frame->substr(frame->find(' ') + 1));
        }
        if (n == 0) first = commands;
        EXPECT_EQ(commands, first) << n;
    }
    // "U01", ten writes closing with "W0814" "Z01", eight reads back closing with "R03".
    ASSERT_EQ(first.size(), 19u) << ::testing::PrintToString(first);
    EXPECT_EQ(first[10], "Z01");
    EXPECT_EQ(first.back(), "R03");
}

}  // namespace
}  // namespace sigcond::test
