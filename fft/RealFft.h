#ifndef TOVIK_FFT_REALFFT_H
#define TOVIK_FFT_REALFFT_H

#include "FixedArray.h"

#include <cmath>

namespace fft {

// Forward discrete Fourier transform of N real samples, N a power of two, into
// a packed array of N reals, X_k = sum_n x_n exp(-2 pi i k n / N):
//   f[k]       =  Re X_k   for k = 0 ... N/2,
//   f[N/2 + k] = -Im X_k   for k = 1 ... N/2 - 1 (the plain sine sums).
// No normalisation: a constant input of 1 gives f[0] = N.
//
// The input is read once through a bit-reversal table into four-point
// transforms (passes 1-2), joined into eight-point ones (pass 3), then by
// radix-2 passes 3 ... log2(N) - 1 that ping-pong between f and the work
// buffer. All tables are built by the constructor; a transform allocates
// nothing.
template <typename T> class RealFft {
public:
    static constexpr int maxBitDepth = 30;
    // Passes up to this one take their twiddles from the cosine tables, later
    // ones from a rotation recurrence (an oscillator) restarted at every block.
    static constexpr int tablePassLimit = 12;

    // length: a positive power of two, at most 2^maxBitDepth.
    explicit RealFft(long length);
    virtual ~RealFft();

    RealFft(const RealFft&) = delete;
    RealFft& operator=(const RealFft&) = delete;

    // Reads N samples from x and writes the N packed values into f. x is not
    // modified; f and x must be distinct and neither may be buffer(). Uses the
    // work buffer, so one engine must not run two transforms at once.
    void forwardTransform(T f[], const T x[]);

    T* buffer() { return workBuffer.data(); }

protected:
    // A unit vector (cosine, sine) and the rotation (stepCosine, stepSine) it
    // turns by at each step. A transform turns its own copy of the vector, so
    // the engine keeps (1, 0) here.
    struct Oscillator {
        T cosine = 1;
        T sine = 0;
        T stepCosine = 1;
        T stepSine = 0;
    };

    long pointCount;
    int bitCount;
    FixedArray<long> bitReversal;
    // Level L (3 <= L < bitCount) holds cos(i pi / 2^L), i = 0 ... 2^(L-1) - 1,
    // from index 2^(L-1) - 4 on.
    FixedArray<T> cosTable;
    FixedArray<T> workBuffer;
    // Oscillator o turns by pi / 2^(13 + o), the step of pass 13 + o.
    FixedArray<Oscillator> oscillators;

private:
    const T* cosineLevel(int level) const;
    void buildBitReversal();
    void buildCosTable();
    void buildOscillators();
    void transformGeneral(T f[], const T x[]);
    void generalPass(int pass, T dest[], const T source[]) const;
};

extern template class RealFft<double>;

// The scale EXAFS analysis puts on the plain sum over a k grid of step dk:
// chi(R) = dk / sqrt(pi) * sum_n x_n exp(2 i k_n R).
inline double exafsScale(double dk) {
    // The full-precision pi: this factor is the field's, not an axis's.
    return dk / std::sqrt(3.14159265358979323846);
}

} // namespace fft

#endif
