#include "Legend.h"

#include "Palette.h"

#include <QFontMetrics>
#include <QPainter>

QRect Legend::box(const QVector<Entry>& entries, const QRect& plot, const QFont& font) {
    const QFontMetrics fm(font);
    int textWidth = 0;
    for (const Entry& e : entries)
        textWidth = std::max(textWidth, fm.horizontalAdvance(e.name));
    const int w = 6 + swatch + 6 + textWidth + 6;
    const int h = 4 + entries.size() * fm.height() + 4;
    return QRect(plot.right() - 8 - w, plot.top() + 8, w, h);
}

void Legend::draw(QPainter* p, const QVector<Entry>& entries, const QRect& plot,
                  const QFont& font) {
    if (entries.isEmpty())
        return;
    const QRect r = box(entries, plot, font);
    const QFontMetrics fm(font);
    p->save();
    p->setFont(font);
    p->setPen(QPen(Palette::text(), 1));
    p->setBrush(Palette::keyBackground());
    p->drawRect(r);
    for (int i = 0; i < entries.size(); ++i) {
        const Entry& e = entries[i];
        const int y = r.top() + 4 + i * fm.height();
        const int mid = y + fm.height() / 2;
        QPen pen(e.colour);
        pen.setWidth(e.width);
        p->setPen(pen);
        p->drawLine(r.left() + 6, mid, r.left() + 6 + swatch, mid);
        p->setPen(Palette::text());
        p->drawText(QRect(r.left() + 6 + swatch + 6, y, r.width(), fm.height()),
                    Qt::AlignLeft | Qt::AlignVCenter, e.name);
    }
    p->restore();
}
