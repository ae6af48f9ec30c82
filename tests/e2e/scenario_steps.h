// Steps that the whole-day scenarios share: picking lines in the option panels, typing into the
// scaling boxes, answering the program's windows (file chooser, sampling rate, input boxes, the
// no-printer question and its file dialog) as they appear, and reading back what the program
// and the simulated unit were left with (frames written, files, the printed PDF).
#pragma once

#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "e2e_session.h"
#include "qt/application.h"
#include "startup_driver.h"

namespace sigcond::test {

// Picks line `row` of the option list List1(`list`) of the open panel, as a click does.
inline bool pickLine(qt::Application& app, int list, int row) {
    auto* box = qobject_cast<QListWidget*>(waitForWidget(app, kMainWindow, "List1", list, 3000));
    if (!box || row < 0 || row >= box->count()) return false;
    box->setCurrentRow(row);
    return waitFor([&] { return app.program().form1.List1[list].selected == row; }, 2000);
}

// The lines an option list offers, blanks trimmed.
inline std::vector<std::string> listLines(qt::Application& app, int list) {
    std::vector<std::string> lines;
    auto* box = qobject_cast<QListWidget*>(app.widget(kMainWindow, "List1", list));
    if (!box) return lines;
    for (int i = 0; i < box->count(); ++i)
        lines.push_back(box->item(i)->text().trimmed().toStdString());
    return lines;
}

// Gives a text box the focus as a click does, then types `keys` into it ('\r' is Enter).
inline bool typeInto(qt::Application& app, const std::string& window, const std::string& control,
                     int index, const std::string& keys) {
    auto* edit = qobject_cast<QLineEdit*>(waitForWidget(app, window, control, index, 3000));
    if (!edit) return false;
    edit->window()->activateWindow();
    QApplication::setActiveWindow(edit->window());
    if (!edit->hasFocus()) edit->setFocus(Qt::MouseFocusReason);
    settle(60);
    for (char key : keys) {
        const int code = key == '\r' ? Qt::Key_Return : 0;
        QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, QString(QChar::fromLatin1(key)));
        QCoreApplication::sendEvent(edit, &press);
        QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier,
                          QString(QChar::fromLatin1(key)));
        QCoreApplication::sendEvent(edit, &release);
        settle(20);
    }
    return true;
}

// Acts on the program's windows as they appear, one step after the other, without blocking:
// each step waits for its window and control, then runs once. Modal windows of the program
// (the file chooser, the sampling window) run their own event loops, so the steps cannot be
// taken by the test's own code that opened them.
class WindowScript : public QObject {
public:
    explicit WindowScript(qt::Application& app) : app_(app) {
        timer_.setInterval(40);
        connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
        timer_.start();
    }
    // When `control` of `window` is on screen and enabled, `act` runs.
    void then(const std::string& window, const std::string& control, std::function<void()> act,
              int index = -1) {
        steps_.push_back({window, control, index, std::move(act)});
    }
    // Types `name` into the file chooser and presses OK.
    void chooseFile(const std::string& name) {
        then("Form8", "Text1", [this, name] {
            auto* box = qobject_cast<QLineEdit*>(app_.widget("Form8", "Text1"));
            if (!box) return;
            box->setText(QString::fromStdString(name));
            emit box->textEdited(box->text());  // as typed: the renderer forwards edits
            press(app_, "Form8", "Command2");
        });
    }
    bool done() const { return steps_.empty(); }

private:
    struct Step {
        std::string window;
        std::string control;
        int index;
        std::function<void()> act;
    };
    void poll() {
        if (steps_.empty()) return;
        const Step& s = steps_.front();
        QWidget* w = app_.widget(s.window, s.control, s.index);
        if (!w || !w->isVisible() || !w->isEnabled() || !w->window()->isVisible()) return;
        std::function<void()> act = std::move(steps_.front().act);
        steps_.pop_front();
        act();
    }
    qt::Application& app_;
    QTimer timer_;
    std::deque<Step> steps_;
};

// Answers the program's input boxes with queued texts (Cancel once the queue is empty) and
// keeps their prompts.
class InputBoxAnswers : public QObject {
public:
    InputBoxAnswers() {
        timer_.setInterval(30);
        connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
        timer_.start();
    }
    std::deque<std::string> answers;
    std::vector<std::string> prompts;

private:
    void poll() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QInputDialog*>(w);
            if (!box || !box->isVisible() || box->objectName() != QLatin1String("inputBox"))
                continue;
            prompts.push_back(box->labelText().toStdString());
            if (answers.empty()) {
                box->reject();
                return;
            }
            box->setTextValue(QString::fromStdString(answers.front()));
            answers.pop_front();
            box->accept();
            return;
        }
    }
    QTimer timer_;
};

// With no printer installed the program asks whether to save the report as a PDF file and
// then asks for its name: answers Yes and `pdf`.
class PdfInsteadOfPrinter : public QObject {
public:
    explicit PdfInsteadOfPrinter(std::string pdf) : pdf_(std::move(pdf)) {
        timer_.setInterval(30);
        connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
        timer_.start();
    }
    std::vector<std::string> questions;
    std::vector<std::string> chosen;  // what the file dialog returned each time

private:
    void poll() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (!w->isVisible()) continue;
            if (auto* box = qobject_cast<QMessageBox*>(w);
                box && box->objectName() != QLatin1String("messageBox")) {
                questions.push_back(box->text().toStdString());
                if (QAbstractButton* yes = box->button(QMessageBox::Yes)) yes->click();
                return;
            }
            if (auto* dialog = qobject_cast<QFileDialog*>(w)) {
                // Give the dialog a moment to settle on its folder, then type the whole path.
                if (++dialogPolls_ < 4) return;
                dialogPolls_ = 0;
                dialog->selectFile(QString::fromStdString(pdf_));
                if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
                    name->setText(QString::fromStdString(pdf_));
                }
                static_cast<QDialog*>(dialog)->accept();  // QFileDialog's own is protected
                chosen.push_back(dialog->selectedFiles().join(QLatin1Char(',')).toStdString());
                return;
            }
        }
    }
    std::string pdf_;
    int dialogPolls_ = 0;
    QTimer timer_;
};

// The unit's registers as the frames left them: every write ("W" + register + data) in order,
// the last one winning. Register 3C/3D, 05, 06 included; "W0814" shows as register 08.
inline std::map<std::string, std::string> writtenRegisters(const std::vector<TimedFrame>& frames,
                                                           std::size_t from = 0) {
    std::map<std::string, std::string> written;
    for (std::size_t i = from; i < frames.size(); ++i) {
        const std::string& c = frames[i].command;
        if (c.size() > 3 && c[0] == 'W') written[c.substr(1, 2)] = c.substr(3);
    }
    return written;
}

// The commands from `from` on, as a list.
inline std::vector<std::string> commandList(const std::vector<TimedFrame>& frames,
                                            std::size_t from = 0) {
    std::vector<std::string> commands;
    for (std::size_t i = from; i < frames.size(); ++i) commands.push_back(frames[i].command);
    return commands;
}

inline std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// The lines of a file that ends every line with CR LF; a line without its CR LF is kept with
// what it has, so a wrong ending shows in the comparison.
inline std::vector<std::string> crlfLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// The text of a PDF file, as pdftotext lays it out.
inline std::string pdfText(const std::string& pdf) {
    std::string out;
    if (FILE* pipe = ::popen(("pdftotext -layout '" + pdf + "' - 2>/dev/null").c_str(), "r")) {
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
        ::pclose(pipe);
    }
    return out;
}

// The text with every run of blanks and line breaks made one blank, ends trimmed.
inline std::string collapseBlanks(const std::string& text) {
    std::string out;
    bool blank = false;
    for (char c : text) {
        if (c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f') {
            blank = !out.empty();
            continue;
        }
        if (blank) out += ' ';
        blank = false;
        out += c;
    }
    return out;
}

// A private folder for the files a scenario writes, removed afterwards.
struct ScratchFolder {
    explicit ScratchFolder(const std::string& name)
        : path(std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~ScratchFolder() {
        if (!std::getenv("SIGCOND_KEEP_SCENARIO_FILES")) std::filesystem::remove_all(path);
    }
    std::filesystem::path path;
};

}  // namespace sigcond::test
