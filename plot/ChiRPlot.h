#pragma once

#include "Legend.h"
#include "PlotTrace.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>
#include <QVector>

class ChCoord;
class DrawText;
class QPainter;

// Paints the chi(R) plot from plain arrays: what is drawn, nothing of where
// it comes from.
class ChiRPlot {
public:
    // A shell's tick under the zero line, at its own R.
    struct Mark {
        double r = 0;
        QColor colour;
    };
    struct Inputs {
        QSize size; // of the surface
        QRect plot; // the data area inside it
        bool axes = false;
        QFont axesFont; // the surface's font: axes and key
        QString xTitle, yTitle;
        // The fit's R range, shaded under everything else.
        bool fitShown = false;
        double fitLow = 0, fitHigh = 0;
        QVector<double> gridR; // grey lines, each labelled with its R
        double pointer = 0;    // R of the pointer line
        // The Fourier filter's R window: a line and a handle on the zero
        // line at each position; empty when not filtering.
        QVector<double> rWindow;
        // The held curves, then each wave's, in painting order.
        QVector<PlotTrace> traces;
        QVector<Mark> marks;
        QVector<Legend::Entry> legend;
        DrawText* text = nullptr; // draws the grid's labels
    };

    // Pixels from the zero line to a shell's tick, and the tick's length.
    static constexpr int markGap = 3;
    static constexpr int markLength = 10;

    // `frame` was set from the same size and view before this paint (see
    // ChCoord); it is only read here.
    static void paint(QPainter& p, const ChCoord& frame, const Inputs& in);
};
