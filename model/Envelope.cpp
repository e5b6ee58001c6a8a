#include "Envelope.h"

#include "ChCoord.h"
#include "HandleHit.h"
#include "MouseC.h"

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
    points[grabbedIndex] =
        QPointF(coord->toWorldX(mouse->curPos.x()), coord->toWorldY(mouse->curPos.y()));
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
