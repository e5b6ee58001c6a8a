#pragma once

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

public slots:
    void fit();
    void apply();
    void undo();

private slots:
    void rangeTyped();
    void dataChanged();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QString reportText() const;
    bool readRange(double* low, double* high) const;

    AWave* const wave;
    const MeasuredCurve* const data;
    ChiR* const chiR;
    fit::Result last;
    double lastKLow = 0;
    double lastKHigh = 0;
    double lastIdp = 0;
    QVector<double> beforeApply;
};
