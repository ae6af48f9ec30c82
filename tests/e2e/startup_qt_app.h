// One QApplication for the whole e2e_tests program (widgets need it before anything else).
#pragma once

#include <QApplication>
#include <QString>
#include <ostream>

// Readable QString values in test failure messages.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace sigcond::test {

inline QApplication& qtApplication() {
    static int argc = 1;
    static char name[] = "e2e_tests";
    static char* argv[] = {name, nullptr};
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) {
        return *existing;
    }
    // Never destroyed: tearing a QApplication down among the program's other static objects at
    // exit crashes now and then, after every test has passed.
    static QApplication* app = new QApplication(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    return *app;
}

}  // namespace sigcond::test
