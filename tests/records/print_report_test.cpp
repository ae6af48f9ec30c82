#include "records/print_report.h"

#include <gtest/gtest.h>

#include "common/convert.h"
#include "records_bench.h"
#include "recording_printer.h"
#include "ui/main_screen_ops.h"

namespace sigcond {
namespace {

using test::PrintedText;
using test::RecordingPrinter;
using test::RecordsBench;

struct ReportBench : RecordsBench {
    RecordingPrinter printer;
    explicit ReportBench(const std::string& type) : RecordsBench(type) { p.printer = &printer; }

    // The texts printed on the line of the given text, left to right.
    std::vector<PrintedText> lineOf(const std::string& text) const {
        const PrintedText* t = printer.find(text);
        std::vector<PrintedText> line;
        if (t == nullptr) return line;
        for (const PrintedText& other : printer.texts) {
            if (other.y == t->y) line.push_back(other);
        }
        return line;
    }

};

// The printed page with the degree sign shown as "°".
std::string pageOf(const RecordingPrinter& printer) {
    std::string page;
    for (char c : printer.transcript) page += c == '\xB0' ? std::string("°") : std::string(1, c);
    return page;
}

TEST(PrintReport, ThermocouplePageLayout) {
    ReportBench b("TC");
    b.p.screen.uncommittedGroup = 3;
    printClick(b.p);
    EXPECT_EQ(b.p.screen.uncommittedGroup, 0);  // the open panel was committed
    EXPECT_EQ(b.p.form1.Label3.caption, "  Printing.............");
    EXPECT_TRUE(b.p.form1.Label3.visible);
    EXPECT_EQ(b.p.screen.deferredAction, kActionPrint);
    EXPECT_TRUE(b.p.form1.Timer2.enabled);
    EXPECT_TRUE(b.printer.texts.empty());  // printed on the next tick only

    b.p.config.choice[2][1] = 3;  // Kelvin and a voltage output, not yet in the derived units
    b.p.config.choice[2][3] = 2;
    b.p.config.choice[7][1] = 2;
    b.p.config.scalingText = {"", "100.0000", "04.0000", "300.0000", "20.0000"};
    printConfigurationReport(b.p);
    EXPECT_TRUE(b.printer.ended);
    EXPECT_FALSE(b.p.form1.Label3.visible);
    // Worked out from the report's line list: header at 4000, the 700-twip move, an empty line
    // before each item, captions at 2000 and choices at 7000, the scaling rows at 2000 and 4740
    // with their empty lines, the resolution at 5700.
    EXPECT_EQ(pageOf(b.printer), R"(4000:Signal Conditioner Set-up Software
4000:1 Calibration Lane
4000:Testville  00000
4000:Telephone :  000 000 0000
4000:Fax :  000 000 0001
4000:Configuration of one signal conditioner.
4000:Keep this sheet with the installation records.

4000:MODEL :  THERMOCOUPLE
[+700]

2000:Thermocouple type :   | 7000:  'J' T/C      

2000:Line frequency: | 7000:  60 Hz  

2000:Unit of temperature : | 7000:  Kelvin (K)      

2000:Compensation : | 7000:  Yes  

2000:Analog output mode : | 7000:  Volt     

2000:Filter time constant : | 7000:  No filtering  

2000:Analog output scaling :  

2000:Input 1   Desired output 1

2000:100.0000  °K  | 4740:04.0000  Volt


2000:Input 2   Desired output 2

2000:300.0000  °K  | 4740:20.0000  Volt



2000:Resolution : | 5700:        0.1
)");
}

TEST(PrintReport, RtdFrequencyAndAcVariants) {
    {
        ReportBench b("RTD");
        b.p.config.choice[1][1] = 1;  // 10 Ohm
        printConfigurationReport(b.p);
        const OptionCatalogue& cat = b.p.config.catalogue;
        for (int i : {2, 3}) {
            const auto line = b.lineOf(cat.itemCaption[1][i]);
            ASSERT_EQ(line.size(), 2u) << i;
            EXPECT_EQ(line[1].text, "  N/A");
            EXPECT_EQ(line[1].x, 7000);
        }
        b.printer.texts.clear();
        b.p.config.choice[1][1] = 2;
        printConfigurationReport(b.p);
        EXPECT_EQ(b.printer.find("  N/A"), nullptr);
    }
    {
        ReportBench b("FP");
        b.p.config.choice[1][1] = 2;  // Frequency mode: the scaling inputs and the resolution
        printConfigurationReport(b.p);  // take its unit, whatever the first item's choice is
        const std::string page = pageOf(b.printer);
        const std::string tail = R"(2000:10.0000  Hz   | 4740:10.0000  mA



2000:Gate time :   | 7000:  000

2000:Debounce time :   | 7000:  001

2000:Resolution : | 5700:50000.  Hz  
)";
        ASSERT_GE(page.size(), tail.size());
        EXPECT_EQ(page.substr(page.size() - tail.size()), tail);
    }
    for (const char* type : {"ACV", "ACC"}) {
        ReportBench b(type);
        printConfigurationReport(b.p);
        // The page ends with the second scaling row and its two empty lines.
        const std::string page = pageOf(b.printer);
        EXPECT_EQ(page.substr(page.rfind("4740:")), "4740:10.0000  mA\n\n\n") << type;
    }
    {
        ReportBench b("PR");
        printConfigurationReport(b.p);
        const OptionCatalogue& cat = b.p.config.catalogue;
        const auto resolution = b.lineOf(cat.itemCaption[7][1]);
        ASSERT_EQ(resolution.size(), 2u);
        // The range's number with a blank for its sign, then the resolution caption.
        const std::string range = cat.optionCaption[1][1][b.p.config.choice[1][1]];
        const std::string number = numberToText(textToNumber(range), true);
        EXPECT_EQ(number[0], ' ');
        EXPECT_EQ(resolution[1].text,
                  number + cat.optionCaption[7][1][b.p.config.choice[7][1]]);
        EXPECT_EQ(resolution[1].x, 5700);
    }
}

TEST(PrintReport, MissingOrFailingPrinterIsReportedAndTheBannerHidden) {
    ReportBench b("TC");
    b.p.printer = nullptr;
    b.p.form1.Label3.visible = true;
    printConfigurationReport(b.p);
    ASSERT_EQ(b.dialogs.messages.size(), 1u);
    EXPECT_EQ(b.dialogs.beeps, 1);
    EXPECT_EQ(b.dialogs.messages[0].text,
              "The configuration report could not be printed.\rNo printer is available.");
    EXPECT_FALSE(b.p.form1.Label3.visible);

    b.p.printer = &b.printer;
    b.printer.failEnd = true;
    b.printer.failure = "The printer is out of paper.";
    printConfigurationReport(b.p);
    EXPECT_EQ(b.dialogs.messages.back().text,
              "The configuration report could not be printed.\rThe printer is out of paper.");

    // The operator declined (no cause): nothing printed, nothing said.
    b.printer.failBegin = true;
    b.printer.failure = "";
    b.printer.texts.clear();
    printConfigurationReport(b.p);
    EXPECT_EQ(b.dialogs.messages.size(), 2u);
    EXPECT_TRUE(b.printer.texts.empty());
}

}  // namespace
}  // namespace sigcond
