#include "CommandLine.h"

#include "ChiDataReader.h"
#include "ChiK.h"
#include "ChiR.h"
#include "Escaped.h"
#include "FileCommands.h"
#include "FilteredCurves.h"
#include "FitRun.h"
#include "Lessons.h"
#include "RatioRun.h"
#include "SafeFile.h"
#include "Scenario.h"
#include "SeriesRun.h"
#include "Session.h"
#include "Settings.h"
#include "WindowStart.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSet>

#include <clocale>
#include <cstdio>
#include <memory>
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

const QString japaneseName = QStringLiteral("j");
const QString englishName = QStringLiteral("e");
const QString scenarioName = QStringLiteral("scenario");
const QString lessonName = QStringLiteral("lesson");
const QString dataName = QStringLiteral("data");
const QString pathName = QStringLiteral("path");
const QString muName = QStringLiteral("mu");
const QString exportName = QStringLiteral("export");
const QString fitName = QStringLiteral("fit");
const QString data2Name = QStringLiteral("data2");
const QString ratioName = QStringLiteral("ratio");
const QString helpAllName = QStringLiteral("help-all");

// The program's options, their descriptions in the language installed now,
// and the parser's own --help and --version.
QList<QCommandLineOption> define(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        CommandLine::tr("Tovik: chi(k) and chi(R) of one EXAFS shell."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QList<QCommandLineOption> options{
        {japaneseName, CommandLine::tr("Japanese interface (the default).")},
        {englishName, CommandLine::tr("English interface.")},
        {scenarioName, CommandLine::tr("Open the scenario FILE at start."),
         CommandLine::tr("FILE")},
        // The lessons are listed in the manual page and the README, not here.
        {lessonName,
         CommandLine::tr("Open the lesson NAME (its file name) from the lessons folder."),
         CommandLine::tr("NAME")},
        {dataName, CommandLine::tr("Show the measured chi(k) in FILE with the model."),
         CommandLine::tr("FILE")},
        {pathName,
         CommandLine::tr("Give the main shell the scattering path in FILE (feffNNNN.dat)."),
         CommandLine::tr("FILE")},
        {muName,
         CommandLine::tr("Show the chi(k) of the measured mu(E) in FILE with the model, and "
                         "mu(E) in its window."),
         CommandLine::tr("FILE")},
        {exportName,
         CommandLine::tr("Show no window: write both plots as PNG and SVG and their data as CSV "
                         "into DIR, then exit."),
         CommandLine::tr("DIR")},
        {fitName, CommandLine::tr("Show no window: fit the model to the measured data and print "
                                  "the result as JSON; with --export the pictures show the fitted "
                                  "model and DIR gets fit.json too.")},
        {data2Name, CommandLine::tr("The second measured chi(k) of the ratio method."),
         CommandLine::tr("FILE")},
        {ratioName,
         CommandLine::tr("Show no window: filter the scenario's R window out of --data and "
                         "--data2 and print the ratio method's result as JSON (--data minus "
                         "--data2).")}};
    parser.addOptions(options);
    parser.addHelpOption();
    parser.addVersionOption();
    return options;
}

// Drops the options the parser does not know (and nothing else), so that
// they are ignored while a missing value is still an error.
QStringList knownOnly(QCommandLineParser& parser, const QList<QCommandLineOption>& options,
                      const QStringList& arguments) {
    QSet<QString> takingValues;
    for (const QCommandLineOption& option : options)
        if (!option.valueName().isEmpty())
            for (const QString& name : option.names())
                takingValues.insert(name);
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
                if (takingValues.contains(name) && !a.contains(QLatin1Char('=')) &&
                    i + 1 < arguments.size()) {
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

CommandLine::Options CommandLine::parse(const QStringList& arguments) {
    Options options;
    for (int i = 1; i < arguments.size(); ++i) {
        if (arguments.at(i) == QLatin1Char('-') + japaneseName)
            options.language = Startup::Language::Japanese;
        else if (arguments.at(i) == QLatin1Char('-') + englishName)
            options.language = Startup::Language::English;
    }
    QCommandLineParser parser;
    const QList<QCommandLineOption> defined = define(parser);
    if (!parser.parse(knownOnly(parser, defined, arguments)))
        options.error = parser.errorText();
    // What was read before an error too: a missing export folder is still
    // an export's error.
    options.help = parser.isSet(QStringLiteral("help")) || parser.isSet(helpAllName);
    options.version = parser.isSet(QStringLiteral("version"));
    options.fit = parser.isSet(fitName);
    options.ratio = parser.isSet(ratioName);
    auto value = [&parser](const QString& name) {
        return parser.isSet(name) ? std::optional<QString>(parser.value(name)) : std::nullopt;
    };
    options.scenario = value(scenarioName);
    options.lesson = value(lessonName);
    options.data = value(dataName);
    options.path = value(pathName);
    options.mu = value(muName);
    options.data2 = value(data2Name);
    options.exportDir = value(exportName);
    return options;
}

CommandLine::Options CommandLine::parse(int argc, char** argv) {
    // The application object sets the locale from the environment before
    // it decodes its arguments; these are decoded the same way, earlier.
    std::setlocale(LC_ALL, "");
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return parse(arguments);
}

QString CommandLine::Options::errorText() const {
    // No catalogue is installed while the arguments are parsed: the
    // parser's message is its source text, translated here.
    static const char* const messages[] = {
        QT_TRANSLATE_NOOP("QCommandLineParser", "Missing value after '%1'."),
        QT_TRANSLATE_NOOP("QCommandLineParser", "Unexpected value after '%1'."),
        QT_TRANSLATE_NOOP("QCommandLineParser", "Unknown option '%1'."),
        QT_TRANSLATE_NOOP("QCommandLineParser", "Unknown options: %1.")};
    for (const char* message : messages) {
        const QString source = QString::fromLatin1(message);
        const int at = source.indexOf(QLatin1String("%1"));
        const QString head = source.left(at), tail = source.mid(at + 2);
        if (error.size() >= head.size() + tail.size() && error.startsWith(head) &&
            error.endsWith(tail))
            return QCoreApplication::translate("QCommandLineParser", message)
                .arg(error.mid(head.size(), error.size() - head.size() - tail.size()));
    }
    return error;
}

QString CommandLine::helpText() {
    QCommandLineParser parser;
    define(parser);
    return parser.helpText().trimmed();
}

void CommandLine::preparePlatform(const Options& options) {
    if (options.windowless() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A refused --data2 prints its one line alone, as a headless run does.
    if (options.headless() || options.data2)
        qInstallMessageHandler(quietNotes);
}

namespace {
// The program built unseen, laid out and painted as in its 800 x 600
// windows, with the scenario and its data applied.
struct Headless {
    Session session;
    ChiK& window = *session.main();
    Headless(const Scenario& state, const QVector<double>& k, const QVector<double>& chi,
             const ProgramState::Paths& paths, const AbsorptionState::Loaded* mu) {
        window.setAttribute(Qt::WA_DontShowOnScreen);
        window.chiR->setAttribute(Qt::WA_DontShowOnScreen);
        window.chiR->show();
        window.show();
        window.applyScenario(state, k, chi, paths, mu);
    }
};
} // namespace

namespace {
// A scenario's data sets fitted together: the report on stdout (--fit), and
// with --export the first set's plots with its fitted values, fit.json and
// the sigma²(T) pictures, all written or none. Returns the exit code.
int runSeries(const CommandLine::Options& options, const Scenario& state, const QVector<double>& k,
              const QVector<double>& chi, const ProgramState::Paths& paths,
              const AbsorptionState::Loaded* mu) {
    QVector<SeriesRun::Measured> sets;
    QString error;
    if (!SeriesRun::readDataSets(state, k, chi, &sets, &error)) {
        printError(error);
        return 1;
    }
    Headless program(state, k, chi, paths, mu);
    AWave& wave = *program.window.waves.first();
    const fit::DataSetFitOptions fitOptions = SeriesRun::options(state, paths.main);
    const fit::SeriesResult series =
        SeriesRun::run(wave, *program.window.measured, sets, fitOptions);
    if (!series.result.ok) {
        printError(CommandLine::tr("No fit: %1").arg(series.result.error.text()));
        return 1;
    }
    const QJsonObject report = fit::reportJson(series);
    if (options.exportDir) {
        SeriesRun::applyFirst(wave, series);
        QVector<SafeFile::Entry> files;
        if (!program.window.files->exportFiles(&files, &error)) {
            printError(error);
            return 1;
        }
        files.append(
            {QStringLiteral("fit.json"), QJsonDocument(report).toJson(QJsonDocument::Indented)});
        const Sigma2PlotInputs plot = SeriesRun::plotInputs(series, fitOptions.reducedMass);
        const std::pair<QString, PictureExport::Format> pictures[] = {
            {QStringLiteral("sigma2.png"), PictureExport::Format::Png},
            {QStringLiteral("sigma2.svg"), PictureExport::Format::Svg}};
        for (const auto& [name, format] : pictures) {
            const QByteArray bytes = SeriesRun::picture(plot, format, &error);
            if (bytes.isEmpty()) {
                printError(error);
                return 1;
            }
            files.append({name, bytes});
        }
        QStringList written;
        if (!SafeFile::write(*options.exportDir, files, SafeFile::Folder::Create, &written,
                             &error)) {
            printError(error);
            return 1;
        }
        if (!options.fit) {
            for (const QString& path : std::as_const(written))
                printLine(stdout, path);
            return 0;
        }
    }
    if (!writeReport(report, stdout, &error)) {
        printError(error);
        return 1;
    }
    return 0;
}
} // namespace

bool CommandLine::exportAll(const QString& dir, const Scenario& state, const QVector<double>& k,
                            const QVector<double>& chi, QStringList* written, QString* error,
                            const ProgramState::Paths& paths, const AbsorptionState::Loaded* mu) {
    Headless program(state, k, chi, paths, mu);
    QVector<SafeFile::Entry> files;
    return program.window.files->exportFiles(&files, error) &&
           SafeFile::write(dir, files, SafeFile::Folder::Create, written, error);
}

int CommandLine::run(const Options& options) {
    // An export or a fit depends on its arguments alone; the windows (and
    // the help) speak the language chosen last.
    // --data2 without --ratio is refused before the settings are read.
    std::unique_ptr<Settings> settings;
    if (!options.headless() && !options.data2)
        settings = std::make_unique<Settings>();
    Startup::setLanguage(settings ? Startup::chosenLanguage(options.language, *settings)
                                  : Startup::chosenLanguage(options.language));

    if (!options.error.isEmpty()) {
        printError(options.errorText());
        return 2;
    }
    if (options.help) {
        printLine(stdout, helpText());
        return 0;
    }
    if (options.version) {
        printLine(stdout, QStringLiteral("tovik %1").arg(QStringLiteral(TOVIK_VERSION)));
        return 0;
    }
    if (options.data2 && !options.data) {
        printError(tr("--data2 needs --data: the ratio method compares two measurements."));
        return 2;
    }
    if (options.ratio && !options.data2) {
        printError(tr("--ratio needs --data FILE and --data2 FILE."));
        return 2;
    }
    if (options.data2 && !options.ratio) {
        printError(tr("--data2 is read only by --ratio."));
        return 2;
    }
    if (options.ratio && (options.fit || options.exportDir)) {
        printError(tr("--ratio runs alone: not with --fit or --export."));
        return 2;
    }

    // The windows start with the view options of the last run.
    Scenario state = settings ? WindowStart::rememberedState(*settings) : Scenario();
    if (options.scenario) {
        QString error;
        if (!Scenario::readFile(*options.scenario, state, &state, &error)) {
            printError(error);
            return 1;
        }
    }
    if (options.lesson) {
        const QString& name = *options.lesson;
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
    if (options.data && options.mu) {
        printError(tr("Give either --data or --mu, not both."));
        return 1;
    }
    const bool series = !state.fitDataSets.isEmpty();
    if (series && (options.data || options.mu)) {
        printError(tr("The scenario's fit names its own data sets: --data and --mu cannot "
                      "replace them."));
        return 1;
    }
    // The command line's data take the place of the scenario's.
    if (options.data) {
        state.dataFile = QFileInfo(*options.data).absoluteFilePath();
        state.muFile.clear();
    }
    if (options.mu) {
        state.muFile = QFileInfo(*options.mu).absoluteFilePath();
        state.dataFile.clear();
    }
    // The data file is read once, here: a data file that cannot be read
    // stops the start before any window, and a pipe can be read only once.
    QVector<double> k, chi;
    if (!state.dataFile.isEmpty()) {
        QString error;
        if (!ChiDataReader::readFile(state.dataFile, &k, &chi, &error)) {
            printError(series ? SeriesRun::setError(0, state, error) : error);
            return 1;
        }
    }
    // The path files likewise, and a path that ends before the window is
    // refused here.
    if (options.path)
        state.pathFile = QFileInfo(*options.path).absoluteFilePath();
    // Without a "fit" part, a model with a path is fitted as the field does.
    if (!state.hasFit && !state.pathFile.isEmpty())
        state.fitVary = fit::FitProblem::defaultVaried(true);
    ProgramState::Paths paths;
    {
        QString error;
        if (!ProgramState::readPaths(state, &paths, &error)) {
            printError(error);
            return 1;
        }
    }
    // mu(E) too: read and processed once, before any window.
    AbsorptionState::Loaded mu;
    const AbsorptionState::Loaded* muRead = nullptr;
    if (!state.muFile.isEmpty()) {
        QString error;
        if (!AbsorptionState::load(state.muFile, state.muColumns, state.absorption, &mu, &error)) {
            printError(series ? SeriesRun::setError(0, state, error) : error);
            return 1;
        }
        k = mu.result.k;
        chi = mu.result.chi;
        muRead = &mu;
    }

    if (options.ratio) {
        QVector<double> k2, chi2;
        QString error;
        if (!ChiDataReader::readFile(QFileInfo(*options.data2).absoluteFilePath(), &k2, &chi2,
                                     &error)) {
            printError(error);
            return 1;
        }
        // The grid, n and k window are the program's with the scenario.
        Headless program(state, {}, {}, paths, nullptr);
        const ChiR& chiR = *program.window.chiR;
        FilteredCurves filter;
        const RatioRun run = runRatio(filter, *program.window.waves.first(), k, chi, k2, chi2,
                                      chiR.rWindow, chiR.ratioKMin, chiR.ratioKMax);
        if (!run.ok) {
            printError(tr("No ratio: %1").arg(run.error));
            return 1;
        }
        if (!writeReport(run.report(), stdout, &error)) {
            printError(error);
            return 1;
        }
        return 0;
    }

    const bool exporting = options.exportDir.has_value();
    if (series && (options.fit || exporting))
        return runSeries(options, state, k, chi, paths, muRead);
    if (options.fit) {
        if (k.isEmpty()) {
            printError(tr("A fit needs measured data: give --data FILE or a scenario with "
                          "measuredData."));
            return 1;
        }
        Headless program(state, k, chi, paths, muRead);
        const FitRun fit = runFit(*program.window.waves.first(), *program.window.measured,
                                  state.fitVary, state.fitRMin, state.fitRMax);
        if (!fit.result.ok) {
            printError(tr("No fit: %1").arg(fit.result.error.text()));
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
            if (!SafeFile::write(*options.exportDir, files, SafeFile::Folder::Create, &written,
                                 &error)) {
                printError(error);
                return 1;
            }
        }
        QString error;
        if (!writeReport(fit.report, stdout, &error)) {
            printError(error);
            return 1;
        }
        return 0;
    }

    if (exporting) {
        QStringList written;
        QString error;
        if (!exportAll(*options.exportDir, state, k, chi, &written, &error, paths, muRead)) {
            printError(error);
            return 1;
        }
        for (const QString& path : std::as_const(written))
            printLine(stdout, path);
        return 0;
    }

    return WindowStart::run(*settings, state, k, chi, paths, muRead);
}
