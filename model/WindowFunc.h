#pragma once

#include "ui_WindowFunc.h"

#include <QFrame>
#include <QVector>

class ChCoord;
class MouseC;
class QLineEdit;

// The k-space window W(k) and the small panel its four positions are typed
// into. W is the four-position Hanning shape (hanningWindow): 0 below Pos1,
// rising along half a cosine period to 1 at Pos2, 1 up to Pos3, falling back
// to 0 at Pos4. The positions are also dragged as handles on the zero line
// of the chi(k) plot.
class WindowFunc : public QFrame, public Ui_WindowFunc {
    Q_OBJECT
public:
    explicit WindowFunc(QWidget* parent = nullptr);

    double valueAt(double k) const;

    // Not owned; the main window sets both once the chi(k) plot exists.
    MouseC* mouse = nullptr;
    ChCoord* coord = nullptr;
    bool grabbed = false;
    int grabbedIndex = -1;
    QVector<double> positions;
    QVector<QLineEdit*> edits;
    double riseSpan = 0;
    double fallSpan = 0;
    double riseFactor = 0;
    double fallFactor = 0;

signals:
    void updated();

public slots:
    void setPos(int i, double p);
    void newPosInput();
    void mPressed();
    void mMoved();
    void mReleased();

protected:
    // The form's texts in the new language; the positions stay.
    void changeEvent(QEvent* event) override;

private:
    // setPos that answers where the new value ended up after the re-sort.
    int placePos(int i, double p);
};
