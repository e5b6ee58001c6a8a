#pragma once

#include "Einstein.h"
#include "FitProblem.h"
#include "ParameterTable.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace fit {

// One measurement of a series: its chi(k) with the model's inputs, and the
// temperature it was measured at.
struct DataSet {
    QString file;           // as the report names it
    double temperature = 0; // K; NaN when not known
    FitInputs inputs;
};

enum class SigmaModel {
    Free,     // sigma is a parameter like the others, shared or per data set
    Einstein, // sigma² from the Einstein model at each set's temperature
};

// How the data sets are fitted together. The k window and k-weight are the
// caller's, the same in every set's inputs; the R range is shared here.
struct DataSetFitOptions {
    double rMin = FitProblem::defaultRMin;
    double rMax = FitProblem::defaultRMax;
    // The names a fit varies: the model's (FitProblem::names()) and the
    // series' own (DataSetFit::seriesNames()).
    QStringList varied;
    // The model's names that get a value per data set; the others are
    // shared, starting at the first set's value.
    QStringList perDataset;
    SigmaModel sigmaModel = SigmaModel::Free;
    double reducedMass = 0;  // u, for the Einstein model
    double thetaE = 300;     // K, the Einstein temperature's start
    double sigma2Static = 0; // Å², its start
    // R(T) = R + alpha T reff: linear thermal expansion of the shared R.
    bool thermalExpansion = false;
    double alpha = 0; // 1/K, its start
    double reff = 0;  // Å; 0 takes the first set's R
};

struct DataSetResult {
    QString file;
    double temperature = 0;
    // The model's values for this set at the minimum, in fitOrder().
    std::vector<double> values;
    double sigma2 = 0;      // Å²
    double sigma2Error = 0; // Å², propagated; NaN where not determined
    double rFactor = 0;     // of this set alone
    ReportContext context;  // this set's k range, N_idp and noise
};

struct SeriesResult {
    // The global parameters, their errors and correlations, the combined
    // chi-square and R-factor.
    Result result;
    // The shared R range, the first set's k range and noise, and the sum of
    // the sets' independent points.
    ReportContext context;
    std::vector<DataSetResult> dataSets;
    SigmaModel sigmaModel = SigmaModel::Free;
};

// Several measurements in one least-squares problem: the residuals of each
// set's FitProblem stacked, over parameters that are shared, per data set,
// or (sigma) given by a model of temperature. Each set's residuals are
// weighted by sqrt(N_idp / m) / epsilonR, so that the combined chi-square is
// the sum of the sets' noise-based chi-squares; with one data set nothing
// is weighted and the fit is FitProblem's own.
class DataSetFit {
public:
    DataSetFit(std::vector<DataSet> dataSets, const DataSetFitOptions& options);

    // The series' parameters a fit can vary besides the model's.
    static constexpr const char* thetaEName = SeriesParameter::thetaE;
    static constexpr const char* sigma2StaticName = SeriesParameter::sigma2Static;
    static constexpr const char* alphaName = SeriesParameter::alpha;
    static QStringList seriesNames();
    // The name of a model parameter fitted per data set (set from 0).
    static QString perDatasetName(const QString& name, int set);

    // Empty when the series can be fitted; else why not, naming the set.
    Message error() const { return seriesError; }
    double independentPoints() const;
    std::vector<Parameter> parameters() const;
    int residualCount() const;
    bool residuals(const std::vector<double>& values, std::vector<double>& out) const;
    // The model's values of set `set` (fitOrder()) for all parameters'
    // `values`; false where sigma² would be negative.
    bool setValues(int set, const std::vector<double>& values, std::vector<double>* out) const;

    SeriesResult run() const;

private:
    void refuse(const Message& m) { seriesError = m; }
    void refuseSet(int set, const Message& m);
    double sigma2Of(int set, const std::vector<double>& values) const;

    std::vector<DataSet> sets;
    DataSetFitOptions options;
    std::vector<FitProblem> problems;
    std::vector<Parameter> start;
    // index[set][row]: the parameter that gives the row's value (fitOrder()),
    // -1 for sigma under the Einstein model.
    std::vector<std::vector<int>> index;
    int theta = -1;
    int sigma2Static = -1;
    int alpha = -1;
    double reff = 0;
    std::vector<double> weights;
    std::vector<int> offsets;
    double noise = 0;
    Message seriesError;
};

} // namespace fit
