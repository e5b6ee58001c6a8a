#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QVector>

class ChiK;
class Settings;
struct Scenario;

// tovik [-j|-e] [--scenario FILE] [--lesson NAME] [--data FILE] [--export DIR] [--help]
//       [--version]
// Arguments it does not know are ignored, as -j and -e always were.
class CommandLine {
    Q_DECLARE_TR_FUNCTIONS(CommandLine)

public:
    // Before the application object exists: an export shows no window, so
    // unless the user chose a platform it runs on the offscreen one and needs
    // no display.
    static void preparePlatform(int argc, char** argv);

    // Everything after the application object and the catalogue; returns
    // the exit code.
    static int run(const QStringList& arguments);

    // Whether the arguments ask for an export, before they are parsed.
    static bool isExport(const QStringList& arguments);
    // Both windows where `settings` remembers them, else side by side.
    static void placeWindows(ChiK& window, const Settings& settings);

    // Builds the program unseen, renders both plots as in their 800 x 600
    // windows and writes every export file into `dir` (created if missing).
    // Either all files are written or none is left from this run, and the
    // files there before stay as they were.
    // `k` and `chi` are the scenario's data file, already read (empty: none).
    static bool exportAll(const QString& dir, const Scenario& state, const QVector<double>& k,
                          const QVector<double>& chi, QStringList* written, QString* error);
};
