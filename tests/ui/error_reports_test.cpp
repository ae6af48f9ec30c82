#include "ui/error_reports.h"

#include <gtest/gtest.h>

#include "support/link_bench.h"

namespace sigcond {
namespace {

using Lines = std::vector<std::string>;

struct ReportBench : test::LinkBench {
    ReportBench() {
        p.form1.Picture1.visible = false;
        p.form1.Command5.enabled = false;
        p.form1.Label8[0].caption = "Input 1";
        p.form1.Label8[2].caption = "Input 2";
    }
    const Lines& lines() { return p.form1.Picture1.lines; }
};

const Lines kCommunicationFour = {"            Communication error !",
                                  "",
                                  "        Check all connections.  ",
                                  "        Make sure the unit has power. ",
                                  "        If problem continues restart the signal ",
                                  "        conditioner program. "};

TEST(ErrorReports, CommunicationErrorWithAndWithoutTheSerialPortLines) {
    ReportBench b;
    b.p.link.identifyMode = true;
    showError(b.p, 3);
    Lines six = kCommunicationFour;
    six.push_back("        Make sure the  SERIAL PORT  chosen");
    six.push_back("        correctly.");
    EXPECT_EQ(b.lines(), six);
    EXPECT_TRUE(b.p.form1.Picture1.visible);
    EXPECT_EQ(b.p.form1.Picture1.width, 4650);
    EXPECT_TRUE(b.p.form1.Command5.enabled);
    EXPECT_FALSE(b.p.form1.Command8.enabled);  // never identified
    EXPECT_EQ(b.p.link.linkError, 1);
    EXPECT_EQ(b.p.screen.abortFlag, 1);
    EXPECT_EQ(b.p.live.errorPanelShown, 1);
    EXPECT_EQ(b.dialogs.beeps, 1);

    ReportBench later;
    later.p.transfer.unitIdentified = 1;
    showError(later.p, 3);
    EXPECT_EQ(later.lines(), kCommunicationFour);
    EXPECT_TRUE(later.p.form1.Command8.enabled);
}

TEST(ErrorReports, ANewReportReplacesTheOldOne) {
    ReportBench b;
    b.p.form1.Label8[0].caption = "Frequency 1";
    showError(b.p, 1);
    EXPECT_EQ(b.p.form1.Picture1.width, 6000);
    showError(b.p, 4);
    EXPECT_EQ(b.lines(), (Lines{"            Communication error !", "",
                                "      You have chosen a wrong  SERIAL PORT",
                                "      Please reenter  SERIAL PORT  again."}));
    EXPECT_EQ(b.p.form1.Picture1.width, 4650);
    EXPECT_EQ(b.p.live.errorPanelShown, 0);  // only the unit-silent report sets it
    EXPECT_EQ(b.dialogs.beeps, 2);
}

TEST(ErrorReports, AnalogOutputReports) {
    ReportBench b;
    showError(b.p, 1);
    EXPECT_EQ(b.lines(), (Lines{"            Analog output error !", "",
                                "  | Input 2 -- Input 1 |  should be ", "  greater than .1",
                                "  Please enter  ANALOG OUTPUT  ", "  SCALING  again."}));
    EXPECT_EQ(b.p.form1.Picture1.width, 6000);  // the caption is not "INPUT 1"
    b.p.form1.Label8[0].caption = "INPUT 1";
    b.p.form1.Label8[2].caption = "INPUT 2";
    showError(b.p, 1);
    EXPECT_EQ(b.lines()[2], "  | INPUT 2 -- INPUT 1 |  should be ");
    EXPECT_EQ(b.p.form1.Picture1.width, 4650);

    showError(b.p, 2);
    EXPECT_EQ(b.lines(),
              (Lines{"            Analog output error !", "", "      DESIRED OUTPUTS  should be ",
                     "      between 0 and 20.0000  mA.", "      Please enter  ANALOG  OUTPUT  ",
                     "      SCALING  again."}));
    b.p.config.outputFullScaleText = "10.0000";
    b.p.config.outputUnitText = "  Volt";
    showError(b.p, 2);
    EXPECT_EQ(b.lines()[3], "      between 0 and 10.0000  Volt.");
    EXPECT_EQ(b.p.link.linkError, 1);
    EXPECT_EQ(b.p.screen.abortFlag, 1);
}

TEST(ErrorReports, NotConnectedAndOutOfRangeKinds) {
    ReportBench b;
    showError(b.p, 5);
    EXPECT_EQ(
        b.lines(),
        (Lines{"            Communication error !", "", "   You have chosen 'SIGNAL CONDITIONER  ",
               "   NOT CONNECTED' option. ", "   Please 'click' the 'Previous Page' box",
               "   and enter your selection again."}));
    for (int kind : {0, 6, -1, 1000}) {
        ReportBench r;
        showError(r.p, kind);
        EXPECT_EQ(r.lines(), (Lines{"            Analog output error !", ""})) << kind;
        EXPECT_EQ(r.p.link.linkError, 1);
        EXPECT_EQ(r.p.screen.abortFlag, 1);
        EXPECT_EQ(r.dialogs.beeps, 1);
        EXPECT_TRUE(r.p.form1.Command5.enabled);
    }
}

TEST(ErrorReports, ReadingErrorPanelAndFixedTexts) {
    ReportBench b;
    b.p.form1.Picture2.lines = {"old"};
    b.p.form1.Picture2.visible = true;
    printReadingErrorPanel(b.p);
    EXPECT_EQ(b.p.form1.Picture2.lines,
              (Lines{"    READING  ERROR !", "", "    Check all connections."}));
    EXPECT_FALSE(b.p.form1.Picture2.visible);
    EXPECT_EQ(kBannerEstablishing, "  Establishing  Communication..........");
    EXPECT_EQ(kBannerTransmitted, "  The CONFIGURATION is succesfully transmitted.");
    EXPECT_EQ(kBusyPleaseWait, "PLEASE  WAIT....");
}

}  // namespace
}  // namespace sigcond
