#include "FitRun.h"

#include "AWave.h"
#include "FitProblem.h"

FitRun runFit(const AWave& wave, const MeasuredCurve& data, const QStringList& vary, double rMin,
              double rMax) {
    const fit::FitProblem problem(wave, data, rMin, rMax);
    FitRun run;
    run.result = problem.run(vary);
    if (run.result.ok)
        run.report = fit::reportJson(run.result, problem.context());
    return run;
}

namespace {
AWave::Parameter parameterAt(int i) {
    return fitOrder()[size_t(i)]->id;
}
} // namespace

QVector<double> applyFit(AWave& wave, const fit::Result& result) {
    QVector<double> before;
    for (int i = 0; i < int(fitOrder().size()); ++i)
        before.append(wave.parameter(parameterAt(i)));
    for (int i = 0; i < int(result.best.size()); ++i)
        if (result.best[i].varied)
            wave.setParameter(parameterAt(i), result.best[i].value);
    return before;
}

void restoreValues(AWave& wave, const QVector<double>& values) {
    for (int i = 0; i < values.size(); ++i)
        if (wave.parameter(parameterAt(i)) != values[i])
            wave.setParameter(parameterAt(i), values[i]);
}
