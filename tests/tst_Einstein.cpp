#include "Einstein.h"

#include <QtTest>

#include <cmath>

// The Einstein model against its limits and the constants it comes from.
class tst_Einstein : public QObject {
    Q_OBJECT
private slots:
    void constantFromCodata();
    void limits_data();
    void limits();
    void derivative_data();
    void derivative();
};

void tst_Einstein::constantFromCodata() {
    // hbar² / (2 k_B u) from CODATA 2018, in Å² K.
    const double hbar = 1.054571817e-34, kB = 1.380649e-23, u = 1.66053906660e-27;
    const double c = hbar * hbar / (2 * kB * u) * 1e20;
    QVERIFY2(std::abs(fit::Einstein::constant - c) < 1e-4 * c, qPrintable(QString::number(c)));
}

void tst_Einstein::limits_data() {
    QTest::addColumn<double>("theta");
    QTest::addColumn<double>("mass");
    QTest::addColumn<double>("temperature");
    QTest::addColumn<bool>("cold");
    QTest::addColumn<double>("tolerance");
    // Cold: coth(theta / 2T) -> 1 and sigma² is the zero-point motion.
    QTest::newRow("Cu-Cu, 1 K") << 233.0 << 63.546 / 2 << 1.0 << true << 1e-14;
    QTest::newRow("light pair, 5 K") << 600.0 << 6.0 << 5.0 << true << 1e-14;
    QTest::newRow("soft pair, 0.5 K") << 50.0 << 100.0 << 0.5 << true << 1e-14;
    // Hot: coth x = 1/x + x/3 + ..., so the relative difference is x² / 3.
    QTest::newRow("Cu-Cu, 1e5 K") << 233.0 << 63.546 / 2 << 1e5 << false << 1e-6;
    QTest::newRow("light pair, 1e6 K") << 600.0 << 6.0 << 1e6 << false << 1e-6;
    QTest::newRow("soft pair, 1e5 K") << 50.0 << 100.0 << 1e5 << false << 1e-6;
}

void tst_Einstein::limits() {
    QFETCH(double, theta);
    QFETCH(double, mass);
    QFETCH(double, temperature);
    QFETCH(bool, cold);
    QFETCH(double, tolerance);
    const double c = 24.254; // hbar² / (2 k_B u), Å² K
    const double limit = cold ? c / (mass * theta) : temperature * 2 * c / (mass * theta * theta);
    for (const double offset : {0.0, 0.002}) {
        const fit::Einstein model{theta, mass, offset};
        const double got = model.sigma2(temperature) - offset;
        QVERIFY2(std::abs(got - limit) <= tolerance * limit,
                 qPrintable(QString("%1, not %2 (static %3)").arg(got).arg(limit).arg(offset)));
    }
}

void tst_Einstein::derivative_data() {
    QTest::addColumn<double>("theta");
    QTest::addColumn<double>("temperature");
    QTest::newRow("cold") << 233.0 << 10.0;
    QTest::newRow("near theta") << 233.0 << 150.0;
    QTest::newRow("hot") << 233.0 << 3000.0;
    QTest::newRow("deep cold (sinh overflows)") << 3000.0 << 1.0;
}

void tst_Einstein::derivative() {
    QFETCH(double, theta);
    QFETCH(double, temperature);
    const double mass = 63.546 / 2;
    // A central difference of the closed form written with cosh / sinh.
    const auto sigma2 = [&](double t) {
        const double x = t / (2 * temperature);
        return 24.254 / (mass * t) * std::cosh(x) / std::sinh(x);
    };
    const double h = 1e-4 * theta;
    const double expected = std::isfinite(std::cosh(theta / (2 * temperature)))
                                ? (sigma2(theta + h) - sigma2(theta - h)) / (2 * h)
                                : -24.254 / (mass * theta * theta);
    const double got = fit::Einstein{theta, mass, 0.001}.dSigma2dTheta(temperature);
    QVERIFY2(got < 0 && std::abs(got - expected) <= 1e-6 * std::abs(expected),
             qPrintable(QString("%1, not %2").arg(got).arg(expected)));
}

QTEST_APPLESS_MAIN(tst_Einstein)
#include "tst_Einstein.moc"
