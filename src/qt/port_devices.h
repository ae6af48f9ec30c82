// The serial ports the system lists, and what "Com n" stands for. "Com n" is the device named by
// the environment variable SIGCOND_COM<n> when it is set (a device, a COM name or a device
// server's URL). Otherwise, on Linux, it is the n-th serial port the system lists (USB and ACM
// adapters first, then built-in ports); on Windows it is the port the system names COMn.
#pragma once

#include <string>
#include <vector>

namespace sigcond {

// One serial port the system lists.
struct PortDevice {
    std::string path;          // what opens it: "/dev/ttyUSB0", "COM3"
    std::string description;   // its friendly name, "" when the system gives none
    std::string manufacturer;
    std::string serialNumber;
};

// The system's serial ports, in the order "Com n" counts them on Linux.
std::vector<PortDevice> listedPortDevices();

// The "Com n" the index-th listed port is unless SIGCOND_COM<n> names another: index + 1 on
// Linux, n of "COMn" on Windows (0 when it has none).
int listedComNumber(std::size_t index, const PortDevice& device);

// The device "Com n" stands for: a path such as "/dev/ttyUSB0" or "COM3", a device server's
// address such as "rfc2217://10.0.0.7:2001" (from SIGCOND_COM<n> only), or "" when there is none.
std::string comPortDevice(int number);
// For the port chooser's tooltips: the device path or address and what it is, or that none is
// present.
std::string describeComPort(int number);

// The value of SIGCOND_COM<n>, or "".
std::string environmentComDevice(int number);
// "device (SIGCOND_COMn)" with what a URL reaches: the first half of describeComPort().
std::string describeEnvironmentDevice(int number, const std::string& device);
// "path (description, manufacturer)" as the tooltips show a listed port.
std::string describeListedDevice(const PortDevice& device);

}  // namespace sigcond
