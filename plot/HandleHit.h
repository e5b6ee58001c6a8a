#pragma once

#include <QPoint>
#include <QPointF>

// The hit test of the draggable handles: a handle is hit when the pointer
// lies strictly within 10 pixels of it; of several, the nearest wins, of
// equally near ones the first. `pixelOf(i)` gives handle i in pixels.
// Returns the index hit, or -1.
template <typename PixelOf> int nearestHandle(int count, PixelOf pixelOf, QPoint cursor) {
    double best = 1e300;
    int found = -1;
    for (int i = 0; i < count; ++i) {
        const QPointF p = pixelOf(i);
        const double dx = p.x() - cursor.x();
        const double dy = p.y() - cursor.y();
        const double d = dx * dx + dy * dy;
        if (best > d && d < 100) {
            best = d;
            found = i;
        }
    }
    return found;
}
