#pragma once

#include <array>

// pi to ten decimals, the program's own constant: the window's half periods
// and the R step of the spectra (the chi(R) axis) use it. The field's
// transform factor dk / sqrt(pi) takes the full-precision value instead.
constexpr double programPi = 3.1415926535;

// A window's four positions, in increasing order.
using WindowPositions = std::array<double, 4>;

// The four-position Hanning window at x: 0 below p[0], rising along half a
// cosine period to 1 at p[1], 1 up to p[2], falling along half a period back
// to 0 at p[3]. The k window W(k) and the R window of the Fourier filter are
// both this shape.
double hanningWindow(const WindowPositions& p, double x);
