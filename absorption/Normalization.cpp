#include "Normalization.h"

#include <gsl/gsl_multifit.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

// Least-squares polynomial of degree terms - 1 in x = E - e0 through the
// points with first <= E <= last; false when the fit cannot be made.
bool fitPolynomial(const QVector<double>& energy, const QVector<double>& mu, double e0,
                   double first, double last, int terms, double* coefficients) {
    const auto begin = std::lower_bound(energy.begin(), energy.end(), first);
    const auto end = std::upper_bound(energy.begin(), energy.end(), last);
    const int from = int(begin - energy.begin());
    const int n = int(end - begin);
    if (n < terms)
        return false;
    using Matrix = std::unique_ptr<gsl_matrix, decltype(&gsl_matrix_free)>;
    using Vector = std::unique_ptr<gsl_vector, decltype(&gsl_vector_free)>;
    using Work =
        std::unique_ptr<gsl_multifit_linear_workspace, decltype(&gsl_multifit_linear_free)>;
    Matrix x(gsl_matrix_alloc(size_t(n), size_t(terms)), gsl_matrix_free);
    Matrix cov(gsl_matrix_alloc(size_t(terms), size_t(terms)), gsl_matrix_free);
    Vector y(gsl_vector_alloc(size_t(n)), gsl_vector_free);
    Vector c(gsl_vector_alloc(size_t(terms)), gsl_vector_free);
    Work work(gsl_multifit_linear_alloc(size_t(n), size_t(terms)), gsl_multifit_linear_free);
    for (int i = 0; i < n; ++i) {
        const double d = energy[from + i] - e0;
        double power = 1;
        for (int t = 0; t < terms; ++t, power *= d)
            gsl_matrix_set(x.get(), size_t(i), size_t(t), power);
        gsl_vector_set(y.get(), size_t(i), mu[from + i]);
    }
    double chiSquare = 0;
    if (gsl_multifit_linear(x.get(), y.get(), c.get(), cov.get(), &chiSquare, work.get()) != 0)
        return false;
    for (int t = 0; t < terms; ++t) {
        coefficients[t] = gsl_vector_get(c.get(), size_t(t));
        if (!std::isfinite(coefficients[t]))
            return false;
    }
    return true;
}

} // namespace

QVector<double> Normalization::derivative(const QVector<double>& energy,
                                          const QVector<double>& mu) {
    const int n = energy.size();
    QVector<double> d(n);
    for (int i = 0; i < n; ++i) {
        const int a = std::max(0, i - 1);
        const int b = std::min(n - 1, i + 1);
        d[i] = (mu[b] - mu[a]) / (energy[b] - energy[a]);
    }
    return d;
}

double Normalization::edgeEnergy(const QVector<double>& energy, const QVector<double>& mu) {
    const QVector<double> d = derivative(energy, mu);
    return energy[int(std::max_element(d.begin(), d.end()) - d.begin())];
}

bool Normalization::run(const MuData& data, const AbsorptionSettings& settings,
                        AbsorptionResult* result, QString* error) {
    const QVector<double>& energy = data.energy;
    const QVector<double>& mu = data.mu;
    auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (energy.size() < MuReader::minimumPoints || energy.size() != mu.size())
        return fail(tr("mu(E) needs at least %1 points.").arg(MuReader::minimumPoints));
    // What the reader guarantees, checked again for data made elsewhere.
    for (int i = 0; i < energy.size(); ++i)
        if (!std::isfinite(energy[i]) || !std::isfinite(mu[i]) ||
            (i > 0 && !(energy[i] > energy[i - 1])))
            return fail(tr("The energies must increase and every value must be finite."));
    const double first = energy.first();
    const double last = energy.last();
    const double e0 = settings.e0 ? *settings.e0 : edgeEnergy(energy, mu);
    if (!(e0 >= first && e0 <= last))
        return fail(tr("E0 = %1 eV lies outside the data, which span %2 to %3 eV.")
                        .arg(e0, 0, 'g', 10)
                        .arg(first, 0, 'g', 10)
                        .arg(last, 0, 'g', 10));

    // A range clipped to the data, relative to E0; the text names it in
    // refusals.
    auto clip = [&](const std::array<double, 2>& range, const QString& name, int terms,
                    std::array<double, 2>* used) {
        if (!(range[0] < range[1]))
            return fail(tr("The %1 range [%2, %3] eV must begin below its end.")
                            .arg(name)
                            .arg(range[0])
                            .arg(range[1]));
        const double from = e0 + range[0];
        const double to = e0 + range[1];
        if (from > last || to < first) {
            auto relative = [](double x) {
                return x < 0 ? QStringLiteral("E0 - %1").arg(-x) : QStringLiteral("E0 + %1").arg(x);
            };
            return fail(tr("The %1 range [%2, %3] eV lies outside the data, which span %4 to %5 "
                           "eV.")
                            .arg(name, relative(range[0]), relative(range[1]))
                            .arg(first, 0, 'g', 10)
                            .arg(last, 0, 'g', 10));
        }
        (*used)[0] = std::max(from, first) - e0;
        (*used)[1] = std::min(to, last) - e0;
        const auto a = std::lower_bound(energy.begin(), energy.end(), e0 + (*used)[0]);
        const auto b = std::upper_bound(energy.begin(), energy.end(), e0 + (*used)[1]);
        if (b - a < terms)
            return fail(tr("The %1 range needs at least %2 points; it holds %3.")
                            .arg(name)
                            .arg(terms)
                            .arg(b - a));
        return true;
    };
    std::array<double, 2> preRange{}, postRange{};
    if (!clip(settings.preEdge, tr("pre-edge"), 2, &preRange) ||
        !clip(settings.normalization, tr("normalization"), 3, &postRange))
        return false;
    double pre[2] = {0, 0}, post[3] = {0, 0, 0};
    if (!fitPolynomial(energy, mu, e0, e0 + preRange[0], e0 + preRange[1], 2, pre))
        return fail(tr("The pre-edge line cannot be fitted."));
    if (!fitPolynomial(energy, mu, e0, e0 + postRange[0], e0 + postRange[1], 3, post))
        return fail(tr("The post-edge curve cannot be fitted."));
    const double step = post[0] - pre[0];
    if (!(step > 0))
        return fail(tr("No edge: at E0 = %1 eV the post-edge curve does not lie above the "
                       "pre-edge line (step %2).")
                        .arg(e0, 0, 'g', 10)
                        .arg(step, 0, 'g', 4));

    const int n = energy.size();
    AbsorptionResult r;
    r.energy = energy;
    r.mu = mu;
    r.derivative = derivative(energy, mu);
    r.preEdge.resize(n);
    r.postEdge.resize(n);
    r.normalized.resize(n);
    for (int i = 0; i < n; ++i) {
        const double d = energy[i] - e0;
        r.preEdge[i] = pre[0] + pre[1] * d;
        r.postEdge[i] = post[0] + (post[1] + post[2] * d) * d;
        r.normalized[i] = (mu[i] - r.preEdge[i]) / step;
    }
    r.e0 = e0;
    r.step = step;
    r.preEdgeRange = preRange;
    r.normalizationRange = postRange;
    r.preEdgeLine = {{pre[0], pre[1]}};
    r.postEdgeQuadratic = {{post[0], post[1], post[2]}};
    *result = r;
    return true;
}
