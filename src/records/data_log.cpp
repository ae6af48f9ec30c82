#include "records/data_log.h"

#include <cerrno>
#include <cstring>

#include "common/convert.h"
#include "program.h"
#include "records/config_file.h"
#include "records/file_chooser.h"
#include "records/file_system.h"
#include "ui/main_screen_ops.h"

namespace sigcond {

namespace {

constexpr int kPrintZone = 14;

// Logging off: menus back, indicator hidden.
void showLoggingOff(Program& p) {
    p.log.loggingOn = 0;
    p.form1.unlogdat.enabled = false;
    p.form1.Logdat.enabled = true;
    p.form1.Label24.visible = false;
    p.form1.Image1.visible = false;
}

std::string writeFailureMessage(int error) {
#ifdef EDQUOT
    const bool full = error == ENOSPC || error == EDQUOT;
#else
    const bool full = error == ENOSPC;
#endif
    if (full) {
        return "Disk full.\rData logging is turned off.";
    }
    return "Cannot write to the log file.\rData logging is turned off.";
}

}  // namespace

int LogFile::open(const std::string& path) {
    close();
    std::FILE* file = openFile(path, "wb");
    if (file == nullptr) return errno != 0 ? errno : EIO;
    file_ = file;
    path_ = path;
    return 0;
}

int LogFile::write(const std::string& text) {
    if (file_ == nullptr) return EBADF;
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), file_) != text.size() || std::fflush(file_) != 0) {
        const int error = errno != 0 ? errno : EIO;
        std::clearerr(file_);
        return error;
    }
    return 0;
}

void LogFile::close() {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
    path_.clear();
}

std::string logRecord(const std::string& readingText, const std::string& unitText,
                      const std::string& timeOfDay, const std::string& date) {
    // The reading as the input label shows it, without the character that ends it: the unit's
    // carriage return, or the blank the display form appends (AC readings, over-range marks).
    // A reading shown without either keeps all its digits.
    std::string line = readingText;
    if (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    line += unitText;
    line += "          ";
    line += timeOfDay;
    const std::size_t nextZone = (line.size() / kPrintZone + 1) * kPrintZone;
    line.append(nextZone - line.size(), ' ');
    line += date;
    line += "\r\n";
    return line;
}

void loadSamplingWindow(Program& p) {
    SamplingWindow& w = p.samplingfrm;
    w = SamplingWindow{};
    w.Label1.caption = "Sampling Rate :";
    const char* units[3] = {"Hr", "Min", "Sec"};
    const char* initial[3] = {"0", "0", "1"};
    for (int i = 0; i < 3; ++i) {
        w.Label2[i].caption = units[i];
        w.Text1[i].caption = initial[i];
    }
    w.Command1[0].caption = "&OK";
    w.Command1[1].caption = "&Cancel";
    w.left = (p.form1.width - w.width) / 2;
    w.top = (p.form1.height - w.height) / 3;
    w.focus = "Text1(0)";
    w.visible = true;
}

void samplingKeyPress(Program& p, int box, int& keyAscii) {
    if (box < 0 || box > 2) {
        keyAscii = 0;
        return;
    }
    Control& text = p.samplingfrm.Text1[box];
    if (keyAscii >= '0' && keyAscii <= '9') {
        if (text.caption.size() >= 2) {
            keyAscii = 0;
            p.dialogs.messageBox(kTooManyDigits, Buttons::Ok, Icon::Exclamation, " ");
        }
        return;
    }
    if (keyAscii == 8) return;
    if (keyAscii == 13) {
        if (box < 2) {
            p.samplingfrm.focus = "Text1(" + std::to_string(box + 1) + ")";
            keyAscii = 0;
        }
        return;
    }
    keyAscii = 0;
}

void samplingOk(Program& p) {
    SamplingWindow& w = p.samplingfrm;
    const double hours = textToNumber(w.Text1[0].caption);
    const double minutes = textToNumber(w.Text1[1].caption);
    const double seconds = textToNumber(w.Text1[2].caption);
    if (hours == 0 && minutes == 0 && seconds == 0) {
        p.dialogs.messageBox(kAtLeastOneSecond, Buttons::Ok, Icon::Exclamation, " ");
        return;
    }
    p.log.sampleTicks = static_cast<long>((hours * 3600 + minutes * 60 + seconds) * 2);
    p.log.sampleCountdown = p.log.sampleTicks;
    p.log.loggingOn = 1;
    w.visible = false;
}

void samplingCancel(Program& p) {
    p.log.loggingOn = 0;
    p.samplingfrm.visible = false;
}

void samplingWindowEvent(Program& p, ScreenEvent& event) {
    if (event.control == "Text1") {
        if (event.kind == EventKind::KeyPress) samplingKeyPress(p, event.index, event.keyAscii);
        else if (event.kind == EventKind::Change && event.index >= 0 && event.index <= 2)
            p.samplingfrm.Text1[event.index].caption = event.text;
        else if (event.kind == EventKind::GotFocus && event.index >= 0 && event.index <= 2)
            p.samplingfrm.focus = "Text1(" + std::to_string(event.index) + ")";
        return;
    }
    if (event.control == "Command1" && event.kind == EventKind::Click) {
        if (event.index == 0) samplingOk(p);
        else if (event.index == 1) samplingCancel(p);
        return;
    }
    if (event.control.empty() && event.kind == EventKind::CloseRequest) samplingCancel(p);
}

WindowView samplingWindowView(Program& p) {
    SamplingWindow& w = p.samplingfrm;
    WindowView v;
    v.name = "samplingfrm";
    v.title = &w.title;
    v.visible = &w.visible;
    v.modal = true;
    v.widthTwips = w.width;
    v.heightTwips = w.height;
    v.focus = &w.focus;
    auto place = [](Control& c, int left, int top, int width, int height) {
        c.left = left;
        c.top = top;
        c.width = width;
        c.height = height;
    };
    place(w.Label1, 240, 240, 1800, 285);
    v.controls.push_back({"Label1", -1, ControlKind::Label, &w.Label1, ""});
    for (int i = 0; i < 3; ++i) {
        place(w.Text1[i], 240 + i * 1200, 600, 600, 315);
        place(w.Label2[i], 900 + i * 1200, 630, 500, 285);
        v.controls.push_back({"Text1", i, ControlKind::TextBox, &w.Text1[i], ""});
        v.controls.push_back({"Label2", i, ControlKind::Label, &w.Label2[i], ""});
    }
    for (int i = 0; i < 2; ++i) {
        place(w.Command1[i], 600 + i * 1600, 1200, 1300, 375);
        v.controls.push_back({"Command1", i, ControlKind::Button, &w.Command1[i], ""});
    }
    return v;
}

void startLogging(Program& p) {
    // A report left from earlier work (abortFlag) does not stop the start: nothing here can
    // fail before the file is opened, and the opening reports its own failure.
    p.screen.abortFlag = 0;
    for (;;) {
        if (!chooseFile(p, "Log Data", 1)) return;
        const std::string path = p.files.configFileName;
        p.log.loggingOn = 0;
        loadSamplingWindow(p);
        p.dialogs.runModal("samplingfrm");
        if (p.samplingfrm.visible) samplingCancel(p);
        if (p.log.loggingOn == 0) return;

        p.log.logFile.close();
        const int error = p.log.logFile.open(path);
        if (error != 0) {
            p.log.loggingOn = 0;
            p.dialogs.beep();
            p.dialogs.messageBox(saveMessage(problemOfError(error, path, false)), Buttons::Ok,
                                 Icon::Exclamation, " ");
            continue;
        }
        p.form1.Logdat.enabled = false;
        p.form1.unlogdat.enabled = true;
        p.form1.Label24.caption = "Data Logging on";
        p.form1.Label24.visible = true;
        p.form1.Image1.visible = true;
        return;
    }
}

void stopLogging(Program& p) {
    const Answer answer =
        p.dialogs.messageBox(kTurnOffLoggingQuestion, Buttons::YesNo, Icon::Question, " ");
    if (answer != Answer::Yes) return;
    showLoggingOff(p);
}

void loggingStep(Program& p) {
    LogState& log = p.log;
    if (p.link.replyText.empty() || log.loggingOn != 1) return;
    if (log.sampleCountdown == 1) {
        log.sampleCountdown = log.sampleTicks;
        // Out of range, the input label blinks between its mark and nothing; a record that
        // falls on the empty phase carries the mark all the same.
        const std::string& reading =
            p.form1.Label4.caption.empty() ? p.live.shownReading : p.form1.Label4.caption;
        const std::string record =
            logRecord(reading, p.form1.Label13.caption, p.clock.timeOfDay(), p.clock.date());
        const int error = log.logFile.write(record);
        if (error != 0) {
            // The records written so far stay in the file.
            log.logFile.close();
            showLoggingOff(p);
            p.dialogs.beep();
            p.dialogs.messageBox(writeFailureMessage(error), Buttons::Ok, Icon::Exclamation, " ");
        }
        return;
    }
    if (log.logBlink == 2) {
        p.form1.Image1.visible = !p.form1.Image1.visible;
        log.logBlink = 1;
    } else {
        log.logBlink = 2;
    }
    log.sampleCountdown = log.sampleCountdown - 1;
}

}  // namespace sigcond
