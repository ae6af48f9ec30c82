// The error panel (Picture1), the reading-error panel (Picture2) and the fixed texts of the
// status banner and the busy notice.
#pragma once

#include <string_view>

namespace sigcond {

struct Program;

// Status banner texts (shown through the main screen's banner label).
inline constexpr std::string_view kBannerEstablishing = "  Establishing  Communication..........";
inline constexpr std::string_view kBannerPleaseWait = "  Please wait...........";
inline constexpr std::string_view kBannerSending = "  SENDING CONFIGURATION ..........";
inline constexpr std::string_view kBannerTransmitted =
    "  The CONFIGURATION is succesfully transmitted.";
inline constexpr std::string_view kBannerPrinting = "  Printing.............";
// Caption of the busy notice Label11.
inline constexpr std::string_view kBusyPleaseWait = "PLEASE  WAIT....";

// Error panel geometry.
inline constexpr int kErrorPanelWidth = 4650;
inline constexpr int kErrorPanelWideWidth = 6000;

// Error kinds: 1 scaling inputs too close, 2 desired output out of range, 3 unit silent,
// 4 wrong serial port, 5 no unit connected.
inline constexpr int kErrorInputsTooClose = 1;
inline constexpr int kErrorOutputRange = 2;
inline constexpr int kErrorCommunication = 3;
inline constexpr int kErrorWrongPort = 4;
inline constexpr int kErrorNotConnected = 5;

// Prints the report of the given kind into the error panel (cleared first) and shows it;
// sets linkError and abortFlag to 1, enables Command5 and beeps. A kind outside 1..5 prints
// only the heading and the empty line.
void showError(Program& p, int kind);

// Prints the reading-error panel's three lines into Picture2 (cleared first) and hides it.
void printReadingErrorPanel(Program& p);

}  // namespace sigcond
