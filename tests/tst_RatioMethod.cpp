#include "RatioMethod.h"

#include "FourierFilter.h"

#include <QJsonArray>
#include <QtTest>

#include <cmath>
#include <functional>
#include <vector>

using namespace fit;

// The ratio method on shells written here by formula: A = N F(k)
// exp(-2 sigma² k²) / (k R²) and Φ = 2kR + δ(k), with one F and δ for both,
// as for one scatterer at two temperatures. Every difference is the first
// minus the second.
class tst_RatioMethod : public QObject {
    Q_OBJECT
private slots:
    void recoversKnownDifferences_data();
    void recoversKnownDifferences();
    void errorsFromTheScatter();
    void refusals_data();
    void refusals();
    void report();
};

namespace {

struct Layer { // one shell as the formula has it
    double n, r, sigma2;
    double amplitude(double k) const {
        const double f = (1 + 0.2 * std::sin(1.3 * k)) / std::sqrt(k);
        return n * f * std::exp(-2 * sigma2 * k * k) / (k * r * r);
    }
    double phase(double k) const { return 2 * k * r + 3.1 - 0.6 * k + 0.02 * k * k; }
};

// Amplitude and phase on q = 3 ... 14 Å^-1 in steps of 0.1, the phase
// `turns` whole turns on.
FilteredSpectrum spectrumOf(const Layer& s, int turns = 0) {
    FilteredSpectrum f;
    for (int i = 30; i <= 140; ++i) {
        const double k = i * 0.1;
        f.q << k;
        f.amplitude << s.amplitude(k);
        f.phase << s.phase(k) + 2 * M_PI * turns;
    }
    f.real = f.imag = f.amplitude; // not read
    f.firstIndex = 30;
    return f;
}

} // namespace

Q_DECLARE_METATYPE(Layer)
Q_DECLARE_METATYPE(std::function<void(FilteredSpectrum&, FilteredSpectrum&)>)

// Without noise both lines are exact: Δsigma², ln(A1/A2) at k = 0 (ln(N1/N2)
// + 2 ln(R2/R1)) and ΔR come back to 1e-9, with errors of 0 but for
// rounding; swapped, every difference changes its sign.
void tst_RatioMethod::recoversKnownDifferences_data() {
    QTest::addColumn<Layer>("first");
    QTest::addColumn<Layer>("second");
    QTest::addColumn<int>("turns");
    QTest::addColumn<double>("kMin");
    QTest::addColumn<double>("kMax");
    QTest::newRow("copper 150 K minus 10 K")
        << Layer{12, 2.540, 0.0052} << Layer{12, 2.548, 0.0030} << 0 << 4.0 << 12.0;
    QTest::newRow("N ratio 2/3, same R")
        << Layer{8, 2.5, 0.004} << Layer{12, 2.5, 0.004} << 0 << 3.0 << 14.0;
    QTest::newRow("ΔR 0.1 Å, phases 3 turns apart")
        << Layer{6, 2.9, 0.006} << Layer{9, 2.8, 0.002} << -3 << 5.5 << 9.5;
    QTest::newRow("three points") << Layer{6, 2.9, 0.006} << Layer{9, 2.8, 0.002} << 1 << 7.0
                                  << 7.2;
}

void tst_RatioMethod::recoversKnownDifferences() {
    QFETCH(Layer, first);
    QFETCH(Layer, second);
    QFETCH(int, turns);
    QFETCH(double, kMin);
    QFETCH(double, kMax);
    RatioResult r, swapped;
    QString error;
    QVERIFY2(
        RatioMethod::compute(spectrumOf(first), spectrumOf(second, turns), kMin, kMax, &r, &error),
        qPrintable(error));
    QVERIFY(std::abs(r.deltaSigma2.value - (first.sigma2 - second.sigma2)) < 1e-9);
    QVERIFY(std::abs(r.lnAmplitudeRatio.value -
                     (std::log(first.n / second.n) + 2 * std::log(second.r / first.r))) < 1e-9);
    QVERIFY(std::abs(r.deltaR.value - (first.r - second.r)) < 1e-9);
    for (double e : {r.deltaSigma2.error, r.lnAmplitudeRatio.error, r.deltaR.error})
        QVERIFY(e >= 0 && e < 1e-9);
    QCOMPARE(r.k.size(), qRound((kMax - kMin) / 0.1) + 1);
    QCOMPARE(r.k.first(), kMin);
    QCOMPARE(r.kSquared.last(), kMax * kMax);
    QVERIFY(std::abs(r.phaseDifference.first()) <= M_PI);

    QVERIFY(
        RatioMethod::compute(spectrumOf(second), spectrumOf(first), kMin, kMax, &swapped, &error));
    QVERIFY(std::abs(swapped.deltaSigma2.value + r.deltaSigma2.value) < 1e-9);
    QVERIFY(std::abs(swapped.lnAmplitudeRatio.value + r.lnAmplitudeRatio.value) < 1e-9);
    QVERIFY(std::abs(swapped.deltaR.value + r.deltaR.value) < 1e-9);
}

// A ripple on ln(A1/A2) and on Φ1 - Φ2: the errors are those of a straight
// line's least squares from its own scatter, s² = Σ r² / (n - 2),
// var(slope) = s² / Σ (x - x̄)², var(intercept) = s² (1/n + x̄² / Σ (x - x̄)²),
// worked out here from the normal equations.
void tst_RatioMethod::errorsFromTheScatter() {
    FilteredSpectrum first = spectrumOf({6, 2.9, 0.006}), second = spectrumOf({9, 2.8, 0.002});
    for (int i = 0; i < first.q.size(); ++i) {
        first.amplitude[i] *= std::exp(0.01 * std::sin(7.0 * i));
        first.phase[i] += 0.02 * std::cos(5.0 * i);
    }
    RatioResult r;
    QString error;
    QVERIFY(RatioMethod::compute(first, second, 4, 12, &r, &error));
    const auto check = [](const QVector<double>& x, const QVector<double>& y,
                          const StraightLine& line) {
        const int n = x.size();
        double mx = 0, my = 0, sxx = 0, sxy = 0, rr = 0;
        for (int i = 0; i < n; ++i)
            mx += x[i] / n, my += y[i] / n;
        for (int i = 0; i < n; ++i)
            sxx += (x[i] - mx) * (x[i] - mx), sxy += (x[i] - mx) * (y[i] - my);
        const double slope = sxy / sxx, intercept = my - slope * mx;
        for (int i = 0; i < n; ++i)
            rr += std::pow(y[i] - intercept - slope * x[i], 2);
        const double s2 = rr / (n - 2);
        QVERIFY(std::abs(line.slope - slope) <= 1e-12 * std::abs(slope));
        QVERIFY(std::abs(line.slopeError / std::sqrt(s2 / sxx) - 1) < 1e-9);
        QVERIFY(std::abs(line.interceptError / std::sqrt(s2 * (1.0 / n + mx * mx / sxx)) - 1) <
                1e-9);
    };
    check(r.kSquared, r.lnRatio, r.amplitudeLine);
    check(r.k, r.phaseDifference, r.phaseLine);
    QCOMPARE(r.deltaSigma2.error, r.amplitudeLine.slopeError / 2);
    QCOMPARE(r.lnAmplitudeRatio.error, r.amplitudeLine.interceptError);
    QCOMPARE(r.deltaR.error, r.phaseLine.slopeError / 2);
}

void tst_RatioMethod::refusals_data() {
    using Change = std::function<void(FilteredSpectrum&, FilteredSpectrum&)>;
    QTest::addColumn<Change>("change");
    QTest::addColumn<double>("kMin");
    QTest::addColumn<double>("kMax");
    QTest::addColumn<QString>("message"); // empty: accepted
    const Change none = [](FilteredSpectrum&, FilteredSpectrum&) {};
    QTest::newRow("reversed") << none << 9.0 << 5.0 << "first below";
    QTest::newRow("NaN") << none << qQNaN() << 5.0 << "finite numbers";
    QTest::newRow("below the first") << none << 2.9 << 9.0 << "reaches beyond";
    QTest::newRow("beyond the second") << Change([](FilteredSpectrum&, FilteredSpectrum& b) {
        for (QVector<double>* v : {&b.q, &b.amplitude, &b.phase})
            v->removeLast();
    }) << 5.0 << 14.0 << "reaches beyond";
    QTest::newRow("sizes differ") << Change([](FilteredSpectrum& a, FilteredSpectrum&) {
        a.phase.removeLast();
    }) << 5.0 << 9.0 << "as many";
    QTest::newRow("empty") << Change([](FilteredSpectrum& a, FilteredSpectrum&) {
        a = FilteredSpectrum();
    }) << 5.0 << 9.0 << "no points";
    QTest::newRow("two points") << none << 5.0 << 5.15 << "holds 2 points";
    QTest::newRow("another grid") << Change([](FilteredSpectrum&, FilteredSpectrum& b) {
        for (double& q : b.q)
            q += 0.05;
    }) << 5.0 << 9.0 << "do not share";
    QTest::newRow("zero amplitude inside")
        << Change([](FilteredSpectrum& a, FilteredSpectrum&) { a.amplitude[40] = 0; }) << 5.0 << 9.0
        << "k = 7 Å⁻¹ is 0";
    QTest::newRow("negative amplitude in the second")
        << Change([](FilteredSpectrum&, FilteredSpectrum& b) { b.amplitude[60] = -1e-3; }) << 5.0
        << 9.0 << "k = 9 Å⁻¹ is -0.001";
    QTest::newRow("NaN phase") << Change([](FilteredSpectrum& a, FilteredSpectrum&) {
        a.phase[30] = qQNaN();
    }) << 5.0 << 9.0 << "not a finite number";
    QTest::newRow("zero amplitude outside is no matter")
        << Change([](FilteredSpectrum& a, FilteredSpectrum&) { a.amplitude[0] = 0; }) << 5.0 << 9.0
        << "";
}

void tst_RatioMethod::refusals() {
    QFETCH(std::function<void(FilteredSpectrum&, FilteredSpectrum&)>, change);
    QFETCH(double, kMin);
    QFETCH(double, kMax);
    QFETCH(QString, message);
    FilteredSpectrum first = spectrumOf({6, 2.9, 0.006}), second = spectrumOf({9, 2.8, 0.002});
    change(first, second);
    RatioResult r;
    r.k = {-1};
    QString error;
    QCOMPARE(RatioMethod::compute(first, second, kMin, kMax, &r, &error), message.isEmpty());
    if (message.isEmpty())
        return;
    QVERIFY2(error.contains(message) && !error.contains('\n'), qPrintable(error));
    QCOMPARE(r.k, QVector<double>{-1});
}

// The report read back: every value, error and range as given; what is not
// finite is null.
void tst_RatioMethod::report() {
    RatioResult r;
    r.k = {5, 5.1, 5.2, 5.3};
    r.deltaSigma2 = {0.00176, 0.00021};
    r.lnAmplitudeRatio = {-0.031, qInf()};
    r.deltaR = {-0.0042, 0.0007};
    RatioContext c;
    c.kMin = 5;
    c.kMax = 5.3;
    c.kWindow = {3, 4, 15, 16};
    c.rWindow = {1.4, 1.7, 2.8, qQNaN()};
    c.n = 2;
    const QJsonObject o = ratioReportJson(r, c);
    QCOMPARE(o.value("format").toString(), QString("tovik-ratio"));
    QCOMPARE(o.value("version").toInt(), 1);
    QCOMPARE(o.value("deltaSigma2").toObject().value("value").toDouble(), 0.00176);
    QCOMPARE(o.value("deltaSigma2").toObject().value("error").toDouble(), 0.00021);
    QCOMPARE(o.value("lnAmplitudeRatio").toObject().value("value").toDouble(), -0.031);
    QVERIFY(o.value("lnAmplitudeRatio").toObject().value("error").isNull());
    QCOMPARE(o.value("deltaR").toObject().value("value").toDouble(), -0.0042);
    QCOMPARE(o.value("deltaR").toObject().value("error").toDouble(), 0.0007);
    QCOMPARE(o.value("kRange").toArray(), (QJsonArray{5, 5.3}));
    QCOMPARE(o.value("kWindow").toArray(), (QJsonArray{3, 4, 15, 16}));
    QCOMPARE(o.value("Rwindow").toArray(), (QJsonArray{1.4, 1.7, 2.8, QJsonValue()}));
    QCOMPARE(o.value("n").toInt(), 2);
    QCOMPARE(o.value("points").toInt(), 4);
}

QTEST_MAIN(tst_RatioMethod)
#include "tst_RatioMethod.moc"
