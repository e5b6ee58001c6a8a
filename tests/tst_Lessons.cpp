#include "FitRun.h"
#include "Lessons.h"
#include "MeasuredCurve.h"
#include "NotesWindow.h"
#include "PackedSpectrum.h"
#include "Program.h"

#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// Every shipped lesson through File > Lessons and through the program's own
// --lesson --export, in both languages.
class tst_Lessons : public QObject {
    Q_OBJECT
private slots:
    void lesson_data();
    void lesson();
    void statedNumbers_data();
    void statedNumbers();
};

void tst_Lessons::lesson_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("language");
    const QVector<Lessons::Entry> lessons = Lessons::list();
    QVERIFY(lessons.size() >= 8);
    for (const Lessons::Entry& e : lessons)
        for (const char* language : {"ja", "en"})
            QTest::addRow("%s %s", qPrintable(e.name), language) << e.name << language;
    QTest::newRow("unknown") << "no-such-lesson"
                             << "en";
}

void tst_Lessons::lesson() {
    QFETCH(QString, name);
    QFETCH(QString, language);
    // Started from elsewhere than the build folder, it finds the lesson and
    // writes all six files, or refuses an unknown one in one line.
    QTemporaryDir dir;
    QProcess p;
    p.setWorkingDirectory(dir.path());
    p.start(TOVIK_EXECUTABLE, {"-" + language.left(1), "--lesson", name, "--export", "out"});
    QVERIFY(p.waitForFinished(60000));
    const QString path = Lessons::find(name);
    if (path.isEmpty()) {
        QCOMPARE(p.exitCode(), 1);
        QVERIFY(p.readAllStandardError().startsWith("tovik: There is no lesson \"no-such"));
        return;
    }
    QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
    QCOMPARE(QDir(dir.filePath("out")).entryList(QDir::Files).size(), 6);

    Program program({"tovik", "-" + language.left(1)});
    ChiK& main = *program.main;
    Scenario expected;
    QVERIFY(Scenario::readFile(path, Scenario(), &expected, nullptr));
    QVERIFY(!expected.notes.en.isEmpty() && !expected.notes.ja.isEmpty());
    for (const QString& shown : {language, QString(language == "ja" ? "en" : "ja")}) {
        // The menu lists it by its title in the interface's language.
        QAction* entry = nullptr;
        for (QAction* a : main.menuLessons->actions())
            if (a->text() == expected.title.in(shown).replace('&', "&&"))
                entry = a;
        QVERIFY(entry);
        if (shown == language) {
            entry->trigger();
            QVERIFY(main.notesWindow && main.notesWindow->isVisible());
        }
        QVERIFY(main.currentState() == expected);
        QCOMPARE(main.notesWindow->NotesText->toPlainText(), expected.notes.in(shown));
        QCOMPARE(main.notesWindow->LessonTitle->text(), expected.title.in(shown));
        main.chooseLanguage(shown == "ja" ? Startup::Language::English
                                          : Startup::Language::Japanese);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    }
}

// Every number a lesson's notes state about the program's results, as the
// program gives it: the lesson opened as a user opens it, other data opened
// through File, the fit run as the Fit window runs it. Each row names the
// text it checks, which must be in both languages' notes.
void tst_Lessons::statedNumbers_data() {
    QTest::addColumn<QString>("lesson");
    QTest::addColumn<QString>("data"); // opened after the lesson; empty: its own
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<double>("stated");
    QTest::addColumn<double>("within");
    QTest::addColumn<QString>("text");
    const QString theory = QStringLiteral("10-theory-for-the-shell");
    const QString copper = QStringLiteral("11-fitting-copper");
    const QString warm = QStringLiteral("11-copper-150K.chi");
    QTest::newRow("10 neighbours") << theory << ""
                                   << "degeneracy" << 12.0 << 0.0 << "12";
    QTest::newRow("10 reff") << theory << ""
                             << "reff" << 2.548 << 0.0005 << "2.548 Å";
    QTest::newRow("10 N·S0²") << theory << ""
                              << "amplitude" << 10.8 << 1e-12 << "10.8";
    QTest::newRow("10 peak") << theory << ""
                             << "peakR" << 2.25 << 0.05 << "2.25 Å";
    QTest::newRow("10 short by") << theory << ""
                                 << "shortBy" << 0.3 << 0.05 << "0.3 Å";
    const struct {
        const char* name;
        const char* data;
        const char* quantity;
        double stated, within;
        const char* text;
    } fits[] = {
        {"11 10 K R", "", "R", 2.549, 0.0005, "2.549 ± 0.002 Å"},
        {"11 10 K R error", "", "R error", 0.002, 0.0005, "2.549 ± 0.002 Å"},
        {"11 10 K N·S0²", "", "amplitude", 10.9, 0.05, "10.9 ± 0.4"},
        {"11 10 K N·S0² error", "", "amplitude error", 0.4, 0.05, "10.9 ± 0.4"},
        {"11 10 K sigma²", "", "sigma2", 0.0035, 0.00005, "0.0035 ± 0.0002 Å²"},
        {"11 10 K sigma² error", "", "sigma2 error", 0.0002, 0.00005, "0.0035 ± 0.0002 Å²"},
        {"11 10 K dE0", "", "dE0", 5.6, 0.05, "5.6 ± 0.5 eV"},
        {"11 10 K dE0 error", "", "dE0 error", 0.5, 0.05, "5.6 ± 0.5 eV"},
        {"11 10 K A–sigma", "", "amplitude sigma", 0.90, 0.005, "0.90"},
        {"11 10 K R–dE0", "", "R dE0", 0.88, 0.005, "0.88"},
        {"11 150 K R", "11-copper-150K.chi", "R", 2.550, 0.0005, "2.550 ± 0.003 Å"},
        {"11 150 K R error", "11-copper-150K.chi", "R error", 0.003, 0.0005, "2.550 ± 0.003 Å"},
        {"11 150 K N·S0²", "11-copper-150K.chi", "amplitude", 11.0, 0.05, "11.0 ± 0.5"},
        {"11 150 K N·S0² error", "11-copper-150K.chi", "amplitude error", 0.5, 0.05, "11.0 ± 0.5"},
        {"11 150 K sigma²", "11-copper-150K.chi", "sigma2", 0.0052, 0.00005, "0.0052 ± 0.0003 Å²"},
        {"11 150 K sigma² error", "11-copper-150K.chi", "sigma2 error", 0.0003, 0.00005,
         "0.0052 ± 0.0003 Å²"},
        {"11 150 K dE0", "11-copper-150K.chi", "dE0", 5.4, 0.05, "5.4 ± 0.5 eV"},
        {"11 150 K dE0 error", "11-copper-150K.chi", "dE0 error", 0.5, 0.05, "5.4 ± 0.5 eV"},
        {"11 reff", "", "reff", 2.548, 0.0005, "2.548 Å"},
    };
    for (const auto& f : fits)
        QTest::newRow(f.name) << copper << (f.data[0] ? warm : QString()) << f.quantity << f.stated
                              << f.within << f.text;
}

void tst_Lessons::statedNumbers() {
    QFETCH(QString, lesson);
    QFETCH(QString, data);
    QFETCH(QString, quantity);
    QFETCH(double, stated);
    QFETCH(double, within);
    QFETCH(QString, text);
    const QString path = Lessons::find(lesson);
    QVERIFY(!path.isEmpty());
    Program program;
    ChiK& main = *program.main;
    QVERIFY(main.files->openScenarioFile(path));
    QVERIFY(main.notes.en.contains(text) && main.notes.ja.contains(text));
    if (!data.isEmpty())
        QVERIFY(main.files->openDataFile(QFileInfo(path).dir().filePath(data)));
    AWave& wave = *program.wave();
    QVERIFY(wave.path);
    double got = 0;
    if (quantity == "degeneracy") {
        got = wave.path->chi.path().degeneracy;
    } else if (quantity == "reff") {
        got = wave.path->chi.path().reff;
    } else if (quantity == "amplitude" && main.measured->values.isEmpty()) {
        got = wave.amplitude;
        QCOMPARE(wave.path->chi.defaults().amplitude, wave.amplitude);
    } else if (quantity == "peakR" || quantity == "shortBy") {
        int best = 1;
        for (int j = 1; j < wave.fftLength / 2; ++j)
            if (wave.magnitude(wave.chiSpectrum.get(), j) >
                wave.magnitude(wave.chiSpectrum.get(), best))
                best = j;
        const double peak = best * wave.binWidthR();
        got = quantity == "peakR" ? peak : wave.r - peak;
    } else {
        const FitRun run = runFit(wave, *main.measured, main.fitVary, main.fitRMin, main.fitRMax);
        QVERIFY2(run.result.ok, qPrintable(run.result.error.text()));
        const QStringList names = fit::FitProblem::names();
        auto at = [&](const QString& name) { return size_t(names.indexOf(name)); };
        const QStringList words = quantity.split(' ');
        if (words.value(1) == "error") {
            const double value =
                run.result.best[at(words[0] == "sigma2" ? "sigma" : words[0])].value;
            const double error = run.result.errors[at(words[0] == "sigma2" ? "sigma" : words[0])];
            got = words[0] == "sigma2" ? 2 * value * error : error;
        } else if (words.size() == 2) {
            bool found = false;
            for (const fit::Correlation& c : run.result.correlations)
                if ((c.first == words[0] && c.second == words[1]) ||
                    (c.first == words[1] && c.second == words[0])) {
                    got = c.value;
                    found = true;
                }
            QVERIFY(found);
        } else {
            const double value =
                run.result.best[at(words[0] == "sigma2" ? "sigma" : words[0])].value;
            got = words[0] == "sigma2" ? value * value : value;
        }
    }
    QVERIFY2(std::abs(got - stated) <= within, qPrintable(QStringLiteral("%1: %2, the notes say %3")
                                                              .arg(quantity)
                                                              .arg(got, 0, 'g', 8)
                                                              .arg(stated)));
}

QTEST_MAIN(tst_Lessons)
#include "tst_Lessons.moc"
