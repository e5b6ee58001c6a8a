#pragma once

#include "HanningWindow.h"
#include "RatioMethod.h"

#include <QJsonObject>
#include <QString>
#include <QVector>

class AWave;
class FilteredCurves;

// The ratio method on two measured chi(k), as the Ratio window and --ratio
// run it: each weighted by the wave's k^n and k window on its grid (not
// normalised), transformed, filtered through the R window, and the two
// straight lines fitted over kMin ... kMax (Å^-1), their errors widened for
// the independent points (fit::widenErrors). Every difference is the first
// minus the second.
struct RatioRun {
    bool ok = false;
    QString error; // one translated line when not ok
    fit::RatioResult result;
    fit::RatioContext context;
    double independentPoints = 0;
    double errorFactor = 1;
    // ratioReportJson with "independentPoints" and "errorFactor".
    QJsonObject report() const;
};

// The two spectra already filtered, for the model or a held curve's data.
RatioRun runRatio(const FilteredSpectrum& first, const FilteredSpectrum& second,
                  const fit::RatioContext& context);
RatioRun runRatio(FilteredCurves& filter, const AWave& wave, const QVector<double>& k1,
                  const QVector<double>& chi1, const QVector<double>& k2,
                  const QVector<double>& chi2, const WindowPositions& rWindow, double kMin,
                  double kMax);
// The context of `wave`: its n and k window, and these ranges.
fit::RatioContext ratioContext(const AWave& wave, const WindowPositions& rWindow, double kMin,
                               double kMax);
