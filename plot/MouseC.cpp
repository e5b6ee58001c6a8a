#include "MouseC.h"

#include "EventPos.h"

#include <QMouseEvent>
#include <QWheelEvent>

namespace {
QPoint rounded(const QMouseEvent* e) {
    const QPointF p = eventPos(e);
    return QPoint(qRound(p.x()), qRound(p.y()));
}
} // namespace

MouseC::MouseC(QObject* parent) : QObject(parent) {}

void MouseC::onMove(QMouseEvent* e) {
    prevPos = curPos;
    curPos = rounded(e);
    moveButton = e->button();
    moveModifiers = e->modifiers();
    emit mMoved();
}

void MouseC::onPress(QMouseEvent* e) {
    prevPos = curPos;
    curPos = pressPos = rounded(e);
    pressed = true;
    pressButton = e->button();
    pressModifiers = e->modifiers();
    emit mPressed();
}

void MouseC::onRelease(QMouseEvent* e) {
    prevPos = curPos;
    curPos = releasePos = rounded(e);
    pressed = false;
    releaseButton = e->button();
    releaseModifiers = e->modifiers();
    emit mReleased();
}

void MouseC::onDClick(QMouseEvent* e) {
    dClickPos = rounded(e);
    dClickButton = e->button();
    dClickModifiers = e->modifiers();
    emit mDClicked();
}

int MouseC::wheelStep(int delta) {
    return static_cast<int>(delta * 0.125 / 15.0);
}

void MouseC::onWheel(QWheelEvent* e) {
    // The dominant axis, as the old single-axis delta() reported it.
    const QPoint a = e->angleDelta();
    const int delta = qAbs(a.y()) >= qAbs(a.x()) ? a.y() : a.x();
    emit wheelMoved(wheelStep(delta));
}
