#pragma once

#include "Legend.h"
#include "PlotTrace.h"

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>
#include <QVector>

class ChCoord;
class QPainter;

// Paints the mu(E) plot from plain arrays: the curves, the E0 mark with its
// handle, the axes and the key.
class MuPlot {
public:
    struct Inputs {
        QSize size; // of the surface
        QRect plot; // the data area inside it
        bool axes = false;
        QFont axesFont;
        QString xTitle, yTitle;
        QVector<PlotTrace> curves; // in painting order
        bool hasEdge = false;
        double e0 = 0; // eV
        QVector<Legend::Entry> legend;
    };
    // The E0 handle's half width in pixels; a press this near the mark
    // grabs it.
    static constexpr int handleReach = 5;

    // `frame` was set from the same size before this paint; only read here.
    static void paint(QPainter& p, const ChCoord& frame, const Inputs& in);
};
