// The port listing on Windows: the COM names the system's serial drivers register, with the
// friendly names the device manager shows.
#include <windows.h>
#include <setupapi.h>

#include <algorithm>
#include <map>

#include "qt/port_devices.h"
#include "qt/win_serial_port.h"

namespace sigcond {

namespace {

// The device class of serial and parallel ports.
constexpr GUID kPortsClass = {0x4d36e978, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};
constexpr DWORD kMaxPorts = 256;

// n of "COMn", or 0.
int comNumber(const std::string& name) {
    if (name.size() < 4 || name.size() > 7) return 0;
    if (_strnicmp(name.c_str(), "COM", 3) != 0) return 0;
    if (name.find_first_not_of("0123456789", 3) != std::string::npos || name[3] == '0') return 0;
    return std::stoi(name.substr(3));
}

// A text value of a registry key, "" when it has none.
std::string textValue(HKEY key, const wchar_t* name) {
    wchar_t data[256];
    DWORD size = sizeof data - sizeof(wchar_t);
    DWORD type = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return {};
    std::size_t length = size / sizeof(wchar_t);
    while (length > 0 && data[length - 1] == L'\0') --length;
    return win::fromWide(data, length);
}

std::string deviceProperty(HDEVINFO set, SP_DEVINFO_DATA& info, DWORD property) {
    wchar_t data[256];
    DWORD type = 0;
    if (!SetupDiGetDeviceRegistryPropertyW(set, &info, property, &type,
                                           reinterpret_cast<BYTE*>(data),
                                           sizeof data - sizeof(wchar_t), nullptr) ||
        type != REG_SZ)
        return {};
    data[std::size(data) - 1] = L'\0';
    return win::fromWide(data, wcsnlen(data, std::size(data)));
}

// Friendly name and maker of each present port, by its COM name.
std::map<std::string, PortDevice> namedPorts() {
    std::map<std::string, PortDevice> named;
    const HDEVINFO set = SetupDiGetClassDevsW(&kPortsClass, nullptr, nullptr, DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE) return named;
    SP_DEVINFO_DATA info{};
    info.cbSize = sizeof info;
    for (DWORD i = 0; i < kMaxPorts && SetupDiEnumDeviceInfo(set, i, &info); ++i) {
        const HKEY key = SetupDiOpenDevRegKey(set, &info, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
        if (key == INVALID_HANDLE_VALUE) continue;
        const std::string name = textValue(key, L"PortName");
        RegCloseKey(key);
        if (comNumber(name) == 0) continue;
        named[name] = {name, deviceProperty(set, info, SPDRP_FRIENDLYNAME),
                       deviceProperty(set, info, SPDRP_MFG), ""};
    }
    SetupDiDestroyDeviceInfoList(set);
    return named;
}

}  // namespace

std::vector<PortDevice> listedPortDevices() {
    std::vector<PortDevice> ports;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ,
                      &key) != ERROR_SUCCESS)
        return ports;
    const std::map<std::string, PortDevice> named = namedPorts();
    for (DWORD i = 0; i < kMaxPorts; ++i) {
        wchar_t valueName[256];
        DWORD nameLength = static_cast<DWORD>(std::size(valueName));
        wchar_t data[64];
        DWORD size = sizeof data - sizeof(wchar_t);
        DWORD type = 0;
        const LONG result = RegEnumValueW(key, i, valueName, &nameLength, nullptr, &type,
                                          reinterpret_cast<BYTE*>(data), &size);
        if (result == ERROR_NO_MORE_ITEMS) break;
        if (result != ERROR_SUCCESS || type != REG_SZ) continue;
        std::size_t length = size / sizeof(wchar_t);
        while (length > 0 && data[length - 1] == L'\0') --length;
        const std::string name = win::fromWide(data, length);
        if (comNumber(name) == 0) continue;
        const auto found = named.find(name);
        ports.push_back(found != named.end() ? found->second : PortDevice{name, "", "", ""});
    }
    RegCloseKey(key);
    std::sort(ports.begin(), ports.end(), [](const PortDevice& a, const PortDevice& b) {
        return comNumber(a.path) < comNumber(b.path);
    });
    ports.erase(std::unique(ports.begin(), ports.end(),
                            [](const PortDevice& a, const PortDevice& b) { return a.path == b.path; }),
                ports.end());
    return ports;
}

int listedComNumber(std::size_t, const PortDevice& device) { return comNumber(device.path); }

std::string comPortDevice(int number) {
    if (number < 1) return {};
    if (std::string device = environmentComDevice(number); !device.empty()) return device;
    return "COM" + std::to_string(number);
}

std::string describeComPort(int number) {
    if (std::string device = environmentComDevice(number); !device.empty())
        return describeEnvironmentDevice(number, device);
    for (const PortDevice& port : listedPortDevices()) {
        if (comNumber(port.path) == number) return describeListedDevice(port);
    }
    return "No serial port present for Com " + std::to_string(number);
}

}  // namespace sigcond
