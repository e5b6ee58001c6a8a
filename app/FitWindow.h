#pragma once

#include "FitRun.h"
#include "Fitter.h"
#include "ParameterTable.h"
#include "ui_FitWindow.h"

#include <QVector>

#include <QWidget>
#include <array>

class AWave;
class ChiR;
class MeasuredCurve;

// The tool window "Fit": which parameters vary, the R range compared (shown
// on the chi(R) plot as a band), Fit, the report, Apply and Undo.
class FitWindow : public QWidget, public Ui_FitWindow {
    Q_OBJECT
public:
    FitWindow(AWave* wave, const MeasuredCurve* data, ChiR* chiR, QWidget* parent = nullptr);

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

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QString reportText() const;
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
    double lastRMin = 0;
    double lastRMax = 0;
    // Why the last Fit gave no result (empty when it gave one or none ran).
    fit::Message refusal;
    bool refusedBeforeRun = false;
    bool stale = false;
    // The values before each Apply that changed the model, the last on top.
    QVector<QVector<double>> undoStack;
};
