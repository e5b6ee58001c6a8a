#pragma once

#include "ParameterTable.h"
#include "Shell.h"
#include "WaveSynthesis.h"

#include <QObject>
#include <QPointer>
#include <QVector>

#include <memory>

class Envelope;
class WaveCtrl;

// One scattering shell: its parameters, the signal chi(k) on a fixed k grid
// built from the selected factors, and the transforms of chi(k) and of its
// factors. Every change rebuilds everything and is announced by updated().
class AWave : public QObject {
    Q_OBJECT
public:
    AWave(double r, double phi0, double amplitude);
    ~AWave() override;

    void setKGrid(double kMin, double kMax, double dk, int length);
    // The grid setKGrid makes of these.
    static WaveGrid gridOf(double kMin, double kMax, double dk, int length);
    void synthesize();

    // The R step between two bins of the spectra: pi / (dk * N).
    double binWidthR() const;

    // Bin j of a packed spectrum of fftLength values (PackedTransform).
    double realPart(const double* spectrum, int j) const;
    double imagPart(const double* spectrum, int j) const;
    double magnitude(const double* spectrum, int j) const;

    WaveCtrl* ctrl = nullptr;
    int n = KWeight::defaultValue;
    double r = 0;
    double phi0 = 0;
    // linear phase (Å): sin(2kR + P0 + P1 k + P2 k^2)
    double phi1 = parameterRow(ModelParameter::P1).defaultValue;
    double phi2 = parameterRow(ModelParameter::P2).defaultValue;
    double amplitude = 0; // N * S0^2 of the main shell, a factor of every shell
    double sigma = parameterRow(ModelParameter::Sigma).defaultValue;
    double deltaE0 = parameterRow(ModelParameter::DeltaE0).defaultValue; // eV
    // The main shell's scattering path, null for the hand-drawn envelope.
    // With one the envelope factor is the path's amplitude and cannot be
    // dragged.
    ShellPathPtr path;
    // Takes a path (or none), resynthesises and announces it once. A new
    // path sets N·S0² to its degeneracy × S0² (PathChi::defaults).
    void setPath(const ShellPathPtr& p);

    // The parameters a user can type and a fit can vary (ParameterTable).
    using Parameter = ModelParameter;
    double parameter(Parameter p) const;
    // The range a value of `p` must lie in, its row's.
    void range(Parameter p, double* low, double* high) const;
    // Sets `p` to `value` exactly, by the road a typed value takes: R, P0,
    // P2 and Sigma through the panel's box (its slider moves to the nearest
    // step), A and P1 here; one synthesis and one updated(). A value that is
    // not finite or out of range changes nothing and answers false.
    bool setParameter(Parameter p, double value);
    // The parameters as the synthesis takes them.
    WaveParameters parameters() const;
    // The rest of what synthesize() hands to synthesizeWave, so that a fit
    // evaluates the very model that is drawn: the selected factors, the
    // grid, and F and W at the grid points that carry the signal.
    WaveFactors factors() const;
    WaveGrid grid() const;
    void factorInputs(QVector<double>* envelopeAtK, QVector<double>* windowAtK) const;
    Envelope* envelope = nullptr; // not owned
    int fftLength = -1;
    int kCount = 0;
    double kMin = 0;
    double kMax = 0;
    double dk = 0;
    double valueMin = 0;
    double valueMax = 0;
    double valueScale = 0;
    // What chi was divided by in normalised mode (1 in physical mode);
    // measured data are divided by the same.
    double divisor = 1;
    // Physical amplitude: chi and the oscillation keep the formula's own
    // values instead of being divided by the largest tracked value, so a
    // larger sigma or a farther shell shows as a weaker signal, and every
    // spectrum is the field's transform (PhysicalUnits).
    bool physical = false;
    // Extra shells summed into the bare oscillation, in this order; one at
    // R = 0 is left out (its 1/R^2 is undefined).
    QVector<Shell> shells;
    // Takes the extra shells, resynthesises and announces it once; the same
    // list again changes nothing and announces nothing.
    void setShells(const QVector<Shell>& extra);
    // Whether a shell at distance r takes part in the sum.
    static bool inSum(double r);
    QVector<double> oscillation;
    QVector<double> chi;
    QVector<double> kValues;
    QVector<double> envelopeValues;
    QVector<double> debyeWallerValues;
    QVector<double> windowValues;
    // Packed spectra of fftLength values, null until the first transform.
    std::unique_ptr<double[]> oscillationSpectrum;
    std::unique_ptr<double[]> chiSpectrum;
    std::unique_ptr<double[]> envelopeSpectrum;
    std::unique_ptr<double[]> windowSpectrum;
    std::unique_ptr<double[]> debyeWallerSpectrum;
    double spectrumMin = 0;
    double spectrumMax = 0;
    double spectrumScale = 0;

signals:
    void updated();

public slots:
    void newN(int N);
    void newR(double R);
    void newPhi0(double p0);
    void newPhi2(double p2);
    void newSig(double sig);
    void newDE0(double dE0);
    void envChanged();
    void windowChanged();
    void newSelection();
    void setPhysical(bool on);

    void mMoved();
    void mPressed();
    void mReleased();

private:
    void transform();
    void changed();

    // The factors at the grid points, handed to the synthesis.
    QVector<double> envelopeInput;
    QVector<double> windowInput;

    // The panel is reparented into the main window, which may destroy it
    // first; the wave deletes it only while it still exists.
    QPointer<WaveCtrl> ownCtrl;
};
