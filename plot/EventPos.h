#pragma once

#include <QMouseEvent>
#include <QtGlobal>

// The pointer's position in the receiving widget, unrounded: the one mouse
// event accessor whose name differs between Qt 5 (localPos, deprecated in
// Qt 6) and Qt 6 (position, absent from Qt 5). Code reads it only here.
inline QPointF eventPos(const QMouseEvent* e) {
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return e->position();
#else
    return e->localPos();
#endif
}
