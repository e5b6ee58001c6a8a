#pragma once

// A real signal's spectrum as the real FFT packs it, `length` values: the
// real parts of bins 0 ... N/2, then the imaginary parts of 1 ... N/2 - 1.

// The R step between two bins: pi / (dk * N).
double spectrumBinWidth(double dk, int length);

// Bin j of a packed spectrum, for negative j too: the real part is even in
// j, the imaginary part odd; 0 from |j| = N on and for a null spectrum.
double realPart(const double* spectrum, int length, int j);
double imagPart(const double* spectrum, int length, int j);
double magnitude(const double* spectrum, int length, int j);
