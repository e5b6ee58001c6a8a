#include "Envelope.h"

#include "ChCoord.h"
#include "HandleHit.h"
#include "MouseC.h"

#include <algorithm>
#include <limits>

double interpolate(double x, double x0, double y0, double x1, double y1) {
    const double dx = x1 - x0;
    if (dx != 0)
        return y0 + (y1 - y0) / dx * (x - x0);
    return (y0 + y1) * 0.5;
}

Envelope::Envelope() : QObject(nullptr) {}

double Envelope::valueAt(double k) const {
    const int count = points.size();
    if (count == 0)
        return 1.0;
    if (count == 1)
        return points[0].y();
    int i = 1;
    while (i < count && !(points[i].x() > k))
        ++i;
    if (i == count)
        i = count - 1;
    return interpolate(k, points[i - 1].x(), points[i - 1].y(), points[i].x(), points[i].y());
}

void Envelope::setPoints(const QVector<QPointF>& newPoints) {
    if (newPoints == points)
        return;
    points = newPoints;
    emit updated();
}

void Envelope::mPressed() {
    grabbed = false;
    if (!coord || !mouse)
        return;
    const int found = nearestHandle(
        points.size(),
        [this](int i) {
            return QPointF(coord->toPixelX(points[i].x()), coord->toPixelY(points[i].y()));
        },
        mouse->curPos);
    if (found >= 0) {
        grabbed = true;
        grabbedIndex = found;
    }
}

void Envelope::mMoved() {
    if (!grabbed || !coord || !mouse)
        return;
    if (grabbedIndex < 0 || grabbedIndex >= points.size())
        return;
    // The point stays on the plot, where it can be grabbed again...
    double k = std::clamp(coord->toWorldX(mouse->curPos.x()), std::min(coord->xMin, coord->xMax),
                          std::max(coord->xMin, coord->xMax));
    const double f =
        std::clamp(coord->toWorldY(mouse->curPos.y()), std::min(coord->yMin, coord->yMax),
                   std::max(coord->yMin, coord->yMax));
    // ...and between its neighbours, since F(k) follows the points in their
    // stored order.
    const double inf = std::numeric_limits<double>::infinity();
    const double low = grabbedIndex > 0 ? points[grabbedIndex - 1].x() + minimumGap : -inf;
    const double high =
        grabbedIndex + 1 < points.size() ? points[grabbedIndex + 1].x() - minimumGap : inf;
    if (low <= high)
        k = std::clamp(k, low, high);
    else
        k = points[grabbedIndex].x();
    points[grabbedIndex] = QPointF(k, f);
    emit updated();
}

void Envelope::mReleased() {
    grabbed = false;
}

void Envelope::enFlat() {
    for (QPointF& p : points)
        p.setY(1.0);
    emit updated();
}
