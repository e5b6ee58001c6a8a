#pragma once

#include <QByteArray>
#include <QString>

// Writes `data` to `path` through a temporary file that is renamed over it
// only when everything was written, so a failure leaves an existing file as
// it was. On failure answers false with the system's reason in `reason`.
bool writeAtomically(const QString& path, const QByteArray& data, QString* reason);
