#include "PlotTrace.h"

#include "ChCoord.h"
#include "PixelDrawing.h"

#include <QPainter>

#include <algorithm>

void PlotTrace::stroke(QPainter& p, const ChCoord& frame, int width,
                       QVector<QLine>* segments) const {
    p.setPen(pen);
    segments->clear();
    for (int i = 1; i < count; ++i) {
        const QLine line =
            pixeldraw::pixelLine(frame.toPixelX(x[i - 1]), frame.toPixelY(sign * y[i - 1]),
                                 frame.toPixelX(x[i]), frame.toPixelY(sign * y[i]));
        if (skipOff &&
            (std::min(line.x1(), line.x2()) > width + 2 || std::max(line.x1(), line.x2()) < -2))
            continue;
        *segments << line;
    }
    p.drawLines(segments->constData(), segments->size());
}
