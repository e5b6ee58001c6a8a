#include "ChiKPlot.h"

#include "Axes.h"
#include "ChCoord.h"
#include "DrawText.h"
#include "Palette.h"
#include "PixelDrawing.h"

#include <QPainter>

#include <algorithm>

using pixeldraw::pixel;
using pixeldraw::pixelLine;
using pixeldraw::solidPen;

void ChiKPlot::paint(QPainter& p, const ChCoord& frame, const Inputs& in) {
    const int width = in.size.width();
    const int height = in.size.height();
    p.fillRect(QRect(QPoint(0, 0), QPoint(width - 1, height - 1)), Palette::background());
    if (in.live.isEmpty())
        return;
    if (in.axes)
        p.setClipRect(in.plot);
    auto X = [&frame](double v) { return frame.toPixelX(v); };
    auto Y = [&frame](double v) { return frame.toPixelY(v); };

    const QFont font;
    const int labelHeight = std::max(height / 40, 10);
    QVector<QLine> segments;

    for (const PlotTrace& t : in.held)
        t.stroke(p, frame, width, &segments);

    for (const Live& w : in.live) {
        for (const PlotTrace& t : w.curves)
            t.stroke(p, frame, width, &segments);

        const QColor window = Palette::window();
        p.setPen(solidPen(window, 2));
        segments.clear();
        for (double pos : w.windowPositions)
            segments << pixelLine(X(pos), 0, X(pos), height);
        p.drawLines(segments.constData(), segments.size());
        for (double pos : w.windowPositions) {
            const int left = pixel(X(pos) - 3);
            const int topEdge = pixel(Y(0) - 3);
            p.fillRect(QRect(QPoint(left, topEdge), QPoint(left + 6, topEdge + 6)), window);
        }

        if (w.hasEnvelope) {
            const QColor handle = Palette::envelopeHandle();
            p.setPen(solidPen(handle, 1));
            segments.clear();
            for (const QPointF& pt : w.envelopePoints)
                segments << pixelLine(X(pt.x()), 0, X(pt.x()), height);
            p.drawLines(segments.constData(), segments.size());
            for (const QPointF& pt : w.envelopePoints) {
                const int left = pixel(X(pt.x()) - 2);
                const int topEdge = pixel(Y(pt.y()) - 2);
                p.fillRect(QRect(QPoint(left, topEdge), QPoint(left + 4, topEdge + 4)), handle);
            }
            p.setPen(solidPen(Palette::grid(), 1));
            for (const QPointF& pt : w.envelopePoints)
                in.text->drawFitted(
                    &p, QRectF(X(pt.x()) + 3, Y(0) + 3, X(pt.x() + 0.5), labelHeight), QFont(font),
                    Qt::AlignLeft | Qt::AlignTop, 1, QString::number(pt.x(), 'g', 3), 10);
        }

        p.setPen(solidPen(Palette::grid(), 1));
        const QLine zero = pixelLine(0, Y(0), width, Y(0));
        p.drawLines(&zero, 1);
    }

    p.setClipping(false);
    if (in.axes)
        Axes::draw(&p, frame, in.axesFont, in.xTitle, in.yTitle);
    Legend::draw(&p, in.legend, in.plot, in.axesFont);
    if (!in.note.isEmpty()) {
        p.setPen(Palette::text());
        p.setFont(in.axesFont);
        p.drawText(in.plot.adjusted(4, 4, -4, -4), Qt::AlignRight | Qt::AlignBottom, in.note);
    }
}
