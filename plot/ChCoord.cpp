#include "ChCoord.h"

ChCoord::ChCoord(QObject* parent) : QObject(parent) {}

void ChCoord::setPixelArea(double left, double bottom, double right, double top) {
    pixelArea.left = left;
    pixelArea.bottom = bottom;
    pixelArea.right = right;
    pixelArea.top = top;
}

void ChCoord::setScale(double xMin_, double yMin_, double xMax_, double yMax_) {
    xMin = xMin_;
    yMin = yMin_;
    xMax = xMax_;
    yMax = yMax_;
}

ChCoord::Mapping ChCoord::mappingX() const {
    return {pixelArea.left, (pixelArea.right - pixelArea.left) / (xMax - xMin), xMin};
}

ChCoord::Mapping ChCoord::mappingY() const {
    return {pixelArea.bottom, (pixelArea.top - pixelArea.bottom) / (yMax - yMin), yMin};
}

double ChCoord::toPixelX(double x) const {
    return mappingX()(x);
}

double ChCoord::toPixelY(double y) const {
    return mappingY()(y);
}

// A surface squeezed to zero width or height has an empty pixel span; the
// inverse mapping then answers the low end of the range instead of dividing
// by zero, so a stray event can never feed inf or NaN into the model.
double ChCoord::toWorldX(double px) const {
    const double span = pixelArea.right - pixelArea.left;
    if (span == 0)
        return xMin;
    return xMin + (xMax - xMin) / span * (px - pixelArea.left);
}

double ChCoord::toWorldY(double py) const {
    const double span = pixelArea.top - pixelArea.bottom;
    if (span == 0)
        return yMin;
    return yMin + (yMax - yMin) / span * (py - pixelArea.bottom);
}
