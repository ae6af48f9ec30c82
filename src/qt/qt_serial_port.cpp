#include "qt/qt_serial_port.h"

#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <chrono>
#include <thread>

#include "qt/port_timing.h"

namespace sigcond {

namespace {

constexpr double kRecoveryIntervalSeconds = 0.2;

using port_timing::idle;
using port_timing::steadySeconds;

}  // namespace

QtSerialPort::QtSerialPort() = default;

QtSerialPort::~QtSerialPort() {
    if (port_.isOpen()) port_.close();
}

void QtSerialPort::setLineSettings(const std::string& settings) {
    const QStringList fields = QString::fromStdString(settings).split(',');
    if (fields.size() >= 1) {
        bool ok = false;
        const int baud = fields[0].trimmed().toInt(&ok);
        if (ok && baud > 0) baud_ = baud;
    }
    if (fields.size() >= 2) {
        const QString parity = fields[1].trimmed().toUpper();
        if (parity == "O") parity_ = QSerialPort::OddParity;
        if (parity == "E") parity_ = QSerialPort::EvenParity;
        if (parity == "N") parity_ = QSerialPort::NoParity;
    }
    if (fields.size() >= 3) {
        const int bits = fields[2].trimmed().toInt();
        if (bits >= 5 && bits <= 8) dataBits_ = static_cast<QSerialPort::DataBits>(bits);
    }
    if (fields.size() >= 4) {
        stopBits_ = fields[3].trimmed() == "2" ? QSerialPort::TwoStop : QSerialPort::OneStop;
    }
    applyLineSettings();
}

// Setter results are not port errors: on a pseudo-terminal the driver keeps 8 data bits and no
// parity whatever is asked, and QSerialPort reports that as a failure although the rest of
// the settings took effect.
void QtSerialPort::applyLineSettings() {
    port_.setBaudRate(baud_);
    port_.setDataBits(dataBits_);
    port_.setParity(parity_);
    port_.setStopBits(stopBits_);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    if (port_.isOpen()) port_.clearError();
}

bool QtSerialPort::open() {
    if (port_.isOpen()) port_.close();
    lost_ = false;
    failed_ = false;
    devicePath_ = comPortDevice(portNumber_);
    if (devicePath_.empty()) {
        errorText_ = "No serial port present for Com " + std::to_string(portNumber_);
        return false;
    }
    port_.setPortName(QString::fromStdString(devicePath_));
    applyLineSettings();
    if (!port_.open(QIODevice::ReadWrite)) {
        errorText_ = devicePath_ + ": " + port_.errorString().toStdString();
        return false;
    }
    applyLineSettings();
    errorText_.clear();
    return true;
}

void QtSerialPort::close() {
    lost_ = false;
    if (port_.isOpen()) port_.close();
}

bool QtSerialPort::isOpen() const { return port_.isOpen() || lost_; }

void QtSerialPort::noteFailure() {
    errorText_ = devicePath_ + ": " + port_.errorString().toStdString();
}

void QtSerialPort::checkForLoss() {
    const auto error = port_.error();
    if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError) return;
    noteFailure();
    if (error == QSerialPort::ResourceError || error == QSerialPort::ReadError ||
        error == QSerialPort::WriteError ||
        !QFileInfo::exists(QString::fromStdString(devicePath_))) {
        port_.close();
        port_.clearError();
        lost_ = true;
        failed_ = true;
    }
}

bool QtSerialPort::recover() {
    if (!lost_) return port_.isOpen();
    const double now = steadySeconds();
    if (now - lastRecoveryAttempt_ < kRecoveryIntervalSeconds) return false;
    lastRecoveryAttempt_ = now;
    if (!QFileInfo::exists(QString::fromStdString(devicePath_))) return false;
    port_.setPortName(QString::fromStdString(devicePath_));
    applyLineSettings();
    if (!port_.open(QIODevice::ReadWrite)) {
        port_.clearError();
        return false;
    }
    applyLineSettings();
    lost_ = false;
    errorText_.clear();
    return true;
}

bool QtSerialPort::write(const std::string& text) {
    if (!port_.isOpen() && !recover()) {
        if (!lost_) errorText_ = "The serial port is not open";
        return false;
    }
    const QByteArray bytes(text.data(), static_cast<qsizetype>(text.size()));
    if (port_.write(bytes) != bytes.size()) {
        checkForLoss();
        return false;
    }
    // QSerialPort hands the bytes to the device only from its wait calls or the event loop.
    while (port_.bytesToWrite() > 0) {
        if (!port_.waitForBytesWritten(1000)) {
            checkForLoss();
            return false;
        }
    }
    return true;
}

int QtSerialPort::waitingCount() {
    if (!port_.isOpen() && !recover()) return 0;
    // Received bytes reach QSerialPort's buffer only inside its wait calls: let it look.
    if (!port_.waitForReadyRead(0)) checkForLoss();
    return port_.isOpen() ? static_cast<int>(port_.bytesAvailable()) : 0;
}

std::string QtSerialPort::readAll() {
    if (!port_.isOpen() && !recover()) return {};
    if (!port_.waitForReadyRead(0)) checkForLoss();
    if (!port_.isOpen()) return {};
    const QByteArray bytes = port_.readAll();
    std::string text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    // A 7-bit line carries 7-bit characters; whatever the driver puts in the eighth bit
    // (a pseudo-terminal passes it through) is not part of them.
    if (dataBits_ == QSerialPort::Data7) {
        for (char& c : text) c = static_cast<char>(c & 0x7F);
    }
    return text;
}

bool QtSerialPort::waitForData(int timeoutMs) {
    if (!port_.isOpen() && !recover()) {
        idle(timeoutMs);
        return false;
    }
    if (port_.bytesAvailable() > 0) return true;
    const double start = steadySeconds();
    if (port_.waitForReadyRead(std::max(timeoutMs, 0))) return true;
    if (port_.bytesAvailable() > 0) return true;
    checkForLoss();
    // A failed wait may return at once; the rest of the time is still waited.
    const int left = timeoutMs - static_cast<int>((steadySeconds() - start) * 1000.0);
    idle(left);
    return false;
}

}  // namespace sigcond
