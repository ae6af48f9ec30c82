// Connects the records' Qt parts to the program: the chart supplier that draws Graph1 of the
// trend graph window, and the printer of the printed report.
#pragma once

#include "program.h"
#include "qt/records_printer.h"
#include "qt/screen_renderer.h"

namespace sigcond::qt {

// Call once, before the windows are first drawn (before Application::start()). The printer must
// live as long as the program.
void installRecords(Program& program, ScreenRenderer& renderer, QtPrinter& printer);

}  // namespace sigcond::qt
