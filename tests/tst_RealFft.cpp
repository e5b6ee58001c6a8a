#include "FixedArray.h"
#include "RealFft.h"

#include <QtTest>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <random>
#include <vector>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

// Every allocation of the program is counted, so that a test can see that a
// transform makes none.
namespace {
std::atomic<long> allocationCount{0};
}

void* operator new(std::size_t size) {
    ++allocationCount;
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}

void* operator new(std::size_t size, std::align_val_t alignment) {
    ++allocationCount;
    const std::size_t a = std::size_t(alignment);
    if (void* p = std::aligned_alloc(a, (size + a - 1) / a * a))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept {
    std::free(p);
}

namespace {

// Opens the engine's tables to the tests.
class Inspect : public fft::RealFft<double> {
public:
    explicit Inspect(long length) : RealFft(length) {}
    using RealFft::bitCount;
    using RealFft::bitReversal;
    using RealFft::cosTable;
    using RealFft::Oscillator;
    using RealFft::oscillators;
    using RealFft::pointCount;
};

std::vector<double> randomSamples(long n, unsigned seed) {
    std::mt19937_64 engine(seed);
    std::uniform_real_distribution<double> uniform(-1.0, 1.0);
    std::vector<double> x(n);
    for (double& v : x)
        v = uniform(engine);
    return x;
}

std::vector<double> transform(long n, const std::vector<double>& x) {
    fft::RealFft<double> engine(n);
    std::vector<double> f(n);
    engine.forwardTransform(f.data(), x.data());
    return f;
}

// Direct DFT in long double with the exact twiddle table cos/sin(2 pi j / N):
// independent of the engine's tables, recurrences and pass structure.
class DirectDft {
public:
    explicit DirectDft(const std::vector<double>& x)
        : samples(x), cosines(x.size()), sines(x.size()) {
        const long double pi = 3.141592653589793238462643383279502884L;
        const long n = long(x.size());
        for (long j = 0; j < n; ++j) {
            const long double angle = 2 * pi * j / n;
            cosines[j] = std::cos(angle);
            sines[j] = std::sin(angle);
        }
    }

    // Re X_k and sum_n x_n sin(2 pi k n / N) = -Im X_k.
    void bin(long k, long double& re, long double& sine) const {
        const long n = long(samples.size());
        long double c = 0;
        long double s = 0;
        long index = 0;
        for (long j = 0; j < n; ++j) {
            c += samples[j] * cosines[index];
            s += samples[j] * sines[index];
            index += k;
            if (index >= n)
                index -= n;
        }
        re = c;
        sine = s;
    }

private:
    std::vector<double> samples;
    std::vector<long double> cosines;
    std::vector<long double> sines;
};

// The algorithm transcribed step by step with tables of its own: bit reversal
// bit by bit, every twiddle from the library's cos and sin, the oscillator of
// a pass above 12 restarted at every block. The engine must match it bit for
// bit.
std::vector<double> transcription(const std::vector<double>& x) {
    const double pi = 3.141592653589793;
    const long n = long(x.size());
    int bits = 0;
    while ((1L << bits) < n)
        ++bits;
    std::vector<double> f(n);
    if (n == 1) {
        f[0] = x[0];
        return f;
    }
    if (n == 2) {
        f[0] = x[0] + x[1];
        f[1] = x[0] - x[1];
        return f;
    }
    if (n == 4) {
        f[1] = x[0] - x[2];
        f[3] = x[1] - x[3];
        f[0] = (x[0] + x[2]) + (x[1] + x[3]);
        f[2] = (x[0] + x[2]) - (x[1] + x[3]);
        return f;
    }
    const auto reversed = [bits](long i) {
        long r = 0;
        for (int b = 0; b < bits; ++b)
            r |= ((i >> b) & 1L) << (bits - 1 - b);
        return r;
    };
    std::vector<double> work(n);
    double* df = (bits & 1) ? work.data() : f.data();
    double* sf = (bits & 1) ? f.data() : work.data();
    for (long i = 0; i < n; i += 4) {
        const double x0 = x[reversed(i)], x1 = x[reversed(i + 1)];
        const double x2 = x[reversed(i + 2)], x3 = x[reversed(i + 3)];
        df[i + 1] = x0 - x1;
        df[i + 3] = x2 - x3;
        df[i] = (x0 + x1) + (x2 + x3);
        df[i + 2] = (x0 + x1) - (x2 + x3);
    }
    const double r = 0.7071067811865476;
    for (long i = 0; i < n; i += 8) {
        sf[i] = df[i] + df[i + 4];
        sf[i + 4] = df[i] - df[i + 4];
        sf[i + 2] = df[i + 2];
        sf[i + 6] = df[i + 6];
        sf[i + 1] = df[i + 1] + (df[i + 5] - df[i + 7]) * r;
        sf[i + 3] = df[i + 1] - (df[i + 5] - df[i + 7]) * r;
        sf[i + 5] = (df[i + 5] + df[i + 7]) * r + df[i + 3];
        sf[i + 7] = (df[i + 5] + df[i + 7]) * r - df[i + 3];
    }
    double* src = sf;
    double* dst = df;
    for (int p = 3; p < bits; ++p) {
        const long m = 1L << p, h = m / 2;
        std::vector<double> cosines(h);
        for (long i = 0; i < h; ++i)
            cosines[i] = std::cos(double(i) * pi / double(m));
        const double stepCos = std::cos(pi / double(m)), stepSin = std::sin(pi / double(m));
        for (long b = 0; b < n; b += 2 * m) {
            const double *s1r = src + b, *s2r = s1r + m, *s1i = s1r + h, *s2i = s2r + h;
            double *dr = dst + b, *di = dr + m;
            dr[0] = s1r[0] + s2r[0];
            di[0] = s1r[0] - s2r[0];
            dr[h] = s1r[h];
            di[h] = s2r[h];
            double c = 1, s = 0;
            for (long i = 1; i < h; ++i) {
                double cs = cosines[i], sn = cosines[h - i];
                if (p > 12) {
                    const double next = c * stepCos - s * stepSin;
                    s = c * stepSin + stepCos * s;
                    c = next;
                    cs = c;
                    sn = s;
                }
                const double v = s2r[i] * cs - s2i[i] * sn;
                dr[i] = s1r[i] + v;
                dr[m - i] = s1r[i] - v;
                const double w = s2r[i] * sn + s2i[i] * cs;
                di[i] = w + s1i[i];
                di[m - i] = w - s1i[i];
            }
        }
        std::swap(src, dst);
    }
    return f;
}

// The first element of storage on a 64-byte boundary, plus shift doubles.
double* lineStart(std::vector<double>& storage, int shift) {
    const quintptr address = reinterpret_cast<quintptr>(storage.data());
    return storage.data() + (8 - address / 8 % 8) % 8 + shift;
}

} // namespace

Q_DECLARE_METATYPE(std::vector<double>)

class tst_RealFft : public QObject {
    Q_OBJECT

private slots:
    void matchesDirectSums_data();
    void matchesDirectSums();
    void closedForms_data();
    void closedForms();
    void smallLengthsExact_data();
    void smallLengthsExact();
    void matchesTranscription_data();
    void matchesTranscription();
    void allocatesNothing_data();
    void allocatesNothing();
    void tables_data();
    void tables();
    void fixedArray();
    void preconditionsStop_data();
    void preconditionsStop();
};

void tst_RealFft::matchesDirectSums_data() {
    QTest::addColumn<int>("bits");
    QTest::addColumn<double>("bound");
    for (int bits = 0; bits <= 18; ++bits)
        QTest::addRow("N=2^%d", bits) << bits << (bits <= 12 ? 1e-13 : 1e-11);
}

void tst_RealFft::matchesDirectSums() {
    QFETCH(int, bits);
    QFETCH(double, bound);
    const long n = 1L << bits;
    const std::vector<double> x = randomSamples(n, 1234u + unsigned(bits));
    const std::vector<double> f = transform(n, x);
    const DirectDft dft(x);

    // Every bin up to 4096 points; beyond, both ends and 64 random bins.
    std::vector<long> bins;
    if (n <= 4096) {
        for (long k = 0; k <= n / 2; ++k)
            bins.push_back(k);
    } else {
        bins = {0, 1, 2, n / 4, n / 2 - 1, n / 2};
        std::mt19937_64 pick(99u + unsigned(bits));
        std::uniform_int_distribution<long> anyBin(0, n / 2);
        for (int j = 0; j < 64; ++j)
            bins.push_back(anyBin(pick));
    }

    long double largest = 0;
    long double worst = 0;
    for (long k : bins) {
        long double re;
        long double sine;
        dft.bin(k, re, sine);
        largest = std::max(largest, std::sqrt(re * re + sine * sine));
        worst = std::max(worst, std::fabs(f[k] - re));
        if (k > 0 && k < n / 2)
            worst = std::max(worst, std::fabs(f[n / 2 + k] - sine));
    }
    const double relative = n == 1 ? double(worst) : double(worst / largest);
    qInfo("N = %ld: largest error / largest |X_k| = %.3g", n, relative);
    QVERIFY2(relative < bound, qPrintable(QString::number(relative)));
}

void tst_RealFft::closedForms_data() {
    QTest::addColumn<int>("bits");
    for (int bits : {2, 3, 4, 6, 10, 13, 14, 16})
        QTest::addRow("N=2^%d", bits) << bits;
}

void tst_RealFft::closedForms() {
    QFETCH(int, bits);
    const long n = 1L << bits;
    const long half = n / 2;
    const double pi = 3.141592653589793;

    // A constant and a unit impulse meet only zeros on the rotated side of
    // every butterfly, so their transforms come out exact.
    const std::vector<double> ones = transform(n, std::vector<double>(n, 1.0));
    QCOMPARE(ones[0], double(n));
    for (long k = 1; k < n; ++k)
        QCOMPARE(ones[k], 0.0);

    std::vector<double> impulse(n, 0.0);
    impulse[0] = 1;
    const std::vector<double> flat = transform(n, impulse);
    for (long k = 0; k <= half; ++k)
        QCOMPARE(flat[k], 1.0);
    for (long k = half + 1; k < n; ++k)
        QCOMPARE(flat[k], 0.0);

    // One period of a sine lands in the sine sum of bin 1, a cosine in its
    // real part, each with weight N/2.
    std::vector<double> sine(n);
    std::vector<double> cosine(n);
    for (long j = 0; j < n; ++j) {
        sine[j] = std::sin(2 * pi * double(j) / double(n));
        cosine[j] = std::cos(2 * pi * double(j) / double(n));
    }
    const std::vector<double> fs = transform(n, sine);
    const std::vector<double> fc = transform(n, cosine);
    const double tolerance = 1e-13 * double(n);
    for (long k = 0; k < n; ++k) {
        const double expectSine = k == half + 1 ? double(half) : 0.0;
        const double expectCosine = k == 1 ? double(half) : 0.0;
        QVERIFY2(std::fabs(fs[k] - expectSine) < tolerance, qPrintable(QString::number(k)));
        QVERIFY2(std::fabs(fc[k] - expectCosine) < tolerance, qPrintable(QString::number(k)));
    }
}

void tst_RealFft::smallLengthsExact_data() {
    QTest::addColumn<std::vector<double>>("x");
    QTest::addColumn<std::vector<double>>("expected");
    QTest::newRow("N=1") << std::vector<double>{-2.5} << std::vector<double>{-2.5};
    QTest::newRow("N=2") << std::vector<double>{3, -5} << std::vector<double>{-2, 8};
    // X_1 = 3 + 5i - 7 + 11i = -4 + 16i.
    QTest::newRow("N=4") << std::vector<double>{3, -5, 7, 11}
                         << std::vector<double>{16, -4, 4, -16};
    QTest::newRow("N=4 fractions") << std::vector<double>{0.5, 0.25, -0.125, 1}
                                   << std::vector<double>{1.625, 0.625, -0.875, -0.75};
}

void tst_RealFft::smallLengthsExact() {
    QFETCH(std::vector<double>, x);
    QFETCH(std::vector<double>, expected);
    const std::vector<double> f = transform(long(x.size()), x);
    QCOMPARE(f, expected);
}

void tst_RealFft::matchesTranscription_data() {
    QTest::addColumn<int>("bits");
    for (int bits = 0; bits <= 18; ++bits)
        QTest::addRow("N=2^%d", bits) << bits;
}

void tst_RealFft::matchesTranscription() {
    QFETCH(int, bits);
    const long n = 1L << bits;
    const std::vector<double> x = randomSamples(n, 77u + unsigned(bits));
    const std::vector<double> expected = transcription(x);
    Inspect engine(n);

    // Arrays at a cache-line start and shifted by 1 ... 3 doubles, as a
    // caller's may be; the output starts as NaN so stale contents would show.
    // Each runs twice: a transform must not change what the next one computes.
    std::vector<double> xStorage(n + 16);
    std::vector<double> fStorage(n + 16);
    for (int shift = 0; shift < 4; ++shift) {
        double* const xs = lineStart(xStorage, shift);
        double* const fs = lineStart(fStorage, 3 - shift);
        std::copy(x.begin(), x.end(), xs);
        for (int run = 0; run < 2; ++run) {
            std::fill(fs, fs + n, std::numeric_limits<double>::quiet_NaN());
            engine.forwardTransform(fs, xs);
            const auto differs =
                std::mismatch(fs, fs + n, expected.begin(), [](double a, double b) {
                    return std::memcmp(&a, &b, sizeof a) == 0;
                });
            if (differs.first != fs + n)
                QFAIL(qPrintable(QString("shift %1 run %2 bin %3: %4 != %5")
                                     .arg(shift)
                                     .arg(run)
                                     .arg(differs.first - fs)
                                     .arg(*differs.first, 0, 'g', 17)
                                     .arg(*differs.second, 0, 'g', 17)));
            QVERIFY(std::equal(x.begin(), x.end(), xs));
        }
    }
    for (long o = 0; o < engine.oscillators.size(); ++o) {
        QCOMPARE(engine.oscillators[o].cosine, 1.0);
        QCOMPARE(engine.oscillators[o].sine, 0.0);
    }
}

void tst_RealFft::allocatesNothing_data() {
    QTest::addColumn<int>("bits");
    for (int bits : {3, 10, 14})
        QTest::addRow("N=2^%d", bits) << bits;
}

void tst_RealFft::allocatesNothing() {
    QFETCH(int, bits);
    const long n = 1L << bits;
    const std::vector<double> x = randomSamples(n, 6u);
    std::vector<double> f(n);
    long before = allocationCount;
    fft::RealFft<double> engine(n);
    // A sanitizer's own operator new would bypass the count.
    if (allocationCount == before)
        QSKIP("allocations are not counted in this build");
    before = allocationCount;
    engine.forwardTransform(f.data(), x.data());
    engine.forwardTransform(f.data(), x.data());
    QCOMPARE(allocationCount - before, 0L);
}

void tst_RealFft::tables_data() {
    QTest::addColumn<int>("bits");
    QTest::addColumn<long>("cosCount");
    QTest::addColumn<long>("oscillatorCount");
    QTest::newRow("N=1") << 0 << 0L << 0L;
    QTest::newRow("N=2") << 1 << 0L << 0L;
    QTest::newRow("N=8") << 3 << 0L << 0L;
    QTest::newRow("N=16") << 4 << 4L << 0L;
    QTest::newRow("N=1024") << 10 << 508L << 0L;
    QTest::newRow("N=2048") << 11 << 1020L << 0L;
    QTest::newRow("N=4096") << 12 << 2044L << 0L;
    QTest::newRow("N=8192") << 13 << 4092L << 1L;
    QTest::newRow("N=65536") << 16 << 32764L << 4L;
}

void tst_RealFft::tables() {
    QFETCH(int, bits);
    QFETCH(long, cosCount);
    QFETCH(long, oscillatorCount);
    const long n = 1L << bits;
    Inspect engine(n);
    QCOMPARE(engine.pointCount, n);
    QCOMPARE(engine.bitCount, bits);
    QCOMPARE(engine.cosTable.size(), cosCount);
    QCOMPARE(engine.oscillators.size(), oscillatorCount);

    QCOMPARE(engine.bitReversal.size(), n);
    for (long i = 0; i < n; ++i) {
        long reversed = 0;
        for (int b = 0; b < bits; ++b)
            reversed |= ((i >> b) & 1L) << (bits - 1 - b);
        QCOMPARE(engine.bitReversal[i], reversed);
    }

    // Every entry is the library's cosine of its angle, to the last bit.
    const double pi = 3.141592653589793;
    long equal = 0;
    for (int level = 3; level < bits; ++level) {
        const long start = (1L << (level - 1)) - 4;
        for (long i = 0; i < (1L << (level - 1)); ++i)
            equal += engine.cosTable[start + i] == std::cos(double(i) * pi / double(1L << level));
    }
    qInfo("N = %ld: %ld of %ld cosine entries equal std::cos", n, equal, cosCount);
    QCOMPARE(equal, cosCount);
    for (long o = 0; o < oscillatorCount; ++o) {
        const double angle = pi / double(1L << (13 + o));
        QCOMPARE(engine.oscillators[o].stepCosine, std::cos(angle));
        QCOMPARE(engine.oscillators[o].stepSine, std::sin(angle));
    }
}

void tst_RealFft::fixedArray() {
    fft::FixedArray<double> array;
    QCOMPARE(array.size(), 0L);
    array.resize(5);
    QCOMPARE(array.size(), 5L);
    for (long i = 0; i < 5; ++i)
        array[i] = double(i) / 4;
    QCOMPARE(array[4], 1.0);

    // A size new[] cannot give throws and leaves the array as it was.
    QVERIFY_EXCEPTION_THROWN(array.resize(std::numeric_limits<long>::max()),
                             std::bad_array_new_length);
    QCOMPARE(array.size(), 5L);
    QCOMPARE(array[4], 1.0);

    array.resize(0);
    QCOMPARE(array.size(), 0L);
}

void tst_RealFft::preconditionsStop_data() {
    QTest::addColumn<int>("which");
    QTest::addColumn<QString>("expression");
    QTest::newRow("length 0") << 0 << "x > 0";
    QTest::newRow("negative length") << 1 << "x > 0";
    QTest::newRow("length 12") << 2 << "isPowerOfTwo(length)";
    QTest::newRow("2^31 points") << 3 << "bitCount <= maxBitDepth";
    QTest::newRow("null output") << 4 << "f != 0";
    QTest::newRow("output is the buffer") << 5 << "f != buffer()";
    QTest::newRow("null input") << 6 << "x != 0";
    QTest::newRow("input is the buffer") << 7 << "x != buffer()";
    QTest::newRow("in place") << 8 << "x != f";
    QTest::newRow("negative array size") << 9 << "size >= 0";
    QTest::newRow("index -1") << 10 << "pos >= 0";
    QTest::newRow("index past the end") << 11 << "pos < count";
}

#ifdef Q_OS_UNIX
namespace {

void breakPrecondition(int which) {
    std::vector<double> x(8, 1.0);
    std::vector<double> f(8);
    fft::RealFft<double> engine(8);
    fft::FixedArray<int> array(4);
    volatile long size = -1;
    switch (which) {
    case 0:
        fft::RealFft<double>(0L);
        break;
    case 1:
        fft::RealFft<double>(-8L);
        break;
    case 2:
        fft::RealFft<double>(12L);
        break;
    case 3:
        fft::RealFft<double>(1L << 31);
        break;
    case 4:
        engine.forwardTransform(nullptr, x.data());
        break;
    case 5:
        engine.forwardTransform(engine.buffer(), x.data());
        break;
    case 6:
        engine.forwardTransform(f.data(), nullptr);
        break;
    case 7:
        engine.forwardTransform(f.data(), engine.buffer());
        break;
    case 8:
        engine.forwardTransform(f.data(), f.data());
        break;
    case 9:
        array.resize(size);
        break;
    case 10:
        array[size] = 1;
        break;
    case 11:
        array[4] = 1;
        break;
    }
}

} // namespace
#endif

// A broken precondition must stop the program with the assertion's own text,
// before anything is allocated or written.
void tst_RealFft::preconditionsStop() {
#ifdef Q_OS_UNIX
    QFETCH(int, which);
    QFETCH(QString, expression);
    int pipeEnds[2];
    QVERIFY(pipe(pipeEnds) == 0);
    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        dup2(pipeEnds[1], STDERR_FILENO);
        close(pipeEnds[0]);
        breakPrecondition(which);
        _exit(0);
    }
    close(pipeEnds[1]);
    QByteArray report;
    char chunk[512];
    ssize_t got;
    while ((got = read(pipeEnds[0], chunk, sizeof chunk)) > 0)
        report.append(chunk, int(got));
    close(pipeEnds[0]);
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY2(WIFSIGNALED(status) && WTERMSIG(status) == SIGABRT, report.constData());
    QVERIFY2(report.contains(("Assertion `" + expression + "' failed").toUtf8()),
             report.constData());
#else
    QSKIP("needs fork()");
#endif
}

QTEST_APPLESS_MAIN(tst_RealFft)
#include "tst_RealFft.moc"
