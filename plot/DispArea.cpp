#include "DispArea.h"

#include <QPainter>

DispArea::DispArea(QWidget* parent) : QFrame(parent) {
    // Moves must arrive with no button held, for hovering over handles.
    setAttribute(Qt::WA_MouseTracking);
    connect(&coord, SIGNAL(updated()), this, SLOT(update()));
}

void DispArea::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // Pixel y grows downward, world y upward: bottom is the widget's height.
    coord.setPixelArea(0, height(), width(), 0);
    emit draw(&painter);
}

void DispArea::mouseMoveEvent(QMouseEvent* e) {
    mouse.onMove(e);
}
void DispArea::mousePressEvent(QMouseEvent* e) {
    mouse.onPress(e);
}
void DispArea::mouseReleaseEvent(QMouseEvent* e) {
    mouse.onRelease(e);
}
void DispArea::mouseDoubleClickEvent(QMouseEvent* e) {
    mouse.onDClick(e);
}
void DispArea::wheelEvent(QWheelEvent* e) {
    mouse.onWheel(e);
}
