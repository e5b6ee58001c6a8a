#include "WindowFunc.h"

#include "ChCoord.h"
#include "HandleHit.h"
#include "HanningWindow.h"
#include "MouseC.h"
#include "Palette.h"

#include <QEvent>
#include <QLineEdit>

#include <cmath>
#include <utility>

WindowFunc::WindowFunc(QWidget* parent) : QFrame(parent) {
    setupUi(this);
    grabbed = false;
    grabbedIndex = -1;
    riseSpan = fallSpan = 0;
    riseFactor = fallFactor = 0;
    positions = {-1, -1, -1, -1};
    edits = {Pos1, Pos2, Pos3, Pos4};
    for (QLineEdit* box : edits)
        box->setStyleSheet(Palette::valueBoxStyle());
    // From the top down, so that every call lands in its own slot without
    // being re-sorted past the still unset -1 entries.
    setPos(3, 16.0);
    setPos(2, 15.0);
    setPos(1, 4.0);
    setPos(0, 3.0);
    for (int i = 0; i < edits.size(); ++i) {
        connect(edits[i], SIGNAL(editingFinished()), this, SLOT(newPosInput()));
        edits[i]->setText(QString::number(positions[i], 'g', 6));
    }
}

void WindowFunc::setPos(int i, double p) {
    placePos(i, p);
}

int WindowFunc::placePos(int i, double p) {
    const int count = positions.size();
    if (i < 0 || i >= count)
        return i;
    // A NaN position would make every comparison of W(k) false and hand NaN
    // to the synthesis; an infinite one gives inf - inf in the spans.
    if (!std::isfinite(p))
        return i;
    if (positions[i] == p)
        return i;
    positions[i] = p;

    int placed = i;
    for (int l = 0; l < count - 1; ++l) {
        for (int j = l + 1; j < count; ++j) {
            if (positions[j] < positions[l]) {
                std::swap(positions[j], positions[l]);
                if (placed == l)
                    placed = j;
                else if (placed == j)
                    placed = l;
            }
        }
    }

    // The half-period factors pi / gap of the shape, for whoever inspects the
    // window (valueAt computes its own). An empty gap, or one whose
    // reciprocal overflows, keeps the previous factor.
    const double rise = positions[1] - positions[0];
    if (rise > 0 && std::isfinite(1 / rise * programPi)) {
        riseSpan = 1 / rise;
        riseFactor = riseSpan * programPi;
    }
    const double fall = positions[3] - positions[2];
    if (fall > 0 && std::isfinite(1 / fall * programPi)) {
        fallSpan = 1 / fall;
        fallFactor = fallSpan * programPi;
    }

    for (int e = 0; e < edits.size() && e < count; ++e)
        edits[e]->setText(QString::number(positions[e], 'g', 6));
    emit updated();
    return placed;
}

void WindowFunc::newPosInput() {
    const int i = edits.indexOf(qobject_cast<QLineEdit*>(sender()));
    if (i < 0)
        return;
    bool ok = false;
    const double p = edits[i]->text().toDouble(&ok);
    if (!ok || !std::isfinite(p)) {
        // Garbage is not a position: show the one that stays.
        edits[i]->setText(QString::number(positions[i], 'g', 6));
        return;
    }
    setPos(i, p);
}

double WindowFunc::valueAt(double k) const {
    return hanningWindow({positions[0], positions[1], positions[2], positions[3]}, k);
}

void WindowFunc::mPressed() {
    grabbed = false;
    if (!coord || !mouse)
        return;
    // The handles sit on the zero line.
    const double y = coord->toPixelY(0.0);
    const int found = nearestHandle(
        positions.size(), [&](int i) { return QPointF(coord->toPixelX(positions[i]), y); },
        mouse->curPos);
    if (found >= 0) {
        grabbed = true;
        grabbedIndex = found;
    }
}

void WindowFunc::mMoved() {
    if (!grabbed || !coord || !mouse)
        return;
    // The re-sort may carry the dragged value past a neighbour; the grab
    // follows the value, so the neighbour is never overwritten.
    grabbedIndex = placePos(grabbedIndex, coord->toWorldX(mouse->curPos.x()));
}

void WindowFunc::mReleased() {
    grabbedIndex = -1;
    grabbed = false;
}

void WindowFunc::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslateUi(this);
    QFrame::changeEvent(event);
}
