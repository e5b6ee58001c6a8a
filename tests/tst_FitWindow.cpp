#include "FitWindow.h"
#include "MeasuredCurve.h"
#include "Program.h"
#include "WaveCtrl.h"

#include "Actions.h"
#include "ChiR.h"
#include "WindowFunc.h"

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
    QCOMPARE(wave->ctrl->RVal->text(),
             QString::number(wave->r, 'g', QLocale::FloatingPointShortest));
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

QTEST_MAIN(tst_FitWindow)
#include "tst_FitWindow.moc"
