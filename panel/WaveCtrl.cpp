#include "WaveCtrl.h"

#include <QEvent>

WaveCtrl::WaveCtrl(QWidget* parent) : QFrame(parent) {
    setupUi(this);
    connect(NBar, SIGNAL(valueChanged(int)), this, SLOT(selectedNewN(int)));
    connect(RBar, SIGNAL(valueChanged(int)), this, SLOT(selectedNewR(int)));
    connect(Phi0Bar, SIGNAL(valueChanged(int)), this, SLOT(selectedNewPhi0(int)));
    connect(Phi2Bar, SIGNAL(valueChanged(int)), this, SLOT(selectedNewPhi2(int)));
    connect(SigBar, SIGNAL(valueChanged(int)), this, SLOT(selectedNewSig(int)));
    connect(Flat, SIGNAL(clicked()), this, SIGNAL(enFlat()));
    // Unchecking counts as a change of selection as much as checking does.
    connect(SelEnvelope, SIGNAL(toggled(bool)), this, SIGNAL(newSelection()));
    connect(SelWindowF, SIGNAL(toggled(bool)), this, SIGNAL(newSelection()));
    connect(SelDebye, SIGNAL(toggled(bool)), this, SIGNAL(newSelection()));
    connect(SigVal, SIGNAL(editingFinished()), this, SLOT(sigmaTyped()));
}

void WaveCtrl::sigmaTyped() {
    bool ok = false;
    const double typed = SigVal->text().toDouble(&ok);
    const double low = SigBar->minimum() / 1000.0;
    const double high = SigBar->maximum() / 1000.0;
    // The slider carries the value, so a typed one lands on its nearest step
    // and takes the road of a slider move from there.
    if (ok && typed >= low && typed <= high)
        SigBar->setValue(qRound(typed * 1000));
    SigVal->setText(QString::number(SigBar->value() / 1000.0, 'g', 6));
}

void WaveCtrl::setWindowPos(int i, double p) {
    WindowCtrl->setPos(i, p);
}

// Each slot shows the value before announcing it, so the box is already
// right while the wave recomputes.

void WaveCtrl::selectedNewN(int n) {
    NVal->setText(QString::number(n, 10));
    emit newN(n);
}

void WaveCtrl::selectedNewR(int r) {
    const double R = r / 10.0;
    RVal->setText(QString::number(R, 'g', 6));
    emit newR(R);
}

void WaveCtrl::selectedNewPhi0(int p) {
    const double p0 = p / 10.0;
    Phi0Val->setText(QString::number(p0, 'g', 6));
    emit newPhi0(p0);
}

void WaveCtrl::selectedNewPhi2(int p) {
    const double p2 = p / 100.0;
    Phi2Val->setText(QString::number(p2, 'g', 6));
    emit newPhi2(p2);
}

void WaveCtrl::selectedNewSig(int s) {
    const double sig = s / 1000.0;
    SigVal->setText(QString::number(sig, 'g', 6));
    emit newSig(sig);
}

void WaveCtrl::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslateUi(this);
    QFrame::changeEvent(event);
}
