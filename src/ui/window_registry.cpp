// windowsOf: every window of the program described for drawing, each entry pointing into the
// window's own model. One function per window; a new window is one line in kWindows.
#include <iterator>

#include "program.h"
#include "records/data_log.h"
#include "records/file_chooser.h"
#include "records/graph_window.h"
#include "ui/events.h"
#include "ui/main_screen_ops.h"
#include "ui/start_flow.h"

namespace sigcond {

namespace {

class ViewBuilder {
public:
    explicit ViewBuilder(WindowView& view) : view_(view) {}

    ViewBuilder& control(const char* name, ControlKind kind, Control& c, const char* parent = "",
                         int index = -1) {
        view_.controls.push_back({name, index, kind, &c, parent});
        return *this;
    }
    template <std::size_t N>
    ViewBuilder& array(const char* name, ControlKind kind, std::array<Control, N>& cs,
                       const char* parent = "", std::size_t count = N) {
        for (std::size_t i = 0; i < count && i < N; ++i) {
            control(name, kind, cs[i], parent, static_cast<int>(i));
        }
        return *this;
    }
    ViewBuilder& menu(const char* name, const char* parent, MenuItem& item) {
        view_.menus.push_back({name, parent, &item, item.caption == "-"});
        return *this;
    }
    ViewBuilder& timer(const char* name, TimerControl& t) {
        view_.timers.push_back({name, &t});
        return *this;
    }

private:
    WindowView& view_;
};

WindowView startWindowView(const char* name, StartWindow& w, bool* visible) {
    WindowView v;
    v.name = name;
    v.title = &w.title;
    v.visible = visible;
    v.widthTwips = w.width;
    v.heightTwips = w.height;
    v.pointer = &w.pointer;
    v.focus = &w.focus;
    v.timers.push_back({"Timer1", &w.Timer1});
    return v;
}

WindowView splashView(Program& p) {
    SplashScreen& s = p.start.splash;
    WindowView v = startWindowView(kSplashWindow, s, &s.visible);
    ViewBuilder(v)
        .control("Label1", ControlKind::Label, s.Label1)
        .control("Picture4", ControlKind::Image, s.Picture4)
        .control("Command3", ControlKind::Button, s.Command3)
        .control("Command4", ControlKind::Button, s.Command4);
    return v;
}

WindowView welcomeView(Program& p) {
    WelcomeScreen& w = p.start.welcome;
    WindowView v = startWindowView(kWelcomeWindow, w, &w.visible);
    ViewBuilder(v)
        .control("Frame2", ControlKind::Frame, w.Frame2)
        .control("Picture1", ControlKind::Image, w.Picture1, "Frame2")
        .control("Label1", ControlKind::Label, w.Label1, "Frame2")
        .control("Label3", ControlKind::Label, w.Label3, "Frame2")
        .control("Label4", ControlKind::Label, w.Label4, "Frame2")
        .control("Command1", ControlKind::Button, w.Command1, "Frame2")
        .control("Command2", ControlKind::Button, w.Command2, "Frame2")
        .control("Command5", ControlKind::Button, w.Command5, "Frame2");
    return v;
}

WindowView questionView(Program& p) {
    QuestionScreen& q = p.start.question;
    WindowView v = startWindowView(kQuestionWindow, q, &q.visible);
    ViewBuilder(v)
        .control("Frame1", ControlKind::Frame, q.Frame1)
        .control("Label1", ControlKind::Label, q.Label1, "Frame1")
        .control("Label2", ControlKind::Label, q.Label2, "Frame1")
        .array("Command3", ControlKind::Button, q.Command3, "Frame1")
        .control("Command1", ControlKind::Button, q.Command1, "Frame1")
        .control("Command2", ControlKind::Button, q.Command2, "Frame1");
    return v;
}

WindowView demoView(Program& p) {
    DemoChooserScreen& d = p.start.demo;
    WindowView v = startWindowView(kDemoWindow, d, &d.visible);
    ViewBuilder(v)
        .control("Frame1", ControlKind::Frame, d.Frame1)
        .control("Label2", ControlKind::Label, d.Label2, "Frame1")
        .control("List1", ControlKind::ListBox, d.List1, "Frame1")
        .control("Command1", ControlKind::Button, d.Command1, "Frame1")
        .control("Command2", ControlKind::Button, d.Command2, "Frame1");
    return v;
}

WindowView portChooserView(Program& p) {
    PortChooserScreen& c = p.start.portChooser;
    WindowView v = startWindowView(kPortChooserWindow, c, &p.start.portChooserVisible);
    ViewBuilder(v)
        .control("Label2", ControlKind::Label, c.Label2)
        .control("Frame1", ControlKind::Frame, c.Frame1)
        .array("Command3", ControlKind::Button, c.Command3, "Frame1")
        .control("Command1", ControlKind::Button, c.Command1)
        .control("Command2", ControlKind::Button, c.Command2);
    return v;
}

WindowView mainView(Program& p) {
    MainScreen& f = p.form1;
    WindowView v;
    v.name = kMainWindow;
    v.title = &f.title;
    v.visible = &f.loaded;
    v.widthTwips = f.width;
    v.heightTwips = f.height;
    v.pointer = &f.pointer;
    v.focus = &f.focus;
    ViewBuilder b(v);
    b.control("Label9", ControlKind::Label, f.Label9)
        .control("Label3", ControlKind::Label, f.Label3)
        .control("Frame9", ControlKind::Frame, f.Frame9)
        .control("Label5", ControlKind::Label, f.Label5, "Frame9")
        .control("Label4", ControlKind::Label, f.Label4, "Frame9")
        .control("Label13", ControlKind::Label, f.Label13, "Frame9")
        .control("Label15", ControlKind::Label, f.Label15, "Frame9")
        .control("Label7", ControlKind::Label, f.Label7, "Frame9")
        .control("Label16", ControlKind::Label, f.Label16, "Frame9")
        .array("LABEL17", ControlKind::Label, f.LABEL17)
        .array("LABEL18", ControlKind::Label, f.LABEL18)
        .array("Label28", ControlKind::Label, f.Label28)
        .array("Label29", ControlKind::Label, f.Label29)
        .control("Label10", ControlKind::Label, f.Label10)
        .control("Label24", ControlKind::Label, f.Label24)
        .control("Image1", ControlKind::Image, f.Image1)
        .control("Label6", ControlKind::Label, f.Label6)
        .control("Frame4", ControlKind::Frame, f.Frame4);
    for (int i = 0; i < 7; ++i) {
        b.control("Label1", ControlKind::Label, f.Label1[i], "Frame4", i)
            .control("List1", ControlKind::ListBox, f.List1[i], "Frame4", i);
    }
    b.control("Command9", ControlKind::Button, f.Command9, "Frame4")
        .control("Command10", ControlKind::Button, f.Command10, "Frame4")
        .control("Frame7", ControlKind::Frame, f.Frame7)
        .control("Label1", ControlKind::Label, f.Label1[8], "Frame7", 8)
        .control("List1", ControlKind::ListBox, f.List1[8], "Frame7", 8)
        .control("Command12", ControlKind::Button, f.Command12, "Frame7")
        .control("Command11", ControlKind::Button, f.Command11, "Frame7")
        .control("Frame2", ControlKind::Frame, f.Frame2)
        .array("Label8", ControlKind::Label, f.Label8, "Frame2")
        .array("Text1", ControlKind::TextBox, f.Text1, "Frame2")
        .array("Label14", ControlKind::Label, f.Label14, "Frame2")
        .control("Text2", ControlKind::TextBox, f.Text2, "Frame2")
        .control("Frame8", ControlKind::Frame, f.Frame8, "Frame2")
        .control("Command4", ControlKind::Button, f.Command4, "Frame2")
        .control("Command6", ControlKind::Button, f.Command6, "Frame2")
        .control("Command7", ControlKind::Button, f.Command7, "Frame2")
        .control("Frame5", ControlKind::Frame, f.Frame5)
        .control("Picture4", ControlKind::PictureBox, f.Picture4, "Frame5")
        .control("Command14", ControlKind::Button, f.Command14, "Frame5")
        .control("Command13", ControlKind::Button, f.Command13, "Frame5")
        .control("Picture1", ControlKind::PictureBox, f.Picture1)
        .control("Command5", ControlKind::Button, f.Command5)
        .control("Picture2", ControlKind::PictureBox, f.Picture2)
        .control("Label11", ControlKind::Label, f.Label11)
        .control("Command3", ControlKind::Button, f.Command3)
        .control("Label2", ControlKind::Label, f.Label2)
        .control("Frame6", ControlKind::Frame, f.Frame6)
        .control("Picture5", ControlKind::PictureBox, f.Picture5)
        .control("Command8", ControlKind::Button, f.Command8, "Picture5")
        .control("Command15", ControlKind::Button, f.Command15, "Picture5");
    appendSendSummaryViews(f.sendSummary, v.controls);
    b.menu("FILES", "", f.FILES)
        .menu("LDCNF", "FILES", f.LDCNF)
        .menu("SAVECF", "FILES", f.SAVECF)
        .menu("HHP", "FILES", f.HHP)
        .menu("PRT", "FILES", f.PRT)
        .menu("HP1", "FILES", f.HP1)
        .menu("EXTS", "FILES", f.EXTS)
        .menu("CNF", "", f.CNF)
        .menu("INPF", "CNF", f.INPF)
        .menu("IOCF", "CNF", f.IOCF)
        .menu("FILTER", "CNF", f.FILTER)
        .menu("RESOL", "CNF", f.RESOL)
        .menu("ANA1", "CNF", f.ANA1)
        .menu("ANA2", "CNF", f.ANA2)
        .menu("GATE", "CNF", f.GATE)
        .menu("DEBT", "CNF", f.DEBT)
        .menu("DISP", "", f.DISP)
        .menu("DISPOF", "DISP", f.DISPOF)
        .menu("VW", "", f.VW)
        .menu("GRA", "", f.GRA)
        .menu("logdata", "", f.logdata)
        .menu("Logdat", "logdata", f.Logdat)
        .menu("unlogdat", "logdata", f.unlogdat);
    b.timer("Timer1", f.Timer1).timer("Timer2", f.Timer2);
    return v;
}

// Every window of the program, in the order the operator meets them.
using WindowViewOf = WindowView (*)(Program&);
constexpr WindowViewOf kWindows[] = {
    splashView,      welcomeView,    questionView,       demoView,
    portChooserView, mainView,       fileChooserView,    samplingWindowView,
    graphWindowView,
};

}  // namespace

std::vector<WindowView> windowsOf(Program& p) {
    std::vector<WindowView> views;
    views.reserve(std::size(kWindows));
    for (WindowViewOf viewOf : kWindows) views.push_back(viewOf(p));
    return views;
}

bool programEnded(const Program& p) { return p.start.ended; }

}  // namespace sigcond
