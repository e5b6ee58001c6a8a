#pragma once

#include <QCoreApplication>

class QWidget;

// Help > About of both windows.
class About {
    Q_DECLARE_TR_FUNCTIONS(About)

public:
    static QString text();
    static void show(QWidget* parent);
};
