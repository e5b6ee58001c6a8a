#pragma once

#include "Legend.h"
#include "PlotTrace.h"

#include <QFont>
#include <QPointF>
#include <QRect>
#include <QString>
#include <QVector>

class ChCoord;
class DrawText;
class QPainter;

// Paints the chi(k) plot from plain arrays: what is drawn, nothing of where
// it comes from.
class ChiKPlot {
public:
    struct Live {
        // Window, envelope and its mirror, the data, chi: in painting order.
        QVector<PlotTrace> curves;
        QVector<double> windowPositions; // k of each window handle
        bool hasEnvelope = false;
        QVector<QPointF> envelopePoints; // (k, F) of each envelope handle
    };
    struct Inputs {
        QSize size; // of the surface
        QRect plot; // the data area inside it
        bool axes = false;
        QFont axesFont; // the surface's font: axes and key
        QString xTitle, yTitle;
        QVector<PlotTrace> held; // behind everything live
        QVector<Live> live;      // one per wave
        QVector<Legend::Entry> legend;
        DrawText* text = nullptr; // draws the handles' labels
        QString note;             // a line at the data area's bottom right
    };

    // `frame` was set from the same size and view before this paint (see
    // ChCoord); it is only read here.
    static void paint(QPainter& p, const ChCoord& frame, const Inputs& in);
};
