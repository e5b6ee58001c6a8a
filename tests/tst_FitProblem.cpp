#include "AWave.h"
#include "Envelope.h"
#include "FitProblem.h"
#include "FitRun.h"
#include "FlatFitInputs.h"
#include "MeasuredCurve.h"
#include "WaveCtrl.h"
#include "WindowFunc.h"

#include <QtTest>

#include <cmath>
#include <random>

// Known parameters recovered from "measured" chi(k) written by the closed
// form, not by the program's synthesis: with a flat F(k) = 1,
//   chi(k) = A sin(2kR + P0 + P1 k) exp(-2 sigma^2 k^2) / (k R^2).
class tst_FitProblem : public QObject {
    Q_OBJECT
private slots:
    void recovers_data();
    void recovers();
    void fromPlainValues_data();
    void fromPlainValues();
    void isASnapshot();
    void refusals_data();
    void refusals();
    void rangeClippedToTransform();
    void comparedWhereDataExist();
    void phaseWrapped();
    void noiseFromData();
};

namespace {
struct Model {
    AWave wave{2.0, 0.0, 1.0};
    Envelope envelope;
    MeasuredCurve data;
    Model() {
        for (int i = 0; i <= 16; ++i)
            envelope.points << QPointF(i, 1.0);
        wave.envelope = &envelope;
        wave.setKGrid(0, 16, 0.1, 1024);
        const double pos[] = {2.5, 3.5, 13, 14};
        for (int i = 0; i < 4; ++i)
            wave.ctrl->WindowCtrl->setPos(i, pos[i]);
        wave.physical = true;
        wave.synthesize();
    }
    void measure(double noise, double a, double r, double sigma, double p0, double p1,
                 unsigned seed = 7) {
        std::mt19937 random(seed);
        std::normal_distribution<double> gauss(0, noise > 0 ? noise : 1);
        QVector<double> k, chi;
        for (int i = 0; i <= 280; ++i) {
            const double x = 1 + i * 0.05;
            k << x;
            chi << a * std::sin(2 * x * r + p0 + p1 * x) * std::exp(-2 * sigma * sigma * x * x) /
                           (x * r * r) +
                       (noise > 0 ? gauss(random) : 0.0);
        }
        data.setData(k, chi, "closed form");
    }
};

// The closed form above on 1 ... 15 in steps of 0.05, without noise.
void closedForm(double a, double r, double sigma, double p0, QVector<double>* k,
                QVector<double>* chi, int last = 280) {
    for (int i = 0; i <= last; ++i) {
        const double x = 1 + i * 0.05;
        *k << x;
        *chi << a * std::sin(2 * x * r + p0) * std::exp(-2 * sigma * sigma * x * x) / (x * r * r);
    }
}
} // namespace

void tst_FitProblem::recovers_data() {
    QTest::addColumn<double>("noise");
    QTest::addColumn<QStringList>("vary");
    QTest::newRow("noise-free, four") << 0.0 << fit::FitProblem::defaultVaried();
    // R and P1 only meet as 2R + P1 in the phase (and A / R^2 in size): P1
    // is fitted with R fixed.
    QTest::newRow("noise-free, P1 for R") << 0.0 << QStringList{"amplitude", "sigma", "P0", "P1"};
    QTest::newRow("noisy, four") << 0.01 << fit::FitProblem::defaultVaried();
}

void tst_FitProblem::recovers() {
    QFETCH(double, noise);
    QFETCH(QStringList, vary);
    const bool p1 = vary.contains("P1");
    const double truth[] = {10.8, 2.55, 0.07, 1.0, p1 ? -0.3 : 0.0, 0.0};
    Model m;
    m.measure(noise, truth[0], truth[1], truth[2], truth[3], truth[4]);
    // Start away from the truth, as a student's hand-shaped model would be.
    m.wave.setParameter(AWave::Parameter::Amplitude, 8);
    m.wave.setParameter(AWave::Parameter::R, p1 ? truth[1] : 2.5);
    m.wave.setParameter(AWave::Parameter::Sigma, 0.06);
    m.wave.setParameter(AWave::Parameter::P0, 0.6);

    fit::FitProblem problem(fitInputs(m.wave, m.data), 1.0, 3.0);
    QVERIFY(problem.error().isEmpty());
    // 2 * (13.9 - 2.5) * 2 / pi: the window's outer positions, the data reach beyond.
    QVERIFY(std::abs(problem.independentPoints() - 2 * (14 - 2.5) * 2 / M_PI) < 1e-9);
    const fit::Result res = problem.run(vary);
    QVERIFY2(res.ok, qPrintable(res.error.text()));
    for (int i = 0; i < 6; ++i) {
        const double got = res.best[i].value;
        if (noise == 0) {
            QVERIFY2(std::abs(got - truth[i]) <= 1e-6 * std::max(1.0, std::abs(truth[i])),
                     qPrintable(
                         QString("%1 = %2, not %3").arg(res.best[i].name).arg(got).arg(truth[i])));
        } else if (res.best[i].varied) {
            QVERIFY2(std::abs(got - truth[i]) < 2.5 * res.errors[i],
                     qPrintable(QString("%1 = %2 +- %3, not %4")
                                    .arg(res.best[i].name)
                                    .arg(got)
                                    .arg(res.errors[i])
                                    .arg(truth[i])));
        }
    }
    // The fit only reports: the wave keeps its values until Apply.
    QCOMPARE(m.wave.parameter(AWave::Parameter::Amplitude), 8.0);
}

// A problem made of numbers alone, no wave and no panel, on the 160
// synthesised points of 0 ... 15.9. The data's k range, 1 to 15, is cut out
// of the model by W (window on) or by F (window off), which is 1 on
// k_10 ... k_150 and 0 elsewhere; the other factor is 1. The window's
// positions only bound the k range that counts.
void tst_FitProblem::fromPlainValues_data() {
    QTest::addColumn<bool>("window");
    QTest::addColumn<double>("independentPoints");
    // k from the data's 1 to 14 (the window's outer positions) or 15 (the data's end).
    QTest::newRow("window on") << true << 2 * (14 - 1) * 2 / M_PI;
    QTest::newRow("window off") << false << 2 * (15 - 1) * 2 / M_PI;
}

void tst_FitProblem::fromPlainValues() {
    QFETCH(bool, window);
    QFETCH(double, independentPoints);
    fit::FitInputs in;
    in.grid.kMin = 0;
    in.grid.dk = 0.1;
    in.grid.kCount = 160;
    in.grid.length = 1024;
    in.factors.window = window;
    in.windowPositions = {0.5, 1.5, 13, 14};
    QVector<double> cut(160, 0.0);
    for (int i = 10; i <= 150; ++i)
        cut[i] = 1;
    in.envelopeAtK = window ? QVector<double>(160, 1.0) : cut;
    in.windowAtK = window ? cut : QVector<double>(160, 1.0);
    in.parameters.amplitude = 8;
    in.parameters.r = 2.5;
    in.parameters.sigma = 0.06;
    in.parameters.phi0 = 0.6;
    const double truth[] = {10.8, 2.55, 0.07, 1.0};
    closedForm(truth[0], truth[1], truth[2], truth[3], &in.dataK, &in.dataChi);

    const fit::FitProblem problem(in, 1.0, 3.0);
    QVERIFY(problem.error().isEmpty());
    QVERIFY(std::abs(problem.independentPoints() - independentPoints) < 1e-9);
    const fit::Result res = problem.run(fit::FitProblem::defaultVaried());
    QVERIFY2(res.ok, qPrintable(res.error.text()));
    for (int i = 0; i < 4; ++i)
        QVERIFY2(std::abs(res.best[i].value - truth[i]) <= 1e-6 * std::max(1.0, truth[i]),
                 qPrintable(QString("%1 = %2, not %3")
                                .arg(res.best[i].name)
                                .arg(res.best[i].value)
                                .arg(truth[i])));
    // What was not varied stays at the inputs' values.
    QCOMPARE(res.best[4].value, 0.0);
    QCOMPARE(res.best[5].value, 0.0);
}

// Once made, a problem no longer follows the wave, its panel or the data.
void tst_FitProblem::isASnapshot() {
    Model m;
    m.measure(0, 10.8, 2.55, 0.07, 1.0, 0);
    m.wave.setParameter(AWave::Parameter::P0, 0.6);
    const fit::FitProblem problem(fitInputs(m.wave, m.data), 1.0, 3.0);
    const double before = problem.independentPoints();
    m.wave.setParameter(AWave::Parameter::P0, -2);
    m.wave.setParameter(AWave::Parameter::Amplitude, 3);
    m.wave.ctrl->WindowCtrl->setPos(0, 5);
    m.wave.ctrl->WindowCtrl->setPos(1, 6);
    m.data.clear();
    const fit::Result res = problem.run({"R", "sigma"});
    QVERIFY2(res.ok, qPrintable(res.error.text()));
    QCOMPARE(problem.independentPoints(), before);
    QCOMPARE(res.best[0].name, QString("amplitude"));
    QCOMPARE(res.best[0].value, 1.0);
    QCOMPARE(res.best[3].name, QString("P0"));
    QCOMPARE(res.best[3].value, 0.6);
}

// Problems that give no result, refused with the reason a user can act on.
void tst_FitProblem::refusals_data() {
    QTest::addColumn<double>("dataSize"); // the closed form's amplitude
    QTest::addColumn<double>("rMin");
    QTest::addColumn<QString>("words");
    // No data file reaches these (the reader stops at 1e100, a scenario's R
    // range at 15 Å); tst_CommandLine runs the refusals a file can reach.
    QTest::newRow("overflowing") << 1e300 << 1.0 << "too large";
    QTest::newRow("R range beyond the transform") << 10.8 << 16.0 << "beyond the transform";
}

void tst_FitProblem::refusals() {
    QFETCH(double, dataSize);
    QFETCH(double, rMin);
    QFETCH(QString, words);
    fit::FitInputs in = flatFitInputs();
    closedForm(dataSize, 2.55, 0.07, 1.0, &in.dataK, &in.dataChi);
    const fit::Result res =
        fit::FitProblem(in, rMin, rMin + 2).run(fit::FitProblem::defaultVaried());
    QVERIFY(!res.ok);
    QVERIFY2(res.error.english().contains(words), qPrintable(res.error.english()));
}

// An R range far beyond the transform counts the independent points of the
// R values compared, not of the range typed.
void tst_FitProblem::rangeClippedToTransform() {
    fit::FitInputs in = flatFitInputs();
    closedForm(10.8, 2.55, 0.07, 1.0, &in.dataK, &in.dataChi);
    const fit::FitProblem problem(in, 1.0, 1e300);
    QVERIFY(problem.error().isEmpty());
    // The last bin of a 1024-point transform with dk = 0.1: 511 pi / 102.4.
    const double end = 511 * 3.1415926535 / 102.4;
    QVERIFY(std::abs(problem.context().rMax - end) < 1e-9);
    QVERIFY(std::abs(problem.independentPoints() - 2 * (14 - 1) * (end - 1) / M_PI) < 1e-6);
    const fit::Result res = problem.run(fit::FitProblem::defaultVaried());
    QVERIFY2(res.ok, qPrintable(res.error.english()));
    QVERIFY(std::abs(res.best[1].value - 2.55) < 1e-6);
}

// Data that end at k = 11 inside a window reaching 14: the model beyond the
// data's end is not compared with zeros, so the truth comes back exactly.
void tst_FitProblem::comparedWhereDataExist() {
    fit::FitInputs in = flatFitInputs();
    const double truth[] = {10.8, 2.55, 0.07, 1.0};
    closedForm(truth[0], truth[1], truth[2], truth[3], &in.dataK, &in.dataChi, 200);
    const fit::FitProblem problem(in, 1.0, 3.0);
    QVERIFY(std::abs(problem.independentPoints() - 2 * (11 - 1) * 2 / M_PI) < 1e-9);
    const fit::Result res = problem.run(fit::FitProblem::defaultVaried());
    QVERIFY2(res.ok, qPrintable(res.error.english()));
    for (int i = 0; i < 4; ++i)
        QVERIFY2(std::abs(res.best[i].value - truth[i]) <= 1e-6 * std::max(1.0, truth[i]),
                 qPrintable(QString("%1 = %2").arg(res.best[i].name).arg(res.best[i].value)));
}

// A start near P0 + 2 pi finds the same signal; the report gives the phase
// in (-pi, pi].
void tst_FitProblem::phaseWrapped() {
    fit::FitInputs in = flatFitInputs();
    closedForm(10.8, 2.55, 0.07, 1.0, &in.dataK, &in.dataChi);
    in.parameters.phi0 = 1.0 + 2 * M_PI - 0.3;
    in.parameters.r = 2.55;
    const fit::Result res = fit::FitProblem(in, 1.0, 3.0).run(fit::FitProblem::defaultVaried());
    QVERIFY2(res.ok, qPrintable(res.error.english()));
    QCOMPARE(res.best[3].name, QString("P0"));
    QVERIFY2(std::abs(res.best[3].value - 1.0) < 1e-6,
             qPrintable(QString::number(res.best[3].value)));
    QVERIFY(std::abs(res.best[1].value - 2.55) < 1e-6);
}

// White noise of known size: epsilonK finds it, and the reduced chi-square
// with that noise is about 1, as it is for a right model and true errors.
// One draw varies widely (the noise is itself estimated from some 36
// independent points), so the means of 12 draws are checked: a chi-square
// off by the factor 2 of counting real and imaginary parts apart would
// give 0.5 or 2.
void tst_FitProblem::noiseFromData() {
    const double noise = 0.002;
    const int draws = 12;
    double epsilonK = 0, reduced = 0;
    for (int seed = 0; seed < draws; ++seed) {
        Model m;
        m.measure(noise, 10.8, 2.55, 0.07, 1.0, 0, unsigned(seed));
        m.wave.setParameter(AWave::Parameter::Amplitude, 9);
        m.wave.setParameter(AWave::Parameter::R, 2.5);
        const fit::FitProblem problem(fitInputs(m.wave, m.data), 1.0, 3.0);
        const fit::ReportContext c = problem.context();
        QVERIFY(c.epsilonR > 0);
        const fit::Result res = problem.run(fit::FitProblem::defaultVaried());
        QVERIFY2(res.ok, qPrintable(res.error.english()));
        QVERIFY(std::abs(res.chiSquare / res.reducedChiSquare - (problem.independentPoints() - 4)) <
                1e-9);
        epsilonK += c.epsilonK / draws;
        reduced += res.reducedChiSquare / draws;
    }
    QVERIFY2(std::abs(epsilonK / noise - 1) < 0.1, qPrintable(QString::number(epsilonK)));
    QVERIFY2(reduced > 0.7 && reduced < 1.6, qPrintable(QString::number(reduced)));
}

QTEST_MAIN(tst_FitProblem)
#include "tst_FitProblem.moc"
