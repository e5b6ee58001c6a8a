#pragma once

#include "WaveSynthesis.h"

#include <array>

// The model's parameters that a user types and a fit can vary, in the order
// the program's state lists them (panel, scenario checks, CSV lines); a fit
// lists them by fitPosition. Adding one is a row here plus the physics
// using it.
enum class ModelParameter { R, P0, P1, P2, Sigma, Amplitude, DeltaE0 };

struct ParameterRow {
    ModelParameter id;
    const char* name;         // in a fit and its report
    const char* key;          // in a scenario file
    const char* symbol;       // in a CSV file's '#' lines
    const char* shortName;    // in a held curve's name
    const char* labelContext; // the label's catalogue entry
    const char* label;
    const char* unit; // empty when none
    double minimum;
    double maximum;
    int stepsPerUnit; // slider positions per unit, wherever its slider lives
    double defaultValue;
    bool variedByDefault;
    int fitPosition; // the place in a fit's list and report
    double WaveParameters::*field;
};

inline constexpr std::array<ParameterRow, 7> parameterTable{{
    {ModelParameter::R, "R", "R", "R", "R", "FitWindow", "R (Å)", "Å", 0, 10, 10, 2.0, true, 1,
     &WaveParameters::r},
    {ModelParameter::P0, "P0", "P0", "P0", "P0", "FitWindow", "P0", "rad", -10, 10, 10, 0.0, true,
     3, &WaveParameters::phi0},
    {ModelParameter::P1, "P1", "P1", "P1", "P1", "FitWindow", "P1 (Å)", "Å", -3, 3, 100, 0.0, false,
     4, &WaveParameters::phi1},
    {ModelParameter::P2, "P2", "P2", "P2", "P2", "FitWindow", "P2 (Å²)", "rad Å²", -1, 1, 100, 0.0,
     false, 5, &WaveParameters::phi2},
    {ModelParameter::Sigma, "sigma", "sigma", "sigma", "σ", "FitWindow", "Sigma (Å)", "Å", 0, 0.2,
     1000, 0.05, true, 2, &WaveParameters::sigma},
    {ModelParameter::Amplitude, "amplitude", "amplitude", "A", "A", "FitWindow", "N·S0²", "", 0, 50,
     10, 1.0, true, 0, &WaveParameters::amplitude},
    // The E0 shift moves a shell with a scattering path only.
    {ModelParameter::DeltaE0, "dE0", "dE0", "dE0", "dE0", "FitWindow", "dE0 (eV)", "eV", -20, 20,
     10, 0.0, false, 6, &WaveParameters::deltaE0},
}};

constexpr const ParameterRow& parameterRow(ModelParameter p) {
    return parameterTable[size_t(p)];
}

// The rows in a fit's order.
const std::array<const ParameterRow*, parameterTable.size()>& fitOrder();

// The parameters a series of data sets fitted together has besides the
// model's: the Einstein temperature (K), the static part of sigma² (Å²) and
// the linear thermal expansion coefficient of R (1/K). Their names in a fit,
// its report and a scenario's "vary".
namespace SeriesParameter {
constexpr const char* thetaE = "thetaE";
constexpr const char* sigma2Static = "sigma2Static";
constexpr const char* alpha = "alpha";
} // namespace SeriesParameter

// n, the k-weight: an integer slider with a scenario key, never fitted.
struct KWeight {
    static constexpr const char* key = "n";
    static constexpr int minimum = 1;
    static constexpr int maximum = 3;
    static constexpr int defaultValue = 2;
};
