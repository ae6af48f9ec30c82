// sigcond: the signal conditioner set-up program.
#include <QApplication>

#include "qt/application.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("sigcond"));
    // The program ends when the operator ends it, not when a screen is hidden between steps.
    QApplication::setQuitOnLastWindowClosed(false);
    sigcond::qt::Application program;
    return program.run();
}
