// Graph1 of the trend graph window on Qt: the trend points joined by a line, drawn with
// QPainter, with the value-axis title and the bottom-axis title of the model's ChartData.
#pragma once

#include <QList>
#include <QPointF>
#include <QString>
#include <QWidget>

#include "qt/control_widgets.h"
#include "ui/window_model.h"

namespace sigcond::qt {

// A value axis: from `low` to `high` in `ticks` - 1 equal steps, labels with `decimals`.
struct ChartAxis {
    double low = 0.0;
    double high = 1.0;
    int ticks = 2;
    int decimals = 0;
};

// The value axis for readings from `low` to `high`: a tenth of their spread added on either
// side (of the value itself, at least 1, when all are equal), then widened to round numbers
// with about five ticks, labelled with one decimal more than the step needs.
ChartAxis valueAxisFor(double low, double high);

class TrendChart : public QWidget {
    Q_OBJECT
public:
    explicit TrendChart(QWidget* parent = nullptr);
    // The points (1, value 1), (2, value 2), ... and the titles; unchanged data draws nothing.
    void setData(const ChartData& data);
    const QList<QPointF>& points() const { return points_; }
    const ChartAxis& valueAxis() const { return valueAxis_; }
    const QString& valueTitle() const { return valueTitle_; }
    const QString& bottomTitle() const { return bottomTitle_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QList<QPointF> points_;
    ChartAxis valueAxis_;
    QString valueTitle_;
    QString bottomTitle_;
};

// The chart widget of the graph window.
QWidget* createChartWidget(QWidget* parent = nullptr);
// Shows the data on a chart widget made by createChartWidget.
void drawChart(QWidget* chartWidget, const ChartData& data);
// The renderer's supplier for ControlKind::Chart, drawing the given data (the graph window's).
CustomControl chartControl(const ChartData& data);

}  // namespace sigcond::qt
