#include "CommandLine.h"

#include "ChiDataReader.h"
#include "ChiK.h"
#include "ChiR.h"
#include "Escaped.h"
#include "FileCommands.h"
#include "FitRun.h"
#include "Lessons.h"
#include "SafeFile.h"
#include "Scenario.h"
#include "Session.h"
#include "Settings.h"
#include "Startup.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QScreen>
#include <QSet>

#include <cstdio>
#include <utility>

namespace {
// An export prints the paths it wrote and its errors, nothing else: the
// toolkit's notes about the headless platform would only bury them.
void quietNotes(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fputs(qPrintable(qFormatLogMessage(type, context, message) + QLatin1Char('\n')),
                   stderr);
}

void printLine(FILE* stream, const QString& line) {
    std::fputs(qPrintable(line + QLatin1Char('\n')), stream);
    std::fflush(stream);
}

// Errors name untrusted paths and texts: escaped and bounded, one line.
void printError(const QString& message) {
    printLine(stderr, QStringLiteral("tovik: ") + Escaped::message(message));
}

// Drops the options the parser does not know (and nothing else), so that
// they are ignored while a missing value is still an error.
QStringList knownOnly(QCommandLineParser& parser, const QStringList& arguments) {
    parser.parse(arguments);
    const QStringList unknownNames = parser.unknownOptionNames();
    const QSet<QString> unknown(unknownNames.begin(), unknownNames.end());
    if (unknown.isEmpty())
        return arguments;
    QStringList kept;
    bool afterDoubleDash = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        if (i > 0 && !afterDoubleDash && a.startsWith(QLatin1Char('-')) && a.size() > 1) {
            if (a == QLatin1String("--")) {
                afterDoubleDash = true;
            } else {
                QString name = a.mid(a.startsWith(QLatin1String("--")) ? 2 : 1);
                name =
                    name.left(name.indexOf(QLatin1Char('=')) < 0 ? name.size() : name.indexOf('='));
                if (unknown.contains(name))
                    continue;
                // An option that takes a value keeps the next argument as it.
                if ((name == QLatin1String("scenario") || name == QLatin1String("data") ||
                     name == QLatin1String("export") || name == QLatin1String("lesson")) &&
                    !a.contains(QLatin1Char('=')) && i + 1 < arguments.size()) {
                    kept << a << arguments.at(++i);
                    continue;
                }
            }
        }
        kept << a;
    }
    return kept;
}
} // namespace

void CommandLine::preparePlatform(int argc, char** argv) {
    bool windowless = false, exporting = false, fitting = false;
    for (int i = 1; i < argc; ++i) {
        const QByteArray a(argv[i]);
        if (a == "--export" || a.startsWith("--export=") || a == "-export")
            exporting = true;
        else if (a == "--fit" || a == "-fit")
            fitting = true;
        else if (a == "--help" || a == "-help" || a == "--help-all" || a == "-help-all" ||
                 a == "-h" || a == "-?" || a == "--version" || a == "-version" || a == "-v")
            windowless = true;
    }
    if ((windowless || exporting || fitting) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (exporting || fitting)
        qInstallMessageHandler(quietNotes);
}

void CommandLine::placeWindows(ChiK& window, const Settings& settings) {
    const QByteArray k = settings.geometry(Settings::Window::ChiK);
    const QByteArray r = settings.geometry(Settings::Window::ChiR);
    // Where the user left them; at the first start side by side if the
    // screen has room, rather than on top of each other.
    if (!k.isEmpty() && !r.isEmpty() && window.restoreGeometry(k) &&
        window.chiR->restoreGeometry(r))
        return;
    if (const QScreen* screen = window.screen())
        window.placeBeside(screen->availableGeometry());
}

namespace {
// The program built unseen, laid out and painted as in its 800 x 600
// windows, with the scenario and its data applied.
struct Headless {
    Session session;
    ChiK& window = *session.main();
    Headless(const Scenario& state, const QVector<double>& k, const QVector<double>& chi) {
        window.setAttribute(Qt::WA_DontShowOnScreen);
        window.chiR->setAttribute(Qt::WA_DontShowOnScreen);
        window.chiR->show();
        window.show();
        window.applyScenario(state, k, chi);
    }
};
} // namespace

bool CommandLine::exportAll(const QString& dir, const Scenario& state, const QVector<double>& k,
                            const QVector<double>& chi, QStringList* written, QString* error) {
    Headless program(state, k, chi);
    QVector<SafeFile::Entry> files;
    return program.window.files->exportFiles(&files, error) &&
           SafeFile::write(dir, files, SafeFile::Folder::Create, written, error);
}

bool CommandLine::isExport(const QStringList& arguments) {
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        if (a == QLatin1String("--export") || a.startsWith(QLatin1String("--export=")) ||
            a == QLatin1String("-export"))
            return true;
    }
    return false;
}

int CommandLine::run(const QStringList& arguments) {
    // The language of the help text too. An export depends on its arguments
    // alone; the windows start in the language chosen last.
    Settings settings;
    Startup::setLanguage(isExport(arguments) ? Startup::languageFromArguments(arguments)
                                             : Startup::chosenLanguage(arguments, settings));

    QCommandLineParser parser;
    parser.setApplicationDescription(tr("Tovik: chi(k) and chi(R) of one EXAFS shell."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption japanese(QStringLiteral("j"), tr("Japanese interface (the default)."));
    const QCommandLineOption english(QStringLiteral("e"), tr("English interface."));
    const QCommandLineOption scenarioOption(QStringLiteral("scenario"),
                                            tr("Open the scenario FILE at start."), tr("FILE"));
    const QCommandLineOption exportOption(
        QStringLiteral("export"),
        tr("Show no window: write both plots as PNG and SVG and their data as CSV into DIR, "
           "then exit."),
        tr("DIR"));
    const QCommandLineOption dataOption(
        QStringLiteral("data"), tr("Show the measured chi(k) in FILE with the model."), tr("FILE"));
    // The lessons are listed in the manual page and the README, not here.
    const QCommandLineOption lessonOption(
        QStringLiteral("lesson"),
        tr("Open the lesson NAME (its file name) from the lessons folder."), tr("NAME"));

    const QCommandLineOption fitOption(
        QStringLiteral("fit"),
        tr("Show no window: fit the model to the measured data and print the result as JSON; "
           "with --export the pictures show the fitted model and DIR gets fit.json too."));
    parser.addOptions(
        {japanese, english, scenarioOption, lessonOption, dataOption, exportOption, fitOption});
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();

    if (!parser.parse(knownOnly(parser, arguments))) {
        printError(parser.errorText());
        return 2;
    }
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        printLine(stdout, parser.helpText().trimmed());
        return 0;
    }
    if (parser.isSet(version)) {
        printLine(stdout, QStringLiteral("tovik %1").arg(QStringLiteral(TOVIK_VERSION)));
        return 0;
    }

    // The windows start with the view options of the last run; an export
    // depends on nothing but its arguments.
    const bool exporting = parser.isSet(exportOption);
    Scenario state;
    if (!exporting) {
        const Settings::View view = settings.view();
        state.viewAxes = view.axes;
        state.viewLegend = view.legend;
        state.viewPhysical = view.physical;
        state.viewLockScales = view.lockScales;
    }
    if (parser.isSet(scenarioOption)) {
        QString error;
        if (!Scenario::readFile(parser.value(scenarioOption), state, &state, &error)) {
            printError(error);
            return 1;
        }
    }
    if (parser.isSet(lessonOption)) {
        const QString name = parser.value(lessonOption);
        const QString path = Lessons::find(name);
        QString error;
        if (path.isEmpty()) {
            // The name is the user's own text: printError escapes it.
            printError(tr("There is no lesson \"%1\" in %2.")
                           .arg(name, QDir::toNativeSeparators(Lessons::folder().isEmpty()
                                                                   ? tr("the lessons folder")
                                                                   : Lessons::folder())));
            return 1;
        }
        if (!Scenario::readFile(path, state, &state, &error)) {
            printError(error);
            return 1;
        }
    }
    if (parser.isSet(dataOption))
        state.dataFile = QFileInfo(parser.value(dataOption)).absoluteFilePath();
    // The data file is read once, here: a data file that cannot be read
    // stops the start before any window, and a pipe can be read only once.
    QVector<double> k, chi;
    if (!state.dataFile.isEmpty()) {
        QString error;
        if (!ChiDataReader::readFile(state.dataFile, &k, &chi, &error)) {
            printError(error);
            return 1;
        }
    }

    if (parser.isSet(fitOption)) {
        if (k.isEmpty()) {
            printError(tr("A fit needs measured data: give --data FILE or a scenario with "
                          "measuredData."));
            return 1;
        }
        Headless program(state, k, chi);
        const FitRun fit = runFit(*program.window.waves.first(), *program.window.measured,
                                  state.fitVary, state.fitRMin, state.fitRMax);
        if (!fit.result.ok) {
            printError(tr("No fit: %1").arg(fit.result.error));
            return 1;
        }
        const QByteArray json = QJsonDocument(fit.report).toJson(QJsonDocument::Indented);
        if (exporting) {
            applyFit(*program.window.waves.first(), fit.result);
            QVector<SafeFile::Entry> files;
            QString error;
            if (!program.window.files->exportFiles(&files, &error)) {
                printError(error);
                return 1;
            }
            files.append({QStringLiteral("fit.json"), json});
            QStringList written;
            if (!SafeFile::write(parser.value(exportOption), files, SafeFile::Folder::Create,
                                 &written, &error)) {
                printError(error);
                return 1;
            }
        }
        std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
        return 0;
    }

    if (exporting) {
        QStringList written;
        QString error;
        if (!exportAll(parser.value(exportOption), state, k, chi, &written, &error)) {
            printError(error);
            return 1;
        }
        for (const QString& path : std::as_const(written))
            printLine(stdout, path);
        return 0;
    }

    Session session;
    ChiK& window = *session.main();
    QObject::connect(&window, SIGNAL(finishing()), qApp, SLOT(closeAllWindows()));
    window.applyScenario(state, k, chi);
    const ViewOptions* view = window.view;
    QObject::connect(view, &ViewOptions::changed, view, [view, &settings] {
        settings.setView({view->axes, view->legend, view->physical, view->lockScales});
    });
    QObject::connect(
        &window, &ChiK::languageChosen, &window,
        [&settings](Startup::Language language) { Startup::remember(language, settings); });
    window.show();
    placeWindows(window, settings);
    if (!window.notes.isEmpty())
        window.showNotes();
    const int result = QApplication::exec();
    settings.setGeometry(Settings::Window::ChiK, window.saveGeometry());
    settings.setGeometry(Settings::Window::ChiR, window.chiR->saveGeometry());
    return result;
}
