#include "AWave.h"
#include "DirectDft.h"
#include "DispArea.h"
#include "Envelope.h"
#include "RealFft.h"
#include "WaveCtrl.h"
#include "WindowFunc.h"

#include <QtTest>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <numeric>
#include <vector>

// The wave is built as the main window builds it: AWave(2.0, 0.0, 1.0), an
// envelope of 17 points (i, 1), the grid 0 ... 16 step 0.1 on 1024 points,
// the envelope's and the panel's extra connections, one synthesis. Expected
// values come from closed forms and from a direct O(N^2) DFT.
class tst_AWave : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void constructorFillsPanel_data();
    void constructorFillsPanel();
    void kCount_data();
    void kCount();
    void defaultsMatchClosedForm();
    void factorSelection_data();
    void factorSelection();
    void withoutEnvelope();
    void nEqualsOneHasNoZeroAtOrigin();
    void spectraMatchDirectDft_data();
    void spectraMatchDirectDft();
    void flatEnvelopeSpectrum();
    void eachChangeSynthesisesOnce_data();
    void eachChangeSynthesisesOnce();
    void inverseSquareDistance();
    void physicalAmplitude();
    void onePressOneHandle();
    void arraysKeepTheirStorage();
    void zeroDistanceKeepsLastResult();
    void zeroDistanceBeforeAnyResult();
    void allTrackedZeroIsNotDivided();
    void oneShellIsBitIdentical_data();
    void oneShellIsBitIdentical();
    void extraShellsSum_data();
    void extraShellsSum();
    void setParameterIsExact_data();
    void setParameterIsExact();
    void linearPhaseMovesThePeak_data();
    void linearPhaseMovesThePeak();

private:
    void build(bool withEnvelope = true);
    void checkAllFinite();

    AWave* wave = nullptr;
    Envelope* envelope = nullptr;
};

using Change = std::function<void(AWave*, Envelope*)>;
using Took = std::function<bool(const AWave*)>;
Q_DECLARE_METATYPE(Change)
Q_DECLARE_METATYPE(Took)
Q_DECLARE_METATYPE(QVector<Shell>)

namespace {

const double Pi = 3.14159265358979323846;

// W(k) for the positions 3, 4, 15, 16, written out independently.
double window3to16(double k) {
    if (k < 3 || k >= 16)
        return 0;
    if (k < 4)
        return (1 - std::cos((k - 3) * Pi)) / 2;
    if (k < 15)
        return 1;
    return (1 + std::cos((k - 15) * Pi)) / 2;
}

bool near(double a, double b, double tol) {
    return std::abs(a - b) <= tol;
}

} // namespace

void tst_AWave::build(bool withEnvelope) {
    wave = new AWave(2.0, 0.0, 1.0);
    envelope = new Envelope;
    for (int i = 0; i <= 16; ++i)
        envelope->points << QPointF(i, 1.0);
    if (withEnvelope) {
        wave->envelope = envelope;
        connect(envelope, SIGNAL(updated()), wave, SLOT(envChanged()));
        connect(wave->ctrl, SIGNAL(enFlat()), envelope, SLOT(enFlat()));
    }
    wave->setKGrid(0, 16, 0.1, 1024);
    wave->synthesize();
}

void tst_AWave::init() {}

void tst_AWave::cleanup() {
    delete wave;
    delete envelope;
    wave = nullptr;
    envelope = nullptr;
}

void tst_AWave::checkAllFinite() {
    for (const QVector<double>* a :
         {&wave->oscillation, &wave->chi, &wave->kValues, &wave->envelopeValues,
          &wave->debyeWallerValues, &wave->windowValues}) {
        for (double v : *a)
            QVERIFY(std::isfinite(v));
    }
    for (const double* s :
         {wave->oscillationSpectrum.get(), wave->chiSpectrum.get(), wave->envelopeSpectrum.get(),
          wave->windowSpectrum.get(), wave->debyeWallerSpectrum.get()}) {
        if (!s)
            continue;
        for (int j = 0; j < wave->fftLength; ++j)
            QVERIFY(std::isfinite(s[j]));
    }
    QVERIFY(std::isfinite(wave->spectrumScale));
}

void tst_AWave::constructorFillsPanel_data() {
    QTest::addColumn<double>("r");
    QTest::addColumn<double>("phi0");
    QTest::addColumn<QList<int>>("bars");
    QTest::addColumn<QStringList>("boxes");
    QTest::newRow("main window's")
        << 2.0 << 0.0 << QList<int>{2, 20, 0, 0, 50} << QStringList{"2", "2", "0", "0", "0.05"};
    QTest::newRow("between positions") << 2.05 << -0.37 << QList<int>{2, 20, -3, 0, 50}
                                       << QStringList{"2", "2.05", "-0.37", "0", "0.05"};
    QTest::newRow("beyond the ends") << 12.345 << 25.0 << QList<int>{2, 100, 100, 0, 50}
                                     << QStringList{"2", "12.345", "25", "0", "0.05"};
    QTest::newRow("below the ends") << -1.0 << -11.0 << QList<int>{2, 0, -100, 0, 50}
                                    << QStringList{"2", "-1", "-11", "0", "0.05"};
}

void tst_AWave::constructorFillsPanel() {
    QFETCH(double, r);
    QFETCH(double, phi0);
    QFETCH(QList<int>, bars);
    QFETCH(QStringList, boxes);
    AWave w(r, phi0, 1.0);
    WaveCtrl* c = w.ctrl;
    QVERIFY(c);
    QVERIFY(!c->parent());
    const QSlider* const sliders[] = {c->NBar, c->RBar, c->Phi0Bar, c->Phi2Bar, c->SigBar};
    const QLineEdit* const edits[] = {c->NVal, c->RVal, c->Phi0Val, c->Phi2Val, c->SigVal};
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(sliders[i]->value(), bars[i]);
        QCOMPARE(edits[i]->text(), boxes[i]);
    }
    // Filling the panel moved its sliders, but the wave was not listening
    // yet: its values are still the constructor's, and nothing synthesised.
    QCOMPARE(w.r, r);
    QCOMPARE(w.phi0, phi0);
    QCOMPARE(w.n, 2);
    QCOMPARE(w.phi2, 0.0);
    QCOMPARE(w.sigma, 0.05);
    QCOMPARE(w.amplitude, 1.0);
    QCOMPARE(w.fftLength, -1);
    QVERIFY(!w.envelope);
    QVERIFY(w.chi.isEmpty());
    QVERIFY(!w.chiSpectrum);

    // Now it is listening.
    QSignalSpy updated(&w, SIGNAL(updated()));
    c->RBar->setValue(c->RBar->value() == 31 ? 32 : 31);
    QCOMPARE(updated.count(), 1);
    QCOMPARE(w.r, c->RBar->value() / 10.0);
}

void tst_AWave::kCount_data() {
    QTest::addColumn<double>("kMin");
    QTest::addColumn<double>("kMax");
    QTest::addColumn<double>("dk");
    QTest::addColumn<int>("count");
    // 16 / 0.1 and 1 / 0.1 round to 160 and 10 in double precision but lie
    // just below them in extended precision.
    QTest::newRow("main window's") << 0.0 << 16.0 << 0.1 << 159;
    QTest::newRow("ends swapped") << 16.0 << 0.0 << 0.1 << 159;
    QTest::newRow("0 to 1 by 0.1") << 0.0 << 1.0 << 0.1 << 9;
    QTest::newRow("exact step") << 1.0 << 2.0 << 0.25 << 4;
    QTest::newRow("zero step") << 0.0 << 16.0 << 0.0 << 1;
    QTest::newRow("negative step") << 0.0 << 16.0 << -0.1 << 1;
    QTest::newRow("empty range") << 3.0 << 3.0 << 0.1 << 0;
}

void tst_AWave::kCount() {
    QFETCH(double, kMin);
    QFETCH(double, kMax);
    QFETCH(double, dk);
    QFETCH(int, count);
    AWave w(2.0, 0.0, 1.0);
    w.setKGrid(kMin, kMax, dk, 64);
    QCOMPARE(w.kCount, count);
    QCOMPARE(w.kMin, std::min(kMin, kMax));
    QCOMPARE(w.kMax, std::max(kMin, kMax));
    QCOMPARE(w.dk, dk);
    QCOMPARE(w.fftLength, 64);
    QVERIFY(w.chi.isEmpty());
}

void tst_AWave::defaultsMatchClosedForm() {
    build();
    const int N = 1024;
    for (const QVector<double>* a :
         {&wave->oscillation, &wave->chi, &wave->kValues, &wave->envelopeValues,
          &wave->debyeWallerValues, &wave->windowValues})
        QCOMPARE(a->size(), N);
    QCOMPARE(wave->kCount, 159);

    std::vector<double> raw(159);
    double largest = 1; // the factors reach 1 and take part
    for (int i = 0; i < 159; ++i) {
        const double k = i * 0.1;
        raw[i] = k * std::sin(4 * k) / 4 * window3to16(k) * std::exp(-0.005 * k * k);
        largest = std::max(largest, raw[i]);
    }
    QVERIFY(largest > 1.5); // the signal, not a factor, sets the scale here
    double chiMax = -1;
    for (int i = 0; i < N; ++i) {
        const double k = i * 0.1;
        QCOMPARE(wave->kValues[i], k);
        if (i < 159) {
            QVERIFY2(near(wave->chi[i], raw[i] / largest, 1e-9), qPrintable(QString::number(i)));
            QVERIFY(near(wave->oscillation[i], k * std::sin(4 * k) / 4 / largest, 1e-12));
            QCOMPARE(wave->envelopeValues[i], 1.0);
            QVERIFY(near(wave->windowValues[i], window3to16(k), 1e-9));
            QVERIFY(near(wave->debyeWallerValues[i], std::exp(-0.005 * k * k), 1e-15));
        } else {
            // From k = 15.9 on: the zero padding, although 15.9 < kMax.
            QCOMPARE(wave->chi[i], 0.0);
            QCOMPARE(wave->oscillation[i], 0.0);
            QCOMPARE(wave->envelopeValues[i], 0.0);
            QCOMPARE(wave->windowValues[i], 0.0);
            QCOMPARE(wave->debyeWallerValues[i], 0.0);
        }
        chiMax = std::max(chiMax, wave->chi[i]);
    }
    QCOMPARE(wave->kValues[1023], 102.3);
    QCOMPARE(chiMax, 1.0);
    QCOMPARE(wave->valueMin, -1.0);
    QCOMPARE(wave->valueMax, 1.0);
    QCOMPARE(wave->valueScale, 1.0);
    checkAllFinite();
}

void tst_AWave::factorSelection_data() {
    QTest::addColumn<bool>("useF");
    QTest::addColumn<bool>("useW");
    QTest::addColumn<bool>("useD");
    QTest::newRow("all") << true << true << true;
    QTest::newRow("no envelope") << false << true << true;
    QTest::newRow("no window") << true << false << true;
    QTest::newRow("no Debye-Waller") << true << true << false;
    QTest::newRow("envelope only") << true << false << false;
    QTest::newRow("none") << false << false << false;
}

// An envelope that starts at 10 and falls to 1 at k = 1: selected, its 10 is
// the largest tracked value; deselected, it no longer counts.
void tst_AWave::factorSelection() {
    QFETCH(bool, useF);
    QFETCH(bool, useW);
    QFETCH(bool, useD);
    build();
    envelope->points[0] = QPointF(0, 10);
    auto F = [](double k) { return k < 1 ? 10 - 9 * k : 1.0; };
    QSignalSpy updated(wave, SIGNAL(updated()));
    envelope->updated(); // as a drag would announce it
    int expectedSignals = 1;
    for (auto sw : {std::make_pair(wave->ctrl->SelEnvelope, useF),
                    std::make_pair(wave->ctrl->SelWindowF, useW),
                    std::make_pair(wave->ctrl->SelDebye, useD)}) {
        if (!sw.second) {
            QTest::mouseClick(sw.first, Qt::LeftButton);
            ++expectedSignals;
        }
        QCOMPARE(sw.first->isChecked(), sw.second);
    }
    QCOMPARE(updated.count(), expectedSignals);

    std::vector<double> raw(159);
    double largest = -1e300;
    for (int i = 0; i < 159; ++i) {
        const double k = i * 0.1;
        double v = k * std::sin(4 * k) / 4;
        if (useF) {
            v *= F(k);
            largest = std::max(largest, F(k));
        }
        if (useW) {
            v *= window3to16(k);
            largest = std::max(largest, window3to16(k));
        }
        if (useD) {
            v *= std::exp(-0.005 * k * k);
            largest = std::max(largest, std::exp(-0.005 * k * k));
        }
        raw[i] = v;
        largest = std::max(largest, v);
    }
    if (useF)
        QCOMPARE(largest, 10.0);
    for (int i = 0; i < 159; ++i) {
        const double k = i * 0.1;
        QVERIFY2(near(wave->chi[i], raw[i] / largest, 1e-9), qPrintable(QString::number(i)));
        QVERIFY(near(wave->oscillation[i], k * std::sin(4 * k) / 4 / largest, 1e-12));
        // Deselected or not, every factor array is filled.
        QVERIFY(near(wave->envelopeValues[i], F(k), 1e-12));
        QVERIFY(near(wave->windowValues[i], window3to16(k), 1e-9));
        QVERIFY(near(wave->debyeWallerValues[i], std::exp(-0.005 * k * k), 1e-15));
    }
    checkAllFinite();
}

void tst_AWave::withoutEnvelope() {
    build(false);
    QVERIFY(!wave->envelope);
    double largest = 1;
    for (int i = 0; i < 159; ++i) {
        const double k = i * 0.1;
        largest =
            std::max(largest, k * std::sin(4 * k) / 4 * window3to16(k) * std::exp(-0.005 * k * k));
    }
    for (int i = 0; i < 1024; ++i) {
        QCOMPARE(wave->envelopeValues[i], 0.0);
        if (i < 159) {
            const double k = i * 0.1;
            QVERIFY(
                near(wave->chi[i],
                     k * std::sin(4 * k) / 4 * window3to16(k) * std::exp(-0.005 * k * k) / largest,
                     1e-9));
        }
    }
    // The envelope transform is then all zeros.
    for (int j = 0; j < 1024; ++j)
        QCOMPARE(wave->envelopeSpectrum[j], 0.0);

    // The mouse still reaches the window function.
    DispArea area;
    area.coord.setPixelArea(0, 200, 1600, 0);
    area.coord.setScale(0, -2, 16, 2);
    wave->ctrl->WindowCtrl->coord = &area.coord;
    wave->ctrl->WindowCtrl->mouse = &area.mouse;
    area.mouse.curPos = QPoint(400, 100);
    wave->mPressed();
    QVERIFY(wave->ctrl->WindowCtrl->grabbed);
    QSignalSpy updated(wave, SIGNAL(updated()));
    area.mouse.curPos = QPoint(500, 100);
    wave->mMoved();
    QCOMPARE(updated.count(), 1);
    QCOMPARE(wave->ctrl->WindowCtrl->positions[1], 5.0);
    wave->mReleased();
    QVERIFY(!wave->ctrl->WindowCtrl->grabbed);
}

// With n = 1 the weight k^0 is 1 everywhere, also at k = 0 (0^0 = 1).
void tst_AWave::nEqualsOneHasNoZeroAtOrigin() {
    build();
    wave->ctrl->Phi0Bar->setValue(10); // P0 = 1, so sin(phase) is not 0 at k = 0
    QTest::keyClick(wave->ctrl->NBar, Qt::Key_Left);
    QCOMPARE(wave->n, 1);
    QCOMPARE(wave->phi0, 1.0);
    double largest = 1;
    std::vector<double> raw(159);
    for (int i = 0; i < 159; ++i) {
        const double k = i * 0.1;
        raw[i] = std::sin(4 * k + 1) / 4 * window3to16(k) * std::exp(-0.005 * k * k);
        largest = std::max(largest, raw[i]);
    }
    QCOMPARE(largest, 1.0); // now a factor sets the scale
    QVERIFY(near(wave->oscillation[0], std::sin(1.0) / 4, 1e-15));
    for (int i = 0; i < 159; ++i) {
        const double k = i * 0.1;
        QVERIFY(near(wave->oscillation[i], std::sin(4 * k + 1) / 4, 1e-12));
        QVERIFY(near(wave->chi[i], raw[i], 1e-9));
    }
}

// Normalised: the plain sums. Physical: the field's dk / sqrt(pi) times them.
void tst_AWave::spectraMatchDirectDft_data() {
    QTest::addColumn<bool>("physical");
    QTest::newRow("normalised") << false;
    QTest::newRow("physical") << true;
}

void tst_AWave::spectraMatchDirectDft() {
    QFETCH(bool, physical);
    build();
    wave->setPhysical(physical);
    const long double factor = physical ? DirectDft::fieldFactor(0.1L) : 1;
    // Something less symmetric than the default.
    wave->newPhi0(0.7);
    wave->newPhi2(0.03);
    envelope->points[6] = QPointF(6, 1.8);
    envelope->updated();

    const int N = wave->fftLength;
    const struct {
        const char* name;
        const QVector<double>& source;
        const double* spectrum;
    } pairs[] = {
        {"oscillation", wave->oscillation, wave->oscillationSpectrum.get()},
        {"chi", wave->chi, wave->chiSpectrum.get()},
        {"envelope", wave->envelopeValues, wave->envelopeSpectrum.get()},
        {"window", wave->windowValues, wave->windowSpectrum.get()},
        {"Debye-Waller", wave->debyeWallerValues, wave->debyeWallerSpectrum.get()},
    };
    double smallest = 1e300, largest = -1e300;
    for (const auto& p : pairs) {
        QVERIFY(p.spectrum);
        const DirectDft::Bins d = DirectDft::bins(p.source.constData(), N);
        double scale = 1;
        for (double v : p.source)
            scale += std::abs(v);
        const double tol = 1e-12 * scale * double(factor);
        for (int j = -N - 3; j <= N + 3; ++j) {
            const int m = std::abs(j);
            const double sign = j > 0 ? 1 : -1;
            double re = 0, im = 0;
            if (m < N) {
                re = double(factor * d.c[m]); // even and periodic: bin N - m has the same
                if (j != 0 && m < N / 2)
                    im = sign * double(factor * d.s[m]);
                else if (m > N / 2)
                    im = sign * double(factor * d.s[N - m]); // mirrored about N/2, as read
            }
            const QString where = QString("%1 bin %2").arg(p.name).arg(j);
            QVERIFY2(near(wave->realPart(p.spectrum, j), re, tol), qPrintable(where));
            QVERIFY2(near(wave->imagPart(p.spectrum, j), im, tol), qPrintable(where));
            QVERIFY2(near(wave->magnitude(p.spectrum, j), std::hypot(re, im), tol),
                     qPrintable(where));
            // The accessors' own symmetries, exactly.
            QCOMPARE(wave->realPart(p.spectrum, -j), wave->realPart(p.spectrum, j));
            QCOMPARE(wave->imagPart(p.spectrum, -j), -wave->imagPart(p.spectrum, j));
            QCOMPARE(wave->magnitude(p.spectrum, -j), wave->magnitude(p.spectrum, j));
            if (j >= 0 && j < N &&
                (p.spectrum == wave->chiSpectrum.get() ||
                 p.spectrum == wave->oscillationSpectrum.get() ||
                 p.spectrum == wave->envelopeSpectrum.get())) {
                smallest = std::min(smallest, std::hypot(re, im));
                largest = std::max(largest, std::hypot(re, im));
            }
        }
        QCOMPARE(wave->imagPart(p.spectrum, 0), 0.0);
        QCOMPARE(wave->imagPart(p.spectrum, N / 2), 0.0);
        QCOMPARE(wave->imagPart(p.spectrum, -N / 2), 0.0);
        QCOMPARE(wave->magnitude(p.spectrum, 0), std::abs(p.spectrum[0]));
        QCOMPARE(wave->realPart(p.spectrum, N / 2), p.spectrum[N / 2]);
        QCOMPARE(wave->realPart(p.spectrum, N), 0.0);
        QCOMPARE(wave->magnitude(p.spectrum, -N), 0.0);
        QCOMPARE(wave->imagPart(p.spectrum, N + 5), 0.0);
    }
    QVERIFY(near(wave->spectrumMax, largest, 1e-9 * largest));
    QVERIFY(near(wave->spectrumMin, smallest, 1e-9 * largest));
    QCOMPARE(wave->spectrumScale, wave->spectrumMax);
}

// A flat envelope is 159 ones and then zeros, whatever the switches: its
// bin 0 is 159 and that is the largest modulus of the three spectra.
void tst_AWave::flatEnvelopeSpectrum() {
    build();
    QVERIFY(near(wave->envelopeSpectrum[0], 159, 1e-12));
    QVERIFY(near(wave->spectrumScale, 159, 1e-12));
    QTest::mouseClick(wave->ctrl->SelEnvelope, Qt::LeftButton);
    QTest::mouseClick(wave->ctrl->SelDebye, Qt::LeftButton);
    QVERIFY(near(wave->envelopeSpectrum[0], 159, 1e-12));
    QVERIFY(near(wave->spectrumMax, 159, 1e-12));
    // A raised envelope raises the scale with it.
    envelope->points[8] = QPointF(8, 3);
    envelope->updated();
    QVERIFY(near(wave->envelopeSpectrum[0], 159 + 2 * 10, 1e-9));
    QVERIFY(near(wave->spectrumScale, 179, 1e-9));
    // And "Flat" brings it back.
    QTest::mouseClick(wave->ctrl->Flat, Qt::LeftButton);
    QVERIFY(near(wave->envelopeSpectrum[0], 159, 1e-12));
}

void tst_AWave::eachChangeSynthesisesOnce_data() {
    QTest::addColumn<Change>("change");
    QTest::addColumn<Took>("took");
    using Act = Change;
    using Check = Took;
    QTest::newRow("newN") << Act([](AWave* w, Envelope*) { w->newN(3); })
                          << Check([](const AWave* w) { return w->n == 3; });
    QTest::newRow("newR") << Act([](AWave* w, Envelope*) { w->newR(2.5); })
                          << Check([](const AWave* w) { return w->r == 2.5; });
    QTest::newRow("newPhi0") << Act([](AWave* w, Envelope*) { w->newPhi0(-0.3); })
                             << Check([](const AWave* w) { return w->phi0 == -0.3; });
    QTest::newRow("newPhi2") << Act([](AWave* w, Envelope*) { w->newPhi2(0.05); })
                             << Check([](const AWave* w) { return w->phi2 == 0.05; });
    QTest::newRow("newSig") << Act([](AWave* w, Envelope*) { w->newSig(0.1); })
                            << Check([](const AWave* w) { return w->sigma == 0.1; });
    QTest::newRow("envChanged") << Act([](AWave* w, Envelope*) { w->envChanged(); })
                                << Check([](const AWave*) { return true; });
    QTest::newRow("windowChanged") << Act([](AWave* w, Envelope*) { w->windowChanged(); })
                                   << Check([](const AWave*) { return true; });
    QTest::newRow("newSelection") << Act([](AWave* w, Envelope*) { w->newSelection(); })
                                  << Check([](const AWave*) { return true; });
    QTest::newRow("n slider") << Act([](AWave* w, Envelope*) { w->ctrl->NBar->setValue(1); })
                              << Check([](const AWave* w) { return w->n == 1; });
    QTest::newRow("R slider") << Act([](AWave* w, Envelope*) { w->ctrl->RBar->setValue(37); })
                              << Check([](const AWave* w) { return w->r == 3.7; });
    QTest::newRow("P0 slider") << Act([](AWave* w, Envelope*) { w->ctrl->Phi0Bar->setValue(-5); })
                               << Check([](const AWave* w) { return w->phi0 == -0.5; });
    QTest::newRow("P2 slider") << Act([](AWave* w, Envelope*) { w->ctrl->Phi2Bar->setValue(12); })
                               << Check([](const AWave* w) { return w->phi2 == 0.12; });
    QTest::newRow("Sigma slider") << Act([](AWave* w, Envelope*) { w->ctrl->SigBar->setValue(80); })
                                  << Check([](const AWave* w) { return w->sigma == 0.08; });
    QTest::newRow("switch") << Act([](AWave* w, Envelope*) {
        w->ctrl->SelDebye->toggle();
    }) << Check([](const AWave* w) {
        return w->debyeWallerValues[10] != 0 && w->chi[100] != 0 && !w->ctrl->SelDebye->isChecked();
    });
    QTest::newRow("typed window position") << Act([](AWave* w, Envelope*) {
        QLineEdit* e = w->ctrl->WindowCtrl->Pos2;
        e->clear();
        QTest::keyClicks(e, "6");
        QTest::keyClick(e, Qt::Key_Enter);
    }) << Check([](const AWave* w) { return w->windowValues[50] < 1; });
    QTest::newRow("Flat") << Act([](AWave* w, Envelope*) { w->ctrl->Flat->click(); })
                          << Check([](const AWave* w) { return w->envelopeValues[20] == 1; });
    QTest::newRow("setShells") << Act([](AWave* w, Envelope*) {
        w->setShells({{2.9, 0.5}});
    }) << Check([](const AWave* w) {
        return w->shells == QVector<Shell>{{2.9, 0.5}};
    });
}

// A change is announced once, after the arrays hold its result.
void tst_AWave::eachChangeSynthesisesOnce() {
    QFETCH(Change, change);
    QFETCH(Took, took);
    build();
    envelope->points[2] = QPointF(2, 0.5);
    wave->synthesize();
    QVector<double> chiSeen;
    connect(wave, &AWave::updated, this, [&] { chiSeen = wave->chi; });
    QSignalSpy updated(wave, SIGNAL(updated()));
    change(wave, envelope);
    QCOMPARE(updated.count(), 1);
    QVERIFY(took(wave));
    QCOMPARE(chiSeen, wave->chi);
    QCOMPARE(wave->chi.size(), 1024);
}

// The shell's term falls off as 1/R^2, as the formula on the panel says.
// With n = 1 and only the flat envelope selected nothing rescales chi (the
// envelope's 1 is the largest tracked value), so chi is the bare formula.
void tst_AWave::inverseSquareDistance() {
    build();
    wave->ctrl->NBar->setValue(1);
    QTest::mouseClick(wave->ctrl->SelWindowF, Qt::LeftButton);
    QTest::mouseClick(wave->ctrl->SelDebye, Qt::LeftButton);
    double largest[2] = {0, 0};
    const int rPositions[2] = {20, 40};
    for (int c = 0; c < 2; ++c) {
        wave->ctrl->RBar->setValue(rPositions[c]);
        const double R = rPositions[c] / 10.0;
        QCOMPARE(wave->valueMax, 1.0);
        for (int i = 0; i < 159; ++i) {
            const double k = i * 0.1;
            QVERIFY(near(wave->chi[i], std::sin(2 * k * R) / (R * R), 1e-15));
            largest[c] = std::max(largest[c], std::abs(wave->chi[i]));
        }
    }
    // Both grids catch the sine's crest to within 0.1 %.
    QVERIFY(std::abs(largest[1] / largest[0] - 0.25) < 0.25 * 1e-3);
}

// Physical amplitude: chi is the formula's own value, so a larger sigma
// lowers the chi(R) peak; normalised, the same change raises it or leaves
// it (the largest value is divided out).
void tst_AWave::physicalAmplitude() {
    build();
    QSignalSpy updated(wave, SIGNAL(updated()));
    wave->setPhysical(true);
    QCOMPARE(updated.count(), 1);
    wave->setPhysical(true);
    QCOMPARE(updated.count(), 1);
    double largest = 0;
    for (int i = 0; i < 159; ++i) {
        const double k = i * 0.1;
        const double expected = k * std::sin(4 * k) / 4 * window3to16(k) * std::exp(-0.005 * k * k);
        QVERIFY2(near(wave->chi[i], expected, 1e-9), qPrintable(QString::number(i)));
        QVERIFY(near(wave->oscillation[i], k * std::sin(4 * k) / 4, 1e-12));
        largest = std::max(largest, std::abs(wave->chi[i]));
    }
    QCOMPARE(wave->valueScale, largest);
    QCOMPARE(wave->valueMax, largest);

    auto peak = [this] {
        double m = 0;
        for (int j = 1; j * wave->binWidthR() <= 10; ++j)
            m = std::max(m, wave->magnitude(wave->chiSpectrum.get(), j));
        return m;
    };
    // From sigma 0 to 0.05 (the start-up value).
    const double physicalAt5 = peak();
    wave->ctrl->SigBar->setValue(0);
    const double physicalAt0 = peak();
    QVERIFY(physicalAt5 < 0.9 * physicalAt0);
    wave->setPhysical(false);
    const double normalisedAt0 = peak();
    wave->ctrl->SigBar->setValue(50);
    QVERIFY(peak() >= normalisedAt0);
    QCOMPARE(wave->valueScale, 1.0);
}

// An envelope point on a window handle: the press goes to the envelope
// alone, and only the point moves.
void tst_AWave::onePressOneHandle() {
    build();
    DispArea area;
    area.coord.setPixelArea(0, 200, 1600, 0);
    area.coord.setScale(0, -2, 16, 2);
    envelope->coord = &area.coord;
    envelope->mouse = &area.mouse;
    wave->ctrl->WindowCtrl->coord = &area.coord;
    wave->ctrl->WindowCtrl->mouse = &area.mouse;
    connect(&area.mouse, SIGNAL(mMoved()), wave, SLOT(mMoved()));
    connect(&area.mouse, SIGNAL(mPressed()), wave, SLOT(mPressed()));
    connect(&area.mouse, SIGNAL(mReleased()), wave, SLOT(mReleased()));
    envelope->points[4] = QPointF(4, 0);

    QSignalSpy updated(wave, SIGNAL(updated()));
    auto send = [&](QEvent::Type t, QPoint p, Qt::MouseButton b, Qt::MouseButtons bs) {
        QMouseEvent e(t, QPointF(p), QPointF(p), b, bs, Qt::NoModifier);
        QCoreApplication::sendEvent(&area, &e);
    };
    send(QEvent::MouseButtonPress, QPoint(403, 98), Qt::LeftButton, Qt::LeftButton);
    QVERIFY(envelope->grabbed);
    QVERIFY(!wave->ctrl->WindowCtrl->grabbed);
    send(QEvent::MouseMove, QPoint(450, 100), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(updated.count(), 1);
    QCOMPARE(envelope->points[4], QPointF(4.5, 0));
    QCOMPARE(wave->ctrl->WindowCtrl->positions, QVector<double>({3, 4, 15, 16}));
    send(QEvent::MouseButtonRelease, QPoint(450, 100), Qt::LeftButton, Qt::NoButton);
    QVERIFY(!envelope->grabbed);
    // Far from any point, the window handle at 15 takes the press.
    send(QEvent::MouseButtonPress, QPoint(1500, 100), Qt::LeftButton, Qt::LeftButton);
    QVERIFY(!envelope->grabbed);
    QVERIFY(wave->ctrl->WindowCtrl->grabbed);
}

// Once sized, the arrays are rebuilt in place: no reallocation per change.
void tst_AWave::arraysKeepTheirStorage() {
    build();
    const QVector<double>* arrays[] = {&wave->oscillation,       &wave->chi,
                                       &wave->kValues,           &wave->envelopeValues,
                                       &wave->debyeWallerValues, &wave->windowValues};
    QVector<const double*> data;
    QVector<int> capacity;
    for (const QVector<double>* a : arrays) {
        data << a->constData();
        capacity << a->capacity();
        QVERIFY(a->capacity() >= 1024);
    }
    for (int p = 1; p <= 20; ++p)
        wave->ctrl->Phi0Bar->setValue(p);
    wave->synthesize();
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(arrays[i]->constData(), data[i]);
        QCOMPARE(arrays[i]->capacity(), capacity[i]);
        QCOMPARE(arrays[i]->size(), 1024);
    }
}

// 1/R at R = 0 is no number. The wave stores R, keeps its last finite
// arrays and spectra, still announces the change, and recovers with the
// next R.
void tst_AWave::zeroDistanceKeepsLastResult() {
    build();
    wave->newR(1.3);
    const QVector<double> chi = wave->chi, osc = wave->oscillation, win = wave->windowValues;
    const std::vector<double> spectrum(wave->chiSpectrum.get(), wave->chiSpectrum.get() + 1024);
    const double scale = wave->spectrumScale;

    QSignalSpy updated(wave, SIGNAL(updated()));
    wave->ctrl->RBar->setValue(0);
    QCOMPARE(wave->ctrl->RVal->text(), QString("0"));
    QCOMPARE(updated.count(), 1);
    QCOMPARE(wave->r, 0.0);
    QCOMPARE(wave->chi, chi);
    QCOMPARE(wave->oscillation, osc);
    QCOMPARE(wave->windowValues, win);
    QVERIFY(std::equal(spectrum.begin(), spectrum.end(), wave->chiSpectrum.get()));
    QCOMPARE(wave->spectrumScale, scale);
    checkAllFinite();

    // Other changes at R = 0 are announced; the factors follow them, chi
    // and the oscillation keep their values.
    wave->newPhi0(0.4);
    QCOMPARE(updated.count(), 2);
    QCOMPARE(wave->chi, chi);
    wave->ctrl->setWindowPos(1, 5.0);
    wave->newSig(0.1);
    QCOMPARE(updated.count(), 4);
    QCOMPARE(wave->chi, chi);
    QCOMPARE(wave->oscillation, osc);
    QVERIFY(std::equal(spectrum.begin(), spectrum.end(), wave->chiSpectrum.get()));
    for (int i = 0; i < 159; ++i) {
        const double k = wave->kValues[i];
        QCOMPARE(wave->kValues[i], i * 0.1);
        QCOMPARE(wave->windowValues[i], wave->ctrl->WindowCtrl->valueAt(k));
        QCOMPARE(wave->debyeWallerValues[i], std::exp(((k * (-2 * k)) * 0.1) * 0.1));
    }
    checkAllFinite();
    wave->newSig(0.05);
    wave->ctrl->setWindowPos(1, 4.0);

    wave->ctrl->RBar->setValue(30);
    QCOMPARE(updated.count(), 7);
    double largest = 1;
    std::vector<double> raw(159);
    for (int i = 0; i < 159; ++i) {
        const double k = i * 0.1;
        raw[i] = k * std::sin(6 * k + 0.4) / 9 * window3to16(k) * std::exp(-0.005 * k * k);
        largest = std::max(largest, raw[i]);
    }
    for (int i = 0; i < 159; ++i)
        QVERIFY(near(wave->chi[i], raw[i] / largest, 1e-9));
    checkAllFinite();
}

// A wave whose first synthesis meets R = 0 has no result to keep: chi and
// the oscillation are zeros, the factors are built as usual.
void tst_AWave::zeroDistanceBeforeAnyResult() {
    AWave w(0.0, 0.0, 1.0);
    QCOMPARE(w.ctrl->RBar->value(), 0);
    w.setKGrid(0, 16, 0.1, 1024);
    QSignalSpy updated(&w, SIGNAL(updated()));
    w.synthesize();
    w.newSig(0.1);
    QCOMPARE(updated.count(), 1);
    QCOMPARE(w.chi, QVector<double>(1024, 0.0));
    QCOMPARE(w.oscillation, QVector<double>(1024, 0.0));
    QVERIFY(near(w.windowValues[35], 0.5, 1e-9));
    QVERIFY(w.chiSpectrum);
    QCOMPARE(w.magnitude(w.chiSpectrum.get(), 3), 0.0);
    const double windowSum = std::accumulate(w.windowValues.begin(), w.windowValues.end(), 0.0);
    QVERIFY(near(w.realPart(w.windowSpectrum.get(), 0), windowSum, 1e-12));
    w.newR(0.1);
    QVERIFY(w.chi != QVector<double>(1024, 0.0));
}

// Only the window selected, and all four positions beyond the synthesised
// grid: every tracked value is 0. chi stays as synthesised (zeros), the
// oscillation keeps its unscaled values, and nothing is NaN.
void tst_AWave::allTrackedZeroIsNotDivided() {
    build();
    QTest::mouseClick(wave->ctrl->SelEnvelope, Qt::LeftButton);
    QTest::mouseClick(wave->ctrl->SelDebye, Qt::LeftButton);
    for (int i = 3; i >= 0; --i)
        wave->ctrl->setWindowPos(i, 17.0 + i);
    QCOMPARE(wave->ctrl->WindowCtrl->positions, QVector<double>({17, 18, 19, 20}));
    checkAllFinite();
    for (int i = 0; i < 159; ++i) {
        const double k = i * 0.1;
        QCOMPARE(wave->chi[i], 0.0);
        QCOMPARE(wave->windowValues[i], 0.0);
        QVERIFY(near(wave->oscillation[i], k * std::sin(4 * k) / 4, 1e-12));
    }
    QCOMPARE(wave->valueMax, 1.0);
    for (int j = 0; j < 1024; ++j)
        QCOMPARE(wave->magnitude(wave->chiSpectrum.get(), j), 0.0);
}

namespace {

quint64 bitsOf(double v) {
    quint64 b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

bool sameBits(const double* a, const double* b, int n) {
    for (int i = 0; i < n; ++i)
        if (bitsOf(a[i]) != bitsOf(b[i]))
            return false;
    return true;
}

// chi and the bare oscillation as the one-shell synthesis computed them
// before extra shells existed, in its order of operations, from the wave's
// factor arrays (which shells do not touch), with their two spectra: what a
// wave without extra shells must still give bit for bit.
struct OneShell {
    QVector<double> chi, oscillation;
    std::vector<double> chiSpectrum, oscillationSpectrum;
};

OneShell oneShell(const AWave& w) {
    const bool use[] = {w.ctrl->SelEnvelope->isChecked(), w.ctrl->SelWindowF->isChecked(),
                        w.ctrl->SelDebye->isChecked()};
    const int N = w.fftLength;
    OneShell o{QVector<double>(N, 0.0), QVector<double>(N, 0.0), std::vector<double>(N),
               std::vector<double>(N)};
    double high = -1e300;
    for (int i = 0; i < w.kCount; ++i) {
        const double k = w.kMin + i * w.dk;
        double v = std::sin(2 * w.r * k + w.phi0 + w.phi2 * k * k) * w.amplitude;
        v = std::pow(k, w.n - 1.0) * v / (w.r * w.r);
        o.oscillation[i] = v;
        const double factors[] = {w.envelopeValues[i], w.windowValues[i], w.debyeWallerValues[i]};
        for (int f = 0; f < 3; ++f)
            if (use[f]) {
                v = v * factors[f];
                high = std::max(high, factors[f]);
            }
        o.chi[i] = v;
        high = std::max(high, v);
    }
    for (QVector<double>* a : {&o.chi, &o.oscillation})
        for (double& v : *a)
            v = w.physical ? v : v / high;
    fft::RealFft<double> fft(N);
    fft.forwardTransform(o.chiSpectrum.data(), o.chi.constData());
    fft.forwardTransform(o.oscillationSpectrum.data(), o.oscillation.constData());
    // Physical spectra carry the field's factor.
    const double f = w.physical ? w.dk / std::sqrt(3.14159265358979323846) : 1;
    for (std::vector<double>* sp : {&o.chiSpectrum, &o.oscillationSpectrum})
        for (double& v : *sp)
            v = w.physical ? v * f : v;
    return o;
}

bool matchesOneShell(const AWave& w, const OneShell& o) {
    const int N = w.fftLength;
    return w.chi.size() == N && w.oscillation.size() == N &&
           sameBits(w.chi.constData(), o.chi.constData(), N) &&
           sameBits(w.oscillation.constData(), o.oscillation.constData(), N) &&
           sameBits(w.chiSpectrum.get(), o.chiSpectrum.data(), N) &&
           sameBits(w.oscillationSpectrum.get(), o.oscillationSpectrum.data(), N);
}

} // namespace

void tst_AWave::oneShellIsBitIdentical_data() {
    QTest::addColumn<Change>("setUp");
    QTest::newRow("start-up") << Change([](AWave*, Envelope*) {});
    QTest::newRow("n 1, phases, sigma, raised envelope") << Change([](AWave* w, Envelope* e) {
        w->ctrl->NBar->setValue(1);
        w->ctrl->RBar->setValue(27);
        w->ctrl->Phi0Bar->setValue(-7);
        w->ctrl->Phi2Bar->setValue(3);
        w->ctrl->SigBar->setValue(120);
        e->points[5] = QPointF(5, 1.07);
        w->envChanged();
    });
    QTest::newRow("factors off, n 3") << Change([](AWave* w, Envelope*) {
        w->ctrl->NBar->setValue(3);
        w->ctrl->SelEnvelope->toggle();
        w->ctrl->SelDebye->toggle();
    });
    QTest::newRow("physical") << Change([](AWave* w, Envelope*) {
        w->ctrl->RBar->setValue(45);
        w->setPhysical(true);
    });
}

// Without extra shells every array and spectrum is what the one-shell
// synthesis gave, bit for bit; shells added and all removed again give it
// back just as exactly.
void tst_AWave::oneShellIsBitIdentical() {
    QFETCH(Change, setUp);
    build();
    setUp(wave, envelope);
    const OneShell before = oneShell(*wave);
    QVERIFY(matchesOneShell(*wave, before));

    wave->setShells({{2.9, 1.0}, {3.6, 0.35}});
    QVERIFY(!matchesOneShell(*wave, before));
    wave->setShells({});
    QVERIFY(wave->shells.isEmpty());
    QVERIFY(matchesOneShell(*wave, before));

    // So do an amplitude and a linear phase set and put back to 1 and 0.
    QVERIFY(wave->setParameter(AWave::Parameter::Amplitude, 3.5));
    QVERIFY(wave->setParameter(AWave::Parameter::P1, 0.5));
    QVERIFY(!matchesOneShell(*wave, before));
    QVERIFY(wave->setParameter(AWave::Parameter::Amplitude, 1));
    QVERIFY(wave->setParameter(AWave::Parameter::P1, 0));
    QVERIFY(matchesOneShell(*wave, before));
}

// setParameter takes a value exactly as a typed one: the panel's box shows
// it, its slider points at the nearest step, one synthesis; a value out of
// range or not finite changes nothing.
void tst_AWave::setParameterIsExact_data() {
    QTest::addColumn<int>("parameter");
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("bar"); // empty: A and P1 have no panel slider
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("shown");
    using P = AWave::Parameter;
    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("R 2.57") << int(P::R) << 2.57 << true << "RBar" << 26 << "2.57";
    QTest::newRow("A 10.8") << int(P::Amplitude) << 10.8 << true << "" << 0 << "";
    QTest::newRow("P1 -3") << int(P::P1) << -3.0 << true << "" << 0 << "";
    QTest::newRow("R above") << int(P::R) << 10.01 << false << "RBar" << 20 << "2";
    QTest::newRow("A above") << int(P::Amplitude) << 50.5 << false << "" << 0 << "";
    QTest::newRow("P1 inf") << int(P::P1) << inf << false << "" << 0 << "";
}

void tst_AWave::setParameterIsExact() {
    QFETCH(int, parameter);
    QFETCH(double, value);
    QFETCH(bool, accepted);
    QFETCH(QString, bar);
    QFETCH(int, position);
    QFETCH(QString, shown);
    build();
    const auto p = AWave::Parameter(parameter);
    const double before = wave->parameter(p);
    QSignalSpy updated(wave, SIGNAL(updated()));
    QCOMPARE(wave->setParameter(p, value), accepted);
    QCOMPARE(updated.count(), accepted ? 1 : 0);
    QVERIFY(bitsOf(wave->parameter(p)) == bitsOf(accepted ? value : before));
    if (!bar.isEmpty()) {
        QCOMPARE(wave->ctrl->findChild<QSlider*>(bar)->value(), position);
        const QString box = bar.left(bar.size() - 3) + "Val";
        QCOMPARE(wave->ctrl->findChild<QLineEdit*>(box)->text(), shown);
    }
}

void tst_AWave::extraShellsSum_data() {
    QTest::addColumn<int>("n");
    QTest::addColumn<double>("phi0");
    QTest::addColumn<double>("phi2");
    QTest::addColumn<bool>("factors");
    QTest::addColumn<bool>("physical");
    QTest::addColumn<QVector<Shell>>("shells");
    QTest::addColumn<double>("a");  // the main shell's N S0^2
    QTest::addColumn<double>("p1"); // the linear phase
    QTest::newRow("one shell") << 2 << 0.0 << 0.0 << true << false << QVector<Shell>{{2.4, 1}}
                               << 1.0 << 0.0;
    QTest::newRow("three, n 3, phases")
        << 3 << 0.5 << 0.02 << true << false << QVector<Shell>{{2.5, 0.5}, {3.1, 2}, {0.7, 0.05}}
        << 1.0 << 0.0;
    QTest::newRow("n 1, factors off") << 1 << -1.2 << 0.0 << false << false
                                      << QVector<Shell>{{1.5, 1.25}, {4, 0.8}} << 1.0 << 0.0;
    QTest::newRow("physical") << 2 << 0.3 << -0.01 << true << true
                              << QVector<Shell>{{2.9, 0.75}, {5.2, 1.5}} << 1.0 << 0.0;
    QTest::newRow("R 0 left out") << 2 << 0.0 << 0.0 << true << false
                                  << QVector<Shell>{{0, 1}, {3, 0.6}, {0, 2}} << 1.0 << 0.0;
    QTest::newRow("amplitude 0") << 2 << 0.0 << 0.0 << true << false << QVector<Shell>{{3.3, 0}}
                                 << 1.0 << 0.0;
    // Copper's first shell, N S0^2 = 12 x 0.9, and a textbook linear phase.
    QTest::newRow("A 10.8, P1 -0.73, physical")
        << 2 << 0.4 << -0.013 << true << true << QVector<Shell>{} << 10.8 << -0.73;
    QTest::newRow("A and P1 reach every shell, physical")
        << 3 << 0.0 << 0.0 << true << true << QVector<Shell>{{3.61, 0.5}} << 4.25 << 1.5;
    QTest::newRow("P1 normalised, n 1, factors off")
        << 1 << -0.2 << 0.0 << false << false << QVector<Shell>{{2.55, 0.8}} << 0.5 << -2.9;
}

// The bare oscillation is the sum of every shell's own term; the factors
// multiply the sum, and chi is normalised (or not) as for one shell.
void tst_AWave::extraShellsSum() {
    QFETCH(int, n);
    QFETCH(double, phi0);
    QFETCH(double, phi2);
    QFETCH(bool, factors);
    QFETCH(bool, physical);
    QFETCH(QVector<Shell>, shells);
    QFETCH(double, a);
    QFETCH(double, p1);
    build();
    QVERIFY(wave->setParameter(AWave::Parameter::Amplitude, a));
    QVERIFY(wave->setParameter(AWave::Parameter::P1, p1));
    wave->newN(n);
    wave->newPhi0(phi0);
    wave->newPhi2(phi2);
    wave->setPhysical(physical);
    if (!factors) {
        wave->ctrl->SelEnvelope->toggle();
        wave->ctrl->SelWindowF->toggle();
        wave->ctrl->SelDebye->toggle();
    }
    QSignalSpy updated(wave, SIGNAL(updated()));
    wave->setShells(shells);
    const int once = shells.isEmpty() ? 0 : 1; // none before
    QCOMPARE(updated.count(), once);
    wave->setShells(shells);
    QCOMPARE(updated.count(), once); // the same list again is no change

    // Every term carries A: the extra shells' amplitudes are relative to it.
    QVector<Shell> all{{2.0, a}};
    for (const Shell& s : shells)
        if (s.r != 0)
            all << Shell{s.r, a * s.amplitude};
    std::vector<double> raw(159), bare(159);
    double largest = factors ? 1 : -1e300; // the window's plateau and DW at k = 0
    for (int i = 0; i < 159; ++i) {
        const double k = i * 0.1;
        double sum = 0;
        for (const Shell& s : all)
            sum += s.amplitude * std::pow(k, n - 1) *
                   std::sin(2 * k * s.r + phi0 + p1 * k + phi2 * k * k) / std::pow(s.r, 2);
        bare[i] = sum;
        raw[i] = factors ? sum * window3to16(k) * std::exp(-0.005 * k * k) : sum;
        largest = std::max(largest, raw[i]);
    }
    const double scale = physical ? 1 : largest;
    // The window's own pi has ten decimals: chi agrees to 1e-9 of its size.
    double bareSize = 0, chiSize = 0;
    for (int i = 0; i < 159; ++i) {
        bareSize = std::max(bareSize, std::abs(bare[i] / scale));
        chiSize = std::max(chiSize, std::abs(raw[i] / scale));
    }
    for (int i = 0; i < 159; ++i) {
        QVERIFY2(near(wave->oscillation[i], bare[i] / scale, 1e-13 * bareSize),
                 qPrintable(QString::number(i)));
        QVERIFY2(near(wave->chi[i], raw[i] / scale, 1e-9 * chiSize),
                 qPrintable(QString::number(i)));
    }
    QCOMPARE(wave->chi[159], 0.0);
    checkAllFinite();
}

// sin(2kR + P1 k) = sin(2k (R + P1/2)): the modulus of chi(R), from a
// direct DFT of chi, peaks within a bin of R + P1/2.
void tst_AWave::linearPhaseMovesThePeak_data() {
    QTest::addColumn<double>("p1");
    QTest::newRow("none") << 0.0;
    QTest::newRow("textbook -1") << -1.0;
    QTest::newRow("-0.46") << -0.46;
    QTest::newRow("+1.3") << 1.3;
}

void tst_AWave::linearPhaseMovesThePeak() {
    QFETCH(double, p1);
    build();
    QVERIFY(wave->setParameter(AWave::Parameter::R, 2.55));
    QVERIFY(wave->setParameter(AWave::Parameter::P1, p1));
    const DirectDft::Bins d = DirectDft::bins(wave->chi.constData(), 1024);
    int peak = 1;
    for (int j = 1; j < 512; ++j)
        if (std::hypot(double(d.c[j]), double(d.s[j])) >
            std::hypot(double(d.c[peak]), double(d.s[peak])))
            peak = j;
    const double dR = Pi / (0.1 * 1024);
    QVERIFY2(std::abs(peak * dR - (2.55 + p1 / 2)) <= dR,
             qPrintable(QString("peak at %1").arg(peak * dR)));
}

QTEST_MAIN(tst_AWave)
#include "tst_AWave.moc"
