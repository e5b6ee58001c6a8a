#pragma once

// The transforms the spectra are held to, written from the plain sums in
// long double and independent of the program's fft/ code.

#include <cmath>
#include <complex>
#include <vector>

namespace DirectDft {

constexpr long double pi = 3.14159265358979323846264338327950288L;

// The field's normalisation of chi(R) on a k grid dk apart: dk / sqrt(pi).
inline long double fieldFactor(long double dk) {
    return dk / std::sqrt(pi);
}

// Bins X_m = C_m - i S_m of N real samples, C_m = sum x_t cos(2 pi m t / N),
// S_m = sum x_t sin(2 pi m t / N), times factor.
struct Bins {
    std::vector<long double> c, s;
};

// Angles reduced exactly (m t mod N) so that every term uses the same
// table of N twiddles.
inline Bins bins(const double* x, int n, long double factor = 1) {
    std::vector<long double> cosTab(n), sinTab(n);
    for (int t = 0; t < n; ++t) {
        cosTab[t] = std::cos(2 * pi * t / n);
        sinTab[t] = std::sin(2 * pi * t / n);
    }
    Bins d{std::vector<long double>(n), std::vector<long double>(n)};
    for (int m = 0; m < n; ++m) {
        long double c = 0, s = 0;
        for (int t = 0; t < n; ++t) {
            const int a = int((long long)m * t % n);
            c += x[t] * cosTab[a];
            s += x[t] * sinTab[a];
        }
        d.c[m] = factor * c;
        d.s[m] = factor * s;
    }
    return d;
}

// The field's sum at any R of values x_i on the grid k_i = i dk:
// dk / sqrt(pi) sum x_i exp(2 i k_i R).
inline std::complex<long double> fieldSum(const double* x, int n, long double dk, long double r) {
    std::complex<long double> sum = 0;
    for (int i = 0; i < n; ++i)
        sum += static_cast<long double>(x[i]) * std::polar(1.0L, 2 * dk * i * r);
    return fieldFactor(dk) * sum;
}

} // namespace DirectDft
