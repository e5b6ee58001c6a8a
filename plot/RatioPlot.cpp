#include "RatioPlot.h"

#include "Axes.h"
#include "ChCoord.h"
#include "Palette.h"
#include "PixelDrawing.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

void RatioPlot::paint(QPainter& p, ChCoord& frame, const Inputs& in) {
    p.fillRect(QRect(QPoint(0, 0), in.size - QSize(1, 1)), Palette::background());
    const QRect plot = Axes::setFrame(frame, in.size, in.axesFont, true);
    const int count = std::min(in.x.size(), in.y.size());
    if (count == 0) {
        frame.setScale(0, -1, 1, 1);
        Axes::draw(&p, frame, in.axesFont, in.xTitle, in.yTitle);
        return;
    }
    const auto [xLow, xHigh] = std::minmax_element(in.x.begin(), in.x.begin() + count);
    const auto [yLow, yHigh] = std::minmax_element(in.y.begin(), in.y.begin() + count);
    const double xRoom = std::max(0.1 * (*xHigh - *xLow), 1e-9);
    const double yRoom = std::max(0.1 * (*yHigh - *yLow), 1e-9);
    frame.setScale(*xLow - xRoom, *yLow - yRoom, *xHigh + xRoom, *yHigh + yRoom);

    p.setClipRect(plot);
    const QColor points = Palette::ratioPoints();
    for (int i = 0; i < count; ++i) {
        const int x = pixeldraw::pixel(frame.toPixelX(in.x[i]));
        const int y = pixeldraw::pixel(frame.toPixelY(in.y[i]));
        p.fillRect(QRect(x - 1, y - 1, 3, 3), points);
    }
    if (in.hasLine) {
        p.setPen(pixeldraw::solidPen(Palette::ratioLine(), 2));
        const double a = frame.xMin, b = frame.xMax;
        const QLine line =
            pixeldraw::pixelLine(frame.toPixelX(a), frame.toPixelY(in.intercept + in.slope * a),
                                 frame.toPixelX(b), frame.toPixelY(in.intercept + in.slope * b));
        p.drawLines(&line, 1);
    }
    p.setClipping(false);
    Axes::draw(&p, frame, in.axesFont, in.xTitle, in.yTitle);
}
