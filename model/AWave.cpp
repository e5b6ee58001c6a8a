#include "AWave.h"

#include "Envelope.h"
#include "PackedTransform.h"
#include "PhysicalUnits.h"
#include "RealFft.h"
#include "WaveCtrl.h"
#include "WindowFunc.h"

#include <QAbstractButton>

#include <algorithm>
#include <climits>
#include <cmath>

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
    r = r_;
    phi0 = phi0_;
    amplitude = amplitude_;

    ctrl = new WaveCtrl(nullptr);
    ownCtrl = ctrl;

    // The panel's slots still run while it is filled, but nothing is
    // connected yet, so none of these reaches the wave.
    const int shownN = std::clamp(n, KWeight::minimum, KWeight::maximum);
    ctrl->NBar->setValue(shownN);
    ctrl->NVal->setText(QString::number(shownN, 10));
    const struct {
        QSlider* bar;
        QLineEdit* box;
        Parameter p;
    } shown[] = {{ctrl->RBar, ctrl->RVal, Parameter::R},
                 {ctrl->Phi0Bar, ctrl->Phi0Val, Parameter::P0},
                 {ctrl->Phi2Bar, ctrl->Phi2Val, Parameter::P2},
                 {ctrl->SigBar, ctrl->SigVal, Parameter::Sigma},
                 {ctrl->DE0Bar, ctrl->DE0Val, Parameter::DeltaE0}};
    for (const auto& s : shown) {
        const double value = parameter(s.p);
        s.bar->setValue(sliderPosition(value, parameterRow(s.p).stepsPerUnit, s.bar->minimum(),
                                       s.bar->maximum()));
        s.box->setText(QString::number(value, 'g', 6));
    }

    connect(ctrl, SIGNAL(newN(int)), this, SLOT(newN(int)));
    connect(ctrl, SIGNAL(newR(double)), this, SLOT(newR(double)));
    connect(ctrl, SIGNAL(newPhi0(double)), this, SLOT(newPhi0(double)));
    connect(ctrl, SIGNAL(newPhi2(double)), this, SLOT(newPhi2(double)));
    connect(ctrl, SIGNAL(newSig(double)), this, SLOT(newSig(double)));
    connect(ctrl, SIGNAL(newDE0(double)), this, SLOT(newDE0(double)));
    connect(ctrl->WindowCtrl, SIGNAL(updated()), this, SLOT(windowChanged()));
    connect(ctrl, SIGNAL(newSelection()), this, SLOT(newSelection()));
}

AWave::~AWave() {
    delete ownCtrl.data();
}

WaveGrid AWave::gridOf(double kMin, double kMax, double dk, int length) {
    WaveGrid g;
    g.length = length;
    if (kMin > kMax)
        std::swap(kMin, kMax);
    g.kMin = kMin;
    g.dk = dk;
    if (dk > 0) {
        // In extended precision 16 / 0.1 stays just below 160, so the grid
        // point at kMax itself is never synthesised.
        const long double q = (static_cast<long double>(kMax) - kMin) / dk;
        g.kCount = q < INT_MAX ? static_cast<int>(q) : INT_MAX;
    } else {
        g.kCount = 1;
    }
    return g;
}

void AWave::setKGrid(double kMin_, double kMax_, double dk_, int length) {
    const WaveGrid g = gridOf(kMin_, kMax_, dk_, length);
    fftLength = length;
    kMin = g.kMin;
    kMax = std::max(kMin_, kMax_);
    dk = dk_;
    kCount = g.kCount;
    if (fftLength > 0 && chi.capacity() < fftLength) {
        for (QVector<double>* a :
             {&oscillation, &chi, &kValues, &envelopeValues, &debyeWallerValues, &windowValues})
            a->reserve(fftLength);
    }
}

WaveFactors AWave::factors() const {
    WaveFactors f;
    f.envelope = ctrl->SelEnvelope->isChecked();
    f.window = ctrl->SelWindowF->isChecked();
    f.debyeWaller = ctrl->SelDebye->isChecked();
    return f;
}

WaveGrid AWave::grid() const {
    WaveGrid g;
    g.kMin = kMin;
    g.dk = dk;
    g.kCount = kCount;
    g.length = fftLength;
    return g;
}

void AWave::factorInputs(QVector<double>* envelopeAtK, QVector<double>* windowAtK) const {
    const WaveGrid g = grid();
    const int count = std::max(0, std::min(kCount, fftLength));
    envelopeAtK->resize(0);
    windowAtK->resize(0);
    const WindowFunc* window = ctrl->WindowCtrl;
    for (int i = 0; i < count; ++i) {
        const double k = g.k(i);
        if (envelope)
            envelopeAtK->append(envelope->valueAt(k));
        windowAtK->append(window->valueAt(k));
    }
}

void AWave::synthesize() {
    const WaveFactors factors = this->factors();
    const WaveGrid grid = this->grid();
    factorInputs(&envelopeInput, &windowInput);

    // The arrays move in and out, so they keep their storage and, at R = 0,
    // the last finite chi.
    WaveArrays arrays;
    arrays.kValues = std::move(kValues);
    arrays.oscillation = std::move(oscillation);
    arrays.chi = std::move(chi);
    arrays.envelopeValues = std::move(envelopeValues);
    arrays.debyeWallerValues = std::move(debyeWallerValues);
    arrays.windowValues = std::move(windowValues);
    arrays.valueMin = valueMin;
    arrays.valueMax = valueMax;
    arrays.valueScale = valueScale;
    arrays.divisor = divisor;

    synthesizeWave(parameters(), factors, grid, envelopeInput, windowInput, physical, &arrays);

    kValues = std::move(arrays.kValues);
    oscillation = std::move(arrays.oscillation);
    chi = std::move(arrays.chi);
    envelopeValues = std::move(arrays.envelopeValues);
    debyeWallerValues = std::move(arrays.debyeWallerValues);
    windowValues = std::move(arrays.windowValues);
    valueMin = arrays.valueMin;
    valueMax = arrays.valueMax;
    valueScale = arrays.valueScale;
    divisor = arrays.divisor;
    if (fftLength > 0)
        transform();
}

WaveParameters AWave::parameters() const {
    WaveParameters p;
    p.n = n;
    p.r = r;
    p.phi0 = phi0;
    p.phi1 = phi1;
    p.phi2 = phi2;
    p.amplitude = amplitude;
    p.sigma = sigma;
    p.deltaE0 = deltaE0;
    p.path = path;
    p.shells = shells;
    return p;
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
    if (physical) {
        for (double* s : {oscillationSpectrum.get(), chiSpectrum.get(), envelopeSpectrum.get(),
                          windowSpectrum.get(), debyeWallerSpectrum.get()})
            PhysicalUnits::scaleSpectrum(s, fftLength, dk);
    }

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
    return spectrumBinWidth(dk, fftLength);
}

double AWave::realPart(const double* spectrum, int j) const {
    return ::realPart(spectrum, fftLength, j);
}

double AWave::imagPart(const double* spectrum, int j) const {
    return ::imagPart(spectrum, fftLength, j);
}

double AWave::magnitude(const double* spectrum, int j) const {
    return ::magnitude(spectrum, fftLength, j);
}

void AWave::changed() {
    ctrl->showFormula(amplitude, phi1, path ? path->shownName() : QString());
    ctrl->Flat->setEnabled(!path);
    synthesize();
    emit updated();
}

double AWave::parameter(Parameter p) const {
    return parameters().*parameterRow(p).field;
}

void AWave::range(Parameter p, double* low, double* high) const {
    *low = parameterRow(p).minimum;
    *high = parameterRow(p).maximum;
}

bool AWave::setParameter(Parameter p, double value) {
    WaveCtrl::Box box;
    if (WaveCtrl::boxOf(p, &box))
        return ctrl->setExact(box, value);
    double low = 0;
    double high = 0;
    range(p, &low, &high);
    if (!(std::isfinite(value) && value >= low && value <= high))
        return false;
    // The parameters without a panel box are the wave's own.
    (p == Parameter::Amplitude ? amplitude : phi1) = value;
    changed();
    return true;
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

void AWave::newDE0(double dE0) {
    deltaE0 = dE0;
    changed();
}

void AWave::setPath(const ShellPathPtr& p) {
    if (p == path)
        return;
    path = p;
    if (path) {
        const ParameterRow& row = parameterRow(Parameter::Amplitude);
        amplitude = std::clamp(path->chi.defaults().amplitude, row.minimum, row.maximum);
    }
    changed();
}

void AWave::newSig(double sig) {
    sigma = sig;
    changed();
}

bool AWave::inSum(double r) {
    return shellInSum(r);
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

// With a path the envelope is the path's amplitude: nothing to drag.
void AWave::mMoved() {
    if (envelope && !path)
        envelope->mMoved();
    ctrl->WindowCtrl->mMoved();
}

void AWave::mPressed() {
    if (envelope && !path)
        envelope->mPressed();
    // One press drags one handle: an envelope point lying on a window
    // handle takes the press alone.
    if (envelope && !path && envelope->grabbed)
        ctrl->WindowCtrl->mReleased();
    else
        ctrl->WindowCtrl->mPressed();
}

void AWave::mReleased() {
    if (envelope && !path)
        envelope->mReleased();
    ctrl->WindowCtrl->mReleased();
}
