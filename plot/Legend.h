#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <QVector>

class QPainter;

// A small key in the top right corner of a plot: a short line in each
// curve's colour and width, then the curve's name.
class Legend {
public:
    struct Entry {
        QColor colour;
        int width = 1;
        QString name;
    };

    // The key's box for these entries inside `plot`.
    static QRect box(const QVector<Entry>& entries, const QRect& plot, const QFont& font);
    static void draw(QPainter* p, const QVector<Entry>& entries, const QRect& plot,
                     const QFont& font);

    static constexpr int swatch = 24; // length of each sample line
};
