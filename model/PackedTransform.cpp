#include "PackedTransform.h"

#include "HanningWindow.h"

#include <cmath>
#include <cstdlib>

double spectrumBinWidth(double dk, int length) {
    return programPi / (dk * length);
}

double realPart(const double* spectrum, int length, int j) {
    const long long N = length;
    const long long m = std::llabs(j);
    if (!spectrum || m >= N)
        return 0;
    if (m <= N / 2)
        return spectrum[m];
    return spectrum[N - m];
}

double imagPart(const double* spectrum, int length, int j) {
    const long long N = length;
    const long long m = std::llabs(j);
    if (!spectrum || j == 0 || m >= N || m == N / 2)
        return 0;
    const double s = j > 0 ? 1 : -1;
    if (m < N / 2)
        return s * spectrum[N / 2 + m];
    return s * spectrum[3 * N / 2 - m];
}

double magnitude(const double* spectrum, int length, int j) {
    const double re = realPart(spectrum, length, j);
    const double im = imagPart(spectrum, length, j);
    return std::sqrt(re * re + im * im);
}
