#pragma once

#include "FitProblem.h"
#include "Fitter.h"

#include <QJsonObject>
#include <QStringList>
#include <QVector>

#include <cstdio>

class AWave;
class MeasuredCurve;

// One fit of the wave's model to the measured data, as the Fit window and
// `tovik --fit` both run it: the result and its JSON report.
struct FitRun {
    fit::Result result;
    QJsonObject report;
    // What the result was fitted to: it holds while sameBasis says so.
    fit::FitInputs inputs;
    QStringList varied;
};

// The fit's inputs taken from the live wave and data.
fit::FitInputs fitInputs(const AWave& wave, const MeasuredCurve& data);

FitRun runFit(const AWave& wave, const MeasuredCurve& data, const QStringList& vary, double rMin,
              double rMax);

// Writes the report as indented JSON to `out` and flushes it. False, with
// the reason, when the stream does not take all of it (a full disc, a
// closed pipe).
bool writeReport(const QJsonObject& report, std::FILE* out, QString* error);

// The wave's values of a fit's parameters, in the report's order.
QVector<double> currentValues(const AWave& wave);

// Puts the varied parameters' best values into the wave, each exactly and by
// the road of a typed value. Returns the values the wave had before, in
// the report's order, for an undo.
QVector<double> applyFit(AWave& wave, const fit::Result& result);
// Sets the values back, as applyFit returned them.
void restoreValues(AWave& wave, const QVector<double>& values);
