#include "ProgramState.h"

#include "AWave.h"
#include "ChiR.h"
#include "Envelope.h"
#include "FilteredCurves.h"
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
// The path named `file`: the one read for it, else read now (null when
// none is named or it cannot be read).
ShellPathPtr pathFor(const QString& file, const ShellPathPtr& given) {
    if (file.isEmpty())
        return nullptr;
    if (given && given->fileName == file)
        return given;
    return ShellPath::load(file, nullptr);
}
} // namespace

WaveGrid ProgramState::grid() {
    return AWave::gridOf(0, gridKMax, gridStep, gridLength);
}

bool ProgramState::readPaths(const Scenario& s, Paths* paths, QString* error) {
    Paths out;
    if (s.standard) {
        FilteredCurves filter;
        out.main = filter.standard(grid(), *s.standard, error);
        if (!out.main)
            return false;
    }
    const double windowEnd = s.windowPositions.isEmpty() ? 0 : s.windowPositions.last();
    auto read = [&](const QString& file, ShellPathPtr* path) {
        if (file.isEmpty())
            return true;
        *path = ShellPath::load(file, error);
        return *path && (*path)->covers(windowEnd, error);
    };
    if (!read(s.pathFile, &out.main))
        return false;
    out.shells.resize(s.shells.size());
    for (int i = 0; i < s.shells.size(); ++i)
        if (!read(s.shells[i].pathFile, &out.shells[i]))
            return false;
    *paths = out;
    return true;
}

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
    for (const Shell& shell : wave.shells) {
        Scenario::ExtraShell extra;
        extra.r = shell.r;
        extra.amplitude = shell.amplitude;
        if (shell.path) {
            extra.pathFile = shell.path->fileName;
            extra.sigma = shell.sigma;
            extra.deltaE0 = shell.deltaE0;
        }
        s.shells.append(extra);
    }
    if (wave.path && wave.path->standard)
        s.standard = wave.path->standard;
    else if (wave.path)
        s.pathFile = wave.path->fileName;
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

void ProgramState::apply(const Scenario& s, AWave& wave, ChiR& chiR, const Paths& paths) {
    WaveCtrl& ctrl = *wave.ctrl;
    ctrl.NBar->setValue(s.n);
    // The path first: a new one brings its default amplitude, which the
    // scenario's own value then replaces. The loaded one stays when named.
    ShellPathPtr mainPath;
    if (s.standard) {
        // The one made for it, else the one in use when it is the same.
        if (paths.main && paths.main->standard == s.standard)
            mainPath = paths.main;
        else if (wave.path && wave.path->standard == s.standard)
            mainPath = wave.path;
        else
            mainPath = FilteredCurves().standard(grid(), *s.standard, nullptr);
    } else {
        mainPath =
            wave.path && !wave.path->standard && wave.path->fileName == s.pathFile && !paths.main
                ? wave.path
                : pathFor(s.pathFile, paths.main);
    }
    wave.setPath(mainPath);
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
    QVector<Shell> shells;
    for (int i = 0; i < s.shells.size(); ++i) {
        const Scenario::ExtraShell& e = s.shells[i];
        Shell shell;
        shell.r = e.r;
        shell.amplitude = e.amplitude;
        const ShellPathPtr current = i < wave.shells.size() && wave.shells[i].path &&
                                             wave.shells[i].path->fileName == e.pathFile
                                         ? wave.shells[i].path
                                         : nullptr;
        shell.path = pathFor(e.pathFile, paths.shells.value(i, current));
        shell.sigma = e.sigma;
        shell.deltaE0 = e.deltaE0;
        shells.append(shell);
    }
    wave.setShells(shells);
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
