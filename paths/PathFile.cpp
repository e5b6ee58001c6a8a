#include "PathFile.h"

#include "AtomicWeights.h"
#include "Escaped.h"
#include "SafeFile.h"
#include "TextLines.h"

#include <QFileInfo>

#include <charconv>
#include <cmath>
#include <cstring>
#include <utility>

namespace {

// The seven columns, as the file's own header line names them.
const char* const columnNames[] = {"k",          "real[2*phc]", "mag[feff]", "phase[feff]",
                                   "red factor", "lambda",      "real[p]"};
const char columnList[] = "k real[2*phc] mag[feff] phase[feff] red factor lambda real[p]";

using TextLines::isBlank;

// The blank-separated fields of one line.
QVector<QByteArray> fieldsOf(const char* c, const char* end) {
    QVector<QByteArray> fields;
    while (c < end) {
        while (c < end && isBlank(*c))
            ++c;
        const char* begin = c;
        while (c < end && !isBlank(*c))
            ++c;
        if (c > begin)
            fields << QByteArray(begin, int(c - begin));
    }
    return fields;
}

// A real number as Fortran prints it (a leading '+', a D exponent), read
// without the locale; infinities and NaN are refused.
bool toReal(QByteArray field, double* out) {
    if (field.startsWith('+'))
        field.remove(0, 1);
    for (char& c : field)
        if (c == 'D' || c == 'd')
            c = 'E';
    double value = 0;
    const char* end = field.constData() + field.size();
    const auto result = std::from_chars(field.constData(), end, value);
    if (field.isEmpty() || result.ptr != end || result.ec != std::errc() || !std::isfinite(value))
        return false;
    *out = value;
    return true;
}

bool toInteger(const QByteArray& field, int* out) {
    int value = 0;
    const char* end = field.constData() + field.size();
    const auto result = std::from_chars(field.constData(), end, value);
    if (field.isEmpty() || result.ptr != end || result.ec != std::errc())
        return false;
    *out = value;
    return true;
}

} // namespace

bool PathFile::parse(const QByteArray& text, PathData* path, QString* error) {
    QString message;
    auto fail = [&](int line, const QString& what) {
        message = tr("Line %1: %2").arg(line).arg(what);
        return false;
    };
    auto check = [&]() -> bool {
        if (std::memchr(text.constData(), '\0', size_t(text.size()))) {
            message = tr("This is a binary file, not a scattering path file.");
            return false;
        }
        enum class Stage { Header, Atoms, Rows } stage = Stage::Header;
        PathData data;
        // The walk stops early on a fault (message set) or on columns named
        // before the geometry (left to the checks after it).
        TextLines::forEach(text, [&](int number, const char* c, const char* lineEnd) {
            const bool comment = c < lineEnd && *c == '#';
            if (comment)
                ++c;
            const QByteArray line = QByteArray(c, int(lineEnd - c)).trimmed();
            const QVector<QByteArray> fields = fieldsOf(c, lineEnd);
            const bool namesColumns = line.contains("mag[feff]") || line.contains("real[p]");

            if (stage == Stage::Header) {
                if (!line.contains("nleg")) {
                    if (namesColumns)
                        return false; // columns before the geometry: not a path file
                    if (!line.isEmpty())
                        data.header << QString::fromUtf8(line);
                    return true;
                }
                if (fields.size() < 3 || !toInteger(fields[0], &data.legs) ||
                    !toReal(fields[1], &data.degeneracy) || !toReal(fields[2], &data.reff))
                    return fail(number, tr("the line naming nleg, deg and reff must begin "
                                           "with those three numbers."));
                if (data.legs < 2)
                    return fail(
                        number,
                        tr("a path has at least two legs; this one has %1.").arg(data.legs));
                if (!(data.degeneracy > 0))
                    return fail(
                        number,
                        tr("the degeneracy must be positive; it is %1.").arg(data.degeneracy));
                if (!(data.reff > 0))
                    return fail(number, tr("reff must be positive; it is %1 Å.").arg(data.reff));
                stage = Stage::Atoms;
                return true;
            }

            if (stage == Stage::Atoms) {
                if (fields.isEmpty())
                    return true;
                if (fields[0] == "x")
                    return true; // the atoms' own column names
                if (namesColumns) {
                    if (data.atoms.size() != data.legs)
                        return fail(number, tr("a path of %1 legs lists %1 atoms; this one "
                                               "lists %2.")
                                                .arg(data.legs)
                                                .arg(data.atoms.size()));
                    stage = Stage::Rows;
                    return true;
                }
                if (data.atoms.size() == data.legs)
                    return fail(number, tr("the line naming the columns (%1) is missing "
                                           "before the rows of numbers.")
                                            .arg(QString::fromLatin1(columnList)));
                PathAtom atom;
                if (fields.size() < 5 || !toReal(fields[0], &atom.x) ||
                    !toReal(fields[1], &atom.y) || !toReal(fields[2], &atom.z) ||
                    !toInteger(fields[3], &atom.potential) ||
                    !toInteger(fields[4], &atom.atomicNumber))
                    return fail(number, tr("an atom's line needs x, y, z (Å), its potential "
                                           "and its atomic number Z."));
                if (AtomicWeights::of(atom.atomicNumber) <= 0)
                    return fail(number, tr("Z = %1 is not an element from 1 to %2.")
                                            .arg(atom.atomicNumber)
                                            .arg(AtomicWeights::maxZ));
                if (fields.size() > 5)
                    atom.label = QString::fromUtf8(fields[5]);
                data.atoms << atom;
                return true;
            }

            if (fields.isEmpty() || comment)
                return true;
            if (fields.size() < 7)
                return fail(number, tr("a row needs seven numbers (%1); it has %2.")
                                        .arg(QString::fromLatin1(columnList))
                                        .arg(fields.size()));
            double values[7];
            for (int f = 0; f < 7; ++f) {
                if (!toReal(fields[f], &values[f]))
                    return fail(number, tr("\"%1\" (%2) is not a finite number.")
                                            .arg(Escaped::field(fields[f]),
                                                 QString::fromLatin1(columnNames[f])));
            }
            if (data.k.isEmpty() && values[0] < 0)
                return fail(number, tr("k must not be negative; it is %1 Å⁻¹.").arg(values[0]));
            if (!data.k.isEmpty() && !(values[0] > data.k.last()))
                return fail(number, tr("k must increase from row to row; %1 Å⁻¹ follows %2 Å⁻¹.")
                                        .arg(values[0])
                                        .arg(data.k.last()));
            if (!(values[5] > 0))
                return fail(
                    number,
                    tr("the mean free path lambda must be positive; it is %1 Å.").arg(values[5]));
            data.k << values[0];
            data.realPhc << values[1];
            data.mag << values[2];
            data.phase << values[3];
            data.red << values[4];
            data.lambda << values[5];
            data.realP << values[6];
            return true;
        });
        if (!message.isEmpty())
            return false;
        if (stage == Stage::Header) {
            message = tr("This is not a scattering path file: no line gives nleg, deg and reff.");
            return false;
        }
        if (stage == Stage::Atoms) {
            message = tr("The path file has no line naming the columns (%1).")
                          .arg(QString::fromLatin1(columnList));
            return false;
        }
        if (data.rows() < minRows) {
            message = tr("The path file holds %1 rows of numbers; at least %2 are needed.")
                          .arg(data.rows())
                          .arg(minRows);
            return false;
        }
        double inverse = 0;
        for (const PathAtom& atom : std::as_const(data.atoms))
            inverse += 1 / AtomicWeights::of(atom.atomicNumber);
        data.reducedMass = 1 / inverse;
        *path = data;
        return true;
    };
    if (check())
        return true;
    if (error)
        *error = message;
    return false;
}

bool PathFile::readFile(const QString& fileName, PathData* path, QString* error) {
    QByteArray text;
    if (!SafeFile::readAll(fileName, maxFileSize, tr("a scattering path"), &text, error))
        return false;
    QString why;
    if (!parse(text, path, &why)) {
        if (error)
            *error = tr("%1: %2").arg(Escaped::text(QFileInfo(fileName).fileName()), why);
        return false;
    }
    return true;
}
