#pragma once

#include "ui_ChiK.h"

#include <QMainWindow>
#include <QVector>

class AWave;
class ChiR;
class QPainter;

// The main window: the chi(k) plot above the wave's control panel. Its
// constructor builds and wires the whole program; afterwards everything is
// driven by signals.
class ChiK : public QMainWindow, public Ui_ChiK {
    Q_OBJECT
public:
    explicit ChiK(QWidget* parent = nullptr);
    ~ChiK() override;

    ChiR* chiR = nullptr;
    QVector<AWave*> waves;

signals:
    void finishing();

private slots:
    void draw(QPainter* p);
};
