#include "ViewOptions.h"

#include <QAction>
#include <QSignalBlocker>

ViewOptions::ViewOptions(QObject* parent) : QObject(parent) {}

void ViewOptions::showIn(QAction* axesAction, QAction* legendAction, QAction* physicalAction,
                         QAction* lockAction) const {
    const std::pair<QAction*, bool> marks[] = {{axesAction, axes},
                                               {legendAction, legend},
                                               {physicalAction, physical},
                                               {lockAction, lockScales}};
    for (const auto& m : marks) {
        const QSignalBlocker quiet(m.first);
        m.first->setChecked(m.second);
    }
}

void ViewOptions::setAxes(bool on) {
    if (axes == on)
        return;
    axes = on;
    emit changed();
}

void ViewOptions::setLegend(bool on) {
    if (legend == on)
        return;
    legend = on;
    emit changed();
}

void ViewOptions::setPhysical(bool on) {
    if (physical == on)
        return;
    physical = on;
    emit changed();
}

void ViewOptions::setLockScales(bool on) {
    if (lockScales == on)
        return;
    if (on) {
        if (fitK)
            lockedK = fitK();
        if (fitR)
            lockedR = fitR();
    }
    lockScales = on;
    emit changed();
}

void ViewOptions::setFiltered(bool on) {
    if (filtered == on)
        return;
    filtered = on;
    emit changed();
}
