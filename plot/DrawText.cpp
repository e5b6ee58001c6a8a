#include "DrawText.h"

#include <QFont>
#include <QPainter>
#include <QString>

#include <cmath>

DrawText::DrawText(QObject* parent) : QObject(parent) {}

QRectF DrawText::drawFitted(QPainter* painter, QRectF rect, const QFont& font, int flags, int mode,
                            const QString& text, double maxPointSize) const {
    rect = rect.normalized();
    QRectF result(0, 0, 0, 0);
    QFont local(font);

    if (mode != 1) {
        painter->setFont(font);
    } else {
        local.setPointSizeF(10);
        painter->setFont(local);
        // Measuring at a fixed size keeps the fitted size proportional.
        result = painter->boundingRect(QRectF(0, 0, 5000, 5000), flags, text);
        const double rx = result.width() != 0 ? rect.width() / result.width() : 1;
        const double ry = result.height() != 0 ? rect.height() / result.height() : 1;
        double size = 10 * std::min(rx, ry);
        if (maxPointSize > 0 && size > maxPointSize)
            size = maxPointSize;
        // A zero-sized box gives 0, which no font accepts: the text keeps
        // its 10 pt rather than raising a toolkit warning at every paint.
        if (size > 0 && std::isfinite(size)) {
            local.setPointSizeF(size);
            painter->setFont(local);
        }
    }
    painter->drawText(rect, flags, text);
    painter->setFont(font);
    return result;
}
