#include "PathChi.h"

#include <QFile>
#include <QtTest>

#include <cmath>

// One path's chi(k) against the sine form written down by hand for a path
// whose columns are constant or linear, then on copper's real path.
struct Synthetic {
    double mag = 0.5;
    double red = 1;
    double lambda = 8;
    double phc = 1.2;     // real[2*phc], constant
    double slope = -1.3;  // phase[feff] = slope · k, rad·Å
    bool wrapped = false; // phase[feff] written reduced to (−π, π]
    int firstRow = 0;     // rows k = firstRow/10 ... 20 Å⁻¹
};
Q_DECLARE_METATYPE(Synthetic)
Q_DECLARE_METATYPE(PathParameters)

namespace {

constexpr double reff = 2.2;
constexpr double Pi = 3.14159265358979323846;

PathChi synthetic(const Synthetic& s) {
    QByteArray text = "# synthetic Fe-O path\n#  2   6.000   2.2000  nleg, deg, reff\n"
                      "#  0 0 0  0 26 Fe\n#  0 0 2.2  1 8 O\n"
                      "#   k   real[2*phc]   mag[feff]  phase[feff] red factor   lambda  real[p]\n";
    for (int i = s.firstRow; i <= 200; ++i) {
        const double k = i / 10.0;
        const double phase = s.wrapped ? std::remainder(s.slope * k, 2 * Pi) : s.slope * k;
        text += QByteArray::number(k, 'g', 17) + ' ' + QByteArray::number(s.phc, 'g', 17) + ' ' +
                QByteArray::number(s.mag, 'g', 17) + ' ' + QByteArray::number(phase, 'g', 17) +
                ' ' + QByteArray::number(s.red, 'g', 17) + ' ' +
                QByteArray::number(s.lambda, 'g', 17) + ' ' + QByteArray::number(k, 'g', 17) + '\n';
    }
    PathData data;
    QString error;
    if (!PathFile::parse(text, &data, &error))
        qFatal("%s", qPrintable(error));
    return PathChi(data);
}

// With p = |q| + i/λ: −2 p² σ² + 2 i p s = −2σ²(q² − 1/λ²) − 2s/λ
// + i (2 |q| s − 4σ² |q|/λ), s = ΔR − 2σ²/reff.
double byHand(const Synthetic& s, const PathParameters& p, double k) {
    const double e = k * k - 0.2624682917 * p.deltaE0;
    const double q = e < 0 ? -std::sqrt(-e) : std::sqrt(e);
    const double a = std::abs(q);
    const double r = reff + p.deltaR;
    const double shift = p.deltaR - 2 * p.sigma2 / reff;
    const double size =
        p.amplitude * s.mag * s.red / (q * r * r) *
        std::exp(-2 * reff / s.lambda - 2 * p.sigma2 * (a * a - 1 / (s.lambda * s.lambda)) -
                 2 * shift / s.lambda);
    const double phase = 2 * q * reff + s.phc + s.slope * a + 2 * a * shift -
                         4 * p.sigma2 * a / s.lambda + p.phase0 + p.phase1 * k + p.phase2 * k * k;
    return size * std::sin(phase);
}

PathChi copper() {
    PathData data;
    QString error;
    if (!PathFile::readFile(QStringLiteral(TOVIK_TEST_DATA "/feff0001.dat"), &data, &error))
        qFatal("%s", qPrintable(error));
    return PathChi(data);
}

} // namespace

class tst_PathChi : public QObject {
    Q_OBJECT
private slots:
    void closedForm_data();
    void closedForm();
    void refused_data();
    void refused();
    void copperAmplitude();
};

void tst_PathChi::closedForm_data() {
    QTest::addColumn<Synthetic>("path");
    QTest::addColumn<PathParameters>("p");
    QTest::addColumn<double>("kFrom");
    const Synthetic plain;
    Synthetic reduced;
    reduced.red = 0.8;
    reduced.lambda = 5;
    Synthetic wrapped;
    wrapped.wrapped = true;
    QTest::newRow("bare") << plain << PathParameters{5.4, 0, 0, 0} << 0.5;
    QTest::newRow("sigma2") << plain << PathParameters{5.4, 0, 0.006, 0} << 0.5;
    QTest::newRow("deltaR") << plain << PathParameters{5.4, 0.1, 0, 0} << 0.5;
    QTest::newRow("deltaR < 0 and sigma2") << plain << PathParameters{4, -0.15, 0.004, 0} << 0.5;
    QTest::newRow("E0 shift down") << plain << PathParameters{5.4, 0, 0.002, -7} << 0.5;
    QTest::newRow("E0 shift up") << plain << PathParameters{5.4, 0.05, 0.002, 5} << 1.5;
    QTest::newRow("below the shifted edge") << plain << PathParameters{5.4, 0, 0.002, 50} << 0.5;
    QTest::newRow("extra phase") << plain << PathParameters{5.4, 0, 0.003, 2, 0.3, -0.4, 0.01}
                                 << 0.5;
    QTest::newRow("reduction and short lambda")
        << reduced << PathParameters{3, 0.02, 0.005, -3} << 0.5;
    QTest::newRow("phase column wrapped") << wrapped << PathParameters{5.4, 0, 0.003, 0} << 0.5;
}

void tst_PathChi::closedForm() {
    QFETCH(Synthetic, path);
    QFETCH(PathParameters, p);
    QFETCH(double, kFrom);
    QVector<double> k;
    for (double x = kFrom; x <= 19.5; x += 0.05)
        k << x;
    PathCurve curve;
    QString error;
    QVERIFY2(synthetic(path).evaluate(k, p, &curve, &error), qPrintable(error));
    QCOMPARE(curve.chi.size(), k.size());
    for (int i = 0; i < k.size(); ++i) {
        const double expected = byHand(path, p, k[i]);
        QVERIFY2(
            std::abs(curve.chi[i] - expected) < 1e-11,
            qPrintable(QString("k %1: %2, by hand %3").arg(k[i]).arg(curve.chi[i]).arg(expected)));
        QVERIFY(curve.envelope[i] >= 0);
        QVERIFY(std::abs(curve.envelope[i] * std::sin(curve.phase[i]) - curve.chi[i]) < 1e-12);
    }
}

void tst_PathChi::refused_data() {
    QTest::addColumn<int>("firstRow");
    QTest::addColumn<QVector<double>>("k");
    QTest::addColumn<PathParameters>("p");
    QTest::addColumn<QString>("message");
    QTest::newRow("beyond the last k")
        << 0 << QVector<double>{5, 20.5} << PathParameters{1, 0, 0, 0}
        << "k = 20.5 Å⁻¹ lies beyond the path's last k, 20 Å⁻¹.";
    QTest::newRow("shifted beyond the last k")
        << 0 << QVector<double>{19.95} << PathParameters{1, 0, 0, -10}
        << "k = 19.95 Å⁻¹ with an E0 shift of -10 eV reads the path at 20.0157 Å⁻¹, beyond its "
           "last k, 20 Å⁻¹.";
    QTest::newRow("below the first k") << 3 << QVector<double>{0.2, 1} << PathParameters{1, 0, 0, 0}
                                       << "k = 0.2 Å⁻¹ lies below the path's first k, 0.3 Å⁻¹.";
    QTest::newRow("k not a number") << 0 << QVector<double>{qQNaN()} << PathParameters{1, 0, 0, 0}
                                    << "k = nan is not a finite number.";
    QTest::newRow("R = 0") << 0 << QVector<double>{5} << PathParameters{1, -2.2, 0, 0}
                           << "R = reff + ΔR must be positive; it is 0 Å.";
    QTest::newRow("sigma2 not finite") << 0 << QVector<double>{5} << PathParameters{1, 0, qInf(), 0}
                                       << "The path's parameters must be finite numbers.";
}

void tst_PathChi::refused() {
    QFETCH(int, firstRow);
    QFETCH(QVector<double>, k);
    QFETCH(PathParameters, p);
    QFETCH(QString, message);
    Synthetic s;
    s.firstRow = firstRow;
    PathCurve curve;
    curve.chi = {42};
    QString error;
    QVERIFY(!synthetic(s).evaluate(k, p, &curve, &error));
    QCOMPARE(error, message);
    QCOMPARE(curve.chi, QVector<double>{42});
}

// At FEFF's own rows the path's amplitude factor is the file's numbers.
void tst_PathChi::copperAmplitude() {
    const PathChi path = copper();
    QCOMPARE(path.defaults().amplitude, 10.8);
    QVector<double> a;
    QString error;
    QVERIFY2(path.amplitude({5, 10, 15}, 0, &a, &error), qPrintable(error));
    const double expected[] = {5.9187e-01 * 1.096 * std::exp(-2 * 2.5478 / 6.9979),
                               5.2908e-01 * 0.9222 * std::exp(-2 * 2.5478 / 16.812),
                               2.1646e-01 * 0.8801 * std::exp(-2 * 2.5478 / 30.257)};
    for (int i = 0; i < 3; ++i)
        QVERIFY2(std::abs(a[i] / expected[i] - 1) < 1e-12, qPrintable(QString::number(a[i])));
    QVERIFY(!path.amplitude({20.5}, 0, &a, &error));
}

QTEST_GUILESS_MAIN(tst_PathChi)
#include "tst_PathChi.moc"
