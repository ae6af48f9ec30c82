// The Win32 serial port against simulated units on COM ports that tests/windows/run_wine_checks.sh
// maps to pseudo-terminals under Wine: COM1 a unit at 9600,O,7,1 reading 12.5, COM2 one at
// 4800,E,7,1 answering 0.5 s late, COM3 a silent one.
#include <windows.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "qt/win_serial_port.h"

namespace sigcond {
namespace {

double processSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto seconds = [](const FILETIME& t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                                   t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

double now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

class WinSerialPortOnUnits : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::getenv("SIGCOND_WIN_TEST_UNITS") == nullptr) {
            GTEST_SKIP() << "no simulated units on COM1 to COM3 (run_wine_checks.sh sets them up)";
        }
    }
    // The answer to "*X01" within 2 s (up to its carriage return), and how long it took.
    std::string ask(int com, const std::string& settings, double& took) {
        WinSerialPort port;
        port.setPortNumber(com);
        port.setLineSettings(settings);
        EXPECT_TRUE(port.open()) << port.errorText();
        EXPECT_TRUE(port.write("*X01\r")) << port.errorText();
        const double start = now();
        std::string answer;
        while (answer.find('\r') == std::string::npos && now() - start < 2.0) {
            if (port.waitForData(200)) answer += port.readAll();
        }
        took = now() - start;
        return answer;
    }
};

TEST_F(WinSerialPortOnUnits, AFrameIsUnderstoodOnlyAtTheUnitsLineSettings) {
    const struct {
        int com;
        const char* settings;
        bool understood;
        double earliest;  // seconds before the answer may come
    } cases[] = {
        {1, "9600,O,7,1", true, 0.0},
        {1, "4800,E,7,1", false, 0.0},
        {1, "9600,N,7,2", false, 0.0},
        {2, "4800,E,7,1", true, 0.45},
        {2, "9600,O,7,1", false, 0.0},
    };
    for (const auto& c : cases) {
        double took = 0;
        const std::string answer = ask(c.com, c.settings, took);
        EXPECT_EQ(answer.rfind("X01", 0) == 0, c.understood)
            << "COM" << c.com << " " << c.settings << ": \"" << answer << "\"";
        if (c.understood) {
            EXPECT_GE(took, c.earliest) << "COM" << c.com;
            EXPECT_LT(took, c.earliest + 1.0) << "COM" << c.com;
        }
        if (c.com == 1 && c.understood) {
            EXPECT_NE(answer.find("12.50"), std::string::npos);
        }
    }
}

TEST_F(WinSerialPortOnUnits, ASilentLineIsWaitedOutAsleep) {
    WinSerialPort port;
    port.setPortNumber(3);
    port.setLineSettings("9600,O,7,1");
    ASSERT_TRUE(port.open()) << port.errorText();
    ASSERT_TRUE(port.write("*X01\r"));
    const double wallStart = now();
    const double cpuStart = processSeconds();
    EXPECT_FALSE(port.waitForData(2000));
    const double wall = now() - wallStart;
    const double cpu = processSeconds() - cpuStart;
    EXPECT_GE(wall, 1.99);
    EXPECT_LT(wall, 2.5);
    EXPECT_LT(cpu / wall, 0.1) << cpu << " s of processor time in " << wall << " s";
}

}  // namespace
}  // namespace sigcond
