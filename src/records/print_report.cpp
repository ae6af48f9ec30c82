#include "records/print_report.h"

#include <algorithm>

#include "common/convert.h"
#include "config/option_catalogue.h"
#include "program.h"
#include "ui/error_reports.h"
#include "ui/main_screen_ops.h"

namespace sigcond {

namespace {

bool inRange(int value, int low, int high) { return value >= low && value <= high; }

// Caption of option k of item i of group g; "" for an option outside the catalogue.
std::string optionText(const Program& p, int g, int i, int k) {
    if (!inRange(g, 1, kGroupCount) || !inRange(i, 1, kMaxItems) || !inRange(k, 1, kMaxOptions)) {
        return "";
    }
    return p.config.catalogue.optionCaption[g][i][k];
}

std::string chosenText(const Program& p, int g, int i) {
    return optionText(p, g, i, p.config.choice[g][i]);
}

std::string rangeUnitText(const Program& p, int k) {
    return inRange(k, 1, kMaxOptions) ? p.config.catalogue.rangeUnit[k] : "";
}

void printScalingRows(Program& p, Printer& printer) {
    const ConfigRecord& c = p.config;
    refreshDerivedLabels(p);
    // The inputs are in the reading's unit: that of the input range, or of the mode for a
    // frequency/pulse input (Hz or counts), as the live display and the send summary show it.
    const int unitOption = c.inputType == "FP" ? c.choice[kGroupMode][1] : c.choice[1][1];
    printer.print("");
    printer.print("");
    for (int k : {1, 3}) {
        printer.setCurrentX(kReportCaptionX);
        printer.print(optionText(p, kGroupScaling, 1, k) + "   " +
                      optionText(p, kGroupScaling, 1, k + 1));
        printer.print("");
        printer.setCurrentX(kReportCaptionX);
        printer.print(c.scalingText[k] + rangeUnitText(p, unitOption) + c.temperatureSuffix, true);
        printer.setCurrentX(kReportOutputX);
        printer.print(c.scalingText[k + 1] + c.outputUnitText);
        printer.print("");
        printer.print("");
    }
}

std::string resolutionText(const Program& p) {
    const ConfigRecord& c = p.config;
    const std::string resolution = chosenText(p, kGroupResolution, 1);
    if (c.inputType == "ST" || c.inputType == "PR") {
        return numberToText(textToNumber(chosenText(p, kGroupInput, 1)), true) + resolution;
    }
    if (c.inputType == "FP") return resolution + rangeUnitText(p, c.choice[2][1]);
    return resolution;
}

void printPage(Program& p, Printer& printer) {
    const ConfigRecord& c = p.config;
    const OptionCatalogue& cat = c.catalogue;
    for (const char* line : kReportHeader) {
        printer.setCurrentX(kReportHeaderX);
        printer.print(line);
    }
    printer.print("");
    printer.setCurrentX(kReportHeaderX);
    printer.print("MODEL :  " + c.inputTypeName);
    printer.setCurrentX(kReportHeaderX);
    printer.setCurrentY(printer.currentY() + kReportModelGap);

    const int groups = std::min(p.registers.encodedGroupCount, 6);
    for (int g = 1; g <= groups; ++g) {
        const int items = std::min(cat.itemCount[g], kMaxItems);
        for (int i = 1; i <= items; ++i) {
            printer.print("");
            printer.setCurrentX(kReportCaptionX);
            printer.print(cat.itemCaption[g][i], true);
            printer.setCurrentX(kReportValueX);
            if (g == kGroupScaling) {
                printScalingRows(p, printer);
            } else if (g == kGroupGate) {
                printer.print("  " + c.gateTimeText);
            } else if (g == kGroupDebounce) {
                printer.print("  " + c.debounceTimeText);
            } else if (c.inputType == "RTD" && g == 1 && (i == 2 || i == 3) &&
                       c.choice[1][1] == 1) {
                printer.print("  N/A");
            } else {
                printer.print(chosenText(p, g, i));
            }
        }
    }
    if (c.inputType != "ACV" && c.inputType != "ACC") {
        printer.print("");
        printer.setCurrentX(kReportCaptionX);
        printer.print(cat.itemCaption[kGroupResolution][1], true);
        printer.setCurrentX(kReportResolutionX);
        printer.print(resolutionText(p));
    }
}

void reportPrintFailure(Program& p, const std::string& cause) {
    p.dialogs.beep();
    std::string text = "The configuration report could not be printed.";
    if (!cause.empty()) text += "\r" + cause;
    p.dialogs.messageBox(text, Buttons::Ok, Icon::Exclamation, " ");
}

}  // namespace

void printClick(Program& p) {
    commitPendingPanel(p);
    showBanner(p, std::string(kBannerPrinting));
    runLater(p, kActionPrint);
}

void printConfigurationReport(Program& p) {
    Printer* printer = p.printer;
    if (printer == nullptr) {
        reportPrintFailure(p, "No printer is available.");
    } else if (!printer->beginDocument()) {
        // An empty cause means the operator chose not to print.
        const std::string cause = printer->errorText();
        if (!cause.empty()) reportPrintFailure(p, cause);
    } else {
        printPage(p, *printer);
        if (!printer->endDocument()) reportPrintFailure(p, printer->errorText());
    }
    p.form1.Label3.visible = false;
}

}  // namespace sigcond
