#include "AWave.h"
#include "DirectDft.h"
#include "Envelope.h"
#include "MeasuredCurve.h"
#include "WaveCtrl.h"
#include "WindowFunc.h"

#include <QtTest>

#include <cmath>

// Measured data on the wave's grid, against an independent computation:
// interpolation, k weight, window, normalisation and a direct DFT; with
// physical amplitudes the absolute values and the field's dk / sqrt(pi).
class tst_MeasuredCurve : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void processing_data();
    void processing();
    void followsTheWaveAndClears();

private:
    AWave* wave = nullptr;
    Envelope* envelope = nullptr;
    QVector<double> dataK, dataChi;
};

void tst_MeasuredCurve::init() {
    wave = new AWave(2.0, 0.0, 1.0);
    envelope = new Envelope;
    for (int i = 0; i <= 16; ++i)
        envelope->points << QPointF(i, 1.0);
    wave->envelope = envelope;
    wave->setKGrid(0, 16, 0.1, 1024);
    wave->synthesize();
    // A non-uniform grid from 1.03 to about 13, inside the synthesised k.
    dataK.clear();
    dataChi.clear();
    for (double k = 1.03; k < 13; k += 0.037 + 0.02 * std::sin(k))
        dataK << k;
    for (double k : dataK)
        dataChi << std::sin(4.4 * k + 0.3) * std::exp(-0.01 * k * k) / k;
}

void tst_MeasuredCurve::cleanup() {
    delete wave;
    delete envelope;
}

void tst_MeasuredCurve::processing_data() {
    QTest::addColumn<int>("n");
    QTest::addColumn<bool>("window");
    QTest::addColumn<bool>("physical");
    // n 1: the model's chi stays below its factors' 1, which is then what
    // model and data are divided by.
    QTest::newRow("n 1, window") << 1 << true << false;
    QTest::newRow("n 1, no window") << 1 << false << false;
    QTest::newRow("n 2, window") << 2 << true << false;
    QTest::newRow("n 3, no window") << 3 << false << false;
    QTest::newRow("physical, n 2, window") << 2 << true << true;
    QTest::newRow("physical, n 3, no window") << 3 << false << true;
}

void tst_MeasuredCurve::processing() {
    QFETCH(int, n);
    QFETCH(bool, window);
    QFETCH(bool, physical);
    wave->setPhysical(physical);
    wave->ctrl->NBar->setValue(n);
    if (!window)
        wave->ctrl->SelWindowF->click();
    MeasuredCurve curve;
    curve.setData(dataK, dataChi, QStringLiteral("/tmp/x.chi"));
    curve.process(wave);

    const int N = 1024;
    QVector<double> expected(N, 0.0);
    for (int i = 0; i < 159; ++i) {
        const double k = i * 0.1;
        double v = 0;
        for (int d = 1; d < dataK.size(); ++d)
            if (dataK[d - 1] <= k && k <= dataK[d]) {
                const double t = (k - dataK[d - 1]) / (dataK[d] - dataK[d - 1]);
                v = dataChi[d - 1] * (1 - t) + dataChi[d] * t;
                break;
            }
        v *= std::pow(k, n);
        if (window)
            v *= wave->ctrl->WindowCtrl->valueAt(k);
        expected[i] = v;
    }
    // Normalised, the data share the model's scale: divided by what the
    // model's chi was divided by, read as the ratio of the model's chi in the
    // two modes where it is largest.
    double ratio = 1;
    if (!physical) {
        wave->setPhysical(true);
        const QVector<double> absolute = wave->chi;
        wave->setPhysical(false);
        int j = 0;
        for (int i = 0; i < absolute.size(); ++i)
            if (std::abs(absolute[i]) > std::abs(absolute[j]))
                j = i;
        ratio = wave->chi[j] / absolute[j];
        QVERIFY(ratio > 0 && ratio <= 1);
        if (n == 1)
            QVERIFY(std::abs(ratio - 1) < 1e-12);
    }
    QCOMPARE(curve.values.size(), N);
    for (int i = 0; i < N; ++i) {
        expected[i] *= ratio;
        QVERIFY2(std::abs(curve.values[i] - expected[i]) <= 1e-12, qPrintable(QString::number(i)));
    }
    QCOMPARE(curve.values[5], 0.0); // k = 0.5 lies before the data
    // Bins against a direct DFT in long double.
    const DirectDft::Bins d =
        DirectDft::bins(expected.constData(), N, physical ? DirectDft::fieldFactor(0.1L) : 1);
    double peak = 0;
    for (int j = 0; j <= N / 2; ++j)
        peak = std::max(peak, wave->magnitude(curve.spectrum.get(), j));
    for (int j = 0; j <= 400; j += 7) {
        QVERIFY(std::abs(double(d.c[j]) - wave->realPart(curve.spectrum.get(), j)) <= 1e-12 * peak);
        QVERIFY(std::abs(double(d.s[j]) - wave->imagPart(curve.spectrum.get(), j)) <= 1e-12 * peak);
    }
}

// Connected as the main window connects it, the curve follows n and the
// window; cleared, it holds nothing.
void tst_MeasuredCurve::followsTheWaveAndClears() {
    MeasuredCurve curve;
    connect(wave, &AWave::updated, &curve, [&] { curve.process(wave); });
    QSignalSpy changed(&curve, SIGNAL(changed()));
    curve.process(wave);
    curve.setData(dataK, dataChi, QStringLiteral("/data/fe.chi"));
    QCOMPARE(changed.count(), 1);
    QVERIFY(curve.isLoaded());
    const QVector<double> before = curve.values;
    wave->ctrl->NBar->setValue(3);
    QVERIFY(curve.values != before);
    const QVector<double> n3 = curve.values;
    wave->ctrl->setWindowPos(3, 12.0);
    QVERIFY(curve.values != n3);
    QCOMPARE(curve.valueAt(dataK[10]), dataChi[10]);
    QCOMPARE(curve.valueAt(0.5), 0.0);
    curve.clear();
    QCOMPARE(changed.count(), 2);
    QVERIFY(!curve.isLoaded() && curve.values.isEmpty() && !curve.spectrum && curve.path.isEmpty());
}

QTEST_MAIN(tst_MeasuredCurve)
#include "tst_MeasuredCurve.moc"
