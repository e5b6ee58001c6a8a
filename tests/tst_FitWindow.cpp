#include "FitWindow.h"
#include "Program.h"
#include "WaveCtrl.h"

#include <QtTest>

// The Fit window as a user drives it: data opened, View > Fit…, a click on
// Fit, Apply puts the best values into the model exactly, Undo takes them
// back; the R range shows as a band on chi(R) while the window is open.
class tst_FitWindow : public QObject {
    Q_OBJECT
private slots:
    void fitApplyUndo();
};

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
    QVERIFY(w->Report->toPlainText().contains("R (Å) = 2.29"));

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

QTEST_MAIN(tst_FitWindow)
#include "tst_FitWindow.moc"
