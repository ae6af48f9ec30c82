#include "records/graph_window.h"

#include <gtest/gtest.h>

#include "records_bench.h"

namespace sigcond {
namespace {

using test::RecordsBench;

TEST(TrendGraph, BufferKeepsTheNewest26PointsOldestFirst) {
    RecordsBench b;
    for (int i = 1; i <= 30; ++i) appendTrendPoint(b.p, "  " + std::to_string(i) + ".5");
    EXPECT_EQ(b.p.trend.trendCount, 26);
    EXPECT_EQ(b.p.trend.trendSlot, 26);
    EXPECT_DOUBLE_EQ(b.p.trend.trendValues[1], 5.5);
    EXPECT_DOUBLE_EQ(b.p.trend.trendValues[26], 30.5);
    appendTrendPoint(b.p, "?+999999");
    appendTrendPoint(b.p, "ERROR");
    EXPECT_DOUBLE_EQ(b.p.trend.trendValues[25], 0.0);
    EXPECT_DOUBLE_EQ(b.p.trend.trendValues[26], 0.0);
    EXPECT_DOUBLE_EQ(b.p.trend.trendValues[1], 7.5);

    b.p.form1.Label13.caption = "  \xB0" "C ";
    openGraph(b.p);
    const GraphWindow& w = b.p.form9;
    EXPECT_TRUE(w.visible);
    EXPECT_TRUE(w.Timer1.enabled);
    EXPECT_EQ(w.title, "Last  50 reading(s) of input");
    ASSERT_EQ(w.chart.values.size(), 26u);
    EXPECT_DOUBLE_EQ(w.chart.values.front(), 7.5);
    EXPECT_DOUBLE_EQ(w.chart.values.back(), 0.0);
    EXPECT_EQ(w.chart.valueAxisTitle, "  \xB0" "C ");
    EXPECT_EQ(w.chart.bottomAxisTitle, "second(s)");
    EXPECT_EQ(w.Command1.caption, "&Go back");
    EXPECT_EQ(w.Command2.caption, "&Redraw");
}

TEST(TrendGraph, FewerThanTwoReadingsDrawTwoPointsWithoutChangingTheBuffer) {
    RecordsBench b;
    b.p.form1.Frame7.visible = true;  // a scaling panel open: the graph goes back to the summary
    b.p.live.liveStep = 2;
    openGraph(b.p);
    EXPECT_FALSE(b.p.form1.Frame7.visible);
    EXPECT_EQ(b.p.live.liveStep, 0);
    EXPECT_EQ(b.p.form9.title, "Last  2 reading(s) of input");
    EXPECT_EQ(b.p.form9.chart.values, (std::vector<double>{0.0, 0.0}));
    ScreenEvent redraw{.window = "Form9", .control = "Command2", .kind = EventKind::Click};
    graphWindowEvent(b.p, redraw);
    EXPECT_EQ(b.p.form9.chart.values, (std::vector<double>{0.0, 0.0}));
    EXPECT_EQ(b.p.trend.trendCount, 0);
    EXPECT_DOUBLE_EQ(b.p.trend.trendValues[1], 0.0);

    appendTrendPoint(b.p, "  12.25");
    graphWindowEvent(b.p, redraw);
    EXPECT_TRUE(b.p.form9.visible);
    EXPECT_EQ(b.p.form9.chart.values, (std::vector<double>{12.25, 0.0}));
    EXPECT_EQ(b.p.form9.title, "Last  2 reading(s) of input");
    EXPECT_DOUBLE_EQ(b.p.trend.trendValues[1], 12.25);

    for (int i = 0; i < 4; ++i) appendTrendPoint(b.p, "1");
    graphWindowEvent(b.p, redraw);
    EXPECT_EQ(b.p.form9.title, "Last  8 reading(s) of input");

    ScreenEvent goBack{.window = "Form9", .control = "Command1", .kind = EventKind::Click};
    graphWindowEvent(b.p, goBack);
    EXPECT_FALSE(b.p.form9.visible);
    EXPECT_FALSE(b.p.form9.Timer1.enabled);
}

TEST(TrendGraph, ChartAndButtonsFollowTheWindowSize) {
    RecordsBench b;
    openGraph(b.p);
    GraphWindow& w = b.p.form9;
    const GraphWindow before = w;
    ScreenEvent resize{.window = "Form9",
                       .control = "",
                       .kind = EventKind::Resize,
                       .widthTwips = w.width + 300,
                       .heightTwips = w.height + 600};
    graphWindowEvent(b.p, resize);
    EXPECT_TRUE(w.visible);
    EXPECT_EQ(w.Graph1.height, before.Graph1.height);  // not before the timer's tick
    ScreenEvent tick{.window = "Form9", .control = "Timer1", .kind = EventKind::Tick};
    graphWindowEvent(b.p, tick);
    EXPECT_EQ(w.Graph1.height, before.Graph1.height + 600);
    EXPECT_EQ(w.Frame1.height, before.Frame1.height + 600);
    EXPECT_EQ(w.Command1.top, before.Command1.top + 600);
    EXPECT_EQ(w.Command2.top, before.Command2.top + 600);
    EXPECT_EQ(w.Graph1.width, before.Graph1.width + 300);
    EXPECT_EQ(w.Frame1.width, before.Frame1.width + 300);
    EXPECT_EQ(w.Command1.left, before.Command1.left + 300);
    EXPECT_EQ(w.Command2.left, before.Command2.left + 300);
    graphWindowEvent(b.p, tick);
    EXPECT_EQ(w.Graph1.height, before.Graph1.height + 600);
    EXPECT_EQ(w.Graph1.width, before.Graph1.width + 300);
    // Opened again while it is up, it keeps the operator's size; closed and opened, its own.
    openGraph(b.p);
    EXPECT_EQ(w.Graph1.width, before.Graph1.width + 300);
    ScreenEvent close{.window = "Form9", .control = "", .kind = EventKind::CloseRequest};
    graphWindowEvent(b.p, close);
    EXPECT_FALSE(w.visible);
    openGraph(b.p);
    EXPECT_EQ(w.width, before.width);
    EXPECT_EQ(w.Graph1.width, before.Graph1.width);
    EXPECT_EQ(w.Timer1.intervalMs, 200);
    const WindowView view = graphWindowView(b.p);
    EXPECT_EQ(view.chart, &w.chart);
    EXPECT_FALSE(view.modal);
}

}  // namespace
}  // namespace sigcond
