#include "ui/error_reports.h"

#include <array>
#include <string>
#include <vector>

#include "program.h"

namespace sigcond {

namespace {

constexpr std::string_view kHeadingCommunication = "            Communication error !";
constexpr std::string_view kHeadingAnalogOutput = "            Analog output error !";
constexpr std::string_view kUnscaledInputCaption = "INPUT 1";

// Fixed lines of the reports, by kind (kind 1's first line and kind 2's second line are built
// from the screen and the record; kind 3's last two lines only while identifying the unit).
constexpr std::array<std::string_view, 3> kInputsTooCloseLines{
    "  greater than .1", "  Please enter  ANALOG OUTPUT  ", "  SCALING  again."};
constexpr std::string_view kOutputRangeFirst = "      DESIRED OUTPUTS  should be ";
constexpr std::string_view kOutputRangeSecond = "      between 0 and ";
constexpr std::array<std::string_view, 2> kOutputRangeLast{"      Please enter  ANALOG  OUTPUT  ",
                                                           "      SCALING  again."};
constexpr std::array<std::string_view, 4> kCommunicationLines{
    "        Check all connections.  ", "        Make sure the unit has power. ",
    "        If problem continues restart the signal ", "        conditioner program. "};
constexpr std::array<std::string_view, 2> kSerialPortLines{
    "        Make sure the  SERIAL PORT  chosen", "        correctly."};
constexpr std::array<std::string_view, 2> kWrongPortLines{
    "      You have chosen a wrong  SERIAL PORT", "      Please reenter  SERIAL PORT  again."};
constexpr std::array<std::string_view, 4> kNotConnectedLines{
    "   You have chosen 'SIGNAL CONDITIONER  ", "   NOT CONNECTED' option. ",
    "   Please 'click' the 'Previous Page' box", "   and enter your selection again."};

constexpr std::array<std::string_view, 3> kReadingErrorLines{"    READING  ERROR !", "",
                                                             "    Check all connections."};

template <std::size_t N>
void append(std::vector<std::string>& lines, const std::array<std::string_view, N>& texts) {
    for (auto text : texts) lines.emplace_back(text);
}

std::vector<std::string> reportLines(const Program& p, int kind) {
    std::vector<std::string> lines;
    switch (kind) {
        case kErrorInputsTooClose:
            lines.push_back("  | " + p.form1.Label8[2].caption + " -- " +
                            p.form1.Label8[0].caption + " |  should be ");
            append(lines, kInputsTooCloseLines);
            break;
        case kErrorOutputRange:
            lines.emplace_back(kOutputRangeFirst);
            lines.push_back(std::string(kOutputRangeSecond) + p.config.outputFullScaleText +
                            p.config.outputUnitText + ".");
            append(lines, kOutputRangeLast);
            break;
        case kErrorCommunication:
            append(lines, kCommunicationLines);
            if (p.link.identifyMode) append(lines, kSerialPortLines);
            break;
        case kErrorWrongPort:
            append(lines, kWrongPortLines);
            break;
        case kErrorNotConnected:
            append(lines, kNotConnectedLines);
            break;
        default:
            break;
    }
    return lines;
}

}  // namespace

void showError(Program& p, int kind) {
    MainScreen& f = p.form1;
    p.link.linkError = 1;
    f.Command5.enabled = true;

    Control& panel = f.Picture1;
    panel.width = kErrorPanelWidth;
    if (kind == kErrorInputsTooClose && f.Label8[0].caption != kUnscaledInputCaption) {
        panel.width = kErrorPanelWideWidth;
    }
    panel.lines.clear();
    panel.visible = true;

    const bool communication = kind >= kErrorCommunication && kind <= kErrorNotConnected;
    panel.lines.emplace_back(communication ? kHeadingCommunication : kHeadingAnalogOutput);
    panel.lines.emplace_back();
    for (auto& line : reportLines(p, kind)) panel.lines.push_back(std::move(line));

    if (kind == kErrorCommunication) {
        if (p.transfer.unitIdentified == 0) f.Command8.enabled = false;
        p.live.errorPanelShown = 1;
    }
    p.dialogs.beep();
    p.screen.abortFlag = 1;
}

void printReadingErrorPanel(Program& p) {
    Control& panel = p.form1.Picture2;
    panel.lines.clear();
    for (auto line : kReadingErrorLines) panel.lines.emplace_back(line);
    panel.visible = false;
}

}  // namespace sigcond
