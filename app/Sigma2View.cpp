#include "Sigma2View.h"

#include "Palette.h"

#include <QPainter>

Sigma2View::Sigma2View(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Sigma2View"));
    setMinimumHeight(160);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

void Sigma2View::setInputs(const Sigma2PlotInputs& inputs) {
    shown = inputs;
    setToolTip(tr("σ² (Å²) of each data set against its temperature (K), with its error bar, "
                  "and the Einstein model's curve"));
    update();
}

QSize Sigma2View::sizeHint() const {
    return QSize(400, 200);
}

void Sigma2View::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Palette::background());
    Sigma2Plot::paint(p, rect(), shown);
}
