#pragma once

#include <QLine>
#include <QPen>
#include <QVector>

class ChCoord;
class QPainter;

// One polyline of a plot: world points (x[i], sign * y[i]) for the first
// `count` pairs, stroked with `pen`. With `skipOff`, segments wholly beside
// the surface are not stroked (they would only be clipped).
struct PlotTrace {
    QVector<double> x, y; // implicitly shared: no copy of the curve's arrays
    int count = 0;
    double sign = 1;
    QPen pen;
    bool skipOff = false;

    // Strokes the segments through `frame` onto a surface `width` pixels
    // wide; `segments` is scratch space kept between traces.
    void stroke(QPainter& p, const ChCoord& frame, int width, QVector<QLine>* segments) const;
};
