#include "ChiK.h"

#include <QPainter>

ChiK::ChiK(QWidget* parent) : QMainWindow(parent) {
    setupUi(this);
    connect(DispA, SIGNAL(draw(QPainter*)), this, SLOT(draw(QPainter*)));
}

ChiK::~ChiK() = default;

void ChiK::draw(QPainter* p) {
    const QRect r = DispA->geometry();
    p->fillRect(QRect(0, 0, r.width(), r.height()), QColor(255, 255, 255, 255));
}
