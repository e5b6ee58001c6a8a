#include "Einstein.h"

#include <cmath>

namespace fit {

double Einstein::sigma2(double temperature) const {
    const double x = thetaE / (2 * temperature);
    return constant / (reducedMass * thetaE) / std::tanh(x) + sigma2Static;
}

double Einstein::dSigma2dTheta(double temperature) const {
    // d/dθ [c / (μθ) coth(θ/2T)] = -c / (μθ²) coth x - c / (μθ) csch² x / 2T
    const double x = thetaE / (2 * temperature);
    const double c = constant / reducedMass;
    const double s = std::sinh(x);
    // csch² x underflows to 0 where sinh overflows, as it should.
    const double csch2 = std::isfinite(s) ? 1 / (s * s) : 0.0;
    return -c / (thetaE * thetaE) / std::tanh(x) - c / thetaE * csch2 / (2 * temperature);
}

} // namespace fit
