#include "ChiDataReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>

#include <cmath>

namespace {
// A number as C or Fortran prints it; Fortran's D exponent reads as E.
bool toNumber(QByteArray field, double* out) {
    for (char& c : field)
        if (c == 'D' || c == 'd')
            c = 'E';
    bool ok = false;
    *out = field.toDouble(&ok);
    return ok;
}
} // namespace

bool ChiDataReader::parse(const QByteArray& text, QVector<double>* k, QVector<double>* chi,
                          QString* error) {
    QString message;
    auto fail = [&](int line, const QString& what) {
        message = tr("Line %1: %2").arg(line).arg(what);
        return false;
    };
    auto check = [&]() -> bool {
        if (text.contains('\0'))
            return fail(1, tr("this is a binary file, not columns of numbers."));
        QByteArray body = text;
        if (body.startsWith("\xEF\xBB\xBF"))
            body.remove(0, 3);
        const QList<QByteArray> lines = body.split('\n');
        QVector<double> ks, chis;
        for (int i = 0; i < lines.size(); ++i) {
            const int number = i + 1;
            QByteArray line = lines[i];
            if (line.endsWith('\r'))
                line.chop(1);
            line = line.trimmed();
            if (line.isEmpty() || line.startsWith('#') || line.startsWith('!') ||
                line.startsWith('%'))
                continue;
            line.replace(',', ' ');
            const QList<QByteArray> fields = line.simplified().split(' ');
            if (fields.size() < 2)
                return fail(number, tr("a row needs two columns, k and chi(k); it has one."));
            double values[2];
            for (int c = 0; c < 2; ++c) {
                if (!toNumber(fields[c], &values[c]))
                    return fail(
                        number,
                        tr("\"%1\" is not a number.").arg(QString::fromUtf8(fields[c].left(40))));
                if (!std::isfinite(values[c]))
                    return fail(number, tr("\"%1\" is not a finite number.")
                                            .arg(QString::fromUtf8(fields[c].left(40))));
            }
            if (!ks.isEmpty() && !(values[0] > ks.last()))
                return fail(number, tr("k must increase from row to row; %1 follows %2.")
                                        .arg(values[0])
                                        .arg(ks.last()));
            ks << values[0];
            chis << values[1];
        }
        if (ks.isEmpty()) {
            message = tr("The file holds no rows of numbers.");
            return false;
        }
        if (ks.size() < 2) {
            message = tr("The file holds one row of numbers; at least two are needed.");
            return false;
        }
        *k = ks;
        *chi = chis;
        return true;
    };
    if (check())
        return true;
    if (error)
        *error = message;
    return false;
}

bool ChiDataReader::readFile(const QString& path, QVector<double>* k, QVector<double>* chi,
                             QString* error) {
    const QString shown = QDir::toNativeSeparators(path);
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = tr("The file %1 cannot be read: %2.")
                         .arg(shown,
                              QFileInfo(path).isDir() ? tr("it is a folder") : file.errorString());
        return false;
    }
    if (file.size() > maxFileSize) {
        if (error)
            *error = tr("The file %1 is larger than 16 MiB, too large for chi(k) data.").arg(shown);
        return false;
    }
    const QByteArray text = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = tr("The file %1 cannot be read: %2.").arg(shown, file.errorString());
        return false;
    }
    QString why;
    if (!parse(text, k, chi, &why)) {
        if (error)
            *error = tr("%1: %2").arg(QFileInfo(path).fileName(), why);
        return false;
    }
    return true;
}
