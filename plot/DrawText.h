#pragma once

#include <QObject>
#include <QRectF>

class QFont;
class QPainter;
class QString;

// Draws a text into a rectangle, optionally choosing the point size so that
// the text fills it.
class DrawText : public QObject {
    Q_OBJECT
public:
    explicit DrawText(QObject* parent = nullptr);

    // mode 1 fits the point size (measured at 10 pt, scaled, bounded by
    // maxPointSize when that is positive); any other mode draws with `font`.
    // Returns the 10 pt bounding box in fit mode, an all-zero rectangle
    // otherwise. The painter is left with `font`.
    QRectF drawFitted(QPainter* painter, QRectF rect, const QFont& font, int flags, int mode,
                      const QString& text, double maxPointSize) const;
};
