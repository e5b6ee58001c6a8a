#pragma once

#include "ProgramParts.h"

#include <memory>

class AWave;
class ChiK;
class ChiR;
class Envelope;

// The program as one object: the wave (which makes its panel), its
// envelope and both windows, built the same way for the screen, for a
// headless export or fit and for the tests, and torn down in order: the
// windows before the model they show. The parts the main window keeps
// (view options, measured data, held curves, the windows made on first use)
// are its children.
class Session : public ProgramParts {
public:
    Session();
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    ChiK* main() const { return chiK.get(); }
    ChiR* chiR() const { return chiRWindow.get(); }
    AWave* wave() const { return firstWave.get(); }
    Envelope* envelope() const { return flatEnvelope.get(); }

    // The steps the main window's constructor asks for, in its order: the
    // wave with its envelope, filled, then the chi(R) window.
    AWave* makeWave() override;
    ChiR* makeChiR() override;

private:
    // Declared in the order of building; destroyed the other way round.
    std::unique_ptr<Envelope> flatEnvelope;
    std::unique_ptr<AWave> firstWave;
    std::unique_ptr<ChiK> chiK;
    std::unique_ptr<ChiR> chiRWindow;
};
