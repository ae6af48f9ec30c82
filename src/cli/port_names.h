// The ports named on the command line: "COMn" stands for the program's own "Com n" mapping; a
// device path or a network URL is given a free "Com n" of its own (through SIGCOND_COM<n>), so
// that the port adapter opens it like any other port. Any number of ports may be named.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace sigcond::cli {

struct NamedPort {
    std::string label;   // as typed
    int number = 0;      // the "Com n" the adapter opens
    std::string device;  // the device path or URL to map number to; "" for COMn
};

// True for a port named by a URL such as "rfc2217://host:4001": it is handed on exactly as typed.
bool isPortUrl(const std::string& name);

// What a device or URL is the same as, however it was named: a device's path with links, "."
// and ".." resolved; a URL as it stands.
std::string sameDeviceKey(const std::string& device);

// Splits a comma-separated list and assigns "Com n" numbers: COMn keeps n, every other port
// takes the lowest number no other port of the list holds. A relative device path is made
// absolute. Returns nothing (with `error`) for an empty name or a name or COMn given twice.
std::optional<std::vector<NamedPort>> parsePortList(const std::string& list, std::string& error);

// Makes each device or URL port's number open it (sets SIGCOND_COM<n>). Call before any worker
// starts: the workers read the environment.
void mapDevicePorts(const std::vector<NamedPort>& ports);

// The file each port's configuration is saved to in a folder: the port's name without "/dev/"
// or the URL's scheme, every character that may not stand in a file name replaced by "_", and
// ".CFG". Returns nothing (with `error`) when two ports would share a file.
std::optional<std::vector<std::string>> saveFileNames(const std::vector<NamedPort>& ports,
                                                      std::string& error);

}  // namespace sigcond::cli
