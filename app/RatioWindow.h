#pragma once

#include "FilteredCurves.h"
#include "RatioRun.h"
#include "ui_RatioWindow.h"

#include <QWidget>

class AWave;
class ChiR;
class HeldCurves;
class MeasuredCurve;
class QPainter;
class SeriesCurves;

// View > Ratio…: the ratio method on the loaded data and a second spectrum
// (the model, the data of a held curve, or another data set of the Fit
// window's list), both filtered through the chi(R)
// window's R window: ln(A1/A2) against k² and Φ1 - Φ2 against k with their
// straight lines over the typed k range, and Δsigma², ln(N1/N2) and ΔR with
// their errors (widened for the independent points). Every difference is
// the loaded data minus the second. Follows every change of either.
class RatioWindow : public QWidget, public Ui_RatioWindow {
    Q_OBJECT
public:
    RatioWindow(const AWave* wave, const MeasuredCurve* data, const HeldCurves* held,
                const SeriesCurves* series, ChiR* chiR, QWidget* parent = nullptr);

    // The last result; not ok with the reason when it could not be formed.
    RatioRun last;

public slots:
    // Filters both spectra again, fits the lines and repaints.
    void recompute();

protected:
    void changeEvent(QEvent* event) override;

private slots:
    void kTyped();
    void drawAmplitude(QPainter* p);
    void drawPhase(QPainter* p);

private:
    // The Compare list: the model, each held curve with data (by its
    // number) and each data set after the loaded one (by minus its index).
    void fillSources();
    bool secondSpectrum(FilteredSpectrum* out, QString* why);

    const AWave* wave;
    const MeasuredCurve* data;
    const HeldCurves* held;
    const SeriesCurves* series;
    ChiR* chiR;
    FilteredCurves filter;
};
