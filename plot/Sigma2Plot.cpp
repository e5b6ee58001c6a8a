#include "Sigma2Plot.h"

#include "Axes.h"
#include "ChCoord.h"
#include "Palette.h"
#include "PixelDrawing.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// Room above the data for the title, if there is one.
int titleHeight(const QFont& font, const QString& title) {
    return title.isEmpty() ? 0 : QFontMetrics(font).height() + 4;
}

bool isFinite(double v) {
    return std::isfinite(v);
}

// A data set's error, or zero where it has none that can be drawn.
double errorOf(const Sigma2PlotInputs& in, std::size_t i) {
    if (i >= in.sigma2Error.size() || !isFinite(in.sigma2Error[i]))
        return 0;
    return std::abs(in.sigma2Error[i]);
}

std::size_t pointCount(const Sigma2PlotInputs& in) {
    return std::min(in.temperature.size(), in.sigma2.size());
}

// `high` moved up to the next tick of a round step, so the axis ends on a number.
double roundUp(double low, double high) {
    const double step = Axes::niceStep(high - low, 10);
    return std::ceil(high / step - 1e-9) * step;
}

} // namespace

QString Sigma2Plot::temperatureTitle() {
    return QCoreApplication::translate("Sigma2Plot", "T (K)");
}

QString Sigma2Plot::sigma2Title() {
    return QCoreApplication::translate("Sigma2Plot", "σ² (Å²)");
}

void Sigma2Plot::setFrame(ChCoord& coord, const QRect& frame, const QFont& font,
                          const Sigma2PlotInputs& in) {
    QMargins m = Axes::margins(font);
    // Room on the right for half of the last T label.
    m.setRight(
        std::max(m.right(), QFontMetrics(font).horizontalAdvance(QStringLiteral("0000")) / 2 + 4));
    const int top = frame.top() + m.top() + titleHeight(font, in.title);
    coord.setPixelArea(frame.left() + m.left(), frame.top() + frame.height() - m.bottom(),
                       frame.left() + frame.width() - m.right(), top);

    // T from 0 K; sigma² from 0 unless a value (a negative static part) lies below.
    double tHigh = 0, yLow = 0, yHigh = 0;
    bool any = false;
    auto take = [&](double t, double low, double high) {
        if (!isFinite(t) || !isFinite(low) || !isFinite(high))
            return;
        tHigh = std::max(tHigh, t);
        yLow = std::min(yLow, low);
        yHigh = std::max(yHigh, high);
        any = true;
    };
    for (std::size_t i = 0; i < pointCount(in); ++i)
        take(in.temperature[i], in.sigma2[i] - errorOf(in, i), in.sigma2[i] + errorOf(in, i));
    for (const QPointF& q : in.model)
        take(q.x(), q.y(), q.y());
    if (!any || !(tHigh > 0))
        tHigh = 300;
    if (!(yHigh > yLow))
        yHigh = yLow + 0.01;
    // A tenth of room above the highest value, then up to a round number.
    yHigh += 0.1 * (yHigh - yLow);
    coord.setScale(0, yLow, roundUp(0, 1.05 * tHigh), roundUp(yLow, yHigh));
}

void Sigma2Plot::paint(QPainter& p, const QRect& frame, const Sigma2PlotInputs& in) {
    p.save();
    p.setClipRect(frame);
    p.fillRect(frame, Palette::background());
    ChCoord coord;
    setFrame(coord, frame, p.font(), in);
    const ChCoord::PixelArea& a = coord.pixelArea;
    const QRect plot(QPoint(int(a.left), int(a.top)), QPoint(int(a.right), int(a.bottom)));

    p.setClipRect(plot);
    // The model under the points.
    if (in.model.size() >= 2) {
        p.setPen(pixeldraw::solidPen(Palette::sigma2Model(), 2));
        std::vector<QLine> lines;
        for (std::size_t i = 1; i < in.model.size(); ++i) {
            const QPointF& u = in.model[i - 1];
            const QPointF& v = in.model[i];
            if (isFinite(u.x()) && isFinite(u.y()) && isFinite(v.x()) && isFinite(v.y()))
                lines.push_back(pixeldraw::pixelLine(coord.toPixelX(u.x()), coord.toPixelY(u.y()),
                                                     coord.toPixelX(v.x()), coord.toPixelY(v.y())));
        }
        p.drawLines(lines.data(), int(lines.size()));
    }
    const QColor points = Palette::sigma2Points();
    p.setPen(pixeldraw::solidPen(points, 1));
    for (std::size_t i = 0; i < pointCount(in); ++i) {
        const double t = in.temperature[i], s = in.sigma2[i];
        if (!isFinite(t) || !isFinite(s))
            continue;
        const int x = pixeldraw::pixel(coord.toPixelX(t));
        const int y = pixeldraw::pixel(coord.toPixelY(s));
        const double e = errorOf(in, i);
        if (e > 0) {
            const int yUp = pixeldraw::pixel(coord.toPixelY(s + e));
            const int yDown = pixeldraw::pixel(coord.toPixelY(s - e));
            p.drawLine(x, yUp, x, yDown);
            p.drawLine(x - capHalf, yUp, x + capHalf, yUp);
            p.drawLine(x - capHalf, yDown, x + capHalf, yDown);
        }
        p.fillRect(QRect(x - pointHalf, y - pointHalf, 2 * pointHalf + 1, 2 * pointHalf + 1),
                   points);
    }

    // Axes::draw puts the y labels from the surface's left edge: draw from the frame's corner.
    p.translate(frame.topLeft());
    p.setClipRect(QRect(QPoint(0, 0), frame.size()));
    ChCoord local;
    local.setPixelArea(a.left - frame.left(), a.bottom - frame.top(), a.right - frame.left(),
                       a.top - frame.top());
    local.setScale(coord.xMin, coord.yMin, coord.xMax, coord.yMax);
    Axes::draw(&p, local, p.font(), temperatureTitle(), sigma2Title());
    if (!in.title.isEmpty()) {
        p.setPen(Palette::text());
        const QFontMetrics fm(p.font());
        p.drawText(QRect(0, 2, frame.width(), fm.height()), Qt::AlignHCenter | Qt::AlignTop,
                   in.title);
    }
    p.restore();
}
