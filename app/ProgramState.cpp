#include "ProgramState.h"

#include "AWave.h"
#include "ChiR.h"
#include "Envelope.h"
#include "MeasuredCurve.h"
#include "Scenario.h"
#include "ViewOptions.h"
#include "WaveCtrl.h"
#include "WindowFunc.h"

#include <QPair>
#include <QtGlobal>

#include <limits>

namespace {
// Each setPos re-sorts the positions, so a value is only written where it
// lands between its current neighbours; a few passes place all four.
void placeWindow(WindowFunc& window, const QVector<double>& target) {
    const double inf = std::numeric_limits<double>::infinity();
    QVector<double>& p = window.positions;
    for (int pass = 0; pass < 8 && p != target; ++pass) {
        for (int i = 0; i < p.size() && i < target.size(); ++i) {
            const double low = i > 0 ? p[i - 1] : -inf;
            const double high = i + 1 < p.size() ? p[i + 1] : inf;
            if (p[i] != target[i] && low <= target[i] && target[i] <= high)
                window.setPos(i, target[i]);
        }
    }
}
} // namespace

Scenario ProgramState::capture(const AWave& wave, const ChiR& chiR) {
    Scenario s;
    const WaveCtrl& ctrl = *wave.ctrl;
    s.n = wave.n;
    for (const ParameterRow& row : parameterTable)
        s.setParameter(row.id, wave.parameter(row.id));
    s.envelopeOn = ctrl.SelEnvelope->isChecked();
    s.windowOn = ctrl.SelWindowF->isChecked();
    s.debyeWallerOn = ctrl.SelDebye->isChecked();
    s.windowPositions = ctrl.WindowCtrl->positions;
    if (wave.envelope)
        s.envelopePoints = wave.envelope->points;
    for (const Shell& shell : wave.shells)
        s.shells.append({shell.r, shell.amplitude});
    s.showReal = chiR.SelReal->isChecked();
    s.showImag = chiR.SelImag->isChecked();
    s.showAbs = chiR.SelAbs->isChecked();
    s.showEnvelope = chiR.SelEnvelope->isChecked();
    s.showWindow = chiR.SelWindow->isChecked();
    s.showWave = chiR.SelWave->isChecked();
    s.showTotal = chiR.SelTotal->isChecked();
    s.pointerR = chiR.pointerR;
    s.filterRWindow = QVector<double>(chiR.rWindow.begin(), chiR.rWindow.end());
    s.ratioKMin = chiR.ratioKMin;
    s.ratioKMax = chiR.ratioKMax;
    if (chiR.measured)
        s.dataFile = chiR.measured->path;
    if (chiR.view) {
        s.viewAxes = chiR.view->axes;
        s.viewLegend = chiR.view->legend;
        s.viewPhysical = chiR.view->physical;
        s.viewLockScales = chiR.view->lockScales;
        s.filterShown = chiR.view->filtered;
    }
    return s;
}

void ProgramState::apply(const Scenario& s, AWave& wave, ChiR& chiR) {
    WaveCtrl& ctrl = *wave.ctrl;
    ctrl.NBar->setValue(s.n);
    // Exactly, as typed values: the sliders only point at them. A changed
    // value is one synthesis; the same value again is none.
    for (const ParameterRow& row : parameterTable) {
        if (wave.parameter(row.id) != s.parameter(row.id))
            wave.setParameter(row.id, s.parameter(row.id));
    }
    ctrl.SelEnvelope->setChecked(s.envelopeOn);
    ctrl.SelWindowF->setChecked(s.windowOn);
    ctrl.SelDebye->setChecked(s.debyeWallerOn);
    placeWindow(*ctrl.WindowCtrl, s.windowPositions);
    if (wave.envelope)
        wave.envelope->setPoints(s.envelopePoints);
    // Exactly, as the rows' typed values.
    wave.setShells(s.shells);
    chiR.SelReal->setChecked(s.showReal);
    chiR.SelImag->setChecked(s.showImag);
    chiR.SelAbs->setChecked(s.showAbs);
    chiR.SelEnvelope->setChecked(s.showEnvelope);
    chiR.SelWindow->setChecked(s.showWindow);
    chiR.SelWave->setChecked(s.showWave);
    chiR.SelTotal->setChecked(s.showTotal);
    chiR.setPointer(s.pointerR);
    if (s.filterRWindow.size() == 4)
        chiR.setRWindow(
            {s.filterRWindow[0], s.filterRWindow[1], s.filterRWindow[2], s.filterRWindow[3]});
    chiR.ratioKMin = s.ratioKMin;
    chiR.ratioKMax = s.ratioKMax;
    if (ViewOptions* view = chiR.view) {
        view->setAxes(s.viewAxes);
        view->setLegend(s.viewLegend);
        view->setPhysical(s.viewPhysical);
        view->setFiltered(s.filterShown);
        // Locked last, on the ranges of everything applied above.
        view->setLockScales(s.viewLockScales);
    }
}
