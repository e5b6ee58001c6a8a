#include "NoiseEstimate.h"

#include <QtTest>

#include <cmath>
#include <random>

// The noise of chi(k) recovered from its transform at large R: white noise
// of known size from a seeded generator, and Parseval's identity.
class tst_NoiseEstimate : public QObject {
    Q_OBJECT
private slots:
    void whiteNoise_data();
    void whiteNoise();
    void wholePeriod();
    void refused_data();
    void refused();
};

namespace {

constexpr double Pi = 3.14159265358979323846;

QVector<double> grid(double from, double to, double dk) {
    QVector<double> k;
    for (int i = 0; from + i * dk <= to + 1e-9; ++i)
        k << from + i * dk;
    return k;
}

} // namespace

void tst_NoiseEstimate::whiteNoise_data() {
    QTest::addColumn<double>("dk");
    QTest::addColumn<double>("kMax");
    QTest::addColumn<int>("weight"); // 0: none, 2: k², -1: k · a Hann window
    QTest::addColumn<double>("epsilon");
    QTest::newRow("flat, dk 0.05") << 0.05 << 20.0 << 0 << 1e-3;
    QTest::newRow("flat, dk 0.1") << 0.1 << 16.0 << 0 << 0.02;
    QTest::newRow("k² weight") << 0.05 << 18.0 << 2 << 3e-4;
    QTest::newRow("k and Hann window") << 0.05 << 17.0 << -1 << 5e-3;
}

// One draw's estimate scatters by 10-15 % (about 15-30 independent R bins
// in 10-15 Å); the mean of 100 seeded draws is within 5 %, three of its
// standard deviations, of the noise that was added.
void tst_NoiseEstimate::whiteNoise() {
    QFETCH(double, dk);
    QFETCH(double, kMax);
    QFETCH(int, weight);
    QFETCH(double, epsilon);
    const double kMin = 2;
    const QVector<double> k = grid(kMin, kMax, dk);
    QVector<double> w(k.size(), 1.0);
    for (int i = 0; i < k.size(); ++i) {
        if (weight == 2)
            w[i] = k[i] * k[i];
        else if (weight == -1)
            w[i] = k[i] * std::pow(std::sin(Pi * (k[i] - kMin) / (kMax - kMin)), 2);
    }
    std::mt19937 generator(20261208);
    std::normal_distribution<double> normal(0, epsilon);
    double sum = 0;
    const int draws = 100;
    for (int d = 0; d < draws; ++d) {
        QVector<double> x(k.size());
        for (double& v : x)
            v = normal(generator);
        NoiseEstimate::Result result;
        QString error;
        QVERIFY2(NoiseEstimate::fromChi(k, x, w, 10, 15, &result, &error), qPrintable(error));
        QVERIFY(result.samples > 40);
        QVERIFY2(std::abs(result.epsilonK / epsilon - 1) < 0.5,
                 qPrintable(QString::number(result.epsilonK / epsilon)));
        sum += result.epsilonK / epsilon;
    }
    QVERIFY2(std::abs(sum / draws - 1) < 0.05, qPrintable(QString::number(sum / draws)));
}

// Over a whole period π/dk of R, sampled at L ≥ N points, the mean of
// |chi(R)|² is exactly dk²/π Σ x²: with w = 1 the rms of x comes back.
void tst_NoiseEstimate::wholePeriod() {
    const double dk = 0.05;
    const QVector<double> k = grid(3, 14, dk);
    std::mt19937 generator(7);
    std::uniform_real_distribution<double> uniform(-1, 1);
    QVector<double> x(k.size());
    double squares = 0;
    for (double& v : x) {
        v = uniform(generator);
        squares += v * v;
    }
    const int l = 2 * k.size();
    QVector<double> r, re, im;
    for (int j = 0; j < l; ++j) {
        r << j * Pi / (l * dk);
        double a = 0, b = 0;
        for (int i = 0; i < k.size(); ++i) {
            a += x[i] * std::cos(2 * k[i] * r.last());
            b += x[i] * std::sin(2 * k[i] * r.last());
        }
        re << dk / std::sqrt(Pi) * a;
        im << dk / std::sqrt(Pi) * b;
    }
    double rms = 0;
    int samples = 0;
    QString error;
    QVERIFY2(NoiseEstimate::rmsOverR(r, re, im, 0, r.last(), &rms, &samples, &error),
             qPrintable(error));
    QCOMPARE(samples, l);
    const double epsilonK = NoiseEstimate::kFromR(rms, dk, QVector<double>(k.size(), 1.0));
    QVERIFY(std::abs(epsilonK / std::sqrt(squares / k.size()) - 1) < 1e-12);
}

void tst_NoiseEstimate::refused_data() {
    QTest::addColumn<QVector<double>>("k");
    QTest::addColumn<int>("weights");
    QTest::addColumn<double>("rMax");
    QTest::addColumn<QString>("message");
    const QVector<double> k = grid(2, 12, 0.1);
    QVector<double> uneven = k;
    uneven[40] += 0.01;
    QTest::newRow("uneven grid")
        << uneven << k.size() << 15.0
        << "The noise needs a uniform k grid; the step at k = 6.01 Å⁻¹ differs.";
    QTest::newRow("weights missing")
        << k << k.size() - 1 << 15.0
        << "k, chi and the weights must be equally many, at least two.";
    QTest::newRow("beyond pi/(2 dk)")
        << k << k.size() << 16.0
        << "The noise range 10 to 16 Å must lie within the transform, 0 to 15.708 Å.";
    QTest::newRow("empty range")
        << k << k.size() << 10.0
        << "The noise range 10 to 10 Å must lie within the transform, 0 to 15.708 Å.";
    QTest::newRow("zero weights") << k << 0 << 15.0
                                  << "The weights are all zero: nothing is transformed.";
}

void tst_NoiseEstimate::refused() {
    QFETCH(QVector<double>, k);
    QFETCH(int, weights);
    QFETCH(double, rMax);
    QFETCH(QString, message);
    // weights 0 stands for as many zeros as k.
    const QVector<double> w =
        weights ? QVector<double>(weights, 1.0) : QVector<double>(k.size(), 0.0);
    NoiseEstimate::Result result;
    result.samples = -3;
    QString error;
    QVERIFY(
        !NoiseEstimate::fromChi(k, QVector<double>(k.size(), 0.1), w, 10, rMax, &result, &error));
    QCOMPARE(error, message);
    QCOMPARE(result.samples, -3);

    double rms = -1;
    QVERIFY(
        !NoiseEstimate::rmsOverR({0, 5, 10}, {1, 1, 1}, {0, 0, 0}, 2, 11, &rms, nullptr, &error));
    QCOMPARE(error, QString("The noise range 2 to 11 Å must lie within the transform, 0 to 10 Å."));
    QVERIFY(
        !NoiseEstimate::rmsOverR({0, 5, 10}, {1, 1, 1}, {0, 0, 0}, 6, 9, &rms, nullptr, &error));
    QCOMPARE(error, QString("The transform has no value between 6 and 9 Å."));
    QCOMPARE(rms, -1.0);
}

QTEST_GUILESS_MAIN(tst_NoiseEstimate)
#include "tst_NoiseEstimate.moc"
