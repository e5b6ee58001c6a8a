#pragma once

#include <QCoreApplication>
#include <QString>
#include <QVector>

// Measured chi(k) as the common XAFS packages write it: columns of numbers,
// k (Å⁻¹) first and chi(k) without k weight second, further columns ignored.
// Lines that are empty or start with '#', '!' or '%' are comments; columns
// are separated by blanks, tabs or commas; numbers may be written as C or
// Fortran write them (1.5E-01, .5, 3e-2, 1.0D-03). k must increase strictly;
// the grid need not be uniform. Lines end with LF, CRLF or a lone CR.
// No value may exceed maxMagnitude in size: no chi(k) comes near it, and
// larger values would overflow once weighted with k^n.
class ChiDataReader {
    Q_DECLARE_TR_FUNCTIONS(ChiDataReader)

public:
    static constexpr qint64 maxFileSize = 16 << 20;
    static constexpr double maxMagnitude = 1e100;

    // On any fault returns false, leaves k and chi alone and puts one
    // translated sentence naming the line and what is wrong into `error`.
    static bool parse(const QByteArray& text, QVector<double>* k, QVector<double>* chi,
                      QString* error);
    // A regular file or a pipe, at most maxFileSize bytes (SafeFile::read).
    static bool readFile(const QString& path, QVector<double>* k, QVector<double>* chi,
                         QString* error);

private:
    static QString tooLarge(const QString& shown);
};
