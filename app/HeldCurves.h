#pragma once

#include "Scenario.h"

#include <QColor>
#include <QObject>
#include <QString>
#include <QVector>

#include <vector>

class AWave;

// Copies of the live curves kept to compare one change with the next: the
// chi(k) curve and the transform of chi, with the state that made them. At
// most `capacity`; the oldest goes first. Not saved anywhere.
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
        int number = 0; // 1, 2, ... in the order held
    };

    static constexpr int capacity = 3;

    explicit HeldCurves(QObject* parent = nullptr);

    void hold(const AWave& wave, const Scenario& state);
    void clear();

    // A lighter shade of a live curve's colour for a held curve `age`
    // holds old (0 for the newest).
    static QColor shadeOf(QColor live, int age);
    // "held 1", with the one parameter that differs from `now` when only
    // one of n, R, P0, P1, P2, sigma and A does.
    static QString nameOf(const Curve& c, const Scenario& now);

    QVector<Curve> curves;

signals:
    void changed();

private:
    int held = 0;
};
