#include "ShellsWindow.h"

#include "Escaped.h"
#include "FileDialogs.h"
#include "Number.h"
#include "Palette.h"
#include "WaveCtrl.h"
#include "WindowFunc.h"

#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

#include <algorithm>
#include <cmath>

namespace {

QString colourStyle(const QColor& c) {
    return QStringLiteral("color: %1; font-weight: bold;").arg(c.name());
}

QLineEdit* valueBox(QWidget* parent) {
    auto* box = new QLineEdit(parent);
    // The panel's value boxes look like this.
    box->setStyleSheet(Palette::valueBoxStyle());
    box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    box->setMaximumWidth(70);
    return box;
}

// A slider over [low, high] in `steps` positions per unit.
void spanRange(QSlider* bar, double low, double high, int steps) {
    bar->setRange(qRound(low * steps), qRound(high * steps));
}

QSlider* slider(QWidget* parent, double low, double high, int steps) {
    auto* bar = new QSlider(Qt::Horizontal, parent);
    spanRange(bar, low, high, steps);
    bar->setMinimumWidth(160);
    return bar;
}

// The number typed into `box` when it is finite and within the slider's
// range (in values: its ends over `steps`).
bool typedValue(const QLineEdit* box, const QSlider* bar, int steps, double* out) {
    bool ok = false;
    const double typed = box->text().toDouble(&ok);
    if (!(ok && std::isfinite(typed) && typed >= bar->minimum() / double(steps) &&
          typed <= bar->maximum() / double(steps)))
        return false;
    *out = typed;
    return true;
}

// Points the slider at the nearest step of `value` without announcing it.
void pointAt(QSlider* bar, double value, int steps) {
    const QSignalBlocker silent(bar);
    bar->setValue(qRound(value * steps));
}

const ParameterRow& amplitudeRow = parameterRow(ModelParameter::Amplitude);
const ParameterRow& phi1Row = parameterRow(ModelParameter::P1);
const ParameterRow& sigmaRow = parameterRow(ModelParameter::Sigma);
const ParameterRow& dE0Row = parameterRow(ModelParameter::DeltaE0);

} // namespace

ShellRow::ShellRow(int index_, QWidget* parent) : QFrame(parent), index(index_) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 2, 0, 2);
    title = new QLabel(this);
    title->setStyleSheet(colourStyle(ShellsWindow::markColor(index + 1)));
    rBar = slider(this, Shell::rMinimum, Shell::rMaximum, Shell::rSteps);
    rVal = valueBox(this);
    amplitudeBar =
        slider(this, Shell::amplitudeMinimum, Shell::amplitudeMaximum, Shell::amplitudeSteps);
    amplitudeVal = valueBox(this);
    remove = new QPushButton(this);
    leftOut = new QLabel(this);
    leftOut->hide();
    rLabel = new QLabel(this);
    amplitudeLabel = new QLabel(this);
    choosePath = new QPushButton(this);
    removePath = new QPushButton(this);
    pathName = new QLabel(this);
    sigmaLabel = new QLabel(this);
    sigmaBar = slider(this, sigmaRow.minimum, sigmaRow.maximum, sigmaRow.stepsPerUnit);
    sigmaVal = valueBox(this);
    dE0Label = new QLabel(this);
    dE0Bar = slider(this, dE0Row.minimum, dE0Row.maximum, dE0Row.stepsPerUnit);
    dE0Val = valueBox(this);
    retranslate();

    grid->addWidget(title, 0, 0, 2, 1);
    grid->addWidget(rLabel, 0, 1);
    grid->addWidget(rBar, 0, 2);
    grid->addWidget(rVal, 0, 3);
    grid->addWidget(amplitudeLabel, 1, 1);
    grid->addWidget(amplitudeBar, 1, 2);
    grid->addWidget(amplitudeVal, 1, 3);
    grid->addWidget(remove, 0, 4, 2, 1);
    grid->addWidget(pathName, 2, 1, 1, 2);
    grid->addWidget(choosePath, 2, 3);
    grid->addWidget(removePath, 2, 4);
    grid->addWidget(sigmaLabel, 3, 1);
    grid->addWidget(sigmaBar, 3, 2);
    grid->addWidget(sigmaVal, 3, 3);
    grid->addWidget(dE0Label, 4, 1);
    grid->addWidget(dE0Bar, 4, 2);
    grid->addWidget(dE0Val, 4, 3);
    grid->addWidget(leftOut, 5, 1, 1, 4);
    current.r = rBar->value() / double(Shell::rSteps);
    current.amplitude = amplitudeBar->value() / double(Shell::amplitudeSteps);
    current.sigma = sigmaRow.defaultValue;
    current.deltaE0 = dE0Row.defaultValue;
    showShell(current);

    connect(rBar, SIGNAL(valueChanged(int)), this, SLOT(rSlid(int)));
    connect(amplitudeBar, SIGNAL(valueChanged(int)), this, SLOT(amplitudeSlid(int)));
    connect(rVal, SIGNAL(editingFinished()), this, SLOT(rTyped()));
    connect(amplitudeVal, SIGNAL(editingFinished()), this, SLOT(amplitudeTyped()));
    connect(remove, &QPushButton::clicked, this, [this] { emit removeRequested(index); });
    connect(sigmaBar, SIGNAL(valueChanged(int)), this, SLOT(sigmaSlid(int)));
    connect(dE0Bar, SIGNAL(valueChanged(int)), this, SLOT(dE0Slid(int)));
    connect(sigmaVal, SIGNAL(editingFinished()), this, SLOT(sigmaTyped()));
    connect(dE0Val, SIGNAL(editingFinished()), this, SLOT(dE0Typed()));
    connect(choosePath, &QPushButton::clicked, this, [this] { emit pathRequested(index); });
    connect(removePath, &QPushButton::clicked, this, [this] {
        Shell s = current;
        s.path = nullptr;
        take(s);
    });
}

void ShellRow::retranslate() {
    title->setText(tr("Shell %1").arg(index + 1));
    title->setToolTip(tr("In the colour of this shell's mark on the chi(R) plot"));
    rBar->setToolTip(tr("Distance R of this shell, 0 to 10 Å in steps of 0.1 Å"));
    rVal->setToolTip(tr("R of this shell in Å: type a value and press Return"));
    amplitudeBar->setToolTip(tr("Amplitude of this shell relative to the main shell's, 0 to 2 in "
                                "steps of 0.05"));
    amplitudeVal->setToolTip(tr("Relative amplitude of this shell: type a value and press Return"));
    remove->setText(tr("Remove"));
    remove->setToolTip(tr("Remove this shell"));
    leftOut->setText(tr("At R = 0 this shell is left out (1/R² is undefined)."));
    rLabel->setText(tr("R (Å)"));
    amplitudeLabel->setText(tr("Amplitude"));
    choosePath->setText(tr("Path…"));
    choosePath->setToolTip(tr("Give this shell a scattering path file (feffNNNN.dat)"));
    removePath->setText(tr("No path"));
    removePath->setToolTip(tr("Take the path away: the shell shares the main shell's envelope, "
                              "phase and sigma again"));
    sigmaLabel->setText(tr("Sigma (Å)"));
    sigmaBar->setToolTip(
        tr("Debye-Waller sigma of this shell's path, 0 to 0.2 Å in steps of 0.001 Å"));
    sigmaVal->setToolTip(tr("Sigma of this shell's path in Å: type a value and press Return"));
    dE0Label->setText(tr("dE0 (eV)"));
    dE0Bar->setToolTip(tr("E0 shift of this shell's path, -20 to 20 eV in steps of 0.1 eV"));
    dE0Val->setToolTip(tr("E0 shift of this shell's path in eV: type a value and press Return"));
    showTexts(current);
}

void ShellRow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QFrame::changeEvent(event);
}

void ShellRow::showTexts(const Shell& s) {
    rVal->setText(shortestNumber(s.r));
    amplitudeVal->setText(shortestNumber(s.amplitude));
    sigmaVal->setText(shortestNumber(s.sigma));
    dE0Val->setText(shortestNumber(s.deltaE0));
    leftOut->setVisible(!AWave::inSum(s.r));
    pathName->setText(s.path ? tr("Path: %1").arg(s.path->shownName()) : tr("No path"));
    // Sigma and dE0 are the shell's own only with a path.
    for (QWidget* w : {static_cast<QWidget*>(sigmaLabel), static_cast<QWidget*>(sigmaBar),
                       static_cast<QWidget*>(sigmaVal), static_cast<QWidget*>(dE0Label),
                       static_cast<QWidget*>(dE0Bar), static_cast<QWidget*>(dE0Val),
                       static_cast<QWidget*>(removePath)})
        w->setVisible(bool(s.path));
}

void ShellRow::showShell(const Shell& shell) {
    current = shell;
    pointAt(rBar, shell.r, Shell::rSteps);
    pointAt(amplitudeBar, shell.amplitude, Shell::amplitudeSteps);
    pointAt(sigmaBar, shell.sigma, sigmaRow.stepsPerUnit);
    pointAt(dE0Bar, shell.deltaE0, dE0Row.stepsPerUnit);
    showTexts(shell);
}

void ShellRow::take(const Shell& s) {
    // Shown before announced, so the boxes are right while the wave works.
    current = s;
    showTexts(s);
    emit changed(index);
}

void ShellRow::slid(double Shell::*field, int position, int steps) {
    Shell s = current;
    s.*field = position / double(steps);
    take(s);
}

void ShellRow::typed(double Shell::*field, const QLineEdit* box, QSlider* bar, int steps) {
    double v = 0;
    if (!typedValue(box, bar, steps, &v) || v == current.*field) {
        showTexts(current);
        return;
    }
    pointAt(bar, v, steps);
    Shell s = current;
    s.*field = v;
    take(s);
}

void ShellRow::rSlid(int position) {
    slid(&Shell::r, position, Shell::rSteps);
}

void ShellRow::amplitudeSlid(int position) {
    slid(&Shell::amplitude, position, Shell::amplitudeSteps);
}

void ShellRow::sigmaSlid(int position) {
    slid(&Shell::sigma, position, sigmaRow.stepsPerUnit);
}

void ShellRow::dE0Slid(int position) {
    slid(&Shell::deltaE0, position, dE0Row.stepsPerUnit);
}

void ShellRow::rTyped() {
    typed(&Shell::r, rVal, rBar, Shell::rSteps);
}

void ShellRow::amplitudeTyped() {
    typed(&Shell::amplitude, amplitudeVal, amplitudeBar, Shell::amplitudeSteps);
}

void ShellRow::sigmaTyped() {
    typed(&Shell::sigma, sigmaVal, sigmaBar, sigmaRow.stepsPerUnit);
}

void ShellRow::dE0Typed() {
    typed(&Shell::deltaE0, dE0Val, dE0Bar, dE0Row.stepsPerUnit);
}

ShellsWindow::ShellsWindow(AWave* wave_, QWidget* parent) : QWidget(parent, Qt::Tool), wave(wave_) {
    setupUi(this);
    spanRange(AmplitudeBar, amplitudeRow.minimum, amplitudeRow.maximum, amplitudeRow.stepsPerUnit);
    spanRange(Phi1Bar, phi1Row.minimum, phi1Row.maximum, phi1Row.stepsPerUnit);
    MainShell->setStyleSheet(colourStyle(markColor(0)));
    for (QLineEdit* box : {AmplitudeVal, Phi1Val})
        box->setStyleSheet(Palette::valueBoxStyle());
    connect(AddShell, SIGNAL(clicked()), this, SLOT(addShell()));
    connect(AmplitudeBar, SIGNAL(valueChanged(int)), this, SLOT(amplitudeSlid(int)));
    connect(Phi1Bar, SIGNAL(valueChanged(int)), this, SLOT(phi1Slid(int)));
    connect(AmplitudeVal, SIGNAL(editingFinished()), this, SLOT(amplitudeTyped()));
    connect(Phi1Val, SIGNAL(editingFinished()), this, SLOT(phi1Typed()));
    connect(wave, SIGNAL(updated()), this, SLOT(sync()));
    sync();
}

void ShellsWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        retranslateUi(this);
        sync();
    }
    QWidget::changeEvent(event);
}

QColor ShellsWindow::markColor(int i) {
    static_assert(Palette::shellColours == Shell::maxExtra + 1, "a colour for every shell");
    return Palette::shellMark(i);
}

void ShellsWindow::sync() {
    MainShell->setText(tr("Main shell: R = %1 Å").arg(shortestNumber(wave->r)));
    pointAt(AmplitudeBar, wave->amplitude, amplitudeRow.stepsPerUnit);
    AmplitudeVal->setText(shortestNumber(wave->amplitude));
    pointAt(Phi1Bar, wave->phi1, phi1Row.stepsPerUnit);
    Phi1Val->setText(shortestNumber(wave->phi1));
    const QVector<Shell>& shells = wave->shells;
    const bool resized = rows.size() != shells.size();
    while (rows.size() > shells.size()) {
        // A row may be removed from inside its own button's click.
        ShellRow* row = rows.takeLast();
        row->hide();
        row->deleteLater();
    }
    while (rows.size() < shells.size()) {
        auto* row = new ShellRow(rows.size(), ShellList);
        ShellRows->addWidget(row);
        connect(row, SIGNAL(changed(int)), this, SLOT(rowChanged(int)));
        connect(row, SIGNAL(removeRequested(int)), this, SLOT(removeShell(int)));
        connect(row, SIGNAL(pathRequested(int)), this, SLOT(choosePath(int)));
        rows.append(row);
    }
    for (int i = 0; i < rows.size(); ++i)
        rows[i]->showShell(shells[i]);
    NoShells->setVisible(rows.isEmpty());
    AddShell->setEnabled(rows.size() < Shell::maxExtra);
    // Rows and their R = 0 notes come and go: the window follows its layout,
    // measured only while it is shown (a hidden one is sized when shown).
    if (isVisible()) {
        if (resized)
            adjustSize();
        else
            resize(size().expandedTo(sizeHint()));
    }
}

void ShellsWindow::addShell() {
    if (wave->shells.size() >= Shell::maxExtra)
        return;
    // 0.4 Å beyond the main shell, held on the R slider.
    const int position =
        std::clamp(qRound(wave->r * Shell::rSteps) + 4, 0, qRound(Shell::rMaximum * Shell::rSteps));
    QVector<Shell> shells = wave->shells;
    Shell added;
    added.r = position / double(Shell::rSteps);
    added.amplitude = 1.0;
    added.sigma = sigmaRow.defaultValue;
    added.deltaE0 = dE0Row.defaultValue;
    shells.append(added);
    wave->setShells(shells);
}

bool ShellsWindow::setShellPath(int index, const QString& file, QString* error) {
    if (index < 0 || index >= wave->shells.size())
        return false;
    QVector<Shell> shells = wave->shells;
    Shell& shell = shells[index];
    if (file.isEmpty()) {
        shell.path = nullptr;
    } else {
        const ShellPathPtr path = ShellPath::load(QFileInfo(file).absoluteFilePath(), error);
        const QVector<double>& window = wave->ctrl->WindowCtrl->positions;
        if (!path || !path->covers(window.isEmpty() ? 0 : window.last(), error))
            return false;
        shell.path = path;
        shell.sigma = sigmaRow.defaultValue;
        shell.deltaE0 = dE0Row.defaultValue;
    }
    wave->setShells(shells);
    return true;
}

void ShellsWindow::choosePath(int index) {
    const QString file = FileDialogs::openPath(this, tr("Open scattering path"),
                                               tr("Path files (feff*.dat);;All files (*)"));
    if (file.isEmpty())
        return;
    QString error;
    if (!setShellPath(index, file, &error))
        QMessageBox::warning(this, windowTitle(), Escaped::message(error));
}

void ShellsWindow::rowChanged(int index) {
    QVector<Shell> shells = wave->shells;
    if (index < shells.size() && index < rows.size()) {
        shells[index] = rows[index]->value();
        wave->setShells(shells);
    }
}

void ShellsWindow::removeShell(int index) {
    QVector<Shell> shells = wave->shells;
    if (index < shells.size()) {
        shells.remove(index);
        wave->setShells(shells);
    }
}

// The wave holds A and P1: a slider sets its step, a typed value is set
// exactly, and sync() shows whatever the wave then holds.

void ShellsWindow::amplitudeSlid(int position) {
    wave->setParameter(AWave::Parameter::Amplitude, position / double(amplitudeRow.stepsPerUnit));
}

void ShellsWindow::phi1Slid(int position) {
    wave->setParameter(AWave::Parameter::P1, position / double(phi1Row.stepsPerUnit));
}

void ShellsWindow::amplitudeTyped() {
    double a = 0;
    if (typedValue(AmplitudeVal, AmplitudeBar, amplitudeRow.stepsPerUnit, &a) &&
        a != wave->amplitude)
        wave->setParameter(AWave::Parameter::Amplitude, a);
    else
        AmplitudeVal->setText(shortestNumber(wave->amplitude));
}

void ShellsWindow::phi1Typed() {
    double p1 = 0;
    if (typedValue(Phi1Val, Phi1Bar, phi1Row.stepsPerUnit, &p1) && p1 != wave->phi1)
        wave->setParameter(AWave::Parameter::P1, p1);
    else
        Phi1Val->setText(shortestNumber(wave->phi1));
}
