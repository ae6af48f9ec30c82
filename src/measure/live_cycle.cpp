#include "measure/live_cycle.h"

#include <exception>

#include "common/convert.h"
#include "link/send_command.h"
#include "measure/live_scaling.h"
#include "measure/reading_format.h"
#include "program.h"
#include "records/data_log.h"
#include "records/graph_window.h"

namespace sigcond {

namespace {

// Runs one step of the cycle; a run-time fault inside it is dropped and the cycle goes on.
template <class Step>
void guarded(Step&& step) {
    try {
        step();
    } catch (const std::exception&) {
    } catch (...) {
    }
}

void setLiveLabels(MainScreen& f, const std::string& text) {
    f.Label4.caption = text;
    f.Label7.caption = text;
}

void setLiveColours(MainScreen& f, int fore, int back) {
    f.Label4.foreColour = fore;
    f.Label4.backColour = back;
    f.Label7.foreColour = fore;
    f.Label7.backColour = back;
}

// The live input box of the step being captured: Text1(0) in step 1, Text1(2) in step 2.
Control& liveInputBox(Program& p) { return p.form1.Text1[p.live.liveStep == 2 ? 2 : 0]; }

// The unit answered (a reading or an out-of-range mark): the missing-reply signal ends.
void clearReadingError(Program& p) {
    MainScreen& f = p.form1;
    f.Picture2.visible = false;
    if (p.live.errorPanelShown == 1) {
        p.live.errorPanelShown = 0;
        f.Picture1.visible = false;
    }
    p.live.readingErrorShown = 0;
    p.link.quickPollMode = false;
}

void bannerCountdown(Program& p) {
    int& ticks = p.screen.bannerTicks;
    if (ticks >= 1) {
        --ticks;
        if (ticks == 0) p.form1.Label3.visible = false;
    }
}

// Quiet cycles after a burst of commands. True when this cycle is one of them.
bool pauseAfterBurst(Program& p) {
    LiveState& live = p.live;
    if (live.waitTicks == 0) return false;
    ++live.waitTicks;
    if (live.waitTicks >= kQuietCycleEnd) {
        live.waitTicks = 0;
        p.form1.Label11.visible = false;
        if (live.liveStep > 0) p.form1.Text1[1].caption.clear();
    }
    return true;
}

// The reading data of the reply: what came before the carriage return.
std::string readingOf(const std::string& replyText) {
    return replyText.substr(0, replyText.find('\r'));
}

void showOutOfRange(Program& p, const std::string& reply) {
    MainScreen& f = p.form1;
    LiveState& live = p.live;
    live.focusRequest = 1;
    live.shownReading = reply.substr(1);
    if (live.rangeBlink == 0) {
        setLiveLabels(f, "");
        setLiveColours(f, kAlarmForeColour, kAlarmBackColour);
        live.rangeBlink = 1;
        if (live.liveStep > 0) {
            f.Command4.enabled = false;
            liveInputBox(p).caption.clear();
            f.focus = "Command3";
        }
    } else {
        const std::string shown = live.shownReading + " ";
        setLiveLabels(f, shown);
        if (live.liveStep > 0) {
            liveInputBox(p).caption = shown;
            f.focus = "Command3";
        }
        live.rangeBlink = 0;
    }
    clearReadingError(p);
}

void signalMissingReply(Program& p) {
    MainScreen& f = p.form1;
    LiveState& live = p.live;
    if (live.readingErrorShown != 0) return;
    if (f.Frame9.visible) f.Picture2.visible = true;
    setLiveColours(f, kAlarmForeColour, kAlarmBackColour);
    live.readingErrorShown = 1;
    p.dialogs.beep();
    if (live.liveStep > 0) {
        f.Command4.enabled = false;
        f.Text1[1].enabled = false;
        f.Text1[3].enabled = false;
    }
    p.link.quickPollMode = true;
}

void blinkMissingReply(Program& p) {
    MainScreen& f = p.form1;
    LiveState& live = p.live;
    if (live.errorBlink == 0) {
        live.errorBlink = 1;
        setLiveLabels(f, kErrorReading);
        if (live.liveStep > 0) {
            liveInputBox(p).caption = "ERROR";
            f.focus = "Command3";
        }
    } else {
        live.errorBlink = 0;
        setLiveLabels(f, "");
        if (live.liveStep > 0) liveInputBox(p).caption.clear();
    }
}

void showGoodReading(Program& p, const std::string& reply) {
    MainScreen& f = p.form1;
    LiveState& live = p.live;
    const std::string& type = p.config.inputType;
    guarded([&] { setLiveColours(f, live.normalForeColour, live.normalBackColour); });
    const double reading = textToNumber(reply);
    guarded([&] {
        f.Label7.caption =
            outputValueText(reply, live.outputScale, live.outputOffset, live.unitOutputFullScale);
    });
    std::string shown = reply;
    live.shownReading = reply;
    guarded([&] {
        if (type == "ACV" || type == "ACC") {
            shown = formatAcReading(reply);
            live.shownReading = shown.substr(0, shown.size() - 1);
        }
    });
    guarded([&] {
        if (p.trend.trendToggle == 0) {
            appendTrendPoint(p, shown);
            p.trend.trendToggle = 1;
        } else {
            p.trend.trendToggle = 0;
        }
    });
    f.Label4.caption = shown;
    guarded([&] { clearReadingError(p); });
    guarded([&] {
        if (live.liveStep == 1 || live.liveStep == 2) captureLiveInput(p, reading);
    });
    live.focusRequest = 0;
}

}  // namespace

void takeNormalLabelColours(Program& p) {
    p.live.normalForeColour = p.form1.Label4.foreColour;
    p.live.normalBackColour = p.form1.Label4.backColour;
}

void liveReadingCycle(Program& p) {
    guarded([&] { bannerCountdown(p); });

    bool burstFailed = false;
    guarded([&] {
        if (p.live.unityScalePending == 1) burstFailed = !runUnityScaleBurst(p);
    });
    if (burstFailed) return;

    bool quiet = false;
    guarded([&] { quiet = pauseAfterBurst(p); });
    if (quiet) return;

    std::string reply;
    guarded([&] {
        sendCommand(p, "X01", 7);
        reply = readingOf(p.link.replyText);
    });
    guarded([&] {
        if (scansForOverRange(p.config.inputType)) reply = markOverRange(reply);
    });
    p.live.shownReading.clear();

    if (!reply.empty() && reply[0] == '?') {
        guarded([&] { showOutOfRange(p, reply); });
    } else if (reply.empty()) {
        guarded([&] { signalMissingReply(p); });
        guarded([&] { blinkMissingReply(p); });
    } else {
        guarded([&] { showGoodReading(p, reply); });
    }

    guarded([&] {
        if (!reply.empty() && p.log.loggingOn == 1) loggingStep(p);
    });
}

}  // namespace sigcond
