#include "RealFft.h"

#include <cassert>
#include <cmath>

namespace fft {

namespace {

constexpr double pi = 3.141592653589793;
constexpr double halfSqrt2 = 0.7071067811865476;

bool isPowerOfTwo(long x) {
    assert(x > 0);
    return (x & -x) == x;
}

int bitLength(long value) {
    int bits = 0;
    for (; value > 0; value >>= 1)
        ++bits;
    return bits;
}

// One radix-2 butterfly of step i: joins bin i of the two half-length packed
// transforms (real parts ascending from 0, sine sums descending from their
// end) into bins i and m - i of the packed transform of 2m points.
template <typename T>
inline void butterfly(T* dr, T* di, const T* s1r, const T* s1i, const T* s2r, const T* s2i, long m,
                      long i, T cs, T sn) {
    // Loaded first: the compiler cannot know that the stores miss the source.
    const T a1r = s1r[i];
    const T a1i = s1i[i];
    const T a2r = s2r[i];
    const T a2i = s2i[i];
    const T v = a2r * cs - a2i * sn;
    const T w = a2r * sn + a2i * cs;
    dr[i] = a1r + v;
    dr[m - i] = a1r - v;
    di[i] = w + a1i;
    di[m - i] = w - a1i;
}

} // namespace

template <typename T>
RealFft<T>::RealFft(long length)
    : pointCount(length), bitCount(bitLength(length > 0 ? length - 1 : 0)) {
    // Checked before anything is allocated, so that a bad length is reported
    // by its own assertion and not by the allocator.
    assert(isPowerOfTwo(length));
    assert(bitCount <= maxBitDepth);
    workBuffer.resize(pointCount);
    buildBitReversal();
    buildCosTable();
    buildOscillators();
}

template <typename T> RealFft<T>::~RealFft() = default;

template <typename T> const T* RealFft<T>::cosineLevel(int level) const {
    assert(level >= 3);
    return cosTable.data() + (1L << (level - 1)) - 4;
}

// Entry i is i with its bitCount low bits reversed. The reversed index r
// counts up with its carries running from the top bit downwards.
template <typename T> void RealFft<T>::buildBitReversal() {
    bitReversal.resize(pointCount);
    long* table = bitReversal.data();
    table[0] = 0;
    long r = 0;
    for (long i = 1; i < pointCount; ++i) {
        long bit = pointCount / 2;
        r ^= bit;
        while ((r & bit) == 0) {
            bit >>= 1;
            r ^= bit;
        }
        table[i] = r;
    }
}

template <typename T> void RealFft<T>::buildCosTable() {
    if (bitCount <= 3)
        return;
    cosTable.resize((1L << (bitCount - 1)) - 4);
    for (int level = 3; level < bitCount; ++level) {
        T* const entries = cosTable.data() + (1L << (level - 1)) - 4;
        const long size = 1L << (level - 1);
        for (long i = 0; i < size; ++i)
            entries[i] = T(std::cos(double(i) * pi / double(1L << level)));
    }
}

template <typename T> void RealFft<T>::buildOscillators() {
    if (bitCount <= tablePassLimit)
        return;
    oscillators.resize(bitCount - tablePassLimit);
    for (long o = 0; o < oscillators.size(); ++o) {
        const double angle = (pi / 2) / double(1L << (tablePassLimit + o));
        oscillators[o].stepCosine = T(std::cos(angle));
        oscillators[o].stepSine = T(std::sin(angle));
    }
}

template <typename T> void RealFft<T>::forwardTransform(T f[], const T x[]) {
    assert(f != 0);
    assert(f != buffer());
    assert(x != 0);
    assert(x != buffer());
    assert(x != f);

    switch (pointCount) {
    case 1:
        f[0] = x[0];
        break;
    case 2:
        f[0] = x[0] + x[1];
        f[1] = x[0] - x[1];
        break;
    case 4: {
        f[1] = x[0] - x[2];
        f[3] = x[1] - x[3];
        const T a = x[0] + x[2];
        const T b = x[1] + x[3];
        f[0] = a + b;
        f[2] = a - b;
        break;
    }
    default:
        transformGeneral(f, x);
        break;
    }
}

template <typename T> void RealFft<T>::transformGeneral(T f[], const T x[]) {
    // Each pass moves the data to the other array; start where an even number
    // of moves is left, so that the last pass writes f.
    const bool odd = (bitCount & 1) != 0;
    T* df = odd ? workBuffer.data() : f;
    T* sf = odd ? f : workBuffer.data();
    assert(df != 0);
    assert(sf != 0);
    assert(df != sf);
    assert(df != x);
    const long n = pointCount;
    const long* rev = bitReversal.data();

    // Passes 1 and 2: four-point transforms of the samples in bit-reversed
    // order.
    for (long i = 0; i < n; i += 4) {
        const T x0 = x[rev[i]];
        const T x1 = x[rev[i + 1]];
        const T x2 = x[rev[i + 2]];
        const T x3 = x[rev[i + 3]];
        df[i + 1] = x0 - x1;
        df[i + 3] = x2 - x3;
        const T s0 = x0 + x1;
        const T s2 = x2 + x3;
        df[i] = s0 + s2;
        df[i + 2] = s0 - s2;
    }

    // Pass 3: pairs of four-point transforms into eight-point ones; the
    // twiddles are 1, sqrt(2)/2 (1 - i) and -i, so two multiplications remain.
    const T r = T(halfSqrt2);
    for (long i = 0; i < n; i += 8) {
        sf[i] = df[i] + df[i + 4];
        sf[i + 4] = df[i] - df[i + 4];
        sf[i + 2] = df[i + 2];
        sf[i + 6] = df[i + 6];
        T v = (df[i + 5] - df[i + 7]) * r;
        sf[i + 1] = df[i + 1] + v;
        sf[i + 3] = df[i + 1] - v;
        v = (df[i + 5] + df[i + 7]) * r;
        sf[i + 5] = v + df[i + 3];
        sf[i + 7] = v - df[i + 3];
    }

    T* source = sf;
    T* dest = df;
    for (int pass = 3; pass < bitCount; ++pass) {
        generalPass(pass, dest, source);
        T* const latest = dest;
        dest = source;
        source = latest;
    }
}

// Radix-2 pass over blocks of 2m values, m = 2^pass: each block joins the
// packed transforms of m points in its two halves. Step i turns by i pi / m.
template <typename T> void RealFft<T>::generalPass(int pass, T dest[], const T source[]) const {
    assert(pass >= 3);
    assert(pass < bitCount);
    const long m = 1L << pass;
    const long h = m / 2;
    const bool fromTable = pass <= tablePassLimit;
    const T* const cosines = fromTable ? cosineLevel(pass) : nullptr;
    // Read once: the compiler cannot know that the stores miss the engine.
    const Oscillator step = fromTable ? Oscillator() : oscillators[pass - tablePassLimit - 1];
    for (long b = 0; b < pointCount; b += 2 * m) {
        const T* const s1r = source + b;
        const T* const s2r = s1r + m;
        const T* const s1i = s1r + h;
        const T* const s2i = s2r + h;
        T* const dr = dest + b;
        T* const di = dr + m;
        dr[0] = s1r[0] + s2r[0];
        di[0] = s1r[0] - s2r[0];
        dr[h] = s1r[h];
        di[h] = s2r[h];
        if (fromTable) {
            // The sine of step i is the cosine of step h - i. Source and
            // destination never overlap, which GCC cannot see for itself;
            // told so, it pairs the steps in vector registers, same bits.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC ivdep
#endif
            for (long i = 1; i < h; ++i)
                butterfly(dr, di, s1r, s1i, s2r, s2i, m, i, cosines[i], cosines[h - i]);
        } else {
            // Restarted at every block, so rounding builds up over one block
            // only, and turned here so the engine's state stays as built.
            T cs = 1;
            T sn = 0;
            for (long i = 1; i < h; ++i) {
                const T c = cs * step.stepCosine - sn * step.stepSine;
                sn = cs * step.stepSine + step.stepCosine * sn;
                cs = c;
                butterfly(dr, di, s1r, s1i, s2r, s2i, m, i, cs, sn);
            }
        }
    }
}

template class RealFft<double>;

} // namespace fft
