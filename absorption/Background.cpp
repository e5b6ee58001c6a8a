#include "Background.h"

#include "Normalization.h"
#include "RealFft.h"

#include <cminpack.h>
#include <gsl/gsl_bspline.h>
#include <gsl/gsl_errno.h>
#include <gsl/gsl_interp.h>
#include <gsl/gsl_linalg.h>
#include <gsl/gsl_version.h>

#include <algorithm>
#include <cassert>
#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr double pi = 3.14159265358979323846;
// The window of the background's transform: Hanning sills this wide (1/Å)
// inside [kMin, kMax], flat between. Sills keep the strong first shell from
// leaking through the window's side lobes into the bins below Rbkg.
constexpr double windowSill = 1.0;
// The clamp holds chi(k) near zero on this many grid points at the high-k
// end, where the window has fallen to zero and nothing else ties the last
// coefficients down. Its weight is one transform term per point: small.
constexpr int clampPoints = 5;

using Spline = std::unique_ptr<gsl_bspline_workspace, decltype(&gsl_bspline_free)>;
using Vector = std::unique_ptr<gsl_vector, decltype(&gsl_vector_free)>;
using Matrix = std::unique_ptr<gsl_matrix, decltype(&gsl_matrix_free)>;

// The four cubic B-splines that are not zero at x, into b; returns the index
// of the first. GSL 2.8 renamed the call and dropped the old name.
size_t nonzeroBasis(double x, gsl_vector* b, gsl_bspline_workspace* w) {
    size_t start = 0;
#if GSL_MAJOR_VERSION > 2 || (GSL_MAJOR_VERSION == 2 && GSL_MINOR_VERSION >= 8)
    gsl_bspline_basis(x, b, &start, w);
#else
    size_t end = 0;
    gsl_bspline_eval_nonzero(x, b, &start, &end, w);
#endif
    return start;
}

// The least-squares problem handed to lmdif.
struct Problem {
    int first = 0;  // grid index of the first point in [kMin, kMax]
    int points = 0; // grid points in [kMin, kMax]
    int coefficients = 0;
    // Per grid point in range: mu, k^w * window, the four B-spline values
    // that are not zero and the index of the first.
    std::vector<double> mu, weight, basis;
    std::vector<int> basisStart;
    std::vector<int> clamp; // grid points (in range) held by the clamp
    double clampWeight = 0;
    double step = 1;
    int bins = 0;      // transform bins below Rbkg
    double factor = 1; // the field's dk / sqrt(pi)
    std::unique_ptr<fft::RealFft<double>> fft;
    std::vector<double> signal, spectrum;
    int evaluations = 0;

    double backgroundAt(int i, const double* c) const {
        const double* b = &basis[size_t(i) * 4];
        const double* a = c + basisStart[size_t(i)];
        return b[0] * a[0] + b[1] * a[1] + b[2] * a[2] + b[3] * a[3];
    }
    int residualCount() const { return 2 * bins - 1 + int(clamp.size()); }
};

int residuals(void* data, int, int, const double* c, double* out, int) {
    Problem& p = *static_cast<Problem*>(data);
    ++p.evaluations;
    const int length = int(p.signal.size());
    std::fill(p.signal.begin(), p.signal.end(), 0.0);
    for (int i = 0; i < p.points; ++i)
        p.signal[size_t(p.first + i)] =
            p.weight[size_t(i)] * (p.mu[size_t(i)] - p.backgroundAt(i, c)) / p.step;
    p.fft->forwardTransform(p.spectrum.data(), p.signal.data());
    int r = 0;
    out[r++] = p.factor * p.spectrum[0];
    for (int m = 1; m < p.bins; ++m) {
        out[r++] = p.factor * p.spectrum[size_t(m)];
        out[r++] = p.factor * p.spectrum[size_t(length / 2 + m)];
    }
    for (const int i : p.clamp)
        out[r++] = p.clampWeight * (p.mu[size_t(i)] - p.backgroundAt(i, c)) / p.step;
    for (int i = 0; i < r; ++i)
        if (!std::isfinite(out[i]))
            return -1;
    return 0;
}

double window(double k, double kMin, double kMax) {
    const double sill = std::min(windowSill, (kMax - kMin) / 4);
    if (k < kMin || k > kMax)
        return 0;
    if (k < kMin + sill)
        return std::pow(std::sin(pi / 2 * (k - kMin) / sill), 2);
    if (k > kMax - sill)
        return std::pow(std::sin(pi / 2 * (kMax - k) / sill), 2);
    return 1;
}

} // namespace

int Background::knotCount(double rbkg, double kMin, double kMax) {
    const double n = 1 + std::floor(2 * rbkg * (kMax - kMin) / pi);
    return int(std::clamp(n, double(minKnots), double(maxKnots)));
}

bool Background::remove(const AbsorptionSettings& settings, AbsorptionResult* result,
                        QString* error) {
    auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    const AbsorptionResult& in = *result;
    // Normalization::run has filled the energy grid and found a step.
    assert(in.energy.size() >= MuReader::minimumPoints && in.mu.size() == in.energy.size());
    assert(in.step > 0 && in.e0 >= in.energy.first() && in.e0 <= in.energy.last());
    const double rbkg = settings.rbkg;
    if (!(rbkg >= minRbkg && rbkg <= maxRbkg))
        return fail(tr("Rbkg = %1 Å lies outside %2 to %3 Å.").arg(rbkg).arg(minRbkg).arg(maxRbkg));
    if (settings.kWeight < 0 || settings.kWeight > maxKWeight)
        return fail(
            tr("The k weight %1 lies outside 0 to %2.").arg(settings.kWeight).arg(maxKWeight));
    const double e0 = in.e0;
    const double kLast = std::sqrt(energyToK * (in.energy.last() - e0));
    const double kMin = settings.kMin;
    const double kMax = settings.kMax ? *settings.kMax : std::min(kLast, maxK);
    if (kMax > maxK)
        return fail(tr("The k range [%1, %2] Å⁻¹ reaches beyond %3 Å⁻¹, far past any EXAFS.")
                        .arg(kMin)
                        .arg(kMax)
                        .arg(maxK));
    if (!(kMin >= 0 && kMax <= kLast + 1e-9))
        return fail(tr("The k range [%1, %2] Å⁻¹ lies outside the data, which reach from 0 to "
                       "%3 Å⁻¹ above E0.")
                        .arg(kMin)
                        .arg(kMax)
                        .arg(kLast, 0, 'f', 2));
    if (!(kMax - kMin >= minKRange))
        return fail(tr("The k range [%1, %2] Å⁻¹ is narrower than %3 Å⁻¹.")
                        .arg(kMin)
                        .arg(kMax)
                        .arg(minKRange));

    // mu on the uniform k grid 0 ... kMax: a cubic spline through the
    // measured points above E0 and the last one below it, whose k is
    // counted negative so that the grid's k = 0 lies inside.
    const int below =
        int(std::lower_bound(in.energy.begin(), in.energy.end(), e0) - in.energy.begin()) - 1;
    const int from = std::max(0, below);
    std::vector<double> dataK, dataMu;
    for (int i = from; i < in.energy.size(); ++i) {
        const double d = in.energy[i] - e0;
        dataK.push_back(d < 0 ? -std::sqrt(-energyToK * d) : std::sqrt(energyToK * d));
        dataMu.push_back(in.mu[i]);
    }
    if (dataK.size() < 3 || dataK.front() > 0)
        return fail(tr("The data hold too few points above E0 for a background."));
    const int gridCount = int(std::floor(kMax / gridStep + 1e-9)) + 1;
    std::vector<double> gridMu(static_cast<size_t>(gridCount));
    {
        std::unique_ptr<gsl_interp, decltype(&gsl_interp_free)> interp(
            gsl_interp_alloc(gsl_interp_cspline, dataK.size()), gsl_interp_free);
        std::unique_ptr<gsl_interp_accel, decltype(&gsl_interp_accel_free)> accel(
            gsl_interp_accel_alloc(), gsl_interp_accel_free);
        gsl_interp_init(interp.get(), dataK.data(), dataMu.data(), dataK.size());
        for (int j = 0; j < gridCount; ++j)
            gridMu[size_t(j)] = gsl_interp_eval(interp.get(), dataK.data(), dataMu.data(),
                                                std::min(j * gridStep, dataK.back()), accel.get());
    }

    // The spline: cubic B-splines on knots evenly over [kMin, kMax].
    const int knots = knotCount(rbkg, kMin, kMax);
    Spline spline(gsl_bspline_alloc(4, size_t(knots)), gsl_bspline_free);
    gsl_bspline_knots_uniform(kMin, kMax, spline.get());
    const int coefficients = int(gsl_bspline_ncoeffs(spline.get()));
    Vector bk(gsl_vector_alloc(4), gsl_vector_free);
    // The background at k from coefficients c.
    auto evaluate = [&](double k, const double* c) {
        const size_t start = nonzeroBasis(std::clamp(k, kMin, kMax), bk.get(), spline.get());
        double sum = 0;
        for (size_t t = 0; t < 4; ++t)
            sum += gsl_vector_get(bk.get(), t) * c[start + t];
        return sum;
    };

    Problem p;
    p.first = int(std::ceil(kMin / gridStep - 1e-9));
    p.points = gridCount - p.first;
    p.coefficients = coefficients;
    p.step = in.step;
    for (int j = p.first; j < gridCount; ++j) {
        const double k = j * gridStep;
        p.mu.push_back(gridMu[size_t(j)]);
        p.weight.push_back(std::pow(k, settings.kWeight) * window(k, kMin, kMax));
        const size_t start = nonzeroBasis(std::clamp(k, kMin, kMax), bk.get(), spline.get());
        for (int t = 0; t < 4; ++t)
            p.basis.push_back(gsl_vector_get(bk.get(), size_t(t)));
        p.basisStart.push_back(int(start));
    }
    for (int i = std::max(0, p.points - clampPoints); i < p.points; ++i)
        p.clamp.push_back(i);
    int length = minTransformLength;
    while (length < 2 * gridCount)
        length *= 2;
    // The transform's bins are pi / (length dk) apart in R.
    p.bins = int(std::ceil(rbkg * length * gridStep / pi));
    p.factor = fft::exafsScale(gridStep);
    p.clampWeight = p.factor * std::pow(kMax, settings.kWeight);
    p.fft = std::make_unique<fft::RealFft<double>>(length);
    p.signal.assign(size_t(length), 0.0);
    p.spectrum.assign(size_t(length), 0.0);
    const int m = p.residualCount();
    if (m < coefficients)
        return fail(tr("The data hold too few points for a background of %1 knots.").arg(knots));

    // Start from the spline closest to mu itself; the search then removes
    // what it leaves below Rbkg. The normal equations of the B-splines are
    // banded and well conditioned (every knot interval holds several grid
    // points), so a Cholesky factor of the small matrix is enough.
    std::vector<double> c(static_cast<size_t>(coefficients));
    {
        Matrix normal(gsl_matrix_calloc(size_t(coefficients), size_t(coefficients)),
                      gsl_matrix_free);
        Vector right(gsl_vector_calloc(size_t(coefficients)), gsl_vector_free);
        for (int i = 0; i < p.points; ++i) {
            const size_t start = size_t(p.basisStart[size_t(i)]);
            const double* b = &p.basis[size_t(i) * 4];
            for (size_t s = 0; s < 4; ++s) {
                *gsl_vector_ptr(right.get(), start + s) += b[s] * p.mu[size_t(i)];
                for (size_t t = 0; t < 4; ++t)
                    *gsl_matrix_ptr(normal.get(), start + s, start + t) += b[s] * b[t];
            }
        }
        gsl_vector_view solution = gsl_vector_view_array(c.data(), size_t(coefficients));
        // A factor that fails is refused, not the program stopped.
        gsl_error_handler_t* const handler = gsl_set_error_handler_off();
        const bool solved =
            gsl_linalg_cholesky_decomp1(normal.get()) == 0 &&
            gsl_linalg_cholesky_solve(normal.get(), right.get(), &solution.vector) == 0;
        gsl_set_error_handler(handler);
        if (!solved)
            return fail(
                tr("The data hold too few points for a background of %1 knots.").arg(knots));
    }

    const int n = coefficients;
    std::vector<double> fvec(static_cast<size_t>(m)), diag(static_cast<size_t>(n)),
        fjac(size_t(m) * size_t(n)), qtf(static_cast<size_t>(n)), wa1(static_cast<size_t>(n)),
        wa2(static_cast<size_t>(n)), wa3(static_cast<size_t>(n)), wa4(static_cast<size_t>(m));
    std::vector<int> ipvt(static_cast<size_t>(n));
    const double tolerance = 1.5e-8; // MINPACK's own suggestion: about sqrt(epsilon)
    int nfev = 0;
    const int info = lmdif(residuals, &p, m, n, c.data(), fvec.data(), tolerance, tolerance, 0.0,
                           200 * (n + 1), 0.0, diag.data(), 1, 100.0, 0, &nfev, fjac.data(), m,
                           ipvt.data(), qtf.data(), wa1.data(), wa2.data(), wa3.data(), wa4.data());
    if (info <= 0)
        return fail(tr("The background could not be refined: the data gave a value that is not "
                       "finite."));

    AbsorptionResult r = in;
    r.rbkg = rbkg;
    r.kWeight = settings.kWeight;
    r.kMin = kMin;
    r.kMax = kMax;
    r.evaluations = p.evaluations;
    r.background.resize(in.energy.size());
    for (int i = 0; i < in.energy.size(); ++i) {
        const double d = in.energy[i] - e0;
        const double k = d < 0 ? -1 : std::sqrt(energyToK * d);
        r.background[i] = (k >= kMin - 1e-12 && k <= kMax + 1e-12)
                              ? evaluate(k, c.data())
                              : std::numeric_limits<double>::quiet_NaN();
    }
    r.knotK.resize(knots);
    r.knotValue.resize(knots);
    for (int i = 0; i < knots; ++i) {
        r.knotK[i] = gsl_bspline_breakpoint(size_t(i), spline.get());
        r.knotValue[i] = evaluate(r.knotK[i], c.data());
    }
    r.k.resize(gridCount);
    r.chi.resize(gridCount);
    for (int j = 0; j < gridCount; ++j) {
        r.k[j] = j * gridStep;
        r.chi[j] =
            j < p.first ? 0 : (gridMu[size_t(j)] - p.backgroundAt(j - p.first, c.data())) / in.step;
        if (!std::isfinite(r.chi[j]))
            return fail(tr("The background could not be refined: the data gave a value that is "
                           "not finite."));
    }
    *result = r;
    return true;
}

bool Background::process(const MuData& data, const AbsorptionSettings& settings,
                         AbsorptionResult* result, QString* error) {
    AbsorptionResult r;
    if (!Normalization::run(data, settings, &r, error) || !remove(settings, &r, error))
        return false;
    *result = r;
    return true;
}
