#pragma once

#include <QFont>
#include <QSize>
#include <QString>
#include <QVector>

class ChCoord;
class QPainter;

// Paints one plot of the ratio method from plain inputs: the points (x, y)
// as small squares and the straight line intercept + slope x across them,
// on numbered axes. The frame is set here from the points' ranges.
class RatioPlot {
public:
    struct Inputs {
        QSize size;
        QFont axesFont;
        QString xTitle, yTitle;
        QVector<double> x, y;
        bool hasLine = false;
        double slope = 0, intercept = 0;
    };
    // Sets `frame` from the points (10 % of room on each side) and paints.
    static void paint(QPainter& p, ChCoord& frame, const Inputs& in);
};
