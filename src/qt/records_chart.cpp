#include "qt/records_chart.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "qt/cp1252.h"

namespace sigcond::qt {

namespace {

constexpr int kValueTicks = 5;
constexpr int kMostBottomTicks = 14;
const QColor kSeriesColour(0x20, 0x9f, 0xdf);
const QColor kGridColour(0xe0, 0xe0, 0xe0);
const QColor kAxisColour(0xa0, 0xa0, 0xa0);
const QColor kTextColour(0x40, 0x40, 0x40);

// The round number (1, 2 or 5 times a power of ten) nearest to x (at or above it when
// `ceiling`).
double roundNumber(double x, bool ceiling) {
    const double power = std::pow(10.0, std::floor(std::log10(x)));
    const double q = x / power;
    double r = 10.0;
    if (ceiling) {
        r = q <= 1.0 ? 1.0 : q <= 2.0 ? 2.0 : q <= 5.0 ? 5.0 : 10.0;
    } else {
        r = q < 1.5 ? 1.0 : q < 3.0 ? 2.0 : q < 7.0 ? 5.0 : 10.0;
    }
    return r * power;
}

QString label(double value, int decimals) {
    // No "-0.0" for a tick at zero.
    if (std::abs(value) < 0.5 * std::pow(10.0, -decimals)) value = 0.0;
    return QString::number(value, 'f', decimals);
}

}  // namespace

ChartAxis valueAxisFor(double low, double high) {
    if (!std::isfinite(low) || !std::isfinite(high)) return ChartAxis{};
    if (low > high) std::swap(low, high);
    const double margin = high > low ? (high - low) * 0.1 : std::max(1.0, std::abs(high) * 0.1);
    low -= margin;
    high += margin;
    const double step = roundNumber(roundNumber(high - low, true) / (kValueTicks - 1), false);
    ChartAxis axis;
    const double first = std::floor(low / step);
    const double last = std::ceil(high / step);
    axis.low = first * step;
    axis.high = last * step;
    axis.ticks = static_cast<int>(last - first) + 1;
    axis.decimals = std::max(0, static_cast<int>(-std::floor(std::log10(step)))) + 1;
    return axis;
}

TrendChart::TrendChart(QWidget* parent) : QWidget(parent) {
    setAccessibleName(QStringLiteral("Trend of the input readings"));
    setMinimumSize(160, 120);
}

void TrendChart::setData(const ChartData& data) {
    QList<QPointF> points;
    for (std::size_t i = 0; i < data.values.size(); ++i) {
        if (std::isfinite(data.values[i])) {
            points.append(QPointF(static_cast<double>(i + 1), data.values[i]));
        }
    }
    const QString valueTitle = fromCp1252(data.valueAxisTitle).trimmed();
    const QString bottomTitle = fromCp1252(data.bottomAxisTitle);
    if (points == points_ && valueTitle == valueTitle_ && bottomTitle == bottomTitle_ &&
        !accessibleDescription().isEmpty()) {
        return;
    }
    points_ = points;
    valueTitle_ = valueTitle;
    bottomTitle_ = bottomTitle;
    if (points_.isEmpty()) {
        valueAxis_ = valueAxisFor(0.0, 1.0);
    } else {
        const auto [low, high] = std::minmax_element(
            points_.begin(), points_.end(),
            [](const QPointF& a, const QPointF& b) { return a.y() < b.y(); });
        valueAxis_ = valueAxisFor(low->y(), high->y());
    }
    QString description = QStringLiteral("%1 points, %2 against %3")
                              .arg(points_.size())
                              .arg(valueTitle_.isEmpty() ? QStringLiteral("value") : valueTitle_,
                                   bottomTitle_);
    if (!points_.isEmpty()) {
        description += QStringLiteral("; last %1").arg(points_.last().y());
    }
    setAccessibleDescription(description);
    update();
}

void TrendChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().window());
    const QRectF card = QRectF(rect()).adjusted(15, 15, -15, -15);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(card, 5, 5);

    QFont labelFont = font();
    QFont titleFont = font();
    titleFont.setBold(true);
    const QFontMetricsF labels(labelFont);
    const QFontMetricsF titles(titleFont);
    const ChartAxis& y = valueAxis_;
    const int count = std::max<int>(2, static_cast<int>(points_.size()));
    const int xTicks = std::min(count, kMostBottomTicks);
    double labelWidth = 0.0;
    for (int i = 0; i < y.ticks; ++i) {
        const double value = y.low + (y.high - y.low) * i / std::max(1, y.ticks - 1);
        labelWidth = std::max(labelWidth, labels.horizontalAdvance(label(value, y.decimals)));
    }
    const double titleRoom = valueTitle_.isEmpty() ? 0.0 : titles.height() + 6.0;
    const QRectF plot(card.left() + 14 + titleRoom + labelWidth + 6, card.top() + 28,
                      0.0, 0.0);
    QRectF area = plot;
    area.setRight(card.right() - 28);
    area.setBottom(card.bottom() - 14 - titles.height() - 4 - labels.height() - 6);
    if (area.width() < 10 || area.height() < 10) return;

    const auto xAt = [&](double x) { return area.left() + (x - 1.0) / (count - 1) * area.width(); };
    const auto yAt = [&](double v) {
        return area.bottom() - (v - y.low) / (y.high - y.low) * area.height();
    };

    // Grid, ticks and labels.
    painter.setFont(labelFont);
    for (int i = 0; i < y.ticks; ++i) {
        const double value = y.low + (y.high - y.low) * i / std::max(1, y.ticks - 1);
        const double at = yAt(value);
        painter.setPen(QPen(kGridColour, 1));
        painter.drawLine(QPointF(area.left(), at), QPointF(area.right(), at));
        painter.setPen(kTextColour);
        const QRectF text(area.left() - 6 - labelWidth, at - labels.height() / 2, labelWidth,
                          labels.height());
        painter.drawText(text, Qt::AlignRight | Qt::AlignVCenter, label(value, y.decimals));
    }
    for (int i = 0; i < xTicks; ++i) {
        const double value = 1.0 + static_cast<double>(count - 1) * i / (xTicks - 1);
        const double at = xAt(value);
        painter.setPen(QPen(kGridColour, 1));
        painter.drawLine(QPointF(at, area.top()), QPointF(at, area.bottom()));
        painter.setPen(kTextColour);
        const QString text = QString::number(static_cast<int>(value));
        const double width = labels.horizontalAdvance(text);
        painter.drawText(QRectF(at - width / 2 - 2, area.bottom() + 4, width + 4, labels.height()),
                         Qt::AlignCenter, text);
    }
    painter.setPen(QPen(kAxisColour, 1));
    painter.drawLine(area.bottomLeft(), area.bottomRight());
    painter.drawLine(area.bottomLeft(), area.topLeft());

    // Titles.
    painter.setFont(titleFont);
    painter.setPen(kTextColour);
    painter.drawText(QRectF(area.left(), area.bottom() + 4 + labels.height() + 4, area.width(),
                            titles.height()),
                     Qt::AlignCenter, bottomTitle_);
    if (!valueTitle_.isEmpty()) {
        painter.save();
        painter.translate(card.left() + 14 + titles.height() / 2, area.center().y());
        painter.rotate(-90);
        painter.drawText(QRectF(-area.height() / 2, -titles.height() / 2, area.height(),
                                titles.height()),
                         Qt::AlignCenter, valueTitle_);
        painter.restore();
    }

    // The readings.
    if (points_.isEmpty()) return;
    painter.setClipRect(area.adjusted(-4, -4, 4, 4));
    QPainterPath line;
    for (int i = 0; i < points_.size(); ++i) {
        const QPointF at(xAt(points_[i].x()), yAt(points_[i].y()));
        if (i == 0) line.moveTo(at); else line.lineTo(at);
    }
    painter.setPen(QPen(kSeriesColour, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(line);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kSeriesColour);
    for (const QPointF& point : points_) {
        painter.drawEllipse(QPointF(xAt(point.x()), yAt(point.y())), 3.0, 3.0);
    }
}

QWidget* createChartWidget(QWidget* parent) { return new TrendChart(parent); }

void drawChart(QWidget* chartWidget, const ChartData& data) {
    if (auto* chart = qobject_cast<TrendChart*>(chartWidget)) chart->setData(data);
}

CustomControl chartControl(const ChartData& data) {
    CustomControl custom;
    custom.create = [](QWidget* parent) { return createChartWidget(parent); };
    custom.draw = [&data](QWidget* widget, const ControlView&) { drawChart(widget, data); };
    return custom;
}

}  // namespace sigcond::qt
