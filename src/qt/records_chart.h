// Graph1 of the trend graph window on Qt: a line chart of the trend points with the value-axis
// title and the bottom-axis title of the model's ChartData.
#pragma once

#include "qt/control_widgets.h"
#include "ui/window_model.h"

class QWidget;

namespace sigcond::qt {

// A chart view with one line series and two value axes.
QWidget* createChartWidget(QWidget* parent = nullptr);
// Shows the points (1, 2, ... n) and the titles; unchanged data draws nothing new.
void drawChart(QWidget* chartWidget, const ChartData& data);
// The renderer's supplier for ControlKind::Chart, drawing the given data (the graph window's).
CustomControl chartControl(const ChartData& data);

}  // namespace sigcond::qt
