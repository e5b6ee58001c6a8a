#pragma once

// Standard atomic weights (IUPAC, conventional values, in atomic mass units)
// by atomic number, for the reduced mass of a scattering path. Elements
// without a stable isotope (Tc, Pm, Po ... Cm) carry the mass number of their
// longest-lived isotope, as the tables print it in brackets.
class AtomicWeights {
public:
    static constexpr int maxZ = 96;

    // The weight of element z (1 ... maxZ), or 0 outside the table.
    static double of(int z);
};
