#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

class AWave;
class MeasuredCurve;
struct FilteredSpectrum;
struct Scenario;

// The numbers behind the two plots as CSV: '#' lines recording the state,
// one header line, then one row per grid point (chi(k)) or per drawn bin
// (chi(R)). '.' as the decimal mark, every number in the shortest form that
// reads back as the same double, UTF-8, '\n'.
class CsvExport {
    Q_DECLARE_TR_FUNCTIONS(CsvExport)

public:
    // One row per synthesised grid point, i < kCount. With measured data
    // loaded one more column, `data`, holds the processed data.
    static QByteArray chiK(const AWave& wave, const Scenario& state,
                           const MeasuredCurve* data = nullptr);
    // One row per bin j the chi(R) plot draws over [rMin, rMax]: from
    // trunc(rMin / dR) while j dR <= rMax (and j below the transform length),
    // R = j dR with dR = wave.binWidthR().
    // With measured data loaded three more columns hold its transform. In
    // physical amplitude mode a '#' line gives the transform's convention.
    static QByteArray chiR(const AWave& wave, const Scenario& state, double rMin, double rMax,
                           const MeasuredCurve* data = nullptr);

    // The Fourier-filtered chi(q): one row per point of the model's, with q
    // and its real and imaginary parts, amplitude and unwrapped phase (rad);
    // with `data` five more columns for the data's, empty where the data
    // have no point at that q.
    static QByteArray chiQ(const Scenario& state, const FilteredSpectrum& model,
                           const FilteredSpectrum* data = nullptr,
                           const MeasuredCurve* measured = nullptr);

    // All-or-nothing write of one regular file (SafeFile); false with a
    // translated reason on failure.
    static bool write(const QString& path, const QByteArray& data, QString* error);
};
