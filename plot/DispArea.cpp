#include "DispArea.h"

#include <QPaintEngine>
#include <QPainter>

DispArea::DispArea(QWidget* parent) : QFrame(parent) {
    // Moves must arrive with no button held, for hovering over handles.
    setAttribute(Qt::WA_MouseTracking);
    // Every plot fills the whole surface with an opaque colour first, so
    // nothing under it needs painting before it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(&coord, SIGNAL(updated()), this, SLOT(update()));
}

void DispArea::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // Pixel y grows downward, world y upward: bottom is the widget's height.
    coord.setPixelArea(0, height(), width(), 0);
    // The plots are thousands of one-pixel spans. Qt 5's AVX2 solid fill
    // into the window surface's 32-bit formats is slow for such spans on
    // some processors; into ARGB32 (not premultiplied) every span takes
    // another path. Its blends round as the surface's do, so every pixel
    // comes out the same. Qt 6 fills fast but paints ARGB32 several times
    // slower, so it paints directly, as do vector devices (SVG, PDF).
    if (QT_VERSION >= QT_VERSION_CHECK(6, 0, 0) ||
        painter.paintEngine()->type() != QPaintEngine::Raster) {
        emit draw(&painter);
        return;
    }
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = size() * ratio;
    if (offscreen.size() != pixels) {
        offscreen = QImage(pixels, QImage::Format_ARGB32);
        // Opaque from the start, and the plots paint over every pixel with
        // an opaque colour first, so every pixel stays opaque.
        offscreen.fill(palette().color(backgroundRole()));
        offscreen.setDevicePixelRatio(ratio);
        // The widget's resolution, so that text gets the same size.
        offscreen.setDotsPerMeterX(qRound(logicalDpiX() / 0.0254));
        offscreen.setDotsPerMeterY(qRound(logicalDpiY() / 0.0254));
    }
    {
        // What a painter on the widget starts with.
        QPainter image(&offscreen);
        image.setPen(QPen(palette().brush(foregroundRole()), 1));
        image.setBackground(palette().brush(backgroundRole()));
        image.setFont(font());
        image.setLayoutDirection(layoutDirection());
        emit draw(&image);
    }
    // Opaque ARGB32 pixels are RGB32 pixels, byte for byte, and RGB32 is the
    // window surface's format (X11 at depth 24, offscreen): read as such, the
    // image is copied line by line instead of converted and blended.
    offscreen.reinterpretAsFormat(QImage::Format_RGB32);
    painter.drawImage(0, 0, offscreen);
    offscreen.reinterpretAsFormat(QImage::Format_ARGB32);
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
