#include "AbsorptionExport.h"

#include "Number.h"

#include <cmath>

namespace {
QByteArray number(double v) {
    return shortestNumber(v).toUtf8();
}

QByteArray numbers(const QVector<double>& values) {
    QByteArray out;
    for (int i = 0; i < values.size(); ++i)
        out += (i ? " " : "") + number(values[i]);
    return out;
}
} // namespace

QByteArray AbsorptionExport::mu(const AbsorptionResult& r) {
    QByteArray out;
    out += "# e0 (eV): " + number(r.e0) + '\n';
    out += "# edge step: " + number(r.step) + '\n';
    out += "# rbkg (Å): " + number(r.rbkg) + '\n';
    out += "# k weight: " + QByteArray::number(r.kWeight) + '\n';
    out += "# k range (1/Å): " + number(r.kMin) + ' ' + number(r.kMax) + '\n';
    out += "# pre-edge range (eV from e0): " + number(r.preEdgeRange[0]) + ' ' +
           number(r.preEdgeRange[1]) + '\n';
    out += "# normalization range (eV from e0): " + number(r.normalizationRange[0]) + ' ' +
           number(r.normalizationRange[1]) + '\n';
    out += "# knots: " + QByteArray::number(r.knotK.size()) + '\n';
    out += "# knot k (1/Å): " + numbers(r.knotK) + '\n';
    out += "# knot background: " + numbers(r.knotValue) + '\n';
    out += "energy,mu,pre_edge,post_edge,background,normalized\n";
    for (int i = 0; i < r.energy.size(); ++i) {
        const double b = r.background.value(i, std::nan(""));
        out += number(r.energy[i]) + ',' + number(r.mu[i]) + ',' + number(r.preEdge[i]) + ',' +
               number(r.postEdge[i]) + ',' + (std::isfinite(b) ? number(b) : QByteArray()) + ',' +
               number(r.normalized[i]) + '\n';
    }
    return out;
}

QByteArray AbsorptionExport::chi(const AbsorptionResult& r) {
    QByteArray out = "# chi(k) from mu(E): e0 " + number(r.e0) + " eV, rbkg " + number(r.rbkg) +
                     " Å\n# k (1/Å) chi\n";
    for (int i = 0; i < r.k.size(); ++i)
        out += number(r.k[i]) + ' ' + number(r.chi[i]) + '\n';
    return out;
}
