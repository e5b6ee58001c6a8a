#ifndef FITTER_H
#define FITTER_H

#include <QString>

#include <functional>
#include <vector>

namespace fit {

// One parameter of a least-squares problem. A varied parameter moves inside
// [minimum, maximum]; a fixed one keeps its value.
struct Parameter {
    QString name;
    double value = 0;
    double minimum = 0;
    double maximum = 0;
    bool varied = false;
};

struct Correlation {
    QString first;
    QString second;
    double value = 0;
};

struct Result {
    bool ok = false;
    QString error;               // why the fit could not run (ok false)
    std::vector<Parameter> best; // every parameter, varied ones at the minimum
    std::vector<double> errors;  // standard errors; NaN for fixed parameters
    double chiSquare = 0;
    double reducedChiSquare = 0;
    double rFactor = 0;
    int degreesOfFreedom = 0;
    std::vector<Correlation> correlations; // |value| > correlationLimit, varied pairs
    int evaluations = 0;
    int info = 0;    // MINPACK's termination code
    QString message; // that code in words (English)
};

// Fills `residuals` (size m) for the values of all parameters, in order.
// Returns false where the model cannot be evaluated (a non-finite value).
using ResidualFunction =
    std::function<bool(const std::vector<double>& values, std::vector<double>& residuals)>;

constexpr double correlationLimit = 0.8;

// Levenberg-Marquardt (MINPACK's lmdif, forward-difference Jacobian) over
// the varied parameters. The statistics follow EXAFS practice: with
// N_idp independent points among the m residuals,
//   chi-square = (N_idp / m) * sum r^2,
//   reduced chi-square = chi-square / (N_idp - N_varied),
//   error_j = sqrt(C_jj * reduced chi-square), C = (J^T J)^-1 * m / N_idp,
// and the R-factor is sum r^2 / dataSumOfSquares.
Result leastSquares(const std::vector<Parameter>& parameters, int residualCount,
                    const ResidualFunction& residuals, double independentPoints,
                    double dataSumOfSquares);

// MINPACK's termination code in words, for the reader of a report: in
// English (the JSON report) and in the interface's language.
QString terminationMessage(int info);
QString translatedTerminationMessage(int info);

} // namespace fit

#endif
