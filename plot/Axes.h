#pragma once

#include <QFont>
#include <QMargins>
#include <QRect>
#include <QSize>
#include <QString>
#include <QVector>

class ChCoord;
class QPainter;

// Numbered axes along the bottom (x) and the left (y) of a plot whose frame
// has been inset by margins(): round tick steps of 1, 2 or 5 x 10^m, labels
// in the palette's text colour at the widget's normal font size, a title
// with units under the x labels and one turned upright left of the y labels.
class Axes {
public:
    // The step of at most `maxTicks` + 1 ticks over `span`: 1, 2 or 5 x 10^m.
    static double niceStep(double span, int maxTicks);
    // The multiples of `step` within [low, high] (ends included to rounding).
    static QVector<double> ticks(double low, double high, double step);
    // What a tick shows: the multiple of the step, without rounding noise.
    static QString label(double value, double step);

    // Room the axes need inside a surface drawn with `font`.
    static QMargins margins(const QFont& font);
    // Sets the frame's pixel area for a surface of `size`: the whole surface,
    // or inset by the margins when the axes are shown (the world ranges
    // stay). Returns the rectangle the data are drawn in.
    static QRect setFrame(ChCoord& coord, const QSize& size, const QFont& font, bool axes);
    // Draws both axes for the frame's current ranges and pixel area.
    static void draw(QPainter* p, const ChCoord& coord, const QFont& font, const QString& xTitle,
                     const QString& yTitle = QString());
    // An integer as superscript digits, "⁻³" for -3, for units and powers.
    static QString superscript(int value);
};
