// Driving the in-process program as an operator would: waiting for screens, pressing buttons and
// menu entries by control name, answering message boxes, and saving pictures of the windows.
#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QRegularExpression>
#include <QElapsedTimer>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "startup_qt_app.h"
#include <cstdlib>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "qt/application.h"
#include "qt/rendered_window.h"

namespace sigcond::test {

// Runs the event loop until `done` holds or `ms` have passed; returns `done`.
inline bool waitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QCoreApplication::sendPostedEvents();
    }
    return true;
}

// Lets the event loop run for a while (timers of the screens fire).
inline void settle(int ms) {
    waitFor([] { return false; }, ms);
}

// Answers every message box the program shows, with queued answers (then "No", or "OK" where
// there is no "No"), and keeps their texts.
class DialogWatcher : public QObject {
public:
    DialogWatcher() {
        // A timer needs the application's event loop: make sure it exists whichever member of a
        // fixture is built first.
        qtApplication();
        timer_.setInterval(30);
        connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
        timer_.start();
    }
    std::deque<QMessageBox::StandardButton> answers;
    std::vector<std::string> texts;
    // Called with each box before it is answered (for pictures of it).
    std::function<void(QMessageBox&)> onShown;

private:
    void poll() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (!box || !box->isVisible() || box->objectName() != QLatin1String("messageBox")) {
                continue;
            }
            texts.push_back(box->text().toStdString());
            if (onShown) onShown(*box);
            QMessageBox::StandardButton answer = QMessageBox::No;
            if (!answers.empty()) {
                answer = answers.front();
                answers.pop_front();
            }
            QAbstractButton* button = box->button(answer);
            if (!button) button = box->button(QMessageBox::Ok);
            if (!button) button = box->buttons().value(0);
            if (button) button->click();
            return;
        }
    }
    QTimer timer_;
};

inline QWidget* waitForWidget(qt::Application& app, const std::string& window,
                              const std::string& control, int index = -1, int ms = 5000) {
    QWidget* found = nullptr;
    waitFor(
        [&] {
            found = app.widget(window, control, index);
            return found && found->isVisible() && found->isEnabled() &&
                   found->window()->isVisible();
        },
        ms);
    return found && found->isVisible() && found->isEnabled() ? found : nullptr;
}

// Presses a button once it is on screen and enabled; false if it never is.
inline bool press(qt::Application& app, const std::string& window, const std::string& control,
                  int index = -1) {
    auto* button = qobject_cast<QAbstractButton*>(waitForWidget(app, window, control, index));
    if (!button) return false;
    button->click();
    return true;
}

// Chooses a menu entry (a top-level menu with items is opened first, as the operator does).
inline bool chooseMenu(qt::Application& app, const std::string& window, const std::string& top,
                       const std::string& item = "") {
    qt::RenderedWindow* w = app.renderer().window(window);
    if (!w) return false;
    QAction* topAction = w->menuAction(top);
    if (!topAction || !topAction->isEnabled() || !topAction->isVisible()) return false;
    if (item.empty()) {
        topAction->trigger();
        return true;
    }
    if (QMenu* menu = topAction->menu()) emit menu->aboutToShow();
    QAction* action = w->menuAction(item);
    if (!action || !action->isEnabled() || !action->isVisible()) return false;
    action->trigger();
    return true;
}

// Texts that do not fit their control on screen (cut off at the right or the bottom), as
// "Name: text" lines, for the visible labels and buttons of a window.
inline std::vector<std::string> cutTexts(QWidget* window) {
    std::vector<std::string> cut;
    if (!window) return cut;
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (!label->isVisible() || label->text().isEmpty() || !label->pixmap().isNull()) continue;
        const QFontMetrics metrics(label->font());
        QRect needed = metrics.boundingRect(QRect(0, 0, label->width(), 100000),
                                                  Qt::TextWordWrap | Qt::AlignLeft,
                                                  label->text());
        bool tooWide = false;
        for (const QString& word : label->text().split(QRegularExpression("\\s+"),
                                                       Qt::SkipEmptyParts)) {
            tooWide = tooWide || metrics.horizontalAdvance(word) > label->width();
        }
        // A line printed into a picture box must fit inside the box.
        QWidget* holder = label->parentWidget();
        const bool printedLine = holder && holder->inherits("QFrame") &&
                                 label->objectName().startsWith(QLatin1String("line"));
        if (printedLine) {
            tooWide = label->x() + metrics.horizontalAdvance(label->text()) > holder->width();
            needed.setHeight(0);
        }
        if (tooWide || needed.height() > label->height() + 1) {
            cut.push_back(label->objectName().toStdString() + ": " + label->text().toStdString());
        }
    }
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        if (!button->isVisible()) continue;
        QString shown = button->text();
        shown.remove(QLatin1Char('&'));
        if (QFontMetrics(button->font()).horizontalAdvance(shown) > button->width() - 6) {
            cut.push_back(button->objectName().toStdString() + ": " + shown.toStdString());
        }
    }
    return cut;
}

// Saves a picture of a window as DIR/NAME.png when SIGCOND_SCREENSHOT_DIR is set.
inline void savePicture(QWidget* window, const std::string& name) {
    const char* dir = std::getenv("SIGCOND_SCREENSHOT_DIR");
    if (!dir || !window) return;
    QDir().mkpath(QString::fromLocal8Bit(dir));
    settle(150);
    window->grab().save(QString::fromLocal8Bit(dir) + "/" + QString::fromStdString(name) +
                        ".png");
}

}  // namespace sigcond::test
