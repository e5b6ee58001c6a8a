#include "Axes.h"

#include "ChCoord.h"
#include "Palette.h"

#include <QFontMetrics>
#include <QPainter>

#include <cmath>

double Axes::niceStep(double span, int maxTicks) {
    if (!(span > 0) || !std::isfinite(span) || maxTicks < 1)
        return 1;
    const double raw = span / maxTicks;
    const double decade = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0})
        if (m * decade >= raw * (1 - 1e-9))
            return m * decade;
    return 10 * decade;
}

QVector<double> Axes::ticks(double low, double high, double step) {
    QVector<double> values;
    if (!(step > 0) || !(high >= low))
        return values;
    const double first = std::ceil(low / step - 1e-9);
    for (double i = first; i * step <= high + step * 1e-9 && values.size() < 1000; ++i)
        values << i * step;
    return values;
}

QString Axes::label(double value, double step) {
    // Decimals enough for the step; the multiple itself keeps no noise.
    const int decimals = step >= 1 ? 0 : int(std::ceil(-std::log10(step) - 1e-9));
    const double rounded = std::round(value / step) * step;
    return QString::number(rounded == 0 ? 0.0 : rounded, 'f', decimals);
}

QMargins Axes::margins(const QFont& font) {
    const QFontMetrics fm(font);
    // Left: the y title turned upright, then the widest usual label.
    return QMargins(fm.height() + 4 + fm.horizontalAdvance(QStringLiteral("-0.000")) + 10,
                    fm.height() / 2 + 2, fm.horizontalAdvance(QStringLiteral("00")) / 2 + 4,
                    2 * fm.height() + 10);
}

QRect Axes::setFrame(ChCoord& coord, const QSize& size, const QFont& font, bool axes) {
    const int width = size.width(), height = size.height();
    if (!axes) {
        // Pixel y grows downward, world y upward: bottom is the height.
        coord.setPixelArea(0, height, width, 0);
        return QRect(0, 0, width, height);
    }
    const QMargins m = margins(font);
    coord.setPixelArea(m.left(), height - m.bottom(), width - m.right(), m.top());
    return QRect(QPoint(m.left(), m.top()), QPoint(width - m.right(), height - m.bottom()));
}

void Axes::draw(QPainter* p, const ChCoord& coord, const QFont& font, const QString& xTitle,
                const QString& yTitle) {
    const ChCoord::PixelArea& a = coord.pixelArea;
    const int left = int(a.left), right = int(a.right), top = int(a.top), bottom = int(a.bottom);
    const QFontMetrics fm(font);
    p->save();
    p->setFont(font);
    p->setPen(QPen(Palette::text(), 1));
    p->drawLine(left, bottom, right, bottom);
    p->drawLine(left, top, left, bottom);

    const double xMin = std::min(coord.xMin, coord.xMax), xMax = std::max(coord.xMin, coord.xMax);
    const double xStep = niceStep(xMax - xMin, std::max(2, (right - left) / 70));
    for (double x : ticks(xMin, xMax, xStep)) {
        const int px = int(coord.toPixelX(x));
        p->drawLine(px, bottom, px, bottom + 5);
        const QString text = label(x, xStep);
        const int w = fm.horizontalAdvance(text);
        p->drawText(QRect(px - w / 2 - 2, bottom + 6, w + 4, fm.height()), Qt::AlignCenter, text);
    }
    p->drawText(QRect(left, bottom + 6 + fm.height(), right - left, fm.height() + 2),
                Qt::AlignHCenter | Qt::AlignTop, xTitle);

    const double yMin = std::min(coord.yMin, coord.yMax), yMax = std::max(coord.yMin, coord.yMax);
    const double yStep = niceStep(yMax - yMin, std::max(2, (bottom - top) / (2 * fm.height())));
    for (double y : ticks(yMin, yMax, yStep)) {
        const int py = int(coord.toPixelY(y));
        p->drawLine(left - 5, py, left, py);
        p->drawText(QRect(0, py - fm.height() / 2, left - 7, fm.height()),
                    Qt::AlignRight | Qt::AlignVCenter, label(y, yStep));
    }
    if (!yTitle.isEmpty()) {
        // Read from bottom to top, centred on the plot's height, at the left edge.
        p->translate(2, (top + bottom) / 2.0);
        p->rotate(-90);
        const int span = bottom - top;
        p->drawText(QRect(-span / 2, 0, span, fm.height() + 2), Qt::AlignHCenter | Qt::AlignTop,
                    yTitle);
    }
    p->restore();
}

QString Axes::superscript(int value) {
    static const char16_t digits[] = {u'\u2070', u'\u00b9', u'\u00b2', u'\u00b3', u'\u2074',
                                      u'\u2075', u'\u2076', u'\u2077', u'\u2078', u'\u2079'};
    QString out;
    for (QChar c : QString::number(value))
        out += c == QLatin1Char('-') ? QChar(u'\u207b') : QChar(digits[c.digitValue()]);
    return out;
}
