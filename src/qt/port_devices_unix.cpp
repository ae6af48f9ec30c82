// The port listing on Linux: QSerialPortInfo, adapters first.
#include <QSerialPortInfo>
#include <algorithm>

#include "qt/port_devices.h"

namespace sigcond {

namespace {

// USB and ACM adapters before built-in ports; within each, numbers in numeric order
// (ttyS2 before ttyS10).
bool listedBefore(const QSerialPortInfo& a, const QSerialPortInfo& b) {
    const auto isAdapter = [](const QSerialPortInfo& info) {
        const QString name = info.portName();
        return name.startsWith("ttyUSB") || name.startsWith("ttyACM") || info.hasVendorIdentifier();
    };
    if (isAdapter(a) != isAdapter(b)) return isAdapter(a);
    const QString nameA = a.portName(), nameB = b.portName();
    qsizetype digitsA = nameA.size(), digitsB = nameB.size();
    while (digitsA > 0 && nameA[digitsA - 1].isDigit()) --digitsA;
    while (digitsB > 0 && nameB[digitsB - 1].isDigit()) --digitsB;
    if (nameA.left(digitsA) != nameB.left(digitsB))
        return nameA.left(digitsA) < nameB.left(digitsB);
    return nameA.mid(digitsA).toLongLong() < nameB.mid(digitsB).toLongLong();
}

}  // namespace

std::vector<PortDevice> listedPortDevices() {
    const QList<QSerialPortInfo> available = QSerialPortInfo::availablePorts();
    std::vector<QSerialPortInfo> ports(available.begin(), available.end());
    std::stable_sort(ports.begin(), ports.end(), listedBefore);
    std::vector<PortDevice> devices;
    for (const QSerialPortInfo& info : ports) {
        devices.push_back({info.systemLocation().toStdString(), info.description().toStdString(),
                           info.manufacturer().toStdString(), info.serialNumber().toStdString()});
    }
    return devices;
}

int listedComNumber(std::size_t index, const PortDevice&) { return static_cast<int>(index) + 1; }

std::string comPortDevice(int number) {
    if (number < 1) return {};
    if (std::string device = environmentComDevice(number); !device.empty()) return device;
    const auto ports = listedPortDevices();
    if (static_cast<std::size_t>(number) > ports.size()) return {};
    return ports[number - 1].path;
}

std::string describeComPort(int number) {
    if (std::string device = environmentComDevice(number); !device.empty())
        return describeEnvironmentDevice(number, device);
    const auto ports = listedPortDevices();
    if (number < 1 || static_cast<std::size_t>(number) > ports.size()) {
        return "No serial port present for Com " + std::to_string(number);
    }
    return describeListedDevice(ports[number - 1]);
}

}  // namespace sigcond
