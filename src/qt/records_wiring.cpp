#include "qt/records_wiring.h"

#include "qt/records_chart.h"

namespace sigcond::qt {

void installRecords(Program& program, ScreenRenderer& renderer, QtPrinter& printer) {
    renderer.setCustomControl(ControlKind::Chart, chartControl(program.form9.chart));
    program.printer = &printer;
}

}  // namespace sigcond::qt
