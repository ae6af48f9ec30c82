#include "qt/win_serial_port.h"

#include <windows.h>

#include <algorithm>
#include <iterator>

#include "qt/port_timing.h"

namespace sigcond {

namespace win {

std::wstring toWide(const std::string& text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(std::min<std::size_t>(text.size(), 1 << 20));
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string fromWide(const wchar_t* text, std::size_t length) {
    if (text == nullptr || length == 0) return {};
    const int size = static_cast<int>(std::min<std::size_t>(length, 1 << 20));
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, size, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return {};
    std::string narrow(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, size, narrow.data(), bytes, nullptr, nullptr);
    return narrow;
}

std::string errorMessage(unsigned long code) {
    wchar_t buffer[512];
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                       0, buffer, static_cast<DWORD>(std::size(buffer)), nullptr);
    std::string text = fromWide(buffer, length);
    // One line: the system ends its messages with a full stop and CR LF.
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '.')) text.pop_back();
    if (text.empty()) text = "system error " + std::to_string(code);
    return text;
}

}  // namespace win

namespace {

constexpr double kRecoveryIntervalSeconds = 0.2;
// A wait is cut into slices so that a device that goes away during it is noticed.
constexpr int kMaxSliceMs = 200;
// What one read hands out at most; the rest stays in the driver for the next.
constexpr std::size_t kMaxReadBytes = 1 << 16;

using port_timing::idle;
using port_timing::steadySeconds;

HANDLE asHandle(void* handle) { return static_cast<HANDLE>(handle); }

// "COM3" as the system opens it: \\.\COM3. Names already in that form are kept.
std::wstring deviceName(const std::string& path) {
    if (path.rfind("\\\\", 0) == 0) return win::toWide(path);
    return L"\\\\.\\" + win::toWide(path);
}

}  // namespace

WinSerialPort::~WinSerialPort() { closeHandle(); }

void WinSerialPort::setLineSettings(const std::string& settings) {
    line_ = telnet::parseLineSettings(settings, line_);
    applyLineSettings();
}

// As on Linux, a setting the driver refuses is not a port failure: the rest still applies.
void WinSerialPort::applyLineSettings() {
    if (handle_ == nullptr) return;
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(asHandle(handle_), &dcb)) return;
    dcb.BaudRate = line_.baud;
    dcb.ByteSize = line_.dataSize;
    dcb.Parity = line_.parity == telnet::kParityOdd    ? ODDPARITY
                 : line_.parity == telnet::kParityEven ? EVENPARITY
                                                       : NOPARITY;
    dcb.StopBits = line_.stopSize == 2 ? TWOSTOPBITS : ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = line_.parity != telnet::kParityNone;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    // A parity or framing error must not stop later reads until it is cleared.
    dcb.fAbortOnError = FALSE;
    SetCommState(asHandle(handle_), &dcb);
    sliceMs_ = -1;  // the write timeouts follow the baud rate
}

bool WinSerialPort::setReadSlice(int sliceMs) {
    if (sliceMs == sliceMs_) return true;
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.ReadTotalTimeoutMultiplier = MAXDWORD;
    timeouts.ReadTotalTimeoutConstant = static_cast<DWORD>(std::max(sliceMs, 1));
    // Time for the characters at the line's speed (start, stop and parity bits included), with
    // room to spare; a write that takes longer has failed.
    timeouts.WriteTotalTimeoutMultiplier = static_cast<DWORD>(12000 / std::max<unsigned long>(line_.baud, 1) + 1);
    timeouts.WriteTotalTimeoutConstant = 1000;
    if (!SetCommTimeouts(asHandle(handle_), &timeouts)) return false;
    sliceMs_ = sliceMs;
    return true;
}

bool WinSerialPort::openHandle() {
    const HANDLE handle = CreateFileW(deviceName(devicePath_).c_str(), GENERIC_READ | GENERIC_WRITE,
                                      0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        errorText_ = devicePath_ + ": " + win::errorMessage(GetLastError());
        return false;
    }
    handle_ = handle;
    sliceMs_ = -1;
    applyLineSettings();
    // Without its timeouts a read could wait for ever: such a port is not used.
    if (!setReadSlice(kMaxSliceMs)) {
        errorText_ = devicePath_ + ": " + win::errorMessage(GetLastError());
        closeHandle();
        return false;
    }
    errorText_.clear();
    return true;
}

void WinSerialPort::closeHandle() {
    if (handle_ != nullptr) CloseHandle(asHandle(handle_));
    handle_ = nullptr;
    pending_.clear();
}

bool WinSerialPort::open() {
    closeHandle();
    lost_ = false;
    failed_ = false;
    devicePath_ = comPortDevice(portNumber_);
    if (devicePath_.empty()) {
        errorText_ = "No serial port present for Com " + std::to_string(portNumber_);
        return false;
    }
    return openHandle();
}

void WinSerialPort::close() {
    lost_ = false;
    closeHandle();
}

bool WinSerialPort::isOpen() const { return handle_ != nullptr || lost_; }

void WinSerialPort::noteLoss() {
    errorText_ = devicePath_ + ": " + win::errorMessage(GetLastError());
    closeHandle();
    lost_ = true;
    failed_ = true;
}

bool WinSerialPort::recover() {
    if (!lost_) return handle_ != nullptr;
    const double now = steadySeconds();
    if (now - lastRecoveryAttempt_ < kRecoveryIntervalSeconds) return false;
    lastRecoveryAttempt_ = now;
    const std::string lostText = errorText_;
    if (!openHandle()) {
        errorText_ = lostText;
        return false;
    }
    lost_ = false;
    return true;
}

long WinSerialPort::driverCount() {
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(asHandle(handle_), &errors, &status)) {
        noteLoss();
        return -1;
    }
    return static_cast<long>(std::min<DWORD>(status.cbInQue, kMaxReadBytes));
}

bool WinSerialPort::readInto(std::size_t limit, unsigned long& got) {
    char buffer[4096];
    DWORD n = 0;
    got = 0;
    if (!ReadFile(asHandle(handle_), buffer,
                  static_cast<DWORD>(std::min(limit, sizeof buffer)), &n, nullptr)) {
        noteLoss();
        return false;
    }
    pending_.append(buffer, n);
    got = n;
    return true;
}

bool WinSerialPort::write(const std::string& text) {
    if (handle_ == nullptr && !recover()) {
        if (!lost_) errorText_ = "The serial port is not open";
        return false;
    }
    std::size_t done = 0;
    while (done < text.size()) {
        const DWORD part = static_cast<DWORD>(std::min<std::size_t>(text.size() - done, 4096));
        DWORD written = 0;
        if (!WriteFile(asHandle(handle_), text.data() + done, part, &written, nullptr)) {
            noteLoss();
            return false;
        }
        if (written == 0) {
            errorText_ = devicePath_ + ": the characters could not be sent in time";
            return false;
        }
        done += written;
    }
    return true;
}

int WinSerialPort::waitingCount() {
    if (handle_ == nullptr && !recover()) return 0;
    const long count = driverCount();
    return static_cast<int>(pending_.size()) + std::max(count, 0L);
}

std::string WinSerialPort::readAll() {
    if (handle_ == nullptr && !recover()) return {};
    long count = driverCount();
    // The driver holds `count` characters: the reads return them at once without waiting.
    while (count > 0 && pending_.size() < kMaxReadBytes) {
        unsigned long got = 0;
        if (!readInto(std::min<std::size_t>(count, kMaxReadBytes - pending_.size()), got)) break;
        if (got == 0) break;
        count -= static_cast<long>(got);
    }
    std::string text;
    text.swap(pending_);
    // A 7-bit line carries 7-bit characters; whatever the driver puts in the eighth bit is not
    // part of them.
    if (line_.dataSize == 7) {
        for (char& c : text) c = static_cast<char>(c & 0x7F);
    }
    return text;
}

bool WinSerialPort::waitForData(int timeoutMs) {
    if (handle_ == nullptr && !recover()) {
        idle(timeoutMs);
        return false;
    }
    if (!pending_.empty()) return true;
    const double deadline = steadySeconds() + std::max(timeoutMs, 0) / 1000.0;
    for (;;) {
        const int left = static_cast<int>((deadline - steadySeconds()) * 1000.0);
        const int slice = std::clamp(left, 0, kMaxSliceMs);
        const double start = steadySeconds();
        if (slice == 0) {
            // Only a look at what is waiting.
            const long count = driverCount();
            if (count < 0) break;
            return count > 0;
        }
        if (!setReadSlice(slice)) {
            noteLoss();
            break;
        }
        unsigned long got = 0;
        if (!readInto(kMaxReadBytes, got)) break;
        if (got > 0) return true;
        // A driver that returns early with nothing must not turn the wait into a spin.
        const int early = slice - static_cast<int>((steadySeconds() - start) * 1000.0);
        if (early > slice / 2) idle(std::min(early, left));
        if (steadySeconds() >= deadline) return false;
    }
    // The device went away: the rest of the time is still waited.
    idle(static_cast<int>((deadline - steadySeconds()) * 1000.0));
    return false;
}

}  // namespace sigcond
