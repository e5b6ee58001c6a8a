#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QVector>

// Reading and writing that a hostile path cannot turn against the user.
//
// Reading takes regular files and pipes only (a named FIFO, or a shell's
// process substitution such as <(gunzip -c x.gz)); folders, devices and
// sockets are refused before they are opened. At most limit + 1 bytes are
// read, so a file of unknown size cannot fill the memory, and a pipe that
// brings no data for pipeWaitMs gives up instead of waiting forever.
//
// Writing is all or nothing for a set of files in one folder: each file goes
// to a temporary file beside it first, and only when all are written and
// flushed to disk are they renamed into place. On any failure before that
// the temporaries are removed and the files already there stay as they
// were. Only regular files are replaced; a symbolic link, a folder, a FIFO
// or a device in the way refuses the whole write before anything is written.
//
// A write holds an exclusive lock (flock) on the folder itself from its
// checks to its last rename: a second writer into the same folder waits for
// it (up to lockWaitMs) or fails without writing anything. SIGINT, SIGTERM
// and SIGHUP that arrive while the files are written and renamed take effect
// only when the set is whole (or, after a failure, when the temporaries are
// removed). SIGKILL or a power cut during the renames can still leave some
// files new and some old, and temporaries named .NAME.XXXXXXXX.tmp behind.
class SafeFile {
    Q_DECLARE_TR_FUNCTIONS(SafeFile)

public:
    static constexpr int pipeWaitMs = 5000;
    static constexpr int lockWaitMs = 10000;

    enum class Read { Done, TooLarge, Failed };
    // On Failed, `error` holds one translated sentence naming the file.
    static Read read(const QString& path, qint64 limit, QByteArray* data, QString* error,
                     int waitMs = pipeWaitMs);
    // The same for a reader of one kind of file: false with one sentence in
    // `error`, naming `what` the file should have been (a translated noun
    // phrase such as "a scenario") when it is larger than `limit`.
    static bool readAll(const QString& path, qint64 limit, const QString& what, QByteArray* data,
                        QString* error);

    struct Entry {
        QString name; // a plain file name inside the folder
        QByteArray bytes;
    };
    enum class Folder { MustExist, Create };
    // Writes every entry into `folder`; on success `written` holds the paths
    // in order. With Folder::Create the missing folders are made, and removed
    // again when the write fails.
    static bool write(const QString& folder, const QVector<Entry>& files, Folder mode,
                      QStringList* written, QString* error, int lockWaitMs = SafeFile::lockWaitMs);
};
