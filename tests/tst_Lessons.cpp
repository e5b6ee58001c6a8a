#include "Lessons.h"
#include "NotesWindow.h"
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
    Scenario expected;
    QVERIFY(Scenario::readFile(path, Scenario(), &expected, nullptr));
    // A lesson on mu(E) writes mu.csv and chi-data.chi too.
    QCOMPARE(QDir(dir.filePath("out")).entryList(QDir::Files).size(),
             expected.muFile.isEmpty() ? 6 : 8);

    Program program({"tovik", "-" + language.left(1)});
    ChiK& main = *program.main;
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

QTEST_MAIN(tst_Lessons)
#include "tst_Lessons.moc"
