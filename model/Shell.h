#pragma once

// An extra shell beside the main one: its own distance and an amplitude
// relative to the main shell's; n, the phases, sigma and the factors are
// shared, so the factors stay factors of the whole signal.
struct Shell {
    double r = 0;
    double amplitude = 1;
    bool operator==(const Shell& o) const { return r == o.r && amplitude == o.amplitude; }
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
