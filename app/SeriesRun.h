#pragma once

#include "DataSetFit.h"
#include "PictureExport.h"
#include "Scenario.h"
#include "ShellPath.h"
#include "Sigma2Plot.h"

#include <QCoreApplication>
#include <QJsonObject>
#include <QSize>
#include <QVector>

class AWave;
class MeasuredCurve;

// A data set of a series besides the loaded data, as the Fit window holds
// it: where its chi(k) came from (a chi(k) file, or a mu(E) file with its
// processing), its temperature, and the chi(k) as read or processed.
struct SeriesSet {
    Scenario::DataSetEntry entry;
    QVector<double> k;
    QVector<double> chi;
    // The file's name without its folder, as the table and the report show it.
    QString name() const;
};

// A temperature series fitted together, as `tovik --fit` and `--export` run
// it from a scenario's "datasets": every set's measured chi(k) read, the
// live wave's model fitted to all of them in one problem, and the sigma²(T)
// picture of the result.
class SeriesRun {
    Q_DECLARE_TR_FUNCTIONS(SeriesRun)

public:
    // One data set's measured chi(k), read from its file or made from its
    // mu(E), with what the report calls it.
    struct Measured {
        QString name; // the file's name without its folder
        double temperature = 0;
        QVector<double> k, chi;
    };
    // Whether `state` asks for a series fit: data sets listed, or a model
    // of temperature (Einstein, thermal expansion) even for the one loaded.
    static bool wanted(const Scenario& state);
    // Reads the entry's chi(k) file, or its mu(E) file processed with its
    // settings; false with one translated sentence on any fault.
    static bool load(const Scenario::DataSetEntry& entry, SeriesSet* out, QString* error);
    // Reads every data set of `state` but the first, whose chi(k) the caller
    // has read already (`firstK`, `firstChi`); without a list, the loaded
    // data is the one set, with no temperature. False, with one sentence that
    // names the data set, when a file cannot be read or processed.
    static bool readDataSets(const Scenario& state, const QVector<double>& firstK,
                             const QVector<double>& firstChi, QVector<Measured>* out,
                             QString* error);

    // A data set's fault as one sentence: its number (from 1) and file first.
    static QString setError(int set, const Scenario& state, const QString& reason);

    // The series' options from the scenario; the reduced mass, when the
    // scenario gives none, and reff from the main shell's path.
    static fit::DataSetFitOptions options(const Scenario& state, const ShellPathPtr& mainPath);

    // Fits the wave's model (its parameters as starts, its grid, factors
    // and window) to every set.
    static fit::SeriesResult run(const AWave& wave, const MeasuredCurve& first,
                                 const QVector<Measured>& sets,
                                 const fit::DataSetFitOptions& options);

    // Puts the first data set's fitted values into the wave, for the plots.
    static void applyFirst(AWave& wave, const fit::SeriesResult& series);

    // The sigma²(T) plot of a result: every set with a temperature, and the
    // Einstein curve from 0 K past the hottest set.
    static Sigma2PlotInputs plotInputs(const fit::SeriesResult& series, double reducedMass);
    static constexpr int curvePoints = 200;
    // The plot as a picture of `size`; empty, with the reason, on a fault.
    static QByteArray picture(const Sigma2PlotInputs& inputs, PictureExport::Format format,
                              QString* error, const QSize& size = QSize(640, 480));
};
