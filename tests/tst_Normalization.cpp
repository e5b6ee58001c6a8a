#include "Normalization.h"

#include <QtTest>

#include <cmath>
#include <functional>

// The edge's energy, the pre-edge line, the post-edge quadratic and the step,
// held to spectra written as closed forms.
class tst_Normalization : public QObject {
    Q_OBJECT
private slots:
    void straightPreEdge_data();
    void straightPreEdge();
    void arctanEdge_data();
    void arctanEdge();
    void clippedRange();
    void refusals_data();
    void refusals();
    void unsortedData();
};

namespace {

const double pi = 3.14159265358979323846;

MuData spectrum(double from, double to, double spacing, const std::function<double(double)>& mu) {
    MuData data;
    for (int i = 0; from + i * spacing <= to; ++i) {
        const double e = from + i * spacing;
        data.energy << e;
        data.mu << mu(e);
    }
    return data;
}

} // namespace

void tst_Normalization::straightPreEdge_data() {
    QTest::addColumn<double>("intercept");
    QTest::addColumn<double>("slope");
    QTest::addColumn<double>("step");
    QTest::addColumn<double>("curvature");
    QTest::addColumn<double>("spacing");
    QTest::newRow("transmission: falling line") << 2.3 << -4e-4 << 1.1 << -2e-7 << 1.0;
    QTest::newRow("fluorescence: flat, small step") << 0.01 << 0.0 << 0.05 << 0.0 << 2.5;
    QTest::newRow("rising line, large values") << 1e3 << 0.3 << 40.0 << 1e-5 << 0.7;
}

// A straight pre-edge and an exactly quadratic post-edge, joined by a steep
// edge at a given E0: both fits recover the formulas, the step is their
// difference at E0 and the normalised mu is 0 before and 1 + ... after.
void tst_Normalization::straightPreEdge() {
    QFETCH(double, intercept);
    QFETCH(double, slope);
    QFETCH(double, step);
    QFETCH(double, curvature);
    QFETCH(double, spacing);
    const double e0 = 7112;
    auto pre = [&](double e) { return intercept + slope * (e - e0); };
    auto post = [&](double e) {
        const double d = e - e0;
        return pre(e) + step + 1e-4 * step * d + curvature * d * d;
    };
    const MuData data = spectrum(e0 - 250, e0 + 800, spacing, [&](double e) {
        return e < e0 - 20 ? pre(e) : e > e0 + 100 ? post(e) : pre(e) + step * (e > e0);
    });
    AbsorptionSettings settings;
    settings.e0 = e0;
    AbsorptionResult r;
    QString error;
    QVERIFY2(Normalization::run(data, settings, &r, &error), qPrintable(error));
    const double scale = std::abs(intercept) + std::abs(step);
    QCOMPARE(r.e0, e0);
    QVERIFY(std::abs(r.preEdgeLine[0] - intercept) < 1e-12 * scale);
    QVERIFY(std::abs(r.preEdgeLine[1] - slope) < 1e-14 * scale);
    QVERIFY(std::abs(r.step - step) < 1e-10 * scale);
    QVERIFY(std::abs(r.postEdgeQuadratic[2] - curvature) < 1e-14 * scale);
    for (int i = 0; i < data.energy.size(); ++i) {
        const double e = data.energy[i];
        QVERIFY(std::abs(r.preEdge[i] - pre(e)) < 1e-10 * scale);
        if (e < e0 - 20)
            QVERIFY(std::abs(r.normalized[i]) < 1e-9);
        if (e > e0 + 100)
            QVERIFY(std::abs(r.postEdge[i] - post(e)) < 1e-10 * scale);
    }
    QCOMPARE(r.preEdgeRange, (std::array<double, 2>{{-150, -30}}));
    QCOMPARE(r.normalizationRange[0], 150.0);
    QCOMPARE(r.normalizationRange[1], data.energy.last() - e0);
}

void tst_Normalization::arctanEdge_data() {
    QTest::addColumn<double>("edge");
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("spacing");
    QTest::addColumn<double>("tolerance");
    // On the grid the central differences are symmetric about the
    // inflection point and find it exactly; between grid points, within
    // half a step.
    QTest::newRow("on the grid") << 8979.0 << 2.0 << 0.5 << 1e-9;
    QTest::newRow("broad, on a coarse grid") << 7112.0 << 8.0 << 2.0 << 1e-9;
    QTest::newRow("between grid points") << 8979.3 << 1.5 << 0.5 << 0.25;
    QTest::newRow("sharp, between points") << 20000.7 << 0.8 << 1.0 << 0.5;
}

// E0 of mu = atan((E - Ec) / w) on a sloping line: the inflection point Ec,
// where the derivative w / (w^2 + (E - Ec)^2) peaks.
void tst_Normalization::arctanEdge() {
    QFETCH(double, edge);
    QFETCH(double, width);
    QFETCH(double, spacing);
    QFETCH(double, tolerance);
    const double from = std::floor(edge) - 300;
    const MuData data = spectrum(from, from + 1200, spacing, [&](double e) {
        return 0.3 + 0.8 * (0.5 + std::atan((e - edge) / width) / pi);
    });
    QVERIFY2(std::abs(Normalization::edgeEnergy(data.energy, data.mu) - edge) <= tolerance,
             qPrintable(QString::number(Normalization::edgeEnergy(data.energy, data.mu), 'f', 4)));
    AbsorptionResult r;
    QString error;
    QVERIFY2(Normalization::run(data, {}, &r, &error), qPrintable(error));
    QVERIFY(std::abs(r.e0 - edge) <= tolerance);
    // The derivative at E0 against the closed form's, within the central
    // difference's error (the third derivative times h^2 / 6).
    const int at = int(data.energy.indexOf(r.e0));
    const double d = r.e0 - edge;
    const double exact = 0.8 / pi * width / (width * width + d * d);
    QVERIFY2(std::abs(r.derivative[at] - exact) <
                 0.35 * exact * spacing * spacing / (width * width),
             qPrintable(QString::number(r.derivative[at] / exact)));
    // The lines fitted to the arctan's 1/E tails put the step below its height.
    QVERIFY2(r.step > 0.6 && r.step < 0.8, qPrintable(QString::number(r.step)));
}

// A range that reaches beyond the data is cut at the data's end.
void tst_Normalization::clippedRange() {
    const MuData data =
        spectrum(9000 - 100, 9500, 1, [](double e) { return e < 9000 ? 0.1 : 1.0; });
    AbsorptionSettings settings;
    settings.e0 = 9000;
    settings.normalization = {{100, 2000}};
    AbsorptionResult r;
    QString error;
    QVERIFY2(Normalization::run(data, settings, &r, &error), qPrintable(error));
    QCOMPARE(r.preEdgeRange, (std::array<double, 2>{{-100, -30}}));
    QCOMPARE(r.normalizationRange, (std::array<double, 2>{{100, 500}}));
    QVERIFY(std::abs(r.step - 0.9) < 1e-12);
}

void tst_Normalization::refusals_data() {
    QTest::addColumn<double>("e0");
    QTest::addColumn<double>("preFrom");
    QTest::addColumn<double>("preTo");
    QTest::addColumn<double>("postFrom");
    QTest::addColumn<double>("postTo");
    QTest::addColumn<bool>("falling");
    QTest::addColumn<QString>("message");
    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("falling edge: no positive step")
        << 9000.0 << -150.0 << -30.0 << 150.0 << inf << true
        << "No edge: at E0 = 9000 eV the post-edge curve does not lie above the pre-edge line "
           "(step -0.9626).";
    QTest::newRow("E0 below the data")
        << 8000.0 << -150.0 << -30.0 << 150.0 << inf << false
        << "E0 = 8000 eV lies outside the data, which span 8800 to 9800 eV.";
    QTest::newRow("pre-edge below the data")
        << 9000.0 << -500.0 << -300.0 << 150.0 << inf << false
        << "The pre-edge range [E0 - 500, E0 - 300] eV lies outside the data, which span 8800 to "
           "9800 eV.";
    QTest::newRow("normalization above the data")
        << 9000.0 << -150.0 << -30.0 << 900.0 << 1000.0 << false
        << "The normalization range [E0 + 900, E0 + 1000] eV lies outside the data, which span "
           "8800 to 9800 eV.";
    QTest::newRow("reversed pre-edge")
        << 9000.0 << -30.0 << -150.0 << 150.0 << inf << false
        << "The pre-edge range [-30, -150] eV must begin below its end.";
    QTest::newRow("empty normalization range")
        << 9000.0 << -150.0 << -30.0 << 150.0 << 150.0 << false
        << "The normalization range [150, 150] eV must begin below its end.";
    QTest::newRow("one point in the pre-edge")
        << 9000.0 << -100.5 << -99.5 << 150.0 << inf << false
        << "The pre-edge range needs at least 2 points; it holds 1.";
    QTest::newRow("two points for a quadratic")
        << 9000.0 << -150.0 << -30.0 << 100.0 << 110.0 << false
        << "The normalization range needs at least 3 points; it holds 2.";
    QTest::newRow("E0 not a number") << std::nan("") << -150.0 << -30.0 << 150.0 << inf << false
                                     << "E0 = nan eV lies outside the data, which span 8800 to "
                                        "9800 eV.";
    QTest::newRow("not a number") << 9000.0 << std::nan("") << -30.0 << 150.0 << inf << false
                                  << "The pre-edge range [nan, -30] eV must begin below its end.";
}

// Each refusal says what is wrong and leaves the result alone.
void tst_Normalization::refusals() {
    QFETCH(double, e0);
    QFETCH(double, preFrom);
    QFETCH(double, preTo);
    QFETCH(double, postFrom);
    QFETCH(double, postTo);
    QFETCH(bool, falling);
    QFETCH(QString, message);
    // 8800 ... 9800 eV, 10 eV apart, an edge of height 1 at 9000 eV.
    const MuData data = spectrum(8800, 9800, 10, [&](double e) {
        return (falling ? -1 : 1) * (0.5 + std::atan((e - 9000) / 3) / pi);
    });
    AbsorptionSettings settings;
    settings.e0 = e0;
    settings.preEdge = {{preFrom, preTo}};
    settings.normalization = {{postFrom, postTo}};
    AbsorptionResult r;
    r.e0 = -1;
    QString error;
    QVERIFY(!Normalization::run(data, settings, &r, &error));
    QCOMPARE(error, message);
    QCOMPARE(r.e0, -1.0);
    QVERIFY(r.energy.isEmpty());
}

// Data made by code rather than the reader are checked as the reader checks.
void tst_Normalization::unsortedData() {
    MuData data = spectrum(8800, 9800, 10, [](double e) { return e > 9000; });
    std::swap(data.energy[5], data.energy[6]);
    AbsorptionResult r;
    QString error;
    QVERIFY(!Normalization::run(data, {}, &r, &error));
    QCOMPARE(error, "The energies must increase and every value must be finite.");
    data = spectrum(8800, 9800, 10, [](double e) { return e > 9000; });
    data.mu[40] = std::nan("");
    QVERIFY(!Normalization::run(data, {}, &r, &error));
    QCOMPARE(error, "The energies must increase and every value must be finite.");
    data.mu.resize(19);
    data.energy.resize(19);
    QVERIFY(!Normalization::run(data, {}, &r, &error));
    QCOMPARE(error, "mu(E) needs at least 20 points.");
}

QTEST_GUILESS_MAIN(tst_Normalization)
#include "tst_Normalization.moc"
