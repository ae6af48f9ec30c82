#include "qt/records_chart.h"

#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>

#include "qt/cp1252.h"

namespace sigcond::qt {

namespace {

struct ChartParts {
    QChart* chart = nullptr;
    QLineSeries* series = nullptr;
    QValueAxis* xAxis = nullptr;
    QValueAxis* yAxis = nullptr;
};

ChartParts partsOf(QWidget* widget) {
    ChartParts parts;
    auto* view = qobject_cast<QChartView*>(widget);
    if (view == nullptr || view->chart() == nullptr) return parts;
    parts.chart = view->chart();
    const auto series = parts.chart->series();
    if (!series.isEmpty()) parts.series = qobject_cast<QLineSeries*>(series.first());
    const auto xs = parts.chart->axes(Qt::Horizontal);
    const auto ys = parts.chart->axes(Qt::Vertical);
    if (!xs.isEmpty()) parts.xAxis = qobject_cast<QValueAxis*>(xs.first());
    if (!ys.isEmpty()) parts.yAxis = qobject_cast<QValueAxis*>(ys.first());
    return parts;
}

}  // namespace

QWidget* createChartWidget(QWidget* parent) {
    auto* chart = new QChart();
    chart->legend()->hide();
    auto* series = new QLineSeries(chart);
    series->setPointsVisible(true);
    chart->addSeries(series);
    auto* xAxis = new QValueAxis(chart);
    auto* yAxis = new QValueAxis(chart);
    xAxis->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(xAxis, Qt::AlignBottom);
    chart->addAxis(yAxis, Qt::AlignLeft);
    series->attachAxis(xAxis);
    series->attachAxis(yAxis);
    auto* view = new QChartView(chart, parent);
    view->setRenderHint(QPainter::Antialiasing);
    view->setAccessibleName(QStringLiteral("Trend of the input readings"));
    return view;
}

void drawChart(QWidget* chartWidget, const ChartData& data) {
    const ChartParts parts = partsOf(chartWidget);
    if (parts.series == nullptr || parts.xAxis == nullptr || parts.yAxis == nullptr) return;
    QList<QPointF> points;
    for (std::size_t i = 0; i < data.values.size(); ++i) {
        points.append(QPointF(static_cast<double>(i + 1), data.values[i]));
    }
    if (parts.series->points() != points) {
        parts.series->replace(points);
        const int n = std::max<int>(2, static_cast<int>(points.size()));
        parts.xAxis->setRange(1, n);
        parts.xAxis->setTickCount(std::min(n, 14));
        double low = 0.0;
        double high = 1.0;
        if (!data.values.empty()) {
            low = *std::min_element(data.values.begin(), data.values.end());
            high = *std::max_element(data.values.begin(), data.values.end());
        }
        const double margin = high > low ? (high - low) * 0.1 : std::max(1.0, std::abs(high) * 0.1);
        parts.yAxis->setRange(low - margin, high + margin);
        parts.yAxis->applyNiceNumbers();
    }
    const QString valueTitle = fromCp1252(data.valueAxisTitle).trimmed();
    const QString bottomTitle = fromCp1252(data.bottomAxisTitle);
    if (parts.yAxis->titleText() != valueTitle) parts.yAxis->setTitleText(valueTitle);
    if (parts.xAxis->titleText() != bottomTitle) parts.xAxis->setTitleText(bottomTitle);
    chartWidget->setAccessibleDescription(
        QStringLiteral("%1 points, %2 against %3")
            .arg(points.size())
            .arg(valueTitle.isEmpty() ? QStringLiteral("value") : valueTitle, bottomTitle));
}

CustomControl chartControl(const ChartData& data) {
    CustomControl custom;
    custom.create = [](QWidget* parent) { return createChartWidget(parent); };
    custom.draw = [&data](QWidget* widget, const ControlView&) { drawChart(widget, data); };
    return custom;
}

}  // namespace sigcond::qt
