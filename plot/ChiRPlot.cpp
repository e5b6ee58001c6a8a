#include "ChiRPlot.h"

#include "Axes.h"
#include "ChCoord.h"
#include "DrawText.h"
#include "Palette.h"
#include "PixelDrawing.h"

#include <QPainter>

#include <algorithm>

using pixeldraw::pixelLine;
using pixeldraw::solidPen;

void ChiRPlot::paint(QPainter& p, const ChCoord& frame, const Inputs& in) {
    const int width = in.size.width();
    const int height = in.size.height();
    p.fillRect(QRect(QPoint(0, 0), QPoint(width - 1, height - 1)), Palette::background());
    if (in.axes)
        p.setClipRect(in.plot);
    auto X = [&frame](double v) { return frame.toPixelX(v); };
    auto Y = [&frame](double v) { return frame.toPixelY(v); };

    const QFont font;
    const int labelHeight = std::max(height / 40, 10);

    if (in.fitShown)
        p.fillRect(QRect(QPoint(X(in.fitLow), 0), QPoint(X(in.fitHigh), height - 1)),
                   Palette::fitBand());

    p.setPen(solidPen(Palette::grid(), 1));
    for (double r : in.gridR) {
        const QLine grid = pixelLine(X(r), 0, X(r), height);
        p.drawLines(&grid, 1);
        in.text->drawFitted(&p, QRectF(X(r) + 5, Y(0) + 5, X(r + 0.5), labelHeight), QFont(font),
                            Qt::AlignLeft | Qt::AlignTop, 1, QString::number(r, 'g', 6), 10);
    }
    const QLine zero = pixelLine(0, Y(0), width, Y(0));
    p.drawLines(&zero, 1);

    // Over the grid, so that it shows at a whole R too; under the curves.
    p.setPen(solidPen(Palette::pointer(), 1));
    const QLine pointer = pixelLine(X(in.pointer), 0, X(in.pointer), height);
    p.drawLines(&pointer, 1);

    QVector<QLine> segments;
    for (const PlotTrace& t : in.traces)
        t.stroke(p, frame, width, &segments);

    // The R window as the k window is drawn on chi(k): over the curves.
    if (!in.rWindow.isEmpty()) {
        const QColor colour = Palette::rWindow();
        p.setPen(solidPen(colour, 2));
        segments.clear();
        for (double r : in.rWindow)
            segments << pixelLine(X(r), 0, X(r), height);
        p.drawLines(segments.constData(), segments.size());
        for (double r : in.rWindow) {
            const int left = pixeldraw::pixel(X(r) - 3);
            const int topEdge = pixeldraw::pixel(Y(0) - 3);
            p.fillRect(QRect(QPoint(left, topEdge), QPoint(left + 6, topEdge + 6)), colour);
        }
    }

    const double y = Y(0);
    for (const Mark& m : in.marks) {
        QPen pen(m.colour);
        pen.setWidth(3);
        pen.setCapStyle(Qt::FlatCap);
        p.setPen(pen);
        const double x = X(m.r);
        const QLine tick = pixelLine(x, y + markGap, x, y + markGap + markLength);
        p.drawLines(&tick, 1);
    }

    p.setClipping(false);
    if (in.axes)
        Axes::draw(&p, frame, in.axesFont, in.xTitle, in.yTitle);
    Legend::draw(&p, in.legend, in.plot, in.axesFont);
}
