#pragma once

#include "ui_ChiR.h"

#include <QMainWindow>
#include <QVector>

class AWave;
class ChCoord;
class MouseC;
class QPainter;

// The second window: chi(R) of the waves, the selection of what is drawn,
// and a pointer line dragged to read off R.
class ChiR : public QMainWindow, public Ui_ChiR {
    Q_OBJECT
public:
    explicit ChiR(QWidget* parent = nullptr);

    // The R range the plot shows; its data export covers the same bins.
    static constexpr double rMin = -2;
    static constexpr double rMax = 10;

    // Moves the pointer line to R, shows it in the box and repaints.
    void setPointer(double r);

    // The File menu's work without its dialogs; faults go to a message box.
    bool exportPictureFile(const QString& path);
    bool exportDataFile(const QString& path);

    MouseC* mouse = nullptr;
    ChCoord* coord = nullptr;
    bool grabbed = false;
    double pointerR = 2.0;
    const QVector<AWave*>* waves = nullptr;

private slots:
    void drawR(QPainter* p);
    void mMoved();
    void mPressed();
    void mReleased();
    // A number typed into the Pointer box moves the line there.
    void pointerTyped();
    void exportPicture();
    void exportData();
    void copyPicture();
    void about();
};
