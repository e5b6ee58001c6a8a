#pragma once

#include <QObject>

class QAction;

#include <functional>
#include <utility>

// How both plots are drawn, one set for the whole program: numbered axes
// with units, a key to the curves, the formula's own amplitudes, and value
// ranges held while parameters change. Both windows' View menus set it and
// both paint paths read it.
class ViewOptions : public QObject {
    Q_OBJECT
public:
    using Range = std::pair<double, double>; // low, high

    explicit ViewOptions(QObject* parent = nullptr);

    bool axes = false;
    bool legend = false;
    bool physical = false;
    bool lockScales = false;
    // Fourier filtering: the R window on chi(R) and the filtered chi(q) on
    // chi(k).
    bool filtered = false;
    // The value ranges held while lockScales is on, taken from the plots'
    // fitted ranges at the moment it was switched on.
    Range lockedK{-1, 1};
    Range lockedR{-1, 1};
    // What each plot would fit now; set by the windows.
    std::function<Range()> fitK;
    std::function<Range()> fitR;

    // Shows the options as the check marks of one window's View menu,
    // without those actions answering back.
    void showIn(QAction* axesAction, QAction* legendAction, QAction* physicalAction,
                QAction* lockAction) const;

public slots:
    void setAxes(bool on);
    void setLegend(bool on);
    void setPhysical(bool on);
    void setLockScales(bool on);
    void setFiltered(bool on);

signals:
    void changed();
};
