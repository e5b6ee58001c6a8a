#include "MuReader.h"

#include "Escaped.h"
#include "NumberField.h"
#include "SafeFile.h"
#include "TextLines.h"

#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

using TextLines::isBlank;
using TextLines::isSeparator;

struct Field {
    const char* begin;
    const char* end;
};

bool isComment(const char* begin, const char* end) {
    return begin == end || *begin == '#' || *begin == ';' || *begin == '!' || *begin == '%';
}

// At most `limit` fields; separators of any kind run together.
void split(const char* c, const char* end, QVector<Field>* fields, int limit) {
    fields->clear();
    while (fields->size() < limit) {
        while (c < end && isSeparator(*c))
            ++c;
        if (c == end)
            return;
        const char* begin = c;
        while (c < end && !isSeparator(*c))
            ++c;
        fields->append(Field{begin, c});
    }
}

QString shown(const Field& field) {
    return Escaped::field(QByteArray::fromRawData(field.begin, int(field.end - field.begin)));
}

// The columns an XDI header names, "# Column.N: name [unit]", by lower-case
// name. A malformed Column line is refused with its line number.
bool xdiColumns(const QByteArray& text, QHash<QString, int>* columns, int* badLine) {
    bool ok = true;
    bool inData = false;
    TextLines::forEach(text, [&](int number, const char* begin, const char* end) {
        if (begin == end)
            return true;
        if (*begin != '#')
            return !(inData = true);
        const char* c = begin + 1;
        while (c < end && isBlank(*c))
            ++c;
        static const char key[] = "Column.";
        const size_t keyLength = sizeof key - 1;
        if (size_t(end - c) < keyLength || std::strncmp(c, key, keyLength) != 0)
            return true;
        c += keyLength;
        const char* digits = c;
        int index = 0;
        while (c < end && *c >= '0' && *c <= '9' && index < 100000)
            index = index * 10 + (*c++ - '0');
        if (c == digits || c == end || *c != ':' || index < 1) {
            *badLine = number;
            return ok = false;
        }
        ++c;
        while (c < end && isBlank(*c))
            ++c;
        const char* nameEnd = c;
        while (nameEnd < end && !isBlank(*nameEnd))
            ++nameEnd;
        const QString name = QString::fromUtf8(c, int(nameEnd - c)).toLower();
        if (name.isEmpty()) {
            *badLine = number;
            return ok = false;
        }
        if (!columns->contains(name))
            columns->insert(name, index);
        return true;
    });
    return ok;
}

bool isXdi(const QByteArray& text) {
    bool xdi = false;
    TextLines::forEach(text, [&](int, const char* begin, const char* end) {
        static const char mark[] = "XDI/";
        if (begin < end && *begin == '#') {
            const char* c = begin + 1;
            while (c < end && isBlank(*c))
                ++c;
            xdi = size_t(end - c) >= sizeof mark - 1 && std::strncmp(c, mark, sizeof mark - 1) == 0;
        }
        return false; // only the first line tells
    });
    return xdi;
}

} // namespace

bool MuReader::parse(const QByteArray& text, MuData* data, QString* error) {
    if (!isXdi(text)) {
        MuColumns plain;
        if (!parse(text, plain, data, error))
            return false;
        data->source = tr("column %1").arg(plain.numerator);
        return true;
    }
    QHash<QString, int> named;
    int badLine = 0;
    if (!xdiColumns(text, &named, &badLine)) {
        if (error)
            *error = tr("Line %1: %2")
                         .arg(badLine)
                         .arg(tr("an XDI column line must read \"# Column.N: name\" with N from "
                                 "1 on."));
        return false;
    }
    MuColumns columns;
    columns.energy = named.value(QStringLiteral("energy"), 1);
    QString source;
    for (const char* name : {"mutrans", "mufluor", "mu"}) {
        if (named.contains(QLatin1String(name))) {
            columns.numerator = named.value(QLatin1String(name));
            source = QLatin1String(name);
            break;
        }
    }
    if (source.isEmpty() && named.contains(QStringLiteral("i0"))) {
        if (named.contains(QStringLiteral("itrans"))) {
            columns.numerator = named.value(QStringLiteral("i0"));
            columns.denominator = named.value(QStringLiteral("itrans"));
            columns.log = true;
            source = QStringLiteral("ln(i0/itrans)");
        } else if (named.contains(QStringLiteral("ifluor"))) {
            columns.numerator = named.value(QStringLiteral("ifluor"));
            columns.denominator = named.value(QStringLiteral("i0"));
            source = QStringLiteral("ifluor/i0");
        }
    }
    if (source.isEmpty()) {
        if (error)
            *error = tr("The XDI file names no column of mu (mutrans, mufluor or mu), nor i0 "
                        "with itrans or ifluor.");
        return false;
    }
    if (!parse(text, columns, data, error))
        return false;
    data->source = source;
    return true;
}

bool MuReader::parse(const QByteArray& text, const MuColumns& columns, MuData* data,
                     QString* error) {
    QString message;
    auto fail = [&](int line, const QString& what) {
        message = tr("Line %1: %2").arg(line).arg(what);
        return false;
    };
    auto check = [&]() -> bool {
        if (columns.energy < 1 || columns.numerator < 1 || columns.denominator < 0) {
            message = tr("Column numbers start at 1.");
            return false;
        }
        if (std::memchr(text.constData(), '\0', size_t(text.size())))
            return fail(1, tr("this is a binary file, not columns of numbers."));
        const int needed = std::max({columns.energy, columns.numerator, columns.denominator});
        QVector<double> energies, mus;
        QVector<Field> fields;
        const bool read = TextLines::forEach(text, [&](int number, const char* begin,
                                                       const char* end) {
            if (isComment(begin, end))
                return true;
            split(begin, end, &fields, needed);
            double value = 0;
            // Labels above the first row of numbers.
            if (energies.isEmpty() && NumberField::parse(fields[0].begin, fields[0].end, &value) !=
                                          NumberField::Result::Ok)
                return true;
            auto number_ = [&](int column, double* out) {
                if (column > fields.size())
                    return fail(number, tr("column %1 does not exist: this row has %2.")
                                            .arg(column)
                                            .arg(fields.size()));
                const Field& field = fields[column - 1];
                switch (NumberField::parse(field.begin, field.end, out)) {
                case NumberField::Result::NotANumber:
                    return fail(number, tr("\"%1\" is not a number.").arg(shown(field)));
                case NumberField::Result::TooLarge:
                    return fail(number, tr("\"%1\" is too large: values must lie within %2.")
                                            .arg(shown(field), QStringLiteral("±1e100")));
                case NumberField::Result::Ok:
                    break;
                }
                if (!std::isfinite(*out))
                    return fail(number, tr("\"%1\" is not a finite number.").arg(shown(field)));
                if (std::abs(*out) > maxMagnitude)
                    return fail(number, tr("\"%1\" is too large: values must lie within %2.")
                                            .arg(shown(field), QStringLiteral("±1e100")));
                return true;
            };
            double energy = 0, numerator = 0, denominator = 1;
            if (!number_(columns.energy, &energy) || !number_(columns.numerator, &numerator) ||
                (columns.denominator > 0 && !number_(columns.denominator, &denominator)))
                return false;
            double mu = 0;
            if (columns.denominator > 0 && denominator == 0)
                return fail(number,
                            tr("the denominator (column %1) is zero.").arg(columns.denominator));
            const double ratio = numerator / denominator;
            if (columns.log) {
                if (!(ratio > 0))
                    return fail(number, columns.denominator > 0
                                            ? tr("the logarithm needs a positive ratio, but "
                                                 "%1 / %2 is not.")
                                                  .arg(numerator)
                                                  .arg(denominator)
                                            : tr("the logarithm needs a positive value, but %1 "
                                                 "is not.")
                                                  .arg(numerator));
                mu = std::log(ratio);
            } else {
                mu = ratio;
            }
            if (!std::isfinite(mu) || std::abs(mu) > maxMagnitude)
                return fail(number,
                            tr("mu = %1 / %2 is too large.").arg(numerator).arg(denominator));
            if (!energies.isEmpty() && !(energy > energies.last()))
                return fail(number,
                            tr("energies must increase from row to row; %1 eV follows %2 eV.")
                                .arg(energy, 0, 'g', 10)
                                .arg(energies.last(), 0, 'g', 10));
            energies << energy;
            mus << mu;
            return true;
        });
        if (!read)
            return false;
        if (energies.isEmpty()) {
            message = tr("The file holds no rows of numbers.");
            return false;
        }
        if (energies.size() < minimumPoints) {
            message = tr("The file holds %1 rows of numbers; mu(E) needs at least %2.")
                          .arg(energies.size())
                          .arg(minimumPoints);
            return false;
        }
        data->energy = energies;
        data->mu = mus;
        data->source =
            columns.denominator > 0
                ? (columns.log ? tr("ln(column %1 / column %2)") : tr("column %1 / column %2"))
                      .arg(columns.numerator)
                      .arg(columns.denominator)
                : (columns.log ? tr("ln(column %1)") : tr("column %1")).arg(columns.numerator);
        return true;
    };
    if (check())
        return true;
    if (error)
        *error = message;
    return false;
}

bool MuReader::read(const QString& path, QByteArray* text, QString* error) {
    return SafeFile::readAll(path, maxFileSize, tr("mu(E) data"), text, error);
}

bool MuReader::readFile(const QString& path, MuData* data, QString* error) {
    QByteArray text;
    QString why;
    if (!read(path, &text, error))
        return false;
    if (!parse(text, data, &why)) {
        if (error)
            *error = tr("%1: %2").arg(Escaped::text(QFileInfo(path).fileName()), why);
        return false;
    }
    return true;
}

bool MuReader::readFile(const QString& path, const MuColumns& columns, MuData* data,
                        QString* error) {
    QByteArray text;
    QString why;
    if (!read(path, &text, error))
        return false;
    if (!parse(text, columns, data, &why)) {
        if (error)
            *error = tr("%1: %2").arg(Escaped::text(QFileInfo(path).fileName()), why);
        return false;
    }
    return true;
}

QVector<QStringList> MuReader::firstRows(const QByteArray& text, int rows) {
    // Wide enough for any beamline's scalers, bounded for a hostile line.
    constexpr int maxColumns = 64;
    QVector<QStringList> table;
    if (rows <= 0 || std::memchr(text.constData(), '\0', size_t(text.size())))
        return table;
    QVector<Field> fields;
    TextLines::forEach(text, [&](int, const char* begin, const char* end) {
        if (isComment(begin, end))
            return true;
        split(begin, end, &fields, maxColumns);
        QStringList row;
        for (const Field& field : fields)
            row << shown(field);
        table << row;
        return table.size() < rows;
    });
    return table;
}

bool MuReader::firstRowsOfFile(const QString& path, int rows, QVector<QStringList>* table,
                               QString* error) {
    QByteArray text;
    if (!read(path, &text, error))
        return false;
    *table = firstRows(text, rows);
    return true;
}
