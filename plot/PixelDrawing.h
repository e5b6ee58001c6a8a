#pragma once

#include "Palette.h"

#include <QColor>
#include <QLine>
#include <QPen>

#include <cmath>

// Drawing helpers shared by the plots: mapped values truncated to pixels,
// lines between them, opaque colours and solid pens.
namespace pixeldraw {

// Both plots truncate mapped values toward zero. A value far off the surface
// is held to a range that still lies far off it, so the conversion to int
// stays defined however large the data get.
inline int pixel(double v) {
    if (std::isnan(v))
        return 0;
    constexpr double limit = 1e7;
    return static_cast<int>(v < -limit ? -limit : (v > limit ? limit : v));
}

inline QLine pixelLine(double x1, double y1, double x2, double y2) {
    return QLine(pixel(x1), pixel(y1), pixel(x2), pixel(y2));
}

// Both plots paint with opaque colours and solid pens of a given width,
// leaving cap, join and style at the toolkit's defaults.
inline QColor solidColor(int r, int g, int b) {
    QColor c;
    c.setRgb(r, g, b, 255);
    return c;
}

inline QPen solidPen(const QColor& colour, int width) {
    QPen pen(colour);
    pen.setWidth(width);
    return pen;
}

inline QPen solidPen(int r, int g, int b, int width) {
    return solidPen(solidColor(r, g, b), width);
}

inline QColor measuredColour() {
    return Palette::measured();
}

} // namespace pixeldraw
