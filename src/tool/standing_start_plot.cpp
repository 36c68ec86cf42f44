#include "tool/standing_start_plot.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace velnor {

namespace {

constexpr int kWidth = 900, kHeight = 500, kLeft = 60, kRight = 70, kTop = 40, kBottom = 50;

// Where a sample lands in the picture: time across, speed (km/h) and engine speed (rpm) up.
struct PlotScale {
    QRectF plot;
    double topSpeed;  // km/h at the top edge, a multiple of 50
    double firstTime; // s at the left edge
    double lastTime;  // s at the right edge

    double x(double t) const {
        return plot.left() + (t - firstTime) / (lastTime - firstTime) * plot.width();
    }
    double ySpeed(double kmh) const { return plot.bottom() - kmh / topSpeed * plot.height(); }
    double yRpm(double rpm) const { return plot.bottom() - rpm / 8000 * plot.height(); }
};

PlotScale plotScale(const StandingStart& run) {
    double topSpeed = 50;
    for (const StandingStart::Sample& sample : run.samples)
        topSpeed = std::max(topSpeed, sample.speed);
    topSpeed = std::ceil(topSpeed / 50) * 50;
    return {QRectF(kLeft, kTop, kWidth - kLeft - kRight, kHeight - kTop - kBottom), topSpeed,
            run.samples.empty() ? 0 : run.samples.front().time,
            run.samples.empty() ? 1 : run.samples.back().time};
}

void drawAxes(QPainter& painter, const PlotScale& scale, const QString& title) {
    const QRectF& plot = scale.plot;
    painter.setPen(QColor(225, 225, 225));
    for (int s = 0; s <= scale.topSpeed; s += 50)
        painter.drawLine(QPointF(plot.left(), scale.ySpeed(s)),
                         QPointF(plot.right(), scale.ySpeed(s)));
    painter.setPen(Qt::black);
    painter.drawRect(plot);
    for (int s = 0; s <= scale.topSpeed; s += 50)
        painter.drawText(QRectF(0, scale.ySpeed(s) - 8, kLeft - 6, 16),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(s));
    for (int rpm = 0; rpm <= 8000; rpm += 2000)
        painter.drawText(QRectF(plot.right() + 6, scale.yRpm(rpm) - 8, kRight, 16),
                         Qt::AlignLeft | Qt::AlignVCenter, QString::number(rpm));
    for (int t = 0; t <= scale.lastTime; t += 10)
        painter.drawText(QRectF(scale.x(t) - 20, plot.bottom() + 4, 40, 16), Qt::AlignCenter,
                         QString::number(t));
    painter.drawText(QRectF(0, kHeight - 24, kWidth, 20), Qt::AlignCenter,
                     QStringLiteral("race time (s)"));
    painter.drawText(QRectF(kLeft, 8, plot.width(), 24), Qt::AlignLeft | Qt::AlignVCenter,
                     title + QStringLiteral(": speed (km/h, blue) and engine speed (rpm, orange)"));
}

void drawCurves(QPainter& painter, const PlotScale& scale, const StandingStart& run) {
    const QRectF& plot = scale.plot;
    QPainterPath speed, engine;
    int gear = run.samples.empty() ? 1 : run.samples.front().gear;
    for (std::size_t i = 0; i < run.samples.size(); ++i) {
        const StandingStart::Sample& s = run.samples[i];
        const double x = scale.x(s.time);
        const QPointF ps(x, scale.ySpeed(s.speed)), pe(x, scale.yRpm(s.engineSpeed));
        if (i == 0) {
            speed.moveTo(ps);
            engine.moveTo(pe);
        } else {
            speed.lineTo(ps);
            engine.lineTo(pe);
        }
        if (s.gear != gear) {
            gear = s.gear;
            painter.setPen(QPen(QColor(120, 120, 120), 1, Qt::DashLine));
            painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
            painter.drawText(QPointF(x + 3, plot.top() + 14), QString::number(gear));
        }
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 150, 0), 1.5));
    painter.drawPath(engine);
    painter.setPen(QPen(QColor(30, 60, 220), 2));
    painter.drawPath(speed);
}

} // namespace

QImage standingStartPlot(const StandingStart& run, const QString& title) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const PlotScale scale = plotScale(run);
    drawAxes(painter, scale, title);
    drawCurves(painter, scale, run);
    return image;
}

} // namespace velnor
