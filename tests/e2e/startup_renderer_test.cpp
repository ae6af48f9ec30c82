// The Qt layer against a small window model of its own: drawing every kind of control, menus and
// timers from the model, forwarding the operator's events, and holding back events while a
// handler runs.
#include <gtest/gtest.h>

#include <QAction>
#include <QEventLoop>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "qt/control_widgets.h"
#include "qt/cp1252.h"
#include "qt/qt_dialogs.h"
#include "qt/rendered_window.h"
#include "qt/screen_renderer.h"
#include "qt/twips.h"
#include "startup_driver.h"
#include "startup_qt_app.h"

namespace sigcond::qt {
namespace {

struct TestScreen {
    std::string title = "TEST  WINDOW ";
    bool visible = true;
    Pointer pointer = Pointer::Arrow;
    std::string focus;
    Control Frame1, Label1, Command1, Text1, List1, Picture1;
    Control popupLabel;
    MenuItem FILES{"&File", true, true}, OPEN{"Open", true, true}, SEP{"-", true, true},
        EXTS{"Exit", true, true}, SEND{"     &Send", true, true};
    TimerControl Timer1{false, 250};
    std::string popupTitle = "Popup";
    bool popupVisible = false;

    std::vector<ScreenEvent> events;
    std::function<void(ScreenEvent&)> onEvent;
};

Control placed(std::string caption, int left, int top, int width, int height) {
    Control c;
    c.caption = std::move(caption);
    c.left = left;
    c.top = top;
    c.width = width;
    c.height = height;
    return c;
}

ScreenEvent eventFor(std::string window, std::string control, int index,
                     EventKind kind = EventKind::Click) {
    ScreenEvent e;
    e.window = std::move(window);
    e.control = std::move(control);
    e.index = index;
    e.kind = kind;
    return e;
}

std::vector<WindowView> viewsOf(TestScreen& s) {
    WindowView v;
    v.name = "FormT";
    v.title = &s.title;
    v.visible = &s.visible;
    v.widthTwips = 6000;
    v.heightTwips = 4500;
    v.pointer = &s.pointer;
    v.focus = &s.focus;
    v.controls = {
        {"Frame1", -1, ControlKind::Frame, &s.Frame1, ""},
        {"Label1", -1, ControlKind::Label, &s.Label1, "Frame1"},
        {"Command1", 2, ControlKind::Button, &s.Command1, ""},
        {"Text1", 0, ControlKind::TextBox, &s.Text1, ""},
        {"List1", -1, ControlKind::ListBox, &s.List1, ""},
        {"Picture1", -1, ControlKind::PictureBox, &s.Picture1, ""},
    };
    v.menus = {{"FILES", "", &s.FILES, false},
               {"OPEN", "FILES", &s.OPEN, false},
               {"SEP", "FILES", &s.SEP, true},
               {"EXTS", "FILES", &s.EXTS, false},
               {"SEND", "", &s.SEND, false}};
    v.timers = {{"Timer1", &s.Timer1}};
    WindowView popup;
    popup.name = "FormP";
    popup.title = &s.popupTitle;
    popup.visible = &s.popupVisible;
    popup.modal = true;
    popup.widthTwips = 3000;
    popup.heightTwips = 1500;
    popup.controls = {{"Label1", -1, ControlKind::Label, &s.popupLabel, ""}};
    return {v, popup};
}

class RendererTest : public ::testing::Test {
protected:
    RendererTest()
        : renderer(ModelHooks{[this] { return viewsOf(s); },
                              [this](ScreenEvent& e) {
                                  s.events.push_back(e);
                                  if (s.onEvent) s.onEvent(e);
                              },
                              [] { return false; }}) {
        sigcond::test::qtApplication();
        s.Frame1 = placed("&Options", 120, 120, 3000, 1500);
        s.Label1 = placed("Line one\rLine && two", 150, 300, 2500, 600);
        s.Command1 = placed("&Continue", 3300, 120, 1500, 400);
        s.Text1 = placed("12.5", 3300, 700, 1500, 300);
        s.List1 = placed("", 120, 1800, 3000, 1200);
        s.List1.lines = {"  Thermocouple       ", "  RTD              "};
        s.Picture1 = placed("", 3300, 1200, 2500, 1500);
        s.Picture1.lines = {"    READING  ERROR !", "", "    Check all connections."};
        dialogs.attach(renderer);
        renderer.refresh();
    }

    template <typename W>
    W* widget(const std::string& name, int index = -1) {
        return qobject_cast<W*>(renderer.controlWidget("FormT", name, index));
    }

    TestScreen s;
    ScreenRenderer renderer;
    QtDialogs dialogs;
};

TEST(Cp1252Test, BytesOfTheUpperHalfRoundTripAndForeignCharactersBecomeQuestionMarks) {
    std::string all;
    for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
    EXPECT_EQ(toCp1252(fromCp1252(all)), all);
    EXPECT_EQ(fromCp1252("\x80"), QString(QChar(0x20AC)));
    EXPECT_EQ(fromCp1252("\x93quoted\x94"), QStringLiteral("\u201Cquoted\u201D"));
    EXPECT_EQ(fromCp1252("25\xB0" "C"), QStringLiteral("25\u00B0C"));
    EXPECT_EQ(fromCp1252("\xAE"), QStringLiteral("\u00AE"));
    EXPECT_EQ(toCp1252(QStringLiteral("\u2014\u03A9\U0001F600")), "\x97??");
    EXPECT_EQ(captionText("SIGNAL\rCONDITIONER\r\nPROGRAM"),
              QStringLiteral("SIGNAL\nCONDITIONER\nPROGRAM"));
}

TEST_F(RendererTest, DrawsEveryControlFromItsModel) {
    RenderedWindow* w = renderer.window("FormT");
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("TEST  WINDOW "));

    auto* frame = widget<QGroupBox>("Frame1");
    auto* label = widget<QLabel>("Label1");
    ASSERT_TRUE(frame && label);
    EXPECT_EQ(frame->title(), QStringLiteral("&Options"));
    EXPECT_EQ(label->parentWidget(), frame);
    EXPECT_EQ(label->text(), QStringLiteral("Line one\nLine & two"));
    EXPECT_EQ(label->geometry(), QRect(twipsToPixels(150), twipsToPixels(300),
                                       twipsToPixels(2500), twipsToPixels(600)));

    auto* button = widget<QPushButton>("Command1", 2);
    ASSERT_TRUE(button);
    EXPECT_EQ(button->text(), QStringLiteral("&Continue"));
    EXPECT_EQ(button->accessibleName(), QStringLiteral("Continue"));
    EXPECT_EQ(widget<QLineEdit>("Text1", 0)->text(), QStringLiteral("12.5"));

    auto* list = widget<QListWidget>("List1");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("  Thermocouple       "));
    EXPECT_EQ(list->currentRow(), -1);

    // The printed lines reach assistive technology as labels of their own.
    auto* picture = renderer.controlWidget("FormT", "Picture1");
    ASSERT_EQ(picture->findChildren<QLabel*>().size(), 3);
    auto* third = picture->findChild<QLabel*>(QStringLiteral("line2"));
    ASSERT_TRUE(third);
    EXPECT_EQ(third->accessibleName(), QStringLiteral("    Check all connections."));

    // Model changes show after the next redraw.
    s.Command1.enabled = false;
    s.Label1.visible = false;
    s.List1.selected = 1;
    s.List1.lines.push_back("  Process          ");
    s.Picture1.lines = {"one"};
    s.title = "OTHER";
    renderer.refresh();
    EXPECT_FALSE(button->isEnabled());
    EXPECT_TRUE(label->isHidden());
    EXPECT_EQ(list->count(), 3);
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_TRUE(list->item(1)->isSelected());
    EXPECT_EQ(static_cast<PictureBoxWidget*>(picture)->lines(), QStringList{"one"});
    EXPECT_EQ(w->windowTitle(), QStringLiteral("OTHER"));
    s.List1.selected = -1;
    // An alarm colour, then the default again: the label shows its frame's background.
    s.Label1.backColour = 0xC00000;
    renderer.refresh();
    EXPECT_TRUE(label->autoFillBackground());
    s.Label1.backColour = kDefaultColour;
    renderer.refresh();
    EXPECT_TRUE(list->selectedItems().isEmpty());
    EXPECT_FALSE(label->autoFillBackground());
}

TEST_F(RendererTest, TextsThatDoNotFitTheirControlsAreFound) {
    RenderedWindow* w = renderer.window("FormT");
    EXPECT_TRUE(sigcond::test::cutTexts(w).empty());
    s.Command1.width = 200;                        // "Continue" in a narrow button
    s.Label1.height = 200;                         // two lines in one line's height
    s.Picture1.lines = {std::string(80, 'W')};     // a printed line wider than the box
    renderer.refresh();
    const auto cut = sigcond::test::cutTexts(w);
    ASSERT_EQ(cut.size(), 3u);
    EXPECT_EQ(cut[2], "Command1(2): Continue");
}

TEST_F(RendererTest, MenusAndTimersFollowTheirModels) {
    RenderedWindow* w = renderer.window("FormT");
    QAction* open = w->menuAction("OPEN");
    QAction* sep = w->menuAction("SEP");
    QAction* send = w->menuAction("SEND");
    ASSERT_TRUE(open && sep && send);
    EXPECT_TRUE(sep->isSeparator());
    EXPECT_EQ(send->text(), QStringLiteral("     &Send"));
    s.OPEN.enabled = false;
    s.EXTS.visible = false;
    renderer.refresh();
    EXPECT_FALSE(open->isEnabled());
    EXPECT_FALSE(w->menuAction("EXTS")->isVisible());

    send->trigger();
    ASSERT_EQ(s.events.size(), 1u);
    EXPECT_EQ(s.events[0].window, "FormT");
    EXPECT_EQ(s.events[0].control, "SEND");
    EXPECT_EQ(s.events[0].kind, EventKind::Click);

    QTimer* timer = w->timer("Timer1");
    ASSERT_TRUE(timer);
    EXPECT_FALSE(timer->isActive());
    s.Timer1 = {true, 20};
    renderer.refresh();
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 20);
    // A tick is forwarded; the handler switches its timer off, and the redraw stops it.
    s.onEvent = [this](ScreenEvent& e) {
        if (e.kind == EventKind::Tick) s.Timer1.enabled = false;
    };
    QEventLoop loop;
    QTimer::singleShot(500, &loop, &QEventLoop::quit);
    QObject::connect(&renderer, &ScreenRenderer::refreshed, &loop, [&] {
        if (!s.Timer1.enabled) loop.quit();
    });
    loop.exec();
    ASSERT_EQ(s.events.back().kind, EventKind::Tick);
    EXPECT_EQ(s.events.back().control, "Timer1");
    EXPECT_FALSE(timer->isActive());
}

TEST_F(RendererTest, ForwardsClicksListSelectionTextAndKeys) {
    s.onEvent = [this](ScreenEvent& e) {
        if (e.control == "Command1") s.Label1.caption = "clicked";
        // Digits only; "a" is typed as "A".
        if (e.kind == EventKind::KeyPress) {
            if (e.keyAscii == 'a') {
                e.keyAscii = 'A';
            } else if (e.keyAscii != 8 && (e.keyAscii < '0' || e.keyAscii > '9')) {
                e.keyAscii = 0;
            }
        }
    };
    widget<QPushButton>("Command1", 2)->click();
    ASSERT_EQ(s.events.size(), 1u);
    EXPECT_EQ(s.events[0].index, 2);
    EXPECT_EQ(widget<QLabel>("Label1")->text(), QStringLiteral("clicked"));

    s.events.clear();
    widget<QListWidget>("List1")->setCurrentRow(1);
    ASSERT_EQ(s.events.size(), 1u);
    EXPECT_EQ(s.events[0].kind, EventKind::Click);
    EXPECT_EQ(s.events[0].selected, 1);
    EXPECT_EQ(s.List1.selected, 1);

    auto* edit = widget<QLineEdit>("Text1", 0);
    edit->setCursorPosition(edit->text().size());
    s.events.clear();
    for (const char* key : {"7", "x", "a"}) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromLatin1(key));
        QCoreApplication::sendEvent(edit, &press);
    }
    EXPECT_EQ(edit->text(), QStringLiteral("12.57A"));
    EXPECT_EQ(s.Text1.caption, "12.57A");
    ASSERT_FALSE(s.events.empty());
    EXPECT_EQ(s.events.back().kind, EventKind::Change);
    EXPECT_EQ(s.events.back().text, "12.57A");
    EXPECT_EQ(std::count_if(s.events.begin(), s.events.end(),
                            [](const ScreenEvent& e) { return e.kind == EventKind::KeyPress; }),
              3);
}

TEST_F(RendererTest, CloseBoxAsksTheModel) {
    RenderedWindow* w = renderer.window("FormT");
    s.onEvent = [](ScreenEvent& e) { e.accepted = false; };
    w->close();
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(s.visible);
    ASSERT_EQ(s.events.size(), 1u);
    EXPECT_EQ(s.events[0].kind, EventKind::CloseRequest);
    s.onEvent = nullptr;
    w->close();
    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(s.visible);
}

TEST_F(RendererTest, NoEventReachesTheCoreWhileAHandlerRunsExceptThroughAnOpenGate) {
    std::vector<bool> nested;
    s.onEvent = [&](ScreenEvent& e) {
        if (e.control != "SEND") return;
        // A handler that waits in a nested loop (as a message box does): a click is dropped.
        ScreenEvent dropped = eventFor("FormT", "Command1", 2);
        nested.push_back(renderer.dispatch(dropped));
        {
            ScreenRenderer::Gate gate(renderer);
            ScreenEvent click = eventFor("FormT", "Command1", 2);
            nested.push_back(renderer.dispatch(click));
            // A tick never enters the window whose handler is running.
            ScreenEvent tick = eventFor("FormT", "Timer1", -1, EventKind::Tick);
            nested.push_back(renderer.dispatch(tick));
        }
    };
    renderer.window("FormT")->menuAction("SEND")->trigger();
    EXPECT_EQ(nested, (std::vector<bool>{false, true, false}));
    EXPECT_EQ(s.events.size(), 2u);  // SEND and the click inside the gate
}

TEST_F(RendererTest, FocusRequestIsTakenOnceAndTheHourglassShows) {
    RenderedWindow* w = renderer.window("FormT");
    w->activateWindow();
    s.focus = "Text1(0)";
    s.pointer = Pointer::Hourglass;
    renderer.refresh();
    EXPECT_TRUE(s.focus.empty());
    EXPECT_EQ(w->cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(w->focusWidget(), widget<QLineEdit>("Text1", 0));
}

TEST_F(RendererTest, RunModalShowsTheWindowUntilItsModelIsHidden) {
    EXPECT_FALSE(renderer.window("FormP")->isVisible());  // modal windows wait for runModal
    s.popupVisible = true;
    renderer.refresh();
    EXPECT_FALSE(renderer.window("FormP")->isVisible());
    bool seenModal = false;
    QTimer::singleShot(20, [&] {
        seenModal = renderer.window("FormP")->isVisible() &&
                    renderer.window("FormP")->isModal();
        ScreenEvent close = eventFor("FormP", "", -1, EventKind::CloseRequest);
        renderer.dispatch(close);  // no handler objects: the window goes
    });
    ScreenEvent outer = eventFor("FormT", "SEND", -1);
    s.onEvent = [&](ScreenEvent& e) {
        if (e.control == "SEND") dialogs.runModal("FormP");
        if (e.kind == EventKind::CloseRequest) s.popupVisible = false;
    };
    renderer.dispatch(outer);
    EXPECT_TRUE(seenModal);
    EXPECT_FALSE(s.popupVisible);
    EXPECT_FALSE(renderer.window("FormP")->isVisible());
}

}  // namespace
}  // namespace sigcond::qt
