#ifndef FITTER_H
#define FITTER_H

#include <QString>
#include <QStringList>

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
    bool atBound = false; // varied, and ended on minimum or maximum
};

// A text for the user kept in its untranslated form with its arguments, so
// that it can be worded again when the interface changes its language.
struct Message {
    const char* context = nullptr;
    const char* source = nullptr;
    QStringList arguments;
    // The arguments are texts of the same context, translated with it.
    bool translatedArguments = false;
    // Whole messages put in after the arguments, each worded by its own
    // context: a data set's refusal inside "Data set %1 (%2): %3".
    std::vector<Message> parts = {};

    bool isEmpty() const { return !source; }
    QString text() const;    // in the interface's language
    QString english() const; // as written
};

struct Correlation {
    QString first;
    QString second;
    double value = 0;
};

struct Result {
    bool ok = false;             // converged: best holds a minimum
    Message error;               // why there is no result (ok false)
    std::vector<Parameter> best; // every parameter, varied ones at the minimum
    // Standard errors; NaN for fixed parameters, for those at a bound (a
    // bound's curvature is not the data's) and for those the data do not
    // determine (MINPACK's covariance drops a column it finds dependent on
    // the others, or without slope, and gives it 0).
    std::vector<double> errors;
    double chiSquare = 0;
    double reducedChiSquare = 0;
    double rFactor = 0;
    int degreesOfFreedom = 0;
    std::vector<Correlation> correlations; // |value| > correlationLimit, varied pairs
    // The parameters' covariance, best.size() squared, row-major, scaled as
    // the errors are (its diagonal is their squares): 0 in the rows and
    // columns of fixed parameters. What derived quantities propagate.
    std::vector<double> covariance;
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
// N_idp independent points among the m residuals, each of uncertainty
// `noise`,
//   chi-square = (N_idp / m) * sum (r / noise)^2,
//   reduced chi-square = chi-square / (N_idp - N_varied),
//   error_j = sqrt(C_jj * reduced chi-square), C the inverse curvature of
//   chi-square, so that the errors are those that would make the reduced
//   chi-square 1 whatever the noise: sqrt((J^T J)^-1_jj * sum r^2 / nu).
// The chi-squares are NaN without a noise (noise not > 0). The R-factor is
// sum r^2 / dataSumOfSquares.
//
// lmdif's termination codes 1-3 (ftol/xtol met) and 6-7 (no further
// reduction or step possible at machine precision) are a converged fit.
// 4 and 8 (the residuals orthogonal to every column of the Jacobian) are
// one only at an exact fit (sum r^2 <= exactFit * dataSumOfSquares):
// elsewhere they mean the model no longer responds to the varied
// parameters, as at a start far from any fit. 5 (the evaluation limit) and
// 0 (bad input) never are.
Result leastSquares(const std::vector<Parameter>& parameters, int residualCount,
                    const ResidualFunction& residuals, double independentPoints,
                    double dataSumOfSquares, double noise);

constexpr double exactFit = 1e-20;
// A varied parameter within this part of its span from a bound is at it.
// (1e-4: sigma within 2e-5 Å of 0, N·S0² within 0.005 of 50.)
constexpr double boundTolerance = 1e-4;

// MINPACK's termination code in words, for the reader of a report: in
// English (the JSON report) and in the interface's language.
QString terminationMessage(int info);
QString translatedTerminationMessage(int info);

} // namespace fit

#endif
