#pragma once

#include <QObject>
#include <QPointF>
#include <QVector>

class ChCoord;
class MouseC;

// The straight line through (x0, y0) and (x1, y1) at x; the mean of the two
// y when the x coincide. A NaN difference counts as a real one.
double interpolate(double x, double x0, double y0, double x1, double y1);

// The user-drawn amplitude curve F(k): the polyline through `points`, taken
// in the order they are stored (dragging never re-sorts them) and extended
// as straight lines beyond both ends.
class Envelope : public QObject {
    Q_OBJECT
public:
    Envelope();

    // The least k between two neighbouring points a drag leaves: closer
    // ones would make the slope between them overflow (0 * inf at the
    // first point) for no visible difference.
    static constexpr double minimumGap = 1e-3;

    double valueAt(double k) const;
    // Replaces every point at once, announced once if anything changed.
    void setPoints(const QVector<QPointF>& newPoints);

    void mPressed();
    void mMoved();
    void mReleased();

    QVector<QPointF> points;
    // Not owned; the main window sets both once the chi(k) plot exists.
    MouseC* mouse = nullptr;
    ChCoord* coord = nullptr;
    bool grabbed = false;
    int grabbedIndex = -1;

signals:
    void updated();

public slots:
    void enFlat();
};
