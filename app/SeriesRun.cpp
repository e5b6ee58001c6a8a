#include "SeriesRun.h"

#include "AWave.h"
#include "AbsorptionState.h"
#include "ChiDataReader.h"
#include "Einstein.h"
#include "Escaped.h"
#include "FitReport.h"
#include "FitRun.h"
#include "MeasuredCurve.h"
#include "Number.h"
#include "ParameterTable.h"

#include <QFileInfo>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {
QString setName(const Scenario::DataSetEntry& e) {
    return QFileInfo(e.dataFile.isEmpty() ? e.muFile : e.dataFile).fileName();
}
} // namespace

bool SeriesRun::wanted(const Scenario& state) {
    return !state.fitDataSets.isEmpty() ||
           state.fitSigmaModel == Scenario::SigmaModelChoice::Einstein || state.fitThermalExpansion;
}

QString SeriesSet::name() const {
    return setName(entry);
}

bool SeriesRun::load(const Scenario::DataSetEntry& entry, SeriesSet* out, QString* error) {
    SeriesSet set;
    set.entry = entry;
    if (!entry.muFile.isEmpty()) {
        AbsorptionState::Loaded mu;
        if (!AbsorptionState::load(entry.muFile, entry.muColumns, entry.absorption, &mu, error))
            return false;
        set.k = mu.result.k;
        set.chi = mu.result.chi;
    } else if (!ChiDataReader::readFile(entry.dataFile, &set.k, &set.chi, error)) {
        return false;
    }
    *out = set;
    return true;
}

bool SeriesRun::readDataSets(const Scenario& state, const QVector<double>& firstK,
                             const QVector<double>& firstChi, QVector<Measured>* out,
                             QString* error) {
    QVector<Measured> read;
    // No list: the loaded data alone, without a temperature.
    Scenario::DataSetEntry loaded;
    loaded.dataFile = state.dataFile;
    loaded.muFile = state.muFile;
    const QVector<Scenario::DataSetEntry> entries =
        state.fitDataSets.isEmpty() ? QVector<Scenario::DataSetEntry>{loaded} : state.fitDataSets;
    for (int i = 0; i < entries.size(); ++i) {
        const Scenario::DataSetEntry& e = entries[i];
        Measured m;
        m.name = setName(e);
        m.temperature = e.temperature;
        if (i == 0) {
            m.k = firstK;
            m.chi = firstChi;
        } else {
            SeriesSet set;
            QString reason;
            if (!load(e, &set, &reason)) {
                *error = setError(i, state, reason);
                return false;
            }
            m.k = set.k;
            m.chi = set.chi;
        }
        read.append(m);
    }
    *out = read;
    return true;
}

QString SeriesRun::setError(int set, const Scenario& state, const QString& reason) {
    Scenario::DataSetEntry loaded;
    loaded.dataFile = state.dataFile;
    loaded.muFile = state.muFile;
    const QString name = setName(set < state.fitDataSets.size() ? state.fitDataSets[set] : loaded);
    return tr("Data set %1 (%2): %3").arg(QString::number(set + 1), Escaped::text(name), reason);
}

fit::DataSetFitOptions SeriesRun::options(const Scenario& state, const ShellPathPtr& mainPath) {
    fit::DataSetFitOptions o;
    o.rMin = state.fitRMin;
    o.rMax = state.fitRMax;
    o.varied = state.fitVary;
    o.perDataset = state.fitPerDataset;
    o.sigmaModel = state.fitSigmaModel == Scenario::SigmaModelChoice::Einstein
                       ? fit::SigmaModel::Einstein
                       : fit::SigmaModel::Free;
    o.reducedMass = state.fitReducedMass > 0 ? state.fitReducedMass
                    : mainPath               ? mainPath->chi.path().reducedMass
                                             : 0;
    o.thetaE = state.fitThetaE;
    o.sigma2Static = state.fitSigma2Static;
    o.thermalExpansion = state.fitThermalExpansion;
    o.alpha = state.fitAlpha;
    o.reff = mainPath ? mainPath->chi.path().reff : 0;
    return o;
}

fit::SeriesResult SeriesRun::run(const AWave& wave, const MeasuredCurve& first,
                                 const QVector<Measured>& sets,
                                 const fit::DataSetFitOptions& options) {
    const fit::FitInputs shared = fitInputs(wave, first);
    std::vector<fit::DataSet> dataSets;
    for (const Measured& m : sets) {
        fit::DataSet d;
        d.file = m.name;
        d.temperature = m.temperature;
        d.inputs = shared;
        d.inputs.dataK = m.k;
        d.inputs.dataChi = m.chi;
        dataSets.push_back(d);
    }
    return fit::DataSetFit(std::move(dataSets), options).run();
}

void SeriesRun::applyFirst(AWave& wave, const fit::SeriesResult& series) {
    if (series.dataSets.empty())
        return;
    const std::vector<double>& values = series.dataSets.front().values;
    const auto& order = fitOrder();
    for (size_t i = 0; i < order.size() && i < values.size(); ++i)
        if (wave.parameter(order[i]->id) != values[i])
            wave.setParameter(order[i]->id, values[i]);
}

Sigma2PlotInputs SeriesRun::plotInputs(const fit::SeriesResult& series, double reducedMass) {
    Sigma2PlotInputs in;
    double hottest = 0;
    for (const fit::DataSetResult& d : series.dataSets) {
        if (!std::isfinite(d.temperature))
            continue;
        in.temperature.push_back(d.temperature);
        in.sigma2.push_back(d.sigma2);
        in.sigma2Error.push_back(d.sigma2Error);
        hottest = std::max(hottest, d.temperature);
    }
    if (series.sigmaModel != fit::SigmaModel::Einstein) {
        in.title = tr("σ² of each data set");
        return in;
    }
    double theta = 0, staticPart = 0, thetaError = std::nan("");
    const auto& best = series.result.best;
    for (size_t i = 0; i < best.size(); ++i) {
        if (best[i].name == QLatin1String(SeriesParameter::thetaE)) {
            theta = best[i].value;
            if (best[i].varied && i < series.result.errors.size())
                thetaError = series.result.errors[i];
        } else if (best[i].name == QLatin1String(SeriesParameter::sigma2Static)) {
            staticPart = best[i].value;
        }
    }
    const fit::Einstein model{theta, reducedMass, staticPart};
    // From near 0 K (coth's limit there is 1) to a fifth past the hottest set.
    const double end = 1.2 * std::max(hottest, 1.0);
    for (int i = 1; i <= curvePoints; ++i) {
        const double t = end * i / curvePoints;
        in.model.emplace_back(t, model.sigma2(t));
    }
    in.title = std::isfinite(thetaError)
                   ? tr("Einstein model: θ_E = %1 ± %2 K")
                         .arg(fittedNumber(theta, 6), fittedNumber(thetaError, 4))
                   : tr("Einstein model: θ_E = %1 K").arg(fittedNumber(theta, 6));
    return in;
}

QByteArray SeriesRun::picture(const Sigma2PlotInputs& inputs, PictureExport::Format format,
                              QString* error, const QSize& size) {
    return PictureExport::render(
        [&inputs, size](QPainter& p) { Sigma2Plot::paint(p, QRect(QPoint(0, 0), size), inputs); },
        size, format, tr("σ² against temperature"), error);
}
