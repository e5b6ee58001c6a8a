#pragma once

#include "FitReport.h"
#include "Fitter.h"
#include "WaveSynthesis.h"

#include <QStringList>
#include <QVector>

namespace fit {

// Everything a fit compares, as plain values taken at one moment: the
// model's parameters, factor switches and grid, the window's positions, the
// envelope F and window W at the grid points that carry the signal (as
// synthesizeWave takes them), and the measured chi(k) as read.
struct FitInputs {
    WaveParameters parameters;
    WaveFactors factors;
    WaveGrid grid;
    QVector<double> windowPositions;
    QVector<double> envelopeAtK;
    QVector<double> windowAtK;
    QVector<double> dataK;
    QVector<double> dataChi;
};

// The model against measured data in R space, as EXAFS analysis does it:
// both are k-weighted, windowed and transformed the same way (the field's
// dk/sqrt(pi) convention), and the residuals are the real and imaginary
// parts of model minus data at every R bin in [rMin, rMax]. The problem
// keeps its own copy of the inputs, so nothing it was made from is read or
// changed afterwards.
class FitProblem {
public:
    FitProblem(const FitInputs& inputs, double rMin, double rMax);

    // The model's parameters in a fit's order (fitOrder()), by the names
    // the report uses.
    static const QStringList& names();
    // Those a fit varies unless told otherwise; with a path on the main
    // shell the field's first-shell set: amplitude, R, sigma and dE0.
    static QStringList defaultVaried(bool withPath = false);
    static constexpr double defaultRMin = 1.0;
    static constexpr double defaultRMax = 3.0;

    // Empty when the problem can be fitted; else why not.
    Message error() const { return problemError; }
    // Independent points 2 dk dR / pi, dk the window's outer positions
    // (or the grid) clipped to the data's k range, dR the R range clipped
    // to the transform's.
    double independentPoints() const { return nIdp; }
    // The k range the model is compared over: the window's outer positions
    // (or the grid) within the data's k range. False when there is none.
    static bool comparedK(const FitInputs& inputs, double* low, double* high);
    // Whether a result fitted to `a` still holds for `b`: everything but
    // the starting values of the varied parameters is the same.
    static bool sameBasis(const FitInputs& a, const FitInputs& b, const QStringList& varied);
    // The R range of the data's transform that gives its noise.
    static constexpr double noiseRMin = 10;
    static constexpr double noiseRMax = 15;
    ReportContext context() const;
    // The sum of squares of the data's transform over the compared bins:
    // what the R-factor divides by.
    double dataSumOfSquares() const { return dataSquares; }
    // Why a fit varying `varied` cannot run (empty when it can): the
    // problem's error, or a main shell fixed at R = 0.
    Message refusal(const QStringList& varied) const;
    // A phase in (-pi, pi], as the field reports it.
    static double wrappedPhase(double phase);

    // The parameters at the inputs' values, `varied` by name.
    std::vector<Parameter> parameters(const QStringList& varied) const;
    int residualCount() const { return int(bins.size()) * 2; }
    bool residuals(const std::vector<double>& values, std::vector<double>& out) const;

    // Runs MINPACK over the varied parameters.
    Result run(const QStringList& varied) const;

private:
    FitInputs inputs;
    std::vector<double> dataSpectrum;
    std::vector<int> bins;
    double rMin;
    double rMax;
    double kLow = 0;
    double kHigh = 0;
    double nIdp = 0;
    double dataSquares = 0;
    double epsilonR = 0;
    double epsilonK = 0;
    Message problemError;
};

} // namespace fit
