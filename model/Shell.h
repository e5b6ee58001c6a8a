#pragma once

#include "ShellPath.h"

// An extra shell beside the main one: its own distance and an amplitude
// relative to the main shell's N·S0². Without a path, n, the phases, sigma
// and the factors are shared, so the factors stay factors of the whole
// signal. With a path the shell follows its path's equation with its own
// sigma and E0 shift; its phase is its path's.
struct Shell {
    Shell() = default;
    // A shell without a path.
    Shell(double r_, double amplitude_) : r(r_), amplitude(amplitude_) {}

    double r = 0;
    double amplitude = 1;
    ShellPathPtr path;
    double sigma = 0.05; // Å, used with a path
    double deltaE0 = 0;  // eV, used with a path
    bool operator==(const Shell& o) const {
        return r == o.r && amplitude == o.amplitude && path == o.path &&
               (!path || (sigma == o.sigma && deltaE0 == o.deltaE0));
    }
    bool operator!=(const Shell& o) const { return !(*this == o); }

    // How many a wave carries at most.
    static constexpr int maxExtra = 3;
    // The ranges of its values and their slider positions per unit.
    static constexpr double rMinimum = 0;
    static constexpr double rMaximum = 10;
    static constexpr int rSteps = 10;
    static constexpr double amplitudeMinimum = 0;
    static constexpr double amplitudeMaximum = 2;
    static constexpr int amplitudeSteps = 20;
};
