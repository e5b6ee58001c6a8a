#pragma once

#include <QObject>
#include <QPoint>

class QMouseEvent;
class QWheelEvent;

// Records the latest mouse event of each kind in public members, then emits a
// parameterless signal; receivers read the members (they run inside the event
// handler, so they always see the data of the event that woke them).
class MouseC : public QObject {
    Q_OBJECT
public:
    explicit MouseC(QObject* parent = nullptr);

    void onMove(QMouseEvent* e);
    void onPress(QMouseEvent* e);
    void onRelease(QMouseEvent* e);
    void onDClick(QMouseEvent* e);
    void onWheel(QWheelEvent* e);

    // Whole notches of 15 degrees from a delta in eighths of a degree,
    // truncated toward zero (a high-resolution wheel's partial step gives 0).
    static int wheelStep(int delta);

    QPoint prevPos;
    QPoint curPos;
    QPoint pressPos;
    QPoint releasePos;
    QPoint dClickPos;
    bool pressed = false;
    Qt::MouseButton moveButton = Qt::NoButton;
    Qt::MouseButton pressButton = Qt::NoButton;
    Qt::MouseButton releaseButton = Qt::NoButton;
    Qt::MouseButton dClickButton = Qt::NoButton;
    Qt::KeyboardModifiers moveModifiers = Qt::NoModifier;
    Qt::KeyboardModifiers pressModifiers = Qt::NoModifier;
    Qt::KeyboardModifiers releaseModifiers = Qt::NoModifier;
    Qt::KeyboardModifiers dClickModifiers = Qt::NoModifier;

signals:
    void mMoved();
    void mPressed();
    void mReleased();
    void mDClicked();
    void wheelMoved(int step);
};
