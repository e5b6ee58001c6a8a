#pragma once

#include "ui_WaveCtrl.h"

#include <QFrame>

enum class ModelParameter;

// The slider panel of one wave. Each slider position is turned into a value,
// shown in its box and announced; a value typed into the R, P0, P2 or Sigma
// box is announced exactly as typed. The wave reads the factor switches
// itself whenever it synthesises.
class WaveCtrl : public QFrame, public Ui_WaveCtrl {
    Q_OBJECT
public:
    explicit WaveCtrl(QWidget* parent = nullptr);

    // The boxes that take a typed value.
    enum Box { RBox, Phi0Box, Phi2Box, SigBox, DE0Box };

    // Takes `value` as a typed one: a finite value in the slider's range is
    // shown with as many digits as the box has room for (the exact value in
    // its tooltip) and announced exactly, and the slider
    // moves to the nearest step without announcing its own value. Anything
    // else changes nothing and answers false.
    bool setExact(Box box, double value);
    // The parameter a box holds, and the box holding `p` when there is one.
    static ModelParameter parameterOf(Box box);
    static bool boxOf(ModelParameter p, Box* box);
    // The range of a box: its slider's ends.
    double lowest(Box box) const;
    double highest(Box box) const;
    // The value the box stands for: the last one announced or set.
    double current(Box box) const { return values[box]; }

    // Shows in the formula the terms in use: the amplitude A = N*S0^2 when it
    // is not 1 and the linear phase P1*k when P1 is not 0; with a scattering
    // path (`pathName` not empty) the theory's form and the path's file.
    void showFormula(double amplitude, double phi1, const QString& pathName = QString());

signals:
    void newN(int N);
    void newR(double R);
    void newPhi0(double Phi0);
    void newPhi2(double Phi2);
    void newSig(double sig);
    void newDE0(double dE0);
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
    void selectedNewDE0(int e);
    void rTyped() { typed(RBox); }
    void phi0Typed() { typed(Phi0Box); }
    void phi2Typed() { typed(Phi2Box); }
    void sigmaTyped() { typed(SigBox); }
    void dE0Typed() { typed(DE0Box); }

private:
    QSlider* bar(Box box) const;
    QLineEdit* valueBox(Box box) const;
    // A slider position per unit of the value.
    static double steps(Box box);
    void announce(Box box, double value);
    void typed(Box box);

    static constexpr int boxCount = 5;
    double values[boxCount] = {};
    // What each box shows, its exact value, and its tooltip from the form.
    QString shown[boxCount], exact[boxCount], formTips[boxCount];
    QString formulaTip;
    static constexpr int formulaDigits = 8;
    void showValue(Box box, double value);
    void showExactValues();
    // What the formula label shows, kept for a change of language.
    double formulaAmplitude = 1;
    double formulaPhi1 = 0;
    QString formulaPath;

protected:
    // The form's texts in the new language; the values and formula stay.
    void changeEvent(QEvent* event) override;
};
