#include "AWave.h"
#include "Envelope.h"
#include "FitProblem.h"
#include "FitRun.h"
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
    void measure(double noise, double a, double r, double sigma, double p0, double p1) {
        std::mt19937 random(7);
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
                QVector<double>* chi) {
    for (int i = 0; i <= 280; ++i) {
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
    QVERIFY2(res.ok, qPrintable(res.error));
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
    QVERIFY2(res.ok, qPrintable(res.error));
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
    QVERIFY2(res.ok, qPrintable(res.error));
    QCOMPARE(problem.independentPoints(), before);
    QCOMPARE(res.best[0].name, QString("amplitude"));
    QCOMPARE(res.best[0].value, 1.0);
    QCOMPARE(res.best[3].name, QString("P0"));
    QCOMPARE(res.best[3].value, 0.6);
}

QTEST_MAIN(tst_FitProblem)
#include "tst_FitProblem.moc"
