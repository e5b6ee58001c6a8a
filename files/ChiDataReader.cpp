#include "ChiDataReader.h"

#include "Escaped.h"
#include "NumberField.h"
#include "SafeFile.h"
#include "TextLines.h"

#include <QFileInfo>

#include <cmath>
#include <cstring>

bool ChiDataReader::parse(const QByteArray& text, QVector<double>* k, QVector<double>* chi,
                          QString* error) {
    QString message;
    auto fail = [&](int line, const QString& what) {
        message = tr("Line %1: %2").arg(line).arg(what);
        return false;
    };
    auto check = [&]() -> bool {
        if (std::memchr(text.constData(), '\0', size_t(text.size())))
            return fail(1, tr("this is a binary file, not columns of numbers."));
        QVector<double> ks, chis;
        const bool read =
            TextLines::forEach(text, [&](int number, const char* c, const char* lineEnd) {
                if (c == lineEnd || *c == '#' || *c == '!' || *c == '%')
                    return true;
                // The first two fields; separators of any kind run together.
                const char* fieldBegin[2];
                const char* fieldEnd[2];
                int fields = 0;
                while (fields < 2) {
                    while (c < lineEnd && TextLines::isSeparator(*c))
                        ++c;
                    if (c == lineEnd)
                        break;
                    fieldBegin[fields] = c;
                    while (c < lineEnd && !TextLines::isSeparator(*c))
                        ++c;
                    fieldEnd[fields++] = c;
                }
                if (fields < 2)
                    return fail(number, tr("a row needs two columns, k and chi(k); it has one."));
                double values[2];
                for (int f = 0; f < 2; ++f) {
                    const QString shown = Escaped::field(
                        QByteArray::fromRawData(fieldBegin[f], int(fieldEnd[f] - fieldBegin[f])));
                    switch (NumberField::parse(fieldBegin[f], fieldEnd[f], &values[f])) {
                    case NumberField::Result::NotANumber:
                        return fail(number, tr("\"%1\" is not a number.").arg(shown));
                    case NumberField::Result::TooLarge:
                        return fail(number, tooLarge(shown));
                    case NumberField::Result::Ok:
                        break;
                    }
                    if (!std::isfinite(values[f]))
                        return fail(number, tr("\"%1\" is not a finite number.").arg(shown));
                    if (std::abs(values[f]) > maxMagnitude)
                        return fail(number, tooLarge(shown));
                }
                if (!ks.isEmpty() && !(values[0] > ks.last()))
                    return fail(number, tr("k must increase from row to row; %1 follows %2.")
                                            .arg(values[0])
                                            .arg(ks.last()));
                ks << values[0];
                chis << values[1];
                return true;
            });
        if (!read)
            return false;
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

QString ChiDataReader::tooLarge(const QString& shown) {
    return tr("\"%1\" is too large: values must lie within %2, far beyond any chi(k).")
        .arg(shown, QStringLiteral("±1e100"));
}

bool ChiDataReader::readFile(const QString& path, QVector<double>* k, QVector<double>* chi,
                             QString* error) {
    QByteArray text;
    if (!SafeFile::readAll(path, maxFileSize, tr("chi(k) data"), &text, error))
        return false;
    QString why;
    if (!parse(text, k, chi, &why)) {
        if (error)
            *error = tr("%1: %2").arg(Escaped::text(QFileInfo(path).fileName()), why);
        return false;
    }
    return true;
}
