#pragma once

namespace fit {

// The Einstein model of a pair's thermal disorder: the pair vibrates as one
// oscillator of frequency k_B theta_E / hbar, so that
//   sigma²(T) = hbar² / (2 mu k_B theta_E) coth(theta_E / 2T) + sigma²_static,
// mu the pair's reduced mass. Zero-point motion sets its value as T -> 0,
// and it grows as T hbar² / (mu k_B theta_E²) at high T.
struct Einstein {
    // hbar² / (2 k_B u), u the atomic mass unit, in Å² K.
    static constexpr double constant = 24.254;

    double thetaE = 0;       // K
    double reducedMass = 0;  // u
    double sigma2Static = 0; // Å², the same at every temperature

    // sigma² in Å² at temperature T (K, above 0).
    double sigma2(double temperature) const;
    // d sigma² / d theta_E in Å² / K (the static part does not depend on it).
    double dSigma2dTheta(double temperature) const;
};

} // namespace fit
