#include "RealFft.h"

#include <cassert>
#include <cmath>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define TOVIK_FFT_AVX2 1
#include <immintrin.h>
#endif

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

int trailingZeros(long value) {
    return __builtin_ctzl(static_cast<unsigned long>(value));
}

// cos x and sin x for 0 <= x <= pi/4 from their Taylor series. At pi/4 the
// first omitted terms, x^20/20! and x^21/21!, are below 2e-20, so the result
// is as good as the double arithmetic; the series needs no argument reduction
// and, unlike the library calls, vectorises across a table.
template <typename T> void sinCosQuarter(T x, T& c, T& s) {
    const T z = x * x;
    c = T(1) + z * (T(-1.0 / 2) +
                    z * (T(1.0 / 24) +
                         z * (T(-1.0 / 720) +
                              z * (T(1.0 / 40320) +
                                   z * (T(-1.0 / 3628800) +
                                        z * (T(1.0 / 479001600) +
                                             z * (T(-1.0 / 87178291200) +
                                                  z * (T(1.0 / 20922789888000) +
                                                       z * T(-1.0 / 6402373705728000)))))))));
    s = x *
        (T(1) + z * (T(-1.0 / 6) +
                     z * (T(1.0 / 120) +
                          z * (T(-1.0 / 5040) +
                               z * (T(1.0 / 362880) +
                                    z * (T(-1.0 / 39916800) +
                                         z * (T(1.0 / 6227020800) +
                                              z * (T(-1.0 / 1307674368000) +
                                                   z * (T(1.0 / 355687428096000) +
                                                        z * T(-1.0 / 121645100408832000))))))))));
}

// One radix-2 pass over blocks of 2m = 4h values. Each block joins the packed
// half-length transforms in [0, m) and [m, 2m) (real parts ascending from 0,
// sine sums descending from their end) into one packed transform of 2m points;
// cs[i], sn[i] are the cosine and sine of i pi / m.
template <typename T>
void butterflyPassScalar(T* __restrict dst, const T* __restrict src, const T* __restrict cs,
                         const T* __restrict sn, long n, long h) {
    const long m = 2 * h;
    for (long b = 0; b < n; b += 2 * m) {
        const T* s1r = src + b;
        const T* s2r = s1r + m;
        const T* s1i = s1r + h;
        const T* s2i = s2r + h;
        T* dr = dst + b;
        T* di = dr + m;
        dr[0] = s1r[0] + s2r[0];
        di[0] = s1r[0] - s2r[0];
        dr[h] = s1r[h];
        di[h] = s2r[h];
        for (long i = 1; i < h; ++i) {
            const T v = s2r[i] * cs[i] - s2i[i] * sn[i];
            dr[i] = s1r[i] + v;
            dr[m - i] = s1r[i] - v;
            const T w = s2r[i] * sn[i] + s2i[i] * cs[i];
            di[i] = w + s1i[i];
            di[m - i] = w - s1i[i];
        }
    }
}

#ifdef TOVIK_FFT_AVX2

bool cpuHasAvx2() {
    static const bool supported = __builtin_cpu_supports("avx2");
    return supported;
}

// The same pass four butterflies at a time, with the same operations in the
// same order as the scalar one, so both give identical bits (the project does
// not contract a*b - c*d into fused multiply-adds).
//
// Lanes i = c ... c+3 of a vector produce dr[i] and di[i] in place and the
// mirrored dr[m - i], di[m - i] reversed. The mirrored values of lanes 1-3
// and lane 0 of the next vector fill four adjacent slots, so each vector is
// rotated once and stored when the next one supplies its missing lane. Lane 0
// of the first vector is the i = 0 butterfly: its difference s1r[0] - s2r[0]
// belongs in di[0] (which is dr[m]), and the slot left over after the last
// vector holds dr[h] = s1i[0] and di[h] = s2i[0].
__attribute__((target("avx2"))) void
butterflyPassAvx2(double* __restrict dst, const double* __restrict src, const double* __restrict cs,
                  const double* __restrict sn, long n, long h) {
    const long m = 2 * h;
    // (b0, b1, b2, b3) -> (b0, b3, b2, b1): lanes 1-3 in mirrored order.
    constexpr int mirror = 0 | (3 << 2) | (2 << 4) | (1 << 6);
    for (long b = 0; b < n; b += 2 * m) {
        const double* s1r = src + b;
        const double* s2r = s1r + m;
        const double* s1i = s1r + h;
        const double* s2i = s2r + h;
        double* dr = dst + b;
        double* di = dr + m;

        const __m256d s1i0 = _mm256_loadu_pd(s1i);
        const __m256d s2i0 = _mm256_loadu_pd(s2i);
        __m256d heldR;
        __m256d heldI;
        {
            const __m256d a1r = _mm256_loadu_pd(s1r);
            const __m256d a2r = _mm256_loadu_pd(s2r);
            const __m256d c = _mm256_loadu_pd(cs);
            const __m256d s = _mm256_loadu_pd(sn);
            __m256d v = _mm256_sub_pd(_mm256_mul_pd(a2r, c), _mm256_mul_pd(s2i0, s));
            v = _mm256_blend_pd(v, a2r, 1);
            const __m256d w = _mm256_add_pd(_mm256_mul_pd(a2r, s), _mm256_mul_pd(s2i0, c));
            const __m256d sum = _mm256_add_pd(a1r, v);
            const __m256d diff = _mm256_sub_pd(a1r, v);
            _mm256_storeu_pd(dr, sum);
            _mm256_storeu_pd(di, _mm256_blend_pd(_mm256_add_pd(w, s1i0), diff, 1));
            heldR = _mm256_permute4x64_pd(diff, mirror);
            heldI = _mm256_permute4x64_pd(_mm256_sub_pd(w, s1i0), mirror);
        }
        for (long c = 4; c < h; c += 4) {
            const __m256d a1r = _mm256_loadu_pd(s1r + c);
            const __m256d a1i = _mm256_loadu_pd(s1i + c);
            const __m256d a2r = _mm256_loadu_pd(s2r + c);
            const __m256d a2i = _mm256_loadu_pd(s2i + c);
            const __m256d cv = _mm256_loadu_pd(cs + c);
            const __m256d sv = _mm256_loadu_pd(sn + c);
            const __m256d v = _mm256_sub_pd(_mm256_mul_pd(a2r, cv), _mm256_mul_pd(a2i, sv));
            const __m256d w = _mm256_add_pd(_mm256_mul_pd(a2r, sv), _mm256_mul_pd(a2i, cv));
            const __m256d diffR = _mm256_sub_pd(a1r, v);
            const __m256d diffI = _mm256_sub_pd(w, a1i);
            _mm256_storeu_pd(dr + c, _mm256_add_pd(a1r, v));
            _mm256_storeu_pd(di + c, _mm256_add_pd(w, a1i));
            _mm256_storeu_pd(dr + m - c, _mm256_blend_pd(heldR, diffR, 1));
            _mm256_storeu_pd(di + m - c, _mm256_blend_pd(heldI, diffI, 1));
            heldR = _mm256_permute4x64_pd(diffR, mirror);
            heldI = _mm256_permute4x64_pd(diffI, mirror);
        }
        _mm256_storeu_pd(dr + h, _mm256_blend_pd(heldR, s1i0, 1));
        _mm256_storeu_pd(di + h, _mm256_blend_pd(heldI, s2i0, 1));
    }
}

#endif

void butterflyPass(double* dst, const double* src, const double* cs, const double* sn, long n,
                   long h) {
#ifdef TOVIK_FFT_AVX2
    if (cpuHasAvx2()) {
        butterflyPassAvx2(dst, src, cs, sn, n, h);
        return;
    }
#endif
    butterflyPassScalar(dst, src, cs, sn, n, h);
}

template <typename T>
void butterflyPass(T* dst, const T* src, const T* cs, const T* sn, long n, long h) {
    butterflyPassScalar(dst, src, cs, sn, n, h);
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
    buildTwiddles();
}

template <typename T> RealFft<T>::~RealFft() = default;

template <typename T> const T* RealFft<T>::cosineLevel(int level) const {
    assert(level >= 3);
    return cosTable.data() + (1L << (level - 1)) - 4;
}

template <typename T> void RealFft<T>::buildBitReversal() {
    bitReversal.resize(pointCount);
    long* table = bitReversal.data();
    table[0] = 0;
    // Counting i up by one flips its low bits up to and including the lowest
    // zero; the reversed index flips the mirror image of those bits, from the
    // top down.
    long r = 0;
    for (long i = 1; i < pointCount; ++i) {
        r ^= pointCount - (pointCount >> (trailingZeros(i) + 1));
        table[i] = r;
    }
}

template <typename T> void RealFft<T>::buildCosTable() {
    if (bitCount <= 3)
        return;
    cosTable.resize((1L << (bitCount - 1)) - 4);

    // The top level holds every angle of the lower ones: level L's entry i is
    // the top level's entry i * 2^(top - L), the same angle i pi / 2^L.
    const int top = bitCount - 1;
    const long half = 1L << (top - 1);
    const long quarter = half / 2;
    const T step = T(pi) / T(1L << top);
    T* level = cosTable.data() + half - 4;
    // Angles up to pi/4 directly; beyond it cos(pi/2 - x) = sin x.
    for (long i = 0; i <= quarter; ++i) {
        T c;
        T s;
        sinCosQuarter(T(i) * step, c, s);
        level[i] = c;
        if (i > 0 && i < quarter)
            level[half - i] = s;
    }
    for (int l = top - 1; l >= 3; --l) {
        const T* finer = cosineLevel(l + 1);
        T* coarser = cosTable.data() + (1L << (l - 1)) - 4;
        const long size = 1L << (l - 1);
        for (long i = 0; i < size; ++i)
            coarser[i] = finer[2 * i];
    }
}

template <typename T> void RealFft<T>::buildOscillators() {
    if (bitCount <= tablePassLimit)
        return;
    oscillators.resize(bitCount - tablePassLimit);
    for (long o = 0; o < oscillators.size(); ++o) {
        Oscillator& osc = oscillators[o];
        const double angle = (pi / 2) / double(1L << (tablePassLimit + o));
        osc.stepCosine = T(std::cos(angle));
        osc.stepSine = T(std::sin(angle));
    }
}

template <typename T> void RealFft<T>::buildTwiddles() {
    if (bitCount <= 3)
        return;
    twiddles.resize(pointCount - 8);
    for (int pass = 3; pass < bitCount; ++pass) {
        const long h = 1L << (pass - 1);
        T* cs = twiddles.data() + (1L << pass) - 8;
        T* sn = cs + h;
        // Step 0 is the butterfly without rotation; the passes never read it.
        cs[0] = 1;
        sn[0] = 0;
        if (pass <= tablePassLimit) {
            const T* level = cosineLevel(pass);
            for (long i = 1; i < h; ++i) {
                cs[i] = level[i];
                sn[i] = level[h - i];
            }
        } else {
            // The sequence a block would see: reset, then one advance per step.
            Oscillator& osc = oscillators[pass - tablePassLimit - 1];
            osc.reset();
            for (long i = 1; i < h; ++i) {
                osc.advance();
                cs[i] = osc.cosine;
                sn[i] = osc.sine;
            }
        }
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

    firstPasses(df, x);
    thirdPass(sf, df);
    T* source = sf;
    T* dest = df;
    for (int pass = 3; pass < bitCount; ++pass) {
        generalPass(pass, dest, source);
        T* const latest = dest;
        dest = source;
        source = latest;
    }
}

// Passes 1 and 2: four-point transforms of the samples in bit-reversed order.
template <typename T> void RealFft<T>::firstPasses(T df[], const T x[]) const {
    const long* rev = bitReversal.data();
    for (long i = 0; i < pointCount; i += 4) {
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
}

// Pass 3: pairs of four-point transforms into eight-point ones; the twiddles
// are 1, sqrt(2)/2 (1 - i) and -i, so only two multiplications remain.
template <typename T> void RealFft<T>::thirdPass(T sf[], const T df[]) const {
    const T r = T(halfSqrt2);
    for (long i = 0; i < pointCount; i += 8) {
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
}

template <typename T> void RealFft<T>::generalPass(int pass, T dest[], const T source[]) const {
    assert(pass >= 3);
    assert(pass < bitCount);
    const long h = 1L << (pass - 1);
    const T* cs = twiddles.data() + (1L << pass) - 8;
    butterflyPass(dest, source, cs, cs + h, pointCount, h);
}

template class RealFft<double>;

} // namespace fft
