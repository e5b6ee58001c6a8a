#pragma once

#include "ChiRPlot.h"
#include "HanningWindow.h"
#include "Legend.h"
#include "PlotTrace.h"
#include "TransformTraces.h"
#include "ViewOptions.h"
#include "ui_ChiR.h"

#include <QMainWindow>
#include <QVector>

class AWave;
class ChCoord;
class HeldCurves;
class SeriesCurves;
class MeasuredCurve;
class ViewOptions;
class MouseC;
class QLineEdit;
class QPainter;

// The second window: chi(R) of the waves, the selection of what is drawn,
// and a pointer line dragged to read off R.
class ChiR : public QMainWindow, public Ui_ChiR {
    Q_OBJECT
public:
    explicit ChiR(QWidget* parent = nullptr);

    // The R range the plot shows; its data export covers the same bins.
    static constexpr double rMin = -2;
    static constexpr double rMax = 10;

    // Moves the pointer line to R, shows it in the box and repaints.
    void setPointer(double r);
    // The R range a fit compares, shaded on the plot while the Fit window
    // is open; cleared, nothing is shaded.
    void setFitRange(double low, double high);
    void clearFitRange();
    double fitRangeLow() const { return fitLow; }
    double fitRangeHigh() const { return fitHigh; }
    bool fitRangeShown() const { return fitShown; }

    MouseC* mouse = nullptr;
    ChCoord* coord = nullptr;
    bool grabbed = false;
    double pointerR = 2.0;
    double fitLow = 1.0;
    double fitHigh = 3.0;
    bool fitShown = false;
    const QVector<AWave*>* waves = nullptr;
    // The program's view options, measured data and held curves, set by
    // the main window.
    ViewOptions* view = nullptr;
    const MeasuredCurve* measured = nullptr;
    const HeldCurves* held = nullptr;
    // The Fit window's data sets, drawn while it shows them all.
    const SeriesCurves* series = nullptr;

    // The Fourier filter's R window, Å, increasing: typed into its boxes or
    // dragged by its handles on the zero line, both shown only while the
    // filtered chi(q) is (ViewOptions::filtered).
    WindowPositions rWindow;
    QFrame* rWindowRow = nullptr;
    QVector<QLineEdit*> rWindowBoxes;
    int grabbedR = -1; // the handle being dragged, or -1
    bool filtering() const { return view && view->filtered; }
    // Sets position i to r (finite, else nothing changes) and sorts the
    // four; returns where r ended up.
    int setRWindow(int i, double r);
    void setRWindow(const WindowPositions& positions);
    // The k range, Å^-1, the ratio method fits its lines over; kept here
    // with the R window, which it belongs to.
    double ratioKMin = 0;
    double ratioKMax = 0;

    // The value range the plot fits to the spectra and the selection; with
    // physical amplitudes exactly the curves drawn, all their drawn bins.
    ViewOptions::Range fittedRange() const;
    // The bin nearest the pointer, the first wave's, or 0 without one.
    int pointerBin() const;
    // A double-click within this much R of a peak moves the pointer onto it.
    static constexpr double peakReach = 0.3;

    // The top of a peak of |chi(R)|: the parabola through the largest bin
    // within peakReach of an R and its two neighbours.
    struct Peak {
        bool found = false;
        double r = 0;
        double height = 0;
    };
    static Peak peakNear(const AWave& w, const double* spectrum, double r);
    // The vertex of the parabola through (-1, below), (0, middle), (1, above):
    // false unless middle is at least as high as both (a top, not a slope).
    static bool parabolaTop(double below, double middle, double above, double* offset, double* top);
    // The pointer stands on a peak's top found by a double-click; the
    // read-out then shows the tops, until the pointer or the spectra change.
    bool onPeak = false;
    Peak modelPeak, dataPeak;

    // What the plot draws for one wave, in painting order: for the first,
    // the held curves of its mode behind the live ones. Each is a polyline
    // through the bins drawn, up to rMax.
    QVector<PlotTrace> traces(const AWave& w) const;
    // The value axis's title: the parts of the total drawn, with their unit
    // or "normalised"; empty when the total is not drawn.
    QString valueTitle() const;
    // The shells' marks: pixels from the zero line to a tick, and its length.
    static constexpr int markGap = ChiRPlot::markGap;
    static constexpr int markLength = ChiRPlot::markLength;

signals:
    void rWindowChanged();

public slots:
    void syncView();
    void updateReadOut();
    // The wave or the data changed: a peak's top found before is gone.
    void spectraChanged();

private slots:
    void drawR(QPainter* p);
    void mMoved();
    void mPressed();
    void mReleased();
    // A number typed into the Pointer box moves the line there.
    void pointerTyped();
    // A number typed into an R window box moves that position.
    void rWindowTyped();
    void about();
    void dClicked();

private:
    // The bins the plot draws of `w`'s spectra, and the parts of the total
    // chosen.
    TransformTraces bins(const AWave& w) const;
    // The key's entries for the live curves that are drawn.
    QVector<Legend::Entry> liveEntries() const;
    // Moves the line without leaving the peak's read-out.
    void placePointer(double r);

protected:
    // Left and Right on the focused plot step the pointer by one bin.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The buttons and the Pointer box share one row where the window is
    // wide enough for them; on a narrower one the box moves down beside the
    // read-out.
    void fitControls(int windowWidth);
    bool pointerBelow = false;

    // The form's texts and those this window sets itself, in the current
    // language; runs on every LanguageChange.
    void retranslate();
    void retranslateRWindow();
};
