#include "Number.h"

#include <QLocale>

QString shortestNumber(double v) {
    return QString::number(v, 'g', QLocale::FloatingPointShortest);
}
