#pragma once

#include "Scenario.h"

#include <QString>
#include <QVector>

// The lessons that come with the program: scenarios with a title and notes
// in a folder of their own, installed beside the program's other data and
// copied into the build folder, so both a build and an installation find
// them whatever the current directory.
class Lessons {
public:
    struct Entry {
        QString name; // the file name without ".tovik.json"
        QString path;
        LocalText title;
    };

    static const QString suffix; // ".tovik.json"

    // The first of the folders that exists: the build's (next to the
    // program's folder), the installation's relative to the program, the
    // installation's at its configured place. Empty if none does.
    static QString folder();
    // Every lesson of `dir` that reads as a scenario, by file name.
    static QVector<Entry> list(const QString& dir = folder());
    // The lesson NAME (with or without the suffix) of `dir`, or empty.
    static QString find(const QString& name, const QString& dir = folder());
};
