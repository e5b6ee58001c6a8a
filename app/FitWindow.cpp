#include "FitWindow.h"

#include "AWave.h"
#include "Axes.h"
#include "ChiR.h"
#include "FileDialogs.h"
#include "FitProblem.h"
#include "FitRun.h"
#include "MeasuredCurve.h"
#include "Number.h"
#include "Palette.h"
#include "ParameterTable.h"
#include "SeriesCurves.h"
#include "Sigma2View.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHash>
#include <QHeaderView>
#include <QJsonArray>
#include <QMessageBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
const double none = std::numeric_limits<double>::quiet_NaN();

// A temperature as the table shows it: empty for none.
QString shownTemperature(double t) {
    return std::isfinite(t) ? shortestNumber(t) : QString();
}

// A typed number; empty gives `empty`.
bool readNumber(const QLineEdit* box, double empty, double* value) {
    const QString text = box->text().trimmed();
    if (text.isEmpty()) {
        *value = empty;
        return true;
    }
    bool ok = false;
    *value = QLocale::c().toDouble(text, &ok);
    return ok && std::isfinite(*value);
}
} // namespace

FitWindow::FitWindow(AWave* w, const MeasuredCurve* d, ChiR* r, SeriesCurves* s, QWidget* parent)
    : QWidget(parent, Qt::Tool), wave(w), data(d), chiR(r), seriesCurves(s), temperature0(none) {
    setupUi(this);
    sigma2View = new Sigma2View(this);
    // The report above the sigma²(T) plot, the report the taller.
    auto* column = static_cast<QVBoxLayout*>(layout());
    column->addWidget(sigma2View);
    column->setStretchFactor(Report, 3);
    column->setStretchFactor(sigma2View, 2);
    sigma2View->hide();
    // Room for three rows before the table scrolls.
    DataSetTable->setMinimumHeight(DataSetTable->horizontalHeader()->sizeHint().height() +
                                   4 * DataSetTable->verticalHeader()->defaultSectionSize());
    DataSetTable->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    DataSetTable->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    DataSetTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    DataSetTable->setSelectionMode(QAbstractItemView::SingleSelection);
    DataSetTable->verticalHeader()->hide();
    const Scenario defaults;
    ThetaEVal->setText(shortestNumber(defaults.fitThetaE));
    Sigma2StaticVal->setText(shortestNumber(defaults.fitSigma2Static));
    AlphaVal->setText(shortestNumber(defaults.fitAlpha));
    VaryThetaE->setChecked(true);
    connect(AddDataSet, &QPushButton::clicked, this, &FitWindow::addClicked);
    connect(RemoveDataSet, &QPushButton::clicked, this, &FitWindow::removeClicked);
    connect(DataSetTable, &QTableWidget::cellChanged, this, &FitWindow::temperatureTyped);
    connect(DataSetTable, &QTableWidget::itemSelectionChanged, this,
            [this] { RemoveDataSet->setEnabled(DataSetTable->currentRow() > 0); });
    connect(SigmaModel, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &FitWindow::seriesChoiceChanged);
    connect(ThermalExpansion, &QCheckBox::toggled, this, &FitWindow::seriesChoiceChanged);
    connect(ShowAllSets, &QCheckBox::toggled, this, [this](bool on) {
        if (seriesCurves)
            seriesCurves->setShown(on);
    });
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
    seriesChoiceChanged();
}

std::array<QCheckBox*, parameterTable.size()> FitWindow::varyBoxes() const {
    // In a fit's order.
    return {VaryAmplitude, VaryR, VarySigma, VaryP0, VaryP1, VaryP2, VaryDE0};
}

QStringList FitWindow::varied() const {
    const auto boxes = varyBoxes();
    const bool einstein = SigmaModel->currentIndex() == 1;
    QStringList names;
    for (size_t i = 0; i < boxes.size(); ++i)
        if (boxes[i]->isChecked() && !(einstein && boxes[i] == VarySigma))
            names << fit::FitProblem::names()[int(i)];
    if (einstein) {
        if (VaryThetaE->isChecked())
            names << QLatin1String(fit::DataSetFit::thetaEName);
        if (VarySigma2Static->isChecked())
            names << QLatin1String(fit::DataSetFit::sigma2StaticName);
    }
    if (ThermalExpansion->isChecked())
        names << QLatin1String(fit::DataSetFit::alphaName);
    return names;
}

void FitWindow::setChoices(const QStringList& vary, double rMin, double rMax) {
    const auto boxes = varyBoxes();
    for (size_t i = 0; i < boxes.size(); ++i)
        boxes[i]->setChecked(vary.contains(fit::FitProblem::names()[int(i)]));
    if (vary.contains(QLatin1String(fit::DataSetFit::thetaEName)) ||
        vary.contains(QLatin1String(fit::DataSetFit::sigma2StaticName))) {
        VaryThetaE->setChecked(vary.contains(QLatin1String(fit::DataSetFit::thetaEName)));
        VarySigma2Static->setChecked(
            vary.contains(QLatin1String(fit::DataSetFit::sigma2StaticName)));
    }
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
    // The first row follows the loaded data; another file has no
    // temperature yet.
    if (data->path != firstPath) {
        firstPath = data->path;
        temperature0 = none;
    }
    fillTable();
    // A result belongs to the data it was fitted to.
    last = FitRun();
    lastRun = SeriesFit();
    showSeriesCurves();
    showSigma2();
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
    return (last.result.ok || lastRun.series.result.ok) && !stale;
}

void FitWindow::checkStale() {
    const bool series = lastRun.series.result.ok;
    if (!(last.result.ok || series) || stale)
        return;
    double low = 0, high = 0;
    const bool sameRange = readRange(&low, &high) && low == lastRMin && high == lastRMax;
    if (sameRange && !series &&
        fit::FitProblem::sameBasis(last.inputs, fitInputs(*wave, *data), last.varied))
        return;
    if (sameRange && series && int(lastRun.inputs.size()) == extra.size() + 1) {
        // Each set's inputs are the loaded data's but for the data read.
        fit::FitInputs now = fitInputs(*wave, *data);
        bool same = true;
        for (size_t i = 0; i < lastRun.inputs.size() && same; ++i) {
            if (i > 0) {
                now.dataK = extra[int(i) - 1].k;
                now.dataChi = extra[int(i) - 1].chi;
            }
            // A set's temperature is part of what it was fitted to.
            const double t = i == 0 ? temperature0 : extra[int(i) - 1].entry.temperature;
            const double before = lastRun.temperatures[i];
            same = fit::FitProblem::sameBasis(lastRun.inputs[i], now, lastRun.varied) &&
                   (t == before || (std::isnan(t) && std::isnan(before)));
        }
        if (same)
            return;
    }
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
    else if (lastRun.series.result.ok)
        Report->setPlainText(seriesReportText());
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
    lastRun = SeriesFit();
    stale = false;
    showSeriesCurves();
    showSigma2();
    if (!readRange(&low, &high)) {
        refusal = fit::Message{
            "FitWindow", QT_TR_NOOP("Type an R range with 0 <= Rmin < Rmax."), {}, false};
        refusedBeforeRun = false;
        showState();
        return;
    }
    lastRMin = low;
    lastRMax = high;
    if (!isSeries()) {
        last = runFit(*wave, *data, varied(), low, high);
        refusal = last.result.error;
        // MINPACK ran when it counted evaluations; else the problem was refused.
        refusedBeforeRun = last.result.evaluations == 0;
        showState();
        return;
    }
    fit::DataSetFitOptions options;
    QString error;
    if (!seriesOptions(&options, &error)) {
        refusal = fit::Message{"FitWindow", "%1", {error}, false};
        refusedBeforeRun = true;
        showState();
        return;
    }
    options.rMin = low;
    options.rMax = high;
    // A temperature at or below 0 K is no temperature, whatever the model.
    const int sets = extra.size() + 1;
    for (int i = 0; i < sets; ++i) {
        const double t = i == 0 ? temperature0 : extra[i - 1].entry.temperature;
        if (std::isfinite(t) && !(t > 0)) {
            refusal =
                fit::Message{"FitWindow",
                             QT_TR_NOOP("Data set %1 (%2): its temperature must be above 0 K."),
                             {QString::number(i + 1), DataSetTable->item(i, 0)->text()},
                             false};
            refusedBeforeRun = true;
            showState();
            return;
        }
    }
    QVector<SeriesRun::Measured> measured;
    measured.append({QFileInfo(data->path).fileName(), temperature0, data->dataK, data->dataChi});
    for (const SeriesSet& e : std::as_const(extra))
        measured.append({e.name(), e.entry.temperature, e.k, e.chi});
    lastRun.varied = options.varied;
    lastRun.reducedMass = options.reducedMass;
    lastRun.series = SeriesRun::run(*wave, *data, measured, options);
    for (const SeriesRun::Measured& m : std::as_const(measured)) {
        lastRun.temperatures.push_back(m.temperature);
        fit::FitInputs in = fitInputs(*wave, *data);
        in.dataK = m.k;
        in.dataChi = m.chi;
        lastRun.inputs.push_back(in);
    }
    refusal = lastRun.series.result.error;
    refusedBeforeRun = lastRun.series.result.evaluations == 0;
    showSeriesCurves();
    showSigma2();
    showState();
}

QStringList FitWindow::reportOpening() const {
    if (!stale)
        return {};
    return {tr("The model or the data changed since this fit: fit again to apply a result."),
            QString()};
}

QHash<QString, QString> FitWindow::modelLabels() {
    QHash<QString, QString> shown;
    for (const ParameterRow* row : fitOrder())
        shown.insert(QLatin1String(row->name),
                     QCoreApplication::translate(row->labelContext, row->label));
    return shown;
}

QString FitWindow::parameterLine(const fit::Parameter& p, double error, const QString& label,
                                 QStringList* atLimit) {
    const QString value = QString::number(p.value, 'g', 6);
    if (!p.varied)
        return tr("%1 = %2 (fixed)").arg(label, value);
    if (p.atBound) {
        *atLimit << label;
        return tr("%1 = %2 (at its limit)").arg(label, value);
    }
    if (std::isnan(error))
        return tr("%1 = %2 (no error: the data do not determine it)").arg(label, value);
    return tr("%1 = %2 ± %3").arg(label, value, QString::number(error, 'g', 2));
}

QString FitWindow::reportText() const {
    const fit::Result& result = last.result;
    QStringList lines = reportOpening();
    const QHash<QString, QString> shown = modelLabels();
    const QString sigmaName = QLatin1String(parameterRow(ModelParameter::Sigma).name);
    QStringList atLimit;
    for (int i = 0; i < int(result.best.size()); ++i) {
        const fit::Parameter& p = result.best[i];
        const QString label = shown.value(p.name);
        const double error = result.errors[i];
        QString line = parameterLine(p, error, label, &atLimit);
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
    fit::Result first = last.result;
    if (lastRun.series.result.ok) {
        // The first set's values, each row set that the fit moved.
        const fit::SeriesResult& r = lastRun.series;
        first.best.clear();
        const auto& order = fitOrder();
        const bool einstein = r.sigmaModel == fit::SigmaModel::Einstein;
        for (size_t j = 0; j < order.size(); ++j) {
            fit::Parameter p;
            p.name = QLatin1String(order[j]->name);
            p.value = r.dataSets.front().values[j];
            p.varied = lastRun.varied.contains(p.name) ||
                       (einstein && order[j]->id == ModelParameter::Sigma) ||
                       (order[j]->id == ModelParameter::R &&
                        lastRun.varied.contains(QLatin1String(fit::DataSetFit::alphaName)));
            first.best.push_back(p);
        }
    }
    const QVector<double> before = applyFit(*wave, first);
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

bool FitWindow::isSeries() const {
    return !extra.isEmpty() || SigmaModel->currentIndex() == 1 || ThermalExpansion->isChecked();
}

bool FitWindow::seriesOptions(fit::DataSetFitOptions* options, QString* error) const {
    fit::DataSetFitOptions o;
    o.varied = varied();
    const std::pair<QCheckBox*, ModelParameter> per[] = {{PerAmplitude, ModelParameter::Amplitude},
                                                         {PerR, ModelParameter::R},
                                                         {PerDE0, ModelParameter::DeltaE0},
                                                         {PerSigma, ModelParameter::Sigma}};
    const bool einstein = SigmaModel->currentIndex() == 1;
    for (const auto& [box, id] : per)
        if (box->isChecked() && box->isEnabled() && !(einstein && id == ModelParameter::Sigma))
            o.perDataset << QLatin1String(parameterRow(id).name);
    o.sigmaModel = einstein ? fit::SigmaModel::Einstein : fit::SigmaModel::Free;
    o.thermalExpansion = ThermalExpansion->isChecked();
    const struct {
        QLineEdit* box;
        QCheckBox* check;
        double* value;
        bool used;
    } starts[] = {{ThetaEVal, VaryThetaE, &o.thetaE, einstein},
                  {Sigma2StaticVal, VarySigma2Static, &o.sigma2Static, einstein},
                  {AlphaVal, ThermalExpansion, &o.alpha, o.thermalExpansion}};
    for (const auto& s : starts)
        if (s.used && !(readNumber(s.box, none, s.value) && std::isfinite(*s.value))) {
            *error = tr("Type a number for %1.").arg(s.check->text().remove(QLatin1Char('&')));
            return false;
        }
    if (einstein) {
        double mass = 0;
        if (!readNumber(ReducedMassVal, 0, &mass) || mass < 0) {
            *error = tr("Type the reduced mass in u as a number above 0, or leave it empty to "
                        "take it from the path file.");
            return false;
        }
        if (mass == 0 && wave->path)
            mass = wave->path->chi.path().reducedMass;
        if (!(mass > 0)) {
            *error = tr("The Einstein model needs the pair's reduced mass: type it in u, or give "
                        "the main shell a path file.");
            return false;
        }
        o.reducedMass = mass;
    }
    if (wave->path)
        o.reff = wave->path->chi.path().reff;
    *options = o;
    return true;
}

void FitWindow::fillTable() {
    filling = true;
    const int rows = extra.size() + 1;
    DataSetTable->setRowCount(rows);
    for (int i = 0; i < rows; ++i) {
        const QString name =
            i == 0 ? (data->isLoaded() ? QFileInfo(data->path).fileName() : tr("(no data loaded)"))
                   : extra[i - 1].name();
        auto* file = new QTableWidgetItem(name);
        file->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        file->setToolTip(i == 0 ? data->path
                                : (extra[i - 1].entry.muFile.isEmpty()
                                       ? extra[i - 1].entry.dataFile
                                       : tr("%1 (mu(E), processed with the absorption settings)")
                                             .arg(extra[i - 1].entry.muFile)));
        if (seriesCurves && seriesCurves->isShown())
            file->setForeground(Palette::dataSet(i));
        DataSetTable->setItem(i, 0, file);
        auto* t = new QTableWidgetItem(
            shownTemperature(i == 0 ? temperature0 : extra[i - 1].entry.temperature));
        t->setToolTip(tr("The temperature the data set was measured at, in K"));
        DataSetTable->setItem(i, 1, t);
    }
    RemoveDataSet->setEnabled(DataSetTable->currentRow() > 0);
    filling = false;
}

void FitWindow::temperatureTyped(int row, int column) {
    if (filling || column != 1 || row < 0 || row > extra.size())
        return;
    double& t = row == 0 ? temperature0 : extra[row - 1].entry.temperature;
    const QString text = DataSetTable->item(row, 1)->text().trimmed();
    bool ok = true;
    const double typed = text.isEmpty() ? none : QLocale::c().toDouble(text, &ok);
    if (!ok || (!text.isEmpty() && !(typed > 0 && std::isfinite(typed)))) {
        QMessageBox::warning(
            this, tr("Temperature"),
            tr("Data set %1 (%2): type its temperature in K as a number above 0, or leave it "
               "empty.")
                .arg(row + 1)
                .arg(DataSetTable->item(row, 0)->text()));
        filling = true;
        DataSetTable->item(row, 1)->setText(shownTemperature(t));
        filling = false;
        return;
    }
    t = typed;
    checkStale();
}

bool FitWindow::addDataSet(const QString& path, bool mu, QString* error) {
    Scenario::DataSetEntry entry;
    if (mu) {
        entry.muFile = path;
        entry.absorption = absorption;
    } else {
        entry.dataFile = path;
    }
    SeriesSet set;
    QString why;
    if (!SeriesRun::load(entry, &set, &why)) {
        *error = tr("Data set %1 (%2) cannot be added: %3")
                     .arg(extra.size() + 2)
                     .arg(QFileInfo(path).fileName(), why);
        return false;
    }
    extra.append(set);
    fillTable();
    lastRun = SeriesFit();
    last = FitRun();
    showSeriesCurves();
    showSigma2();
    showState();
    return true;
}

void FitWindow::addClicked() {
    const QString chiFilter = tr("chi(k) data (*.chi *.dat *.txt *.csv);;All files (*)");
    const QString muFilter = tr("mu(E) data (*.xmu *.dat *.txt *.csv)");
    QString chosen;
    const QString path =
        QFileDialog::getOpenFileName(this, tr("Add data set"), FileDialogs::lastFolder(),
                                     chiFilter + QStringLiteral(";;") + muFilter, &chosen);
    if (path.isEmpty())
        return;
    FileDialogs::rememberFolder(path);
    QString error;
    if (!addDataSet(path, chosen == muFilter, &error))
        QMessageBox::warning(this, tr("Add data set"), error);
}

void FitWindow::removeClicked() {
    const int row = DataSetTable->currentRow();
    if (row <= 0 || row > extra.size())
        return;
    extra.removeAt(row - 1);
    fillTable();
    lastRun = SeriesFit();
    last = FitRun();
    showSeriesCurves();
    showSigma2();
    showState();
}

void FitWindow::seriesChoiceChanged() {
    const bool einstein = SigmaModel->currentIndex() == 1;
    // Sigma is the model's under Einstein: neither varied nor per set.
    VarySigma->setEnabled(!einstein);
    PerSigma->setEnabled(!einstein);
    for (QWidget* w :
         {static_cast<QWidget*>(VaryThetaE), static_cast<QWidget*>(ThetaEVal),
          static_cast<QWidget*>(VarySigma2Static), static_cast<QWidget*>(Sigma2StaticVal),
          static_cast<QWidget*>(ReducedMassLabel), static_cast<QWidget*>(ReducedMassVal)})
        w->setEnabled(einstein);
    AlphaVal->setEnabled(ThermalExpansion->isChecked());
    // R follows the expansion: one R for all.
    PerR->setEnabled(!ThermalExpansion->isChecked());
    if (wave->path)
        ReducedMassVal->setPlaceholderText(
            tr("%1 from the path").arg(shortestNumber(wave->path->chi.path().reducedMass)));
    else
        ReducedMassVal->setPlaceholderText(tr("no path: type it"));
}

void FitWindow::setSeries(const Scenario& state, QString* error) {
    QStringList failed;
    extra.clear();
    for (int i = 1; i < state.fitDataSets.size(); ++i) {
        SeriesSet set;
        QString why;
        if (SeriesRun::load(state.fitDataSets[i], &set, &why))
            extra.append(set);
        else
            failed << tr("Data set %1: %2").arg(i + 1).arg(why);
    }
    temperature0 = state.fitDataSets.isEmpty() ? none : state.fitDataSets[0].temperature;
    firstPath = data->path;
    SigmaModel->setCurrentIndex(state.fitSigmaModel == Scenario::SigmaModelChoice::Einstein ? 1
                                                                                            : 0);
    PerAmplitude->setChecked(state.fitPerDataset.contains(QLatin1String("amplitude")));
    PerR->setChecked(state.fitPerDataset.contains(QLatin1String("R")));
    PerDE0->setChecked(state.fitPerDataset.contains(QLatin1String("dE0")));
    PerSigma->setChecked(state.fitPerDataset.contains(QLatin1String("sigma")));
    ThetaEVal->setText(shortestNumber(state.fitThetaE));
    Sigma2StaticVal->setText(shortestNumber(state.fitSigma2Static));
    ReducedMassVal->setText(state.fitReducedMass > 0 ? shortestNumber(state.fitReducedMass)
                                                     : QString());
    ThermalExpansion->setChecked(state.fitThermalExpansion);
    AlphaVal->setText(shortestNumber(state.fitAlpha));
    seriesChoiceChanged();
    fillTable();
    lastRun = SeriesFit();
    showSeriesCurves();
    showSigma2();
    showState();
    *error = failed.join(QLatin1Char('\n'));
}

void FitWindow::series(Scenario* state) const {
    state->fitDataSets.clear();
    if (!extra.isEmpty() || std::isfinite(temperature0)) {
        Scenario::DataSetEntry first;
        first.dataFile = state->dataFile;
        first.muFile = state->muFile;
        first.muColumns = state->muColumns;
        first.absorption = state->absorption;
        first.temperature = temperature0;
        state->fitDataSets.append(first);
        for (const SeriesSet& s : extra)
            state->fitDataSets.append(s.entry);
    }
    const bool einstein = SigmaModel->currentIndex() == 1;
    state->fitSigmaModel =
        einstein ? Scenario::SigmaModelChoice::Einstein : Scenario::SigmaModelChoice::Free;
    state->fitPerDataset.clear();
    const std::pair<QCheckBox*, const char*> per[] = {
        {PerAmplitude, "amplitude"}, {PerR, "R"}, {PerDE0, "dE0"}, {PerSigma, "sigma"}};
    for (const auto& [box, name] : per)
        if (box->isChecked())
            state->fitPerDataset << QLatin1String(name);
    // Starts that cannot be read keep the scenario's own.
    double v = 0;
    if (readNumber(ThetaEVal, none, &v) && std::isfinite(v))
        state->fitThetaE = v;
    if (readNumber(Sigma2StaticVal, none, &v) && std::isfinite(v))
        state->fitSigma2Static = v;
    if (readNumber(ReducedMassVal, 0, &v) && v >= 0)
        state->fitReducedMass = v;
    if (readNumber(AlphaVal, none, &v) && std::isfinite(v))
        state->fitAlpha = v;
    state->fitThermalExpansion = ThermalExpansion->isChecked();
}

void FitWindow::showSeriesCurves() {
    if (!seriesCurves)
        return;
    QVector<SeriesCurves::Set> sets;
    const bool fitted = lastRun.series.result.ok;
    for (int i = 0; i <= extra.size(); ++i) {
        SeriesCurves::Set s;
        s.name = i == 0 ? QFileInfo(data->path).fileName() : extra[i - 1].name();
        if (i > 0) {
            s.k = extra[i - 1].k;
            s.chi = extra[i - 1].chi;
        }
        if (fitted && size_t(i) < lastRun.series.dataSets.size())
            s.model = lastRun.series.dataSets[size_t(i)].values;
        sets.append(s);
    }
    seriesCurves->setSets(sets);
    seriesCurves->process(wave);
}

void FitWindow::showSigma2() {
    const fit::SeriesResult& r = lastRun.series;
    const Sigma2PlotInputs in =
        r.result.ok ? SeriesRun::plotInputs(r, lastRun.reducedMass) : Sigma2PlotInputs();
    // Nothing to plot without a temperature.
    sigma2View->setVisible(!in.temperature.empty());
    if (!in.temperature.empty())
        sigma2View->setInputs(in);
}

QString FitWindow::seriesReportText() const {
    const fit::SeriesResult& series = lastRun.series;
    const fit::Result& result = series.result;
    QStringList lines = reportOpening();
    QHash<QString, QString> shown = modelLabels();
    shown.insert(QLatin1String(fit::DataSetFit::thetaEName), tr("θ_E (K)"));
    shown.insert(QLatin1String(fit::DataSetFit::sigma2StaticName), tr("σ²₀ (Å²)"));
    shown.insert(QLatin1String(fit::DataSetFit::alphaName), tr("α (1/K)"));
    // "R[2]": the label with the set's number.
    auto label = [&](const QString& name) {
        const int bracket = name.indexOf(QLatin1Char('['));
        if (bracket < 0)
            return shown.value(name, name);
        return tr("%1, set %2")
            .arg(shown.value(name.left(bracket)), name.mid(bracket + 1).chopped(1));
    };
    QStringList atLimit;
    for (int i = 0; i < int(result.best.size()); ++i) {
        const fit::Parameter& p = result.best[i];
        lines << parameterLine(p, result.errors[size_t(i)], label(p.name), &atLimit);
    }
    if (!atLimit.isEmpty())
        lines << tr("%1 ended at its limit: the errors of the other parameters do not hold then.")
                     .arg(atLimit.join(QStringLiteral(", ")));
    lines << QString();
    for (size_t s = 0; s < series.dataSets.size(); ++s) {
        const fit::DataSetResult& d = series.dataSets[s];
        const QString temperature = std::isfinite(d.temperature)
                                        ? tr("%1 K").arg(shortestNumber(d.temperature))
                                        : tr("no temperature");
        const QString sigma2 = std::isfinite(d.sigma2Error)
                                   ? tr("σ² = %1 ± %2 Å²")
                                         .arg(QString::number(d.sigma2, 'g', 4),
                                              QString::number(d.sigma2Error, 'g', 2))
                                   : tr("σ² = %1 Å²").arg(QString::number(d.sigma2, 'g', 4));
        lines << tr("Data set %1 (%2, %3): %4   R-factor: %5")
                     .arg(s + 1)
                     .arg(d.file, temperature, sigma2, QString::number(d.rFactor, 'g', 4));
    }
    lines << QString();
    auto shownNumber = [](double v, int precision) {
        return std::isfinite(v) ? QString::number(v, 'g', precision) : QStringLiteral("—");
    };
    lines << tr("Independent points: %1 (the sum over the data sets)")
                 .arg(std::isfinite(series.context.independentPoints)
                          ? QString::number(series.context.independentPoints, 'f', 1)
                          : QStringLiteral("—"));
    lines << tr("Chi-square: %1   reduced: %2   R-factor: %3")
                 .arg(shownNumber(result.chiSquare, 4), shownNumber(result.reducedChiSquare, 4),
                      shownNumber(result.rFactor, 4));
    for (const fit::Correlation& c : result.correlations)
        lines << tr("Correlation %1 – %2: %3")
                     .arg(label(c.first), label(c.second), QString::number(c.value, 'f', 2));
    lines << tr("%1 model evaluations; MINPACK: %2")
                 .arg(result.evaluations)
                 .arg(fit::translatedTerminationMessage(result.info));
    return lines.join(QLatin1Char('\n'));
}
