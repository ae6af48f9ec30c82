#include "qt/pictures.h"

#include <QFileInfo>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace sigcond::qt {
namespace {

QSize usable(QSize size, QSize fallback) { return size.isValid() && !size.isEmpty() ? size : fallback; }

// A signal conditioner module on a mounting rail, with a sensor wave going in and a flat
// output level coming out.
QPixmap drawSplash(QSize size) {
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const double w = size.width(), h = size.height();
    // Rail.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 150, 155));
    p.drawRect(QRectF(0, h * 0.46, w, h * 0.08));
    // Module body.
    const QRectF body(w * 0.34, h * 0.12, w * 0.32, h * 0.76);
    QLinearGradient g(body.topLeft(), body.topRight());
    g.setColorAt(0, QColor(40, 70, 120));
    g.setColorAt(1, QColor(20, 40, 80));
    p.setBrush(g);
    p.setPen(QPen(QColor(10, 20, 40), 2));
    p.drawRoundedRect(body, 6, 6);
    // Terminal blocks.
    p.setBrush(QColor(90, 160, 90));
    for (int i = 0; i < 4; ++i) {
        const double x = body.left() + body.width() * (0.1 + 0.2 * i);
        p.drawRect(QRectF(x, body.top() - h * 0.06, body.width() * 0.14, h * 0.06));
        p.drawRect(QRectF(x, body.bottom(), body.width() * 0.14, h * 0.06));
    }
    // Status lamp and display window.
    p.setBrush(QColor(60, 220, 80));
    p.drawEllipse(QPointF(body.center().x(), body.top() + body.height() * 0.18), w * 0.015,
                  w * 0.015);
    p.setBrush(QColor(20, 30, 25));
    const QRectF display(body.left() + body.width() * 0.15, body.top() + body.height() * 0.3,
                         body.width() * 0.7, body.height() * 0.18);
    p.drawRect(display);
    p.setPen(QPen(QColor(120, 255, 140), 1.5));
    QPainterPath trace;
    for (int i = 0; i <= 40; ++i) {
        const double x = display.left() + display.width() * i / 40.0;
        const double y = display.center().y() - display.height() * 0.3 * std::sin(i / 40.0 * 6.283);
        i == 0 ? trace.moveTo(x, y) : trace.lineTo(x, y);
    }
    p.drawPath(trace);
    // Input wave on the left, steady output on the right.
    p.setPen(QPen(QColor(200, 60, 40), 3));
    QPainterPath wave;
    for (int i = 0; i <= 60; ++i) {
        const double x = w * 0.02 + w * 0.28 * i / 60.0;
        const double y = h * 0.3 - h * 0.08 * std::sin(i / 60.0 * 18.85) * (0.4 + i / 100.0);
        i == 0 ? wave.moveTo(x, y) : wave.lineTo(x, y);
    }
    p.drawPath(wave);
    p.setPen(QPen(QColor(40, 110, 200), 3));
    p.drawLine(QPointF(w * 0.70, h * 0.3), QPointF(w * 0.98, h * 0.3));
    p.drawLine(QPointF(w * 0.94, h * 0.27), QPointF(w * 0.98, h * 0.3));
    p.drawLine(QPointF(w * 0.94, h * 0.33), QPointF(w * 0.98, h * 0.3));
    return pm;
}

// The maker's emblem: a blue disc with a white step response.
QPixmap drawLogo(QSize size) {
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const double d = std::min(size.width(), size.height()) - 4.0;
    const QRectF disc((size.width() - d) / 2, (size.height() - d) / 2, d, d);
    p.setPen(QPen(QColor(10, 30, 90), 2));
    p.setBrush(QColor(30, 80, 170));
    p.drawEllipse(disc);
    p.setPen(QPen(Qt::white, std::max(2.0, d / 14)));
    QPainterPath step;
    step.moveTo(disc.left() + d * 0.18, disc.top() + d * 0.68);
    step.lineTo(disc.left() + d * 0.42, disc.top() + d * 0.68);
    step.cubicTo(disc.left() + d * 0.48, disc.top() + d * 0.30, disc.left() + d * 0.55,
                 disc.top() + d * 0.30, disc.left() + d * 0.82, disc.top() + d * 0.32);
    p.drawPath(step);
    return pm;
}

// A small chart recorder: paper with a trace and a red pen.
QPixmap drawLogging(QSize size) {
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const double w = size.width(), h = size.height();
    p.setPen(QPen(Qt::darkGray, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1, 1, w - 2, h - 2));
    p.setPen(QPen(QColor(30, 90, 180), 1.5));
    QPainterPath trace;
    for (int i = 0; i <= 20; ++i) {
        const double x = 2 + (w - 4) * i / 20.0;
        const double y = h / 2 - (h / 4) * std::sin(i / 20.0 * 9.42);
        i == 0 ? trace.moveTo(x, y) : trace.lineTo(x, y);
    }
    p.drawPath(trace);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(210, 40, 40));
    p.drawEllipse(QPointF(w - 4, h / 2), 2.5, 2.5);
    return pm;
}

}  // namespace

QPixmap pictureFor(const QString& name, QSize size) {
    if (name == QLatin1String("splash")) return drawSplash(usable(size, QSize(360, 240)));
    if (name == QLatin1String("logo")) return drawLogo(usable(size, QSize(64, 64)));
    if (name == QLatin1String("logging")) return drawLogging(usable(size, QSize(32, 24)));
    if (!name.isEmpty() && QFileInfo::exists(name)) {
        QPixmap file(name);
        if (!file.isNull() && size.isValid() && !size.isEmpty()) {
            return file.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        }
        return file;
    }
    return {};
}

}  // namespace sigcond::qt
