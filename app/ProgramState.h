#pragma once

#include "ShellPath.h"

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
    // The scattering paths a scenario names, read: the main shell's and one
    // per extra shell (null where none is named).
    struct Paths {
        ShellPathPtr main;
        QVector<ShellPathPtr> shells;
    };
    // False, with one sentence, when a named file cannot be read or ends
    // before the scenario's window does.
    static bool readPaths(const Scenario& state, Paths* paths, QString* error);

    static Scenario capture(const AWave& wave, const ChiR& chiR);
    // `paths` as readPaths gave them for `state`; a path named but not
    // given is read here, and left out if it cannot be.
    static void apply(const Scenario& state, AWave& wave, ChiR& chiR, const Paths& paths = {});
};
