#include "SafeFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

// The all-or-nothing write of a set of files, seen from the folder it writes
// into: permissions, a second writer, and signals while it writes.
class tst_SafeFile : public QObject {
    Q_OBJECT
private slots:
    void modeKept_data();
    void modeKept();
    void secondWriter();
    void signalDuringWrite_data();
    void signalDuringWrite();
};

namespace {
QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

QStringList temporaries(const QString& folder) {
    return QDir(folder).entryList({"*.tmp"}, QDir::Files | QDir::Hidden);
}

int modeOf(const QString& path) {
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}
} // namespace

void tst_SafeFile::modeKept_data() {
    QTest::addColumn<int>("mode");
    QTest::newRow("600") << 0600;
    QTest::newRow("640") << 0640;
    QTest::newRow("755") << 0755;
}

void tst_SafeFile::modeKept() {
    QFETCH(int, mode);
    QTemporaryDir dir;
    const QString path = dir.filePath("chik.csv");
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode_t(mode)), 0);
    QString error;
    QVERIFY2(SafeFile::write(dir.path(), {{"chik.csv", "new"}, {"fresh.csv", "x"}},
                             SafeFile::Folder::MustExist, nullptr, &error),
             qPrintable(error));
    QCOMPARE(contents(path), QByteArray("new"));
    QCOMPARE(modeOf(path), mode);
    // A new file gets what the user's umask leaves of rw-rw-rw-.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    QCOMPARE(modeOf(dir.filePath("fresh.csv")), int(0666 & ~mask));
}

void tst_SafeFile::secondWriter() {
    QTemporaryDir dir;
    QString error;
    QVERIFY(SafeFile::write(dir.path(), {{"a", "old a"}, {"b", "old b"}},
                            SafeFile::Folder::MustExist, nullptr, &error));
    // Another writer holds the folder's lock (through its own open file, as
    // another process would).
    const int other =
        ::open(QFile::encodeName(dir.path()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    QVERIFY(other >= 0);
    QCOMPARE(::flock(other, LOCK_EX | LOCK_NB), 0);

    // It gives up after its wait, writing nothing.
    QVERIFY(!SafeFile::write(dir.path(), {{"a", "new a"}, {"b", "new b"}},
                             SafeFile::Folder::MustExist, nullptr, &error, 100));
    QVERIFY2(error.startsWith("Another program is writing into the folder"), qPrintable(error));
    QCOMPARE(contents(dir.filePath("a")), QByteArray("old a"));
    QCOMPARE(contents(dir.filePath("b")), QByteArray("old b"));
    QVERIFY(temporaries(dir.path()).isEmpty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"a", "b"}));

    // It waits for the other to finish, then writes its whole set.
    std::thread release([other] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        ::close(other);
    });
    QElapsedTimer timer;
    timer.start();
    const bool ok = SafeFile::write(dir.path(), {{"a", "new a"}, {"b", "new b"}},
                                    SafeFile::Folder::MustExist, nullptr, &error, 5000);
    const qint64 waited = timer.elapsed();
    release.join();
    QVERIFY2(ok, qPrintable(error));
    QVERIFY2(waited >= 250, qPrintable(QString::number(waited)));
    QCOMPARE(contents(dir.filePath("a")), QByteArray("new a"));
    QCOMPARE(contents(dir.filePath("b")), QByteArray("new b"));
}

void tst_SafeFile::signalDuringWrite_data() {
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGINT") << SIGINT;
    QTest::newRow("SIGHUP") << SIGHUP;
}

void tst_SafeFile::signalDuringWrite() {
    QFETCH(int, signal);
    QTemporaryDir dir;
    const int count = 6;
    QVector<SafeFile::Entry> oldSet, newSet;
    for (int i = 0; i < count; ++i) {
        const QString name = QStringLiteral("file%1").arg(i);
        oldSet.append({name, QByteArray("old")});
        // Large enough that the write is still going when the signal comes.
        newSet.append({name, QByteArray(8 << 20, char('a' + i))});
    }
    QString error;
    QVERIFY(SafeFile::write(dir.path(), oldSet, SafeFile::Folder::MustExist, nullptr, &error));

    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        // As in the program: the signals' default actions, not the test
        // framework's handlers.
        for (const int s : {SIGINT, SIGTERM, SIGHUP})
            std::signal(s, SIG_DFL);
        QString e;
        ::_exit(SafeFile::write(dir.path(), newSet, SafeFile::Folder::MustExist, nullptr, &e) ? 0
                                                                                              : 3);
    }
    // The signal is sent as soon as a temporary shows, in the middle of the
    // write.
    QElapsedTimer timer;
    timer.start();
    while (temporaries(dir.path()).isEmpty() && timer.elapsed() < 20000)
        ;
    QVERIFY(::kill(child, signal) == 0);
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    // The program still ends by the signal, but only after the set is whole.
    QVERIFY2(WIFSIGNALED(status) && WTERMSIG(status) == signal,
             qPrintable(QString::number(status)));
    QVERIFY2(temporaries(dir.path()).isEmpty(), qPrintable(temporaries(dir.path()).join(' ')));
    for (int i = 0; i < count; ++i)
        QVERIFY2(contents(dir.filePath(newSet[i].name)) == newSet[i].bytes,
                 qPrintable(newSet[i].name));
}

QTEST_GUILESS_MAIN(tst_SafeFile)
#include "tst_SafeFile.moc"
