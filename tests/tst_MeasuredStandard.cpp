#include "AWave.h"
#include "ChiDataReader.h"
#include "Envelope.h"
#include "FilteredCurves.h"
#include "FitRun.h"
#include "MeasuredCurve.h"
#include "MeasuredStandard.h"
#include "Program.h"
#include "ProgramState.h"
#include "Scenario.h"
#include "WaveCtrl.h"
#include "WaveSynthesis.h"
#include "WindowFunc.h"

#include <QComboBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <limits>

// A measured standard: made from the filtered chi(k) of a reference written
// here by the field's equation with a backscattering amplitude and phase of
// our own choosing, it must give back that filtered chi(k) when the model is
// set to the reference's N, R and sigma, and a fit on top of it must find a
// sample's sigma² and R.
class tst_MeasuredStandard : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void fitOnTop_data();
    void fitOnTop();
    void refused_data();
    void refused();
    void fromTheMenu_data();
    void fromTheMenu();
    void scenarioReopens();
    void scenarioRefused_data();
    void scenarioRefused();
    void commandLine_data();
    void commandLine();
};

namespace {

// A pair's own amplitude and phase, smooth and unlike any path file's.
double pairAmplitude(double k) {
    return 0.1 + 0.6 * std::exp(-0.02 * (k - 5) * (k - 5));
}
double pairPhase(double k) {
    return 0.9 - 0.25 * k + 0.006 * k * k;
}
// The field's single-scattering equation with the cumulant's phase term.
double shellChi(double k, double n, double r, double sigma2) {
    return n * pairAmplitude(k) / (k * r * r) * std::exp(-2 * sigma2 * k * k) *
           std::sin(2 * k * r + pairPhase(k) - 4 * sigma2 * k / r);
}
void shellData(double n, double r, double sigma2, QVector<double>* k, QVector<double>* chi) {
    k->clear();
    chi->clear();
    for (int i = 0; i <= 290; ++i) {
        const double x = 1.5 + i * 0.05;
        k->append(x);
        chi->append(shellChi(x, n, r, sigma2));
    }
}

const WaveGrid programGrid = ProgramState::grid();

} // namespace

void tst_MeasuredStandard::roundTrip_data() {
    QTest::addColumn<int>("n");
    QTest::addColumn<double>("neighbours");
    QTest::addColumn<double>("r");
    QTest::addColumn<double>("sigma");
    QTest::addColumn<double>("rLow"); // the R window's inner positions, Å
    QTest::addColumn<double>("rHigh");
    QTest::newRow("copper-like, k²") << 2 << 12.0 << 2.55 << 0.06 << 1.9 << 2.8;
    QTest::newRow("close shell, k³") << 3 << 4.0 << 2.0 << 0.08 << 1.4 << 2.4;
    QTest::newRow("far shell, k¹, no sigma") << 1 << 6.0 << 3.3 << 0.0 << 2.8 << 3.7;
    QTest::newRow("window off the peak") << 2 << 8.0 << 2.5 << 0.05 << 2.4 << 3.2;
}

// The model set back to N·S0² = 0.9 N, R and sigma gives the reference's
// own filtered chi(q) wherever the filter gave one.
void tst_MeasuredStandard::roundTrip() {
    QFETCH(int, n);
    QFETCH(double, neighbours);
    QFETCH(double, r);
    QFETCH(double, sigma);
    QFETCH(double, rLow);
    QFETCH(double, rHigh);
    QVector<double> k, chi;
    shellData(neighbours, r, sigma * sigma, &k, &chi);
    StandardOrigin origin;
    origin.file = QStringLiteral("reference.chi");
    origin.n = neighbours;
    origin.r = r;
    origin.sigma = sigma;
    origin.rWindow = {rLow - 0.2, rLow, rHigh, rHigh + 0.2};
    origin.kWindow = {2.5, 3.5, 13.5, 14.5};
    origin.kWeight = n;
    FilteredCurves filter;
    QString error;
    const ShellPathPtr standard = filter.standard(k, chi, programGrid, origin, &error);
    QVERIFY2(standard, qPrintable(error));
    QVERIFY(standard->standard && *standard->standard == origin);
    QVERIFY(standard->covers(origin.kWindow[3], &error));

    QVector<double> window(programGrid.kCount), flat(programGrid.kCount, 1.0);
    for (int i = 0; i < programGrid.kCount; ++i)
        window[i] = hanningWindow(origin.kWindow, programGrid.k(i));
    FilteredSpectrum f;
    QVERIFY2(filter.filterData(k, chi, programGrid, n, window, origin.rWindow, &f, &error),
             qPrintable(error));
    QVERIFY(f.q.size() > 80);

    WaveParameters p;
    p.n = n;
    p.r = r;
    p.sigma = sigma;
    p.amplitude = standard->chi.defaults().amplitude;
    QCOMPARE(p.amplitude, 0.9 * neighbours);
    p.path = standard;
    WaveArrays out;
    synthesizeWave(p, WaveFactors(), programGrid, flat, window, true, &out);
    double largest = 0, worst = 0;
    for (int j = 0; j < f.q.size(); ++j) {
        const int i = f.firstIndex + j;
        const double expected = std::pow(f.q[j], n) * window[i] * f.real[j];
        largest = std::max(largest, std::abs(expected));
        worst = std::max(worst, std::abs(out.chi[i] - expected));
    }
    QVERIFY2(worst <= 1e-12 * largest,
             qPrintable(QStringLiteral("worst %1 of %2").arg(worst).arg(largest)));
}

void tst_MeasuredStandard::fitOnTop_data() {
    QTest::addColumn<double>("sampleN");
    QTest::addColumn<double>("deltaSigma2"); // Å²
    QTest::addColumn<double>("deltaR");      // Å
    QTest::addColumn<double>("tolerance");   // of Δsigma², Å²
    QTest::addColumn<double>("toleranceR");  // Å
    // The filter's leakage at the k window's slopes sets the limit: with
    // the R window wide around the lone shell, Δsigma² comes back to a few
    // 1e-6 Å² and R to 1e-4 Å (R and dE0 share what leaks). Off the
    // reference's R the cumulant's phase term 4σ²k/R also differs slightly.
    QTest::newRow("warmer, same R") << 12.0 << 0.0017 << 0.0 << 3e-6 << 1e-4;
    QTest::newRow("colder, fewer") << 8.0 << -0.0012 << 0.0 << 3e-6 << 1e-4;
    QTest::newRow("warmer, longer") << 12.0 << 0.0017 << 0.03 << 2e-5 << 1e-3;
}

// The sample differs from the reference by Δsigma², ΔR and N only; the fit
// over R 1.7–3.0 Å, with smooth k window slopes and a wide R window, with the standard as the main
// shell's path finds them.
void tst_MeasuredStandard::fitOnTop() {
    QFETCH(double, sampleN);
    QFETCH(double, deltaSigma2);
    QFETCH(double, deltaR);
    QFETCH(double, tolerance);
    QFETCH(double, toleranceR);
    const double referenceR = 2.55, referenceSigma = 0.06;
    AWave wave(2.5, 0.0, 1.0);
    Envelope envelope;
    for (int i = 0; i <= 16; ++i)
        envelope.points << QPointF(i, 1.0);
    wave.envelope = &envelope;
    wave.setKGrid(0, 16, 0.1, 1024);
    const double pos[] = {2, 4, 13, 15};
    for (int i = 0; i < 4; ++i)
        wave.ctrl->WindowCtrl->setPos(i, pos[i]);
    wave.physical = true;

    QVector<double> k, chi;
    shellData(12, referenceR, referenceSigma * referenceSigma, &k, &chi);
    StandardOrigin origin;
    origin.file = QStringLiteral("reference.chi");
    origin.n = 12;
    origin.r = referenceR;
    origin.sigma = referenceSigma;
    origin.rWindow = {0.8, 1.4, 3.6, 4.2};
    origin.kWindow = {2, 4, 13, 15};
    origin.kWeight = wave.n;
    FilteredCurves filter;
    QString error;
    const ShellPathPtr standard = filter.standard(k, chi, wave.grid(), origin, &error);
    QVERIFY2(standard, qPrintable(error));
    wave.setPath(standard);

    const double sigma2 = referenceSigma * referenceSigma + deltaSigma2;
    const double r = referenceR + deltaR;
    QVector<double> sampleK, sampleChi;
    shellData(sampleN, r, sigma2, &sampleK, &sampleChi);
    MeasuredCurve data;
    data.setData(sampleK, sampleChi, QStringLiteral("sample.chi"));
    data.process(&wave);
    QVERIFY(wave.setParameter(AWave::Parameter::R, 2.53));
    QVERIFY(wave.setParameter(AWave::Parameter::Sigma, 0.05));
    const FitRun run = runFit(wave, data, {"amplitude", "R", "sigma", "dE0"}, 1.7, 3.0);
    QVERIFY2(run.result.ok, qPrintable(run.result.error.text()));
    const auto value = [&](const char* name) {
        return run.result.best[size_t(fit::FitProblem::names().indexOf(QLatin1String(name)))].value;
    };
    const double foundSigma = value("sigma");
    const double foundDelta = foundSigma * foundSigma - referenceSigma * referenceSigma;
    const QString why = QStringLiteral("Δsigma² %1 (made %2), ΔR %3 (made %4), N·S0² %5, dE0 %6")
                            .arg(foundDelta, 0, 'g', 10)
                            .arg(deltaSigma2)
                            .arg(value("R") - referenceR, 0, 'g', 10)
                            .arg(deltaR)
                            .arg(value("amplitude"), 0, 'g', 10)
                            .arg(value("dE0"));
    QVERIFY2(std::abs(foundDelta - deltaSigma2) < tolerance, qPrintable(why));
    QVERIFY2(std::abs(value("R") - r) < toleranceR, qPrintable(why));
    QVERIFY2(std::abs(value("amplitude") - 0.9 * sampleN) < 1e-3 * sampleN, qPrintable(why));
}

void tst_MeasuredStandard::refused_data() {
    QTest::addColumn<double>("neighbours");
    QTest::addColumn<double>("r");
    QTest::addColumn<double>("sigma");
    QTest::addColumn<double>("rWindowStart"); // the R window is 0.4 Å wide with no slopes
    QTest::addColumn<bool>("noData");
    QTest::addColumn<QString>("reason");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("N zero") << 0.0 << 2.5 << 0.05 << 2.2 << false << "N must be";
    QTest::newRow("N negative") << -3.0 << 2.5 << 0.05 << 2.2 << false << "N must be";
    QTest::newRow("N not a number") << nan << 2.5 << 0.05 << 2.2 << false << "N must be";
    QTest::newRow("R zero") << 12.0 << 0.0 << 0.05 << 2.2 << false << "R must be";
    QTest::newRow("sigma negative") << 12.0 << 2.5 << -0.01 << 2.2 << false << "sigma must be";
    QTest::newRow("no data") << 12.0 << 2.5 << 0.05 << 2.2 << true << "no data";
    QTest::newRow("empty R window") << 12.0 << 2.5 << 0.05 << 25.0 << false << "no signal";
}

void tst_MeasuredStandard::refused() {
    QFETCH(double, neighbours);
    QFETCH(double, r);
    QFETCH(double, sigma);
    QFETCH(double, rWindowStart);
    QFETCH(bool, noData);
    QFETCH(QString, reason);
    QVector<double> k, chi;
    if (!noData)
        shellData(12, 2.5, 0.003, &k, &chi);
    StandardOrigin origin;
    origin.n = neighbours;
    origin.r = r;
    origin.sigma = sigma;
    origin.rWindow = {rWindowStart, rWindowStart, rWindowStart + 0.4, rWindowStart + 0.4};
    origin.kWindow = {2.5, 3, 14, 14.5};
    FilteredCurves filter;
    QString error;
    QVERIFY(!filter.standard(k, chi, programGrid, origin, &error));
    QVERIFY2(error.contains(reason), qPrintable(error));
}

namespace {
// Writes the reference made by shellData to `path`.
bool writeReference(const QString& path, double n, double r, double sigma2) {
    QVector<double> k, chi;
    shellData(n, r, sigma2, &k, &chi);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    for (int i = 0; i < k.size(); ++i)
        f.write(QByteArray::number(k[i], 'g', 17) + ' ' + QByteArray::number(chi[i], 'g', 17) +
                '\n');
    return true;
}

// Fills the standard's dialog as a user does, by keys, and presses OK; the
// message box that may follow is read and closed.
struct DialogUser {
    QString source; // "" takes the loaded data; else a file to type
    QString n, r, sigma;
    QString message;
    bool sawDialog = false;
    void typeInto(QWidget* box, const QString& text) {
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, text);
    }
    void run() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || qobject_cast<QMessageBox*>(dialog))
            return;
        sawDialog = true;
        auto* combo = dialog->findChild<QComboBox*>(QStringLiteral("standardSource"));
        combo->setFocus();
        QTest::keyClick(combo, source.isEmpty() ? Qt::Key_Up : Qt::Key_Down);
        if (combo->currentIndex() != (source.isEmpty() ? 0 : 1)) {
            sawDialog = false; // the keys did not choose: the test fails
            dialog->reject();
            return;
        }
        if (!source.isEmpty()) {
            typeInto(dialog->findChild<QLineEdit*>(QStringLiteral("standardFile")), source);
        }
        typeInto(dialog->findChild<QDoubleSpinBox*>(QStringLiteral("standardN"))
                     ->findChild<QLineEdit*>(),
                 n);
        typeInto(dialog->findChild<QDoubleSpinBox*>(QStringLiteral("standardR"))
                     ->findChild<QLineEdit*>(),
                 r);
        typeInto(dialog->findChild<QDoubleSpinBox*>(QStringLiteral("standardSigma"))
                     ->findChild<QLineEdit*>(),
                 sigma);
        QTimer::singleShot(0, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                message = box->text();
                box->accept();
            }
        });
        QTest::keyClick(dialog, Qt::Key_Return);
    }
};
} // namespace

void tst_MeasuredStandard::fromTheMenu_data() {
    QTest::addColumn<bool>("chiRWindow"); // the entry of the chi(R) window's menu
    QTest::addColumn<bool>("loaded");     // the loaded data, else a typed file
    QTest::addColumn<QString>("n");
    QTest::addColumn<QString>("refusal"); // empty: the standard is made
    QTest::newRow("loaded data, chi(k) window") << false << true << "12"
                                                << "";
    QTest::newRow("a file, chi(R) window") << true << false << "6"
                                           << "";
    QTest::newRow("N zero") << false << true << "0"
                            << "N must be";
    QTest::newRow("no data loaded") << false << true << "12"
                                    << "no data";
    QTest::newRow("a file that is not there") << true << false << "12"
                                              << "missing.chi";
}

// "Use filtered data as the shell's amplitude and phase…" from either
// window's File menu: the dialog typed into, the model then the reference's
// own filtered chi(q); or a message box and nothing changed.
void tst_MeasuredStandard::fromTheMenu() {
    QFETCH(bool, chiRWindow);
    QFETCH(bool, loaded);
    QFETCH(QString, n);
    QFETCH(QString, refusal);
    QTemporaryDir tmp;
    const QString reference = tmp.filePath(QStringLiteral("reference.chi"));
    QVERIFY(writeReference(reference, 12, 2.55, 0.0036));
    Program program;
    AWave& wave = *program.wave();
    if (loaded && QTest::currentDataTag() != QByteArray("no data loaded"))
        QVERIFY(program.main->files->openDataFile(reference));
    const bool missing = refusal.contains(QLatin1String("missing"));
    DialogUser user;
    user.source = loaded ? QString() : (missing ? tmp.filePath("missing.chi") : reference);
    user.n = n;
    user.r = QStringLiteral("2.55");
    user.sigma = QStringLiteral("0.06");
    QTimer::singleShot(0, [&] { user.run(); });
    QAction* entry =
        chiRWindow ? program.chiR()->actionUseStandard : program.main->actionUseStandard;
    QVERIFY(entry->isEnabled());
    entry->trigger();
    QVERIFY(user.sawDialog);
    if (!refusal.isEmpty()) {
        QVERIFY2(user.message.contains(refusal), qPrintable(user.message));
        QVERIFY(!wave.path);
        return;
    }
    QVERIFY2(user.message.isEmpty(), qPrintable(user.message));
    QVERIFY(wave.path && wave.path->standard);
    const StandardOrigin& origin = *wave.path->standard;
    QCOMPARE(origin.file, reference);
    QCOMPARE(origin.n, n.toDouble());
    QCOMPARE(origin.r, 2.55);
    QCOMPARE(origin.sigma, 0.06);
    QCOMPARE(origin.kWeight, wave.n);
    QCOMPARE(wave.parameter(AWave::Parameter::Amplitude), 0.9 * n.toDouble());
    QCOMPARE(wave.parameter(AWave::Parameter::R), 2.55);
    QCOMPARE(wave.parameter(AWave::Parameter::Sigma), 0.06);
    QVERIFY(program.main->actionRemovePath->isEnabled());
}

// Saved and opened again in a fresh program, the standard is made anew
// from its file and the model is the same to the bit.
void tst_MeasuredStandard::scenarioReopens() {
    QTemporaryDir tmp;
    const QString reference = tmp.filePath(QStringLiteral("data/reference.chi"));
    QVERIFY(QDir(tmp.path()).mkdir(QStringLiteral("data")));
    QVERIFY(writeReference(reference, 12, 2.55, 0.0036));
    const QString saved = tmp.filePath(QStringLiteral("standard.tovik.json"));
    QVector<double> chi;
    StandardOrigin origin;
    {
        Program program;
        program.chiR()->setRWindow({1.6, 1.9, 2.8, 3.1});
        QCOMPARE(program.main->files->makeStandard(12, 2.55, 0.06, reference), QString());
        origin = *program.wave()->path->standard;
        QVERIFY(program.wave()->setParameter(AWave::Parameter::Sigma, 0.07));
        chi = program.wave()->chi;
        QVERIFY(program.main->files->saveScenarioFile(saved));
    }
    Scenario read;
    QString error;
    QVERIFY2(Scenario::readFile(saved, Scenario(), &read, &error), qPrintable(error));
    QVERIFY(read.standard && *read.standard == origin);
    QVERIFY(read.pathFile.isEmpty());
    QFile file(saved);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY2(file.readAll().contains("\"data/reference.chi\""), "the file is recorded relative");
    Program program;
    QVERIFY(program.main->files->openScenarioFile(saved));
    QVERIFY(program.wave()->path && program.wave()->path->standard);
    QVERIFY(*program.wave()->path->standard == origin);
    QCOMPARE(program.wave()->parameter(AWave::Parameter::Sigma), 0.07);
    QCOMPARE(program.wave()->chi, chi);
}

void tst_MeasuredStandard::scenarioRefused_data() {
    QTest::addColumn<QByteArray>("standard");
    QTest::addColumn<QString>("reason");
    QTest::newRow("N zero") << QByteArray(R"({"file": "a.chi", "N": 0, "R": 2.5, "sigma": 0.05})")
                            << "standard.N";
    QTest::newRow("N missing") << QByteArray(R"({"file": "a.chi", "R": 2.5, "sigma": 0.05})")
                               << "standard.N";
    QTest::newRow("no file") << QByteArray(R"({"file": "", "N": 4, "R": 2.5, "sigma": 0.05})")
                             << "standard.file";
    QTest::newRow("R window backwards")
        << QByteArray(R"({"file": "a.chi", "N": 4, "R": 2.5, "sigma": 0.05,
                          "Rwindow": [3, 2.8, 1.9, 1.7]})")
        << "standard.Rwindow[1]";
    QTest::newRow("with a path too")
        << QByteArray(
               R"({"file": "a.chi", "N": 4, "R": 2.5, "sigma": 0.05}, "path": "feff0001.dat")")
        << "path";
}

// A scenario's "standard" is checked field by field, and a main shell
// given both a path and a standard in one file is refused; a path kept from
// the base gives way to the file's standard.
void tst_MeasuredStandard::scenarioRefused() {
    QFETCH(QByteArray, standard);
    QFETCH(QString, reason);
    const QByteArray text =
        R"({"format": "tovik-scenario", "version": 1, "standard": )" + standard + "}";
    Scenario read;
    QString error;
    Scenario base;
    base.pathFile = QStringLiteral("/somewhere/feff0001.dat");
    QVERIFY(!Scenario::fromJson(text, base, &read, &error));
    QVERIFY2(error.contains(reason), qPrintable(error));
    const QByteArray valid = R"({"format": "tovik-scenario", "version": 1, "standard":
                                 {"file": "a.chi", "N": 4, "R": 2.5, "sigma": 0.05}})";
    QVERIFY2(Scenario::fromJson(valid, base, &read, &error), qPrintable(error));
    QVERIFY(read.pathFile.isEmpty() && read.standard && read.standard->n == 4);
    QCOMPARE(read.standard->rWindow, (WindowPositions{1.7, 1.9, 2.8, 3.0}));
    QCOMPARE(read.standard->kWeight, base.n);
}

void tst_MeasuredStandard::commandLine_data() {
    QTest::addColumn<QByteArray>("standard");
    QTest::addColumn<QString>("refusal"); // empty: the fit runs
    QTest::newRow("fit on the standard itself")
        << QByteArray(R"({"file": "reference.chi", "N": 12, "R": 2.55, "sigma": 0.06,
                          "Rwindow": [0.8, 1.4, 3.6, 4.2]})")
        << "";
    QTest::newRow("file missing")
        << QByteArray(R"({"file": "gone.chi", "N": 12, "R": 2.55, "sigma": 0.06})") << "gone.chi";
    QTest::newRow("N zero") << QByteArray(
                                   R"({"file": "reference.chi", "N": 0, "R": 2.55, "sigma": 0.06})")
                            << "standard.N";
    QTest::newRow("k window past the grid")
        << QByteArray(R"({"file": "reference.chi", "N": 12, "R": 2.55, "sigma": 0.06,
                          "kWindow": [17, 18, 19, 20]})")
        << "no signal";
}

// --fit with a scenario that names a standard: made before anything runs,
// and a fit of the reference on itself returns its sigma and R; a standard
// that cannot be made is one line on stderr and exit code 1.
void tst_MeasuredStandard::commandLine() {
    QFETCH(QByteArray, standard);
    QFETCH(QString, refusal);
    QTemporaryDir tmp;
    QVERIFY(writeReference(tmp.filePath(QStringLiteral("reference.chi")), 12, 2.55, 0.0036));
    QFile scenario(tmp.filePath(QStringLiteral("standard.tovik.json")));
    QVERIFY(scenario.open(QIODevice::WriteOnly));
    scenario.write(R"({"format": "tovik-scenario", "version": 1, "R": 2.53, "sigma": 0.05,
                       "amplitude": 10.8, "windowPositions": [2, 4, 13, 15],
                       "view": {"physical": true}, "measuredData": "reference.chi",
                       "standard": )" +
                   standard + "}");
    scenario.close();
    QProcess p;
    p.start(QStringLiteral(TOVIK_EXECUTABLE), {"-e", "--scenario", scenario.fileName(), "--fit"});
    QVERIFY(p.waitForFinished(60000));
    const QByteArray err = p.readAllStandardError();
    if (!refusal.isEmpty()) {
        QCOMPARE(p.exitCode(), 1);
        QVERIFY2(err.startsWith("tovik: ") && err.count('\n') == 1 && err.endsWith('\n'),
                 err.constData());
        QVERIFY2(QString::fromUtf8(err).contains(refusal), err.constData());
        QVERIFY(p.readAllStandardOutput().isEmpty());
        return;
    }
    QVERIFY2(p.exitCode() == 0, err.constData());
    const QJsonObject parameters =
        QJsonDocument::fromJson(p.readAllStandardOutput()).object().value("parameters").toObject();
    const auto value = [&](const char* name) {
        return parameters.value(QLatin1String(name)).toObject().value("value").toDouble();
    };
    QVERIFY2(std::abs(value("sigma") - 0.06) < 2e-5, qPrintable(QString::number(value("sigma"))));
    QVERIFY2(std::abs(value("R") - 2.55) < 2e-4, qPrintable(QString::number(value("R"))));
    QVERIFY2(std::abs(value("amplitude") - 10.8) < 0.01,
             qPrintable(QString::number(value("amplitude"))));
}

QTEST_MAIN(tst_MeasuredStandard)
#include "tst_MeasuredStandard.moc"
