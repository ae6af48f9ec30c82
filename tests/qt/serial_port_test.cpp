// The Qt serial-port adapter on a pseudo-terminal the test holds and never writes to: what a
// wait on the silent line costs, and what each line settings text of the search sets.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <QCoreApplication>

#include "qt/qt_serial_port.h"

namespace sigcond {
namespace {

class SilentLine : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "qt_tests";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
    }
    void SetUp() override {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        ASSERT_GE(master, 0);
        ASSERT_EQ(grantpt(master), 0);
        ASSERT_EQ(unlockpt(master), 0);
        setenv("SIGCOND_COM1", ptsname(master), 1);
        port.setPortNumber(1);
        ASSERT_TRUE(port.open()) << port.errorText();
    }
    void TearDown() override {
        port.close();
        unsetenv("SIGCOND_COM1");
        if (master >= 0) close(master);
    }

    int master = -1;
    QtSerialPort port;
};

double secondsOf(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

TEST_F(SilentLine, AOneSecondWaitSleepsInsteadOfSpinning) {
    port.setLineSettings("9600,O,7,1");
    const double wallStart = secondsOf(CLOCK_MONOTONIC);
    const double cpuStart = secondsOf(CLOCK_PROCESS_CPUTIME_ID);
    EXPECT_FALSE(port.waitForData(1000));
    const double wall = secondsOf(CLOCK_MONOTONIC) - wallStart;
    const double cpu = secondsOf(CLOCK_PROCESS_CPUTIME_ID) - cpuStart;
    EXPECT_GE(wall, 0.99);
    // A share of the time, so that a busy machine lengthens both alike.
    EXPECT_LT(cpu / wall, 0.1) << cpu << " s of processor time in " << wall << " s";
}

// The fifteen settings the search tries: five baud rates, three parities, 7 data bits, two
// stop bits with no parity. Read back from QSerialPort on a closed port (where it keeps what it
// is given) and on the open one, where the device side of the line shows the baud rate, the
// stop bits and the odd flag (a pseudo-terminal keeps 8 data bits and no parity bit itself).
TEST_F(SilentLine, EachSearchSettingReachesTheLine) {
    const std::pair<const char*, speed_t> bauds[] = {
        {"9600", B9600}, {"19200", B19200}, {"4800", B4800}, {"2400", B2400}, {"1200", B1200}};
    const std::pair<char, QSerialPort::Parity> parities[] = {{'O', QSerialPort::OddParity},
                                                             {'E', QSerialPort::EvenParity},
                                                             {'N', QSerialPort::NoParity}};
    for (const auto& [baud, speed] : bauds) {
        for (const auto& [letter, parity] : parities) {
            const bool twoStops = letter == 'N';
            const std::string text =
                std::string(baud) + "," + letter + ",7," + (twoStops ? "2" : "1");
            const QSerialPort::StopBits stops =
                twoStops ? QSerialPort::TwoStop : QSerialPort::OneStop;

            QtSerialPort closed;
            closed.setLineSettings(text);
            EXPECT_EQ(closed.device().baudRate(), std::atoi(baud)) << text;
            EXPECT_EQ(closed.device().dataBits(), QSerialPort::Data7) << text;
            EXPECT_EQ(closed.device().parity(), parity) << text;
            EXPECT_EQ(closed.device().stopBits(), stops) << text;

            port.setLineSettings(text);
            EXPECT_EQ(port.device().baudRate(), std::atoi(baud)) << text;
            EXPECT_EQ(port.device().dataBits(), QSerialPort::Data7) << text;
            EXPECT_EQ(port.device().parity(), parity) << text;
            EXPECT_EQ(port.device().stopBits(), stops) << text;
            termios line{};
            ASSERT_EQ(tcgetattr(master, &line), 0);
            EXPECT_EQ(cfgetospeed(&line), speed) << text;
            EXPECT_EQ((line.c_cflag & CSTOPB) != 0, twoStops) << text;
            EXPECT_EQ((line.c_cflag & PARODD) != 0, letter == 'O') << text;
        }
    }
}

}  // namespace
}  // namespace sigcond
