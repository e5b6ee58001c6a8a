#include "Number.h"

#include <QLocale>

QString shortestNumber(double v) {
    return QString::number(v, 'g', QLocale::FloatingPointShortest);
}

QString fittedNumber(double v, int characters) {
    QString text = shortestNumber(v);
    for (int digits = 16; text.size() > characters && digits >= 1; --digits)
        text = QString::number(v, 'g', digits);
    return text;
}
