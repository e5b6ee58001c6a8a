#pragma once

#include "ShellPath.h"
#include "WaveSynthesis.h"

#include <QString>
#include <QVector>

class AWave;
class ChiR;
struct Scenario;

// Moves the program's whole user state into a Scenario and back. Applying
// takes the roads a user takes: values are set exactly as typed ones,
// window positions go through the window function's own setPos, switches
// toggle.
// The measured data file is captured; loading it is the main window's.
// Path files are read by readPaths before anything changes.
class ProgramState {
public:
    // The program's k grid: 0 ... 16 Å⁻¹ by 0.1, transformed on 1024
    // points. The session builds its wave on it; a measured standard is
    // made on it.
    static constexpr double gridKMax = 16.0;
    static constexpr double gridStep = 0.1;
    static constexpr int gridLength = 1024;
    static WaveGrid grid();

    // The scattering paths a scenario names, read: the main shell's (a path
    // file or a measured standard, made from its chi(k) file) and one per
    // extra shell (null where none is named).
    struct Paths {
        ShellPathPtr main;
        QVector<ShellPathPtr> shells;
    };
    // False, with one sentence, when a named file cannot be read or ends
    // before the scenario's window does, or the standard cannot be made.
    static bool readPaths(const Scenario& state, Paths* paths, QString* error);

    static Scenario capture(const AWave& wave, const ChiR& chiR);
    // `paths` as readPaths gave them for `state`; a path named but not
    // given is read here, and left out if it cannot be.
    static void apply(const Scenario& state, AWave& wave, ChiR& chiR, const Paths& paths = {});
};
