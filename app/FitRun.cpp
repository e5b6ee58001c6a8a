#include "FitRun.h"

#include "AWave.h"
#include "FitProblem.h"
#include "MeasuredCurve.h"
#include "WaveCtrl.h"
#include "WindowFunc.h"

#include <QCoreApplication>
#include <QJsonDocument>

#include <cerrno>
#include <cstring>

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
    FitRun run;
    run.inputs = fitInputs(wave, data);
    run.varied = vary;
    const fit::FitProblem problem(run.inputs, rMin, rMax);
    run.result = problem.run(vary);
    if (run.result.ok)
        run.report = fit::reportJson(run.result, problem.context());
    return run;
}

bool writeReport(const QJsonObject& report, std::FILE* out, QString* error) {
    const QByteArray json = QJsonDocument(report).toJson(QJsonDocument::Indented);
    errno = 0;
    const bool written =
        std::fwrite(json.constData(), 1, size_t(json.size()), out) == size_t(json.size());
    if (written && std::fflush(out) == 0 && !std::ferror(out))
        return true;
    const int cause = errno;
    *error = QCoreApplication::translate("FitRun", "The report could not be written: %1")
                 .arg(cause ? QString::fromLocal8Bit(std::strerror(cause))
                            : QCoreApplication::translate("FitRun", "the output failed"));
    return false;
}

namespace {
AWave::Parameter parameterAt(int i) {
    return fitOrder()[size_t(i)]->id;
}
} // namespace

QVector<double> currentValues(const AWave& wave) {
    QVector<double> values;
    for (int i = 0; i < int(fitOrder().size()); ++i)
        values.append(wave.parameter(parameterAt(i)));
    return values;
}

QVector<double> applyFit(AWave& wave, const fit::Result& result) {
    const QVector<double> before = currentValues(wave);
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
