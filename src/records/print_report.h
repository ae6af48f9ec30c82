// The printed configuration report: one page listing the input type, every option group's
// items with the options chosen, the analog output scaling points and the resolution, printed
// through the printer seam (platform/printer.h) at fixed positions in twips.
#pragma once

#include <string>

namespace sigcond {

struct Program;

inline constexpr int kReportHeaderX = 4000;
inline constexpr int kReportCaptionX = 2000;
inline constexpr int kReportValueX = 7000;
inline constexpr int kReportOutputX = 4740;
inline constexpr int kReportResolutionX = 5700;
inline constexpr int kReportModelGap = 700;

// The seven lines that head the page: the software's maker and two notes.
inline constexpr const char* kReportHeader[7] = {
    "Signal Conditioner Set-up Software",
    "1 Calibration Lane",
    "Testville  00000",
    "Telephone :  000 000 0000",
    "Fax :  000 000 0001",
    "Configuration of one signal conditioner.",
    "Keep this sheet with the installation records.",
};

// "Print": commits a pending panel, shows the banner and leaves the printing to the next tick
// of the main window's deferred-action timer (action 2).
void printClick(Program& p);

// Deferred action 2: prints the page on p.printer and hides the banner. A missing printer or a
// failed print is reported to the operator; nothing else happens.
void printConfigurationReport(Program& p);

}  // namespace sigcond
