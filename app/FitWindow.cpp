#include "FitWindow.h"

#include "AWave.h"
#include "Axes.h"
#include "ChiR.h"
#include "FitProblem.h"
#include "FitRun.h"
#include "MeasuredCurve.h"
#include "Number.h"
#include "ParameterTable.h"

#include <QHash>
#include <QJsonArray>

#include <cmath>

FitWindow::FitWindow(AWave* w, const MeasuredCurve* d, ChiR* r, QWidget* parent)
    : QWidget(parent, Qt::Tool), wave(w), data(d), chiR(r) {
    setupUi(this);
    checkDefaults();
    RMinVal->setText(shortestNumber(fit::FitProblem::defaultRMin));
    RMaxVal->setText(shortestNumber(fit::FitProblem::defaultRMax));
    connect(FitButton, &QPushButton::clicked, this, &FitWindow::fit);
    connect(ApplyButton, &QPushButton::clicked, this, &FitWindow::apply);
    connect(UndoButton, &QPushButton::clicked, this, &FitWindow::undo);
    connect(RMinVal, &QLineEdit::editingFinished, this, &FitWindow::rangeTyped);
    connect(RMaxVal, &QLineEdit::editingFinished, this, &FitWindow::rangeTyped);
    connect(data, &MeasuredCurve::changed, this, &FitWindow::dataChanged);
    connect(wave, &AWave::updated, this, &FitWindow::modelChanged);
    dataChanged();
}

std::array<QCheckBox*, parameterTable.size()> FitWindow::varyBoxes() const {
    // In a fit's order.
    return {VaryAmplitude, VaryR, VarySigma, VaryP0, VaryP1, VaryP2, VaryDE0};
}

QStringList FitWindow::varied() const {
    const auto boxes = varyBoxes();
    QStringList names;
    for (size_t i = 0; i < boxes.size(); ++i)
        if (boxes[i]->isChecked())
            names << fit::FitProblem::names()[int(i)];
    return names;
}

void FitWindow::setChoices(const QStringList& vary, double rMin, double rMax) {
    const auto boxes = varyBoxes();
    for (size_t i = 0; i < boxes.size(); ++i)
        boxes[i]->setChecked(vary.contains(fit::FitProblem::names()[int(i)]));
    RMinVal->setText(shortestNumber(rMin));
    RMaxVal->setText(shortestNumber(rMax));
    if (isVisible())
        rangeTyped();
}

void FitWindow::choices(QStringList* vary, double* rMin, double* rMax) const {
    *vary = varied();
    double low = 0, high = 0;
    if (!readRange(&low, &high)) {
        low = chiR->fitRangeLow();
        high = chiR->fitRangeHigh();
    }
    *rMin = low;
    *rMax = high;
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
    checkStale();
}

void FitWindow::dataChanged() {
    FitButton->setEnabled(data->isLoaded());
    // A result belongs to the data it was fitted to.
    last = FitRun();
    refusal = fit::Message();
    stale = false;
    showState();
}

void FitWindow::checkDefaults() {
    const QStringList vary = fit::FitProblem::defaultVaried(bool(wave->path));
    const auto boxes = varyBoxes();
    for (size_t i = 0; i < boxes.size(); ++i)
        boxes[i]->setChecked(vary.contains(fit::FitProblem::names()[int(i)]));
    withPath = bool(wave->path);
}

void FitWindow::modelChanged() {
    // A path given or taken away brings that model's standard set.
    if (withPath != bool(wave->path))
        checkDefaults();
    showKRange();
    checkStale();
}

bool FitWindow::resultApplicable() const {
    return last.result.ok && !stale;
}

void FitWindow::checkStale() {
    if (!last.result.ok || stale)
        return;
    double low = 0, high = 0;
    const bool sameRange = readRange(&low, &high) && low == lastRMin && high == lastRMax;
    if (sameRange && fit::FitProblem::sameBasis(last.inputs, fitInputs(*wave, *data), last.varied))
        return;
    stale = true;
    showState();
}

void FitWindow::showKRange() {
    double low = 0, high = 0;
    if (!data->isLoaded())
        KRangeLabel->setText(tr("k compared: no data"));
    else if (fit::FitProblem::comparedK(fitInputs(*wave, *data), &low, &high))
        KRangeLabel->setText(tr("k compared: %1 to %2 1/Å")
                                 .arg(QString::number(low, 'g', 4), QString::number(high, 'g', 4)));
    else
        KRangeLabel->setText(tr("k compared: none, the window and the data do not overlap"));
}

void FitWindow::showState() {
    ApplyButton->setEnabled(resultApplicable());
    UndoButton->setEnabled(!undoStack.isEmpty());
    showKRange();
    if (!data->isLoaded())
        Report->setPlainText(tr("Open measured chi(k) data to fit the model to them."));
    else if (last.result.ok)
        Report->setPlainText(reportText());
    else if (!refusal.isEmpty())
        Report->setPlainText(refusedBeforeRun ? tr("The fit cannot run: %1").arg(refusal.text())
                                              : refusal.text());
    else
        Report->clear();
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
        showState();
    }
    QWidget::changeEvent(event);
}

void FitWindow::fit() {
    double low = 0, high = 0;
    last = FitRun();
    stale = false;
    if (!readRange(&low, &high)) {
        refusal = fit::Message{
            "FitWindow", QT_TR_NOOP("Type an R range with 0 <= Rmin < Rmax."), {}, false};
        refusedBeforeRun = false;
        showState();
        return;
    }
    last = runFit(*wave, *data, varied(), low, high);
    lastRMin = low;
    lastRMax = high;
    refusal = last.result.error;
    // MINPACK ran when it counted evaluations; else the problem was refused.
    refusedBeforeRun = last.result.evaluations == 0;
    showState();
}

QString FitWindow::reportText() const {
    const fit::Result& result = last.result;
    QStringList lines;
    if (stale)
        lines << tr("The model or the data changed since this fit: fit again to apply a result.")
              << QString();
    QHash<QString, QString> shown;
    for (const ParameterRow* row : fitOrder())
        shown.insert(QLatin1String(row->name),
                     QCoreApplication::translate(row->labelContext, row->label));
    const QString sigmaName = QLatin1String(parameterRow(ModelParameter::Sigma).name);
    QStringList atLimit;
    for (int i = 0; i < int(result.best.size()); ++i) {
        const fit::Parameter& p = result.best[i];
        const QString label = shown.value(p.name);
        const QString value = QString::number(p.value, 'g', 6);
        const double error = result.errors[i];
        QString line;
        if (!p.varied) {
            line = tr("%1 = %2 (fixed)").arg(label, value);
        } else if (p.atBound) {
            line = tr("%1 = %2 (at its limit)").arg(label, value);
            atLimit << label;
        } else if (std::isnan(error)) {
            line = tr("%1 = %2 (no error: the data do not determine it)").arg(label, value);
        } else {
            line = tr("%1 = %2 ± %3").arg(label, value, QString::number(error, 'g', 2));
        }
        // sigma² is what a Debye-Waller factor is quoted as: its error is 2 σ δσ.
        if (p.name == sigmaName)
            line += QStringLiteral("   ") +
                    (p.varied && !p.atBound && !std::isnan(error)
                         ? tr("σ² = %1 ± %2 Å²")
                               .arg(QString::number(p.value * p.value, 'g', 4),
                                    QString::number(2 * std::abs(p.value) * error, 'g', 2))
                         : tr("σ² = %1 Å²").arg(QString::number(p.value * p.value, 'g', 4)));
        lines << line;
    }
    if (!atLimit.isEmpty())
        lines << tr("%1 ended at its limit: the errors of the other parameters do not hold then.")
                     .arg(atLimit.join(QStringLiteral(", ")));
    const QJsonObject& report = last.report;
    const QJsonArray kRange = report.value(QStringLiteral("kRange")).toArray();
    auto shownNumber = [](const QJsonValue& v, char format, int precision) {
        return v.isDouble() ? QString::number(v.toDouble(), format, precision)
                            : QStringLiteral("—");
    };
    lines << QString();
    lines << tr("Independent points: %1 (k %2 to %3 1/Å)")
                 .arg(shownNumber(report.value(QStringLiteral("independentPoints")), 'f', 1),
                      shownNumber(kRange.at(0), 'g', 4), shownNumber(kRange.at(1), 'g', 4));
    const int n = report.value(QStringLiteral("n")).toInt();
    lines << tr("Noise: εR = %1 Å%2 (rms |χ(R)| over %3 to %4 Å), εk = %5 (in χ(k))")
                 .arg(shownNumber(report.value(QStringLiteral("epsilonR")), 'g', 3),
                      Axes::superscript(-(n + 1)), shortestNumber(fit::FitProblem::noiseRMin),
                      shortestNumber(fit::FitProblem::noiseRMax),
                      shownNumber(report.value(QStringLiteral("epsilonK")), 'g', 3));
    lines << tr("Chi-square: %1   reduced: %2   R-factor: %3")
                 .arg(shownNumber(report.value(QStringLiteral("chiSquare")), 'g', 4),
                      shownNumber(report.value(QStringLiteral("reducedChiSquare")), 'g', 4),
                      shownNumber(report.value(QStringLiteral("rFactor")), 'g', 4));
    for (const fit::Correlation& c : result.correlations)
        lines << tr("Correlation %1 – %2: %3")
                     .arg(shown.value(c.first), shown.value(c.second),
                          QString::number(c.value, 'f', 2));
    lines << tr("%1 model evaluations; MINPACK: %2")
                 .arg(result.evaluations)
                 .arg(fit::translatedTerminationMessage(result.info));
    return lines.join(QLatin1Char('\n'));
}

void FitWindow::apply() {
    if (!resultApplicable())
        return;
    const QVector<double> before = applyFit(*wave, last.result);
    // An Apply that changed nothing (the same result again) leaves the
    // values to go back to as they were.
    if (currentValues(*wave) != before)
        undoStack.append(before);
    UndoButton->setEnabled(!undoStack.isEmpty());
}

void FitWindow::undo() {
    if (undoStack.isEmpty())
        return;
    restoreValues(*wave, undoStack.takeLast());
    UndoButton->setEnabled(!undoStack.isEmpty());
}
