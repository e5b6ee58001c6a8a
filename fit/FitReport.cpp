#include "FitReport.h"

#include <QJsonArray>

#include <cmath>

namespace fit {
QJsonValue jsonNumber(double v) {
    return std::isfinite(v) ? QJsonValue(v) : QJsonValue(QJsonValue::Null);
}

QJsonObject reportJson(const Result& result, const ReportContext& c) {
    QJsonObject parameters;
    for (size_t i = 0; i < result.best.size(); ++i) {
        const Parameter& p = result.best[i];
        parameters.insert(p.name, QJsonObject{{"value", jsonNumber(p.value)},
                                              {"error", p.varied && i < result.errors.size()
                                                            ? jsonNumber(result.errors[i])
                                                            : QJsonValue(QJsonValue::Null)},
                                              {"varied", p.varied},
                                              {"atBound", p.atBound}});
    }
    QJsonArray correlations;
    for (const Correlation& k : result.correlations)
        correlations.append(QJsonArray{k.first, k.second, k.value});
    return QJsonObject{{"format", "tovik-fit"},
                       {"version", 1},
                       {"parameters", parameters},
                       {"Rrange", QJsonArray{c.rMin, c.rMax}},
                       {"kRange", QJsonArray{c.kMin, c.kMax}},
                       {"n", c.n},
                       {"independentPoints", jsonNumber(c.independentPoints)},
                       {"epsilonR", jsonNumber(c.epsilonR)},
                       {"epsilonK", jsonNumber(c.epsilonK)},
                       {"chiSquare", jsonNumber(result.chiSquare)},
                       {"reducedChiSquare", jsonNumber(result.reducedChiSquare)},
                       {"rFactor", jsonNumber(result.rFactor)},
                       {"correlations", correlations},
                       {"evaluations", result.evaluations},
                       {"message", result.message}};
}

} // namespace fit
