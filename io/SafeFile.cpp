#include "SafeFile.h"

#include "Escaped.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// The signals a user or a session manager sends to end the program. While a
// set of files is being written they are held back: the handler only notes
// the signal, and it is raised again once the set is whole and the
// temporaries are gone. The handler is process-wide, so it holds whichever
// thread the signal is delivered to.
volatile std::sig_atomic_t heldSignal = 0;

extern "C" void noteSignal(int signal) {
    heldSignal = signal;
}

class HeldSignals {
public:
    HeldSignals() {
        heldSignal = 0;
        struct sigaction note {};
        note.sa_handler = noteSignal;
        sigemptyset(&note.sa_mask);
        for (int i = 0; i < count; ++i)
            sigaddset(&note.sa_mask, kinds[i]);
        for (int i = 0; i < count; ++i) {
            struct sigaction old {};
            ::sigaction(kinds[i], nullptr, &old);
            // A signal the program ignores stays ignored.
            installed[i] =
                old.sa_handler != SIG_IGN && ::sigaction(kinds[i], &note, &saved[i]) == 0;
        }
    }
    ~HeldSignals() {
        for (int i = 0; i < count; ++i)
            if (installed[i])
                ::sigaction(kinds[i], &saved[i], nullptr);
        if (const int signal = heldSignal) {
            heldSignal = 0;
            ::raise(signal);
        }
    }
    HeldSignals(const HeldSignals&) = delete;
    HeldSignals& operator=(const HeldSignals&) = delete;

private:
    static constexpr int count = 3;
    static constexpr int kinds[count] = {SIGINT, SIGTERM, SIGHUP};
    struct sigaction saved[count] {};
    bool installed[count] = {};
};

// An exclusive flock on the folder itself, held for one whole write, so that
// two programs writing into one folder take turns instead of leaving a
// mixture of both sets. Locking the folder rather than a lock file in it
// leaves nothing behind, also after a refused write.
class FolderLock {
public:
    FolderLock() = default;
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    ~FolderLock() {
        if (fd >= 0)
            ::close(fd); // releases the lock
    }
    // 0 when held, else an errno value; EWOULDBLOCK when another writer
    // still held it after waitMs.
    int take(const QString& folder, int waitMs) {
        fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return errno;
        for (int waited = 0;; waited += stepMs) {
            if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
                return 0;
            if (errno != EWOULDBLOCK && errno != EINTR)
                return errno;
            if (waited >= waitMs)
                return EWOULDBLOCK;
            ::usleep(stepMs * 1000);
        }
    }

private:
    static constexpr int stepMs = 20;
    int fd = -1;
};

QString systemReason(int error) {
    return qt_error_string(error);
}

// Why a file of this type is not read; empty for a regular file or a pipe.
QString refusedForReading(mode_t mode) {
    if (S_ISDIR(mode))
        return SafeFile::tr("it is a folder");
    if (!S_ISREG(mode) && !S_ISFIFO(mode))
        return SafeFile::tr("it is a device or a socket, not a file");
    return QString();
}

// Why an existing entry may not be replaced by a write; empty for a regular
// file.
QString refusedForWriting(mode_t mode) {
    if (S_ISLNK(mode))
        return SafeFile::tr("it is a symbolic link");
    if (S_ISDIR(mode))
        return SafeFile::tr("it is a folder");
    if (!S_ISREG(mode))
        return SafeFile::tr("it is not a regular file");
    return QString();
}

bool writeEverything(int fd, const QByteArray& bytes, int* error) {
    const char* next = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, next, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            // A write that stops short without an error is a full disk.
            *error = n < 0 ? errno : ENOSPC;
            return false;
        }
        next += n;
        left -= n;
    }
    if (::fsync(fd) != 0 && errno != EINVAL) {
        *error = errno;
        return false;
    }
    return true;
}

} // namespace

bool SafeFile::readAll(const QString& path, qint64 limit, const QString& what, QByteArray* data,
                       QString* error) {
    QString why;
    switch (read(path, limit, data, &why)) {
    case Read::Done:
        return true;
    case Read::Failed:
        break;
    case Read::TooLarge:
        // Every limit is a whole number of MiB.
        why = tr("The file %1 is larger than %2 MiB, too large for %3.")
                  .arg(Escaped::path(path))
                  .arg(limit >> 20)
                  .arg(what);
        break;
    }
    if (error)
        *error = why;
    return false;
}

SafeFile::Read SafeFile::read(const QString& path, qint64 limit, QByteArray* data, QString* error,
                              int waitMs) {
    auto fail = [&](const QString& why) {
        if (error)
            *error = tr("The file %1 cannot be read: %2.").arg(Escaped::path(path), why);
        return Read::Failed;
    };
    const QByteArray name = QFile::encodeName(path);
    if (path.isEmpty() || name.contains('\0'))
        return fail(tr("the name is not a usable path"));
    struct stat st;
    if (::stat(name.constData(), &st) != 0)
        return fail(systemReason(errno));
    QString refused = refusedForReading(st.st_mode);
    if (!refused.isEmpty())
        return fail(refused);
    // Never blocking: a FIFO without a writer would hold open() forever.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return fail(systemReason(errno));
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    // What was opened is what is read, even if the name changed meanwhile.
    if (::fstat(fd, &st) != 0)
        return fail(systemReason(errno));
    refused = refusedForReading(st.st_mode);
    if (!refused.isEmpty())
        return fail(refused);
    const bool pipe = S_ISFIFO(st.st_mode);

    QByteArray bytes;
    if (!pipe)
        bytes.reserve(int(std::min<qint64>(st.st_size, limit) + 1));
    char chunk[1 << 16];
    while (bytes.size() <= limit) {
        if (pipe) {
            pollfd p{fd, POLLIN, 0};
            const int ready = ::poll(&p, 1, waitMs);
            if (ready < 0 && errno == EINTR)
                continue;
            if (ready < 0)
                return fail(systemReason(errno));
            if (ready == 0)
                return fail(tr("no data arrived within %1 seconds").arg(waitMs / 1000.0));
        }
        const qint64 want = std::min<qint64>(sizeof chunk, limit + 1 - bytes.size());
        const ssize_t n = ::read(fd, chunk, size_t(want));
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n < 0)
            return fail(systemReason(errno));
        if (n == 0)
            break;
        bytes.append(chunk, int(n));
    }
    if (bytes.size() > limit)
        return Read::TooLarge;
    *data = bytes;
    return Read::Done;
}

bool SafeFile::write(const QString& folder, const QVector<Entry>& files, Folder mode,
                     QStringList* written, QString* error, int lockWaitMs) {
    const QDir dir(folder);
    auto failWith = [&](const QString& path, const QString& why) {
        *error = tr("The file %1 cannot be written: %2.").arg(Escaped::path(path), why);
        return false;
    };

    // The folders this write makes, outermost first, so that a failure can
    // take them away again.
    QStringList made;
    auto removeMade = [&] {
        for (int i = made.size() - 1; i >= 0; --i)
            QDir().rmdir(made[i]);
    };
    const QFileInfo folderInfo(folder);
    if (folderInfo.exists() && !folderInfo.isDir())
        return failWith(dir.filePath(files.value(0).name),
                        tr("%1 is not a folder").arg(Escaped::path(folder)));
    if (!folderInfo.exists()) {
        if (mode == Folder::MustExist)
            return failWith(dir.filePath(files.value(0).name), systemReason(ENOENT));
        for (QString p = QDir::cleanPath(dir.absolutePath()); !QFileInfo::exists(p);) {
            made.prepend(p);
            const QString up = QFileInfo(p).path();
            if (up == p)
                break;
            p = up;
        }
        if (!QDir().mkpath(dir.absolutePath())) {
            removeMade();
            *error = tr("Cannot create the folder %1.").arg(Escaped::path(folder));
            return false;
        }
    }

    // One writer at a time in a folder, from the checks to the last rename.
    FolderLock lock;
    if (const int e = lock.take(dir.absolutePath(), lockWaitMs)) {
        removeMade();
        if (e != EWOULDBLOCK)
            return failWith(dir.filePath(files.value(0).name), systemReason(e));
        *error = tr("Another program is writing into the folder %1; nothing was written.")
                     .arg(Escaped::path(folder));
        return false;
    }

    // Everything that would be replaced is checked before anything is written.
    QVector<int> keptModes(files.size(), -1);
    for (int i = 0; i < files.size(); ++i) {
        const QString path = dir.filePath(files[i].name);
        struct stat st;
        if (::lstat(QFile::encodeName(path).constData(), &st) == 0) {
            const QString refused = refusedForWriting(st.st_mode);
            if (!refused.isEmpty()) {
                removeMade();
                return failWith(path, refused);
            }
            keptModes[i] = int(st.st_mode & 07777);
        } else if (errno != ENOENT) {
            const int e = errno;
            removeMade();
            return failWith(path, systemReason(e));
        }
    }

    // From the first temporary to the last rename, an interrupt or a
    // termination waits until the set is whole or the temporaries are gone.
    const HeldSignals held;
    QStringList temporaries;
    auto removeTemporaries = [&] {
        for (const QString& t : std::as_const(temporaries))
            ::unlink(QFile::encodeName(t).constData());
    };
    for (int i = 0; i < files.size(); ++i) {
        const QString path = dir.filePath(files[i].name);
        int fd = -1;
        QString temporary;
        for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
            temporary = dir.filePath(
                QStringLiteral(".%1.%2.tmp")
                    .arg(files[i].name)
                    .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
            fd = ::open(QFile::encodeName(temporary).constData(),
                        O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
            if (fd < 0 && errno != EEXIST)
                break;
        }
        int e = errno;
        bool ok = fd >= 0;
        if (ok) {
            temporaries << temporary;
            // A replaced file keeps its permissions.
            if (keptModes[i] >= 0 && ::fchmod(fd, mode_t(keptModes[i])) != 0) {
                e = errno;
                ok = false;
            }
            ok = ok && writeEverything(fd, files[i].bytes, &e);
            if (::close(fd) != 0 && ok) {
                e = errno;
                ok = false;
            }
        }
        if (!ok) {
            removeTemporaries();
            removeMade();
            return failWith(path, systemReason(e));
        }
    }

    // All complete: now they replace the old files. A rename replaces the
    // entry itself and never writes through a link put there meanwhile.
    QStringList done;
    for (int i = 0; i < files.size(); ++i) {
        const QString path = dir.filePath(files[i].name);
        if (::rename(QFile::encodeName(temporaries[i]).constData(),
                     QFile::encodeName(path).constData()) != 0) {
            const int e = errno;
            temporaries = temporaries.mid(i);
            removeTemporaries();
            return failWith(path, systemReason(e));
        }
        done << path;
    }
    // The renames themselves on disk too (best effort: not every file
    // system syncs a folder).
    const int dirFd = ::open(QFile::encodeName(dir.absolutePath()).constData(),
                             O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    if (written)
        *written = done;
    return true;
}
