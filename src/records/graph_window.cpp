#include "records/graph_window.h"

#include <algorithm>

#include "common/convert.h"
#include "program.h"
#include "ui/main_screen_ops.h"

namespace sigcond {

namespace {

// Design-time geometry of Form9's controls (twips).
void layOutGraphWindow(GraphWindow& w) {
    w.Frame1.left = 120;
    w.Frame1.top = 120;
    w.Frame1.width = w.width - 360;
    w.Frame1.height = w.height - 1260;
    w.Graph1.left = 120;
    w.Graph1.top = 240;
    w.Graph1.width = w.Frame1.width - 240;
    w.Graph1.height = w.Frame1.height - 360;
    const int buttonsTop = w.Frame1.top + w.Frame1.height + 180;
    w.Command1.left = w.width / 2 - 1500;
    w.Command2.left = w.width / 2 + 200;
    for (Control* button : {&w.Command1, &w.Command2}) {
        button->top = buttonsTop;
        button->width = 1300;
        button->height = 375;
    }
}

}  // namespace

void appendTrendPoint(Program& p, const std::string& readingText) {
    TrendBuffer& t = p.trend;
    t.trendSlot = t.trendSlot + 1;
    if (t.trendCount < kTrendPoints) t.trendCount = t.trendCount + 1;
    if (t.trendSlot >= kTrendPoints + 1) {
        for (int i = 1; i <= kTrendPoints; ++i) t.trendValues[i] = t.trendValues[i + 1];
        t.trendSlot = kTrendPoints;
    }
    t.trendValues[t.trendSlot] = textToNumber(readingText);
}

void loadGraphWindow(Program& p) {
    GraphWindow& w = p.form9;
    const TrendBuffer& t = p.trend;
    // Fewer than two readings still draw two points; the missing ones show as 0 and the
    // buffer itself is left as it is.
    const int n = std::max(t.trendCount, 2);
    w.chart.values.clear();
    for (int slot = 1; slot <= n; ++slot) {
        w.chart.values.push_back(slot <= t.trendCount ? t.trendValues[slot] : 0.0);
    }
    w.chart.valueAxisTitle = t.trendUnitText;
    w.chart.bottomAxisTitle = kGraphBottomTitle;
    w.title = "Last " + numberToText(std::max(2 * n - 2, 0), true) + " reading(s) of input";
    w.Command1.caption = "&Go back";
    w.Command2.caption = "&Redraw";
    w.Timer1.intervalMs = 200;
    w.Timer1.enabled = true;
    w.rememberedHeight = w.height;
    w.rememberedWidth = w.width;
    w.visible = true;
}

void openGraph(Program& p) {
    p.trend.trendUnitText = p.form1.Label13.caption;
    backToSummary(p);
    if (!p.form9.visible) {
        p.form9 = GraphWindow{};
        layOutGraphWindow(p.form9);
    }
    loadGraphWindow(p);
}

void closeGraphWindow(Program& p) {
    p.form9.visible = false;
    p.form9.Timer1.enabled = false;
}

void graphResizeTick(Program& p) {
    GraphWindow& w = p.form9;
    if (w.height != w.rememberedHeight) {
        const int change = w.height - w.rememberedHeight;
        w.Frame1.height += change;
        w.Graph1.height += change;
        w.Command1.top += change;
        w.Command2.top += change;
        w.rememberedHeight = w.height;
    }
    if (w.width != w.rememberedWidth) {
        const int change = w.width - w.rememberedWidth;
        w.Frame1.width += change;
        w.Graph1.width += change;
        w.Command1.left += change;
        w.Command2.left += change;
        w.rememberedWidth = w.width;
    }
}

void graphWindowEvent(Program& p, ScreenEvent& event) {
    switch (event.kind) {
        case EventKind::Click:
            if (event.control == "Command1") {
                closeGraphWindow(p);
            } else if (event.control == "Command2") {
                // Hidden and loaded again: a fresh snapshot of the buffer.
                p.form9.visible = false;
                loadGraphWindow(p);
            }
            break;
        case EventKind::Tick:
            if (event.control == "Timer1") graphResizeTick(p);
            break;
        case EventKind::Resize:
            if (event.widthTwips > 0) p.form9.width = event.widthTwips;
            if (event.heightTwips > 0) p.form9.height = event.heightTwips;
            break;
        case EventKind::CloseRequest:
            closeGraphWindow(p);
            break;
        default:
            break;
    }
}

WindowView graphWindowView(Program& p) {
    GraphWindow& w = p.form9;
    WindowView v;
    v.name = "Form9";
    v.title = &w.title;
    v.visible = &w.visible;
    v.modal = false;
    v.widthTwips = w.width;
    v.heightTwips = w.height;
    v.controls = {
        {"Frame1", -1, ControlKind::Frame, &w.Frame1, ""},
        {"Graph1", -1, ControlKind::Chart, &w.Graph1, "Frame1"},
        {"Command1", -1, ControlKind::Button, &w.Command1, ""},
        {"Command2", -1, ControlKind::Button, &w.Command2, ""},
    };
    v.timers = {{"Timer1", &w.Timer1}};
    v.chart = &w.chart;
    return v;
}

}  // namespace sigcond
