#pragma once

#include "DataSetFit.h"
#include "Scenario.h"

#include <QCoreApplication>
#include <QJsonObject>
#include <QString>
#include <QVector>

#include <vector>

class AWave;
class MeasuredCurve;

// A data set of a series besides the loaded data: where its chi(k) came
// from (a chi(k) file, or a mu(E) file with its processing), its
// temperature, and the chi(k) as read or processed.
struct SeriesSet {
    Scenario::DataSetEntry entry;
    QVector<double> k;
    QVector<double> chi;
    // The file's name without its folder, as the table and the report show it.
    QString name() const;
};

class SeriesRun {
    Q_DECLARE_TR_FUNCTIONS(SeriesRun)

public:
    // Reads the entry's chi(k) file, or its mu(E) file processed with its
    // settings; false with one translated sentence on any fault.
    static bool load(const Scenario::DataSetEntry& entry, SeriesSet* out, QString* error);

    // What the fit was given and what it gave.
    struct Run {
        fit::SeriesResult series;
        QJsonObject report;
        // Every set's inputs, the loaded data first: the result holds while
        // FitProblem::sameBasis says so for each.
        std::vector<fit::FitInputs> inputs;
        QStringList varied;
    };
    // The series fitted: the loaded data (at `firstTemperature`, K, NaN
    // for none) then `extra`, each with the wave's model, k window and
    // k-weight.
    static Run run(const AWave& wave, const MeasuredCurve& data, double firstTemperature,
                   const QVector<SeriesSet>& extra, const fit::DataSetFitOptions& options);
};
