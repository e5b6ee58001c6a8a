#include "CurvePixels.h"
#include "FitWindow.h"
#include "MeasuredCurve.h"
#include "Program.h"
#include "WaveCtrl.h"

#include "Actions.h"
#include "ChiR.h"
#include "WindowFunc.h"

#include "AbsorptionState.h"
#include "ChiDataReader.h"
#include "DataSetFit.h"
#include "FitRun.h"
#include "Lessons.h"
#include "Palette.h"
#include "SeriesCurves.h"
#include "Sigma2View.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QTableWidget>
#include <QTimer>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStyle>
#include <QStyleOptionButton>
#include <QtTest>

// The Fit window as a user drives it: data opened, View > Fit…, a click on
// Fit, Apply puts the best values into the model exactly, Undo takes them
// back; the R range shows as a band on chi(R) while the window is open.
class tst_FitWindow : public QObject {
    Q_OBJECT
private slots:
    void fitApplyUndo();
    void reportNamesEachParameter_data();
    void reportNamesEachParameter();
    void reportAtLimit();
    void kRangeBeforeTheFit();
    void staleness_data();
    void staleness();
    void undoAfterTwoApplies();
    void refusalFollowsTheLanguage();
    void scenarioKeepsTheFit();
    void seriesAgainstDataSetFit_data();
    void seriesAgainstDataSetFit();
    void seriesRefusals_data();
    void seriesRefusals();
    void muDataSetAndRemove();
    void showAllDataSets();
    void seriesStateRoundTrip();
    void seriesStaleness();
    void scenarioWithAnUnreadableSet();
};

namespace {
// The program with data of size * sin(4.6 k) / k and the Fit window open.
struct Fitting {
    Program program;
    QTemporaryDir dir;
    FitWindow* w = nullptr;
    explicit Fitting(double size = 0.5, const QStringList& arguments = {"tovik", "-e"})
        : program(arguments) {
        if (!program.openData(dir.filePath("data.chi"), size))
            return;
        program.main->actionFit->trigger();
        w = program.main->fitWindow;
    }
};

QVector<double> values(const AWave* wave) {
    return {wave->amplitude, wave->r, wave->sigma, wave->phi0, wave->phi1, wave->phi2};
}
} // namespace

void tst_FitWindow::fitApplyUndo() {
    Program program({"tovik", "-e"});
    QVERIFY(!program.main->actionFit->isEnabled());
    QTemporaryDir dir;
    // size * sin(4.6 k) / k: a shell at 2.3 Å with P0 = 0 and no damping.
    QVERIFY(program.openData(dir.filePath("data.chi"), 0.5));
    QVERIFY(program.main->actionFit->isEnabled());
    program.main->actionFit->trigger();
    FitWindow* w = program.main->fitWindow;
    QVERIFY(w && w->isVisible());
    QVERIFY(program.chiR()->fitRangeShown());

    AWave* wave = program.wave();
    const double before[] = {wave->amplitude, wave->r, wave->sigma, wave->phi0};
    QTest::mouseClick(w->FitButton, Qt::LeftButton);
    QVERIFY2(w->ApplyButton->isEnabled(), qPrintable(w->Report->toPlainText()));
    QVERIFY2(w->Report->toPlainText().contains("R (Å) = 2.3 ± "),
             qPrintable(w->Report->toPlainText()));

    int updates = 0;
    connect(wave, &AWave::updated, [&] { ++updates; });
    QTest::mouseClick(w->ApplyButton, Qt::LeftButton);
    QVERIFY(updates > 0);
    QVERIFY(std::abs(wave->r - 2.3) < 0.01);
    // The box shows what it has room for; the exact value is in its tooltip.
    QVERIFY(std::abs(wave->ctrl->RVal->text().toDouble() - wave->r) <= 1e-6 * wave->r);
    QVERIFY(wave->ctrl->RVal->toolTip().contains(
        QString::number(wave->r, 'g', QLocale::FloatingPointShortest)));
    QVERIFY(w->UndoButton->isEnabled());
    QTest::mouseClick(w->UndoButton, Qt::LeftButton);
    const double after[] = {wave->amplitude, wave->r, wave->sigma, wave->phi0};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(after[i], before[i]);

    // A range that is no range is refused and the box shows the band's.
    QTest::keyClick(w->RMinVal, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(w->RMinVal, "5");
    QTest::keyClick(w->RMinVal, Qt::Key_Return);
    QCOMPARE(w->RMinVal->text(), QString("1"));
    // New data make the last result stale: nothing to apply.
    QTest::mouseClick(w->FitButton, Qt::LeftButton);
    QVERIFY(w->ApplyButton->isEnabled());
    program.main->actionClearData->trigger();
    QVERIFY(!w->ApplyButton->isEnabled() && !w->FitButton->isEnabled());
    w->close();
    QVERIFY(!program.chiR()->fitRangeShown());
}

// The report has one line per parameter in the fit's order, under its label
// in the interface's language; amplitude, R, sigma and P0 are varied unless
// a box is cleared, P1 and P2 fixed unless one is checked.
void tst_FitWindow::reportNamesEachParameter_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("checkP2");
    QTest::addColumn<QStringList>("lines");
    const QStringList en{"N·S0² = * ± *", "R (Å) = * ± *",      "Sigma (Å) = * ± *",
                         "P0 = * ± *",    "P1 (Å) = 0 (fixed)", "P2 (Å²) = 0 (fixed)"};
    QTest::newRow("English") << "-e" << false << en;
    QStringList withP2 = en;
    withP2[5] = "P2 (Å²) = * ± *";
    QTest::newRow("English, P2 checked") << "-e" << true << withP2;
    QTest::newRow("Japanese") << "" << false
                              << QStringList{"N·S0² = * ± *",      "R (Å) = * ± *",
                                             "σ (Å) = * ± *",      "P0 = * ± *",
                                             "P1 (Å) = 0（固定）", "P2 (Å²) = 0（固定）"};
}

void tst_FitWindow::reportNamesEachParameter() {
    QFETCH(QString, language);
    QFETCH(bool, checkP2);
    QFETCH(QStringList, lines);
    QStringList arguments{"tovik"};
    if (!language.isEmpty())
        arguments << language;
    Program program(arguments);
    QTemporaryDir dir;
    QVERIFY(program.openData(dir.filePath("data.chi"), 0.5));
    program.main->actionFit->trigger();
    FitWindow* w = program.main->fitWindow;
    QVERIFY(w);
    if (checkP2) {
        // On the box's indicator: the middle of a wide check box is no button.
        QStyleOptionButton option;
        option.initFrom(w->VaryP2);
        const QRect indicator =
            w->VaryP2->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, w->VaryP2);
        QTest::mouseClick(w->VaryP2, Qt::LeftButton, {}, indicator.center());
        QVERIFY(w->VaryP2->isChecked());
    }
    QTest::mouseClick(w->FitButton, Qt::LeftButton);
    const QStringList shown = w->Report->toPlainText().split('\n');
    QVERIFY(shown.size() > lines.size());
    for (int i = 0; i < lines.size(); ++i) {
        const QRegularExpression pattern(QRegularExpression::wildcardToRegularExpression(lines[i]));
        QVERIFY2(pattern.match(shown[i]).hasMatch(), qPrintable(shown[i] + " is not " + lines[i]));
    }
}

// Data 40 times the model's largest amplitude: N·S0² ends on its limit,
// shown without an error and with the warning that the others' errors do
// not hold; sigma is shown with sigma².
void tst_FitWindow::reportAtLimit() {
    Fitting f(20);
    QVERIFY(f.w);
    QTest::mouseClick(f.w->FitButton, Qt::LeftButton);
    const QStringList lines = f.w->Report->toPlainText().split('\n');
    QVERIFY2(f.w->ApplyButton->isEnabled(), qPrintable(lines.join('\n')));
    QCOMPARE(lines.value(0), QString("N·S0² = 50 (at its limit)"));
    QVERIFY(lines.indexOf(QRegularExpression("^N·S0²(, .*)? ended at its limit: the errors of the "
                                             "other parameters do not hold then\\.$")) > 0);
    const QRegularExpression sigma(
        R"(^Sigma \(Å\) = (\S+)( ± \S+| \(at its limit\))   σ² = (\S+)( ± \S+)? Å²$)");
    const QRegularExpressionMatch m = sigma.match(lines.value(2));
    QVERIFY2(m.hasMatch(), qPrintable(lines.value(2)));
    const double value = m.captured(1).toDouble();
    QVERIFY(std::abs(m.captured(3).toDouble() - value * value) <= 1e-3 * value * value + 1e-12);
}

// The k range compared shows before any fit, and follows the window.
void tst_FitWindow::kRangeBeforeTheFit() {
    Fitting f;
    QVERIFY(f.w);
    AWave* wave = f.program.wave();
    const QVector<double> pos = wave->ctrl->WindowCtrl->positions;
    const QVector<double>& dataK = f.program.main->measured->dataK;
    const double high = std::min(pos.last(), dataK.last());
    QCOMPARE(f.w->KRangeLabel->text(),
             QString("k compared: %1 to %2 1/Å")
                 .arg(QString::number(std::max(pos.first(), dataK.first()), 'g', 4),
                      QString::number(high, 'g', 4)));
    wave->ctrl->WindowCtrl->setPos(0, 2.5);
    QVERIFY2(f.w->KRangeLabel->text().startsWith("k compared: 2.5 to "),
             qPrintable(f.w->KRangeLabel->text()));
    f.program.main->actionClearData->trigger();
    QCOMPARE(f.w->KRangeLabel->text(), QString("k compared: no data"));
}

// Each change of what a result was fitted to makes it stale: Apply goes off
// and the report says so first. A typed start value of a varied parameter
// changes nothing the result depends on.
void tst_FitWindow::staleness_data() {
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("stale");
    QTest::newRow("n") << "n" << true;
    QTest::newRow("window position") << "window" << true;
    QTest::newRow("Debye-Waller factor off") << "factor" << true;
    QTest::newRow("fixed P2 typed") << "P2" << true;
    QTest::newRow("extra shell") << "shell" << true;
    QTest::newRow("R range typed") << "range" << true;
    QTest::newRow("varied R typed") << "R" << false;
}

void tst_FitWindow::staleness() {
    QFETCH(QString, change);
    QFETCH(bool, stale);
    Fitting f;
    QVERIFY(f.w);
    AWave* wave = f.program.wave();
    WaveCtrl* ctrl = wave->ctrl;
    QTest::mouseClick(f.w->FitButton, Qt::LeftButton);
    QVERIFY(f.w->ApplyButton->isEnabled());
    if (change == "n")
        QTest::keyClick(ctrl->NBar, Qt::Key_Right);
    else if (change == "window")
        ctrl->WindowCtrl->setPos(0, ctrl->WindowCtrl->positions[0] + 0.5);
    else if (change == "factor")
        QTest::keyClick(ctrl->SelDebye, Qt::Key_Space);
    else if (change == "P2")
        typeInto(ctrl->Phi2Val, "0.1");
    else if (change == "shell")
        wave->setShells({{3.1, 0.5}});
    else if (change == "range")
        typeInto(f.w->RMaxVal, "3.5");
    else if (change == "R")
        typeInto(ctrl->RVal, "2.4");
    QCOMPARE(f.w->ApplyButton->isEnabled(), !stale);
    QCOMPARE(f.w->Report->toPlainText().startsWith("The model or the data changed since this fit"),
             stale);
    // A click on the disabled button changes nothing.
    const QVector<double> before = values(wave);
    QTest::mouseClick(f.w->ApplyButton, Qt::LeftButton);
    QCOMPARE(values(wave) == before, stale);
    if (stale) {
        // A new fit is applicable again.
        QTest::mouseClick(f.w->FitButton, Qt::LeftButton);
        QVERIFY2(f.w->ApplyButton->isEnabled(), qPrintable(f.w->Report->toPlainText()));
    }
}

// Apply, Apply again, Undo: the values from before the first Apply. Two
// different results applied are undone one at a time.
void tst_FitWindow::undoAfterTwoApplies() {
    Fitting f;
    QVERIFY(f.w);
    AWave* wave = f.program.wave();
    const QVector<double> start = values(wave);
    QTest::mouseClick(f.w->FitButton, Qt::LeftButton);
    QTest::mouseClick(f.w->ApplyButton, Qt::LeftButton);
    const QVector<double> fitted = values(wave);
    QVERIFY(fitted != start);
    QTest::mouseClick(f.w->ApplyButton, Qt::LeftButton);
    QCOMPARE(values(wave), fitted);
    QTest::mouseClick(f.w->UndoButton, Qt::LeftButton);
    QCOMPARE(values(wave), start);
    QVERIFY(!f.w->UndoButton->isEnabled());

    QTest::mouseClick(f.w->ApplyButton, Qt::LeftButton);
    QCOMPARE(values(wave), fitted);
    // A second fit with P2 varied from there, applied.
    f.w->VaryP2->setChecked(true);
    QTest::mouseClick(f.w->FitButton, Qt::LeftButton);
    QTest::mouseClick(f.w->ApplyButton, Qt::LeftButton);
    QVERIFY(values(wave) != fitted);
    QTest::mouseClick(f.w->UndoButton, Qt::LeftButton);
    QCOMPARE(values(wave), fitted);
    QVERIFY(f.w->UndoButton->isEnabled());
    QTest::mouseClick(f.w->UndoButton, Qt::LeftButton);
    QCOMPARE(values(wave), start);
}

// A refusal is worded again when the language changes.
void tst_FitWindow::refusalFollowsTheLanguage() {
    Fitting f;
    QVERIFY(f.w);
    typeInto(f.w->RMaxVal, "30");
    typeInto(f.w->RMinVal, "20");
    QTest::mouseClick(f.w->FitButton, Qt::LeftButton);
    QCOMPARE(f.w->Report->toPlainText(),
             QString("The fit cannot run: The R range starts beyond the transform, which ends "
                     "at 15.68 Å."));
    QVERIFY(!f.w->ApplyButton->isEnabled());
    f.program.main->actions->japanese->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    QCOMPARE(f.w->Report->toPlainText(),
             QString("フィットを実行できません: R の範囲が、15.68 Å で終わる変換より先から始まっ"
                     "ています。"));
}

// A scenario's "fit" part sets the Fit window and survives a save, whether
// or not the window was opened; what the window shows is what is saved.
void tst_FitWindow::scenarioKeepsTheFit() {
    Program program({"tovik", "-e"});
    QTemporaryDir dir;
    const QString in = dir.filePath("in.tovik.json");
    QFile file(in);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(R"({"format": "tovik-scenario", "version": 1,
                   "fit": {"vary": ["R", "P2"], "Rrange": [1.5, 2.75]}})");
    file.close();
    QVERIFY(program.main->files->openScenarioFile(in));
    auto savedFit = [&](const QString& name) {
        const QString path = dir.filePath(name);
        if (!program.main->files->saveScenarioFile(path))
            return QJsonObject();
        QFile saved(path);
        if (!saved.open(QIODevice::ReadOnly))
            return QJsonObject();
        return QJsonDocument::fromJson(saved.readAll()).object().value("fit").toObject();
    };
    const QJsonObject expected{{"vary", QJsonArray{"R", "P2"}}, {"Rrange", QJsonArray{1.5, 2.75}}};
    QCOMPARE(savedFit("closed.tovik.json"), expected);

    QVERIFY(program.openData(dir.filePath("data.chi"), 0.5));
    program.main->actionFit->trigger();
    FitWindow* w = program.main->fitWindow;
    QVERIFY(w);
    QCOMPARE(w->varied(), (QStringList{"R", "P2"}));
    QCOMPARE(w->RMinVal->text(), QString("1.5"));
    QCOMPARE(program.chiR()->fitRangeHigh(), 2.75);
    QTest::keyClick(w->VarySigma, Qt::Key_Space);
    typeInto(w->RMaxVal, "3.25");
    QCOMPARE(savedFit("open.tovik.json"), (QJsonObject{{"vary", QJsonArray{"R", "sigma", "P2"}},
                                                       {"Rrange", QJsonArray{1.5, 3.25}}}));
}

namespace {
// sigma² of an Einstein oscillator, from CODATA constants (not the
// program's): hbar² / (2 mu k_B theta) coth(theta / 2T), in Å².
double einsteinSigma2(double theta, double mu, double t) {
    const double hbar = 1.054571817e-34, kB = 1.380649e-23, u = 1.66053906660e-27;
    return hbar * hbar / (2 * mu * u * kB * theta) / std::tanh(theta / (2 * t)) * 1e20;
}

// A shell at 2.3 Å damped by exp(-2 sigma² k²): size e^(-2 s2 k²) sin(4.6 k) / k.
bool writeShell(const QString& path, double size, double sigma2) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    for (double k = 1; k < 14.5; k += 0.045)
        f.write(QByteArray::number(k, 'g', 17) + ' ' +
                QByteArray::number(size * std::exp(-2 * sigma2 * k * k) * std::sin(4.6 * k) / k,
                                   'g', 17) +
                '\n');
    return true;
}

// Answers the next message box (whenever it opens) and keeps its text.
void answerBox(QObject* context, QString* shown) {
    auto* timer = new QTimer(context);
    QObject::connect(timer, &QTimer::timeout, context, [timer, shown] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            *shown = box->text();
            box->accept();
            timer->deleteLater();
        }
    });
    timer->start(10);
}

// Add… clicked, the dialog answered with `path` (in the mu(E) filter when
// `mu`) as a user picks it.
bool addByDialog(FitWindow* w, const QString& path, bool mu = false) {
    bool answered = false;
    QTimer::singleShot(0, w, [&] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            if (mu)
                dialog->selectNameFilter(dialog->nameFilters().value(2));
            dialog->selectFile(path);
            answered = true;
            QMetaObject::invokeMethod(dialog, "accept");
        }
    });
    QTest::mouseClick(w->AddDataSet, Qt::LeftButton);
    return answered;
}

// A temperature typed into the table: a click on the cell, F2, the text,
// Return. Returns the text of a message box shown (empty for none).
QString typeTemperature(FitWindow* w, int row, const QString& text) {
    QTableWidget* table = w->DataSetTable;
    QString shown;
    auto* answer = new QObject(w);
    answerBox(answer, &shown);
    const QRect cell = table->visualItemRect(table->item(row, 1));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::keyClick(table, Qt::Key_F2);
    for (QLineEdit* editor : table->viewport()->findChildren<QLineEdit*>())
        if (editor->isVisible())
            typeInto(editor, text);
    QCoreApplication::processEvents();
    delete answer;
    return shown;
}

// The number the report gives after "label = ".
double reported(const QString& report, const QString& label) {
    for (const QString& line : report.split('\n'))
        if (line.startsWith(label + " = "))
            return line.mid(label.size() + 3).section(' ', 0, 0).toDouble();
    return std::nan("");
}
} // namespace

// Three temperatures fitted in the window as a user does it, against
// DataSetFit run directly on the same files: the report's θ_E and each
// set's sigma² and R-factor are the direct fit's; the Einstein rows also
// recover the θ_E the data were made with.
void tst_FitWindow::seriesAgainstDataSetFit_data() {
    QTest::addColumn<bool>("einstein");
    QTest::addColumn<double>("sigma2Static");
    QTest::addColumn<bool>("perSigma");
    QTest::newRow("free, sigma per set") << false << 0.0 << true;
    QTest::newRow("Einstein") << true << 0.0 << false;
    QTest::newRow("Einstein with a static part") << true << 0.002 << false;
}

void tst_FitWindow::seriesAgainstDataSetFit() {
    QFETCH(bool, einstein);
    QFETCH(double, sigma2Static);
    QFETCH(bool, perSigma);
    const double theta = 230, mu = 31.773;
    const double temperatures[] = {10, 150, 300};
    Program program({"tovik", "-e"});
    QTemporaryDir dir;
    QStringList files;
    for (int i = 0; i < 3; ++i) {
        files << dir.filePath(QString("t%1.chi").arg(temperatures[i]));
        QVERIFY(
            writeShell(files[i], 0.5, einsteinSigma2(theta, mu, temperatures[i]) + sigma2Static));
    }
    QVERIFY(program.main->files->openDataFile(files[0]));
    // The start a user reads off the chi(R) peak.
    typeInto(program.wave()->ctrl->RVal, "2.3");
    program.main->actionFit->trigger();
    FitWindow* w = program.main->fitWindow;
    QVERIFY(w);
    QVERIFY(!w->RemoveDataSet->isEnabled());
    for (int i = 1; i < 3; ++i)
        QVERIFY(addByDialog(w, files[i]));
    QCOMPARE(w->DataSetTable->rowCount(), 3);
    QCOMPARE(w->DataSetTable->item(2, 0)->text(), QString("t300.chi"));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(typeTemperature(w, i, QString::number(temperatures[i])), QString());
    QCOMPARE(w->DataSetTable->item(1, 1)->text(), QString("150"));
    if (einstein) {
        w->SigmaModel->setFocus();
        QTest::keyClick(w->SigmaModel, Qt::Key_Down);
        QCOMPARE(w->SigmaModel->currentIndex(), 1);
        QVERIFY(!w->VarySigma->isEnabled());
        typeInto(w->ReducedMassVal, QString::number(mu));
        typeInto(w->ThetaEVal, "300");
        if (sigma2Static > 0)
            QTest::mouseClick(w->VarySigma2Static, Qt::LeftButton);
    }
    if (perSigma)
        QTest::mouseClick(w->PerSigma, Qt::LeftButton);
    QTest::mouseClick(w->FitButton, Qt::LeftButton);
    const QString report = w->Report->toPlainText();
    QVERIFY2(w->ApplyButton->isEnabled(), qPrintable(report));

    // The same problem, built directly.
    std::vector<fit::DataSet> sets;
    for (int i = 0; i < 3; ++i) {
        fit::DataSet d;
        d.file = QFileInfo(files[i]).fileName();
        d.temperature = temperatures[i];
        d.inputs = fitInputs(*program.wave(), *program.main->measured);
        QString error;
        QVERIFY(ChiDataReader::readFile(files[i], &d.inputs.dataK, &d.inputs.dataChi, &error));
        sets.push_back(d);
    }
    fit::DataSetFitOptions options;
    options.varied = fit::FitProblem::defaultVaried(false);
    if (einstein) {
        options.varied.removeAll("sigma");
        options.varied << "thetaE";
        if (sigma2Static > 0)
            options.varied << "sigma2Static";
        options.sigmaModel = fit::SigmaModel::Einstein;
        options.reducedMass = mu;
        options.thetaE = 300;
    }
    if (perSigma)
        options.perDataset << "sigma";
    const fit::SeriesResult direct = fit::DataSetFit(sets, options).run();
    QVERIFY(direct.result.ok);
    for (int i = 0; i < 3; ++i) {
        const fit::DataSetResult& d = direct.dataSets[size_t(i)];
        const QString line =
            QString("Data set %1 (t%2.chi, %2 K): ").arg(i + 1).arg(temperatures[i]);
        QVERIFY2(report.contains(line + QString("σ² = %1 ± %2 Å²   R-factor: %3")
                                            .arg(QString::number(d.sigma2, 'g', 4),
                                                 QString::number(d.sigma2Error, 'g', 2),
                                                 QString::number(d.rFactor, 'g', 4))),
                 qPrintable(report));
        // The sets' sigma² follow the temperatures they were made at.
        const double truth = einsteinSigma2(theta, mu, temperatures[i]) + sigma2Static;
        QVERIFY2(std::abs(d.sigma2 - truth) < 0.02 * truth,
                 qPrintable(QString("%1 against %2\n").arg(d.sigma2).arg(truth) + report));
    }
    QVERIFY(report.contains(QString("Independent points: %1 (the sum over the data sets)")
                                .arg(QString::number(direct.context.independentPoints, 'f', 1))));
    if (einstein) {
        const double shown = reported(report, "θ_E (K)");
        double directTheta = 0;
        for (const fit::Parameter& p : direct.result.best)
            if (p.name == "thetaE")
                directTheta = p.value;
        QCOMPARE(QString::number(shown, 'g', 6), QString::number(directTheta, 'g', 6));
        QVERIFY2(std::abs(shown - theta) < 0.01 * theta, qPrintable(report));
        // The sigma²(T) view: a value per set and the model's curve.
        QVERIFY(w->sigma2View->isVisible());
        QCOMPARE(int(w->sigma2View->inputs().temperature.size()), 3);
        QCOMPARE(w->sigma2View->inputs().sigma2[1], direct.dataSets[1].sigma2);
        QVERIFY(!w->sigma2View->inputs().model.empty());
    }
    // Apply puts the first set's values on the sliders.
    QTest::mouseClick(w->ApplyButton, Qt::LeftButton);
    QCOMPARE(program.wave()->sigma, direct.dataSets[0].values[2]);
    QCOMPARE(program.wave()->r, direct.dataSets[0].values[1]);
}

// Bad series input: each refusal names the data set; nothing is fitted.
void tst_FitWindow::seriesRefusals_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("einstein");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("report");
    QTest::newRow("a word") << "warm" << false
                            << "Data set 2 (b.chi): type its temperature in K as a number above "
                               "0, or leave it empty."
                            << "";
    QTest::newRow("below 0") << "-5" << false << "Data set 2 (b.chi): type its temperature"
                             << "";
    QTest::newRow("zero") << "0" << false << "Data set 2 (b.chi): type its temperature"
                          << "";
    QTest::newRow("missing with Einstein")
        << "" << true << ""
        << "Data set 2 (b.chi): its temperature must be given, above 0 K.";
}

void tst_FitWindow::seriesRefusals() {
    QFETCH(QString, typed);
    QFETCH(bool, einstein);
    QFETCH(QString, box);
    QFETCH(QString, report);
    Fitting f;
    QVERIFY(f.w);
    QVERIFY(writeShell(f.dir.filePath("b.chi"), 0.5, 0.003));
    QVERIFY(addByDialog(f.w, f.dir.filePath("b.chi")));
    QCOMPARE(typeTemperature(f.w, 0, "10"), QString());
    if (!typed.isEmpty()) {
        QVERIFY(typeTemperature(f.w, 1, typed).startsWith(box));
        // The cell shows what it held before.
        QCOMPARE(f.w->DataSetTable->item(1, 1)->text(), QString());
    }
    if (einstein) {
        f.w->SigmaModel->setCurrentIndex(1);
        typeInto(f.w->ReducedMassVal, "31.773");
    }
    QTest::mouseClick(f.w->FitButton, Qt::LeftButton);
    if (!report.isEmpty()) {
        QVERIFY2(f.w->Report->toPlainText().contains(report),
                 qPrintable(f.w->Report->toPlainText()));
        QVERIFY(!f.w->ApplyButton->isEnabled());
    }
    // Einstein without a path or a typed mass is refused too.
    f.w->SigmaModel->setCurrentIndex(1);
    QTest::keyClick(f.w->ReducedMassVal, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(f.w->ReducedMassVal, Qt::Key_Backspace);
    QTest::mouseClick(f.w->FitButton, Qt::LeftButton);
    QVERIFY2(f.w->Report->toPlainText().contains("needs the pair's reduced mass"),
             qPrintable(f.w->Report->toPlainText()));
}

// A mu(E) file added in the mu(E) filter is processed as the program
// processes a loaded one; an unreadable one is refused in a box naming it;
// Remove takes a row out, never the first.
void tst_FitWindow::muDataSetAndRemove() {
    Fitting f;
    QVERIFY(f.w);
    const QString mu = Lessons::folder() + "/09-cu_10k.xmu";
    QVERIFY(addByDialog(f.w, mu, true));
    QCOMPARE(f.w->extraSets().size(), 1);
    AbsorptionState::Loaded expected;
    QString error;
    QVERIFY(AbsorptionState::load(mu, std::nullopt, AbsorptionSettings(), &expected, &error));
    QCOMPARE(f.w->extraSets()[0].k, expected.result.k);
    QCOMPARE(f.w->extraSets()[0].chi, expected.result.chi);
    QCOMPARE(f.w->extraSets()[0].entry.muFile, QFileInfo(mu).absoluteFilePath());

    QFile bad(f.dir.filePath("bad.chi"));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("1 2\n0.5 3\n");
    bad.close();
    QString shown;
    auto* answer = new QObject(f.w);
    answerBox(answer, &shown);
    QVERIFY(addByDialog(f.w, bad.fileName()));
    delete answer;
    QVERIFY2(shown.startsWith("Data set 3 (bad.chi) cannot be added: "), qPrintable(shown));
    QCOMPARE(f.w->DataSetTable->rowCount(), 2);

    QTableWidget* table = f.w->DataSetTable;
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                      table->visualItemRect(table->item(0, 0)).center());
    QVERIFY(!f.w->RemoveDataSet->isEnabled());
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                      table->visualItemRect(table->item(1, 0)).center());
    QVERIFY(f.w->RemoveDataSet->isEnabled());
    QTest::mouseClick(f.w->RemoveDataSet, Qt::LeftButton);
    QCOMPARE(table->rowCount(), 1);
    QVERIFY(f.w->extraSets().isEmpty());
}

// With "Show all data sets" a second set, three times the first's size,
// is drawn in its own colour where its curve maps on chi(k), and its
// transform peaks in that colour at 2.3 Å on chi(R); off, the colour is
// gone.
void tst_FitWindow::showAllDataSets() {
    Fitting f;
    QVERIFY(f.w);
    QVERIFY(writeShell(f.dir.filePath("big.chi"), 1.5, 0));
    QVERIFY(addByDialog(f.w, f.dir.filePath("big.chi")));
    QTest::mouseClick(f.w->FitButton, Qt::LeftButton);
    QVERIFY2(f.w->ApplyButton->isEnabled(), qPrintable(f.w->Report->toPlainText()));
    const QRgb colour = Palette::dataSet(1).rgb();
    auto image = [](QWidget* w) {
        return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    auto count = [&](const QImage& img) {
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                n += img.pixel(x, y) == colour;
        return n;
    };
    ChiK* main = f.program.main;
    ChiR* chiR = f.program.chiR();
    QCOMPARE(count(image(main->DispA)), 0);
    QTest::mouseClick(f.w->ShowAllSets, Qt::LeftButton);
    QVERIFY(main->series->isShown());
    const QImage k = image(main->DispA);
    // At the troughs of 1.5 sin(4.6 k) / k weighted by k^n (normalised by
    // the wave's divisor), beyond every other curve and below the key.
    const AWave* wave = f.program.wave();
    int found = 0, tried = 0;
    for (int m = 2; m < 12; ++m) {
        // The curve is a polyline through the program's grid: the grid point
        // nearest the trough is a vertex of it.
        const double trough = (3 * M_PI / 2 + 2 * M_PI * m) / 4.6;
        const double step = wave->kValues[1] - wave->kValues[0];
        const double kk = std::round(trough / step) * step;
        // Where the window is 1 and the data were written (to 14.5 1/Å).
        if (kk < wave->ctrl->WindowCtrl->positions[1] ||
            kk > wave->ctrl->WindowCtrl->positions[2] || kk > 14.4)
            continue;
        const double value = 1.5 * std::sin(4.6 * kk) / kk * std::pow(kk, wave->n) / wave->divisor;
        const int x = int(main->DispA->coord.toPixelX(kk));
        const int y = int(main->DispA->coord.toPixelY(value));
        ++tried;
        found += colourNear(k, QPoint(x, y), colour, 2, 2);
    }
    QVERIFY2(tried >= 3 && found == tried, qPrintable(QString("%1 of %2").arg(found).arg(tried)));
    // chi(R): the highest pixel of the colour is the set's peak near 2.3 Å.
    const QImage r = image(chiR->DispA);
    int top = r.height(), topX = -1;
    for (int y = 0; y < r.height() && topX < 0; ++y)
        for (int x = 0; x < r.width(); ++x)
            if (r.pixel(x, y) == colour) {
                top = y;
                topX = x;
                break;
            }
    QVERIFY(topX >= 0);
    QVERIFY2(std::abs(chiR->coord->toWorldX(topX) - 2.3) < 0.25,
             qPrintable(QString::number(chiR->coord->toWorldX(topX))));
    QVERIFY(top < r.height() / 2);
    QTest::mouseClick(f.w->ShowAllSets, Qt::LeftButton);
    QCOMPARE(count(image(main->DispA)), 0);
    QCOMPARE(count(image(chiR->DispA)), 0);
}

// The window's series goes into the program's state and through a scenario
// file back: the sets after the loaded data, their temperatures, the model
// and its starts.
void tst_FitWindow::seriesStateRoundTrip() {
    Fitting f;
    QVERIFY(f.w);
    QVERIFY(writeShell(f.dir.filePath("b.chi"), 0.5, 0.003));
    QVERIFY(addByDialog(f.w, f.dir.filePath("b.chi")));
    typeTemperature(f.w, 0, "10");
    typeTemperature(f.w, 1, "150");
    f.w->SigmaModel->setCurrentIndex(1);
    typeInto(f.w->ThetaEVal, "250");
    typeInto(f.w->ReducedMassVal, "31.773");
    QTest::mouseClick(f.w->PerAmplitude, Qt::LeftButton);
    const Scenario saved = f.program.main->currentState();
    QCOMPARE(saved.fitDataSets.size(), 2);
    QCOMPARE(saved.fitDataSets[0].dataFile, f.program.main->measured->path);
    QCOMPARE(saved.fitDataSets[0].temperature, 10.0);
    QCOMPARE(saved.fitDataSets[1].dataFile, QFileInfo(f.dir.filePath("b.chi")).absoluteFilePath());
    QCOMPARE(saved.fitDataSets[1].temperature, 150.0);
    QVERIFY(saved.fitSigmaModel == Scenario::SigmaModelChoice::Einstein);
    QCOMPARE(saved.fitPerDataset, QStringList{"amplitude"});
    QCOMPARE(saved.fitThetaE, 250.0);
    QCOMPARE(saved.fitReducedMass, 31.773);
    QVERIFY(saved.fitVary.contains("thetaE") && !saved.fitVary.contains("sigma"));

    // Through a file: saved, the window cleared, the file opened again.
    const QString file = f.dir.filePath("series.tovik.json");
    QVERIFY(f.program.main->files->saveScenarioFile(file));
    QTest::mouseClick(f.w->DataSetTable->viewport(), Qt::LeftButton, {},
                      f.w->DataSetTable->visualItemRect(f.w->DataSetTable->item(1, 0)).center());
    QTest::mouseClick(f.w->RemoveDataSet, Qt::LeftButton);
    f.w->SigmaModel->setCurrentIndex(0);
    f.program.main->actionClearData->trigger();
    QCOMPARE(f.w->DataSetTable->rowCount(), 1);
    QVERIFY(std::isnan(f.w->firstTemperature()));
    QVERIFY(f.program.main->files->openScenarioFile(file));
    QCOMPARE(f.w->DataSetTable->rowCount(), 2);
    QCOMPARE(f.w->DataSetTable->item(0, 1)->text(), QString("10"));
    QCOMPARE(f.w->extraSets()[0].entry.dataFile, saved.fitDataSets[1].dataFile);
    QCOMPARE(f.w->SigmaModel->currentIndex(), 1);
    QCOMPARE(f.w->ThetaEVal->text(), QString("250"));
    QVERIFY(f.w->PerAmplitude->isChecked() && !f.w->PerR->isChecked());
}

// A series result belongs to its sets' temperatures as much as to their
// data: a typed temperature makes it stale; a varied start typed does not.
void tst_FitWindow::seriesStaleness() {
    Fitting f;
    QVERIFY(f.w);
    QVERIFY(writeShell(f.dir.filePath("b.chi"), 0.5, 0.004));
    QVERIFY(addByDialog(f.w, f.dir.filePath("b.chi")));
    typeTemperature(f.w, 0, "10");
    typeTemperature(f.w, 1, "150");
    f.w->SigmaModel->setCurrentIndex(1);
    typeInto(f.w->ReducedMassVal, "31.773");
    QTest::mouseClick(f.w->FitButton, Qt::LeftButton);
    QVERIFY2(f.w->ApplyButton->isEnabled(), qPrintable(f.w->Report->toPlainText()));
    typeInto(f.program.wave()->ctrl->RVal, "2.2");
    QVERIFY(f.w->ApplyButton->isEnabled());
    typeTemperature(f.w, 1, "200");
    QVERIFY(!f.w->ApplyButton->isEnabled());
    QVERIFY(f.w->Report->toPlainText().startsWith("The model or the data changed"));
}

// A scenario whose second data set cannot be read is refused whole, in a
// box naming the set: the model and the table stay as they were.
void tst_FitWindow::scenarioWithAnUnreadableSet() {
    Fitting f;
    QVERIFY(f.w);
    QFile file(f.dir.filePath("series.tovik.json"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(R"({"format": "tovik-scenario", "version": 1, "R": 2.7, "data": "data.chi",
                   "fit": {"datasets": [{"data": "data.chi", "temperature": 10},
                                        {"data": "missing.chi", "temperature": 150}]}})");
    file.close();
    const double r = f.program.wave()->r;
    QString shown;
    auto* answer = new QObject(f.w);
    answerBox(answer, &shown);
    QVERIFY(!f.program.main->files->openScenarioFile(file.fileName()));
    delete answer;
    QVERIFY2(shown.startsWith("Data set 2 (missing.chi): "), qPrintable(shown));
    QCOMPARE(f.program.wave()->r, r);
    QCOMPARE(f.w->DataSetTable->rowCount(), 1);
}

QTEST_MAIN(tst_FitWindow)
#include "tst_FitWindow.moc"
