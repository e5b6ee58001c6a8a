#include "Lessons.h"
#include "MeasuredCurve.h"
#include "NotesWindow.h"
#include "Program.h"
#include "Scenario.h"

#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// The shipped lessons through the File menu and the command line, in both
// languages, and the notes that come with them.
class tst_Lessons : public QObject {
    Q_OBJECT
private slots:
    void shipped();
    void lesson_data();
    void lesson();
    void savedFromALessonKeepsItsTexts();
    void commandLine_data();
    void commandLine();
    void helpListsNoLesson();
};

void tst_Lessons::shipped() {
    // Found beside the build's program, and exactly the lessons of the
    // source folder, each written in both languages.
    const QVector<Lessons::Entry> lessons = Lessons::list();
    const QStringList source = QDir(QStringLiteral(TOVIK_LESSONS_SOURCE))
                                   .entryList({QStringLiteral("*.tovik.json")}, QDir::Files);
    QVERIFY(lessons.size() >= 8);
    QCOMPARE(lessons.size(), source.size());
    for (const Lessons::Entry& e : lessons) {
        Scenario s;
        QString error;
        QVERIFY2(Scenario::readFile(e.path, Scenario(), &s, &error), qPrintable(error));
        for (const QString& text : {s.title.en, s.title.ja, s.notes.en, s.notes.ja})
            QVERIFY2(!text.isEmpty(), qPrintable(e.name));
        // What to do, what to look for, a question: three paragraphs at least.
        QVERIFY2(s.notes.en.count(QStringLiteral("\n\n")) >= 2, qPrintable(e.name));
        QVERIFY2(s.notes.ja.count(QStringLiteral("\n\n")) >= 2, qPrintable(e.name));
        QVERIFY2(s.notes.en.contains(QLatin1Char('?')), qPrintable(e.name));
    }
}

void tst_Lessons::lesson_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("language");
    for (const Lessons::Entry& e : Lessons::list())
        for (const char* language : {"ja", "en"})
            QTest::addRow("%s %s", qPrintable(e.name), language) << e.path << language;
}

// Chosen from File > Lessons by its title in the interface's language: the
// state is the lesson's and its notes show; after a language switch the
// menu and the notes read in the other language.
void tst_Lessons::lesson() {
    QFETCH(QString, path);
    QFETCH(QString, language);
    Program program({QStringLiteral("tovik"), language == "ja" ? "-j" : "-e"});
    ChiK& main = *program.main;
    Scenario expected;
    QString error;
    QVERIFY2(Scenario::readFile(path, Scenario(), &expected, &error), qPrintable(error));

    auto entry = [&main](const QString& title) -> QAction* {
        for (QAction* a : main.menuLessons->actions())
            if (a->text() == QString(title).replace('&', QStringLiteral("&&")))
                return a;
        return nullptr;
    };
    QAction* action = entry(expected.title.in(language));
    QVERIFY(action);
    action->trigger();
    QVERIFY(main.currentState() == expected);
    QVERIFY(main.notesWindow && main.notesWindow->isVisible());
    QCOMPARE(main.notesWindow->NotesText->toPlainText(), expected.notes.in(language));
    QCOMPARE(main.notesWindow->LessonTitle->text(), expected.title.in(language));
    QVERIFY(main.measured->isLoaded() == !expected.dataFile.isEmpty());

    const QString other = language == "ja" ? "en" : "ja";
    main.chooseLanguage(other == "ja" ? Startup::Language::Japanese : Startup::Language::English);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    QVERIFY(entry(expected.title.in(other)));
    QCOMPARE(main.notesWindow->NotesText->toPlainText(), expected.notes.in(other));
    QCOMPARE(main.notesWindow->LessonTitle->text(), expected.title.in(other));
    QVERIFY(main.currentState() == expected);
}

void tst_Lessons::savedFromALessonKeepsItsTexts() {
    Program program;
    ChiK& main = *program.main;
    const QString lesson = Lessons::find(QStringLiteral("07-resolution"));
    QVERIFY(!lesson.isEmpty());
    QVERIFY(main.openScenarioFile(lesson));
    QTemporaryDir dir;
    const QString saved = dir.filePath(QStringLiteral("mine.tovik.json"));
    QVERIFY(main.saveScenarioFile(saved));
    Scenario a, b;
    QVERIFY(Scenario::readFile(lesson, Scenario(), &a, nullptr));
    QVERIFY(Scenario::readFile(saved, Scenario(), &b, nullptr));
    QVERIFY(!b.notes.isEmpty());
    QVERIFY(a == b);

    // A plain scenario ends the lesson: no notes, and none saved.
    Scenario plain;
    QVERIFY(plain.writeFile(saved, nullptr));
    QVERIFY(main.openScenarioFile(saved));
    QVERIFY(main.notes.isEmpty() && !main.notesWindow->isVisible());
    QVERIFY(!main.actionNotes->isEnabled());
}

void tst_Lessons::commandLine_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("stderrHas");
    for (const Lessons::Entry& e : Lessons::list())
        for (const char* language : {"-j", "-e"})
            QTest::addRow("%s %s", qPrintable(e.name), language)
                << QStringList{language, "--lesson", e.name} << 0 << QString();
    QTest::newRow("with suffix") << QStringList{"-e", "--lesson", "02-debye-waller.tovik.json"} << 0
                                 << QString();
    QTest::newRow("unknown") << QStringList{"-e", "--lesson", "no-such-lesson"} << 1
                             << "There is no lesson \"no-such-lesson\" in ";
    QTest::newRow("a path is no name")
        << QStringList{"-e", "--lesson", "../lessons/01-r-and-phase"} << 1 << "There is no lesson";
}

// The program itself, started from elsewhere than the build folder:
// every lesson exports, in both languages; faults say so on one line.
void tst_Lessons::commandLine() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, stderrHas);
    QTemporaryDir dir;
    QProcess p;
    p.setWorkingDirectory(dir.path());
    p.start(QStringLiteral(TOVIK_EXECUTABLE),
            arguments << QStringLiteral("--export") << dir.filePath(QStringLiteral("out")));
    QVERIFY(p.waitForFinished(60000));
    const QString err = QString::fromUtf8(p.readAllStandardError());
    QVERIFY2(p.exitCode() == exitCode, qPrintable(err));
    if (exitCode == 0) {
        QCOMPARE(QString::fromUtf8(p.readAllStandardOutput()).count('\n'), 6);
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("out/chir.png"))).size() > 0);
    } else {
        QVERIFY2(err.contains(stderrHas) && err.count('\n') == 1, qPrintable(err));
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("out"))));
    }
}

void tst_Lessons::helpListsNoLesson() {
    QProcess p;
    p.start(QStringLiteral(TOVIK_EXECUTABLE), {QStringLiteral("-e"), QStringLiteral("--help")});
    QVERIFY(p.waitForFinished(60000));
    const QString help = QString::fromUtf8(p.readAllStandardOutput());
    QVERIFY(help.contains(QStringLiteral("--lesson <NAME>")));
    for (const Lessons::Entry& e : Lessons::list())
        QVERIFY2(!help.contains(e.name) && !help.contains(e.title.en), qPrintable(e.name));
}

QTEST_MAIN(tst_Lessons)
#include "tst_Lessons.moc"
