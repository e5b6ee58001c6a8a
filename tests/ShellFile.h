#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cmath>

// A chi(k) file of one shell made by the textbook formula, not by the
// program: N exp(-2 k² sigma²) sin(2kR) / (k R²) on a fine grid from 1 to
// 20 Å^-1, beyond any k window.
inline bool writeShellFile(const QString& path, double n, double sigma2, double r) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    for (int i = 0; i <= 3800; ++i) {
        const double k = 1 + i * 0.005;
        const double chi = n * std::exp(-2 * k * k * sigma2) * std::sin(2 * k * r) / (k * r * r);
        f.write(QByteArray::number(k, 'g', 17) + ' ' + QByteArray::number(chi, 'g', 17) + '\n');
    }
    return f.flush();
}
