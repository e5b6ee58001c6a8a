#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QVector>

// Columns of a file chosen by the user, numbered from 1: mu is
// numerator / denominator, or ln(numerator / denominator) with `log`; with no
// denominator (0) mu is the numerator itself, or ln(numerator) with `log`.
struct MuColumns {
    int energy = 1;
    int numerator = 2;
    int denominator = 0;
    bool log = false;
};

// The absorption coefficient as measured: energies (eV, strictly increasing)
// and mu(E), with a short account of where mu came from ("mutrans",
// "ln(i0/itrans)", "column 2") for the window to show.
struct MuData {
    QVector<double> energy;
    QVector<double> mu;
    QString source;
};

// Reads mu(E) from the layouts the field writes:
//  - plain columns, energy (eV) first and mu second, further columns ignored;
//  - XDI 1.0 ("# XDI/1.0" first), whose "# Column.N: name [unit]" lines name
//    the columns: mutrans, mufluor or mu is taken as it is, otherwise mu is
//    ln(i0/itrans) or ifluor/i0;
//  - any columns the user chooses (MuColumns).
// Lines that are empty or start with '#', ';', '!' or '%' are comments.
// Before the first row of numbers, a line whose first field is not a number
// is a line of column labels and skipped. Columns are separated by blanks,
// tabs or commas; numbers may be written as C or Fortran write them. Lines end
// with LF, CRLF or a lone CR.
class MuReader {
    Q_DECLARE_TR_FUNCTIONS(MuReader)

public:
    static constexpr qint64 maxFileSize = 16 << 20;
    // No value may exceed this in size; larger ones are refused.
    static constexpr double maxMagnitude = 1e100;
    // Fewer points leave nothing for a pre-edge line, an edge and a background.
    static constexpr int minimumPoints = 20;

    // The layout recognised from the text: XDI when it says so, else plain.
    // On any fault returns false, leaves `data` alone and puts one translated
    // sentence (naming the line where there is one) into `error`.
    static bool parse(const QByteArray& text, MuData* data, QString* error);
    // The columns the user chose, whatever the layout.
    static bool parse(const QByteArray& text, const MuColumns& columns, MuData* data,
                      QString* error);
    // A regular file or a pipe, at most maxFileSize bytes (SafeFile::read).
    static bool readFile(const QString& path, MuData* data, QString* error);
    static bool readFile(const QString& path, const MuColumns& columns, MuData* data,
                         QString* error);

    // The first `rows` lines that are not comments, split into their fields
    // (as written, escaped for display), for a preview of the columns.
    static QVector<QStringList> firstRows(const QByteArray& text, int rows);
    static bool firstRowsOfFile(const QString& path, int rows, QVector<QStringList>* table,
                                QString* error);

private:
    static bool read(const QString& path, QByteArray* text, QString* error);
};
