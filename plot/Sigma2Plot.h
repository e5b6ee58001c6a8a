#pragma once

#include <QPointF>
#include <QRect>
#include <QString>

#include <vector>

class ChCoord;
class QFont;
class QPainter;

// What the sigma²(T) plot shows: each data set's fitted sigma² (Å²) with its
// error at its temperature (K), and the model's curve as (T, sigma²) points.
struct Sigma2PlotInputs {
    std::vector<double> temperature, sigma2, sigma2Error;
    std::vector<QPointF> model;
    QString title;
};

// Paints sigma² against T from plain inputs: numbered axes (T from 0 K,
// sigma² in Å²), the model as a line, each data set as a point with its
// error bar. The ranges are chosen from the inputs so that every point, bar
// and the curve fit.
class Sigma2Plot {
public:
    // Half the side of a data set's square and half the width of a bar's caps, in pixels.
    static constexpr int pointHalf = 3;
    static constexpr int capHalf = 4;

    // Paints into `frame` (the whole plot, axes and title included) with the
    // painter's font.
    static void paint(QPainter& p, const QRect& frame, const Sigma2PlotInputs& in);
    // The mapping paint() draws through, in the painter's pixels.
    static void setFrame(ChCoord& coord, const QRect& frame, const QFont& font,
                         const Sigma2PlotInputs& in);
    // The axis titles, translated.
    static QString temperatureTitle();
    static QString sigma2Title();
};
