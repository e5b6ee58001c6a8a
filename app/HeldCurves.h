#pragma once

#include "Legend.h"
#include "PlotTrace.h"
#include "Scenario.h"

#include <QColor>
#include <QObject>
#include <QString>
#include <QVector>

#include <vector>

class AWave;
class MeasuredCurve;
struct TransformTraces;

// Copies of the live curves kept to compare one change with the next: the
// chi(k) curve and the transform of chi, and the measured data's when they
// are loaded, with the state that made them. At most `capacity`; the oldest
// goes first. Not saved anywhere. A curve belongs to the amplitude mode it
// was held in: the plots show it only in that mode.
class HeldCurves : public QObject {
    Q_OBJECT
public:
    struct Curve {
        QVector<double> k;            // the synthesised grid points
        QVector<double> chi;          // chi there
        std::vector<double> spectrum; // packed transform of chi
        int fftLength = 0;
        double binWidthR = 0;
        Scenario state;
        int number = 0;        // 1, 2, ... in the order held
        bool physical = false; // the wave's amplitude mode at the time
        // The measured data as processed then (empty without data).
        QVector<double> dataChi;          // on the grid points of `k`
        std::vector<double> dataSpectrum; // packed transform
        QString dataName;                 // the file's name
        bool hasData() const { return !dataSpectrum.empty(); }
    };

    static constexpr int capacity = 3;

    explicit HeldCurves(QObject* parent = nullptr);

    void hold(const AWave& wave, const Scenario& state, const MeasuredCurve* data = nullptr);
    void clear();

    // A lighter shade of a live curve's colour for a held curve `age`
    // holds old (0 for the newest).
    static QColor shadeOf(QColor live, int age);
    // "held 1", with the one parameter that differs from `now` when only
    // one of n, R, P0, P1, P2, sigma and A does.
    static QString nameOf(const Curve& c, const Scenario& now);
    // The key's name of a held curve's data: "file (held 1)".
    static QString dataNameOf(const Curve& c);
    // The key's entries for the curves shown in this amplitude mode, newest
    // first: the model's in grey, the data's in pale data colour.
    QVector<Legend::Entry> entries(const Scenario& now, bool physical) const;
    // The same against the wave as it is now, in its amplitude mode.
    QVector<Legend::Entry> entries(const AWave& now) const;

    // The pale traces of the curves held in this amplitude mode, oldest
    // first, for the chi(k) plot or, given its bins, the chi(R) plot (there
    // only the curves transformed on the same bins, and the parts chosen):
    // of each its data, wide, then its model, thin.
    QVector<PlotTrace> traces(bool physical, const TransformTraces* r = nullptr) const;

    QVector<Curve> curves;

signals:
    void changed();

private:
    int held = 0;
};
