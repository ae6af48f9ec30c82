// Nothing on the main screen covers anything else: in every state the operator can reach, each
// visible control has a size, lies inside the window and inside its frame, and overlaps no other
// visible control except the frames that hold it. The rectangles are the window models' own,
// which the Qt layer draws as they are (twips; a child relative to its frame).
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include "records/data_log.h"
#include "records/file_chooser.h"
#include "records/graph_window.h"
#include "ui/main_screen_ops.h"
#include "ui/window_model.h"
#include "ui_bench.h"

namespace sigcond::test {
namespace {

struct Box {
    std::string name;  // "Label4", "Text1(2)"
    int left, top, right, bottom;
    std::vector<std::string> holders;  // the frames that hold it, innermost first
};

std::string nameOf(const ControlView& c) {
    return c.index < 0 ? c.name : c.name + "(" + std::to_string(c.index) + ")";
}

// What is wrong with the layout of the window as drawn now, one line per fault.
std::vector<std::string> layoutFaults(const WindowView& window) {
    std::map<std::string, const ControlView*> frames;
    for (const ControlView& c : window.controls) {
        if (c.index < 0) frames[c.name] = &c;
    }
    std::vector<std::string> faults;
    std::vector<Box> shown;
    for (const ControlView& c : window.controls) {
        Box box{nameOf(c), c.control->left, c.control->top, 0, 0, {}};
        bool visible = c.control->visible;
        const ControlView* holder = &c;
        while (visible && !holder->parent.empty()) {
            holder = frames.at(holder->parent);
            visible = holder->control->visible;
            box.left += holder->control->left;
            box.top += holder->control->top;
            box.holders.push_back(holder->name);
        }
        if (!visible) continue;
        box.right = box.left + c.control->width;
        box.bottom = box.top + c.control->height;
        if (c.control->width <= 0 || c.control->height <= 0) {
            faults.push_back(box.name + " has no size");
            continue;
        }
        if (box.left < 0 || box.top < 0 || box.right > window.widthTwips ||
            box.bottom > window.heightTwips) {
            faults.push_back(box.name + " reaches out of the window");
        }
        if (!c.parent.empty()) {
            const Control& frame = *frames.at(c.parent)->control;
            if (c.control->left < 0 || c.control->top < 0 ||
                c.control->left + c.control->width > frame.width ||
                c.control->top + c.control->height > frame.height) {
                faults.push_back(box.name + " reaches out of " + c.parent);
            }
        }
        shown.push_back(box);
    }
    for (std::size_t i = 0; i < shown.size(); ++i) {
        for (std::size_t j = i + 1; j < shown.size(); ++j) {
            const Box& a = shown[i];
            const Box& b = shown[j];
            const auto holds = [](const Box& outer, const Box& inner) {
                return std::find(inner.holders.begin(), inner.holders.end(), outer.name) !=
                       inner.holders.end();
            };
            if (holds(a, b) || holds(b, a)) continue;
            if (a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom) {
                faults.push_back(a.name + " overlaps " + b.name);
            }
        }
    }
    return faults;
}

// The layout faults of the main screen, each named with the state it was seen in.
void expectClearLayout(Program& p, const std::string& state) {
    for (const WindowView& view : windowsOf(p)) {
        if (view.name != kMainWindow) continue;
        ASSERT_TRUE(*view.visible) << state;
        for (const std::string& fault : layoutFaults(view)) ADD_FAILURE() << state << ": " << fault;
    }
}

// Live cycles until a silent unit is signalled (a frequency unit waits out its gate first).
void tickUntilSilenceShows(UiBench& b) {
    for (int i = 0; i < 60 && b.p.live.readingErrorShown == 0; ++i) b.tick("Form1", "Timer1");
    ASSERT_EQ(b.p.live.readingErrorShown, 1);
    ASSERT_TRUE(b.p.form1.Picture2.visible);
}

struct Unit {
    sim::UnitType type;
    const char* name;
};
constexpr Unit kUnits[] = {{sim::UnitType::TC, "TC"},   {sim::UnitType::RTD, "RTD"},
                           {sim::UnitType::PR, "PR"},   {sim::UnitType::ST, "ST"},
                           {sim::UnitType::ACV, "ACV"}, {sim::UnitType::ACC, "ACC"},
                           {sim::UnitType::FP, "FP"}};

TEST(ScreenLayout, NothingCoversAnythingInEveryStateOfEveryUnit) {
    for (const Unit& u : kUnits) {
        UiBench b;
        Program& p = b.p;
        b.unit.setType(u.type);
        b.unit.resetRegisters();
        const std::string type = u.name;
        b.connectOn(1);
        expectClearLayout(p, type + " connecting, banner and cancel button");
        b.runStartUp();
        for (int i = 0; i < 3; ++i) b.tick("Form1", "Timer1");
        ASSERT_TRUE(p.form1.Frame9.visible) << type;
        expectClearLayout(p, type + " live values");

        b.send("Form1", "VW");
        ASSERT_TRUE(p.form1.Frame5.visible) << type;
        expectClearLayout(p, type + " send summary");
        b.send("Form1", "Command14");
        b.runStartUp();
        ASSERT_TRUE(p.form1.Label3.visible) << type;  // the success banner stays up
        expectClearLayout(p, type + " configuration sent");

        for (const char* menu : {"INPF", "IOCF", "FILTER", "RESOL", "ANA1"}) {
            if (std::string(menu) == "RESOL" && !p.form1.RESOL.visible) continue;
            b.send("Form1", "CNF");
            b.send("Form1", menu);
            expectClearLayout(p, type + " panel " + menu);
        }
        // Live scaling: the unity scale question answered Yes, the busy notice up.
        b.send("Form1", "Command7");
        ASSERT_EQ(p.live.liveStep, 1) << type;
        expectClearLayout(p, type + " live scaling started");
        for (int i = 0; i < 10; ++i) b.tick("Form1", "Timer1");
        expectClearLayout(p, type + " live scaling, reading taken");
        b.unit.faults().silent = true;
        tickUntilSilenceShows(b);
        expectClearLayout(p, type + " live scaling, unit silent");
        b.send("Form1", "DISP");
        ASSERT_TRUE(p.form1.Picture2.visible) << type;
        expectClearLayout(p, type + " reading-error panel");
        b.send("Form1", "ANA1");
        expectClearLayout(p, type + " reading-error panel and scaling panel");
    }
}

TEST(ScreenLayout, ErrorPanelsBusyNoticeAndLoggingCoverNothing) {
    {
        UiBench b;
        b.unit.faults().silent = true;
        b.connectOn(1);
        b.runStartUp();
        ASSERT_TRUE(b.p.form1.Picture1.visible);
        expectClearLayout(b.p, "no unit found: error panel, banner, continue button");
    }
    {
        UiBench b;
        b.demoWith(demoLineOf("TC"));
        b.runStartUp();
        b.send("Form1", "DISPOF");
        ASSERT_TRUE(b.p.form1.Picture1.visible);
        expectClearLayout(b.p, "demo work, display on/off: error panel");
    }
    UiBench b;
    Program& p = b.p;
    b.connectOn(1);
    b.runStartUp();
    b.tick("Form1", "Timer1");
    // The widest error panel: the scaling inputs too close together when sending.
    p.config.scalingText[1] = "10";
    p.config.scalingText[3] = "10.05";
    b.send("Form1", "VW");
    b.send("Form1", "Command14");
    b.runStartUp();
    ASSERT_TRUE(p.form1.Picture1.visible);
    EXPECT_EQ(p.form1.Picture1.width, 6000);
    expectClearLayout(p, "scaling inputs too close: wide error panel");
    p.config.scalingText[3] = "1000";

    // Data logging on, with the live values, the reading-error panel and the scaling panel.
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("layout-test-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    p.files.lastDirectory = folder.string();
    b.dialogs.modalActions.push_back([&] {
        p.form8.Text1.caption = "BENCH";
        fileChooserOk(p);
    });
    b.dialogs.modalActions.push_back([&] {
        p.samplingfrm.Text1[2].caption = "10";
        samplingOk(p);
    });
    b.send("Form1", "Logdat");
    ASSERT_EQ(p.log.loggingOn, 1);
    b.tick("Form1", "Timer1");
    ASSERT_TRUE(p.form1.Label24.visible);
    expectClearLayout(p, "data logging on");
    b.send("Form1", "ANA1");
    b.send("Form1", "Command7");
    ASSERT_TRUE(p.form1.Label11.visible);
    expectClearLayout(p, "data logging on, live scaling started, busy notice");
    b.unit.faults().silent = true;
    tickUntilSilenceShows(b);
    expectClearLayout(p, "data logging on, live scaling, unit silent");
    p.log.logFile.close();  // an open file keeps its folder on Windows
    std::filesystem::remove_all(folder);
}

// The visible controls of a window in the order it lists them, each with its caption.
std::string controlsOf(const WindowView& window) {
    std::string out;
    for (const ControlView& c : window.controls) {
        if (!c.control->visible) continue;
        out += (out.empty() ? "" : ", ") + nameOf(c);
        if (!c.control->caption.empty()) out += " \"" + c.control->caption + "\"";
    }
    return out;
}

TEST(ScreenLayout, TheRecordsWindowsShowTheirControlsAndNothingCoversAnything) {
    UiBench b;
    Program& p = b.p;
    p.files.lastDirectory = "/";
    loadFileChooser(p);
    const WindowView chooser = fileChooserView(p);
    EXPECT_EQ(controlsOf(chooser),
              "Label4 \"File name :\", Text1 \"*.cfg\", File1, Label1 \"Directories :\", "
              "Label2 \"" + std::filesystem::absolute("/").string() +
                  "\", Dir1, Label3 \"Drive :\", Drive1, Command2 \"OK\", "
                  "Command1 \"Cancel\"");
    for (const std::string& fault : layoutFaults(chooser)) ADD_FAILURE() << "Form8: " << fault;
    EXPECT_TRUE(chooser.name == "Form8" && chooser.modal && chooser.title == &p.form8.title &&
                chooser.pointer == &p.form8.pointer && chooser.focus == &p.form8.focus);

    loadSamplingWindow(p);
    const WindowView sampling = samplingWindowView(p);
    EXPECT_EQ(controlsOf(sampling),
              "Label1 \"Sampling Rate :\", Text1(0) \"0\", Label2(0) \"Hr\", Text1(1) \"0\", "
              "Label2(1) \"Min\", Text1(2) \"1\", Label2(2) \"Sec\", Command1(0) \"&OK\", "
              "Command1(1) \"&Cancel\"");
    for (const std::string& fault : layoutFaults(sampling)) ADD_FAILURE() << "samplingfrm: " << fault;
    EXPECT_TRUE(sampling.name == "samplingfrm" && sampling.modal &&
                sampling.title == &p.samplingfrm.title);
    ASSERT_NE(sampling.focus, nullptr);
    EXPECT_EQ(*sampling.focus, "Text1(0)");

    openGraph(p);
    for (int step = 0; step < 2; ++step) {
        const WindowView graph = graphWindowView(p);
        EXPECT_EQ(controlsOf(graph), "Frame1, Graph1, Command1 \"&Go back\", Command2 \"&Redraw\"");
        EXPECT_TRUE(graph.name == "Form9" && !graph.modal && graph.title == &p.form9.title &&
                    graph.timers.size() == 1 && graph.timers[0].timer == &p.form9.Timer1);
        for (const std::string& fault : layoutFaults(graph)) ADD_FAILURE() << "Form9: " << fault;
        // Then smaller: the chart and the buttons follow the window.
        ScreenEvent resize{.window = "Form9", .control = "", .kind = EventKind::Resize,
                           .widthTwips = 6000, .heightTwips = 4000};
        graphWindowEvent(p, resize);
        ScreenEvent tick{.window = "Form9", .control = "Timer1", .kind = EventKind::Tick};
        graphWindowEvent(p, tick);
    }
}

}  // namespace
}  // namespace sigcond::test
