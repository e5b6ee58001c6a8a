#include "FitWindow.h"

#include "ChiR.h"
#include "FitProblem.h"
#include "FitRun.h"
#include "MeasuredCurve.h"
#include "Number.h"
#include "ParameterTable.h"

#include <QJsonArray>

#include <cmath>

FitWindow::FitWindow(AWave* w, const MeasuredCurve* d, ChiR* r, QWidget* parent)
    : QWidget(parent, Qt::Tool), wave(w), data(d), chiR(r) {
    setupUi(this);
    const auto boxes = varyBoxes();
    for (size_t i = 0; i < boxes.size(); ++i)
        boxes[i]->setChecked(fitOrder()[i]->variedByDefault);
    RMinVal->setText(shortestNumber(fit::FitProblem::defaultRMin));
    RMaxVal->setText(shortestNumber(fit::FitProblem::defaultRMax));
    connect(FitButton, &QPushButton::clicked, this, &FitWindow::fit);
    connect(ApplyButton, &QPushButton::clicked, this, &FitWindow::apply);
    connect(UndoButton, &QPushButton::clicked, this, &FitWindow::undo);
    connect(RMinVal, &QLineEdit::editingFinished, this, &FitWindow::rangeTyped);
    connect(RMaxVal, &QLineEdit::editingFinished, this, &FitWindow::rangeTyped);
    connect(data, &MeasuredCurve::changed, this, &FitWindow::dataChanged);
    dataChanged();
}

std::array<QCheckBox*, parameterTable.size()> FitWindow::varyBoxes() const {
    // In a fit's order.
    return {VaryAmplitude, VaryR, VarySigma, VaryP0, VaryP1, VaryP2};
}

QStringList FitWindow::varied() const {
    const auto boxes = varyBoxes();
    QStringList names;
    for (size_t i = 0; i < boxes.size(); ++i)
        if (boxes[i]->isChecked())
            names << fit::FitProblem::names()[int(i)];
    return names;
}

bool FitWindow::readRange(double* low, double* high) const {
    bool okLow = false, okHigh = false;
    *low = RMinVal->text().toDouble(&okLow);
    *high = RMaxVal->text().toDouble(&okHigh);
    return okLow && okHigh && std::isfinite(*low) && std::isfinite(*high) && *low >= 0 &&
           *high > *low;
}

void FitWindow::rangeTyped() {
    double low = 0, high = 0;
    if (readRange(&low, &high)) {
        chiR->setFitRange(low, high);
    } else {
        // Back to the range the plot shows.
        RMinVal->setText(shortestNumber(chiR->fitRangeLow()));
        RMaxVal->setText(shortestNumber(chiR->fitRangeHigh()));
    }
}

void FitWindow::dataChanged() {
    FitButton->setEnabled(data->isLoaded());
    // A result belongs to the data it was fitted to.
    last = fit::Result();
    ApplyButton->setEnabled(false);
    if (!data->isLoaded())
        Report->setPlainText(tr("Open measured chi(k) data to fit the model to them."));
}

void FitWindow::showEvent(QShowEvent* event) {
    rangeTyped();
    QWidget::showEvent(event);
}

void FitWindow::hideEvent(QHideEvent* event) {
    chiR->clearFitRange();
    QWidget::hideEvent(event);
}

void FitWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        retranslateUi(this);
        if (last.ok)
            Report->setPlainText(reportText());
        else
            dataChanged();
    }
    QWidget::changeEvent(event);
}

void FitWindow::fit() {
    double low = 0, high = 0;
    if (!readRange(&low, &high)) {
        Report->setPlainText(tr("Type an R range with 0 <= Rmin < Rmax."));
        return;
    }
    const FitRun run = runFit(*wave, *data, varied(), low, high);
    last = run.result;
    ApplyButton->setEnabled(last.ok);
    if (!last.ok) {
        Report->setPlainText(tr("The fit cannot run: %1").arg(last.error));
        return;
    }
    const QJsonArray kRange = run.report.value(QStringLiteral("kRange")).toArray();
    lastKLow = kRange.at(0).toDouble();
    lastKHigh = kRange.at(1).toDouble();
    lastIdp = run.report.value(QStringLiteral("independentPoints")).toDouble();
    Report->setPlainText(reportText());
}

QString FitWindow::reportText() const {
    QStringList lines;
    QStringList shown;
    for (const ParameterRow* row : fitOrder())
        shown << QCoreApplication::translate(row->labelContext, row->label);
    for (int i = 0; i < int(last.best.size()); ++i) {
        const fit::Parameter& p = last.best[i];
        lines << (p.varied ? tr("%1 = %2 ± %3")
                                 .arg(shown[i], QString::number(p.value, 'g', 6),
                                      QString::number(last.errors[i], 'g', 2))
                           : tr("%1 = %2 (fixed)").arg(shown[i], QString::number(p.value, 'g', 6)));
    }
    lines << QString();
    lines << tr("Independent points: %1 (k %2 to %3 1/Å)")
                 .arg(QString::number(lastIdp, 'f', 1), QString::number(lastKLow, 'g', 4),
                      QString::number(lastKHigh, 'g', 4));
    lines << tr("Chi-square: %1   reduced: %2   R-factor: %3")
                 .arg(QString::number(last.chiSquare, 'g', 4),
                      QString::number(last.reducedChiSquare, 'g', 4),
                      QString::number(last.rFactor, 'g', 4));
    for (const fit::Correlation& c : last.correlations)
        lines << tr("Correlation %1 – %2: %3")
                     .arg(c.first, c.second, QString::number(c.value, 'f', 2));
    lines << tr("%1 model evaluations; MINPACK: %2")
                 .arg(last.evaluations)
                 .arg(fit::translatedTerminationMessage(last.info));
    return lines.join(QLatin1Char('\n'));
}

void FitWindow::apply() {
    if (!last.ok)
        return;
    beforeApply = applyFit(*wave, last);
    UndoButton->setEnabled(true);
}

void FitWindow::undo() {
    if (beforeApply.isEmpty())
        return;
    restoreValues(*wave, beforeApply);
    beforeApply.clear();
    UndoButton->setEnabled(false);
}
