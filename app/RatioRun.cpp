#include "RatioRun.h"

#include "AWave.h"
#include "FilteredCurves.h"
#include "WaveCtrl.h"
#include "WindowFunc.h"

QJsonObject RatioRun::report() const {
    QJsonObject o = fit::ratioReportJson(result, context);
    o.insert(QStringLiteral("independentPoints"), independentPoints);
    o.insert(QStringLiteral("errorFactor"), errorFactor);
    return o;
}

fit::RatioContext ratioContext(const AWave& wave, const WindowPositions& rWindow, double kMin,
                               double kMax) {
    fit::RatioContext c;
    c.kMin = kMin;
    c.kMax = kMax;
    const QVector<double>& k = wave.ctrl->WindowCtrl->positions;
    if (k.size() == 4)
        c.kWindow = {k[0], k[1], k[2], k[3]};
    c.rWindow = rWindow;
    c.n = wave.n;
    return c;
}

RatioRun runRatio(const FilteredSpectrum& first, const FilteredSpectrum& second,
                  const fit::RatioContext& context) {
    RatioRun run;
    run.context = context;
    if (!fit::RatioMethod::compute(first, second, context.kMin, context.kMax, &run.result,
                                   &run.error))
        return run;
    run.independentPoints =
        fit::independentPoints(context.kMax - context.kMin, fit::windowWidth(context.rWindow));
    run.errorFactor = fit::widenErrors(&run.result, run.independentPoints);
    run.ok = true;
    return run;
}

RatioRun runRatio(FilteredCurves& filter, const AWave& wave, const QVector<double>& k1,
                  const QVector<double>& chi1, const QVector<double>& k2,
                  const QVector<double>& chi2, const WindowPositions& rWindow, double kMin,
                  double kMax) {
    QVector<double> envelopeAtK, windowAtK;
    if (wave.factors().window)
        wave.factorInputs(&envelopeAtK, &windowAtK);
    FilteredSpectrum first, second;
    RatioRun run;
    run.context = ratioContext(wave, rWindow, kMin, kMax);
    if (!filter.filterData(k1, chi1, wave.grid(), wave.n, windowAtK, rWindow, &first, &run.error) ||
        !filter.filterData(k2, chi2, wave.grid(), wave.n, windowAtK, rWindow, &second, &run.error))
        return run;
    return runRatio(first, second, run.context);
}
