#pragma once

#include "Fitter.h"

#include <QJsonObject>

namespace fit {

// What a report states besides the result itself.
struct ReportContext {
    double rMin = 0;
    double rMax = 0;
    double kMin = 0;
    double kMax = 0;
    int n = 0;
    double independentPoints = 0;
    // The data's noise: rms |chi(R)| far from the shells, and the same in k.
    double epsilonR = 0;
    double epsilonK = 0;
};

// A number as a report states it: null when it is not finite.
QJsonValue jsonNumber(double v);

// The machine-readable report: {"format": "tovik-fit", "version": 1, ...}.
// Errors of fixed parameters and of those at a bound are null.
QJsonObject reportJson(const Result& result, const ReportContext& context);

} // namespace fit
