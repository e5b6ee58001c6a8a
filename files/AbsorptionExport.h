#pragma once

#include "AbsorptionResult.h"

#include <QByteArray>

// The way from mu(E) to chi(k) as files: '.' as the decimal mark, every
// number in the shortest form that reads back as the same double, '\n'.
class AbsorptionExport {
public:
    // mu.csv: '#' lines with E0, the edge step, Rbkg, the k weight, the
    // knots and the ranges; a header line; one row per measured energy with
    // energy, mu, pre_edge, post_edge, background (empty where the spline is
    // not defined) and normalized.
    static QByteArray mu(const AbsorptionResult& result);
    // chi-data.chi: k and chi on the uniform grid, two columns after '#'
    // lines, as the measured-data reader reads them.
    static QByteArray chi(const AbsorptionResult& result);
};
