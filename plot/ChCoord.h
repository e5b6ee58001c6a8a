#pragma once

#include <QObject>

// World <-> pixel mapping of one drawing surface. The surface sets the pixel
// rectangle at every paint, the plot sets the world ranges; the mouse editors
// map through whatever the last paint left here.
class ChCoord : public QObject {
    Q_OBJECT
public:
    struct PixelArea {
        double left = 0;
        double right = 1;
        double bottom = 0;
        double top = 1;
    };

    explicit ChCoord(QObject* parent = nullptr);

    void setPixelArea(double left, double bottom, double right, double top);
    void setScale(double xMin, double yMin, double xMax, double yMax);

    // Linear and unclamped. The span quotient is formed first so that every
    // caller gets bit-identical pixels for the same value.
    double toPixelX(double x) const;
    double toPixelY(double y) const;
    double toWorldX(double px) const;
    double toWorldY(double py) const;

    // toPixelX/Y with the span quotient worked out once, for curves of
    // thousands of points: the same operations, so the same pixels.
    struct Mapping {
        double pixelStart, quotient, worldStart;
        double operator()(double v) const { return pixelStart + quotient * (v - worldStart); }
    };
    Mapping mappingX() const;
    Mapping mappingY() const;

    PixelArea pixelArea;
    double xMin = 0;
    double xMax = 1;
    double yMin = 0;
    double yMax = 1;

signals:
    void updated();
};
