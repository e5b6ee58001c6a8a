#pragma once

#include "AbsorptionResult.h"
#include "ui_AbsorptionWindow.h"

#include <QMainWindow>
#include <QString>

class AbsorptionState;
class QPainter;
class ViewOptions;

// The third window: the measured mu(E) with its pre-edge line, post-edge
// curve, background and a draggable E0 mark, switched to the normalised
// mu(E) or its derivative, and the boxes that set the way to chi(k). Every
// change goes through the state, which the chi(k) and chi(R) plots follow.
class AbsorptionWindow : public QMainWindow, public Ui_AbsorptionWindow {
    Q_OBJECT
public:
    AbsorptionWindow(AbsorptionState& state, const ViewOptions* view, QWidget* parent = nullptr);

    // The settings the boxes hold; false with one translated sentence for a
    // box that is not a number.
    bool settingsFromBoxes(AbsorptionSettings* settings, QString* error) const;
    // The value axis's title for the curves shown.
    QString valueTitle() const;
    // Whether a drag of the E0 mark is under way.
    bool dragging() const { return grabbed; }

public slots:
    // The boxes and the key from the state, and a repaint.
    void stateChanged();

private slots:
    void draw(QPainter* p);
    void boxesEdited();
    void mPressed();
    void mMoved();
    void mReleased();

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();
    // The processing with E0 at `e0`; a fault shows in the status bar, for
    // a drag must not stop at a message box.
    void moveEdge(double e0);

    AbsorptionState& state;
    const ViewOptions* view;
    bool grabbed = false;
};
