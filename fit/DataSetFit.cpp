#include "DataSetFit.h"

#include "ParameterTable.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace fit {
namespace {

constexpr double pi = 3.14159265358979323846;
const double nan = std::numeric_limits<double>::quiet_NaN();

// The series' own parameters: name, limits. thetaE from the coldest bond
// one meets to a soft one far above room temperature; sigma2Static up to
// the disorder of a glass; alpha beyond any solid's expansion.
struct SeriesRow {
    const char* name;
    double minimum;
    double maximum;
};
constexpr SeriesRow thetaRow{DataSetFit::thetaEName, 10, 3000};       // K
constexpr SeriesRow staticRow{DataSetFit::sigma2StaticName, 0, 0.02}; // Å²
constexpr SeriesRow alphaRow{DataSetFit::alphaName, -1e-4, 1e-4};     // 1/K

Message seriesMessage(const char* source, const QStringList& arguments = {}) {
    return Message{"DataSetFit", source, arguments, false};
}

Parameter seriesParameter(const SeriesRow& row, double value, const QStringList& varied) {
    Parameter p;
    p.name = QLatin1String(row.name);
    p.value = value;
    p.minimum = row.minimum;
    p.maximum = row.maximum;
    p.varied = varied.contains(p.name);
    return p;
}

int rowIndex(ModelParameter id) {
    const auto& order = fitOrder();
    for (size_t j = 0; j < order.size(); ++j)
        if (order[j]->id == id)
            return int(j);
    return -1;
}

} // namespace

QStringList DataSetFit::seriesNames() {
    return {QLatin1String(thetaEName), QLatin1String(sigma2StaticName), QLatin1String(alphaName)};
}

QString DataSetFit::perDatasetName(const QString& name, int set) {
    return QStringLiteral("%1[%2]").arg(name).arg(set + 1);
}

void DataSetFit::refuseSet(int set, const Message& m) {
    Message out = seriesMessage(QT_TRANSLATE_NOOP("DataSetFit", "Data set %1 (%2): %3"),
                                {QString::number(set + 1), sets[size_t(set)].file});
    out.parts.push_back(m);
    seriesError = out;
}

DataSetFit::DataSetFit(std::vector<DataSet> dataSets, const DataSetFitOptions& o)
    : sets(std::move(dataSets)), options(o) {
    if (sets.empty()) {
        refuse(seriesMessage(QT_TRANSLATE_NOOP("DataSetFit", "No data set is given.")));
        return;
    }
    const bool einstein = options.sigmaModel == SigmaModel::Einstein;
    const QString sigmaName = QLatin1String(parameterRow(ModelParameter::Sigma).name);
    const QString rName = QLatin1String(parameterRow(ModelParameter::R).name);
    QStringList known = FitProblem::names();
    known << QLatin1String(thetaEName) << QLatin1String(sigma2StaticName);
    if (options.thermalExpansion)
        known << QLatin1String(alphaName);
    for (const QString& name : options.varied)
        if (!known.contains(name) || (einstein && name == sigmaName)) {
            refuse(seriesMessage(
                QT_TRANSLATE_NOOP("DataSetFit", "\"%1\" is not a parameter this fit can vary."),
                {name}));
            return;
        }
    if (!einstein)
        for (const QLatin1String name :
             {QLatin1String(thetaEName), QLatin1String(sigma2StaticName)})
            if (options.varied.contains(name)) {
                refuse(seriesMessage(QT_TRANSLATE_NOOP("DataSetFit",
                                                       "\"%1\" belongs to the Einstein model of "
                                                       "sigma, which this fit does not use."),
                                     {name}));
                return;
            }
    for (const QString& name : options.perDataset)
        if (!FitProblem::names().contains(name) || (einstein && name == sigmaName)) {
            refuse(seriesMessage(
                QT_TRANSLATE_NOOP("DataSetFit", "\"%1\" cannot be given per data set."), {name}));
            return;
        }
    if (options.thermalExpansion && options.perDataset.contains(rName)) {
        refuse(seriesMessage(QT_TRANSLATE_NOOP(
            "DataSetFit", "R follows thermal expansion, so it cannot be given per data set.")));
        return;
    }
    if (einstein && !(options.reducedMass > 0 && std::isfinite(options.reducedMass))) {
        refuse(seriesMessage(QT_TRANSLATE_NOOP(
            "DataSetFit", "The Einstein model needs the pair's reduced mass, above 0 u.")));
        return;
    }

    const bool needsTemperature = einstein || options.thermalExpansion;
    for (size_t s = 0; s < sets.size(); ++s) {
        const DataSet& set = sets[s];
        if (needsTemperature && !(set.temperature > 0 && std::isfinite(set.temperature))) {
            refuseSet(int(s), seriesMessage(QT_TRANSLATE_NOOP(
                                  "DataSetFit", "its temperature must be given, above 0 K.")));
            return;
        }
        if (set.inputs.parameters.n != sets[0].inputs.parameters.n) {
            refuseSet(int(s),
                      seriesMessage(QT_TRANSLATE_NOOP(
                          "DataSetFit", "its k-weight differs from the first data set's.")));
            return;
        }
        problems.emplace_back(set.inputs, options.rMin, options.rMax);
    }

    // The parameters: the model's rows in a fit's order, each once or once
    // per set, then the series' own.
    const auto& order = fitOrder();
    const int sigmaRow = rowIndex(ModelParameter::Sigma);
    index.assign(sets.size(), std::vector<int>(order.size(), -1));
    std::vector<std::vector<Parameter>> own;
    for (size_t s = 0; s < sets.size(); ++s)
        own.push_back(problems[s].parameters(options.varied));
    for (size_t j = 0; j < order.size(); ++j) {
        if (einstein && int(j) == sigmaRow)
            continue;
        const QString name = QLatin1String(order[j]->name);
        if (options.perDataset.contains(name) && sets.size() > 1) {
            for (size_t s = 0; s < sets.size(); ++s) {
                Parameter p = own[s][j];
                p.name = perDatasetName(name, int(s));
                index[s][j] = int(start.size());
                start.push_back(p);
            }
        } else {
            for (size_t s = 0; s < sets.size(); ++s)
                index[s][j] = int(start.size());
            start.push_back(own[0][j]);
        }
    }
    if (einstein) {
        theta = int(start.size());
        start.push_back(seriesParameter(thetaRow, options.thetaE, options.varied));
        sigma2Static = int(start.size());
        start.push_back(seriesParameter(staticRow, options.sigma2Static, options.varied));
    }
    if (options.thermalExpansion) {
        alpha = int(start.size());
        start.push_back(seriesParameter(alphaRow, options.alpha, options.varied));
        reff = options.reff > 0 ? options.reff : sets[0].inputs.parameters.r;
    }
    // The series' own starts are checked (the model's are the panel's,
    // within their limits); outside them thetaE = 0 would divide by 0.
    for (size_t i = size_t(theta >= 0   ? theta
                           : alpha >= 0 ? alpha
                                        : int(start.size()));
         i < start.size(); ++i)
        if (const Parameter& p = start[i]; !(p.value >= p.minimum && p.value <= p.maximum)) {
            refuse(seriesMessage(
                QT_TRANSLATE_NOOP("DataSetFit", "%1 starts at %2, outside its limits %3 to %4."),
                {p.name, QString::number(p.value), QString::number(p.minimum),
                 QString::number(p.maximum)}));
            return;
        }

    // Each set refuses as a fit of it alone would, with what varies for it.
    for (size_t s = 0; s < sets.size(); ++s) {
        QStringList varied;
        for (size_t j = 0; j < order.size(); ++j)
            if (index[s][j] >= 0 && start[size_t(index[s][j])].varied)
                varied << QLatin1String(order[j]->name);
        const Message m = problems[s].refusal(varied);
        if (!m.isEmpty()) {
            refuseSet(int(s), m);
            return;
        }
    }

    // Weights sqrt(N_idp / m) / epsilonR relative to the first set's; all 1
    // when a set's noise is unknown (then there is no chi-square).
    const auto ratio = [this](size_t s) {
        return problems[s].independentPoints() / problems[s].residualCount();
    };
    double total = 0;
    int m = 0;
    bool noisy = true;
    for (size_t s = 0; s < sets.size(); ++s) {
        offsets.push_back(m);
        m += problems[s].residualCount();
        total += problems[s].independentPoints();
        const double e = problems[s].context().epsilonR;
        noisy = noisy && e > 0 && std::isfinite(e);
    }
    offsets.push_back(m);
    const double e0 = problems[0].context().epsilonR;
    const double w0 = std::sqrt(ratio(0)) / e0;
    for (size_t s = 0; s < sets.size(); ++s)
        weights.push_back(noisy ? std::sqrt(ratio(s)) / problems[s].context().epsilonR / w0 : 1.0);
    // As FitProblem's: each residual carries half of epsilonR², scaled so
    // that leastSquares' N_idp / m over all sets gives each set its own.
    noise = noisy ? e0 / std::sqrt(2.0) * std::sqrt(total / m / ratio(0)) : nan;
}

double DataSetFit::independentPoints() const {
    double total = 0;
    for (const FitProblem& p : problems)
        total += p.independentPoints();
    return total;
}

std::vector<Parameter> DataSetFit::parameters() const {
    return start;
}

int DataSetFit::residualCount() const {
    return offsets.empty() ? 0 : offsets.back();
}

double DataSetFit::sigma2Of(int set, const std::vector<double>& values) const {
    const Einstein model{values[size_t(theta)], options.reducedMass, values[size_t(sigma2Static)]};
    return model.sigma2(sets[size_t(set)].temperature);
}

bool DataSetFit::setValues(int set, const std::vector<double>& values,
                           std::vector<double>* out) const {
    const auto& order = fitOrder();
    out->resize(order.size());
    for (size_t j = 0; j < order.size(); ++j) {
        const int g = index[size_t(set)][j];
        if (g >= 0) {
            (*out)[j] = values[size_t(g)];
            continue;
        }
        const double s2 = sigma2Of(set, values);
        if (!(s2 >= 0))
            return false;
        (*out)[j] = std::sqrt(s2);
    }
    if (alpha >= 0)
        (*out)[size_t(rowIndex(ModelParameter::R))] +=
            values[size_t(alpha)] * sets[size_t(set)].temperature * reff;
    return true;
}

bool DataSetFit::residuals(const std::vector<double>& values, std::vector<double>& out) const {
    std::vector<double> own, r;
    for (size_t s = 0; s < problems.size(); ++s) {
        if (!setValues(int(s), values, &own))
            return false;
        r.assign(size_t(problems[s].residualCount()), 0.0);
        if (!problems[s].residuals(own, r))
            return false;
        const double w = weights[s];
        for (size_t i = 0; i < r.size(); ++i)
            out[size_t(offsets[s]) + i] = r[i] * w;
    }
    return true;
}

SeriesResult DataSetFit::run() const {
    SeriesResult series;
    series.sigmaModel = options.sigmaModel;
    series.result.best = start;
    if (!seriesError.isEmpty()) {
        series.result.error = seriesError;
        return series;
    }
    series.context = problems[0].context();
    series.context.independentPoints = independentPoints();
    double dataSquares = 0;
    for (size_t s = 0; s < problems.size(); ++s)
        dataSquares += weights[s] * weights[s] * problems[s].dataSumOfSquares();
    Result& result = series.result;
    result = leastSquares(
        start, residualCount(),
        [this](const std::vector<double>& v, std::vector<double>& r) { return residuals(v, r); },
        independentPoints(), dataSquares, noise);
    if (!result.ok)
        return series;

    // The phase as the field gives it (as FitProblem does for one set): a
    // negative amplitude is a positive one with every phase that goes with
    // it turned by pi, where those phases go with this amplitude alone.
    const size_t aRow = size_t(rowIndex(ModelParameter::Amplitude));
    const size_t pRow = size_t(rowIndex(ModelParameter::P0));
    const size_t count = start.size();
    for (size_t a = 0; a < count; ++a) {
        Parameter& amplitude = result.best[a];
        if (!amplitude.varied || !(amplitude.value < 0))
            continue;
        std::vector<int> phases;
        bool turnable = true;
        for (size_t s = 0; s < sets.size(); ++s) {
            const int p = index[s][pRow];
            const bool mine = index[s][aRow] == int(a);
            for (size_t t = 0; t < sets.size(); ++t)
                if (index[t][pRow] == p && (index[t][aRow] == int(a)) != mine)
                    turnable = false;
            if (mine && (!result.best[size_t(p)].varied || result.best[size_t(p)].atBound))
                turnable = false;
            if (mine && std::find(phases.begin(), phases.end(), p) == phases.end())
                phases.push_back(p);
        }
        if (!turnable || phases.empty())
            continue;
        amplitude.value = -amplitude.value;
        for (const int p : phases)
            result.best[size_t(p)].value += pi;
    }
    for (size_t s = 0; s < sets.size(); ++s) {
        Parameter& p0 = result.best[size_t(index[s][pRow])];
        if (p0.varied && !p0.atBound)
            p0.value = FitProblem::wrappedPhase(p0.value);
    }

    std::vector<double> best(count);
    for (size_t i = 0; i < count; ++i)
        best[i] = result.best[i].value;
    const auto covariance = [&](size_t a, size_t b) { return result.covariance[a * count + b]; };
    const int sigmaRow = rowIndex(ModelParameter::Sigma);
    for (size_t s = 0; s < sets.size(); ++s) {
        DataSetResult d;
        d.file = sets[s].file;
        d.temperature = sets[s].temperature;
        d.context = problems[s].context();
        setValues(int(s), best, &d.values);
        std::vector<double> r(size_t(problems[s].residualCount()));
        problems[s].residuals(d.values, r);
        double squares = 0;
        for (const double x : r)
            squares += x * x;
        d.rFactor = squares / problems[s].dataSumOfSquares();
        const int g = index[s][size_t(sigmaRow)];
        if (g >= 0) {
            // sigma² = sigma²: its error 2 sigma d sigma.
            const double sigma = best[size_t(g)];
            d.sigma2 = sigma * sigma;
            d.sigma2Error = 2 * std::abs(sigma) * result.errors[size_t(g)];
        } else {
            d.sigma2 = sigma2Of(int(s), best);
            const Einstein model{best[size_t(theta)], options.reducedMass,
                                 best[size_t(sigma2Static)]};
            // The gradient of sigma² over (thetaE, sigma2Static) through
            // their covariance; undetermined when either varied one is.
            const size_t i[] = {size_t(theta), size_t(sigma2Static)};
            const double gradient[] = {model.dSigma2dTheta(sets[s].temperature), 1.0};
            double variance = 0;
            bool known = false;
            for (int a = 0; a < 2; ++a) {
                if (!result.best[i[a]].varied)
                    continue;
                known = true;
                if (!std::isfinite(result.errors[i[a]]))
                    variance = nan;
                for (int b = 0; b < 2; ++b)
                    if (result.best[i[b]].varied)
                        variance += gradient[a] * gradient[b] * covariance(i[a], i[b]);
            }
            d.sigma2Error = known && variance >= 0 ? std::sqrt(variance) : nan;
        }
        series.dataSets.push_back(d);
    }
    return series;
}

} // namespace fit
