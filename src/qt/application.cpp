#include "qt/application.h"

#include "qt/records_wiring.h"

#include <QApplication>
#include <QTimer>

#include "qt/cp1252.h"
#include "ui/events.h"
#include "ui/start_flow.h"

namespace sigcond::qt {

Application::Application()
    : program_(port_, clock_, dialogs_),
      renderer_(ModelHooks{
          [this] { return windowsOf(program_); },
          [this](ScreenEvent& event) { dispatchEvent(program_, event); },
          [this] { return programEnded(program_); },
      }) {
    dialogs_.attach(renderer_);
    // The trend chart and the printed report's printer.
    installRecords(program_, renderer_, printer_);
    // Only the loop run() started is left: an application driven in-process (tests) has none, and
    // exit() would make every later event loop of the process return at once.
    connect(&renderer_, &ScreenRenderer::programEnded, this, [this] {
        if (inEventLoop_) QCoreApplication::exit(0);
    });
    connect(&renderer_, &ScreenRenderer::refreshed, this, [this] {
        const bool visible = program_.start.portChooserVisible;
        if (visible && !chooserWasVisible_) {
            // Drawn on the next pass: this runs at the end of a redraw.
            QTimer::singleShot(0, this, [this] {
                describePortButtons();
                if (!renderer_.handlerRunning()) renderer_.refresh();
            });
        }
        chooserWasVisible_ = visible;
    });
}

Application::~Application() = default;

void Application::describePortButtons() {
    auto& buttons = program_.start.portChooser.Command3;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        // The description comes from the system in UTF-8; the model holds Windows-1252.
        const std::string text = describeComPort(static_cast<int>(i) + 1);
        buttons[i].tooltip = toCp1252(QString::fromStdString(text));
    }
}

void Application::start() {
    startProgram(program_);
    // The port buttons are described when the chooser appears (see the constructor), not here:
    // looking the serial ports up walks every terminal device of the system and would delay the
    // first window.
    renderer_.refresh();
}

int Application::run() {
    start();
    if (renderer_.ended()) return 0;
    inEventLoop_ = true;
    const int code = QApplication::exec();
    inEventLoop_ = false;
    return code;
}

QWidget* Application::widget(const std::string& window, const std::string& control,
                             int index) const {
    return renderer_.controlWidget(window, control, index);
}

}  // namespace sigcond::qt
