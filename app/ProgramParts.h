#pragma once

class AWave;
class ChiR;

// The parts the main window's constructor asks for, in its order: the wave
// with its envelope, filled, then the chi(R) window. Whoever owns them (the
// session) makes them; the window only wires them.
class ProgramParts {
public:
    virtual AWave* makeWave() = 0;
    virtual ChiR* makeChiR() = 0;

protected:
    ~ProgramParts() = default;
};
