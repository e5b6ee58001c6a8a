#pragma once

#include "FitProblem.h"

// A fit's inputs made by hand, not by the windows: 160 model points on
// 0 ... 15.9 (dk 0.1, transform length 1024), F = 1, W = 1 on k_10 ... k_150
// with window positions 0.5, 1.5, 13, 14, and the start A 8, R 2.5,
// sigma 0.06, P0 0.6. The caller adds the data.
inline fit::FitInputs flatFitInputs() {
    fit::FitInputs in;
    in.grid.kMin = 0;
    in.grid.dk = 0.1;
    in.grid.kCount = 160;
    in.grid.length = 1024;
    in.windowPositions = {0.5, 1.5, 13, 14};
    in.envelopeAtK = QVector<double>(160, 1.0);
    in.windowAtK = QVector<double>(160, 0.0);
    for (int i = 10; i <= 150; ++i)
        in.windowAtK[i] = 1;
    in.parameters.amplitude = 8;
    in.parameters.r = 2.5;
    in.parameters.sigma = 0.06;
    in.parameters.phi0 = 0.6;
    return in;
}
