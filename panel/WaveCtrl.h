#pragma once

#include "ui_WaveCtrl.h"

#include <QFrame>

// The slider panel of one wave. It holds no parameter of its own: each
// slider position is turned into a value, shown in its box and announced;
// the wave reads the factor switches itself whenever it synthesises.
class WaveCtrl : public QFrame, public Ui_WaveCtrl {
    Q_OBJECT
public:
    explicit WaveCtrl(QWidget* parent = nullptr);

signals:
    void newN(int N);
    void newR(double R);
    void newPhi0(double Phi0);
    void newPhi2(double Phi2);
    void newSig(double sig);
    void enFlat();
    void newSelection();

public slots:
    void setWindowPos(int i, double p);

private slots:
    void selectedNewN(int n);
    void selectedNewR(int r);
    void selectedNewPhi0(int p);
    void selectedNewPhi2(int p);
    void selectedNewSig(int s);
    // Sigma typed into its box: applied through the slider, or refused.
    void sigmaTyped();

protected:
    // The form's texts in the new language; the values stay.
    void changeEvent(QEvent* event) override;
};
