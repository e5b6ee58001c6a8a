#include "MeasuredStandard.h"

#include "PathFile.h"

#include <QFileInfo>

#include <cmath>

namespace {
// The mean free path of a standard: so long that exp(−2R/λ) is 1 and the
// complex momentum's imaginary part 0 to double precision.
constexpr double noLoss = 1e300;
} // namespace

ShellPathPtr MeasuredStandard::fromFiltered(const FilteredSpectrum& f, const WaveGrid& grid,
                                            const StandardOrigin& origin, QString* error) {
    const auto refuse = [error](const QString& why) {
        if (error)
            *error = why;
        return nullptr;
    };
    if (!(std::isfinite(origin.n) && origin.n > 0))
        return refuse(tr("The standard's N must be a positive number; it is %1.").arg(origin.n));
    if (!(std::isfinite(origin.r) && origin.r > 0))
        return refuse(
            tr("The standard's R must be a positive number of Å; it is %1.").arg(origin.r));
    if (!(std::isfinite(origin.sigma) && origin.sigma >= 0))
        return refuse(tr("The standard's sigma must be 0 Å or more; it is %1.").arg(origin.sigma));
    if (!(grid.dk > 0) || !std::isfinite(grid.dk))
        return refuse(FourierFilter::tr("The k grid needs a finite start and a positive step; "
                                        "the step is %1 Å⁻¹.")
                          .arg(grid.dk));
    const int count = f.q.size();
    double largest = 0;
    for (double a : f.amplitude)
        largest = std::max(largest, a);
    if (count < PathFile::minRows || !(largest > 0))
        return refuse(tr("The filter leaves no signal of the standard: choose an R window "
                         "around its shell and a k window over its data."));

    const double r = origin.r;
    const double s2 = origin.sigma * origin.sigma;
    PathData data;
    data.header << QStringLiteral("Measured standard from %1, N = %2, R = %3 A, sigma = %4 A")
                       .arg(QFileInfo(origin.file).fileName())
                       .arg(origin.n)
                       .arg(origin.r)
                       .arg(origin.sigma);
    data.legs = 2;
    data.degeneracy = origin.n;
    data.reff = r;
    const auto append = [&](double k, double amplitude, double phase) {
        data.k.append(k);
        data.mag.append(amplitude * k * r * r * std::exp(2 * s2 * k * k) /
                        (origin.n * PathChi::defaultS02));
        data.realPhc.append(phase - 2 * k * r + 4 * s2 * k / r);
        data.phase.append(0);
        data.red.append(1);
        data.lambda.append(noLoss);
        data.realP.append(k);
    };
    // Rows before the filtered ones, down to the window's start, hold the
    // first point's amplitude and phase less its 2kR; likewise at the end.
    const double kLow = std::min(origin.kWindow[0], f.q.first());
    const double kHigh = std::max(origin.kWindow[3], f.q.last());
    const double phaseOffsetFirst = f.phase.first() - 2 * f.q.first() * r;
    for (int i = 0; i < f.firstIndex; ++i) {
        const double k = grid.k(i);
        if (k >= kLow - 1e-9 * grid.dk && k > 0)
            append(k, f.amplitude.first(), phaseOffsetFirst + 2 * k * r);
    }
    for (int i = 0; i < count; ++i) {
        if (f.q[i] > 0)
            append(f.q[i], f.amplitude[i], f.phase[i]);
    }
    const double phaseOffsetLast = f.phase.last() - 2 * f.q.last() * r;
    const int lastIndex = int(std::lround((f.q.last() - grid.kMin) / grid.dk));
    for (int i = lastIndex + 1; grid.k(i) <= kHigh + 1e-9 * grid.dk; ++i)
        append(grid.k(i), f.amplitude.last(), phaseOffsetLast + 2 * grid.k(i) * r);
    if (data.rows() < PathFile::minRows)
        return refuse(tr("The filter leaves no signal of the standard: choose an R window "
                         "around its shell and a k window over its data."));
    return std::make_shared<const ShellPath>(data, origin);
}
