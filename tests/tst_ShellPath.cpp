#include "AWave.h"
#include "Envelope.h"
#include "FitRun.h"
#include "MeasuredCurve.h"
#include "PathFile.h"
#include "ShellPath.h"
#include "WaveCtrl.h"
#include "WaveSynthesis.h"
#include "WindowFunc.h"

#include <QtTest>

#include <gsl/gsl_interp.h>

#include <cmath>
#include <complex>
#include <random>

// A shell with a scattering path: its chi(k) in the wave against forms
// written here from the field's path equation, and fits that recover the
// parameters of such a chi(k) (real copper's fit is tst_Lessons' and
// tst_CommandLine's).
class tst_ShellPath : public QObject {
    Q_OBJECT
private slots:
    void closedForm_data();
    void closedForm();
    void extraShellOwnSigma();
    void refusedBeforeTheWindowEnds();
    void recovers_data();
    void recovers();
};

namespace {

constexpr double energyToK2 = 0.2624682917; // 2 m_e / ħ², Å⁻² per eV
constexpr double Pi = 3.14159265358979323846;

// A path whose columns are constant or linear in k on 0 ... 20 Å⁻¹: the
// splines through them are those lines, so chi(k) is a sine written by hand.
constexpr double reff = 2.5;
constexpr double mag = 0.4, phc = 0.8, slope = -1.1, lambda = 1e15;

ShellPathPtr linearPath(QString* name = nullptr) {
    QByteArray text = "# linear test path\n#  2   4.000   2.5000  nleg, deg, reff\n"
                      "#  0 0 0  0 29 Cu\n#  0 0 2.5  1 29 Cu\n"
                      "#   k   real[2*phc]   mag[feff]  phase[feff] red factor   lambda  real[p]\n";
    for (int i = 0; i <= 200; ++i) {
        const double k = i / 10.0;
        text += QByteArray::number(k) + ' ' + QByteArray::number(phc) + ' ' +
                QByteArray::number(mag) + ' ' + QByteArray::number(slope * k, 'g', 17) + " 1 " +
                QByteArray::number(lambda) + ' ' + QByteArray::number(k) + '\n';
    }
    PathData data;
    QString error;
    if (!PathFile::parse(text, &data, &error))
        qFatal("%s", qPrintable(error));
    if (name)
        *name = QStringLiteral("linear.dat");
    return std::make_shared<const ShellPath>(data, QStringLiteral("linear.dat"));
}

WaveGrid programGrid() {
    WaveGrid g;
    g.kMin = 0;
    g.dk = 0.1;
    g.kCount = 160;
    g.length = 1024;
    return g;
}

// Copper's path columns, each a natural cubic spline, the phases unwrapped:
// the README's equation evaluated here, apart from the program's PathChi.
struct CopperColumns {
    PathData d;
    std::vector<double> k, pha, mag, red, lam, rp;
    gsl_interp* s[5] = {};
    CopperColumns() {
        QString error;
        if (!PathFile::readFile(QStringLiteral(TOVIK_TEST_DATA "/feff0001.dat"), &d, &error))
            qFatal("%s", qPrintable(error));
        double turnPhc = 0, turnFeff = 0;
        for (int i = 0; i < d.rows(); ++i) {
            if (i > 0) {
                turnPhc -= 2 * Pi * std::round((d.realPhc[i] - d.realPhc[i - 1]) / (2 * Pi));
                turnFeff -= 2 * Pi * std::round((d.phase[i] - d.phase[i - 1]) / (2 * Pi));
            }
            k.push_back(d.k[i]);
            pha.push_back(d.realPhc[i] + turnPhc + d.phase[i] + turnFeff);
            mag.push_back(d.mag[i]);
            red.push_back(d.red[i]);
            lam.push_back(d.lambda[i]);
            rp.push_back(d.realP[i]);
        }
        const std::vector<double>* ys[] = {&pha, &mag, &lam, &rp, &red};
        for (int c = 0; c < 5; ++c) {
            s[c] = gsl_interp_alloc(gsl_interp_cspline, k.size());
            gsl_interp_init(s[c], k.data(), ys[c]->data(), k.size());
        }
    }
    ~CopperColumns() {
        for (gsl_interp* x : s)
            gsl_interp_free(x);
    }
    double at(int c, double q, const std::vector<double>& y) const {
        return gsl_interp_eval(s[c], k.data(), y.data(), q, nullptr);
    }
    // chi(k) = Im{ A amp/(q R²) exp(−2 reff/λ − 2 p² σ² + i(2 q reff + pha + 2 p (ΔR − 2σ²/reff)))
    // }
    double chi(double kk, double a, double r, double sigma2, double dE0) const {
        const double q = std::sqrt(kk * kk - energyToK2 * dE0);
        const double re = d.reff;
        const std::complex<double> p(at(3, q, rp), 1 / at(2, q, lam));
        const std::complex<double> i(0, 1);
        const std::complex<double> e = -2.0 * re * p.imag() - 2.0 * p * p * sigma2 +
                                       i * (2 * q * re + at(0, q, pha)) +
                                       2.0 * i * p * (r - re - 2 * sigma2 / re);
        return (a * at(1, q, mag) * at(4, q, red) / (q * r * r) * std::exp(e)).imag();
    }
};

// The program's grid and window on the copper path, as a user has it.
struct Program {
    AWave wave{2.5, 0.0, 1.0};
    Envelope envelope;
    MeasuredCurve data;
    explicit Program(double kLow = 3, double kHigh = 14) {
        for (int i = 0; i <= 16; ++i)
            envelope.points << QPointF(i, 1.0);
        wave.envelope = &envelope;
        wave.setKGrid(0, 16, 0.1, 1024);
        const double pos[] = {kLow - 0.5, kLow, kHigh, kHigh + 0.5};
        for (int i = 0; i < 4; ++i)
            wave.ctrl->WindowCtrl->setPos(i, pos[i]);
        wave.physical = true;
        QString error;
        const ShellPathPtr path =
            ShellPath::load(QStringLiteral(TOVIK_TEST_DATA "/feff0001.dat"), &error);
        if (!path)
            qFatal("%s", qPrintable(error));
        wave.setPath(path);
    }
};

} // namespace

void tst_ShellPath::closedForm_data() {
    QTest::addColumn<int>("n");
    QTest::addColumn<double>("r");
    QTest::addColumn<double>("sigma");
    QTest::addColumn<double>("dE0");
    QTest::addColumn<double>("p0");
    QTest::addColumn<double>("p1");
    QTest::addColumn<bool>("envelopeOn");
    QTest::addColumn<bool>("debyeWallerOn");
    QTest::newRow("at reff") << 2 << 2.5 << 0.0 << 0.0 << 0.0 << 0.0 << true << true;
    QTest::newRow("moved, sigma") << 3 << 2.62 << 0.07 << 0.0 << 0.0 << 0.0 << true << true;
    QTest::newRow("E0 shift up") << 1 << 2.45 << 0.05 << 7.5 << 0.0 << 0.0 << true << true;
    QTest::newRow("E0 shift down, phases")
        << 2 << 2.5 << 0.04 << -12.0 << 0.7 << -0.2 << true << true;
    QTest::newRow("envelope off") << 2 << 2.55 << 0.05 << 3.0 << 0.0 << 0.0 << false << true;
    QTest::newRow("Debye-Waller off") << 2 << 2.55 << 0.08 << 0.0 << 0.0 << 0.0 << true << false;
}

// mag constant, red 1, λ → ∞, real[p] = k, phase linear: the path's chi
// at the shifted q is A mag /(q R²) exp(−2 q² σ²)
// sin(2 q R + phc + slope q − 4 q σ²/reff + P0 + P1 k), and the drawn
// envelope factor is mag.
void tst_ShellPath::closedForm() {
    QFETCH(int, n);
    QFETCH(double, r);
    QFETCH(double, sigma);
    QFETCH(double, dE0);
    QFETCH(double, p0);
    QFETCH(double, p1);
    QFETCH(bool, envelopeOn);
    QFETCH(bool, debyeWallerOn);
    WaveParameters p;
    p.n = n;
    p.r = r;
    p.sigma = sigma;
    p.deltaE0 = dE0;
    p.phi0 = p0;
    p.phi1 = p1;
    p.amplitude = 3.6;
    p.path = linearPath();
    WaveFactors f;
    f.window = false;
    f.envelope = envelopeOn;
    f.debyeWaller = debyeWallerOn;
    const WaveGrid g = programGrid();
    // A hand envelope that must not be used with a path.
    const QVector<double> hand(g.kCount, 7.0), window(g.kCount, 1.0);
    WaveArrays out;
    synthesizeWave(p, f, g, hand, window, true, &out);
    QCOMPARE(out.chi.size(), g.length);
    int compared = 0;
    for (int i = 0; i < g.kCount; ++i) {
        const double k = g.k(i);
        const double e = k * k - energyToK2 * dE0;
        if (e < 1) // below a shifted edge the sign of q turns: not this form
            continue;
        const double q = std::sqrt(e);
        const double s2 = debyeWallerOn ? sigma * sigma : 0.0;
        const double factor = envelopeOn ? mag : 1.0;
        const double expected =
            std::pow(k, n) * 3.6 * factor / (q * r * r) * std::exp(-2 * q * q * s2) *
            std::sin(2 * q * r + phc + slope * q - 4 * q * s2 / reff + p0 + p1 * k);
        QVERIFY2(
            std::abs(out.chi[i] - expected) < 1e-9 * (1 + std::abs(expected)),
            qPrintable(QStringLiteral("k %1: %2 against %3").arg(k).arg(out.chi[i]).arg(expected)));
        QVERIFY(std::abs(out.envelopeValues[i] - mag) < 1e-12);
        ++compared;
    }
    QVERIFY(compared > 100);
    for (int i = g.kCount; i < g.length; ++i)
        QCOMPARE(out.chi[i], 0.0);
}

// An extra shell with a path takes its own sigma and dE0: the sum is the
// main shell's closed form plus the extra one's, and the main shell's sigma
// does not move the extra one.
void tst_ShellPath::extraShellOwnSigma() {
    WaveParameters p;
    p.n = 2;
    p.r = 2.5;
    p.sigma = 0.03;
    p.amplitude = 2;
    p.path = linearPath();
    Shell extra;
    extra.r = 3.1;
    extra.amplitude = 0.5;
    extra.path = p.path;
    extra.sigma = 0.09;
    extra.deltaE0 = 4;
    p.shells = {extra};
    WaveFactors f;
    f.window = false;
    const WaveGrid g = programGrid();
    const QVector<double> window(g.kCount, 1.0);
    WaveArrays out;
    synthesizeWave(p, f, g, {}, window, true, &out);
    auto term = [](double k, double a, double r, double s, double dE0) {
        const double q = std::sqrt(k * k - energyToK2 * dE0);
        return k * k * a * mag / (q * r * r) * std::exp(-2 * q * q * s * s) *
               std::sin(2 * q * r + phc + slope * q - 4 * q * s * s / reff);
    };
    for (int i = 20; i < g.kCount; ++i) {
        const double k = g.k(i);
        const double expected = term(k, 2, 2.5, 0.03, 0) + term(k, 1, 3.1, 0.09, 4);
        QVERIFY2(
            std::abs(out.chi[i] - expected) < 1e-9 * (1 + std::abs(expected)),
            qPrintable(QStringLiteral("k %1: %2 against %3").arg(k).arg(out.chi[i]).arg(expected)));
    }
}

void tst_ShellPath::refusedBeforeTheWindowEnds() {
    const ShellPathPtr path =
        ShellPath::load(QStringLiteral(TOVIK_TEST_DATA "/feff0001.dat"), nullptr);
    QVERIFY(path);
    QString error;
    QVERIFY(path->covers(20, &error));
    QVERIFY(!path->covers(21.5, &error));
    QVERIFY2(error.contains(QLatin1String("feff0001.dat")) && error.contains(QLatin1String("20")) &&
                 error.contains(QLatin1String("21.5")),
             qPrintable(error));
    QVERIFY(!ShellPath::load(QStringLiteral(TOVIK_TEST_DATA "/no such path.dat"), &error));
    QVERIFY(!error.isEmpty());
}

void tst_ShellPath::recovers_data() {
    QTest::addColumn<double>("noise");
    QTest::addColumn<unsigned>("seed");
    QTest::newRow("exact") << 0.0 << 1u;
    QTest::newRow("noise") << 0.003 << 11u;
}

// chi(k) written by the README's equation (CopperColumns) at A = 10.2,
// R = 2.561, sigma² = 0.0042, dE0 = 4.3; the fit starts elsewhere.
void tst_ShellPath::recovers() {
    QFETCH(double, noise);
    QFETCH(unsigned, seed);
    const double truth[] = {10.2, 2.561, std::sqrt(0.0042), 4.3}; // A, R, sigma, dE0
    static const CopperColumns copper;
    std::mt19937 random(seed);
    std::normal_distribution<double> gauss(0, noise > 0 ? noise : 1);
    QVector<double> k, chi;
    for (int i = 0; i <= 300; ++i) {
        const double x = 1.5 + i * 0.05;
        k << x;
        chi << copper.chi(x, truth[0], truth[1], truth[2] * truth[2], truth[3]) +
                   (noise > 0 ? gauss(random) : 0.0);
    }
    Program program;
    program.data.setData(k, chi, QStringLiteral("made by the equation"));
    program.data.process(&program.wave);
    AWave& w = program.wave;
    QVERIFY(w.setParameter(AWave::Parameter::Amplitude, 9));
    QVERIFY(w.setParameter(AWave::Parameter::R, 2.53));
    QVERIFY(w.setParameter(AWave::Parameter::Sigma, 0.05));
    QVERIFY(w.setParameter(AWave::Parameter::DeltaE0, 0));
    const QStringList vary = fit::FitProblem::defaultVaried(true);
    QCOMPARE(vary, QStringList({"amplitude", "R", "sigma", "dE0"}));
    const FitRun run = runFit(w, program.data, vary, 1.5, 3.2);
    QVERIFY2(run.result.ok, qPrintable(run.result.error.text()));
    const char* names[] = {"amplitude", "R", "sigma", "dE0"};
    for (int j = 0; j < 4; ++j) {
        const int i = fit::FitProblem::names().indexOf(QLatin1String(names[j]));
        const double value = run.result.best[size_t(i)].value;
        const double error = run.result.errors[size_t(i)];
        const QString why = QStringLiteral("%1 = %2 ± %3, made with %4")
                                .arg(names[j])
                                .arg(value, 0, 'g', 10)
                                .arg(error)
                                .arg(truth[j]);
        if (noise == 0)
            QVERIFY2(std::abs(value - truth[j]) < 1e-6, qPrintable(why));
        else
            QVERIFY2(std::abs(value - truth[j]) < 2.5 * error && error > 0, qPrintable(why));
    }
}

QTEST_MAIN(tst_ShellPath)
#include "tst_ShellPath.moc"
