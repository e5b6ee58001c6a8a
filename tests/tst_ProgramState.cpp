#include "MeasuredCurve.h"
#include "Program.h"
#include "ProgramState.h"
#include "Scenario.h"
#include "ShellsWindow.h"
#include "WaveCtrl.h"
#include "WindowFunc.h"

#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <random>

// The program's state moved into a scenario and back, through the windows'
// own File menu work.
class tst_ProgramState : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startupIsTheDefault();
    void appliedAsByHand();
    void windowPositionsLandExactly();
    void saveAndOpenRoundTrip();
    void dataTravelsWithTheScenario();
    void badFileChangesNothing();

private:
    Scenario capture() const { return ProgramState::capture(*program->wave(), *program->chiR()); }
    static bool sameArrays(const AWave& a, const AWave& b);
    // Answers the next message box, keeping its text in boxText.
    void closeNextMessageBox();

    Program* program = nullptr;
    QString boxText;
};

void tst_ProgramState::init() {
    program = new Program;
}

void tst_ProgramState::cleanup() {
    delete program;
    program = nullptr;
}

bool tst_ProgramState::sameArrays(const AWave& a, const AWave& b) {
    if (a.chi != b.chi || a.oscillation != b.oscillation || a.kValues != b.kValues ||
        a.envelopeValues != b.envelopeValues || a.windowValues != b.windowValues ||
        a.debyeWallerValues != b.debyeWallerValues)
        return false;
    const double* sa[] = {a.chiSpectrum.get(), a.oscillationSpectrum.get(),
                          a.envelopeSpectrum.get(), a.windowSpectrum.get(),
                          a.debyeWallerSpectrum.get()};
    const double* sb[] = {b.chiSpectrum.get(), b.oscillationSpectrum.get(),
                          b.envelopeSpectrum.get(), b.windowSpectrum.get(),
                          b.debyeWallerSpectrum.get()};
    for (int s = 0; s < 5; ++s)
        if (!std::equal(sa[s], sa[s] + a.fftLength, sb[s]))
            return false;
    return true;
}

void tst_ProgramState::closeNextMessageBox() {
    boxText.clear();
    QTimer::singleShot(0, this, [this] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            boxText = box->text();
            box->accept();
        }
    });
}

void tst_ProgramState::startupIsTheDefault() {
    QVERIFY(capture() == Scenario());
}

// Values are applied exactly, off the sliders' steps too; the arrays are
// those of the same settings typed into the boxes.
void tst_ProgramState::appliedAsByHand() {
    Scenario s;
    s.n = 3;
    s.r = 2.74;
    s.phi0 = -1.23;
    s.phi1 = -0.37;
    s.phi2 = 0.057;
    s.sigma = 0.0876;
    s.amplitude = 10.8;
    s.debyeWallerOn = false;
    s.windowPositions = {1, 2.5, 12, 20};
    s.envelopePoints[4] = QPointF(4.5, 0.25);
    s.showReal = true;
    s.showTotal = false;
    s.pointerR = 3.3;
    ProgramState::apply(s, *program->wave(), *program->chiR());

    QVERIFY(capture() == s);
    QCOMPARE(program->chiR()->PointVal->text(), QStringLiteral("3.3"));

    Program byHand;
    WaveCtrl* c = byHand.wave()->ctrl;
    c->NBar->setValue(3);
    typeInto(c->RVal, "2.74");
    typeInto(c->Phi0Val, "-1.23");
    typeInto(c->Phi2Val, "0.057");
    typeInto(c->SigVal, "0.0876");
    byHand.main->actionShells->trigger();
    typeInto(byHand.main->shellsWindow->AmplitudeVal, "10.8");
    typeInto(byHand.main->shellsWindow->Phi1Val, "-0.37");
    c->SelDebye->click();
    for (int i : {3, 0, 1, 2})
        c->setWindowPos(i, s.windowPositions[i]);
    byHand.wave()->envelope->points[4] = QPointF(4.5, 0.25);
    byHand.wave()->envChanged();
    QCOMPARE(byHand.wave()->ctrl->WindowCtrl->positions, s.windowPositions);
    QVERIFY(sameArrays(*program->wave(), *byHand.wave()));
}

// From any sorted positions to any sorted target, through setPos alone.
void tst_ProgramState::windowPositionsLandExactly() {
    std::mt19937 rng(20261208u);
    std::uniform_real_distribution<double> value(-5, 25);
    for (int run = 0; run < 200; ++run) {
        QVector<double> start(4), target(4);
        for (int i = 0; i < 4; ++i) {
            start[i] = run % 3 == 0 ? std::round(value(rng)) : value(rng);
            target[i] = run % 4 == 0 ? std::round(value(rng)) : value(rng);
        }
        std::sort(start.begin(), start.end());
        std::sort(target.begin(), target.end());
        Scenario s = capture();
        s.windowPositions = start;
        ProgramState::apply(s, *program->wave(), *program->chiR());
        QCOMPARE(program->wave()->ctrl->WindowCtrl->positions, start);
        s.windowPositions = target;
        ProgramState::apply(s, *program->wave(), *program->chiR());
        QCOMPARE(program->wave()->ctrl->WindowCtrl->positions, target);
    }
}

void tst_ProgramState::saveAndOpenRoundTrip() {
    WaveCtrl* c = program->wave()->ctrl;
    c->RBar->setValue(31);
    c->SigBar->setValue(123);
    c->SelEnvelope->click();
    c->setWindowPos(2, 9.75);
    program->wave()->envelope->setPoints([] {
        QVector<QPointF> p;
        for (int k = 0; k <= 16; ++k)
            p << QPointF(k + (k == 7 ? 0.3 : 0), 1.0 / (1 + k));
        return p;
    }());
    program->chiR()->SelImag->click();
    program->chiR()->setPointer(1.0 / 3);
    program->main->actions->legend->trigger();
    program->main->actions->physical->trigger();
    program->main->actions->lockScales->trigger();
    const Scenario saved = capture();
    QVERIFY(saved.viewLegend && saved.viewPhysical && saved.viewLockScales && !saved.viewAxes);

    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("lesson.tovik.json"));
    QVERIFY(program->main->files->saveScenarioFile(path));

    Program reopened;
    QVERIFY(reopened.main->files->openScenarioFile(path));
    QVERIFY(ProgramState::capture(*reopened.wave(), *reopened.chiR()) == saved);
    QVERIFY(sameArrays(*program->wave(), *reopened.wave()));
    QVERIFY(reopened.main->actions->physical->isChecked() && reopened.wave()->physical);
    QCOMPARE(reopened.main->view->lockedR, program->main->view->lockedR);
}

// The data file is recorded relative to the scenario: the two move
// together; a scenario whose data file cannot be read changes nothing.
void tst_ProgramState::dataTravelsWithTheScenario() {
    QTemporaryDir tmp;
    QVERIFY(QDir(tmp.path()).mkpath(QStringLiteral("lesson/data")));
    const QString data = tmp.filePath(QStringLiteral("lesson/data/fe.chi"));
    QVERIFY(QFile::copy(QStringLiteral(TOVIK_EXAMPLES "/two-shells.chi"), data));
    QVERIFY(program->main->files->openDataFile(data));
    const QString scenario = tmp.filePath(QStringLiteral("lesson/fe.tovik.json"));
    QVERIFY(program->main->files->saveScenarioFile(scenario));
    QFile saved(scenario);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QVERIFY(saved.readAll().contains("\"measuredData\": \"data/fe.chi\""));
    saved.close();
    QVERIFY(QDir(tmp.path()).rename(QStringLiteral("lesson"), QStringLiteral("moved")));

    Program reopened;
    QVERIFY(reopened.main->files->openScenarioFile(
        tmp.filePath(QStringLiteral("moved/fe.tovik.json"))));
    QCOMPARE(reopened.main->measured->path, tmp.filePath(QStringLiteral("moved/data/fe.chi")));
    QCOMPARE(reopened.main->measured->values, program->main->measured->values);

    // Gone: a message, and the state (data included) as it was.
    QVERIFY(QFile::remove(tmp.filePath(QStringLiteral("moved/data/fe.chi"))));
    reopened.wave()->ctrl->RBar->setValue(33);
    const Scenario before = ProgramState::capture(*reopened.wave(), *reopened.chiR());
    closeNextMessageBox();
    QVERIFY(!reopened.main->files->openScenarioFile(
        tmp.filePath(QStringLiteral("moved/fe.tovik.json"))));
    QVERIFY2(boxText.contains(QStringLiteral("fe.chi")), qPrintable(boxText));
    QVERIFY(ProgramState::capture(*reopened.wave(), *reopened.chiR()) == before);
}

// A bad file is reported in a message box and changes nothing.
void tst_ProgramState::badFileChangesNothing() {
    program->wave()->ctrl->RBar->setValue(35);
    const Scenario before = capture();
    const QVector<double> chi = program->wave()->chi;
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("bad.tovik.json"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(R"({"format": "tovik-scenario", "version": 1, "R": 1.5, "sigma": 7})");
    f.close();
    closeNextMessageBox();
    QVERIFY(!program->main->files->openScenarioFile(path));
    QVERIFY2(boxText.contains(QStringLiteral("sigma")), qPrintable(boxText));
    QVERIFY(capture() == before);
    QCOMPARE(program->wave()->chi, chi);

    closeNextMessageBox();
    QVERIFY(!program->main->files->saveScenarioFile(
        tmp.filePath(QStringLiteral("no/such/dir.tovik.json"))));
    QVERIFY(!boxText.isEmpty());
}

QTEST_MAIN(tst_ProgramState)
#include "tst_ProgramState.moc"
