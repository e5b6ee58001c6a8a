#pragma once

#include <QPen>
#include <QVector>

// One polyline of a plot: world points (x[i], sign * y[i]) for the first
// `count` pairs, stroked with `pen`. With `skipOff`, segments wholly beside
// the surface are not stroked (they would only be clipped).
struct PlotTrace {
    QVector<double> x, y; // implicitly shared: no copy of the curve's arrays
    int count = 0;
    double sign = 1;
    QPen pen;
    bool skipOff = false;
};
