#pragma once

#include "ChCoord.h"
#include "DrawText.h"
#include "MouseC.h"

#include <QFrame>
#include <QImage>

class QPainter;

// The surface both plots are drawn on. It draws nothing itself: every paint
// fits the frame to the current size and hands a painter to the renderer;
// every mouse event goes, unfiltered, to the relay. On screen the renderer
// paints into an image that is then copied to the surface. A renderer first
// fills the whole surface with an opaque colour: nothing under it is painted.
class DispArea : public QFrame {
    Q_OBJECT
public:
    explicit DispArea(QWidget* parent = nullptr);

    ChCoord coord;
    MouseC mouse;
    DrawText textDrawer;

signals:
    void draw(QPainter* p);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;

private:
    QImage offscreen; // kept between paints, reallocated on a resize
};
