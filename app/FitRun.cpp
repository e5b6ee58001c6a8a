#include "FitRun.h"

#include "AWave.h"
#include "FitProblem.h"
#include "MeasuredCurve.h"
#include "WaveCtrl.h"
#include "WindowFunc.h"

fit::FitInputs fitInputs(const AWave& wave, const MeasuredCurve& data) {
    fit::FitInputs in;
    in.parameters = wave.parameters();
    in.factors = wave.factors();
    in.grid = wave.grid();
    in.windowPositions = wave.ctrl->WindowCtrl->positions;
    wave.factorInputs(&in.envelopeAtK, &in.windowAtK);
    in.dataK = data.dataK;
    in.dataChi = data.dataChi;
    return in;
}

FitRun runFit(const AWave& wave, const MeasuredCurve& data, const QStringList& vary, double rMin,
              double rMax) {
    const fit::FitProblem problem(fitInputs(wave, data), rMin, rMax);
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
