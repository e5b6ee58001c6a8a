#pragma once

#include <QColor>
#include <QLine>
#include <QPen>

#include <cmath>

// Drawing helpers shared by the plots: mapped values truncated to pixels,
// lines between them and solid pens.
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

// Both plots paint with solid pens of a given width (in the palette's
// colours), leaving cap, join and style at the toolkit's defaults.
inline QPen solidPen(const QColor& colour, int width) {
    QPen pen(colour);
    pen.setWidth(width);
    return pen;
}

} // namespace pixeldraw
