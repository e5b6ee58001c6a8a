#pragma once

#include "AbsorptionState.h"
#include "ProgramState.h"
#include "Startup.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

struct Scenario;

// tovik [-j|-e] [--scenario FILE] [--lesson NAME] [--data FILE] [--data2 FILE] [--mu FILE]
//       [--path FILE] [--export DIR] [--fit] [--ratio] [--help] [--version]
// Arguments it does not know are ignored, as -j and -e always were.
class CommandLine {
    Q_DECLARE_TR_FUNCTIONS(CommandLine)

public:
    // What the arguments ask for, read once, before the application object
    // exists (the platform is chosen first); every later step reads this.
    struct Options {
        // -j or -e, compared whole and case-sensitively wherever they
        // stand; the last one wins. None when neither is given.
        std::optional<Startup::Language> language;
        bool help = false; // --help, -h, --help-all
        bool version = false;
        bool fit = false;
        bool ratio = false; // --ratio: the ratio method on --data and --data2
        std::optional<QString> scenario;
        std::optional<QString> lesson;
        std::optional<QString> data;
        std::optional<QString> path; // the main shell's scattering path
        std::optional<QString> mu;
        std::optional<QString> data2;
        std::optional<QString> exportDir;
        // The arguments cannot be used (a missing value): the parser's
        // message, in English as it was made; errorText() shows it in the
        // language chosen since.
        QString error;

        // An export or a fit: it depends on its arguments alone and
        // touches no settings.
        bool headless() const { return exportDir.has_value() || fit || ratio; }
        // Nothing is shown on the screen: a headless run, the help, the
        // version or an error.
        // --data2 belongs to --ratio alone; without it the run is refused
        // before any window.
        bool windowless() const {
            return headless() || help || version || !error.isEmpty() || data2.has_value();
        }
        QString errorText() const;
    };

    // `arguments` with the program's name first. Never fails: an error is
    // kept in the result.
    static Options parse(const QStringList& arguments);
    // The process's own arguments, decoded as the application object
    // would decode them.
    static Options parse(int argc, char** argv);

    // Before the application object exists: a run that shows no window uses
    // the offscreen platform unless the user chose one, and so needs no
    // display; an export or a fit keeps the toolkit's notes to itself.
    static void preparePlatform(const Options& options);

    // Everything after the application object; returns the exit code.
    static int run(const Options& options);

    // The options' descriptions in the language installed now.
    static QString helpText();

    // Builds the program unseen, renders both plots as in their 800 x 600
    // windows and writes every export file into `dir` (created if missing).
    // Either all files are written or none is left from this run, and the
    // files there before stay as they were.
    // `k` and `chi` are the scenario's data file, already read (empty: none),
    // `paths` its path files (ProgramState::readPaths),
    // `mu` its mu(E), already processed (none: no mu(E)).
    static bool exportAll(const QString& dir, const Scenario& state, const QVector<double>& k,
                          const QVector<double>& chi, QStringList* written, QString* error,
                          const ProgramState::Paths& paths = {},
                          const AbsorptionState::Loaded* mu = nullptr);
};
