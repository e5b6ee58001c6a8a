#include "RealFft.h"

#include <algorithm>
#include <cassert>
#include <cmath>

// TOVIK_FFT_PORTABLE leaves the AVX2 kernels out, so that the portable ones
// can be tested on a machine that has AVX2.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__)) && !defined(TOVIK_FFT_PORTABLE)
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
constexpr double cosineTerms[] = {1.0,
                                  -1.0 / 2,
                                  1.0 / 24,
                                  -1.0 / 720,
                                  1.0 / 40320,
                                  -1.0 / 3628800,
                                  1.0 / 479001600,
                                  -1.0 / 87178291200,
                                  1.0 / 20922789888000,
                                  -1.0 / 6402373705728000};
constexpr double sineTerms[] = {1.0,
                                -1.0 / 6,
                                1.0 / 120,
                                -1.0 / 5040,
                                1.0 / 362880,
                                -1.0 / 39916800,
                                1.0 / 6227020800,
                                -1.0 / 1307674368000,
                                1.0 / 355687428096000,
                                -1.0 / 121645100408832000};
constexpr int termCount = sizeof cosineTerms / sizeof cosineTerms[0];

template <typename T> inline T cosineSeries(T x) {
    const T z = x * x;
    T sum = T(cosineTerms[termCount - 1]);
    for (int k = termCount - 2; k >= 0; --k)
        sum = sum * z + T(cosineTerms[k]);
    return sum;
}

template <typename T> inline T sineSeries(T x) {
    const T z = x * x;
    T sum = T(sineTerms[termCount - 1]);
    for (int k = termCount - 2; k >= 0; --k)
        sum = sum * z + T(sineTerms[k]);
    return x * sum;
}

// level[i] = cos(i step) for i < size, where size * step = pi/2. Angles up to
// pi/4 come from the cosine series, the others from cos(pi/2 - x) = sin x.
template <typename T> void fillTopLevel(T* level, long size, T step) {
    const long quarter = size / 2;
    for (long i = 0; i <= quarter; ++i)
        level[i] = cosineSeries(T(i) * step);
    for (long i = 1; i < quarter; ++i)
        level[size - i] = sineSeries(T(i) * step);
}

#ifdef TOVIK_FFT_AVX2
// Asked once. The explicit init makes the answer right even for an engine
// built by a static initialiser that runs before the runtime's own.
bool cpuHasAvx2() {
    static const bool supported = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return supported;
}

// The series for sixteen angles (first + j) step at once, as four vectors
// whose Horner steps interleave: one angle's chain of twenty dependent
// operations would otherwise leave the arithmetic units idle. Each lane does
// exactly what cosineSeries or sineSeries does.
template <bool sine>
__attribute__((target("avx2"), always_inline)) inline void sixteenSeries(long first, double step,
                                                                         __m256d out[4]) {
    const double* terms = sine ? sineTerms : cosineTerms;
    const __m256d lane = _mm256_set_pd(3, 2, 1, 0);
    const __m256d st = _mm256_set1_pd(step);
    __m256d x[4];
    __m256d z[4];
    for (int k = 0; k < 4; ++k) {
        x[k] = _mm256_mul_pd(_mm256_add_pd(_mm256_set1_pd(double(first + 4 * k)), lane), st);
        z[k] = _mm256_mul_pd(x[k], x[k]);
        out[k] = _mm256_set1_pd(terms[termCount - 1]);
    }
    for (int t = termCount - 2; t >= 0; --t) {
        const __m256d term = _mm256_set1_pd(terms[t]);
        for (int k = 0; k < 4; ++k)
            out[k] = _mm256_add_pd(_mm256_mul_pd(out[k], z[k]), term);
    }
    if (sine)
        for (int k = 0; k < 4; ++k)
            out[k] = _mm256_mul_pd(x[k], out[k]);
}

__attribute__((target("avx2"))) void fillTopLevelAvx2(double* level, long size, double step) {
    const long quarter = size / 2;
    long i = 0;
    for (; i + 16 <= quarter + 1; i += 16) {
        __m256d c[4];
        sixteenSeries<false>(i, step, c);
        for (int k = 0; k < 4; ++k)
            _mm256_storeu_pd(level + i + 4 * k, c[k]);
    }
    for (; i <= quarter; ++i)
        level[i] = cosineSeries(double(i) * step);
    // Sines of i = 1 ... quarter - 1, stored downwards from level[size - 1].
    constexpr int reverse = 3 | (2 << 2) | (1 << 4) | (0 << 6);
    i = 1;
    for (; i + 16 <= quarter; i += 16) {
        __m256d s[4];
        sixteenSeries<true>(i, step, s);
        for (int k = 0; k < 4; ++k)
            _mm256_storeu_pd(level + size - i - 4 * k - 3, _mm256_permute4x64_pd(s[k], reverse));
    }
    for (; i < quarter; ++i)
        level[size - i] = sineSeries(double(i) * step);
}

void topLevel(double* level, long size, double step) {
    if (cpuHasAvx2())
        fillTopLevelAvx2(level, size, step);
    else
        fillTopLevel(level, size, step);
}
#endif

template <typename T> void topLevel(T* level, long size, T step) {
    fillTopLevel(level, size, step);
}

// Passes 1 and 2: four-point transforms of the samples taken in bit-reversed
// order. The group at i reads t0 = rev[i] and t0 + N/2, t0 + N/4, t0 + 3N/4
// (the reversals of i + 1, i + 2, i + 3).
template <typename T> void firstPassesScalar(T* df, const T* x, const long* rev, long n) {
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
}

// Pass 3: pairs of four-point transforms into eight-point ones; the twiddles
// are 1, sqrt(2)/2 (1 - i) and -i, so only two multiplications remain.
template <typename T> void thirdPassScalar(T* sf, const T* df, long n) {
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
}

// One radix-2 pass over blocks of 2m = 4h values. Each block joins the packed
// half-length transforms in [0, m) and [m, 2m) (real parts ascending from 0,
// sine sums descending from their end) into one packed transform of 2m points;
// cs[i], sn[i] are the cosine and sine of step i, i pi / m.
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

// The vector versions below perform the same operations in the same order as
// the scalar ones, lane by lane, so both give identical bits (the library is
// built without contraction of a*b - c*d into fused multiply-adds).

// Rows a, b, c, d become columns.
__attribute__((target("avx2"), always_inline)) inline void transpose(__m256d& a, __m256d& b,
                                                                     __m256d& c, __m256d& d) {
    const __m256d t0 = _mm256_unpacklo_pd(a, b);
    const __m256d t1 = _mm256_unpackhi_pd(a, b);
    const __m256d t2 = _mm256_unpacklo_pd(c, d);
    const __m256d t3 = _mm256_unpackhi_pd(c, d);
    a = _mm256_permute2f128_pd(t0, t2, 0x20);
    b = _mm256_permute2f128_pd(t1, t3, 0x20);
    c = _mm256_permute2f128_pd(t0, t2, 0x31);
    d = _mm256_permute2f128_pd(t1, t3, 0x31);
}

// Four groups of passes 1-2, those whose first samples are t0 ... t0+3: the
// samples of the four groups are four contiguous vectors. Returns the groups'
// results, one vector per group.
__attribute__((target("avx2"), always_inline)) inline void fourGroups(const double* x, long t0,
                                                                      long half, long quarter,
                                                                      __m256d& g0, __m256d& g1,
                                                                      __m256d& g2, __m256d& g3) {
    const __m256d x0 = _mm256_loadu_pd(x + t0);
    const __m256d x1 = _mm256_loadu_pd(x + t0 + half);
    const __m256d x2 = _mm256_loadu_pd(x + t0 + quarter);
    const __m256d x3 = _mm256_loadu_pd(x + t0 + half + quarter);
    g1 = _mm256_sub_pd(x0, x1);
    g3 = _mm256_sub_pd(x2, x3);
    const __m256d s0 = _mm256_add_pd(x0, x1);
    const __m256d s2 = _mm256_add_pd(x2, x3);
    g0 = _mm256_add_pd(s0, s2);
    g2 = _mm256_sub_pd(s0, s2);
    transpose(g0, g1, g2, g3);
}

// Passes 1 and 2 for N >= 32, taking the groups in the order of their first
// sample t0 < N/4 rather than of their place: since bit reversal is its own
// inverse, the group of t0 belongs at rev[t0]. The groups of t0 and
// t0 + N/8 are neighbours there (rev[t0] + 4), so handling them together
// fills whole cache lines, which matters once the arrays outgrow the cache.
__attribute__((target("avx2"))) void firstPassesAvx2(double* df, const double* x, const long* rev,
                                                     long n) {
    const long half = n / 2;
    const long quarter = n / 4;
    const long eighth = n / 8;
    for (long t0 = 0; t0 < eighth; t0 += 4) {
        __m256d a0, a1, a2, a3, b0, b1, b2, b3;
        fourGroups(x, t0, half, quarter, a0, a1, a2, a3);
        fourGroups(x, t0 + eighth, half, quarter, b0, b1, b2, b3);
        _mm256_storeu_pd(df + rev[t0], a0);
        _mm256_storeu_pd(df + rev[t0 + eighth], b0);
        _mm256_storeu_pd(df + rev[t0 + 1], a1);
        _mm256_storeu_pd(df + rev[t0 + eighth + 1], b1);
        _mm256_storeu_pd(df + rev[t0 + 2], a2);
        _mm256_storeu_pd(df + rev[t0 + eighth + 2], b2);
        _mm256_storeu_pd(df + rev[t0 + 3], a3);
        _mm256_storeu_pd(df + rev[t0 + eighth + 3], b3);
    }
}

// Pass 3 for N >= 32, four blocks of eight at a time, transposed so that
// lane k works on block k.
__attribute__((target("avx2"))) void thirdPassAvx2(double* sf, const double* df, long n) {
    const __m256d r = _mm256_set1_pd(halfSqrt2);
    for (long i = 0; i < n; i += 32) {
        __m256d d0 = _mm256_loadu_pd(df + i);
        __m256d d1 = _mm256_loadu_pd(df + i + 8);
        __m256d d2 = _mm256_loadu_pd(df + i + 16);
        __m256d d3 = _mm256_loadu_pd(df + i + 24);
        __m256d d4 = _mm256_loadu_pd(df + i + 4);
        __m256d d5 = _mm256_loadu_pd(df + i + 12);
        __m256d d6 = _mm256_loadu_pd(df + i + 20);
        __m256d d7 = _mm256_loadu_pd(df + i + 28);
        transpose(d0, d1, d2, d3);
        transpose(d4, d5, d6, d7);
        __m256d s0 = _mm256_add_pd(d0, d4);
        __m256d s4 = _mm256_sub_pd(d0, d4);
        const __m256d v = _mm256_mul_pd(_mm256_sub_pd(d5, d7), r);
        __m256d s1 = _mm256_add_pd(d1, v);
        __m256d s3 = _mm256_sub_pd(d1, v);
        const __m256d w = _mm256_mul_pd(_mm256_add_pd(d5, d7), r);
        __m256d s5 = _mm256_add_pd(w, d3);
        __m256d s7 = _mm256_sub_pd(w, d3);
        transpose(s0, s1, d2, s3);
        transpose(s4, s5, d6, s7);
        _mm256_storeu_pd(sf + i, s0);
        _mm256_storeu_pd(sf + i + 8, s1);
        _mm256_storeu_pd(sf + i + 16, d2);
        _mm256_storeu_pd(sf + i + 24, s3);
        _mm256_storeu_pd(sf + i + 4, s4);
        _mm256_storeu_pd(sf + i + 12, s5);
        _mm256_storeu_pd(sf + i + 20, d6);
        _mm256_storeu_pd(sf + i + 28, s7);
    }
}

// The radix-2 pass four butterflies at a time. Lanes i = c ... c+3 of a
// vector produce dr[i] and di[i] in place and the mirrored dr[m - i],
// di[m - i] reversed. The mirrored values of lanes 1-3 and lane 0 of the next
// vector fill four adjacent slots, so each vector is rotated once and stored
// when the next one supplies its missing lane. Lane 0 of the first vector is
// the i = 0 butterfly: its difference s1r[0] - s2r[0] belongs in di[0] (which
// is dr[m]), and the slot left over after the last vector holds
// dr[h] = s1i[0] and di[h] = s2i[0].
__attribute__((target("avx2"))) void
butterflyPassAvx2(double* __restrict dst, const double* __restrict src, const double* __restrict cs,
                  const double* __restrict sn, long n, long h) {
    const long m = 2 * h;
    // (b0, b1, b2, b3) -> (b0, b3, b2, b1): lanes 1-3 in reversed order.
    constexpr int reverse123 = 0 | (3 << 2) | (2 << 4) | (1 << 6);
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
            heldR = _mm256_permute4x64_pd(diff, reverse123);
            heldI = _mm256_permute4x64_pd(_mm256_sub_pd(w, s1i0), reverse123);
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
            heldR = _mm256_permute4x64_pd(diffR, reverse123);
            heldI = _mm256_permute4x64_pd(diffI, reverse123);
        }
        _mm256_storeu_pd(dr + h, _mm256_blend_pd(heldR, s1i0, 1));
        _mm256_storeu_pd(di + h, _mm256_blend_pd(heldI, s2i0, 1));
    }
}

void firstPasses(double* df, const double* x, const long* rev, long n) {
    if (n >= 32 && cpuHasAvx2())
        firstPassesAvx2(df, x, rev, n);
    else
        firstPassesScalar(df, x, rev, n);
}

void thirdPass(double* sf, const double* df, long n) {
    if (n >= 32 && cpuHasAvx2())
        thirdPassAvx2(sf, df, n);
    else
        thirdPassScalar(sf, df, n);
}

void butterflyPass(double* dst, const double* src, const double* cs, const double* sn, long n,
                   long h) {
    if (cpuHasAvx2())
        butterflyPassAvx2(dst, src, cs, sn, n, h);
    else
        butterflyPassScalar(dst, src, cs, sn, n, h);
}

#endif

template <typename T> void firstPasses(T* df, const T* x, const long* rev, long n) {
    firstPassesScalar(df, x, rev, n);
}

template <typename T> void thirdPass(T* sf, const T* df, long n) {
    thirdPassScalar(sf, df, n);
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
    buildSineTable();
    buildOscillatorTable();
}

template <typename T> RealFft<T>::~RealFft() = default;

template <typename T> const T* RealFft<T>::cosineLevel(int level) const {
    assert(level >= 3);
    return cosTable.data() + (1L << (level - 1)) - 4;
}

template <typename T> void RealFft<T>::buildBitReversal() {
    bitReversal.resize(pointCount);
    long* table = bitReversal.data();
    const long n = pointCount;
    if (n < 4) {
        table[0] = 0;
        if (n == 2)
            table[1] = 1;
        return;
    }
    // The running reversed index r advances by reversed increments: counting
    // i up flips its low bits up to the lowest zero, so r flips the mirror
    // image of those bits, from the top down. Within a group of four the
    // increments 1, 2, 3 only flip the two low bits, so their reversed
    // increments set the top bits of r in turn: r + N/2, r + N/4, r + 3N/4.
    // From one group to the next, i - 4 -> i flips bits 2 ... ctz(i), and r
    // the bits N/4 down to N / 2^(ctz(i) + 1).
    const long half = n / 2;
    const long quarter = n / 4;
    long r = 0;
    for (long i = 0; i < n; i += 4) {
        if (i > 0)
            r ^= quarter - (n >> (trailingZeros(i) + 1));
        table[i] = r;
        table[i + 1] = r + half;
        table[i + 2] = r + quarter;
        table[i + 3] = r + half + quarter;
    }
}

template <typename T> void RealFft<T>::buildCosTable() {
    if (bitCount <= 3)
        return;
    cosTable.resize((1L << (bitCount - 1)) - 4);

    // The top level holds every angle of the lower ones: level L's entry i is
    // the top level's entry i * 2^(top - L), the same angle i pi / 2^L.
    const int top = bitCount - 1;
    topLevel(cosTable.data() + (1L << (top - 1)) - 4, 1L << (top - 1), T(pi) / T(1L << top));
    for (int level = top - 1; level >= 3; --level) {
        const T* finer = cosineLevel(level + 1);
        T* coarser = cosTable.data() + (1L << (level - 1)) - 4;
        const long size = 1L << (level - 1);
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

template <typename T> void RealFft<T>::buildSineTable() {
    const int top = std::min(bitCount - 1, int(tablePassLimit));
    if (top < 3)
        return;
    sineTable.resize((1L << top) - 4);
    for (int level = 3; level <= top; ++level) {
        const long h = 1L << (level - 1);
        const T* cosines = cosineLevel(level);
        T* sines = sineTable.data() + h - 4;
        sines[0] = 0;
        for (long i = 1; i < h; ++i)
            sines[i] = cosines[h - i];
    }
}

template <typename T> void RealFft<T>::buildOscillatorTable() {
    const int firstPass = tablePassLimit + 1;
    if (bitCount <= firstPass)
        return;
    oscillatorTable.resize(pointCount - (1L << firstPass));
    for (int pass = firstPass; pass < bitCount; ++pass) {
        const long h = 1L << (pass - 1);
        T* cs = oscillatorTable.data() + (1L << pass) - (1L << firstPass);
        T* sn = cs + h;
        // The sequence each block would see: reset, then one advance per step.
        Oscillator& osc = oscillators[pass - firstPass];
        osc.reset();
        cs[0] = 1;
        sn[0] = 0;
        for (long i = 1; i < h; ++i) {
            osc.advance();
            cs[i] = osc.cosine;
            sn[i] = osc.sine;
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

    firstPasses(df, x, bitReversal.data(), pointCount);
    thirdPass(sf, df, pointCount);
    T* source = sf;
    T* dest = df;
    for (int pass = 3; pass < bitCount; ++pass) {
        generalPass(pass, dest, source);
        T* const latest = dest;
        dest = source;
        source = latest;
    }
}

template <typename T> void RealFft<T>::generalPass(int pass, T dest[], const T source[]) const {
    assert(pass >= 3);
    assert(pass < bitCount);
    const long h = 1L << (pass - 1);
    if (pass <= tablePassLimit) {
        // Step i: entry i of the cosine level, and entry h - i, the sine, which
        // the sine table holds at i; both tables place the level at h - 4.
        butterflyPass(dest, source, cosineLevel(pass), sineTable.data() + h - 4, pointCount, h);
    } else {
        const T* cs = oscillatorTable.data() + (1L << pass) - (1L << (tablePassLimit + 1));
        butterflyPass(dest, source, cs, cs + h, pointCount, h);
    }
}

template class RealFft<double>;

} // namespace fft
