#include "Fitter.h"

#include <QtTest>

#include <cmath>

// A straight line has closed-form least-squares estimates, standard errors
// and correlation: the oracle for the optimiser and its statistics.
class tst_Fitter : public QObject {
    Q_OBJECT
private slots:
    void straightLine_data();
    void straightLine();
    void refusals_data();
    void refusals();
    void bounds_data();
    void bounds();
    void notConverged();
    void undeterminedHasNoError();
};

void tst_Fitter::straightLine_data() {
    QTest::addColumn<double>("x0");
    QTest::addColumn<double>("noise");
    QTest::newRow("noise-free") << 0.0 << 0.0;
    QTest::newRow("noisy, correlated") << 10.0 << 0.05;
}

void tst_Fitter::straightLine() {
    QFETCH(double, x0);
    QFETCH(double, noise);
    const int m = 40;
    std::vector<double> x(m), y(m);
    for (int i = 0; i < m; ++i) {
        x[i] = x0 + i * 0.1;
        y[i] = 1.5 - 0.75 * x[i] + noise * std::sin(7.3 * i * i + 1);
    }
    std::vector<fit::Parameter> p{{"a", 0.2, -50, 50, true}, {"b", 0.1, -5, 5, true}};
    auto line = [&](const std::vector<double>& v, std::vector<double>& r) {
        for (int i = 0; i < m; ++i)
            r[i] = v[0] + v[1] * x[i] - y[i];
        return true;
    };
    double ySquares = 0;
    for (double v : y)
        ySquares += v * v;
    const fit::Result res = fit::leastSquares(p, m, line, m, ySquares, 1.0);
    QVERIFY2(res.ok, qPrintable(res.error.text()));

    // Closed form.
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (int i = 0; i < m; ++i) {
        sx += x[i], sy += y[i], sxx += x[i] * x[i], sxy += x[i] * y[i];
    }
    const double det = m * sxx - sx * sx;
    const double b = (m * sxy - sx * sy) / det, a = (sy - b * sx) / m;
    double ss = 0;
    for (int i = 0; i < m; ++i)
        ss += std::pow(a + b * x[i] - y[i], 2);
    const double s2 = ss / (m - 2);
    QVERIFY(std::abs(res.best[0].value - a) < 1e-6 * (1 + std::abs(a)));
    QVERIFY(std::abs(res.best[1].value - b) < 1e-6);
    QVERIFY(std::abs(res.chiSquare - ss) < 1e-9 + 1e-6 * ss);
    QVERIFY(std::abs(res.reducedChiSquare - s2) < 1e-9 + 1e-6 * s2);
    QVERIFY(std::abs(res.rFactor - ss / ySquares) < 1e-9);
    if (noise > 0) {
        QVERIFY(std::abs(res.errors[0] / std::sqrt(s2 * sxx / det) - 1) < 1e-4);
        QVERIFY(std::abs(res.errors[1] / std::sqrt(s2 * m / det) - 1) < 1e-4);
    }
    // Both rows put x far enough from 0 for |corr(a, b)| > 0.8.
    QCOMPARE(int(res.correlations.size()), 1);
    QVERIFY(std::abs(res.correlations[0].value + sx / std::sqrt(m * sxx)) < 1e-4);
    QVERIFY(res.evaluations > 0);
    QVERIFY(!res.message.isEmpty());
}

void tst_Fitter::refusals_data() {
    QTest::addColumn<int>("varied");
    QTest::addColumn<double>("independent");
    QTest::addColumn<bool>("finite");
    QTest::addColumn<QString>("words");
    QTest::newRow("nothing varied") << 0 << 10.0 << true << "No parameter";
    QTest::newRow("as many as N_idp") << 2 << 2.0 << true << "independent points";
    QTest::newRow("non-finite model") << 2 << 10.0 << false << "non-finite";
}

void tst_Fitter::refusals() {
    QFETCH(int, varied);
    QFETCH(double, independent);
    QFETCH(bool, finite);
    QFETCH(QString, words);
    std::vector<fit::Parameter> p{{"a", 1, 0, 2, varied > 0}, {"b", 1, 0, 2, varied > 1}};
    auto model = [&](const std::vector<double>& v, std::vector<double>& r) {
        for (size_t i = 0; i < r.size(); ++i)
            r[i] = finite ? v[0] - v[1] * i : std::nan("");
        return true;
    };
    const fit::Result res = fit::leastSquares(p, 10, model, independent, 1, 1.0);
    QVERIFY(!res.ok);
    QVERIFY2(res.error.text().contains(words), qPrintable(res.error.text()));
}

// y = a (1 - e^{-x}) + b on 20 points, a in [0, 2] and b in [0, 1]: a
// start on a bound leaves it when the minimum is inside; a minimum beyond
// a bound ends on it, flagged, with no error of its own.
void tst_Fitter::bounds_data() {
    QTest::addColumn<double>("startA");
    QTest::addColumn<double>("trueA");
    QTest::addColumn<bool>("atBound");
    QTest::newRow("start on the lower bound") << 0.0 << 1.3 << false;
    QTest::newRow("start on the upper bound") << 2.0 << 0.4 << false;
    QTest::newRow("minimum beyond the upper bound") << 1.0 << 2.5 << true;
}

void tst_Fitter::bounds() {
    QFETCH(double, startA);
    QFETCH(double, trueA);
    QFETCH(bool, atBound);
    const int m = 20;
    std::vector<double> x(m), y(m);
    for (int i = 0; i < m; ++i) {
        x[i] = 0.2 * i;
        y[i] = trueA * (1 - std::exp(-x[i])) + 0.3 + 0.01 * std::sin(5.1 * i);
    }
    std::vector<fit::Parameter> p{{"a", startA, 0, 2, true}, {"b", 0.5, 0, 1, true}};
    auto model = [&](const std::vector<double>& v, std::vector<double>& r) {
        for (int i = 0; i < m; ++i)
            r[i] = v[0] * (1 - std::exp(-x[i])) + v[1] - y[i];
        return true;
    };
    const fit::Result res = fit::leastSquares(p, m, model, m, 1, 0.01);
    QVERIFY2(res.ok, qPrintable(res.error.english()));
    QCOMPARE(res.best[0].atBound, atBound);
    QVERIFY(!res.best[1].atBound);
    if (atBound) {
        QCOMPARE(res.best[0].value, 2.0);
        QVERIFY(std::isnan(res.errors[0]));
        QVERIFY(res.correlations.empty());
    } else {
        QVERIFY2(std::abs(res.best[0].value - trueA) < 0.05,
                 qPrintable(QString::number(res.best[0].value)));
        QVERIFY(res.errors[0] > 0 && res.errors[0] < 0.1);
    }
    QVERIFY(res.errors[1] > 0);
}

// A model that does not respond to its parameter far from the data stops
// MINPACK on "orthogonal to the Jacobian" (4): that is no fit.
void tst_Fitter::notConverged() {
    std::vector<fit::Parameter> p{{"a", 1, 0, 2, true}};
    auto flat = [](const std::vector<double>&, std::vector<double>& r) {
        for (size_t i = 0; i < r.size(); ++i)
            r[i] = 1.0 + i;
        return true;
    };
    const fit::Result res = fit::leastSquares(p, 10, flat, 10, 1, 1.0);
    QVERIFY(!res.ok);
    QCOMPARE(res.info, 4);
    QVERIFY2(res.error.english().startsWith("The fit did not converge (MINPACK: the residuals are "
                                            "orthogonal to the Jacobian's columns"),
             qPrintable(res.error.english()));
}

// A parameter the residuals do not depend on gets no error, not "± 0"; the
// one that is determined keeps the closed form's sqrt(s² / Σx²).
void tst_Fitter::undeterminedHasNoError() {
    const int m = 10;
    std::vector<fit::Parameter> p{{"a", 0.5, -5, 5, true}, {"b", 0.5, -5, 5, true}};
    auto model = [&](const std::vector<double>& v, std::vector<double>& r) {
        for (int i = 0; i < m; ++i)
            r[i] = v[0] * i - (2.0 * i + (i % 2 ? 0.1 : -0.1));
        return true;
    };
    const fit::Result res = fit::leastSquares(p, m, model, m, 1, 1.0);
    QVERIFY2(res.ok, qPrintable(res.error.english()));
    // a = Σ i y_i / Σ i² = 2 + 0.5 / 285; s² = Σ (a i - y_i)² / (m - 2).
    const double a = 2 + 0.5 / 285;
    double ss = 0;
    for (int i = 0; i < m; ++i)
        ss += std::pow(a * i - (2.0 * i + (i % 2 ? 0.1 : -0.1)), 2);
    QVERIFY(std::abs(res.best[0].value - a) < 1e-7);
    QVERIFY(std::isnan(res.errors[1]));
    QVERIFY(!res.best[1].atBound);
    QVERIFY2(std::abs(res.errors[0] / std::sqrt(ss / (m - 2) / 285) - 1) < 1e-4,
             qPrintable(QString::number(res.errors[0])));
}

QTEST_GUILESS_MAIN(tst_Fitter)
#include "tst_Fitter.moc"
