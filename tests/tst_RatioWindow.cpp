#include "Program.h"

#include "FitWindow.h"
#include "HeldCurves.h"
#include "MeasuredCurve.h"
#include "RatioWindow.h"
#include "ShellFile.h"
#include "ViewOptions.h"

#include <QComboBox>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

// View > Ratio…: the ratio method between the loaded data and the model or
// a held curve's data, against the closed form on shells made by the
// textbook formula.
class tst_RatioWindow : public QObject {
    Q_OBJECT
private slots:
    void againstTheClosedForm_data();
    void againstTheClosedForm();
    void typedRangeAndRefusals();
};

void tst_RatioWindow::againstTheClosedForm_data() {
    QTest::addColumn<QString>("against"); // model, held or set
    QTest::addColumn<double>("n1");
    QTest::addColumn<double>("s1"); // sigma² of the loaded data, Å²
    QTest::addColumn<double>("n2");
    QTest::addColumn<double>("s2");
    QTest::newRow("data against the model") << "model" << 12.0 << 0.003 << 12.0 << 0.005;
    QTest::newRow("data against held data") << "held" << 8.0 << 0.003 << 12.0 << 0.005;
    QTest::newRow("data against a data set") << "set" << 8.0 << 0.003 << 12.0 << 0.005;
}

void tst_RatioWindow::againstTheClosedForm() {
    QFETCH(QString, against);
    QFETCH(double, n1);
    QFETCH(double, s1);
    QFETCH(double, n2);
    QFETCH(double, s2);
    const double r = 2.3;
    QTemporaryDir dir;
    Program program;
    program.main->view->setPhysical(true);
    AWave* wave = program.wave();
    QVERIFY(wave->setParameter(AWave::Parameter::R, r));
    QVERIFY(wave->setParameter(AWave::Parameter::Sigma, std::sqrt(s2)));
    QVERIFY(wave->setParameter(AWave::Parameter::Amplitude, n2));
    const QString second = dir.filePath(QStringLiteral("second.chi"));
    const QString first = dir.filePath(QStringLiteral("first.chi"));
    QVERIFY(writeShellFile(second, n2, s2, r));
    QVERIFY(writeShellFile(first, n1, s1, r));
    if (against == "held") {
        QVERIFY(program.main->files->openDataFile(second));
        program.main->held->hold(*wave, Scenario(), program.main->measured);
    }
    QVERIFY(program.main->files->openDataFile(first));
    if (against == "set") {
        program.main->actionFit->trigger();
        QString error;
        QVERIFY2(program.main->fitWindow->addDataSet(second, false, &error), qPrintable(error));
    }

    program.main->actionRatio->trigger();
    RatioWindow* w = program.main->ratioWindow;
    QVERIFY(w && w->isVisible());
    if (against != "model") {
        QCOMPARE(w->Source->count(), 2);
        w->Source->setCurrentIndex(1);
        emit w->Source->activated(1);
    }
    QVERIFY2(w->last.ok, qPrintable(w->last.error));
    const fit::RatioResult& res = w->last.result;
    QVERIFY2(std::abs(res.deltaSigma2.value - (s1 - s2)) < 2e-5,
             qPrintable(QString::number(res.deltaSigma2.value)));
    QVERIFY(std::abs(res.lnAmplitudeRatio.value - std::log(n1 / n2)) < 2e-3);
    QVERIFY(std::abs(res.deltaR.value) < 1e-3);
    QVERIFY(w->Report->text().contains(QString::number(res.deltaSigma2.value, 'g', 4)));

    // The R window moved on chi(R): the window follows at once.
    program.chiR()->setRWindow({1.6, 1.9, 2.8, 3.1});
    QCOMPARE(w->last.context.rWindow, (WindowPositions{1.6, 1.9, 2.8, 3.1}));
    QVERIFY(w->last.ok);
}

void tst_RatioWindow::typedRangeAndRefusals() {
    QTemporaryDir dir;
    Program program;
    program.main->actionRatio->trigger();
    RatioWindow* w = program.main->ratioWindow;
    // No data yet.
    QVERIFY(!w->last.ok);
    QVERIFY(w->Report->text().startsWith(QStringLiteral("No ratio")));
    const QString data = dir.filePath(QStringLiteral("data.chi"));
    QVERIFY(writeShellFile(data, 12, 0.003, 2.3));
    QVERIFY(program.main->files->openDataFile(data));
    // Normalised, the model has no size of its own to compare.
    QVERIFY(!w->last.ok);
    QVERIFY(w->last.error.contains(QStringLiteral("physical")));
    program.main->view->setPhysical(true);
    QVERIFY(w->last.ok);
    QCOMPARE(w->last.result.k.size(), 81); // 4 ... 12 on the 0.1 grid

    // Typed: 5 to 10 Å^-1 gives 51 points and is kept for a scenario.
    typeInto(w->KMin, QStringLiteral("5"));
    typeInto(w->KMax, QStringLiteral("10"));
    QVERIFY(w->last.ok);
    QCOMPARE(w->last.result.k.size(), 51);
    QCOMPARE(program.chiR()->ratioKMin, 5.0);
    // A reversed range is refused and the last one shown again.
    typeInto(w->KMin, QStringLiteral("11"));
    QCOMPARE(w->KMin->text(), QStringLiteral("5"));
    QCOMPARE(w->last.result.k.size(), 51);
    // A range beyond the filtered spectra is refused with the reason.
    typeInto(w->KMax, QStringLiteral("30"));
    QVERIFY(!w->last.ok);
    QVERIFY(w->Report->text().contains(QStringLiteral("beyond")));
}

QTEST_MAIN(tst_RatioWindow)
#include "tst_RatioWindow.moc"
