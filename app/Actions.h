#pragma once

#include "Startup.h"

#include <QObject>

class QAction;
class QMenu;

// The View menu's entries both windows share, made once: one check mark
// serves both menus, and one language switch retranslates them.
class Actions : public QObject {
    Q_OBJECT
public:
    explicit Actions(QObject* parent = nullptr);

    QAction* const axes;
    QAction* const legend;
    QAction* const physical;
    QAction* const lockScales;
    // Filtered chi(q): the R window on chi(R), chi(q) on chi(k).
    QAction* const filtered;
    QAction* const arrange;
    // File > Open measured mu(E)… of the chi(k) and mu(E) windows, and
    // View > mu(E), which shows that window.
    QAction* const openMu;
    QAction* const muWindow;
    QAction* const japanese;
    QAction* const english;

    // Puts the shared entries into one window's View menu, whose form
    // begins with a separator: the options above it, Arrange just below it,
    // and the two languages into its Language submenu.
    void addTo(QMenu* view, QMenu* language) const;
    // The texts in the current language and the check mark on it.
    void retranslate();
};
