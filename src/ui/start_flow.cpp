// The start-up chain of screens and the values set while passing through it.
#include "ui/start_flow.h"

#include <cmath>

#include "link/command_set.h"
#include "program.h"
#include "records/graph_window.h"
#include "ui/main_screen_ops.h"

namespace sigcond {

namespace {

constexpr const char* kChainTitle = "SIGNAL  CONDITIONER  CONFIGURATION  PROGRAM";
constexpr const char* kPortChooserTitle = "SIGNAL CONDITIONER  CONFIGURATION  PROGRAM";
constexpr int kLayoutTimerMs = 400;

Control makeControl(const std::string& caption, int left, int top, int width, int height,
                    bool visible = true) {
    Control c;
    c.caption = caption;
    c.left = left;
    c.top = top;
    c.width = width;
    c.height = height;
    c.visible = visible;
    return c;
}

// The maker's identification on the welcome screen: eight lines, then program and version.
const char* const kMakerLines[] = {
    "KORVA INSTRUMENTS LIMITED",
    "14 Meadow Lane, Unit 3",
    "P.O. Box 118",
    "Brookfield  40210",
    "Telephone  (555) 014-2200",
    "Fax  (555) 014-2201",
    "Copyright (c) all rights reserved.",
    "Unauthorised copying is prohibited.",
    "TKR Setup Program",
    "Version 1.3",
};

std::string joinLines(const char* const* lines, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) text += '\r';
        text += lines[i];
    }
    return text;
}

// The demo chooser's lines and the input type each one stands for.
struct DemoLine {
    const char* caption;
    const char* inputType;
};
constexpr DemoLine kDemoLines[] = {
    {"  Thermocouple       ", "TC"}, {"  RTD              ", "RTD"},
    {"  Process          ", "PR"},   {"  Strain           ", "ST"},
    {"  AC volt          ", "ACV"},  {"  AC current       ", "ACC"},
    {"  Frequency/Pulse  ", "FP"},
};

void initSplash(SplashScreen& s) {
    s = SplashScreen{};
    s.title = "SIGNAL  CONDITIONER  PROGRAM";
    s.Label1 = makeControl("SIGNAL\rCONDITIONER\rPROGRAM", 2160, 840, 5400, 2520, false);
    s.Label1.fontSize = 26;
    s.Picture4 = makeControl("splash", 3600, 3600, 2520, 1800, false);
    s.Command3 = makeControl("&Continue", 2640, 6000, 1920, 495);
    s.Command4 = makeControl("&Exit", 5160, 6000, 1920, 495);
}

void initWelcome(WelcomeScreen& w) {
    w = WelcomeScreen{};
    w.title = "WELCOME  TO THE  SIGNAL  CONDITIONER  CONFIGURATION  PROGRAM";
    w.Frame2 = makeControl("", 0, 0, 8400, 5880, false);
    w.Label1 = makeControl("KORVA", 1800, 480, 2280, 840);
    w.Label1.fontSize = 28;
    w.Picture1 = makeControl("logo", 480, 240, 1080, 1080);
    w.Label3 = makeControl("\xAE", 4080, 480, 300, 300);
    w.Label4 = makeControl(joinLines(kMakerLines, std::size(kMakerLines)), 1800, 1560, 5400, 3000);
    w.Command1 = makeControl("&Continue", 840, 4920, 1920, 495);
    w.Command2 = makeControl("&Previous page", 3240, 4920, 1920, 495);
    w.Command5 = makeControl("&Exit", 5640, 4920, 1920, 495);
}

void initQuestion(QuestionScreen& q) {
    q = QuestionScreen{};
    q.title = kChainTitle;
    q.Frame1 = makeControl("", 0, 0, 7200, 4800, false);
    q.Label1 = makeControl(kQuestionText, 480, 360, 6240, 495);
    q.Label1.fontSize = 12;
    q.Label2 = makeControl(
        "   Choose  'Yes'  if you have a \r    signal conditioner connected.\r\r"
        "    Choose  'No'  if you want to set\r    your 'configuration' and later\r"
        "    download to a signal conditioner.",
        480, 1080, 4200, 1800);
    q.Command3[0] = makeControl("&Yes", 4920, 1200, 1680, 495);
    q.Command3[1] = makeControl("&No", 4920, 1920, 1680, 495);
    q.Command1 = makeControl("&Previous page", 1200, 3840, 1920, 495);
    q.Command2 = makeControl("&Exit", 4080, 3840, 1920, 495);
}

void initDemo(DemoChooserScreen& d) {
    d = DemoChooserScreen{};
    d.title = kChainTitle;
    d.Frame1 = makeControl("", 0, 0, 6000, 4920, false);
    d.Label2 = makeControl("Choose the Input Type for Demo :", 480, 360, 4800, 375);
    d.List1 = makeControl("", 1200, 960, 3600, 2100);
    for (const DemoLine& line : kDemoLines) d.List1.lines.push_back(line.caption);
    d.Command1 = makeControl("&Previous page", 600, 3960, 1920, 495);
    d.Command2 = makeControl("&Exit", 3480, 3960, 1920, 495);
}

void initPortChooser(PortChooserScreen& c) {
    c = PortChooserScreen{};
    c.title = kPortChooserTitle;
    c.Label2 = makeControl("Select your serial port :", 960, 960, 4200, 375);
    c.Frame1 = makeControl("", 0, 0, 4320, 2400, false);
    for (int i = 0; i < 4; ++i) {
        c.Command3[i] = makeControl("Com &" + std::to_string(i + 1), 360 + (i % 2) * 2040,
                                    360 + (i / 2) * 960, 1560, 615);
    }
    c.Command1 = makeControl("&Previous page", 1920, 6000, 1920, 495);
    c.Command2 = makeControl("&Exit", 5880, 6000, 1920, 495);
}

// Centres a start-up screen's frame on an area the size of the splash screen and shows it.
void centreFrame(const Program& p, Control& frame, int raise = 0) {
    frame.left = (p.start.splash.width - frame.width) / 2;
    frame.top = (p.start.splash.height - frame.height) / 2 - raise;
    frame.visible = true;
}

// Demo work starts the trend history afresh: the next point goes into the first slot.
void clearTrendStart(Program& p) {
    for (int n = 1; n <= 3; ++n) p.trend.trendValues[n] = 0;
    p.trend.trendCount = 0;
    p.trend.trendSlot = 0;
}

void hideAllStartWindows(Program& p) {
    p.start.splash.visible = false;
    p.start.welcome.visible = false;
    p.start.question.visible = false;
    p.start.demo.visible = false;
    p.start.portChooserVisible = false;
}

// The layout timer runs once, when the window is first shown; a window shown again after being
// hidden keeps its layout.
void loadStartWindow(StartWindow& w) {
    if (w.loaded) return;
    w.loaded = true;
    w.Timer1.intervalMs = kLayoutTimerMs;
    w.Timer1.enabled = true;
}

}  // namespace

void initStartScreens(Program& p) {
    const bool chooserVisible = p.start.portChooserVisible;
    initSplash(p.start.splash);
    initWelcome(p.start.welcome);
    initQuestion(p.start.question);
    initDemo(p.start.demo);
    initPortChooser(p.start.portChooser);
    p.start.portChooserVisible = chooserVisible;
}

void startProgram(Program& p) {
    initStartScreens(p);
    hideAllStartWindows(p);
    p.start.ended = false;
    showStartWindow(p.start.splash);
}

void showStartWindow(StartWindow& w) {
    loadStartWindow(w);
    w.visible = true;
}

void showPortChooser(Program& p) {
    loadStartWindow(p.start.portChooser);
    p.start.portChooserVisible = true;
}

void confirmExitFromStart(Program& p) {
    if (p.dialogs.messageBox(kExitQuestion, Buttons::YesNo, Icon::Information, " ") ==
        Answer::Yes) {
        endProgram(p);
    }
}

void endProgram(Program& p) {
    if (p.form1.loaded) {
        p.screen.leavingToStart = 1;  // the program ends here, not in the unload
        unloadMainScreen(p);
    }
    hideAllStartWindows(p);
    closeGraphWindow(p);
    p.samplingfrm.visible = false;
    p.log.logFile.close();  // the records written so far stay in the file
    p.start.ended = true;
}

void splashContinue(Program& p) {
    p.live.outputOffset = 850;
    p.live.outputScale = 55400;
    p.registers.scaleReadCommand[1] = "R05";
    p.registers.scaleReadCommand[2] = "R06";
    showStartWindow(p.start.welcome);
    p.start.splash.visible = false;
}

void splashTimer(Program& p) {
    SplashScreen& s = p.start.splash;
    if (s.width > 10000) {
        const double w = s.width;
        const double h = s.height;
        s.Label1.left = static_cast<int>(
            std::lround((w - kSplashDesignWidth) * 5250.0 / kSplashDesignWidth + s.Label1.left));
        s.Label1.top = static_cast<int>(
            std::lround((h - kSplashDesignHeight) * 1000.0 / kSplashDesignHeight + s.Label1.top));
        s.Picture4.left =
            static_cast<int>(std::lround(s.Picture4.left / double(kSplashDesignWidth) * w));
        s.Picture4.top =
            static_cast<int>(std::lround(s.Picture4.top / double(kSplashDesignHeight) * h));
    }
    s.Label1.visible = true;
    s.Picture4.visible = true;
    s.focus = "Command3";
    s.Timer1.enabled = false;
}

void welcomeContinue(Program& p) {
    fillLinkTables(p);
    showStartWindow(p.start.question);
    p.start.welcome.visible = false;
}

void welcomePrevious(Program& p) {
    showStartWindow(p.start.splash);
    p.start.welcome.visible = false;
}

void welcomeTimer(Program& p) {
    WelcomeScreen& w = p.start.welcome;
    centreFrame(p, w.Frame2, 500);
    w.Picture1.top = w.Label1.top + w.Label1.height - w.Picture1.height;
    w.focus = "Command1";
    w.Timer1.enabled = false;
}

void questionAnswer(Program& p, int index) {
    p.link.portNumber = 0;
    p.link.quickPollMode = false;
    if (index == 0) {
        p.screen.unitConnected = 1;
        p.transfer.unitIdentified = 0;
        showPortChooser(p);
    } else {
        p.screen.unitConnected = 0;
        clearTrendStart(p);
        showStartWindow(p.start.demo);
    }
    p.start.question.visible = false;
}

void questionPrevious(Program& p) {
    showStartWindow(p.start.welcome);
    p.start.question.visible = false;
}

void questionTimer(Program& p) {
    centreFrame(p, p.start.question.Frame1);
    p.start.question.Timer1.enabled = false;
}

void demoPick(Program& p, int line) {
    DemoChooserScreen& d = p.start.demo;
    if (line < 0 || line >= static_cast<int>(std::size(kDemoLines))) return;
    if (p.screen.actionRunning) return;  // a cancelled read is still unwinding
    d.pointer = Pointer::Hourglass;
    p.config.inputType = kDemoLines[line].inputType;
    p.screen.unitConnected = -1;
    reloadMainScreen(p);
    d.pointer = Pointer::Arrow;
    d.List1.selected = -1;
    d.visible = false;
}

void demoPrevious(Program& p) {
    showStartWindow(p.start.question);
    p.start.demo.visible = false;
}

void demoTimer(Program& p) {
    centreFrame(p, p.start.demo.Frame1);
    p.start.demo.Timer1.enabled = false;
}

void portPick(Program& p, int index) {
    if (index < 0 || index > 3) return;
    if (p.screen.actionRunning) {
        // A cancelled read is still unwinding (this click came in while its search let screen
        // events run): the chooser stays up, so the search stops, and the pick follows.
        p.screen.pendingPortPick = index;
        return;
    }
    PortChooserScreen& c = p.start.portChooser;
    c.pointer = Pointer::Hourglass;
    p.link.portNumber = index + 1;
    reloadMainScreen(p);
    p.start.portChooserVisible = false;
    c.pointer = Pointer::Arrow;
}

void portPrevious(Program& p) {
    showStartWindow(p.start.question);
    p.start.portChooserVisible = false;
}

void portTimer(Program& p) {
    centreFrame(p, p.start.portChooser.Frame1);
    p.start.portChooser.Timer1.enabled = false;
}

}  // namespace sigcond
