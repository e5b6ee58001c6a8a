#include "FitWindow.h"
#include "Program.h"
#include "WaveCtrl.h"

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
    QVERIFY2(w->Report->toPlainText().contains("R (Å) = 2.3 ± "), qPrintable(w->Report->toPlainText()));

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

QTEST_MAIN(tst_FitWindow)
#include "tst_FitWindow.moc"
