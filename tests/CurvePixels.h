#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QVector>

#include <algorithm>
#include <cstdlib>

// A plotted curve as the pixels its vertices map to, and the colour it must
// be drawn in.
struct PlottedCurve {
    const char* name;
    QRgb colour;
    QVector<QPoint> vertices;
};

// Looks for each curve's colour around its vertices wherever no segment of
// another curve comes near and nothing else is drawn (`busyColumns`, the rows
// `busyTop` to `busyBottom`). Returns how many such vertices each
// curve had and lists in `wrong` those whose colour was missing.
inline QVector<int> checkCurveColours(const QImage& img, const QVector<PlottedCurve>& curves,
                                      const QVector<int>& busyColumns, int busyTop, int busyBottom,
                                      QStringList* wrong) {
    const int gap = 4;
    QVector<int> checked(curves.size(), 0);
    for (int c = 0; c < curves.size(); ++c) {
        for (const QPoint& v : curves[c].vertices) {
            if (!QRect(2, 2, img.width() - 4, img.height() - 4).contains(v) ||
                (v.y() >= busyTop && v.y() <= busyBottom))
                continue;
            bool clear = std::none_of(busyColumns.begin(), busyColumns.end(),
                                      [&](int x) { return std::abs(x - v.x()) <= gap; });
            // Every segment of another curve that passes this column.
            for (int o = 0; o < curves.size() && clear; ++o) {
                const QVector<QPoint>& w = curves[o].vertices;
                for (int i = 1; o != c && i < w.size() && clear; ++i) {
                    const QRect span = QRect(w[i - 1], w[i]).normalized();
                    clear = !span.adjusted(-gap, -gap, gap, gap).contains(v);
                }
            }
            if (!clear)
                continue;
            ++checked[c];
            bool found = false;
            for (int dx = -1; dx <= 1 && !found; ++dx)
                for (int dy = -1; dy <= 1 && !found; ++dy)
                    found = img.pixel(v.x() + dx, v.y() + dy) == curves[c].colour;
            if (!found)
                *wrong << QStringLiteral("%1 at (%2, %3)")
                              .arg(QLatin1String(curves[c].name))
                              .arg(v.x())
                              .arg(v.y());
        }
    }
    return checked;
}

// Whether `colour` is drawn within `reachX` columns and `reachY` rows of
// `at` (inside the image).
inline bool colourNear(const QImage& img, QPoint at, QRgb colour, int reachX, int reachY) {
    for (int dx = -reachX; dx <= reachX; ++dx)
        for (int dy = -reachY; dy <= reachY; ++dy) {
            const QPoint p = at + QPoint(dx, dy);
            if (img.rect().contains(p) && img.pixel(p) == colour)
                return true;
        }
    return false;
}
