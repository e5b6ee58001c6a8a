#pragma once

class AWave;
class ChiR;
struct Scenario;

// Moves the program's whole user state into a Scenario and back. Applying
// takes the roads a user takes: values are set exactly as typed ones,
// window positions go through the window function's own setPos, switches
// toggle.
// The measured data file is captured; loading it is the main window's.
class ProgramState {
public:
    static Scenario capture(const AWave& wave, const ChiR& chiR);
    static void apply(const Scenario& state, AWave& wave, ChiR& chiR);
};
