#include "AWave.h"

#include "Envelope.h"
#include "RealFft.h"
#include "WaveCtrl.h"
#include "WindowFunc.h"

#include <QAbstractButton>

#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>

namespace {
// The slider position of a value: truncated toward zero and held within the
// slider's range (a NaN goes to the low end rather than into an int cast).
int sliderPosition(double value, double scale, int low, int high) {
    const double t = std::trunc(value * scale);
    if (!(t >= low))
        return low;
    if (t > high)
        return high;
    return static_cast<int>(t);
}
} // namespace

AWave::AWave(double r_, double phi0_, double amplitude_) : QObject(nullptr) {
    n = 2;
    r = r_;
    phi0 = phi0_;
    phi2 = 0.0;
    amplitude = amplitude_;
    sigma = 0.05;
    envelope = nullptr;
    fftLength = -1;

    ctrl = new WaveCtrl(nullptr);
    ownCtrl = ctrl;

    // The panel's slots still run while it is filled, but nothing is
    // connected yet, so none of these reaches the wave.
    const int shownN = n < 0 ? 0 : n > 3 ? 3 : n;
    ctrl->NBar->setValue(shownN);
    ctrl->NVal->setText(QString::number(shownN, 10));
    ctrl->RBar->setValue(sliderPosition(r, 10, 0, 100));
    ctrl->RVal->setText(QString::number(r, 'g', 6));
    ctrl->Phi0Bar->setValue(sliderPosition(phi0, 10, -100, 100));
    ctrl->Phi0Val->setText(QString::number(phi0, 'g', 6));
    ctrl->Phi2Bar->setValue(sliderPosition(phi2, 100, -100, 100));
    ctrl->Phi2Val->setText(QString::number(phi2, 'g', 6));
    ctrl->SigBar->setValue(sliderPosition(sigma, 1000, 0, 200));
    ctrl->SigVal->setText(QString::number(sigma, 'g', 6));

    connect(ctrl, SIGNAL(newN(int)), this, SLOT(newN(int)));
    connect(ctrl, SIGNAL(newR(double)), this, SLOT(newR(double)));
    connect(ctrl, SIGNAL(newPhi0(double)), this, SLOT(newPhi0(double)));
    connect(ctrl, SIGNAL(newPhi2(double)), this, SLOT(newPhi2(double)));
    connect(ctrl, SIGNAL(newSig(double)), this, SLOT(newSig(double)));
    connect(ctrl->WindowCtrl, SIGNAL(updated()), this, SLOT(windowChanged()));
    connect(ctrl, SIGNAL(newSelection()), this, SLOT(newSelection()));
}

AWave::~AWave() {
    delete ownCtrl.data();
}

void AWave::setKGrid(double kMin_, double kMax_, double dk_, int length) {
    fftLength = length;
    if (kMin_ > kMax_)
        std::swap(kMin_, kMax_);
    kMin = kMin_;
    kMax = kMax_;
    dk = dk_;
    if (dk > 0) {
        // In extended precision 16 / 0.1 stays just below 160, so the grid
        // point at kMax itself is never synthesised.
        const long double q = (static_cast<long double>(kMax) - kMin) / dk;
        kCount = q < INT_MAX ? static_cast<int>(q) : INT_MAX;
    } else {
        kCount = 1;
    }
    if (fftLength > 0 && chi.capacity() < fftLength) {
        for (QVector<double>* a :
             {&oscillation, &chi, &kValues, &envelopeValues, &debyeWallerValues, &windowValues})
            a->reserve(fftLength);
    }
}

void AWave::synthesize() {
    const bool useEnvelope = ctrl->SelEnvelope->isChecked();
    const bool useWindow = ctrl->SelWindowF->isChecked();
    const bool useDebyeWaller = ctrl->SelDebye->isChecked();

    // The shell's term carries 1/R^2: at R = 0 (the R slider's left end) it
    // is undefined, so chi and the bare oscillation keep their last finite
    // values while the grid and the factors follow every change as usual.
    const bool shellDefined = inSum(r);

    for (QVector<double>* a : {&kValues, &envelopeValues, &debyeWallerValues, &windowValues})
        a->resize(0);
    if (shellDefined) {
        oscillation.resize(0);
        chi.resize(0);
    }
    if (fftLength <= 0)
        return;

    valueMin = 1e300;
    valueMax = -1e300;
    auto track = [this](double v) {
        if (valueMin > v)
            valueMin = v;
        if (v > valueMax)
            valueMax = v;
    };

    const WindowFunc* window = ctrl->WindowCtrl;
    for (int i = 0; i < fftLength; ++i) {
        const double k = kMin + i * dk;
        if (i < kCount) {
            const double phase = 2 * r * k + phi0 + phi2 * k * k;
            double v = std::sin(phase) * amplitude;
            // A real exponent, so that k = 0 gives 0^0 = 1 for n = 1.
            v = std::pow(k, n - 1.0) * v / (r * r);
            // Each extra shell's term in the main term's order of operations.
            for (const Shell& s : std::as_const(shells)) {
                if (!inSum(s.r))
                    continue;
                const double phaseS = 2 * s.r * k + phi0 + phi2 * k * k;
                double t = std::sin(phaseS) * (amplitude * s.amplitude);
                t = std::pow(k, n - 1.0) * t / (s.r * s.r);
                v += t;
            }
            if (shellDefined)
                oscillation.append(v);

            if (envelope) {
                const double f = envelope->valueAt(k);
                envelopeValues.append(f);
                if (useEnvelope) {
                    v = v * f;
                    track(f);
                }
            } else {
                envelopeValues.append(0.0);
            }

            const double w = window->valueAt(k);
            windowValues.append(w);
            if (useWindow) {
                v = v * w;
                track(w);
            }

            const double d = std::exp(((k * (-2 * k)) * sigma) * sigma);
            debyeWallerValues.append(d);
            if (useDebyeWaller) {
                v = v * d;
                track(d);
            }

            if (shellDefined) {
                chi.append(v);
                track(v);
            }
        } else {
            if (shellDefined) {
                oscillation.append(0.0);
                chi.append(0.0);
            }
            envelopeValues.append(0.0);
            windowValues.append(0.0);
            debyeWallerValues.append(0.0);
        }
        kValues.append(k);
    }

    // Only an R = 0 before any other synthesis leaves nothing to keep.
    if (!shellDefined && chi.size() != fftLength) {
        chi.fill(0.0, fftLength);
        oscillation.fill(0.0, fftLength);
    }

    if (physical) {
        // The plot's range comes from the data: the largest tracked size.
        valueScale = std::max(valueMax, -valueMin);
        if (!(valueScale > 0) || !std::isfinite(valueScale))
            valueScale = 1;
        valueMax = valueScale;
        valueMin = -valueScale;
        transform();
        return;
    }

    // Scaled by the largest signed value, not the largest magnitude. When
    // nothing tracked rises above 0 (only the window selected, all its
    // positions beyond the grid) the signal is all zeros: left as it is.
    // Values kept from R = 0 are already scaled.
    if (shellDefined && valueMax != 0) {
        for (double& v : chi)
            v /= valueMax;
        for (double& v : oscillation)
            v /= valueMax;
    }
    valueMax = 1;
    valueScale = 1;
    valueMin = -1;

    transform();
}

void AWave::transform() {
    fft::RealFft<double> fft(fftLength);

    oscillationSpectrum.reset();
    chiSpectrum.reset();
    envelopeSpectrum.reset();
    windowSpectrum.reset();
    debyeWallerSpectrum.reset();
    oscillationSpectrum.reset(new double[fftLength]);
    chiSpectrum.reset(new double[fftLength]);
    envelopeSpectrum.reset(new double[fftLength]);
    windowSpectrum.reset(new double[fftLength]);
    debyeWallerSpectrum.reset(new double[fftLength]);

    fft.forwardTransform(oscillationSpectrum.get(), oscillation.constData());
    fft.forwardTransform(chiSpectrum.get(), chi.constData());
    fft.forwardTransform(envelopeSpectrum.get(), envelopeValues.constData());
    fft.forwardTransform(windowSpectrum.get(), windowValues.constData());
    fft.forwardTransform(debyeWallerSpectrum.get(), debyeWallerValues.constData());

    spectrumMin = 1e300;
    spectrumMax = -1e300;
    for (int j = 0; j < fftLength; ++j) {
        for (const double* s :
             {chiSpectrum.get(), oscillationSpectrum.get(), envelopeSpectrum.get()}) {
            const double m = magnitude(s, j);
            if (spectrumMin > m)
                spectrumMin = m;
            if (m > spectrumMax)
                spectrumMax = m;
        }
    }
    spectrumScale = spectrumMax;
    if (-spectrumMin > spectrumScale)
        spectrumScale = -spectrumMin;
}

double AWave::binWidthR() const {
    // pi to ten decimals, the program's own constant (the window's too).
    return 3.1415926535 / (dk * fftLength);
}

double AWave::realPart(const double* spectrum, int j) const {
    const long long N = fftLength;
    const long long m = std::llabs(j);
    if (!spectrum || m >= N)
        return 0;
    if (m <= N / 2)
        return spectrum[m];
    return spectrum[N - m];
}

double AWave::imagPart(const double* spectrum, int j) const {
    const long long N = fftLength;
    const long long m = std::llabs(j);
    if (!spectrum || j == 0 || m >= N || m == N / 2)
        return 0;
    const double s = j > 0 ? 1 : -1;
    if (m < N / 2)
        return s * spectrum[N / 2 + m];
    return s * spectrum[3 * N / 2 - m];
}

double AWave::magnitude(const double* spectrum, int j) const {
    const double re = realPart(spectrum, j);
    const double im = imagPart(spectrum, j);
    return std::sqrt(re * re + im * im);
}

void AWave::changed() {
    synthesize();
    emit updated();
}

void AWave::newN(int N) {
    n = N;
    changed();
}

void AWave::newR(double R) {
    r = R;
    changed();
}

void AWave::newPhi0(double p0) {
    phi0 = p0;
    changed();
}

void AWave::newPhi2(double p2) {
    phi2 = p2;
    changed();
}

void AWave::newSig(double sig) {
    sigma = sig;
    changed();
}

bool AWave::inSum(double r) {
    return std::isfinite(1 / (r * r));
}

void AWave::setShells(const QVector<Shell>& extra) {
    if (extra == shells)
        return;
    shells = extra;
    changed();
}

void AWave::setPhysical(bool on) {
    if (physical == on)
        return;
    physical = on;
    changed();
}

void AWave::envChanged() {
    changed();
}
void AWave::windowChanged() {
    changed();
}
void AWave::newSelection() {
    changed();
}

void AWave::mMoved() {
    if (envelope)
        envelope->mMoved();
    ctrl->WindowCtrl->mMoved();
}

void AWave::mPressed() {
    if (envelope)
        envelope->mPressed();
    // One press drags one handle: an envelope point lying on a window
    // handle takes the press alone.
    if (envelope && envelope->grabbed)
        ctrl->WindowCtrl->mReleased();
    else
        ctrl->WindowCtrl->mPressed();
}

void AWave::mReleased() {
    if (envelope)
        envelope->mReleased();
    ctrl->WindowCtrl->mReleased();
}
