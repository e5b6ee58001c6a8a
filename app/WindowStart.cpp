#include "WindowStart.h"

#include "ChiK.h"
#include "ChiR.h"
#include "Scenario.h"
#include "Session.h"
#include "Settings.h"
#include "Startup.h"
#include "ViewOptions.h"

#include <QApplication>
#include <QScreen>

#include <algorithm>

Scenario WindowStart::rememberedState(const Settings& settings) {
    const Settings::View view = settings.view();
    Scenario state;
    state.viewAxes = view.axes;
    state.viewLegend = view.legend;
    state.viewPhysical = view.physical;
    state.viewLockScales = view.lockScales;
    return state;
}

void WindowStart::keepView(const ViewOptions* view, Settings& settings) {
    QObject::connect(view, &ViewOptions::changed, view, [view, &settings] {
        settings.setView({view->axes, view->legend, view->physical, view->lockScales});
    });
}

namespace {
// A remembered place is kept only where it fits the screen of today.
void fitOnScreen(QWidget& w) {
    if (w.isMaximized() || w.isFullScreen())
        return;
    const QScreen* screen = QGuiApplication::screenAt(w.geometry().center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect frame = w.frameGeometry(), inner = w.geometry();
    const QMargins margins(inner.left() - frame.left(), inner.top() - frame.top(),
                           frame.right() - inner.right(), frame.bottom() - inner.bottom());
    const QRect fitted =
        WindowStart::fitted(inner, screen->availableGeometry().marginsRemoved(margins),
                            w.minimumSizeHint().expandedTo(WindowStart::minimumSize));
    if (fitted != inner)
        w.setGeometry(fitted);
}
} // namespace

QRect WindowStart::fitted(const QRect& wanted, const QRect& available, const QSize& minimum) {
    const QSize size =
        wanted.size().expandedTo(minimum).boundedTo(available.size()).expandedTo(QSize(1, 1));
    const int x =
        std::max(available.left(), std::min(wanted.left(), available.right() + 1 - size.width()));
    const int y =
        std::max(available.top(), std::min(wanted.top(), available.bottom() + 1 - size.height()));
    return QRect(QPoint(x, y), size);
}

void WindowStart::placeWindows(ChiK& window, const Settings& settings) {
    const QByteArray k = settings.geometry(Settings::Window::ChiK);
    const QByteArray r = settings.geometry(Settings::Window::ChiR);
    // Where the user left them, as far as the screen allows; at the first
    // start side by side if the screen has room, rather than on top of each
    // other.
    if (!k.isEmpty() && !r.isEmpty() && window.restoreGeometry(k) &&
        window.chiR->restoreGeometry(r)) {
        fitOnScreen(window);
        fitOnScreen(*window.chiR);
        return;
    }
    if (const QScreen* screen = window.screen())
        window.placeBeside(screen->availableGeometry());
}

int WindowStart::run(Settings& settings, const Scenario& state, const QVector<double>& k,
                     const QVector<double>& chi, const ProgramState::Paths& paths,
                     const AbsorptionState::Loaded* mu) {
    Session session;
    ChiK& window = *session.main();
    QObject::connect(&window, SIGNAL(finishing()), qApp, SLOT(closeAllWindows()));
    window.applyScenario(state, k, chi, paths, mu);
    keepView(window.view, settings);
    QObject::connect(
        &window, &ChiK::languageChosen, &window,
        [&settings](Startup::Language language) { Startup::remember(language, settings); });
    window.show();
    placeWindows(window, settings);
    if (!window.notes.isEmpty())
        window.showNotes();
    if (mu)
        window.showAbsorption();
    const int result = QApplication::exec();
    settings.setGeometry(Settings::Window::ChiK, window.saveGeometry());
    settings.setGeometry(Settings::Window::ChiR, window.chiR->saveGeometry());
    return result;
}
