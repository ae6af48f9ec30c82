// Form1 as designed: captions, geometry (twips), menus and timers before the load runs.
#include <string>

#include "program.h"
#include "ui/main_screen_ops.h"

namespace sigcond {

namespace {

void place(Control& c, const std::string& caption, int left, int top, int width, int height,
           bool visible = true) {
    c = Control{};
    c.caption = caption;
    c.left = left;
    c.top = top;
    c.width = width;
    c.height = height;
    c.visible = visible;
}

MenuItem menu(const std::string& caption, bool visible = true, bool enabled = true) {
    MenuItem m;
    m.caption = caption;
    m.visible = visible;
    m.enabled = enabled;
    return m;
}

// Row and column of each option list inside Frame4 (lists 0..6).
struct ListPlace {
    int left;
    int top;
};
constexpr ListPlace kListPlaces[7] = {
    {240, 720}, {3120, 720}, {5880, 720}, {240, 2520}, {3120, 2520}, {5880, 2520}, {5880, 1800},
};

void initMenus(MainScreen& f) {
    f.FILES = menu("&File");
    f.LDCNF = menu("Open");
    f.SAVECF = menu("Save");
    f.HHP = menu("-");
    f.PRT = menu("Print");
    f.HP1 = menu("-");
    f.EXTS = menu("Exit");
    f.CNF = menu("&Configuration");
    f.INPF = menu("Input range or configuration");
    f.IOCF = menu("Input/Output mode selection");
    f.FILTER = menu("Filter time constant");
    f.RESOL = menu("Resolution");
    f.ANA1 = menu("Analog output scaling ");
    f.ANA2 = menu("ANA");
    f.GATE = menu("Gate time", false);
    f.DEBT = menu("Debounce time", false);
    f.DISP = menu("    &Display");
    f.DISPOF = menu("Display  (On/Off)");
    f.VW = menu("     &Send configuration");
    f.GRA = menu("     &Graph");
    f.logdata = menu("     &Log Data");
    f.Logdat = menu("     Log Data &on");
    f.unlogdat = menu("     Log Data o&ff", true, false);
}

// The live values are read from a metre away at the bench: their digits and units are drawn in
// a large bold face (22 points, digits about 21 pixels high on a 96-dpi screen), one row for the
// input and one for the output, each caption in front of its value and unit.
constexpr int kLiveValueFontSize = 22;
constexpr int kLiveCaptionFontSize = 12;
constexpr int kLiveRowTop = 150;
constexpr int kLiveRowHeight = 600;
constexpr int kLiveTextHeight = 570;
constexpr int kLiveCaptionHeight = 330;

void placeLiveRow(Control& caption, Control& value, Control& unit, const std::string& text,
                  int row) {
    const int top = kLiveRowTop + row * kLiveRowHeight;
    place(caption, text, 120, top + 180, 1320, kLiveCaptionHeight);
    caption.fontSize = kLiveCaptionFontSize;
    place(value, "", 1560, top, 2640, kLiveTextHeight);
    place(unit, "", 4320, top, 2160, kLiveTextHeight);
    for (Control* c : {&value, &unit}) {
        c->fontSize = kLiveValueFontSize;
        c->bold = true;
    }
}

void initSummary(MainScreen& f) {
    place(f.Label9, "MODEL  :  ", 360, 240, 7200, 375, false);
    f.Label9.fontSize = 12;
    place(f.Label3, "", 360, 720, 0, 330, false);
    place(f.Frame9, "", 360, 1200, 6600, 2 * kLiveRowHeight + 2 * kLiveRowTop, false);
    placeLiveRow(f.Label5, f.Label4, f.Label13, "Input     =", 0);
    placeLiveRow(f.Label15, f.Label7, f.Label16, "Output  =", 1);
    const char* captions[4] = {"Filter time constant    =", "Resolution                  =",
                               "Gate time                    =", "Debounce time           ="};
    std::array<Control, 2>* lines[4] = {&f.LABEL17, &f.LABEL18, &f.Label28, &f.Label29};
    for (int n = 0; n < 4; ++n) {
        // Shown once a configuration has been read or prepared, below the tallest panel.
        const int top = 6960 + n * 300;
        place((*lines[n])[0], captions[n], 360, top, 3000, 285, false);
        place((*lines[n])[1], "", 3480, top, 2400, 285, false);
    }
}

void initPanels(MainScreen& f) {
    place(f.Frame4, "", 1600, kPanelTop, 6600, 3620, false);
    for (int n = 0; n < 7; ++n) {
        place(f.List1[n], "", kListPlaces[n].left, kListPlaces[n].top, 1800, 600, false);
        place(f.Label1[n], "", kListPlaces[n].left, kListPlaces[n].top - 330, 1800, 285, false);
    }
    place(f.Command9, "&OK", 1800, 3000, 1200, 420);
    place(f.Command10, "&Cancel", 3600, 3000, 1200, 420);
    // Room for the longest single list: eight filter lines of 310 twips.
    place(f.Frame7, "", 3240, kPanelTop, 4320, 4080, false);
    place(f.List1[8], "", 480, 840, 2400, 2480, false);
    place(f.Label1[8], "", 480, 420, 2400, 300, false);
    place(f.Command12, "&OK", 480, 3480, 1200, 420);
    place(f.Command11, "&Cancel", 2160, 3480, 1200, 420);
    // List1(7) and Label1(7) are not used; they stay hidden.
    place(f.List1[7], "", 0, 0, 0, 0, false);
    place(f.Label1[7], "", 0, 0, 0, 0, false);

    place(f.Frame2, " Analog output scaling  :", 2400, kPanelTop, 7200, 3600, false);
    const char* scaling[4] = {"Input 1", "Desired output 1", "Input 2", "Desired output 2"};
    for (int n = 0; n < 4; ++n) {
        const int top = 480 + n * 540;
        place(f.Label8[n], scaling[n], 240, top, 2040, 300, false);
        place(f.Text1[n], "", 2400, top - 40, 1215, 360, false);
        place(f.Label14[n], "", 4080, top, 1200, 300);
    }
    place(f.Text2, "", 5520, 480, 1200, 360, false);
    place(f.Frame8, "", 5520, 1020, 1440, 1200);
    place(f.Command4, "&OK", 600, 2760, 1200, 420, false);
    place(f.Command6, "&Cancel", 2160, 2760, 1200, 420, false);
    place(f.Command7, "\"&Live\" scaling", 3720, 2760, 1800, 420, false);
    // The hint stands under the scaling panel, clear of the live values above it.
    place(f.Label10, "\"CLICK\"  INDIVIDUAL BOX TO CHANGE  INPUT, OUTPUT.  ", 2400,
          kPanelTop + 3600 + 60, 7200, 300, false);

    place(f.Frame5, "Configuration", 600, kPanelTop, 10800, 4080, false);
    place(f.Picture4, "", 240, 300, 10320, 3120);
    place(f.Command14, "&Send", 3120, 3540, 1560, 420);
    place(f.Command13, "&Cancel", 5880, 3540, 1560, 420);
}

void initPanelsAndNotices(MainScreen& f) {
    // The error panel and its button stand where the option panels do: every report is made
    // with the panels closed.
    place(f.Picture1, "", 3600, kPanelTop + 120, 4650, 2160, false);
    place(f.Command5, "\"&Click\"  here to continue", 4440, kPanelTop + 2400, 2880, 495, false);
    // The reading-error panel stands beside the live values, so both stay readable.
    place(f.Picture2, "", 7440, 1260, 3600, 1080, false);
    place(f.Label24, "Data Logging on", 8400, 240, 1920, 300, false);
    place(f.Image1, "logging", 10440, 180, 480, 480, false);
    // The busy notice shares the banner's line, to the right of the longest banner.
    place(f.Label11, "PLEASE  WAIT....", 6600, 720, 2400, 375, false);
    f.Label11.fontSize = 12;
    place(f.Label6, "", 0, 0, 0, 0, false);
    place(f.Command3, "\"&Live\" actual output", 7440, 2340, 2400, 495, false);
    place(f.Label2, "KORVA", 240, 8280, 2400, 600);
    f.Label2.fontSize = 18;
    place(f.Frame6, "", 6720, 8160, 5040, 840, false);
    place(f.Picture5, "", 6840, 8160, 4800, 780);
    place(f.Command8, "&Previous page", 240, 150, 2040, 495);
    place(f.Command15, "&Exit", 2520, 150, 2040, 495);
}

}  // namespace

void initMainScreen(Program& p) {
    MainScreen& f = p.form1;
    const int width = f.width;
    const int height = f.height;
    f = MainScreen{};
    f.width = width;
    f.height = height;
    initMenus(f);
    initSummary(f);
    initPanels(f);
    initPanelsAndNotices(f);
    f.Timer1 = TimerControl{false, 450};
    f.Timer2 = TimerControl{true, 100};
}

}  // namespace sigcond
