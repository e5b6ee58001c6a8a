#include "Lessons.h"
#include "NotesWindow.h"
#include "Program.h"
#include "ProgramState.h"
#include "Scenario.h"
#include "ShellsWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <QtTest>

// View > Language while the program runs: every text of every window, its
// menus and tooltips, against the catalogue's source (the English texts)
// and its translations. Windows added later are walked the same way.
class tst_Language : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void everyTextFollowsTheCatalogue();

private:
    using Texts = QMap<QPair<const QObject*, QString>, QString>;
    Texts collect() const;
    // The catalogue's text for `english` in `context` and its translation,
    // with the arguments of a "%1" message carried over; empty if the
    // catalogue has no such message.
    QString translated(const QString& context, const QString& english) const;
    QString contextOf(const QObject* o) const;

    // context -> source -> translation, read from the catalogue's source.
    QHash<QString, QHash<QString, QString>> catalogue;
};

void tst_Language::initTestCase() {
    QFile ts(QStringLiteral(TOVIK_CATALOGUE_SOURCE));
    QVERIFY(ts.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&ts);
    QString context, source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name"))
            context = xml.readElementText();
        else if (xml.name() == QLatin1String("source"))
            source = xml.readElementText();
        else if (xml.name() == QLatin1String("translation"))
            catalogue[context][source] = xml.readElementText();
    }
    QVERIFY(!xml.hasError());
}

QString tst_Language::contextOf(const QObject* o) const {
    for (; o; o = o->parent())
        for (const QMetaObject* m = o->metaObject(); m; m = m->superClass())
            if (catalogue.contains(QLatin1String(m->className())))
                return QLatin1String(m->className());
    return QString();
}

QString tst_Language::translated(const QString& context, const QString& english) const {
    const QHash<QString, QString> messages = catalogue.value(context);
    if (messages.contains(english))
        return messages.value(english);
    // A message with arguments: its source as a pattern, the arguments put
    // into the translation by number.
    static const QRegularExpression marker(QStringLiteral("%(\\d)"));
    for (auto it = messages.begin(); it != messages.end(); ++it) {
        if (!it.key().contains(marker))
            continue;
        QString pattern;
        QVector<int> numbers;
        int last = 0;
        for (auto m = marker.globalMatch(it.key()); m.hasNext();) {
            const QRegularExpressionMatch found = m.next();
            pattern +=
                QRegularExpression::escape(it.key().mid(last, found.capturedStart() - last)) +
                QStringLiteral("(.*?)");
            numbers << found.captured(1).toInt();
            last = found.capturedEnd();
        }
        pattern += QRegularExpression::escape(it.key().mid(last));
        const QRegularExpressionMatch match =
            QRegularExpression(QLatin1Char('^') + pattern + QLatin1Char('$')).match(english);
        if (!match.hasMatch())
            continue;
        QString result = it.value();
        for (int i = 0; i < numbers.size(); ++i)
            result.replace(QLatin1Char('%') + QString::number(numbers[i]), match.captured(i + 1));
        return result;
    }
    return QString();
}

tst_Language::Texts tst_Language::collect() const {
    Texts texts;
    auto add = [&texts](const QObject* o, const char* what, const QString& text) {
        // Lesson titles and notes, language names: words of their own.
        if (o->property("fromFile").toBool() && qstrcmp(what, "text") == 0)
            return;
        if (!text.isEmpty())
            texts.insert({o, QLatin1String(what)}, text);
    };
    QList<QWidget*> widgets;
    for (QWidget* top : QApplication::topLevelWidgets())
        widgets << top << top->findChildren<QWidget*>();
    for (const QWidget* w : qAsConst(widgets)) {
        if (w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        // The embedded panels' "Frame" never shows; menus show their titles.
        if (w->isWindow() && !qobject_cast<const QMenu*>(w))
            add(w, "windowTitle", w->windowTitle());
        add(w, "toolTip", w->toolTip());
        add(w, "statusTip", w->statusTip());
        add(w, "whatsThis", w->whatsThis());
        if (auto* l = qobject_cast<const QLabel*>(w))
            add(w, "text", l->text());
        if (auto* b = qobject_cast<const QAbstractButton*>(w))
            add(w, "text", b->text());
        if (auto* g = qobject_cast<const QGroupBox*>(w))
            add(w, "title", g->title());
        if (auto* e = qobject_cast<const QLineEdit*>(w))
            add(w, "placeholderText", e->placeholderText());
        if (auto* m = qobject_cast<const QMenu*>(w))
            add(w, "title", m->title());
        for (const QAction* a : w->actions()) {
            if (a->isSeparator() || a->menu())
                continue;
            add(a, "text", a->text());
            // An action's tooltip defaults to its text.
            QAction plain;
            plain.setText(a->text());
            if (a->toolTip() != plain.toolTip())
                add(a, "toolTip", a->toolTip());
        }
    }
    return texts;
}

void tst_Language::everyTextFollowsTheCatalogue() {
    Program program;
    ChiK& main = *program.main;
    // Every window there is, with rows and notes in it.
    main.actionShells->trigger();
    main.shellsWindow->AddShell->click();
    main.shellsWindow->AddShell->click();
    const QVector<Lessons::Entry> lessons = Lessons::list();
    QVERIFY(!lessons.isEmpty());
    QVERIFY(main.openScenarioFile(lessons.first().path));
    QVERIFY(main.notesWindow && main.notesWindow->isVisible());

    const Texts english = collect();
    const Scenario before = main.currentState();
    QVERIFY(english.size() > 100);

    // The user's road: the menu entry in one window switches both.
    main.actionJapanese->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    QCOMPARE(Startup::language(), Startup::Language::Japanese);
    const Texts japanese = collect();
    QCOMPARE(japanese.keys(), english.keys());
    int differ = 0;
    for (auto it = english.begin(); it != english.end(); ++it) {
        const QString context = contextOf(it.key().first);
        const QString expected = translated(context, it.value());
        const QString where =
            QStringLiteral("%1 %2 of %3 (%4): \"%5\"")
                .arg(it.key().first->objectName(), it.key().second,
                     it.key().first->metaObject()->className(), context, it.value());
        QVERIFY2(!expected.isEmpty(), qPrintable(QStringLiteral("not in the catalogue: ") + where));
        QVERIFY2(japanese.value(it.key()) == expected,
                 qPrintable(where + QStringLiteral(" is \"%1\", not \"%2\"")
                                        .arg(japanese.value(it.key()), expected)));
        differ += expected != it.value();
    }
    QVERIFY(differ > english.size() / 2);
    QVERIFY(main.actionJapanese->isChecked() && program.chiR()->actionJapanese->isChecked());
    QVERIFY(main.currentState() == before);

    // And back from the other window: the source texts again, state kept.
    program.chiR()->actionEnglish->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    QVERIFY(collect() == english);
    QVERIFY(main.actionEnglish->isChecked() && !program.chiR()->actionJapanese->isChecked());
    QVERIFY(main.currentState() == before);
}

QTEST_MAIN(tst_Language)
#include "tst_Language.moc"
