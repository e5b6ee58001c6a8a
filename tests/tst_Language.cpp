#include "AbsorptionWindow.h"
#include "Lessons.h"
#include "NotesWindow.h"
#include "PictureExport.h"
#include "Program.h"
#include "ShellsWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <QtTest>
#include <utility>

// View > Language while the program runs: every text of every window, menu
// and tooltip against the catalogue's source and translation. Windows added
// later are walked the same way.
class tst_Language : public QObject {
    Q_OBJECT
private slots:
    void everyTextFollowsTheCatalogue();
    void accessKeysUnique_data();
    void accessKeysUnique();
    void chiIsGreekSmallChi();
};

namespace {
using Texts = QMap<QPair<const QObject*, QString>, QString>;
QHash<QString, QHash<QString, QString>> catalogue; // context -> source -> translation

Texts collect() {
    Texts texts;
    auto add = [&texts](const QObject* o, const char* what, const QString& text) {
        // Lesson titles and notes, language names: words of their own.
        if (!text.isEmpty() && !(o->property("fromFile").toBool() && *what == 't'))
            texts.insert({o, QLatin1String(what)}, text);
    };
    QList<QWidget*> widgets = QApplication::topLevelWidgets();
    for (QWidget* top : QApplication::topLevelWidgets())
        widgets += top->findChildren<QWidget*>();
    for (const QWidget* w : std::as_const(widgets)) {
        if (w->objectName().startsWith("qt_"))
            continue;
        if (w->isWindow() && !qobject_cast<const QMenu*>(w))
            add(w, "windowTitle", w->windowTitle());
        add(w, "ToolTip", w->toolTip());
        // The read-out's items, each a message of its own.
        if (w->objectName() == QLatin1String("ReadOut")) {
            const QStringList items = static_cast<const QLabel*>(w)->text().split("   ");
            for (int i = 0; i < items.size(); ++i)
                texts.insert({w, QStringLiteral("item %1").arg(i)}, items[i]);
        } else if (auto* l = qobject_cast<const QLabel*>(w)) {
            add(w, "text", l->text());
        }
        if (auto* b = qobject_cast<const QAbstractButton*>(w))
            add(w, "text", b->text());
        if (auto* m = qobject_cast<const QMenu*>(w))
            add(w, "title", m->title());
        for (const QAction* a : w->actions()) {
            QAction plain; // an action's tooltip defaults to its text
            plain.setText(a->text());
            add(a, "text", a->menu() ? QString() : a->text());
            add(a, "ToolTip", a->toolTip() == plain.toolTip() ? QString() : a->toolTip());
        }
    }
    return texts;
}

// The catalogue's translation of `english` in `context`; a message with
// "%1" matches as a pattern and its arguments are carried over.
QString translated(const QString& context, const QString& english) {
    const QHash<QString, QString>& messages = catalogue[context];
    if (messages.contains(english))
        return messages.value(english);
    for (auto it = messages.begin(); it != messages.end(); ++it) {
        QString pattern = QRegularExpression::escape(it.key());
        pattern.replace(QRegularExpression(R"(\\%(\d))"), R"((?<a\1>.*?))");
        const auto match = QRegularExpression('^' + pattern + '$').match(english);
        QString result = it.value();
        for (int n = 1; match.hasMatch() && n <= 9; ++n)
            result.replace('%' + QString::number(n), match.captured("a" + QString::number(n)));
        if (match.hasMatch() && it.key().contains('%'))
            return result;
    }
    return QString();
}

// What one plot paints, its text runs joined (a run ends where the font
// changes, as it does between Latin and Japanese letters), from its SVG.
QString painted(QWidget* plot) {
    QString out;
    for (QXmlStreamReader svg(PictureExport::render(plot, PictureExport::Format::Svg, "t"));
         !svg.atEnd();)
        if (svg.readNext() == QXmlStreamReader::StartElement && svg.name() == QLatin1String("text"))
            out += svg.readElementText(QXmlStreamReader::IncludeChildElements);
    return out;
}

QString contextOf(const QObject* o) {
    for (; o; o = o->parent())
        for (const QMetaObject* m = o->metaObject(); m; m = m->superClass())
            if (catalogue.contains(m->className()))
                return m->className();
    return QString();
}
} // namespace

void tst_Language::everyTextFollowsTheCatalogue() {
    QFile ts(TOVIK_CATALOGUE_SOURCE);
    QVERIFY(ts.open(QIODevice::ReadOnly));
    QString context, source;
    for (QXmlStreamReader xml(&ts); !xml.atEnd();) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("name"))
            context = xml.readElementText();
        else if (xml.isStartElement() && xml.name() == QLatin1String("source"))
            source = xml.readElementText();
        else if (xml.isStartElement() && xml.name() == QLatin1String("translation"))
            catalogue[context][source] = xml.readElementText();
    }

    Program program;
    ChiK& main = *program.main;
    // Every window there is, with shell rows and notes in it.
    main.actionShells->trigger();
    main.shellsWindow->AddShell->click();
    main.shellsWindow->AddShell->click();
    QVERIFY(main.files->openScenarioFile(Lessons::list().value(0).path));
    // The mu(E) window, with the copper data of lesson 09 in it.
    QCOMPARE(main.files->readMu(Lessons::folder() + "/09-cu_10k.xmu", std::nullopt), QString());
    main.actions->muWindow->trigger();
    QVERIFY(main.absorptionWindow && main.absorptionWindow->isVisible());
    // A and P1 typed into the main shell's row, so the formula shows them; a
    // held curve, axes and keys on the plots; room for every read-out item.
    for (QLineEdit* box : {main.shellsWindow->AmplitudeVal, main.shellsWindow->Phi1Val}) {
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, box == main.shellsWindow->Phi1Val ? "-0.5" : "10.8");
        QTest::keyClick(box, Qt::Key_Return);
    }
    QVERIFY(main.waves.first()->amplitude == 10.8 && main.waves.first()->phi1 == -0.5);
    for (QAction* a : {main.actions->axes, main.actions->legend, main.actions->physical})
        if (a->isChecked() != (a != main.actions->physical))
            a->trigger();
    program.chiR()->resize(1600, program.chiR()->height());
    const Texts english = collect();
    // Axis titles and the keys' names painted on each plot, by context.
    QWidget* const plots[] = {main.DispA, program.chiR()->DispA};
    const QStringList paintedTexts[] = {{"k (Å⁻¹)", main.valueTitle(), "W(k)", "±F(k)"},
                                        {"R (Å)", program.chiR()->valueTitle(), "Total, real part",
                                         "Total, imaginary part", "Total, modulus"}};
    const QString englishPainted[] = {painted(plots[0]), painted(plots[1])};
    const Scenario before = main.currentState();
    QVERIFY(english.size() > 100);

    // The user's road: the menu entry of one window switches all of them.
    main.actions->japanese->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    const Texts japanese = collect();
    QCOMPARE(japanese.keys(), english.keys());
    int differ = 0;
    for (auto it = english.begin(); it != english.end(); ++it) {
        const QString expected = translated(contextOf(it.key().first), it.value());
        QVERIFY2(!expected.isEmpty() && japanese.value(it.key()) == expected,
                 qPrintable(QStringLiteral("%1 %2: \"%3\" is \"%4\", not \"%5\"")
                                .arg(it.key().first->objectName(), it.key().second, it.value(),
                                     japanese.value(it.key()), expected)));
        differ += expected != it.value();
    }
    QVERIFY(differ > english.size() / 2);
    // The painted ones are painted anew in Japanese.
    for (int i = 0; i < 2; ++i) {
        const QString japanesePainted = painted(plots[i]);
        for (const QString& text : paintedTexts[i]) {
            const QString expected = translated(i ? "ChiR" : "ChiK", text);
            QVERIFY2(englishPainted[i].contains(text) && !expected.isEmpty() &&
                         japanesePainted.contains(expected) &&
                         (expected.contains(text) || !japanesePainted.contains(text)),
                     qPrintable(text + " / " + expected + " in " + japanesePainted));
        }
    }
    QVERIFY(main.actions->japanese->isChecked() && !main.actions->english->isChecked());
    QVERIFY(main.currentState() == before);

    // And back from the other window.
    QAction* englishEntry = program.chiR()->menuLanguage->actions().value(1);
    QCOMPARE(englishEntry, main.actions->english);
    englishEntry->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    QVERIFY(collect() == english);
    QCOMPARE(painted(plots[0]), englishPainted[0]);
    QCOMPARE(painted(plots[1]), englishPainted[1]);
    QVERIFY(main.actions->english->isChecked() && main.currentState() == before);
}

void tst_Language::accessKeysUnique_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("window");
    for (const char* language : {"ja", "en"})
        for (int window : {0, 1})
            QTest::addRow("%s %s", language, window ? "chi(R)" : "chi(k)") << language << window;
}

// Within each menu, and among the menu bar's titles, an access key (the
// letter after '&') opens one entry only: Alt+V then the key reaches it.
void tst_Language::accessKeysUnique() {
    QFETCH(QString, language);
    QFETCH(int, window);
    Program program({"tovik", "-" + language.left(1)});
    QMainWindow* w = window ? static_cast<QMainWindow*>(program.chiR()) : program.main;
    const QRegularExpression key(QStringLiteral("&([^&])"));
    auto check = [&](const QString& where, const QList<QAction*>& actions) {
        QHash<QString, QString> taken;
        for (const QAction* a : actions) {
            const QRegularExpressionMatch m = key.match(QString(a->text()).replace("&&", ""));
            if (a->isSeparator() || !m.hasMatch())
                continue;
            const QString letter = m.captured(1).toLower();
            QVERIFY2(!taken.contains(letter),
                     qPrintable(QStringLiteral("%1: \"%2\" and \"%3\"")
                                    .arg(where, taken.value(letter), a->text())));
            taken.insert(letter, a->text());
        }
    };
    QVERIFY(w->menuBar()->actions().size() >= 3);
    check("menu bar", w->menuBar()->actions());
    for (QMenu* menu : w->menuBar()->findChildren<QMenu*>())
        if (!menu->actions().isEmpty() && menu->objectName() != "menuLessons")
            check(menu->title(), menu->actions());
}

// The field writes χ(R) with the small Greek chi in Japanese too; the
// capital Χ (U+03A7) reads as the letter X.
void tst_Language::chiIsGreekSmallChi() {
    QFile ts(TOVIK_CATALOGUE_SOURCE);
    QVERIFY(ts.open(QIODevice::ReadOnly));
    const QString catalogueText = QString::fromUtf8(ts.readAll());
    QVERIFY(catalogueText.contains(QStringLiteral("χ(R)")));
    QVERIFY(!catalogueText.contains(QChar(0x03a7)));
    Program program({"tovik", "-j"});
    QCOMPARE(program.chiR()->windowTitle(), QStringLiteral("χ(R)"));
}

QTEST_MAIN(tst_Language)
#include "tst_Language.moc"
