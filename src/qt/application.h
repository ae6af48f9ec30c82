// The whole program on Qt: the Program with its platform adapters (serial port, clock,
// dialogs) and the windows that draw its screen models. main() makes one and runs it; the
// end-to-end tests make one in-process (QT_QPA_PLATFORM=offscreen) and drive it by control name.
#pragma once

#include <QObject>
#include <memory>

#include "program.h"
#include "qt/qt_clock.h"
#include "qt/qt_dialogs.h"
#include "qt/com_port.h"
#include "qt/records_printer.h"
#include "qt/screen_renderer.h"

class QWidget;

namespace sigcond::qt {

class Application : public QObject {
    Q_OBJECT
public:
    // Needs a QApplication. Nothing is shown before start().
    Application();
    ~Application() override;

    // Shows the splash screen. The program then runs in the Qt event loop.
    void start();
    // start() and the event loop until the operator ends the program; returns the exit code.
    int run();

    Program& program() { return program_; }
    ScreenRenderer& renderer() { return renderer_; }
    ComPort& port() { return port_; }
    QtPrinter& printer() { return printer_; }
    // The widget that draws a control, or nullptr.
    QWidget* widget(const std::string& window, const std::string& control, int index = -1) const;

private:
    // Each "Com n" button says which device it opens, looked up when the chooser appears
    // (an adapter may be plugged in while the program runs).
    void describePortButtons();

    ComPort port_;
    SystemClock clock_;
    QtDialogs dialogs_;
    QtPrinter printer_;
    Program program_;
    ScreenRenderer renderer_;
    bool chooserWasVisible_ = false;
    bool inEventLoop_ = false;
};

}  // namespace sigcond::qt
