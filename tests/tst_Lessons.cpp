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
    void titleAndNotesPlain();
};

void tst_Lessons::lesson_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("known");
    const QVector<Lessons::Entry> lessons = Lessons::list();
    QVERIFY(lessons.size() >= 8);
    for (const Lessons::Entry& e : lessons)
        for (const char* language : {"ja", "en"})
            QTest::addRow("%s %s", qPrintable(e.name), language) << e.name << language << true;
    QTest::newRow("unknown") << "no-such-lesson"
                             << "en" << false;
    // A name, not a path: a scenario that exists outside the lessons folder
    // (build/lessons/../../examples) is not opened as a lesson.
    QVERIFY(
        QFileInfo::exists(Lessons::folder() + "/../../examples/iron-narrow-window.tovik.json") ||
        QFileInfo::exists(Lessons::folder() + "/../examples/iron-narrow-window.tovik.json"));
    for (const char* path :
         {"../../examples/iron-narrow-window", "../examples/iron-narrow-window",
          "..\\..\\examples\\iron-narrow-window", "/work/no/../01-r-and-phase", "./01-r-and-phase"})
        QTest::newRow(path) << path << "en" << false;
}

void tst_Lessons::lesson() {
    QFETCH(QString, name);
    QFETCH(QString, language);
    QFETCH(bool, known);
    // Started from elsewhere than the build folder, it finds the lesson and
    // writes all six files, or refuses an unknown one in one line.
    QTemporaryDir dir;
    QProcess p;
    p.setWorkingDirectory(dir.path());
    p.start(TOVIK_EXECUTABLE, {"-" + language.left(1), "--lesson", name, "--export", "out"});
    QVERIFY(p.waitForFinished(60000));
    const QString path = Lessons::find(name);
    if (!known) {
        QCOMPARE(p.exitCode(), 1);
        const QByteArray error = p.readAllStandardError();
        QVERIFY2(error.startsWith("tovik: There is no lesson \""), error.constData());
        QVERIFY(error.endsWith('\n') && error.count('\n') == 1);
        QVERIFY(!QFileInfo::exists(dir.filePath("out")));
        QVERIFY(path.isEmpty());
        return;
    }
    QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
    QCOMPARE(QDir(dir.filePath("out")).entryList(QDir::Files).size(), 6);

    Program program({"tovik", "-" + language.left(1)});
    ChiK& main = *program.main;
    Scenario expected;
    QVERIFY(Scenario::readFile(path, Scenario(), &expected, nullptr));
    QVERIFY(!expected.notes.en.isEmpty() && !expected.notes.ja.isEmpty());
    // χ, not the capital Χ that reads as X.
    for (const QString& text : {expected.notes.ja, expected.title.ja, expected.notes.en})
        QVERIFY(!text.contains(QChar(0x03a7)));
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

// A lesson's title and notes are its author's words, shown as written: markup
// in them is text, not formatting.
void tst_Lessons::titleAndNotesPlain() {
    NotesWindow w;
    const QString title = "<h1><font color=red>Big</font></h1>";
    const QString notes = "<b><font color=red>bold</font></b>";
    w.setNotes({title, title}, {notes, notes});
    w.resize(500, 300);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.LessonTitle->text(), title);
    QCOMPARE(w.NotesText->toPlainText(), notes);
    const QImage shown = w.grab().toImage().convertToFormat(QImage::Format_RGB32);
    int red = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
            const QColor c = shown.pixelColor(x, y);
            red += c.red() > 150 && c.green() < 80 && c.blue() < 80;
        }
    QCOMPARE(red, 0);
}

QTEST_MAIN(tst_Lessons)
#include "tst_Lessons.moc"
