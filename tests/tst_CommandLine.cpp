#include "CommandLine.h"
#include "Program.h"
#include "WaveCtrl.h"
#include "WindowFunc.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <sys/stat.h>

// The program run as a separate process, as a script would run it.
class tst_CommandLine : public QObject {
    Q_OBJECT
private slots:
    void exportWritesEverything();
    void exportWithAScenario();
    void exportWithData();
    void exportNeedsNoDisplay();
    void failuresLeaveNothing_data();
    void failuresLeaveNothing();
    void hostileFiles_data();
    void hostileFiles();
    void helpAndVersion();
    void fit_data();
    void fit();
    void fitRefusals_data();
    void fitRefusals();
    void exportsStayWhole_data();
    void exportsStayWhole();
    void fitWithPath();
    void parse_data();
    void parse();
    void errorInTheChosenLanguage_data();
    void errorInTheChosenLanguage();
    void headlessRunsTouchNoSettings_data();
    void headlessRunsTouchNoSettings();
    void nonAsciiFolder();
    void muExport();
    void muRefusals_data();
    void muRefusals();
    void seriesFit_data();
    void seriesFit();
    void seriesRefusals_data();
    void seriesRefusals();

private:
    struct Run {
        int code = -1;
        QString out, err;
    };
    static Run run(const QStringList& arguments,
                   const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(),
                   const QString& shell = QString());
    static QStringList dataLines(const QString& path);
};

tst_CommandLine::Run tst_CommandLine::run(const QStringList& arguments,
                                          const QProcessEnvironment& env, const QString& shell) {
    QProcess p;
    p.setProcessEnvironment(env);
    // A shell command run first (a limit), then the program in its place.
    if (shell.isEmpty())
        p.start(QStringLiteral(TOVIK_EXECUTABLE), arguments);
    else
        p.start(QStringLiteral("/bin/sh"),
                QStringList{"-c", shell + QStringLiteral(" && exec \"$0\" \"$@\""),
                            QStringLiteral(TOVIK_EXECUTABLE)} +
                    arguments);
    Run r;
    if (!p.waitForFinished(60000))
        return r;
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

// The lines after the '#' block: header first, then the rows.
QStringList tst_CommandLine::dataLines(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
    while (!lines.isEmpty() && lines.first().startsWith('#'))
        lines.removeFirst();
    return lines;
}

void tst_CommandLine::exportWritesEverything() {
    QTemporaryDir tmp;
    const QString dir = tmp.filePath(QStringLiteral("new/folder"));
    // Unknown arguments are ignored, as they always were.
    const Run r = run({"--frobnicate", "-e", "stray", "--export", dir});
    QCOMPARE(r.code, 0);
    const QStringList names{"chik.png", "chir.png", "chik.svg", "chir.svg", "chik.csv", "chir.csv"};
    QStringList expected;
    for (const QString& n : names)
        expected << QDir(dir).filePath(n);
    QCOMPARE(r.out.split('\n', Qt::SkipEmptyParts), expected);
    QCOMPARE(r.err, QString());

    // The plots at the size they have in the 800 x 600 windows.
    Program program;
    QVERIFY(QTest::qWaitForWindowExposed(program.main));
    QCOMPARE(QImage(expected[0]).size(), program.main->DispA->size());
    QCOMPARE(QImage(expected[1]).size(), program.chiR()->DispA->size());
    for (int i : {2, 3}) {
        QFile f(expected[i]);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&f);
        QString title;
        int paths = 0;
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement) {
                if (xml.name() == QLatin1String("title"))
                    title = xml.readElementText();
                paths +=
                    xml.name() == QLatin1String("polyline") || xml.name() == QLatin1String("path");
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(title, i == 2 ? QStringLiteral("chi(k)") : QStringLiteral("Chi(R)"));
        QVERIFY(paths > 10); // drawn as lines, not as one image
    }
    const QStringList k = dataLines(expected[4]);
    QCOMPARE(k.value(0), QStringLiteral("k,chi,oscillation,envelope,window,debye_waller"));
    QCOMPARE(k.size() - 1, 159);
    const QStringList rLines = dataLines(expected[5]);
    QVERIFY(rLines.value(0).startsWith(QStringLiteral("R,chi_re,chi_im,chi_abs,")));
    const double dR = program.wave()->binWidthR();
    int bins = 0;
    for (int j = static_cast<int>(-2 / dR); j * dR <= 10; ++j)
        ++bins;
    QCOMPARE(rLines.size() - 1, bins);
}

void tst_CommandLine::exportWithAScenario() {
    QTemporaryDir tmp;
    const Run r = run({"--scenario", QStringLiteral(TOVIK_EXAMPLES "/narrow-window.tovik.json"),
                       "--export", tmp.path()});
    QCOMPARE(r.code, 0);
    QFile f(tmp.filePath("chik.csv"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    QVERIFY(text.contains(QStringLiteral("\n# R = 2.7\n")));
    QVERIFY(text.contains(QStringLiteral("\n# window positions: 5, 6, 10, 11\n")));
    // The chi column is that of a wave set by hand the same way.
    Program program;
    AWave* wave = program.wave();
    wave->ctrl->RBar->setValue(27);
    wave->ctrl->SigBar->setValue(80);
    for (int i : {2, 3, 1, 0})
        wave->ctrl->setWindowPos(i, QVector<double>{5, 6, 10, 11}[i]);
    QCOMPARE(wave->ctrl->WindowCtrl->positions, QVector<double>({5, 6, 10, 11}));
    const QStringList rows = dataLines(f.fileName()).mid(1);
    QCOMPARE(rows.size(), wave->kCount);
    for (int i = 0; i < rows.size(); ++i)
        QCOMPARE(rows[i].split(',').value(1).toDouble(), wave->chi[i]);
}

// Measured data with the export: one more column, and the data's own
// processing in it; a bad data file stops before anything is written.
void tst_CommandLine::exportWithData() {
    QTemporaryDir tmp;
    const QString data = QStringLiteral(TOVIK_EXAMPLES "/two-shells.chi");
    const Run r = run({"--data", data, "--export", tmp.path()});
    QCOMPARE(r.code, 0);
    const QStringList k = dataLines(tmp.filePath("chik.csv"));
    QCOMPARE(k.value(0), QStringLiteral("k,chi,oscillation,envelope,window,debye_waller,data"));
    QCOMPARE(k.size() - 1, 159);
    // Normalised, the data are on the model's scale: divided by the same
    // number as the model's chi, seen against a physical export.
    QTemporaryDir physical;
    QFile scenario(physical.filePath("physical.tovik.json"));
    QVERIFY(scenario.open(QIODevice::WriteOnly));
    scenario.write(R"({"format": "tovik-scenario", "version": 1, "view": {"physical": true}})");
    scenario.close();
    QCOMPARE(
        run({"--scenario", scenario.fileName(), "--data", data, "--export", physical.path()}).code,
        0);
    const QStringList p = dataLines(physical.filePath("chik.csv"));
    QCOMPARE(p.size(), k.size());
    double modelRatio = 0, largest = 0;
    for (int i = 1; i < k.size(); ++i) {
        const double chiP = p[i].split(',').value(1).toDouble();
        if (std::abs(chiP) > largest) {
            largest = std::abs(chiP);
            modelRatio = k[i].split(',').value(1).toDouble() / chiP;
        }
    }
    QVERIFY(modelRatio > 0);
    int compared = 0;
    for (int i = 1; i < k.size(); ++i) {
        const double dataP = p[i].split(',').value(6).toDouble();
        const double dataN = k[i].split(',').value(6).toDouble();
        QVERIFY(std::abs(dataN - modelRatio * dataP) <= 1e-9 * (1 + std::abs(dataN)));
        compared += dataP != 0;
    }
    QVERIFY(compared > 100);
    QVERIFY(dataLines(tmp.filePath("chir.csv")).value(0).endsWith(",data_re,data_im,data_abs"));

    QTemporaryDir bad;
    QFile f(bad.filePath("bad.chi"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("1 1\n1 2\n");
    f.close();
    const QString out = bad.filePath("out");
    const Run b = run({"-e", "--data", f.fileName(), "--export", out});
    QCOMPARE(b.code, 1);
    QVERIFY2(b.err.contains(QStringLiteral("bad.chi: Line 2")), qPrintable(b.err));
    QVERIFY(!QFileInfo::exists(out));
}

// With no display and no platform chosen, the export picks its own.
void tst_CommandLine::exportNeedsNoDisplay() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    QTemporaryDir tmp;
    const Run r = run({"--export", tmp.path()}, env);
    QCOMPARE(r.code, 0);
    QCOMPARE(QDir(tmp.path()).entryList(QDir::Files).size(), 6);
}

void tst_CommandLine::failuresLeaveNothing_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("code");
    QTest::newRow("missing value") << QStringList{"-e", "--export"} << "Missing value" << 2;
    QTest::newRow("scenario missing")
        << QStringList{"--scenario", "/nonexistent/x.tovik.json", "--export", "@DIR@"}
        << "x.tovik.json" << 1;
    QTest::newRow("not a scenario")
        << QStringList{"--scenario", QStringLiteral(TOVIK_EXECUTABLE), "--export", "@DIR@"} << ""
        << 1;
    // Its parent is a file: the folder cannot be made.
    QTest::newRow("unwritable folder")
        << QStringList{"--export", QStringLiteral(TOVIK_EXECUTABLE "/out")} << "out" << 1;
    // The last file cannot be written: none is.
    QTest::newRow("one file fails") << QStringList{"--export", "@DIR@"} << "chir.csv" << 1;
}

void tst_CommandLine::failuresLeaveNothing() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    QFETCH(int, code);
    QTemporaryDir tmp;
    QVERIFY(QDir(tmp.path()).mkdir(QStringLiteral("chir.csv")));
    arguments.replaceInStrings(QStringLiteral("@DIR@"), tmp.path());
    const Run r = run(arguments);
    QCOMPARE(r.code, code);
    QCOMPARE(r.out, QString());
    const QStringList errLines = r.err.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(errLines.size(), 1);
    QVERIFY(errLines.first().startsWith(QStringLiteral("tovik: ")));
    QVERIFY2(errLines.first().contains(message), qPrintable(errLines.first()));
    QCOMPARE(QDir(tmp.path()).entryList(QDir::Files), QStringList());
}

namespace {
QMap<QString, QByteArray> contents(const QString& dir) {
    QMap<QString, QByteArray> files;
    for (const QFileInfo& f : QDir(dir).entryInfoList(QDir::AllEntries | QDir::Hidden |
                                                      QDir::System | QDir::NoDotAndDotDot)) {
        QFile file(f.filePath());
        files[f.fileName()] = f.isSymLink() ? "link to " + f.symLinkTarget().toUtf8()
                              : f.isFile() && file.open(QIODevice::ReadOnly) ? file.readAll()
                                                                             : "other";
    }
    return files;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}
} // namespace

// Scenario files, data files and export folders a careful tester tries:
// each is refused with one short, escaped line and leaves the folder as it
// was (its earlier export included), or is accepted with nothing but finite
// numbers in every file. @IN@ is a folder of inputs, @DIR@ the export folder
// that holds an earlier export.
void tst_CommandLine::hostileFiles_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("obstacle"); // put into @DIR@ first
    QTest::addColumn<QString>("shell");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    const QStringList exportTo{"-e", "--export", "@DIR@"};
    QTest::newRow("folder in the way") << exportTo << "dir chir.csv"
                                       << "" << 1 << "it is a folder";
    QTest::newRow("link in the way") << exportTo << "link chik.png"
                                     << "" << 1 << "symbolic link";
    QTest::newRow("FIFO in the way") << exportTo << "fifo chir.svg"
                                     << "" << 1 << "regular file";
    QTest::newRow("file-size limit, new folders")
        << QStringList{"-e", "--export", "@DIR@/new/sub"} << ""
        << "ulimit -f 40" << 1 << "chik.svg cannot be written: File too large";
    QTest::newRow("FIFO without writer")
        << QStringList{"-e", "--data", "@IN@/fifo"} + exportTo << ""
        << "" << 1 << "no data arrived within 5 seconds";
    QTest::newRow("device as scenario")
        << QStringList{"-e", "--scenario", "/dev/zero"} + exportTo << ""
        << "" << 1 << "a device";
    QTest::newRow("beyond 1e100") << QStringList{"-e", "--data", "@IN@/huge.chi"} + exportTo << ""
                                  << "" << 1 << "Line 3: \"1.7976931348623157e308\" is too large";
    QTest::newRow("terminal codes") << QStringList{"-e", "--data", "@IN@/esc.chi"} + exportTo << ""
                                    << "" << 1 << "\"\\x1b]0;title\u2026\" is not a number.";
    QTest::newRow("secret as data")
        << QStringList{"-e", "--scenario", "@IN@/secret.tovik.json"} + exportTo << ""
        << "" << 1 << "Line 1: \"SECRET-01234\u2026\" is not";
    QTest::newRow("NUL in the data path")
        << QStringList{"-e", "--scenario", "@IN@/nul.tovik.json"} + exportTo << ""
        << "" << 1 << "\"abc\\x00def\"";
    QTest::newRow("long path") << QStringList{"-e", "--data", "/x/" + QString(100000, 'y')} +
                                      exportTo
                               << ""
                               << "" << 1 << "File name too long";
    QTranslator ja;
    QVERIFY(ja.load(QStringLiteral(":Tovik_ja_JP")));
    QTest::newRow("Japanese message")
        << QStringList{"--export"} << ""
        << "" << 2
        << ja.translate("QCommandLineParser", "Missing value after '%1'.").arg("--export");
    QTest::newRow("pipe") << QStringList{"-e", "--data", "@IN@/fed"} + exportTo << ""
                          << "" << 0 << "";
    QTest::newRow("near the limit, tiny gap")
        << QStringList{"-e", "--data", "@IN@/near.chi"} + exportTo << ""
        << "" << 0 << "";
    QTest::newRow("control character in the legend")
        << QStringList{"-e", "--scenario", "@IN@/legend.tovik.json", "--data",
                       "@IN@/e\x1b[31m.chi"} +
               exportTo
        << ""
        << "" << 0 << "";
    QTest::newRow("CR line ends") << QStringList{"-e", "--data", "@IN@/cr.chi"} + exportTo << ""
                                  << "" << 0 << "";
}

void tst_CommandLine::hostileFiles() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, obstacle);
    QFETCH(QString, shell);
    QFETCH(int, code);
    QFETCH(QString, message);
    QTemporaryDir in, out;
    writeFile(in.filePath("huge.chi"), "1 0.5\n2 1e100\n3 1.7976931348623157e308\n4 1e306\n");
    writeFile(in.filePath("esc.chi"), "\x1b]0;title\x07\x1b[2J 1\n2 2\n");
    writeFile(in.filePath("secret.txt"),
              "SECRET-0123456789-0123456789-0123456789-0123456789 and more\n");
    writeFile(in.filePath("secret.tovik.json"),
              R"({"format": "tovik-scenario", "version": 1, "measuredData": "secret.txt"})");
    writeFile(in.filePath("nul.tovik.json"),
              R"({"format": "tovik-scenario", "version": 1, "measuredData": "abc\u0000def"})");
    // At k = 0 the data jump by 2e100 within 2e-300.
    writeFile(in.filePath("near.chi"), "-1e-300 1e100\n1e-300 -1e100\n8 -1e100\n16 1e100\n");
    QByteArray cr;
    for (int i = 0; i < 281; ++i)
        cr += QByteArray::number(0.05 * i) + ' ' + QByteArray::number(std::sin(0.3 * i)) + '\r';
    writeFile(in.filePath("cr.chi"), cr);
    writeFile(in.filePath("e\x1b[31m.chi"), cr);
    writeFile(in.filePath("legend.tovik.json"),
              R"({"format": "tovik-scenario", "version": 1, "view": {"legend": true}})");
    for (const char* name : {"fifo", "fed"})
        QCOMPARE(::mkfifo(QFile::encodeName(in.filePath(name)).constData(), 0600), 0);
    // A writer for one pipe, as a shell's <(...) would be.
    QProcess feeder;
    feeder.start("/bin/sh",
                 {"-c", "cat \"$0\" > \"$1\"", in.filePath("cr.chi"), in.filePath("fed")});

    const QString dir = out.path();
    for (const char* name :
         {"chik.png", "chir.png", "chik.svg", "chir.svg", "chik.csv", "chir.csv"})
        writeFile(QDir(dir).filePath(name), QByteArray("earlier ") + name);
    writeFile(in.filePath("outside"), "not ours");
    const QString kind = obstacle.section(' ', 0, 0),
                  at = QDir(dir).filePath(obstacle.section(' ', 1));
    if (!kind.isEmpty())
        QFile::remove(at);
    if (kind == "dir")
        QVERIFY(QDir().mkdir(at));
    else if (kind == "link")
        QVERIFY(QFile::link(in.filePath("outside"), at));
    else if (kind == "fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(at).constData(), 0600), 0);
    const auto before = contents(dir);

    arguments.replaceInStrings("@IN@", in.path()).replaceInStrings("@DIR@", dir);
    const Run r = run(arguments, QProcessEnvironment::systemEnvironment(), shell);
    QCOMPARE(r.code, code);
    feeder.kill();
    feeder.waitForFinished();
    QCOMPARE(contents(in.path()).value("outside"), QByteArray("not ours"));
    if (code != 0) {
        QCOMPARE(r.out, QString());
        QVERIFY2(r.err.startsWith("tovik: ") && r.err.endsWith('\n') && r.err.count('\n') == 1,
                 qPrintable(r.err));
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        QVERIFY2(r.err.size() < 320, qPrintable(r.err.left(400)));
        for (const QChar c : r.err.chopped(1))
            QVERIFY2(c >= QChar(0x20) && c != QChar(0x7f), qPrintable(r.err));
        QVERIFY(!r.err.contains("and more"));
        QCOMPARE(contents(dir), before);
        return;
    }
    // Accepted: every number in both CSV files and both drawings is finite.
    QCOMPARE(r.err, QString());
    for (const char* name : {"chik.csv", "chir.csv", "chik.svg", "chir.svg"}) {
        const QString text = QString::fromUtf8(contents(dir).value(name)).toLower();
        QVERIFY2(text.size() > 1000 && !text.contains("nan") && !text.contains("inf"), name);
        // Escaped file names: no control character but line ends.
        QVERIFY2(!text.contains(QRegularExpression("[\\x00-\\x08\\x0b\\x0c\\x0e-\\x1f]")), name);
    }
    if (arguments.contains(in.filePath("legend.tovik.json")))
        QVERIFY(contents(dir).value("chik.svg").contains("e\\x1b[31m.chi"));
    QVERIFY(dataLines(QDir(dir).filePath("chik.csv")).value(0).endsWith(",data"));
}

void tst_CommandLine::helpAndVersion() {
    const Run help = run({"-e", "--help"});
    QCOMPARE(help.code, 0);
    for (const char* option : {"-j", "-e", "--scenario <FILE>", "--export <DIR>", "--version"})
        QVERIFY2(help.out.contains(QLatin1String(option)), option);
    const Run version = run({"--version"});
    QCOMPARE(version.code, 0);
    QCOMPARE(version.out, QStringLiteral("tovik " TOVIK_VERSION "\n"));
}

void tst_CommandLine::fit_data() {
    QTest::addColumn<QString>("temperature");
    QTest::addColumn<double>("sigma2");
    // The example files' own generating values (their headers): N S0^2 =
    // 10.8, R = 2.55 Å, P0 = 1.6, and sigma^2 at each temperature.
    QTest::newRow("10 K") << "10K" << 0.0030;
    QTest::newRow("150 K") << "150K" << 0.0047;
}

// The examples' fit from the command line: the JSON's fields, the known
// values recovered, and with --export the fitted model in every file.
void tst_CommandLine::fit() {
    QFETCH(QString, temperature);
    QFETCH(double, sigma2);
    QTemporaryDir dir;
    const QString scenario =
        QStringLiteral(TOVIK_EXAMPLES "/fit-copper-%1.tovik.json").arg(temperature);
    const Run r = run({"-e", "--scenario", scenario, "--fit", "--export", dir.path()});
    QCOMPARE(r.code, 0);
    const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
    QCOMPARE(o.value("format").toString(), QString("tovik-fit"));
    QCOMPARE(o.value("n").toInt(), 2);
    const QJsonObject p = o.value("parameters").toObject();
    const double truth[] = {10.8, 2.55, std::sqrt(sigma2), 1.6};
    const char* names[] = {"amplitude", "R", "sigma", "P0"};
    for (int i = 0; i < 4; ++i) {
        const QJsonObject v = p.value(names[i]).toObject();
        QVERIFY(v.value("varied").toBool());
        QVERIFY2(std::abs(v.value("value").toDouble() - truth[i]) < 0.01 * truth[i], names[i]);
        QVERIFY(v.value("error").toDouble() > 0);
    }
    QVERIFY(p.value("P1").toObject().value("error").isNull());
    // 2 (14 - 2) (3 - 1.4) / pi independent points.
    QVERIFY(std::abs(o.value("independentPoints").toDouble() - 2 * 12 * 1.6 / M_PI) < 1e-9);
    QVERIFY(o.value("rFactor").toDouble() < 1e-3);
    // The noise-based statistics: chi-square over N_idp - 4 degrees of freedom.
    QVERIFY(o.value("epsilonR").toDouble() > 0 && o.value("epsilonK").toDouble() > 0);
    const double idp = o.value("independentPoints").toDouble();
    QVERIFY(std::abs(o.value("reducedChiSquare").toDouble() * (idp - 4) -
                     o.value("chiSquare").toDouble()) < 1e-9 * o.value("chiSquare").toDouble());
    for (const char* name : names)
        QVERIFY(p.value(name).toObject().value("atBound") == QJsonValue(false));
    QVERIFY(!o.value("message").toString().isEmpty());
    QFile saved(dir.filePath("fit.json"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(QJsonDocument::fromJson(saved.readAll()).object(), o);
    // The exported files show the fitted model, exactly.
    QFile csv(dir.filePath("chir.csv"));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    const double fittedR = p.value("R").toObject().value("value").toDouble();
    QVERIFY(csv.readAll().contains(
        "\n# R = " + QString::number(fittedR, 'g', QLocale::FloatingPointShortest).toUtf8() +
        "\n"));

    // Without data: one line, exit 1.
    const Run none = run({"-e", "--fit"});
    QCOMPARE(none.code, 1);
    QCOMPARE(none.err.count('\n'), 1);
}

// Every way --fit gives no result exits non-zero with one line on stderr
// and nothing on stdout. "@DATA@" in the scenario is the data file written
// from the row's values (k from 1 to 15 in steps of 0.05, chi(k) =
// size sin(5.1 k) / k).
// --path gives the main shell copper's path; without a "fit" part the fit
// varies N·S0², R, sigma and dE0 and finds copper's distance in the 10 K
// foil. A path file that is not one is refused in one line.
void tst_CommandLine::fitWithPath() {
    const QString lessons = QStringLiteral(TOVIK_EXAMPLES "/../lessons");
    // R starts near copper's, as a user sets it before fitting.
    QTemporaryDir dir;
    QFile start(dir.filePath("start.tovik.json"));
    QVERIFY(start.open(QIODevice::WriteOnly));
    start.write(R"({"format": "tovik-scenario", "version": 1, "R": 2.5})");
    start.close();
    const Run r =
        run({"-e", "--scenario", start.fileName(), "--data", lessons + "/11-copper-10K.chi",
             "--path", lessons + "/feff0001.dat", "--fit"});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    const QJsonObject p =
        QJsonDocument::fromJson(r.out.toUtf8()).object().value("parameters").toObject();
    for (const char* name : {"amplitude", "R", "sigma", "dE0"})
        QVERIFY2(p.value(name).toObject().value("varied").toBool(), name);
    QVERIFY(!p.value("P0").toObject().value("varied").toBool());
    const double R = p.value("R").toObject().value("value").toDouble();
    QVERIFY2(R > 2.54 && R < 2.56, qPrintable(QString::number(R)));
    const Run bad = run({"-e", "--data", lessons + "/11-copper-10K.chi", "--path",
                         lessons + "/11-copper-10K.chi", "--fit"});
    QCOMPARE(bad.code, 1);
    QCOMPARE(bad.out, QString());
    QCOMPARE(bad.err.count('\n'), 1);
}

void tst_CommandLine::fitRefusals_data() {
    QTest::addColumn<double>("size");
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<QString>("shell");
    QTest::addColumn<QString>("words");
    const QString plain = R"({"format": "tovik-scenario", "version": 1, "measuredData": "@DATA@"})";
    auto withFit = [](const QString& extra) {
        return QString(R"({"format": "tovik-scenario", "version": 1, "measuredData": "@DATA@", )") +
               extra + "}";
    };
    QTest::newRow("all-zero data") << 0.0 << plain << ""
                                   << "no signal in the R range";
    QTest::newRow("data underflowing to zero") << 1e-170 << plain << ""
                                               << "no signal in the R range";
    QTest::newRow("main shell at R = 0, fixed")
        << 0.5 << withFit(R"("R": 0, "fit": {"vary": ["amplitude", "sigma"]})") << ""
        << "main shell is at R = 0";
    QTest::newRow("nothing varied") << 0.5 << withFit(R"("fit": {"vary": []})") << ""
                                    << "No parameter is varied";
    // The scenario's own limit keeps a range within the transform.
    QTest::newRow("R range beyond the transform")
        << 0.5 << withFit(R"("fit": {"Rrange": [20, 30]})") << ""
        << "must lie between 0 and 15";
    QTest::newRow("too few independent points")
        << 0.5 << withFit(R"("fit": {"Rrange": [1, 1.1]})") << ""
        << "independent points";
    QTest::newRow("dE0 without a path") << 0.5 << withFit(R"("fit": {"vary": ["R", "dE0"]})") << ""
                                        << "dE0 moves only a shell with a scattering path";
    QTest::newRow("path file missing") << 0.5 << withFit(R"("path": "no-such-path.dat")") << ""
                                       << "no-such-path.dat";
    QTest::newRow("stdout on a full disc") << 0.5 << plain << "exec >/dev/full"
                                           << "report could not be written";
}

void tst_CommandLine::fitRefusals() {
    QFETCH(double, size);
    QFETCH(QString, scenario);
    QFETCH(QString, shell);
    QFETCH(QString, words);
    QTemporaryDir dir;
    QFile data(dir.filePath("data.chi"));
    QVERIFY(data.open(QIODevice::WriteOnly));
    for (int i = 0; i <= 280; ++i) {
        const double k = 1 + 0.05 * i;
        data.write(QByteArray::number(k, 'g', 17) + ' ' +
                   QByteArray::number(size * std::sin(5.1 * k) / k, 'g', 17) + '\n');
    }
    data.close();
    QFile file(dir.filePath("fit.tovik.json"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QString(scenario).replace("@DATA@", data.fileName()).toUtf8());
    file.close();
    const Run r = run({"-e", "--scenario", file.fileName(), "--fit"},
                      QProcessEnvironment::systemEnvironment(), shell);
    QCOMPARE(r.code, 1);
    QCOMPARE(r.out, QString());
    QCOMPARE(r.err.count('\n'), 1);
    QVERIFY2(r.err.startsWith("tovik: ") && r.err.contains(words), qPrintable(r.err));
}

void tst_CommandLine::parse_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected"); // what was read; "" for nothing
    QTest::newRow("nothing") << QStringList{} << "";
    QTest::newRow("-j -e") << QStringList{"-j", "-e"} << "language=en";
    QTest::newRow("-e -j") << QStringList{"-e", "-j"} << "language=ja";
    QTest::newRow("not whole, not lower case") << QStringList{"-E", "-ex", "--e"} << "";
    QTest::newRow("unknown ignored") << QStringList{"--frobnicate", "-e", "stray", "--export", "d"}
                                     << "language=en export=d headless windowless";
    QTest::newRow("single dash, equals sign")
        << QStringList{"-export", "d", "--data=x.chi", "-lesson=a b"}
        << "lesson=a b data=x.chi export=d headless windowless";
    QTest::newRow("a value that looks like -e")
        << QStringList{"--scenario", "-e"} << "language=en scenario=-e";
    QTest::newRow("the last value wins")
        << QStringList{"--scenario", "a", "--scenario", "b"} << "scenario=b";
    QTest::newRow("after --") << QStringList{"--", "--export", "d"} << "";
    QTest::newRow("missing value")
        << QStringList{"-e", "--export"}
        << "language=en export= headless windowless error=Missing value after '--export'.";
    QTest::newRow("unexpected value")
        << QStringList{"--fit=3"}
        << "fit headless windowless error=Unexpected value after '--fit'.";
    QTest::newRow("fit") << QStringList{"--fit"} << "fit headless windowless";
    QTest::newRow("help") << QStringList{"-h"} << "help windowless";
    QTest::newRow("help-all") << QStringList{"--help-all"} << "help windowless";
    QTest::newRow("version") << QStringList{"-v"} << "version windowless";
}

// The one reading of the arguments that the platform choice, the language
// and the run all take their answers from.
void tst_CommandLine::parse() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);
    const CommandLine::Options o = CommandLine::parse(QStringList{"tovik"} + arguments);
    QStringList read;
    if (o.language)
        read << (*o.language == Startup::Language::English ? "language=en" : "language=ja");
    const std::pair<const char*, const std::optional<QString>*> values[] = {
        {"scenario", &o.scenario},
        {"lesson", &o.lesson},
        {"data", &o.data},
        {"export", &o.exportDir}};
    for (const auto& v : values)
        if (*v.second)
            read << QStringLiteral("%1=%2").arg(QLatin1String(v.first), **v.second);
    const std::pair<const char*, bool> flags[] = {{"fit", o.fit},
                                                  {"help", o.help},
                                                  {"version", o.version},
                                                  {"headless", o.headless()},
                                                  {"windowless", o.windowless()}};
    for (const auto& f : flags)
        if (f.second)
            read << QLatin1String(f.first);
    if (!o.error.isEmpty())
        read << "error=" + o.error;
    QCOMPARE(read.join(' '), expected);
}

void tst_CommandLine::errorInTheChosenLanguage_data() {
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("source"); // its message in the catalogue; "" for none
    QTest::addColumn<QString>("argument");
    QTest::newRow("missing value") << "Missing value after '--export'."
                                   << "Missing value after '%1'."
                                   << "--export";
    QTest::newRow("unexpected value") << "Unexpected value after '--fit'."
                                      << "Unexpected value after '%1'."
                                      << "--fit";
    QTest::newRow("name with a quote and %2") << "Missing value after '--x'%2'."
                                              << "Missing value after '%1'."
                                              << "--x'%2";
    QTest::newRow("another text stays") << "Something else."
                                        << ""
                                        << "";
}

// The arguments are read before any catalogue is installed; the message is
// shown in the language chosen after.
void tst_CommandLine::errorInTheChosenLanguage() {
    QFETCH(QString, error);
    QFETCH(QString, source);
    QFETCH(QString, argument);
    QTranslator ja;
    QVERIFY(ja.load(QStringLiteral(":Tovik_ja_JP")));
    CommandLine::Options o;
    o.error = error;
    QCOMPARE(o.errorText(), error);
    Startup::setLanguage(Startup::Language::Japanese);
    const QString shown = o.errorText();
    Startup::setLanguage(Startup::Language::English);
    QCOMPARE(shown,
             source.isEmpty()
                 ? error
                 : ja.translate("QCommandLineParser", source.toUtf8().constData()).arg(argument));
}

void tst_CommandLine::headlessRunsTouchNoSettings_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("code");
    QTest::newRow("export") << QStringList{"--export", "@OUT@"} << 0;
    QTest::newRow("fit") << QStringList{"--scenario", TOVIK_EXAMPLES "/fit-copper-10K.tovik.json",
                                        "--fit", "--export", "@OUT@"}
                         << 0;
    QTest::newRow("fit without data") << QStringList{"--fit"} << 1;
    QTest::newRow("export without folder") << QStringList{"--export"} << 2;
}

// An export or a fit gives the same output whatever the settings remember
// (English, every view option on, window places), in the default language,
// and leaves the settings as they were: no file made, none changed.
void tst_CommandLine::headlessRunsTouchNoSettings() {
    QFETCH(QStringList, arguments);
    QFETCH(int, code);
    QTemporaryDir empty, used;
    QVERIFY(QDir(used.path()).mkpath("Tovik"));
    const QString conf = used.filePath("Tovik/tovik.conf");
    const QByteArray remembered = "[General]\nlanguage=en\n[view]\naxes=true\nlegend=true\n"
                                  "physical=true\nlockScales=true\n[windows]\nchiK=@ByteArray(x)\n";
    writeFile(conf, remembered);
    QMap<QString, QByteArray> outputs[2];
    Run runs[2];
    for (int i = 0; i < 2; ++i) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", i == 0 ? empty.path() : used.path());
        QTemporaryDir out;
        runs[i] = run(QStringList(arguments).replaceInStrings("@OUT@", out.path()), env);
        QCOMPARE(runs[i].code, code);
        runs[i].out.replace(out.path(), "@OUT@");
        outputs[i] = contents(out.path());
    }
    QCOMPARE(runs[1].out, runs[0].out);
    QCOMPARE(runs[1].err, runs[0].err);
    QCOMPARE(outputs[1], outputs[0]);
    QCOMPARE(contents(empty.path()), (QMap<QString, QByteArray>()));
    QFile f(conf);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), remembered);
    QCOMPARE(contents(used.filePath("Tovik")).keys(), QStringList{"tovik.conf"});
    if (code == 1) {
        QTranslator ja;
        QVERIFY(ja.load(QStringLiteral(":Tovik_ja_JP")));
        const QString message = ja.translate(
            "CommandLine",
            "A fit needs measured data: give --data FILE or a scenario with measuredData.");
        QVERIFY(!message.isEmpty());
        QCOMPARE(runs[0].err, "tovik: " + message + '\n');
    }
}

// The arguments are decoded before the application object exists: a name
// beyond ASCII comes through as the application would decode it.
void tst_CommandLine::nonAsciiFolder() {
    const QString name = QString::fromUtf8("データ χ");
    if (QString::fromLocal8Bit(name.toLocal8Bit()) != name)
        QSKIP("The test's own locale cannot pass the name to the program.");
    QTemporaryDir tmp;
    const QString dir = tmp.filePath(name);
    const Run r = run({"-e", "--export", dir});
    QCOMPARE(r.code, 0);
    QCOMPARE(r.out.split('\n', Qt::SkipEmptyParts).value(0), QDir(dir).filePath("chik.png"));
    QCOMPARE(QDir(dir).entryList(QDir::Files).size(), 6);
}

namespace {
// The files of an export, by name, hidden ones (temporaries) included.
QMap<QString, QByteArray> filesIn(const QString& dir) {
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir(dir).entryList(QDir::Files | QDir::Hidden)) {
        QFile f(QDir(dir).filePath(name));
        files.insert(name, f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray());
    }
    return files;
}
} // namespace

void tst_CommandLine::exportsStayWhole_data() {
    QTest::addColumn<bool>("together");
    QTest::addColumn<int>("killAfterMs");
    for (int i = 0; i < 3; ++i)
        QTest::addRow("two at once %d", i) << true << -1;
    for (int ms : {0, 60, 120, 180, 240, 300, 400, 550})
        QTest::addRow("SIGTERM after %d ms", ms) << false << ms;
}

// Two exports into one folder, or one ended by SIGTERM: the folder holds one
// whole set, from one export, and no temporaries.
void tst_CommandLine::exportsStayWhole() {
    QFETCH(bool, together);
    QFETCH(int, killAfterMs);
    QTemporaryDir tmp;
    const QString a = tmp.filePath("a"), b = tmp.filePath("b"), into = tmp.filePath("into");
    const QStringList argsA{"-e", "--export"};
    const QStringList argsB{"-e", "--scenario", TOVIK_EXAMPLES "/iron-wide-window.tovik.json",
                            "--export"};
    QCOMPARE(run(argsA + QStringList{a}).code, 0);
    QCOMPARE(run(argsB + QStringList{b}).code, 0);
    const QMap<QString, QByteArray> setA = filesIn(a), setB = filesIn(b);
    QCOMPARE(setA.size(), 6);
    QCOMPARE(setA.keys(), setB.keys());
    QVERIFY(setA != setB);

    if (together) {
        QProcess first, second;
        first.start(TOVIK_EXECUTABLE, argsA + QStringList{into});
        second.start(TOVIK_EXECUTABLE, argsB + QStringList{into});
        QVERIFY(first.waitForFinished(60000) && second.waitForFinished(60000));
        // The second waits for the first and then writes its own set.
        QCOMPARE(first.exitCode(), 0);
        QCOMPARE(second.exitCode(), 0);
    } else {
        QCOMPARE(run(argsA + QStringList{into}).code, 0);
        QProcess p;
        p.start(TOVIK_EXECUTABLE, argsB + QStringList{into});
        QVERIFY(p.waitForStarted());
        if (killAfterMs > 0)
            QTest::qSleep(killAfterMs);
        p.terminate();
        QVERIFY(p.waitForFinished(60000));
    }
    const QMap<QString, QByteArray> result = filesIn(into);
    QVERIFY2(result == setA || result == setB, qPrintable(QStringList(result.keys()).join(' ')));
}

QTEST_MAIN(tst_CommandLine)
// --mu: the eight files, mu.csv consistent in itself, and chi-data.chi read
// back by --data giving the same measured chi(k).
void tst_CommandLine::muExport() {
    QTemporaryDir tmp;
    const QString mu = QStringLiteral(TOVIK_TEST_DATA "/cu_10k.xmu");
    const Run r = run({"-e", "--mu", mu, "--export", tmp.filePath("a")});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QCOMPARE(QDir(tmp.filePath("a")).entryList(QDir::Files).size(), 8);
    QCOMPARE(r.out.split('\n', Qt::SkipEmptyParts).size(), 8);

    // mu.csv: the normalised column is (mu - pre_edge) / step by the step
    // its header states, and the edge lies where the Cu K edge is.
    QFile f(tmp.filePath("a/mu.csv"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
    double step = 0, e0 = 0;
    for (const QString& line : lines) {
        if (line.startsWith("# edge step: "))
            step = line.mid(13).toDouble();
        if (line.startsWith("# e0 (eV): "))
            e0 = line.mid(11).toDouble();
    }
    QVERIFY(std::abs(e0 - 8979) < 5);
    QVERIFY(step > 0);
    const QStringList rows = dataLines(f.fileName());
    QCOMPARE(rows.value(0), QStringLiteral("energy,mu,pre_edge,post_edge,background,normalized"));
    int withBackground = 0;
    for (const QString& row : rows.mid(1)) {
        const QStringList v = row.split(',');
        QCOMPARE(v.size(), 6);
        QVERIFY(std::abs((v[1].toDouble() - v[2].toDouble()) / step - v[5].toDouble()) < 1e-12);
        if (!v[4].isEmpty())
            ++withBackground;
    }
    QVERIFY(withBackground > rows.size() / 2);

    const Run back =
        run({"-e", "--data", tmp.filePath("a/chi-data.chi"), "--export", tmp.filePath("b")});
    QVERIFY2(back.code == 0, qPrintable(back.err));
    const QStringList fromMu = dataLines(tmp.filePath("a/chik.csv"));
    const QStringList fromFile = dataLines(tmp.filePath("b/chik.csv"));
    QCOMPARE(fromFile.size(), fromMu.size());
    for (int i = 1; i < fromMu.size(); ++i)
        QCOMPARE(fromFile[i].split(',').last(), fromMu[i].split(',').last());
}

void tst_CommandLine::muRefusals_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("scenario");
    QTest::addColumn<QStringList>("extra");
    QTest::addColumn<QString>("message");
    QByteArray edge;
    for (int i = 0; i < 400; ++i) {
        const double e = 8800 + 2.0 * i;
        edge += QByteArray::number(e, 'g', 10) + ' ' +
                QByteArray::number(1 + std::atan((e - 8980) / 3), 'g', 17) + '\n';
    }
    QByteArray flat;
    for (int i = 0; i < 400; ++i)
        flat += QByteArray::number(8800 + 2 * i) + ' ' + QByteArray::number(1 - 1e-4 * i) + '\n';
    const QByteArray withScenario = "@";
    QTest::newRow("with --data") << edge << QByteArray() << QStringList{"--data", "x.chi"}
                                 << "either --data or --mu";
    QTest::newRow("few points") << QByteArray("1 1\n2 2\n3 3\n") << QByteArray() << QStringList()
                                << "";
    QTest::newRow("not increasing") << QByteArray("8800 1\n8801 1\n8801 2\n" + edge) << QByteArray()
                                    << QStringList() << "line 3";
    QTest::newRow("no edge") << flat << QByteArray() << QStringList() << "";
    QTest::newRow("rbkg out of range")
        << edge << QByteArray("{\"rbkg\": 4}") << QStringList() << "absorption.rbkg";
    QTest::newRow("range outside the data")
        << edge << QByteArray("{\"preEdge\": [-5000, -4000]}") << QStringList() << "";
    QTest::newRow("missing column")
        << edge << QByteArray("{\"columns\": {\"energy\": 1, \"numerator\": 7}}") << QStringList()
        << "7";
    QTest::newRow("log of a non-positive ratio")
        << QByteArray(edge).replace("8800 ", "8800 -")
        << QByteArray("{\"columns\": {\"energy\": 1, \"numerator\": 2, \"log\": true}}")
        << QStringList() << "";
    QTest::newRow("export folder blocked")
        << edge << QByteArray() << QStringList{"@BLOCK@"} << "chi-data.chi";
}

void tst_CommandLine::muRefusals() {
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, scenario);
    QFETCH(QStringList, extra);
    QFETCH(QString, message);
    QTemporaryDir tmp;
    writeFile(tmp.filePath("mu.dat"), file);
    QStringList arguments{"-e"};
    if (scenario.isEmpty()) {
        arguments << "--mu" << tmp.filePath("mu.dat");
    } else {
        QJsonObject absorption = QJsonDocument::fromJson(scenario).object();
        absorption["file"] = "mu.dat";
        QJsonObject o{{"format", "tovik-scenario"}, {"version", 1}, {"absorption", absorption}};
        writeFile(tmp.filePath("s.tovik.json"), QJsonDocument(o).toJson());
        arguments << "--scenario" << tmp.filePath("s.tovik.json");
    }
    const QString out = tmp.filePath("out");
    if (extra.value(0) == "@BLOCK@") {
        // A folder where chi-data.chi would go: the whole export fails.
        QVERIFY(QDir(out).mkpath("chi-data.chi"));
        extra.clear();
    }
    const Run r = run(arguments + extra + QStringList{"--export", out});
    QCOMPARE(r.code, 1);
    const QStringList errLines = r.err.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(errLines.size(), 1);
    QVERIFY(errLines.first().startsWith(QStringLiteral("tovik: ")));
    QVERIFY2(errLines.first().contains(message, Qt::CaseInsensitive), qPrintable(r.err));
    QCOMPARE(QDir(out).entryList(QDir::Files), QStringList());
}

namespace {
// A synthetic temperature series by its own formulas (not the program's):
// one shell A sin(2kR + P0) exp(-2 sigma² k²) / (k R²) under the program's
// flat envelope, sigma² from the Einstein model of Cu-Cu at theta plus a
// static offset. Set s's k step is `steps[s]`; its file is t<T>.chi.
constexpr double seriesA = 10.8, seriesR = 2.55, seriesP0 = 1.6, cuMass = 63.546 / 2;

double einstein(double theta, double t, double offset) {
    const double x = theta / (2 * t);
    return 24.254 / (cuMass * theta) * std::cosh(x) / std::sinh(x) + offset;
}

void writeSeries(const QString& dir, const QList<double>& temperatures, const QList<double>& steps,
                 double theta, double offset) {
    for (int s = 0; s < temperatures.size(); ++s) {
        const double sigma2 = einstein(theta, temperatures[s], offset);
        QByteArray text = "# synthetic\n";
        for (int i = 0; 1 + i * steps[s] <= 15 + 1e-9; ++i) {
            const double k = 1 + i * steps[s];
            text += QByteArray::number(k, 'g', 17) + ' ' +
                    QByteArray::number(seriesA * std::sin(2 * k * seriesR + seriesP0) *
                                           std::exp(-2 * sigma2 * k * k) / (k * seriesR * seriesR),
                                       'g', 17) +
                    '\n';
        }
        writeFile(QStringLiteral("%1/t%2.chi").arg(dir).arg(temperatures[s]), text);
    }
}

// The scenario of such a series; `fit` is added to its "fit" object.
QByteArray seriesScenario(const QList<double>& temperatures, const QJsonObject& fit) {
    QJsonArray sets;
    for (const double t : temperatures)
        sets.append(QJsonObject{{"data", QStringLiteral("t%1.chi").arg(t)}, {"temperature", t}});
    QJsonObject f{{"vary", QJsonArray{"amplitude", "R", "P0", "thetaE"}},
                  {"Rrange", QJsonArray{1.4, 3.2}},
                  {"datasets", sets},
                  {"sigmaModel", "einstein"},
                  {"reducedMass", cuMass},
                  {"thetaE", 300}};
    for (auto it = fit.begin(); it != fit.end(); ++it)
        f[it.key()] = it.value();
    const QJsonObject o{{"format", "tovik-scenario"},
                        {"version", 1},
                        {"n", 2},
                        {"R", 2.5},
                        {"P0", 1.2},
                        {"amplitude", 9},
                        {"sigma", 0.06},
                        {"windowPositions", QJsonArray{2, 3, 13, 14}},
                        {"fit", f}};
    return QJsonDocument(o).toJson();
}
} // namespace

void tst_CommandLine::seriesFit_data() {
    QTest::addColumn<QList<double>>("temperatures");
    QTest::addColumn<QList<double>>("steps");
    QTest::addColumn<double>("theta");
    QTest::addColumn<double>("offset");
    QTest::newRow("three sets, one on a finer grid")
        << QList<double>{20, 150, 300} << QList<double>{0.05, 0.025, 0.05} << 250.0 << 0.0;
    QTest::newRow("two sets, a static part")
        << QList<double>{10, 200} << QList<double>{0.05, 0.05} << 320.0 << 0.0015;
}

// A series from a scenario: the stacked fit recovers the formula's thetaE,
// each set's sigma² and the shared structure; --export adds fit.json (the
// report printed) and the sigma²(T) pictures to the first set's plots.
void tst_CommandLine::seriesFit() {
    QFETCH(QList<double>, temperatures);
    QFETCH(QList<double>, steps);
    QFETCH(double, theta);
    QFETCH(double, offset);
    QTemporaryDir dir;
    writeSeries(dir.path(), temperatures, steps, theta, offset);
    QJsonObject extra;
    if (offset != 0) {
        extra["vary"] = QJsonArray{"amplitude", "R", "P0", "thetaE", "sigma2Static"};
        extra["sigma2Static"] = 0.0005;
    }
    writeFile(dir.filePath("series.tovik.json"), seriesScenario(temperatures, extra));
    const QString out = dir.filePath("out");
    const Run r =
        run({"-e", "--scenario", dir.filePath("series.tovik.json"), "--fit", "--export", out});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
    QCOMPARE(o.value("format").toString(), QString("tovik-fit"));
    QCOMPARE(o.value("sigmaModel").toString(), QString("einstein"));
    const QJsonObject p = o.value("parameters").toObject();
    const auto value = [&](const char* name) {
        return p.value(name).toObject().value("value").toDouble();
    };
    QVERIFY2(std::abs(value("thetaE") - theta) < 1e-6 * theta,
             qPrintable(QString::number(value("thetaE"), 'g', 17)));
    QVERIFY(p.value("thetaE").toObject().value("error").toDouble() > 0);
    QVERIFY(std::abs(value("amplitude") - seriesA) < 1e-6 * seriesA);
    QVERIFY(std::abs(value("R") - seriesR) < 1e-6);
    if (offset != 0)
        QVERIFY(std::abs(value("sigma2Static") - offset) < 1e-6 * offset);
    QVERIFY(!p.contains("sigma"));
    const QJsonArray sets = o.value("datasets").toArray();
    QCOMPARE(sets.size(), temperatures.size());
    double idp = 0;
    for (int s = 0; s < sets.size(); ++s) {
        const QJsonObject d = sets[s].toObject();
        QCOMPARE(d.value("file").toString(), QStringLiteral("t%1.chi").arg(temperatures[s]));
        QCOMPARE(d.value("temperature").toDouble(), temperatures[s]);
        const double want = einstein(theta, temperatures[s], offset);
        const QJsonObject sigma2 = d.value("sigma2").toObject();
        QVERIFY2(std::abs(sigma2.value("value").toDouble() - want) < 1e-6 * want,
                 qPrintable(QString::number(s)));
        QVERIFY(sigma2.value("error").toDouble() > 0);
        QVERIFY(d.value("rFactor").toDouble() < 1e-10);
        idp += d.value("independentPoints").toDouble();
    }
    QVERIFY(std::abs(o.value("independentPoints").toDouble() - idp) < 1e-9 * idp);

    // The export: the first set's plots, the report, the sigma²(T) pictures.
    QStringList names = QDir(out).entryList(QDir::Files);
    QCOMPARE(names, (QStringList{"chik.csv", "chik.png", "chik.svg", "chir.csv", "chir.png",
                                 "chir.svg", "fit.json", "sigma2.png", "sigma2.svg"}));
    QFile saved(dir.filePath("out/fit.json"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(QJsonDocument::fromJson(saved.readAll()).object(), o);
    const QImage picture(dir.filePath("out/sigma2.png"));
    QCOMPARE(picture.size(), QSize(640, 480));
    QFile svg(dir.filePath("out/sigma2.svg"));
    QVERIFY(svg.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&svg);
    while (!xml.atEnd())
        xml.readNext();
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    // The first data set's plot shows its fitted model: its R, exactly.
    QFile csv(dir.filePath("out/chir.csv"));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QVERIFY(csv.readAll().contains(
        "\n# R = " + QString::number(value("R"), 'g', QLocale::FloatingPointShortest).toUtf8() +
        "\n"));

    // --export alone prints the paths it wrote, and writes the same report.
    const Run quiet = run(
        {"-e", "--scenario", dir.filePath("series.tovik.json"), "--export", dir.filePath("quiet")});
    QVERIFY2(quiet.code == 0, qPrintable(quiet.err));
    QCOMPARE(quiet.out.split('\n', Qt::SkipEmptyParts).size(), 9);
    QFile again(dir.filePath("quiet/fit.json"));
    QVERIFY(again.open(QIODevice::ReadOnly));
    QCOMPARE(QJsonDocument::fromJson(again.readAll()).object(), o);
}

void tst_CommandLine::seriesRefusals_data() {
    QTest::addColumn<QJsonObject>("fit");   // over the series' "fit"
    QTest::addColumn<QStringList>("extra"); // more arguments
    QTest::addColumn<QString>("obstacle");  // a folder made in the export folder
    QTest::addColumn<QString>("shell");
    QTest::addColumn<QString>("words");
    const auto sets = [](const QJsonValue& second) {
        return QJsonArray{QJsonObject{{"data", "t20.chi"}, {"temperature", 20}}, second};
    };
    QTest::newRow("second file missing")
        << QJsonObject{{"datasets", sets(QJsonObject{{"data", "gone.chi"}, {"temperature", 150}})}}
        << QStringList() << ""
        << ""
        << "Data set 2 (gone.chi): ";
    QTest::newRow("first file missing")
        << QJsonObject{{"datasets",
                        QJsonArray{QJsonObject{{"data", "gone.chi"}, {"temperature", 20}},
                                   QJsonObject{{"data", "t150.chi"}, {"temperature", 150}}}}}
        << QStringList() << ""
        << ""
        << "Data set 1 (gone.chi): ";
    QTest::newRow("mu(E) not one")
        << QJsonObject{{"datasets",
                        sets(QJsonObject{{"absorption", QJsonObject{{"file", "t150.chi"}}},
                                         {"temperature", 150}})}}
        << QStringList() << ""
        << ""
        << "Data set 2 (t150.chi): ";
    QTest::newRow("temperature missing")
        << QJsonObject{{"datasets", sets(QJsonObject{{"data", "t150.chi"}})}} << QStringList() << ""
        << ""
        << "Data set 2 (t150.chi): The field fit.datasets[1].temperature is required by the "
           "Einstein model.";
    QTest::newRow("temperature zero")
        << QJsonObject{{"datasets", sets(QJsonObject{{"data", "t150.chi"}, {"temperature", 0}})}}
        << QStringList() << ""
        << ""
        << "Data set 2 (t150.chi): The field fit.datasets[1].temperature must be a temperature "
           "above 0 K";
    QTest::newRow("no reduced mass") << QJsonObject{{"reducedMass", 0}} << QStringList() << ""
                                     << ""
                                     << "reduced mass";
    QTest::newRow("thetaE outside its limits") << QJsonObject{{"thetaE", 5}} << QStringList() << ""
                                               << ""
                                               << "thetaE starts at 5, outside its limits";
    QTest::newRow("sigma varied under Einstein")
        << QJsonObject{{"vary", QJsonArray{"R", "sigma"}}} << QStringList() << ""
        << ""
        << "\"sigma\" is not a parameter this fit can vary.";
    QTest::newRow("per data set under expansion")
        << QJsonObject{{"perDataset", QJsonArray{"R"}}, {"thermalExpansion", true}} << QStringList()
        << ""
        << ""
        << "R follows thermal expansion";
    QTest::newRow("--data beside data sets")
        << QJsonObject() << QStringList{"--data", "@DIR@/t20.chi"} << ""
        << ""
        << "--data and --mu cannot replace them";
    QTest::newRow("a picture cannot be written") << QJsonObject() << QStringList() << "sigma2.svg"
                                                 << ""
                                                 << "sigma2.svg";
    QTest::newRow("stdout on a full disc") << QJsonObject() << QStringList() << ""
                                           << "exec >/dev/full"
                                           << "report could not be written";
}

// Each bad series: exit 1, one line on stderr that names what is wrong,
// nothing on stdout and nothing written.
void tst_CommandLine::seriesRefusals() {
    QFETCH(QJsonObject, fit);
    QFETCH(QStringList, extra);
    QFETCH(QString, obstacle);
    QFETCH(QString, shell);
    QFETCH(QString, words);
    QTemporaryDir dir;
    writeSeries(dir.path(), {20, 150}, {0.05, 0.05}, 250, 0);
    writeFile(dir.filePath("series.tovik.json"), seriesScenario({20, 150}, fit));
    const QString out = dir.filePath("out");
    if (!obstacle.isEmpty())
        QVERIFY(QDir(out).mkpath(obstacle));
    extra.replaceInStrings("@DIR@", dir.path());
    QStringList arguments{"-e", "--scenario", dir.filePath("series.tovik.json"), "--fit"};
    if (shell.isEmpty())
        arguments << "--export" << out;
    const Run r = run(arguments + extra, QProcessEnvironment::systemEnvironment(), shell);
    QCOMPARE(r.code, 1);
    QCOMPARE(r.out, QString());
    const QStringList errLines = r.err.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(errLines.size(), 1);
    QVERIFY(errLines.first().startsWith(QStringLiteral("tovik: ")));
    QVERIFY2(errLines.first().contains(words), qPrintable(r.err));
    QCOMPARE(QDir(out).entryList(QDir::Files), QStringList());
}

#include "tst_CommandLine.moc"
