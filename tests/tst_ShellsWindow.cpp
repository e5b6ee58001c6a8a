#include "Program.h"
#include "ProgramState.h"
#include "Scenario.h"
#include "ShellsWindow.h"
#include "WaveCtrl.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <functional>
#include <utility>

// Extra shells through the real tool window: each change announced once
// and painted once on both plots, the rows following the wave, the marks
// on chi(R), scenarios and the windowless export.
class tst_ShellsWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void opensFromTheViewMenu();
    void opensLargeEnoughForItsRows();
    void addMoveRemove();
    void limitsAndTypedValues();
    void mainShellAmplitudeAndPhase_data();
    void mainShellAmplitudeAndPhase();
    void mainSlidersReachTheirEnds_data();
    void mainSlidersReachTheirEnds();
    void marksOnChiR();
    void scenarioThroughTheWindow();
    void resolutionExports_data();
    void resolutionExports();

private:
    // Runs `act` and checks it made one update and one paint of each plot.
    void oneChange(const std::function<void()>& act, const char* what);
    QImage grabR() const {
        return program->chiR()->DispA->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    QVector<Shell> shells() const { return program->wave()->shells; }

    Program* program = nullptr;
    ShellsWindow* w = nullptr;
    int paintsK = 0;
    int paintsR = 0;
};

Q_DECLARE_METATYPE(QVector<Shell>)

namespace {

// Every array and spectrum of a wave, as bits.
QVector<quint64> state(const AWave& a) {
    QVector<quint64> out;
    auto add = [&out](const double* v, int n) {
        for (int i = 0; i < n; ++i) {
            quint64 b;
            std::memcpy(&b, &v[i], sizeof b);
            out << b;
        }
    };
    for (const QVector<double>* v : {&a.chi, &a.oscillation, &a.kValues, &a.envelopeValues,
                                     &a.windowValues, &a.debyeWallerValues})
        add(v->constData(), v->size());
    for (const double* s :
         {a.chiSpectrum.get(), a.oscillationSpectrum.get(), a.envelopeSpectrum.get(),
          a.windowSpectrum.get(), a.debyeWallerSpectrum.get()})
        add(s, a.fftLength);
    return out;
}

} // namespace

void tst_ShellsWindow::init() {
    program = new Program;
    program->chiR()->resize(800, 600);
    QVERIFY(QTest::qWaitForWindowExposed(program->main));
    QVERIFY(QTest::qWaitForWindowExposed(program->chiR()));
    paintsK = paintsR = 0;
    connect(program->main->DispA, &DispArea::draw, this, [this](QPainter*) { ++paintsK; });
    connect(program->chiR()->DispA, &DispArea::draw, this, [this](QPainter*) { ++paintsR; });
    if (QTest::currentTestFunction() != QByteArray("opensFromTheViewMenu") &&
        QTest::currentTestFunction() != QByteArray("opensLargeEnoughForItsRows")) {
        program->main->actionShells->trigger();
        w = program->main->shellsWindow;
        QVERIFY(QTest::qWaitForWindowExposed(w));
    }
}

void tst_ShellsWindow::cleanup() {
    delete program;
    program = nullptr;
    w = nullptr;
}

void tst_ShellsWindow::oneChange(const std::function<void()>& act, const char* what) {
    QTest::qWait(30);
    QSignalSpy updated(program->wave(), SIGNAL(updated()));
    paintsK = paintsR = 0;
    act();
    QTest::qWait(60);
    QVERIFY2(updated.count() == 1, what);
    QVERIFY2(paintsK == 1 && paintsR == 1,
             qPrintable(QString("%1: %2 and %3 paints").arg(what).arg(paintsK).arg(paintsR)));
}

// View > Shells… makes and shows the one tool window, absent at start; the
// chi(R) window's View menu has no such entry.
void tst_ShellsWindow::opensFromTheViewMenu() {
    QVERIFY(!program->main->shellsWindow);
    QAction* entry = nullptr;
    for (QAction* a : program->main->menuView->actions())
        if (a->text() == QStringLiteral("S&hells…"))
            entry = a;
    QVERIFY(entry);
    entry->trigger();
    w = program->main->shellsWindow;
    QVERIFY(w && QTest::qWaitForWindowExposed(w));
    QCOMPARE(w->windowType(), Qt::Tool);
    QCOMPARE(w->windowTitle(), QStringLiteral("Shells"));
    entry->trigger();
    QCOMPARE(program->main->findChildren<ShellsWindow*>().size(), 1);
    QVERIFY(w->NoShells->isVisible());
    QVERIFY(w->rows.isEmpty());
    QCOMPARE(w->MainShell->text(), QStringLiteral("Main shell: R = 2 Å"));
    for (QAction* a : program->chiR()->menuView->actions())
        QVERIFY(!a->text().contains(QStringLiteral("hells")));
}

// A scenario with shells opened before the window: every row shows whole.
void tst_ShellsWindow::opensLargeEnoughForItsRows() {
    program->wave()->setShells({{2.4, 1}, {2.8, 0.5}, {0, 1}});
    program->main->actionShells->trigger();
    ShellsWindow* shown = program->main->shellsWindow;
    QVERIFY(QTest::qWaitForWindowExposed(shown));
    QCOMPARE(shown->rows.size(), 3);
    for (const ShellRow* row : std::as_const(shown->rows)) {
        QVERIFY(row->height() >= row->sizeHint().height());
        QVERIFY(shown->rect().contains(QRect(row->mapTo(shown, QPoint()), row->size())));
    }
}

void tst_ShellsWindow::addMoveRemove() {
    const QVector<quint64> before = state(*program->wave());

    oneChange([this] { QTest::mouseClick(w->AddShell, Qt::LeftButton); }, "add");
    QCOMPARE(shells(), (QVector<Shell>{{2.4, 1.0}}));
    QCOMPARE(w->rows.size(), 1);
    QCOMPARE(w->rows[0]->rVal->text(), QStringLiteral("2.4"));
    QVERIFY(!w->NoShells->isVisible());

    oneChange([this] { QTest::keyClick(w->rows[0]->rBar, Qt::Key_Right); }, "R slider");
    QCOMPARE(shells(), (QVector<Shell>{{2.5, 1.0}}));
    QCOMPARE(w->rows[0]->rVal->text(), QStringLiteral("2.5"));
    oneChange([this] { QTest::keyClick(w->rows[0]->amplitudeBar, Qt::Key_PageDown); },
              "amplitude slider");
    QCOMPARE(shells(), (QVector<Shell>{{2.5, 0.5}}));
    // A typed value is kept exactly; the slider points at its nearest step.
    oneChange([this] { typeInto(w->rows[0]->amplitudeVal, "0.83"); }, "typed amplitude");
    QCOMPARE(shells(), (QVector<Shell>{{2.5, 0.83}}));
    QCOMPARE(w->rows[0]->amplitudeVal->text(), QStringLiteral("0.83"));
    QCOMPARE(w->rows[0]->amplitudeBar->value(), 17);

    oneChange([this] { program->wave()->ctrl->RBar->setValue(30); }, "main R");
    QCOMPARE(w->MainShell->text(), QStringLiteral("Main shell: R = 3 Å"));
    oneChange([this] { QTest::mouseClick(w->AddShell, Qt::LeftButton); }, "second");
    oneChange([this] { w->rows[1]->amplitudeBar->setValue(30); }, "second's amplitude");
    oneChange([this] { QTest::mouseClick(w->AddShell, Qt::LeftButton); }, "third");
    QCOMPARE(shells(), (QVector<Shell>{{2.5, 0.83}, {3.4, 1.5}, {3.4, 1.0}}));
    QVERIFY(!w->AddShell->isEnabled());

    // The middle one goes; the others keep their order and values.
    oneChange([this] { QTest::mouseClick(w->rows[1]->remove, Qt::LeftButton); }, "remove");
    QCOMPARE(shells(), (QVector<Shell>{{2.5, 0.83}, {3.4, 1.0}}));
    QCOMPARE(w->rows.size(), 2);
    QCOMPARE(w->rows[1]->rVal->text(), QStringLiteral("3.4"));
    QCOMPARE(w->rows[1]->amplitudeBar->value(), 20);
    QVERIFY(w->AddShell->isEnabled());
    for (int i = 0; i < 2; ++i)
        oneChange([this] { QTest::mouseClick(w->rows.last()->remove, Qt::LeftButton); },
                  "remove the rest");
    QVERIFY(w->rows.isEmpty() && w->NoShells->isVisible());

    oneChange([this] { program->wave()->ctrl->RBar->setValue(20); }, "main R back");
    QVERIFY(state(*program->wave()) == before);
}

// Add holds the new shell on the R slider; R = 0 leaves a shell out of
// the sum and says so; typed values outside a slider change nothing.
void tst_ShellsWindow::limitsAndTypedValues() {
    program->wave()->ctrl->RBar->setValue(98);
    const QVector<quint64> mainOnly = state(*program->wave());
    QTest::mouseClick(w->AddShell, Qt::LeftButton);
    QCOMPARE(shells(), (QVector<Shell>{{10.0, 1.0}}));
    ShellRow* row = w->rows[0];
    QVERIFY(!row->leftOut->isVisible());

    oneChange([row] { QTest::keyClick(row->rBar, Qt::Key_Home); }, "R to 0");
    QCOMPARE(shells()[0].r, 0.0);
    QVERIFY(row->leftOut->isVisible());
    QVERIFY(state(*program->wave()) == mainOnly);

    QSignalSpy updated(program->wave(), SIGNAL(updated()));
    for (const char* bad : {"10.5", "-0.1", "two", ""})
        typeInto(row->rVal, bad);
    typeInto(row->amplitudeVal, "2.01");
    QCOMPARE(updated.count(), 0);
    QCOMPARE(row->rVal->text(), QStringLiteral("0"));
    QCOMPARE(row->amplitudeVal->text(), QStringLiteral("1"));
    oneChange([row] { typeInto(row->rVal, "2.87"); }, "typed R");
    QCOMPARE(shells(), (QVector<Shell>{{2.87, 1.0}}));
    QCOMPARE(row->rBar->value(), 29);
    QVERIFY(!row->leftOut->isVisible());
}

// The main shell's A and P1: typed values are kept exactly, a slider sets
// its step, each change is one update and one paint; anything else changes
// nothing. The panel's formula names the term once it is in use.
void tst_ShellsWindow::mainShellAmplitudeAndPhase_data() {
    QTest::addColumn<bool>("phase"); // else the amplitude
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("shown");
    QTest::newRow("A off the steps") << false << "0.123" << true << 0.123 << 1 << "0.123";
    QTest::newRow("A above") << false << "50.01" << false << 1.0 << 10 << "1";
    QTest::newRow("P1 off the steps") << true << "1.2345" << true << 1.2345 << 123 << "1.2345";
    QTest::newRow("P1 nan") << true << "nan" << false << 0.0 << 0 << "0";
}

void tst_ShellsWindow::mainShellAmplitudeAndPhase() {
    QFETCH(bool, phase);
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    QFETCH(double, value);
    QFETCH(int, position);
    QFETCH(QString, shown);
    AWave* wave = program->wave();
    QLineEdit* box = phase ? w->Phi1Val : w->AmplitudeVal;
    QSlider* bar = phase ? w->Phi1Bar : w->AmplitudeBar;
    QCOMPARE(box->text(), QString(phase ? "0" : "1"));
    if (accepted) {
        oneChange([&] { typeInto(box, typed); }, "typed");
    } else {
        QSignalSpy updated(wave, SIGNAL(updated()));
        typeInto(box, typed);
        QCOMPARE(updated.count(), 0);
    }
    QVERIFY((phase ? wave->phi1 : wave->amplitude) == value); // exactly
    QCOMPARE(bar->value(), position);
    QCOMPARE(box->text(), shown);
    QCOMPARE(wave->ctrl->label_6->text().contains(phase ? "P1*k" : "N*S0^2 = " + shown), accepted);

    // A slider sets its step.
    const int step = phase ? -7 : 17;
    oneChange([&] { bar->setValue(step); }, "slider");
    QVERIFY((phase ? wave->phi1 : wave->amplitude) == step / (phase ? 100.0 : 10.0));
    QCOMPARE(box->text(), QString::number(step / (phase ? 100.0 : 10.0)));
}

// A tick under the zero line at each shell's R in its colour, only while
// there are extra shells: without them the picture is the one-shell one.
// The main A and P1 sliders end where their values do: A 0 ... 50 by 0.1,
// P1 -3 ... 3 Å by 0.01 Å; a key at a slider is one update.
void tst_ShellsWindow::mainSlidersReachTheirEnds_data() {
    QTest::addColumn<bool>("phase"); // else the amplitude
    QTest::addColumn<int>("key");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("shown");
    QTest::newRow("A end") << false << int(Qt::Key_End) << 50.0 << "50";
    QTest::newRow("A home") << false << int(Qt::Key_Home) << 0.0 << "0";
    QTest::newRow("A up") << false << int(Qt::Key_Up) << 1.1 << "1.1";
    QTest::newRow("P1 end") << true << int(Qt::Key_End) << 3.0 << "3";
    QTest::newRow("P1 home") << true << int(Qt::Key_Home) << -3.0 << "-3";
    QTest::newRow("P1 down") << true << int(Qt::Key_Down) << -0.01 << "-0.01";
}

void tst_ShellsWindow::mainSlidersReachTheirEnds() {
    QFETCH(bool, phase);
    QFETCH(int, key);
    QFETCH(double, value);
    QFETCH(QString, shown);
    QSlider* bar = phase ? w->Phi1Bar : w->AmplitudeBar;
    oneChange([&] { QTest::keyClick(bar, Qt::Key(key)); }, "key");
    AWave* wave = program->wave();
    QVERIFY((phase ? wave->phi1 : wave->amplitude) == value);
    QCOMPARE((phase ? w->Phi1Val : w->AmplitudeVal)->text(), shown);
}

void tst_ShellsWindow::marksOnChiR() {
    ChiR* c = program->chiR();
    const QImage plain = grabR();
    auto at = [c](const QImage& img, double r) {
        const int x = static_cast<int>(c->coord->toPixelX(r));
        const int y =
            static_cast<int>(c->coord->toPixelY(0)) + ChiR::markGap + ChiR::markLength / 2;
        return img.pixel(x, y);
    };
    QVERIFY(at(plain, 2.0) != ShellsWindow::markColor(0).rgb());

    QTest::mouseClick(w->AddShell, Qt::LeftButton);
    QTest::mouseClick(w->AddShell, Qt::LeftButton);
    w->rows[1]->rBar->setValue(70);
    QImage img = grabR();
    QCOMPARE(at(img, 2.0), ShellsWindow::markColor(0).rgb());
    QCOMPARE(at(img, 2.4), ShellsWindow::markColor(1).rgb());
    QCOMPARE(at(img, 7.0), ShellsWindow::markColor(2).rgb());
    QCOMPARE(at(img, 5.5), qRgb(255, 255, 255));

    // A shell at R = 0 is out of the sum and has no mark.
    w->rows[0]->rBar->setValue(0);
    img = grabR();
    const int markRow =
        static_cast<int>(c->coord->toPixelY(0)) + ChiR::markGap + ChiR::markLength / 2;
    int first = 0, second = 0;
    for (int x = 0; x < img.width(); ++x) {
        first += img.pixel(x, markRow) == ShellsWindow::markColor(1).rgb();
        second += img.pixel(x, markRow) == ShellsWindow::markColor(2).rgb();
    }
    QCOMPARE(first, 0);
    QCOMPARE(second, 3);

    QTest::mouseClick(w->rows[1]->remove, Qt::LeftButton);
    QTest::mouseClick(w->rows[0]->remove, Qt::LeftButton);
    QCOMPARE(grabR(), plain);
}

// Applied scenarios go through the wave's shell list exactly and show in
// the rows, with the arrays of the same shells typed by hand.
void tst_ShellsWindow::scenarioThroughTheWindow() {
    Scenario s;
    s.shells = {{2.87, 0.83}, {3.5, 2}};
    QSignalSpy updated(program->wave(), SIGNAL(updated()));
    ProgramState::apply(s, *program->wave(), *program->chiR());
    QCOMPARE(shells(), (QVector<Shell>{{2.87, 0.83}, {3.5, 2}}));
    QCOMPARE(w->rows.size(), 2);
    QCOMPARE(w->rows[0]->rBar->value(), 29);
    QCOMPARE(w->rows[0]->amplitudeVal->text(), QStringLiteral("0.83"));
    const Scenario captured = ProgramState::capture(*program->wave(), *program->chiR());
    QCOMPARE(captured.shells.size(), 2);
    QCOMPARE(captured.shells[0].r, 2.87);
    QCOMPARE(captured.shells[0].amplitude, 0.83);
    updated.clear();
    ProgramState::apply(captured, *program->wave(), *program->chiR());
    QCOMPARE(updated.count(), 0);

    Program byHand;
    byHand.main->actionShells->trigger();
    ShellsWindow* hw = byHand.main->shellsWindow;
    QTest::mouseClick(hw->AddShell, Qt::LeftButton);
    QTest::mouseClick(hw->AddShell, Qt::LeftButton);
    typeInto(hw->rows[0]->rVal, "2.87");
    typeInto(hw->rows[0]->amplitudeVal, "0.83");
    hw->rows[1]->rBar->setValue(35);
    hw->rows[1]->amplitudeBar->setValue(40);
    QVERIFY(state(*byHand.wave()) == state(*program->wave()));

    // A scenario without shells has none.
    ProgramState::apply(Scenario(), *program->wave(), *program->chiR());
    QVERIFY(shells().isEmpty() && w->rows.isEmpty());
}

void tst_ShellsWindow::resolutionExports_data() {
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<int>("peaks");
    QTest::newRow("wide") << QStringLiteral("iron-wide-window.tovik.json") << 2;
    QTest::newRow("narrow") << QStringLiteral("iron-narrow-window.tovik.json") << 1;
}

// The README's two committed scenarios through `tovik --scenario FILE
// --export DIR`: the CSV files record the shell, and |chi(R)| has two peaks
// between the shells' distances through the wide window and one through
// the narrow.
void tst_ShellsWindow::resolutionExports() {
    QFETCH(QString, scenario);
    QFETCH(int, peaks);
    QTemporaryDir tmp;
    QProcess tovik;
    tovik.start(QStringLiteral(TOVIK_EXECUTABLE),
                {"-e", "--scenario", QStringLiteral(TOVIK_EXAMPLES "/") + scenario, "--export",
                 tmp.path()});
    QVERIFY(tovik.waitForFinished(60000));
    QCOMPARE(tovik.exitCode(), 0);

    QFile csv(tmp.filePath(QStringLiteral("chir.csv")));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QVector<double> r, modulus;
    bool recorded = false;
    for (const QByteArray& line : csv.readAll().split('\n')) {
        recorded |= line == "# extra shells: R 2.9 amplitude 0.75";
        const QList<QByteArray> fields = line.split(',');
        bool ok = false;
        const double value = fields.value(0).toDouble(&ok);
        if (ok && fields.size() > 3) {
            r << value;
            modulus << fields[3].toDouble();
        }
    }
    QVERIFY(recorded);
    QVERIFY(r.size() > 100);
    double top = 0;
    for (int i = 0; i < r.size(); ++i)
        top = std::max(top, modulus[i]);
    QVector<double> found;
    for (int i = 1; i + 1 < r.size(); ++i)
        if (modulus[i] > modulus[i - 1] && modulus[i] >= modulus[i + 1] && modulus[i] > 0.3 * top)
            found << r[i];
    QCOMPARE(found.size(), peaks);
    for (double at : found)
        QVERIFY2(at > 2.2 && at < 3.1, qPrintable(QString::number(at)));
}

QTEST_MAIN(tst_ShellsWindow)
#include "tst_ShellsWindow.moc"
