#include "Program.h"
#include "WaveCtrl.h"
#include "WindowFunc.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

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
    void helpAndVersion();

private:
    struct Run {
        int code = -1;
        QString out, err;
    };
    static Run run(const QStringList& arguments,
                   const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment());
    static QStringList dataLines(const QString& path);
};

tst_CommandLine::Run tst_CommandLine::run(const QStringList& arguments,
                                          const QProcessEnvironment& env) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(TOVIK_EXECUTABLE), arguments);
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
    double largest = 0;
    for (const QString& row : k.mid(1))
        largest = std::max(largest, std::abs(row.split(',').value(6).toDouble()));
    QCOMPARE(largest, 1.0); // normalised by its largest size
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
    QTest::newRow("missing value") << QStringList{"--export"} << "Missing value" << 2;
    QTest::newRow("scenario missing")
        << QStringList{"--scenario", "/nonexistent/x.tovik.json", "--export", "@DIR@"}
        << "x.tovik.json" << 1;
    QTest::newRow("not a scenario")
        << QStringList{"--scenario", QStringLiteral(TOVIK_EXECUTABLE), "--export", "@DIR@"} << ""
        << 1;
    // Its parent is a file: the folder cannot be made.
    QTest::newRow("unwritable folder")
        << QStringList{"--export", QStringLiteral(TOVIK_EXECUTABLE "/out")} << "out" << 1;
    // The last file cannot be written: the five before it go again.
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

void tst_CommandLine::helpAndVersion() {
    const Run help = run({"-e", "--help"});
    QCOMPARE(help.code, 0);
    for (const char* option : {"-j", "-e", "--scenario <FILE>", "--export <DIR>", "--version"})
        QVERIFY2(help.out.contains(QLatin1String(option)), option);
    const Run version = run({"--version"});
    QCOMPARE(version.code, 0);
    QCOMPARE(version.out, QStringLiteral("tovik " TOVIK_VERSION "\n"));
}

QTEST_MAIN(tst_CommandLine)
#include "tst_CommandLine.moc"
