#pragma once

#include "FourierFilter.h"
#include "HeldCurves.h"
#include "PlotTrace.h"

#include <QColor>
#include <QString>
#include <QVector>

class AWave;
class MeasuredCurve;

// The Fourier filter applied to what the program shows: the model's and
// the measured data's spectra on the wave's grid, the held curves' on the
// grid they were held on, and measured chi(k) read from a file for the
// ratio method. Keeps one filter, so repeated filtering allocates nothing.
class FilteredCurves {
public:
    // What the filter is given for a packed spectrum made on `wave`'s grid
    // as its own spectra are: its k weight, its k window when that factor
    // is on, the field's transform factor in physical amplitude mode.
    static FilterInput inputOf(const AWave& wave, const double* spectrum, const WindowPositions& r);
    // The same for a held curve's spectrum, from the state it was held in.
    static FilterInput inputOf(const HeldCurves::Curve& c, const double* spectrum,
                               const WindowPositions& r);

    bool filter(const FilterInput& in, FilteredSpectrum* out, QString* error);

    // Measured chi(k) weighted by k^n and the window on `grid` (no
    // normalisation), transformed as the field does and filtered: what the
    // ratio method compares.
    bool filterData(const QVector<double>& k, const QVector<double>& chi, const WaveGrid& grid,
                    int n, const QVector<double>& kWindow, const WindowPositions& r,
                    FilteredSpectrum* out, QString* error);

    // A measured standard (model/MeasuredStandard) from the reference's
    // chi(k) on `grid`: weighted by k^kWeight and origin.kWindow, filtered
    // through origin.rWindow. Null, with one translated sentence, when it
    // cannot be made.
    ShellPathPtr standard(const QVector<double>& k, const QVector<double>& chi,
                          const WaveGrid& grid, const StandardOrigin& origin, QString* error);
    // The same from origin.file, read as a chi(k) file.
    ShellPathPtr standard(const WaveGrid& grid, const StandardOrigin& origin, QString* error);

    // The chi(k) plot's traces of a filtered spectrum: k^n Re chi(q) as
    // `width` wide, and the amplitude ±k^n |chi(q)| thin, in `colour`; so
    // they lie on the plotted k^n chi(k).
    static void appendTraces(QVector<PlotTrace>* out, const FilteredSpectrum& f, int n,
                             const QColor& colour, int width);

    // chi(q) of the model, the data and the held curves shown in this
    // amplitude mode, each filtered through `r`, as the chi(k) plot draws
    // them: held ones pale and behind, then the data, then the model.
    QVector<PlotTrace> traces(const AWave& wave, const MeasuredCurve* data, const HeldCurves* held,
                              const WindowPositions& r);

private:
    FourierFilter engine;
};
