// The program object: all program-wide state, one plain struct per owner, and the platform
// seams. main() builds one and wires the Qt adapters in; each test builds a fresh one with
// test doubles. Handlers are plain functions that take it by reference.
#pragma once

#include "config/config_record.h"
#include "config/transfer_state.h"
#include "link/link_state.h"
#include "link/register_image.h"
#include "measure/live_state.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/printer.h"
#include "platform/serial_port.h"
#include "records/data_log.h"
#include "records/file_chooser.h"
#include "records/graph_window.h"
#include "records/log_state.h"
#include "records/trend_buffer.h"
#include "ui/main_screen.h"
#include "ui/screen_state.h"
#include "ui/start_screens.h"

namespace sigcond {

struct Program {
    Program(SerialPort& serialPort, Clock& systemClock, Dialogs& operatorDialogs)
        : port(serialPort), clock(systemClock), dialogs(operatorDialogs) {}

    // Platform seams.
    SerialPort& port;
    Clock& clock;
    Dialogs& dialogs;
    Printer* printer = nullptr;  // the printed report's printer; none = no printing

    // Program-wide state, by owner.
    LinkState link;             // serial command link, port selection
    RegisterImage registers;    // register image
    ConfigRecord config;        // configuration record and option catalogue
    TransferState transfer;     // configuration read and send
    ScreenState screen;         // main screen's screen-wide state
    LiveState live;             // live reading and live scaling
    TrendBuffer trend;          // trend graph
    LogState log;               // data logging
    FileChoice files;           // the file chooser's request and answer

    // Screen models.
    StartScreens start;
    MainScreen form1;
    FileChooser form8;          // file chooser
    SamplingWindow samplingfrm; // sampling rate of the data log
    GraphWindow form9;          // trend graph
};

}  // namespace sigcond
