#include "HanningWindow.h"

#include <cmath>

namespace {
// The cosine's argument at x inside the gap [a, b): pi times the part of the
// gap crossed. The reciprocal of the gap comes first, as the window has
// always been computed; a gap so narrow that the reciprocal overflows takes
// the fraction instead (0 * inf would be NaN at x = a).
double halfPeriodAngle(double a, double b, double x) {
    const double factor = 1 / (b - a) * programPi;
    if (std::isfinite(factor))
        return (x - a) * factor;
    return (x - a) / (b - a) * programPi;
}
} // namespace

double hanningWindow(const WindowPositions& p, double x) {
    if (p[0] > x)
        return 0;
    if (p[1] > x)
        return (1 - std::cos(halfPeriodAngle(p[0], p[1], x))) * 0.5;
    if (p[2] > x)
        return 1;
    if (p[3] > x)
        return (std::cos(halfPeriodAngle(p[2], p[3], x)) + 1) * 0.5;
    return 0;
}
