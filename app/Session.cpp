#include "Session.h"

#include "AWave.h"
#include "ChiK.h"
#include "ChiR.h"
#include "Envelope.h"
#include "ProgramState.h"
#include "WaveCtrl.h"

Session::Session() {
    chiK = std::make_unique<ChiK>(*this);
}

Session::~Session() {
    // A panel torn down with its window may still report an edit; nothing
    // is left to hear it.
    firstWave->blockSignals(true);
    flatEnvelope->blockSignals(true);
    chiRWindow.reset();
    chiK.reset();
}

AWave* Session::makeWave() {
    firstWave = std::make_unique<AWave>(2.0, 0.0, 1.0);
    flatEnvelope = std::make_unique<Envelope>();
    AWave* wave = firstWave.get();
    Envelope* envelope = flatEnvelope.get();
    for (int i = 0; i <= 16; ++i)
        envelope->points.append(QPointF(i, 1.0));
    wave->setKGrid(0.0, ProgramState::gridKMax, ProgramState::gridStep, ProgramState::gridLength);
    wave->envelope = envelope;
    QObject::connect(envelope, SIGNAL(updated()), wave, SLOT(envChanged()));
    QObject::connect(wave->ctrl, SIGNAL(enFlat()), envelope, SLOT(enFlat()));
    // Filled before the first paint of either window.
    wave->synthesize();
    return wave;
}

ChiR* Session::makeChiR() {
    chiRWindow = std::make_unique<ChiR>();
    return chiRWindow.get();
}
