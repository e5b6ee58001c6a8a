#pragma once

#include <QCoreApplication>
#include <QString>
#include <QVector>

// The noise of measured chi(k), estimated where its transform holds no
// shell: at large R, chi(R) of real data is noise alone.
//
// The transform is chi(R) = dk/√π · Σ_n w_n x_n e^{2 i k_n R} on a uniform
// grid k_n = k_0 + n dk, w_n the factors the data are multiplied by before
// it (kⁿ and the window). For white noise in x (independent, mean 0, rms
// ε_k at every point) the cross terms average out:
//
//   E|chi(R)|² = dk²/π · ε_k² · Σ_n w_n²   at every R,
//
// so ε_R = ε_k · dk · √(Σ w_n² / π) and ε_k = ε_R · √π / (dk · √(Σ w_n²)).
// With w = 1 on M points, Δk = M dk: ε_k = ε_R · √(π / (dk Δk)). By
// Parseval the mean of |chi(R)|² over a whole period π/dk of R is exactly
// dk²/π · Σ |w_n x_n|², so a part of the period far from every shell gives
// the same size for white noise.
class NoiseEstimate {
    Q_DECLARE_TR_FUNCTIONS(NoiseEstimate)

public:
    static constexpr double defaultRMin = 10; // Å
    static constexpr double defaultRMax = 15; // Å

    struct Result {
        double epsilonR = 0; // rms of |chi(R)| over the R range, in chi(R)'s unit
        double epsilonK = 0; // rms noise of the x that were transformed
        int samples = 0;     // the R values it was taken over
    };

    // √(mean |chi(R)|²) over the samples with rMin ≤ R ≤ rMax of a transform
    // given at R values r (Å), real parts re and imaginary parts im. Refuses a
    // range outside r or holding no sample.
    static bool rmsOverR(const QVector<double>& r, const QVector<double>& re,
                         const QVector<double>& im, double rMin, double rMax, double* rms,
                         int* samples, QString* error);
    // ε_k from ε_R by the relation above; weights are the w_n of the transform.
    static double kFromR(double epsilonR, double dk, const QVector<double>& weights);

    // Both sizes from x on a uniform k grid (Å⁻¹), weighted by w before the
    // transform, which is summed directly at R steps of π/(4 Δk) over
    // [rMin, rMax]. Refuses a grid that is not uniform, arrays of different
    // lengths, and a range beyond π/(2 dk), where the transform of real data
    // repeats itself.
    static bool fromChi(const QVector<double>& k, const QVector<double>& x,
                        const QVector<double>& weights, double rMin, double rMax, Result* result,
                        QString* error);

private:
    static QString outsideTransform(double rMin, double rMax, double first, double last);
};
