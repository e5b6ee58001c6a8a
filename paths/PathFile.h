#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QVector>

// One atom of a scattering path as the path file lists it: its position (Å),
// the index of its potential (0 for the absorber) and its atomic number.
struct PathAtom {
    double x = 0;
    double y = 0;
    double z = 0;
    int potential = 0;
    int atomicNumber = 0;
    QString label;
};

// A scattering path as FEFF writes it into feffNNNN.dat: its geometry and
// the seven columns on FEFF's k grid (Å⁻¹), values as in the file.
struct PathData {
    // The lines above the one that gives nleg, deg and reff, without their
    // leading '#' and surrounding blanks (the title, the potentials, ...).
    QStringList header;
    int legs = 0;
    double degeneracy = 0;
    double reff = 0; // half the path length, Å
    QVector<PathAtom> atoms;
    // The path's reduced mass in atomic mass units, 1/mu = sum of 1/m over
    // its atoms: m1 m2 / (m1 + m2) for a pair.
    double reducedMass = 0;

    QVector<double> k;       // Å⁻¹, strictly increasing, from 0 or above
    QVector<double> realPhc; // real[2*phc]: twice the central atom's phase shift, rad
    QVector<double> mag;     // mag[feff]: |F_eff|, Å
    QVector<double> phase;   // phase[feff]: the backscattering phase, rad
    QVector<double> red;     // the reduction factor
    QVector<double> lambda;  // the mean free path, Å, positive
    QVector<double> realP;   // real[p]: the real part of the complex momentum, Å⁻¹

    int rows() const { return k.size(); }
};

// Reads a FEFF path file (FEFF 6 and later; header lines may start with '#'
// or not): header lines up to the one that gives nleg, deg and reff; an
// optional "x y z pot at#" line and then nleg atoms (x y z pot Z label); the
// line that names the columns (k real[2*phc] mag[feff] phase[feff]
// red factor lambda real[p]); then rows of those seven numbers. Lines end with
// LF, CRLF or a lone CR; numbers may be written as Fortran writes them
// (.000, 1.5E+01, 1.0D-03).
class PathFile {
    Q_DECLARE_TR_FUNCTIONS(PathFile)

public:
    static constexpr qint64 maxFileSize = 1 << 20;
    // The fewest rows a cubic spline through the columns can be built on.
    static constexpr int minRows = 3;

    // On any fault returns false, leaves `path` alone and puts one
    // translated sentence, naming the line where there is one, into `error`.
    static bool parse(const QByteArray& text, PathData* path, QString* error);
    // A regular file or a pipe of at most maxFileSize bytes (SafeFile::read).
    static bool readFile(const QString& fileName, PathData* path, QString* error);
};
