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

TEST(PrintReport, ThermocouplePageLayout) {
    ReportBench b("TC");
    printClick(b.p);
    EXPECT_EQ(b.p.form1.Label3.caption, "  Printing.............");
    EXPECT_TRUE(b.p.form1.Label3.visible);
    EXPECT_EQ(b.p.screen.deferredAction, kActionPrint);
    EXPECT_TRUE(b.p.form1.Timer2.enabled);
    EXPECT_TRUE(b.printer.texts.empty());  // printed on the next tick only

    b.p.config.choice[2][1] = 3;  // Kelvin and a voltage output, not yet in the derived units
    b.p.config.choice[2][3] = 2;
    printConfigurationReport(b.p);
    EXPECT_TRUE(b.printer.ended);
    EXPECT_FALSE(b.p.form1.Label3.visible);
    const auto& t = b.printer.texts;
    ASSERT_GT(t.size(), 10u);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(t[i].x, 4000);
        EXPECT_EQ(t[i].text, kReportHeader[i]);
    }
    EXPECT_EQ(t[7].text, "MODEL :  THERMOCOUPLE");
    EXPECT_EQ(t[7].x, 4000);
    EXPECT_EQ(t[7].y, 8 * RecordingPrinter::kLineHeight);

    const OptionCatalogue& cat = b.p.config.catalogue;
    // The first item: caption at 2000 and its chosen option at 7000 on the same line, after the
    // 700-twip gap and an empty line.
    const auto first = b.lineOf(cat.itemCaption[1][1]);
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0].x, 2000);
    EXPECT_EQ(first[0].y, t[7].y + RecordingPrinter::kLineHeight + 700 +
                              RecordingPrinter::kLineHeight);
    EXPECT_EQ(first[1].x, 7000);
    EXPECT_EQ(first[1].text, cat.optionCaption[1][1][1]);

    const auto labels = b.lineOf("Input 1   Desired output 1");
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0].x, 2000);
    const PrintedText* input = nullptr;
    for (const PrintedText& x : t) {
        if (x.y == labels[0].y + 2 * RecordingPrinter::kLineHeight && input == nullptr) input = &x;
    }
    ASSERT_NE(input, nullptr);
    EXPECT_EQ(input->x, 2000);
    EXPECT_EQ(input->text, "00.0000  \xB0K ");
    const auto inputLine = b.lineOf(input->text);
    ASSERT_EQ(inputLine.size(), 2u);
    EXPECT_EQ(inputLine[1].x, 4740);
    EXPECT_EQ(inputLine[1].text, "00.0000  Volt");
    ASSERT_EQ(b.lineOf("Input 2   Desired output 2").size(), 1u);

    const auto resolution = b.lineOf(cat.itemCaption[7][1]);
    ASSERT_EQ(resolution.size(), 2u);
    EXPECT_EQ(resolution[1].x, 5700);
    EXPECT_EQ(resolution[1].text, cat.optionCaption[7][1][b.p.config.choice[7][1]]);
    EXPECT_EQ(&t.back(), &*std::find_if(t.begin(), t.end(), [&](const PrintedText& x) {
        return x.text == resolution[1].text && x.x == 5700;
    }));
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
        printConfigurationReport(b.p);
        const OptionCatalogue& cat = b.p.config.catalogue;
        const auto gate = b.lineOf(cat.itemCaption[5][1]);
        ASSERT_EQ(gate.size(), 2u);
        EXPECT_EQ(gate[1].text, "  000");
        EXPECT_EQ(gate[1].x, 7000);
        const auto debounce = b.lineOf(cat.itemCaption[6][1]);
        ASSERT_EQ(debounce.size(), 2u);
        EXPECT_EQ(debounce[1].text, "  001");
        const auto resolution = b.lineOf(cat.itemCaption[7][1]);
        ASSERT_EQ(resolution.size(), 2u);
        EXPECT_EQ(resolution[1].text, cat.optionCaption[7][1][b.p.config.choice[7][1]] +
                                          cat.rangeUnit[b.p.config.choice[2][1]]);
    }
    for (const char* type : {"ACV", "ACC"}) {
        ReportBench b(type);
        printConfigurationReport(b.p);
        EXPECT_EQ(b.lineOf(b.p.config.catalogue.itemCaption[7][1]).size(), 0u) << type;
        EXPECT_NE(b.printer.find("Input 2   Desired output 2"), nullptr);
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
