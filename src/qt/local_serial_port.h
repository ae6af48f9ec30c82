// The adapter for a serial device on this machine: the Win32 communications API on Windows,
// QSerialPort elsewhere.
#pragma once

#ifdef _WIN32
#include "qt/win_serial_port.h"
namespace sigcond {
using LocalSerialPort = WinSerialPort;
}
#else
#include "qt/qt_serial_port.h"
namespace sigcond {
using LocalSerialPort = QtSerialPort;
}
#endif
