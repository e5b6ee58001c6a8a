#include "PlotTrace.h"

#include "ChCoord.h"
#include "PixelDrawing.h"

#include <QPainter>

#include <algorithm>

void PlotTrace::stroke(QPainter& p, const ChCoord& frame, int width,
                       QVector<QLine>* segments) const {
    p.setPen(pen);
    segments->clear();
    const ChCoord::Mapping toX = frame.mappingX();
    const ChCoord::Mapping toY = frame.mappingY();
    // Each point is mapped once, for both segments that meet there.
    QPoint from;
    for (int i = 0; i < count; ++i) {
        const QPoint to(pixeldraw::pixel(toX(x[i])), pixeldraw::pixel(toY(sign * y[i])));
        const bool off =
            skipOff && (std::min(from.x(), to.x()) > width + 2 || std::max(from.x(), to.x()) < -2);
        if (i > 0 && !off)
            *segments << QLine(from, to);
        from = to;
    }
    p.drawLines(segments->constData(), segments->size());
}
