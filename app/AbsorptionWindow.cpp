#include "AbsorptionWindow.h"

#include "AbsorptionState.h"
#include "Axes.h"
#include "Escaped.h"
#include "MuPlot.h"
#include "Number.h"
#include "Palette.h"
#include "PixelDrawing.h"
#include "ViewOptions.h"

#include <QEvent>
#include <QFileInfo>
#include <QMessageBox>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>

using pixeldraw::solidPen;

namespace {
// An empty box stands for "found from the data" where that is allowed.
bool boxNumber(const QLineEdit* box, const QString& name, bool emptyAllowed, double* out,
               bool* empty, QString* error) {
    const QString text = box->text().trimmed();
    *empty = text.isEmpty();
    if (*empty) {
        if (emptyAllowed)
            return true;
        *error = AbsorptionWindow::tr("%1 needs a number.").arg(name);
        return false;
    }
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v)) {
        *error = AbsorptionWindow::tr("%1 must be a number; \"%2\" is not one.")
                     .arg(name, Escaped::text(text));
        return false;
    }
    *out = v;
    return true;
}

void showValue(QLineEdit* box, double v) {
    box->setText(std::isfinite(v) ? shortestNumber(v) : QString());
}
} // namespace

AbsorptionWindow::AbsorptionWindow(AbsorptionState& s, const ViewOptions* options, QWidget* parent)
    : QMainWindow(parent), state(s), view(options) {
    setupUi(this);
    setAttribute(Qt::WA_QuitOnClose, false);
    for (QLineEdit* box :
         {E0Box, RbkgBox, PreFromBox, PreToBox, NormFromBox, NormToBox, KMinBox, KMaxBox}) {
        box->setStyleSheet(Palette::valueBoxStyle());
        connect(box, &QLineEdit::returnPressed, this, &AbsorptionWindow::boxesEdited);
    }
    connect(KWeightBox, QOverload<int>::of(&QSpinBox::valueChanged), this,
            &AbsorptionWindow::boxesEdited);
    for (QCheckBox* c : {SelNormalized, SelDerivative})
        connect(c, &QCheckBox::toggled, DispA, QOverload<>::of(&QWidget::update));
    connect(DispA, &DispArea::draw, this, &AbsorptionWindow::draw);
    connect(&DispA->mouse, &MouseC::mPressed, this, &AbsorptionWindow::mPressed);
    connect(&DispA->mouse, &MouseC::mMoved, this, &AbsorptionWindow::mMoved);
    connect(&DispA->mouse, &MouseC::mReleased, this, &AbsorptionWindow::mReleased);
    connect(&state, &AbsorptionState::changed, this, &AbsorptionWindow::stateChanged);
    connect(actionClose, &QAction::triggered, this, &QWidget::close);
    actionClose->setShortcuts(QKeySequence::Close);
    retranslate();
    stateChanged();
}

void AbsorptionWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QMainWindow::changeEvent(event);
}

void AbsorptionWindow::retranslate() {
    retranslateUi(this);
    stateChanged();
}

void AbsorptionWindow::stateChanged() {
    const bool loaded = state.isLoaded();
    for (QWidget* w : std::initializer_list<QWidget*>{E0Box, RbkgBox, KWeightBox, PreFromBox,
                                                      PreToBox, NormFromBox, NormToBox, KMinBox,
                                                      KMaxBox, SelNormalized, SelDerivative})
        w->setEnabled(loaded);
    actionExportPicture->setEnabled(loaded);
    actionExportData->setEnabled(loaded);
    actionCopyPicture->setEnabled(loaded);
    if (!loaded) {
        InfoLabel->setText(tr("No mu(E) loaded: File > Open measured mu(E)…"));
        DispA->update();
        return;
    }
    const AbsorptionState::Loaded& held = state.current();
    const AbsorptionSettings& s = held.settings;
    const AbsorptionResult& r = held.result;
    if (s.e0)
        showValue(E0Box, *s.e0);
    else
        E0Box->clear();
    E0Box->setPlaceholderText(shortestNumber(r.e0));
    showValue(RbkgBox, s.rbkg);
    const QSignalBlocker quiet(KWeightBox);
    KWeightBox->setValue(s.kWeight);
    showValue(PreFromBox, s.preEdge[0]);
    showValue(PreToBox, s.preEdge[1]);
    showValue(NormFromBox, s.normalization[0]);
    showValue(NormToBox, s.normalization[1]);
    NormToBox->setPlaceholderText(shortestNumber(r.normalizationRange[1]));
    showValue(KMinBox, s.kMin);
    if (s.kMax)
        showValue(KMaxBox, *s.kMax);
    else
        KMaxBox->clear();
    KMaxBox->setPlaceholderText(shortestNumber(r.kMax));
    InfoLabel->setText(tr("%1 (%2): E0 %3 eV, edge step %4, %5 knots")
                           .arg(Escaped::text(QFileInfo(held.path).fileName()),
                                Escaped::text(held.data.source), shortestNumber(r.e0),
                                QString::number(r.step, 'g', 4), QString::number(r.knotK.size())));
    DispA->update();
}

bool AbsorptionWindow::settingsFromBoxes(AbsorptionSettings* out, QString* error) const {
    AbsorptionSettings s;
    bool empty = false;
    double v = 0;
    if (!boxNumber(E0Box, tr("E0"), true, &v, &empty, error))
        return false;
    if (!empty)
        s.e0 = v;
    const struct {
        const QLineEdit* box;
        QString name;
        double* out;
        bool emptyAllowed;
    } fields[] = {{RbkgBox, tr("Rbkg"), &s.rbkg, false},
                  {PreFromBox, tr("The pre-edge range's start"), &s.preEdge[0], false},
                  {PreToBox, tr("The pre-edge range's end"), &s.preEdge[1], false},
                  {NormFromBox, tr("The normalisation range's start"), &s.normalization[0], false},
                  {NormToBox, tr("The normalisation range's end"), &s.normalization[1], true},
                  {KMinBox, tr("kmin"), &s.kMin, false}};
    for (const auto& f : fields)
        if (!boxNumber(f.box, f.name, f.emptyAllowed, f.out, &empty, error))
            return false;
    if (!boxNumber(KMaxBox, tr("kmax"), true, &v, &empty, error))
        return false;
    if (!empty)
        s.kMax = v;
    s.kWeight = KWeightBox->value();
    *out = s;
    return true;
}

void AbsorptionWindow::boxesEdited() {
    if (!state.isLoaded())
        return;
    AbsorptionSettings s;
    QString error;
    if (!settingsFromBoxes(&s, &error) || !state.change(s, &error)) {
        QMessageBox::warning(this, windowTitle(), Escaped::message(error));
        // The boxes show again what is in force.
        stateChanged();
        return;
    }
    statusbar->clearMessage();
}

void AbsorptionWindow::moveEdge(double e0) {
    AbsorptionSettings s = state.current().settings;
    s.e0 = e0;
    QString error;
    if (state.change(s, &error))
        statusbar->clearMessage();
    else
        statusbar->showMessage(Escaped::message(error));
}

void AbsorptionWindow::mPressed() {
    if (!state.isLoaded() || DispA->mouse.pressButton != Qt::LeftButton)
        return;
    const double x = DispA->coord.toPixelX(state.current().result.e0);
    grabbed = std::abs(DispA->mouse.pressPos.x() - x) <= MuPlot::handleReach;
}

void AbsorptionWindow::mMoved() {
    if (grabbed)
        moveEdge(DispA->coord.toWorldX(DispA->mouse.curPos.x()));
}

void AbsorptionWindow::mReleased() {
    if (!grabbed)
        return;
    moveEdge(DispA->coord.toWorldX(DispA->mouse.releasePos.x()));
    grabbed = false;
    stateChanged();
}

QString AbsorptionWindow::valueTitle() const {
    if (SelDerivative->isChecked())
        return SelNormalized->isChecked() ? tr("d(normalised μ)/dE (eV⁻¹)") : tr("dμ/dE (eV⁻¹)");
    return SelNormalized->isChecked() ? tr("normalised μ(E)") : tr("μ(E)");
}

void AbsorptionWindow::draw(QPainter* p) {
    MuPlot::Inputs in;
    in.size = DispA->geometry().size();
    in.axes = view && view->axes;
    in.axesFont = DispA->font();
    in.plot = Axes::setFrame(DispA->coord, in.size, in.axesFont, in.axes);
    if (!state.isLoaded()) {
        MuPlot::paint(*p, DispA->coord, in);
        return;
    }
    const AbsorptionResult& r = state.current().result;
    const bool normalized = SelNormalized->isChecked();
    const bool derivative = SelDerivative->isChecked();
    const int n = r.energy.size();
    // Every curve in the units shown: as measured, or less the pre-edge
    // line and divided by the step.
    auto shown = [&](const QVector<double>& values) {
        QVector<double> out(values);
        if (normalized)
            for (int i = 0; i < n; ++i)
                out[i] = (values[i] - r.preEdge[i]) / r.step;
        return out;
    };
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    auto trace = [&](const QVector<double>& x, const QVector<double>& y, const QColor& colour,
                     int width, bool scales) {
        in.curves.append({x, y, int(x.size()), 1, solidPen(colour, width), true});
        if (scales)
            for (double v : y) {
                low = std::min(low, v);
                high = std::max(high, v);
            }
    };
    const QString name = Escaped::text(QFileInfo(state.current().path).fileName());
    if (derivative) {
        QVector<double> d(r.derivative);
        if (normalized)
            for (double& v : d)
                v /= r.step;
        trace(r.energy, d, Palette::measured(), 2, true);
        in.legend = {{Palette::measured(), 2, valueTitle()}};
    } else {
        // The lines where they were fitted and up to the edge; the spline
        // where it is defined.
        QVector<double> preX, preY, postX, postY, bx, by;
        const QVector<double> pre = shown(r.preEdge), post = shown(r.postEdge),
                              background = shown(r.background);
        for (int i = 0; i < n; ++i) {
            const double e = r.energy[i] - r.e0;
            if (e >= r.preEdgeRange[0] - 50 && e <= 50) {
                preX << r.energy[i];
                preY << pre[i];
            }
            if (e >= -50) {
                postX << r.energy[i];
                postY << post[i];
            }
            if (std::isfinite(background[i])) {
                bx << r.energy[i];
                by << background[i];
            }
        }
        trace(preX, preY, Palette::preEdge(), 1, false);
        trace(postX, postY, Palette::postEdge(), 1, false);
        trace(bx, by, Palette::muBackground(), 1, false);
        trace(r.energy, shown(r.mu), Palette::measured(), 2, true);
        in.legend = {{Palette::measured(), 2, name},
                     {Palette::preEdge(), 1, tr("pre-edge line")},
                     {Palette::postEdge(), 1, tr("post-edge curve")},
                     {Palette::muBackground(), 1, tr("background")}};
    }
    if (!(view && view->legend))
        in.legend = {in.legend.first()};
    in.legend.append({Palette::edgeMark(), 1, tr("E0 = %1 eV").arg(shortestNumber(r.e0))});
    if (!(high > low)) {
        low -= 1;
        high += 1;
    }
    const double room = 0.05 * (high - low);
    DispA->coord.setScale(r.energy.first(), low - room, r.energy.last(), high + room);
    in.hasEdge = true;
    in.e0 = r.e0;
    in.xTitle = tr("E (eV)");
    in.yTitle = valueTitle();
    MuPlot::paint(*p, DispA->coord, in);
}
