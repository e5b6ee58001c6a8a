#include "Lessons.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

const QString Lessons::suffix = QStringLiteral(".tovik.json");

QString Lessons::folder() {
    const QString program = QCoreApplication::applicationDirPath();
    const QStringList candidates{program + QStringLiteral("/../lessons"),
                                 program + QStringLiteral("/../share/tovik/lessons"),
                                 QStringLiteral(TOVIK_LESSONS_DIR)};
    for (const QString& dir : candidates)
        if (QFileInfo(dir).isDir())
            return QDir::cleanPath(QFileInfo(dir).absoluteFilePath());
    return QString();
}

QVector<Lessons::Entry> Lessons::list(const QString& dir) {
    QVector<Entry> lessons;
    if (dir.isEmpty())
        return lessons;
    const QFileInfoList files =
        QDir(dir).entryInfoList({QLatin1Char('*') + suffix}, QDir::Files, QDir::Name);
    for (const QFileInfo& file : files) {
        Scenario lesson;
        // One damaged file costs its own entry only.
        if (!Scenario::readFile(file.filePath(), Scenario(), &lesson, nullptr))
            continue;
        const QString name = file.fileName().chopped(suffix.size());
        if (lesson.title.isEmpty())
            lesson.title = {name, name};
        lessons.append({name, file.absoluteFilePath(), lesson.title});
    }
    return lessons;
}

QString Lessons::find(const QString& name, const QString& dir) {
    // A name, not a path: nothing outside the folder.
    if (dir.isEmpty() || name.isEmpty() || name.contains(QLatin1Char('/')) ||
        name.contains(QLatin1Char('\\')))
        return QString();
    const QString file = name.endsWith(suffix) ? name : name + suffix;
    const QFileInfo info(QDir(dir).filePath(file));
    return info.isFile() ? info.absoluteFilePath() : QString();
}
