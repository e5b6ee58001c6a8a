#pragma once

#include "ProgramState.h"

#include "AbsorptionState.h"
#include <QRect>
#include <QSize>
#include <QVector>

class ChiK;
class Settings;
class ViewOptions;
struct Scenario;

// The program on the screen, as a user starts it: the windows come back
// where they stood, with the view options of the last run, and what the
// user changes there is kept for the next start. An export or a fit never
// comes here: it depends on its arguments alone.
class WindowStart {
public:
    // The state the windows start from before a scenario or lesson is
    // read over it: the view options remembered in `settings`.
    static Scenario rememberedState(const Settings& settings);
    // Keeps `view` in `settings` on every change, for the next start.
    static void keepView(const ViewOptions* view, Settings& settings);

    // Both windows where `settings` remember them, each clipped to the
    // available part of its screen, else side by side.
    static void placeWindows(ChiK& window, const Settings& settings);

    // The smallest a restored window is made, unless the screen is smaller.
    static constexpr QSize minimumSize{480, 360};
    // `wanted` moved and cut so that it lies inside `available`, and at least
    // `minimum` large as far as `available` allows.
    static QRect fitted(const QRect& wanted, const QRect& available, const QSize& minimum);

    // Shows both windows with `state` and the data file's contents (read
    // already; empty: none), runs until they close, and keeps where they
    // stood and the language chosen. Returns the event loop's exit code.
    // A mu(E) (already processed) shows in its window too.
    static int run(Settings& settings, const Scenario& state, const QVector<double>& k,
                   const QVector<double>& chi, const ProgramState::Paths& paths = {},
                   const AbsorptionState::Loaded* mu = nullptr);
};
