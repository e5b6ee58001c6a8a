#include "AtomicWrite.h"

#include <QSaveFile>

bool writeAtomically(const QString& path, const QByteArray& data, QString* reason) {
    QSaveFile file(path);
    // Unbuffered: Qt 5.15's QSaveFile::commit() ignores a write that fails
    // while it flushes its buffer and renames the truncated file into place.
    // Written directly, every failure shows here; an uncommitted QSaveFile
    // removes its temporary file.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        *reason = file.errorString();
        return false;
    }
    const char* next = data.constData();
    qint64 left = data.size();
    // A short write (a size limit reached, a full disk) is retried once more,
    // which then fails with the system's reason.
    while (left > 0) {
        const qint64 written = file.write(next, left);
        if (written <= 0) {
            *reason = file.errorString();
            return false;
        }
        next += written;
        left -= written;
    }
    if (!file.commit()) {
        *reason = file.errorString();
        return false;
    }
    return true;
}
