#pragma once

#include "FitRun.h"
#include "Fitter.h"
#include "ParameterTable.h"
#include "Scenario.h"
#include "SeriesRun.h"
#include "ui_FitWindow.h"

#include <QHash>
#include <QStringList>
#include <QVector>

#include <QWidget>
#include <array>

class AWave;
class ChiR;
class MeasuredCurve;
class SeriesCurves;
class Sigma2View;

// The tool window "Fit": the data sets fitted together (the loaded data
// first), which parameters vary and which are given per data set, how
// sigma depends on temperature, the R range compared (shown on the chi(R)
// plot as a band), Fit, the report, Apply and Undo. With the loaded data
// alone and a free sigma it is the one-set fit of FitRun.
class FitWindow : public QWidget, public Ui_FitWindow {
    Q_OBJECT
public:
    FitWindow(AWave* wave, const MeasuredCurve* data, ChiR* chiR, SeriesCurves* series = nullptr,
              QWidget* parent = nullptr);

    // The parameter names the checked boxes stand for.
    QStringList varied() const;
    // The Vary boxes, one per row of the parameter table.
    std::array<QCheckBox*, parameterTable.size()> varyBoxes() const;
    // What a scenario's "fit" part holds: the names varied and the R range.
    void setChoices(const QStringList& vary, double rMin, double rMax);
    void choices(QStringList* vary, double* rMin, double* rMax) const;
    // Whether the last result may be applied: it converged and nothing it
    // was fitted to has changed since.
    bool resultApplicable() const;

    // The series part of a scenario: the data sets (the first being the
    // loaded data, of which only the temperature is taken), the sigma model,
    // the names per data set and the series' starts. Sets that cannot be
    // read are left out, each named in `error` (empty when all were read).
    void setSeries(const Scenario& state, QString* error);
    void series(Scenario* state) const;
    // The data sets besides the loaded data, and the loaded data's
    // temperature (K, NaN for none).
    const QVector<SeriesSet>& extraSets() const { return extra; }
    double firstTemperature() const { return temperature0; }
    // Adds a data set read from `path`: a mu(E) file processed with the
    // program's absorption settings when `mu`, else a chi(k) file. False,
    // with a message naming the file, when it cannot be read.
    bool addDataSet(const QString& path, bool mu, QString* error);
    // The absorption settings a mu(E) data set is processed with.
    void setAbsorptionSettings(const AbsorptionSettings& settings) { absorption = settings; }
    // A series fit: its result, and every set's inputs (the loaded data
    // first), with which it holds while FitProblem::sameBasis says so.
    struct SeriesFit {
        fit::SeriesResult series;
        std::vector<fit::FitInputs> inputs;
        QStringList varied;
        double reducedMass = 0;           // u, for the model's curve
        std::vector<double> temperatures; // K, NaN for none
    };
    // The last series fit (empty when the last fit was of one set).
    const SeriesFit& lastSeries() const { return lastRun; }
    Sigma2View* sigma2View = nullptr;

public slots:
    void fit();
    void apply();
    void undo();

private slots:
    void rangeTyped();
    void dataChanged();
    // The wave was synthesised again: the k range shown, and whether the
    // last result still holds.
    void modelChanged();
    void addClicked();
    void removeClicked();
    void temperatureTyped(int row, int column);
    void seriesChoiceChanged();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QString reportText() const;
    QString seriesReportText() const;
    // The opening of either report: a note when the result is stale.
    QStringList reportOpening() const;
    // The model's names with their translated labels.
    static QHash<QString, QString> modelLabels();
    // A parameter's line: its value with its error, or why it has none; a
    // name that ended at its limit is added to *atLimit.
    static QString parameterLine(const fit::Parameter& p, double error, const QString& label,
                                 QStringList* atLimit);
    // Whether the fit is of several sets or uses a model of temperature.
    bool isSeries() const;
    // The options the controls give; false with the reason when a start
    // or the reduced mass cannot be read.
    bool seriesOptions(fit::DataSetFitOptions* options, QString* error) const;
    void fillTable();
    // The series' sets and their fitted models to the plots.
    void showSeriesCurves();
    void showSigma2();
    bool readRange(double* low, double* high) const;
    // The report, the k range and the buttons for the state below, in the
    // interface's language.
    void showState();
    void showKRange();
    void checkStale();
    // The Vary boxes at the defaults for the model as it is (with or
    // without a path).
    void checkDefaults();
    bool withPath = false;

    AWave* const wave;
    const MeasuredCurve* const data;
    ChiR* const chiR;
    FitRun last;
    SeriesCurves* const seriesCurves;
    QVector<SeriesSet> extra;
    double temperature0;
    AbsorptionSettings absorption;
    SeriesFit lastRun;
    bool filling = false;
    QString firstPath;
    double lastRMin = 0;
    double lastRMax = 0;
    // Why the last Fit gave no result (empty when it gave one or none ran).
    fit::Message refusal;
    bool refusedBeforeRun = false;
    bool stale = false;
    // The values before each Apply that changed the model, the last on top.
    QVector<QVector<double>> undoStack;
};
