#include "WaveCtrl.h"

#include "Number.h"
#include "Palette.h"
#include "ParameterTable.h"

#include <QEvent>
#include <QLayout>
#include <QSignalBlocker>

#include <algorithm>
#include <cmath>

namespace {
constexpr WaveCtrl::Box allBoxes[] = {WaveCtrl::RBox, WaveCtrl::Phi0Box, WaveCtrl::Phi2Box,
                                      WaveCtrl::SigBox, WaveCtrl::DE0Box};
}

WaveCtrl::WaveCtrl(QWidget* parent) : QFrame(parent) {
    setupUi(this);
    formulaTip = label_6->toolTip();
    for (QLineEdit* box : {NVal, RVal, Phi0Val, Phi2Val, SigVal, DE0Val})
        box->setStyleSheet(Palette::valueBoxStyle());
    // The sliders span their parameters' ranges in their steps.
    NBar->setRange(KWeight::minimum, KWeight::maximum);
    for (Box b : allBoxes) {
        const ParameterRow& row = parameterRow(parameterOf(b));
        bar(b)->setRange(qRound(row.minimum * row.stepsPerUnit),
                         qRound(row.maximum * row.stepsPerUnit));
    }
    for (Box b : allBoxes)
        values[b] = bar(b)->value() / steps(b);
    connect(NBar, SIGNAL(valueChanged(int)), this, SLOT(selectedNewN(int)));
    connect(RBar, SIGNAL(valueChanged(int)), this, SLOT(selectedNewR(int)));
    connect(Phi0Bar, SIGNAL(valueChanged(int)), this, SLOT(selectedNewPhi0(int)));
    connect(Phi2Bar, SIGNAL(valueChanged(int)), this, SLOT(selectedNewPhi2(int)));
    connect(SigBar, SIGNAL(valueChanged(int)), this, SLOT(selectedNewSig(int)));
    connect(DE0Bar, SIGNAL(valueChanged(int)), this, SLOT(selectedNewDE0(int)));
    connect(Flat, SIGNAL(clicked()), this, SIGNAL(enFlat()));
    // Unchecking counts as a change of selection as much as checking does.
    connect(SelEnvelope, SIGNAL(toggled(bool)), this, SIGNAL(newSelection()));
    connect(SelWindowF, SIGNAL(toggled(bool)), this, SIGNAL(newSelection()));
    connect(SelDebye, SIGNAL(toggled(bool)), this, SIGNAL(newSelection()));
    connect(RVal, SIGNAL(editingFinished()), this, SLOT(rTyped()));
    connect(Phi0Val, SIGNAL(editingFinished()), this, SLOT(phi0Typed()));
    connect(Phi2Val, SIGNAL(editingFinished()), this, SLOT(phi2Typed()));
    connect(SigVal, SIGNAL(editingFinished()), this, SLOT(sigmaTyped()));
    connect(DE0Val, SIGNAL(editingFinished()), this, SLOT(dE0Typed()));
}

QSlider* WaveCtrl::bar(Box box) const {
    QSlider* const bars[] = {RBar, Phi0Bar, Phi2Bar, SigBar, DE0Bar};
    return bars[box];
}

QLineEdit* WaveCtrl::valueBox(Box box) const {
    QLineEdit* const boxes[] = {RVal, Phi0Val, Phi2Val, SigVal, DE0Val};
    return boxes[box];
}

ModelParameter WaveCtrl::parameterOf(Box box) {
    static const ModelParameter parameters[] = {ModelParameter::R, ModelParameter::P0,
                                                ModelParameter::P2, ModelParameter::Sigma,
                                                ModelParameter::DeltaE0};
    return parameters[box];
}

bool WaveCtrl::boxOf(ModelParameter p, Box* box) {
    for (Box b : allBoxes) {
        if (parameterOf(b) == p) {
            *box = b;
            return true;
        }
    }
    return false;
}

double WaveCtrl::steps(Box box) {
    return parameterRow(parameterOf(box)).stepsPerUnit;
}

double WaveCtrl::lowest(Box box) const {
    return bar(box)->minimum() / steps(box);
}

double WaveCtrl::highest(Box box) const {
    return bar(box)->maximum() / steps(box);
}

void WaveCtrl::announce(Box box, double value) {
    values[box] = value;
    switch (box) {
    case RBox:
        emit newR(value);
        break;
    case Phi0Box:
        emit newPhi0(value);
        break;
    case Phi2Box:
        emit newPhi2(value);
        break;
    case SigBox:
        emit newSig(value);
        break;
    case DE0Box:
        emit newDE0(value);
        break;
    }
}

bool WaveCtrl::setExact(Box box, double value) {
    if (!(std::isfinite(value) && value >= lowest(box) && value <= highest(box)))
        return false;
    {
        // The slider only points at the value; its own step is not sent.
        const QSignalBlocker silent(bar(box));
        bar(box)->setValue(qRound(value * steps(box)));
    }
    showValue(box, value);
    announce(box, value);
    return true;
}

void WaveCtrl::showValue(Box box, double value) {
    // As many digits as the box has room for; the exact value, which the
    // model uses, in the tooltip.
    QLineEdit* const b = valueBox(box);
    const int digit = std::max(1, b->fontMetrics().horizontalAdvance(QLatin1Char('0')));
    const int room = std::max(4, (b->contentsRect().width() - 8) / digit);
    shown[box] = fittedNumber(value, room);
    exact[box] = shortestNumber(value);
    b->setText(shown[box]);
    showExactValues();
}

void WaveCtrl::showExactValues() {
    for (int box = 0; box < boxCount; ++box) {
        QLineEdit* const b = valueBox(Box(box));
        if (formTips[box].isEmpty())
            formTips[box] = b->toolTip();
        b->setToolTip(shown[box] == exact[box] ? formTips[box]
                                               : formTips[box] + QLatin1Char('\n') +
                                                     tr("Exact value: %1").arg(exact[box]));
    }
}

void WaveCtrl::typed(Box box) {
    bool ok = false;
    const QString text = valueBox(box)->text();
    const double value = text.toDouble(&ok);
    // The same value again (Return, then leaving the box) is no change, and
    // neither is the shortened text the box shows for it.
    if (ok && (value == values[box] || text == shown[box]))
        ok = false;
    if (!ok || !setExact(box, value))
        showValue(box, values[box]);
}

void WaveCtrl::showFormula(double amplitude, double phi1, const QString& pathName) {
    formulaAmplitude = amplitude;
    formulaPhi1 = phi1;
    formulaPath = pathName;
    const bool withA = amplitude != 1;
    const bool withP1 = phi1 != 0;
    // The factor as the line has room for; the exact one in the tooltip.
    const QString factor = fittedNumber(amplitude, formulaDigits);
    QString tip = formulaTip;
    if (withA && factor != shortestNumber(amplitude))
        tip += QLatin1Char('\n') + tr("N*S0^2 = %1 exactly").arg(shortestNumber(amplitude));
    label_6->setToolTip(tip);
    QString text;
    if (!pathName.isEmpty())
        text = tr("k^n * W(k) * N*S0^2 * |f(k)| * exp(-2R/lambda(k)) / (k R^2) * sin( 2kR + "
                  "phase(k) + P0 + P1*k + P2*k^2 ) * exp( -2 * Sigma^2 * k^2 ),  k = sqrt(k^2 - "
                  "0.2625*dE0)   : N*S0^2 = %1, path %2")
                   .arg(factor, pathName);
    else if (withA && withP1)
        text = tr("k^n * W(k) * N*S0^2 * (1/k) * (1/R^2) * F(k) * sin( 2KR + P0 + P1*k + P2*k^2 ) "
                  "* exp( -2 * Sigma^2 * k^2 )   : N*S0^2 = %1")
                   .arg(factor);
    else if (withA)
        text = tr("k^n * W(k) * N*S0^2 * (1/k) * (1/R^2) * F(k) * sin( 2KR + P0 + P2*k^2 ) * exp( "
                  "-2 * Sigma^2 * k^2 )   : N*S0^2 = %1")
                   .arg(factor);
    else if (withP1)
        text = tr("k^n * W(k) * S0^2 * (1/k) * (1/R^2) * F(k) * sin( 2KR + P0 + P1*k + P2*k^2 ) * "
                  "exp( -2 * Sigma^2 * k^2 )   : S0 = 1.0");
    else
        text = QCoreApplication::translate(
            "WaveCtrl", "k^n * W(k) * S0^2 * (1/k) * (1/R^2) * F(k) * sin( 2KR + P0 + P2*k^2 ) * "
                        "exp( -2 * Sigma^2 * k^2 )   : S0 = 1.0");
    if (text == label_6->text())
        return;
    label_6->setText(text);
    // A longer formula may take another line: the layouts up to the window
    // settle now, so the plot's resize and the coming update are one paint.
    for (QWidget* w = this; w; w = w->parentWidget()) {
        if (w->layout())
            w->layout()->activate();
    }
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
    const double R = r / steps(RBox);
    showValue(RBox, R);
    announce(RBox, R);
}

void WaveCtrl::selectedNewPhi0(int p) {
    const double p0 = p / steps(Phi0Box);
    showValue(Phi0Box, p0);
    announce(Phi0Box, p0);
}

void WaveCtrl::selectedNewPhi2(int p) {
    const double p2 = p / steps(Phi2Box);
    showValue(Phi2Box, p2);
    announce(Phi2Box, p2);
}

void WaveCtrl::selectedNewDE0(int e) {
    const double dE0 = e / steps(DE0Box);
    showValue(DE0Box, dE0);
    announce(DE0Box, dE0);
}

void WaveCtrl::selectedNewSig(int s) {
    const double sig = s / steps(SigBox);
    showValue(SigBox, sig);
    announce(SigBox, sig);
}

void WaveCtrl::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        retranslateUi(this);
        for (QString& tip : formTips)
            tip.clear();
        formulaTip = label_6->toolTip();
        showExactValues();
        // The form's own text is the plain formula: the terms in use again.
        showFormula(formulaAmplitude, formulaPhi1, formulaPath);
    }
    QFrame::changeEvent(event);
}
