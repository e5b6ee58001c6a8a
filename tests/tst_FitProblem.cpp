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

QTEST_MAIN(tst_FitProblem)
#include "tst_FitProblem.moc"
