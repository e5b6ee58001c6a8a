#include "Program.h"

#include "Scenario.h"
#include "Settings.h"
#include "ViewOptions.h"
#include "WindowStart.h"
#include <QMenuBar>

#include <QElapsedTimer>
#include <QResource>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>
#include <sys/stat.h>

// Start-up as the entry function does it: choose the language from the
// arguments, install the compiled-in catalogue, build the main window.
class tst_Startup : public QObject {
    Q_OBJECT
private slots:
    void language_data();
    void language();
    void rememberedLanguage_data();
    void rememberedLanguage();
    void viewIsRemembered();
    void settingsKeepTheirKeys_data();
    void settingsKeepTheirKeys();
    void damagedSettings_data();
    void damagedSettings();
    void unusableSettingsFile_data();
    void unusableSettingsFile();
    void fitted_data();
    void fitted();
    void restoredWindowsFitTheScreen_data();
    void restoredWindowsFitTheScreen();
    void catalogueIsEmbeddedUncompressed();
    void catalogueTexts_data();
    void catalogueTexts();
    void catalogueIsComplete();
    void japaneseMenus();
    void mainWindowTitle_data();
    void mainWindowTitle();
    void mainWindowForm();
};

using Language = Startup::Language;
Q_DECLARE_METATYPE(Startup::Language)

void tst_Startup::language_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<Language>("expected");
    QTest::newRow("no argument") << QStringList{"tovik"} << Language::Japanese;
    QTest::newRow("-e") << QStringList{"tovik", "-e"} << Language::English;
    QTest::newRow("-j") << QStringList{"tovik", "-j"} << Language::Japanese;
    QTest::newRow("-j -e") << QStringList{"tovik", "-j", "-e"} << Language::English;
    QTest::newRow("-e -j") << QStringList{"tovik", "-e", "-j"} << Language::Japanese;
    QTest::newRow("-E") << QStringList{"tovik", "-E"} << Language::Japanese;
    QTest::newRow("--e") << QStringList{"tovik", "--e"} << Language::Japanese;
    QTest::newRow("-ex") << QStringList{"tovik", "-ex"} << Language::Japanese;
    QTest::newRow("-e then junk") << QStringList{"tovik", "-e", "file.txt"} << Language::English;
    QTest::newRow("program named -e") << QStringList{"-e"} << Language::Japanese;
}

void tst_Startup::language() {
    QFETCH(QStringList, args);
    QFETCH(Language, expected);
    QCOMPARE(Startup::chosenLanguage(CommandLine::parse(args).language), expected);
}

void tst_Startup::rememberedLanguage_data() {
    QTest::addColumn<QString>("remembered");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<Language>("expected");
    QTest::newRow("nothing") << "" << QStringList{"tovik"} << Language::Japanese;
    QTest::newRow("English") << "en" << QStringList{"tovik"} << Language::English;
    QTest::newRow("-j wins") << "en" << QStringList{"tovik", "-j"} << Language::Japanese;
    QTest::newRow("-e wins") << "ja" << QStringList{"tovik", "-e"} << Language::English;
}

// The View menu's choice is remembered; -j and -e win for their run.
void tst_Startup::rememberedLanguage() {
    QFETCH(QString, remembered);
    QFETCH(QStringList, args);
    QTemporaryDir dir;
    Settings settings(dir.filePath("tovik.ini"));
    if (!remembered.isEmpty())
        Startup::remember(remembered == "en" ? Language::English : Language::Japanese, settings);
    QTEST(Startup::chosenLanguage(CommandLine::parse(args).language, settings), "expected");
}

// The windows start with the view options of the last run, and a change in
// the View menu is kept at once, the others as they are.
void tst_Startup::viewIsRemembered() {
    QTemporaryDir dir;
    const QString path = dir.filePath("tovik.ini");
    {
        Settings settings(path);
        settings.setView({true, false, true, false});
        const Scenario state = WindowStart::rememberedState(settings);
        QVERIFY(state.viewAxes && !state.viewLegend && state.viewPhysical && !state.viewLockScales);
        Scenario plain = state;
        plain.viewAxes = plain.viewPhysical = false;
        QVERIFY(plain == Scenario());

        Program program;
        program.main->applyScenario(state, {}, {});
        WindowStart::keepView(program.main->view, settings);
        program.main->actions->legend->trigger();
    }
    const Settings::View kept = Settings(path).view();
    QVERIFY(kept.axes && kept.legend && kept.physical && !kept.lockScales);
}

void tst_Startup::settingsKeepTheirKeys_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("value");
    QTest::newRow("language") << "language" << QVariant("en");
    QTest::newRow("axes") << "view/axes" << QVariant(true);
    QTest::newRow("legend") << "view/legend" << QVariant(false);
    QTest::newRow("physical") << "view/physical" << QVariant(true);
    QTest::newRow("lock scales") << "view/lockScales" << QVariant(true);
    QTest::newRow("chi(k) window") << "windows/chiK" << QVariant(QByteArray("k\x01"));
    QTest::newRow("chi(R) window") << "windows/chiR" << QVariant(QByteArray("r\x02"));
    QTest::newRow("folder") << "files/lastFolder" << QVariant("/some/folder");
}

// Users' files from earlier versions keep working: every value is written
// under the key it always had and read back from a fresh object.
void tst_Startup::settingsKeepTheirKeys() {
    QFETCH(QString, key);
    QFETCH(QVariant, value);
    QTemporaryDir dir;
    const QString path = dir.filePath("tovik.ini");
    {
        Settings settings(path);
        settings.setLanguageCode("en");
        settings.setView({true, false, true, true});
        settings.setGeometry(Settings::Window::ChiK, "k\x01");
        settings.setGeometry(Settings::Window::ChiR, "r\x02");
        settings.setLastFolder("/some/folder");
    }
    const QSettings raw(path, QSettings::IniFormat);
    QCOMPARE(raw.value(key).toString(), value.toString());
    // Written under the old key by hand, read through the class.
    QSettings(path, QSettings::IniFormat).setValue(key, value);
    const Settings settings(path);
    const Settings::View view = settings.view();
    const QVariant read =
        key == "language"          ? QVariant(settings.languageCode())
        : key == "view/axes"       ? QVariant(view.axes)
        : key == "view/legend"     ? QVariant(view.legend)
        : key == "view/physical"   ? QVariant(view.physical)
        : key == "view/lockScales" ? QVariant(view.lockScales)
        : key == "windows/chiK"    ? QVariant(settings.geometry(Settings::Window::ChiK))
        : key == "windows/chiR"    ? QVariant(settings.geometry(Settings::Window::ChiR))
                                   : QVariant(settings.lastFolder());
    QCOMPARE(read.toString(), value.toString());
}

void tst_Startup::damagedSettings_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("usesFile");
    const QByteArray hugeList("@Variant(\\0\\0\\0\\t\\x7f\\xff\\xff\\xff)");
    QTest::newRow("variant list of 2^31 entries") << "[General]\nlanguage=" + hugeList + "\n"
                                                  << false;
    QTest::newRow("variant list in a window place")
        << "[windows]\nchiK=" + hugeList + "\nchiR=" + hugeList + "\n"
        << false;
    QTest::newRow("a list for a language") << QByteArray("[General]\nlanguage=ja, en\n") << true;
    QTest::newRow("an unknown language") << QByteArray("[General]\nlanguage=fr\n") << true;
    QTest::newRow("numbers for flags")
        << QByteArray("[view]\naxes=7\nlegend=1\nphysical=yes\nlockScales=@ByteArray(true)\n")
        << true;
    QTest::newRow("text for a window place")
        << QByteArray("[windows]\nchiK=hello\nchiR=1, 2\n") << true;
    QTest::newRow("window place of 2000 bytes")
        << "[windows]\nchiK=@ByteArray(" + QByteArray(2000, 'x') + ")\n"
        << true;
    QTest::newRow("a list for a folder") << QByteArray("[files]\nlastFolder=a, b\n") << true;
    QTest::newRow("a folder of 5000 characters")
        << "[files]\nlastFolder=/" + QByteArray(5000, 'a') + "\n"
        << true;
    QTest::newRow("larger than 64 KiB")
        << "[General]\nlanguage=ja\n#" + QByteArray(70000, 'x') + "\n"
        << false;
}

// A damaged file reads as the defaults, never as a crash; a file the reader
// cannot be trusted with is not opened at all and left as it is.
void tst_Startup::damagedSettings() {
    QFETCH(QByteArray, file);
    QFETCH(bool, usesFile);
    QTemporaryDir dir;
    const QString path = dir.filePath("tovik.ini");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(file);
    f.close();
    {
        Settings settings(path);
        QCOMPARE(settings.usesFile(), usesFile);
        QCOMPARE(settings.languageCode(), QString());
        const Settings::View view = settings.view();
        QVERIFY(!view.axes && !view.legend && !view.physical && !view.lockScales);
        QCOMPARE(settings.geometry(Settings::Window::ChiK), QByteArray());
        QCOMPARE(settings.geometry(Settings::Window::ChiR), QByteArray());
        QCOMPARE(settings.lastFolder(), QString());
        // What this run chooses is kept for the run either way.
        settings.setLanguageCode("ja");
        QCOMPARE(settings.languageCode(), QString("ja"));
    }
    if (!usesFile) {
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), file);
    }
}

void tst_Startup::unusableSettingsFile_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("FIFO") << "fifo";
    QTest::newRow("folder") << "folder";
    QTest::newRow("link to a FIFO") << "link";
}

// A FIFO in place of the file would block the start until someone writes
// into it: it is not opened.
void tst_Startup::unusableSettingsFile() {
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QString path = dir.filePath("tovik.ini");
    const QString fifo = dir.filePath("fifo");
    if (kind == "folder")
        QVERIFY(QDir(dir.path()).mkdir("tovik.ini"));
    else
        QCOMPARE(::mkfifo(QFile::encodeName(kind == "fifo" ? path : fifo).constData(), 0600), 0);
    if (kind == "link")
        QVERIFY(QFile::link(fifo, path));
    QElapsedTimer timer;
    timer.start();
    {
        Settings settings(path);
        QVERIFY(!settings.usesFile());
        QCOMPARE(settings.languageCode(), QString());
        settings.setView({true, true, true, true});
        QVERIFY(settings.view().axes);
    }
    QVERIFY(timer.elapsed() < 1000);
    struct stat st;
    QCOMPARE(::lstat(QFile::encodeName(path).constData(), &st), 0);
    QVERIFY(kind == "fifo"     ? S_ISFIFO(st.st_mode)
            : kind == "folder" ? S_ISDIR(st.st_mode)
                               : S_ISLNK(st.st_mode));
}

void tst_Startup::fitted_data() {
    QTest::addColumn<QRect>("wanted");
    QTest::addColumn<QRect>("expected");
    // On a 1920 × 1080 screen whose top 30 pixels are a panel, and a
    // minimum of 480 × 360.
    QTest::newRow("fits") << QRect(100, 100, 800, 600) << QRect(100, 100, 800, 600);
    QTest::newRow("32767 square") << QRect(0, 0, 32767, 32767) << QRect(0, 30, 1920, 1050);
    QTest::newRow("off to the left and up")
        << QRect(-30000, -30000, 800, 600) << QRect(0, 30, 800, 600);
    QTest::newRow("off to the right and down")
        << QRect(5000, 4000, 800, 600) << QRect(1120, 480, 800, 600);
    QTest::newRow("half over the edge") << QRect(1500, 900, 800, 600) << QRect(1120, 480, 800, 600);
    QTest::newRow("445 x 97") << QRect(200, 200, 445, 97) << QRect(200, 200, 480, 360);
    QTest::newRow("negative size") << QRect(200, 200, -50, -50) << QRect(200, 200, 480, 360);
}

void tst_Startup::fitted() {
    QFETCH(QRect, wanted);
    QFETCH(QRect, expected);
    QCOMPARE(WindowStart::fitted(wanted, QRect(0, 30, 1920, 1050), QSize(480, 360)), expected);
}

void tst_Startup::restoredWindowsFitTheScreen_data() {
    QTest::addColumn<QRect>("kept");
    QTest::newRow("32767 square") << QRect(0, 0, 32767, 32767);
    QTest::newRow("far off screen") << QRect(-20000, 40000, 700, 500);
    QTest::newRow("tiny") << QRect(10, 10, 20, 5);
}

// Both windows restored from places a screen cannot show open on the
// screen, whole, and not smaller than the minimum.
void tst_Startup::restoredWindowsFitTheScreen() {
    QFETCH(QRect, kept);
    QTemporaryDir dir;
    const QString path = dir.filePath("tovik.ini");
    {
        QWidget w;
        w.setGeometry(kept);
        Settings settings(path);
        settings.setGeometry(Settings::Window::ChiK, w.saveGeometry());
        settings.setGeometry(Settings::Window::ChiR, w.saveGeometry());
    }
    Program program;
    const Settings settings(path);
    WindowStart::placeWindows(*program.main, settings);
    const QRect available = program.main->screen()->availableGeometry();
    for (QWidget* w :
         {static_cast<QWidget*>(program.main), static_cast<QWidget*>(program.chiR())}) {
        QVERIFY2(available.contains(w->frameGeometry()), qPrintable(QString("%1 %2x%3+%4+%5")
                                                                        .arg(w->objectName())
                                                                        .arg(w->width())
                                                                        .arg(w->height())
                                                                        .arg(w->x())
                                                                        .arg(w->y())));
        QVERIFY(w->width() >= std::min(480, available.width()) &&
                w->height() >= std::min(360, available.height()));
    }
}

void tst_Startup::catalogueIsEmbeddedUncompressed() {
    QResource qm(QStringLiteral(":/Tovik_ja_JP.qm"));
    QVERIFY(qm.isValid());
    QVERIFY(qm.size() > 0);
    QCOMPARE(qm.compressionAlgorithm(), QResource::NoCompression);
}

// A few messages whose exact characters matter: the small chi in both titles
// (the capital Χ reads as an X), the missing colon, the three blanks before the formula's colon.
void tst_Startup::catalogueTexts_data() {
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("translation");
    QTest::newRow("chi(k)") << "ChiK"
                            << "chi(k)" << QString::fromUtf8("\u03c7(k)");
    QTest::newRow("Chi(R)") << "ChiR"
                            << "Chi(R)" << QString::fromUtf8("\u03c7(R)");
    QTest::newRow("pointer") << "ChiR"
                             << "Pointer : " << QString::fromUtf8("指示位置");
    QTest::newRow("R:") << "WaveCtrl"
                        << "R:" << QString::fromUtf8("R (原子間距離) : ");
    QTest::newRow("Hanning") << "WindowFunc"
                             << "H&anning" << QString::fromUtf8("ハニング関数");
    QTest::newRow("formula")
        << "WaveCtrl"
        << "k^n * W(k) * S0^2 * (1/k) * (1/R^2) * F(k) * sin( 2KR + P0 + P2*k^2 ) * exp( -2 * "
           "Sigma^2 * k^2 )   : S0 = 1.0"
        << QString::fromUtf8("k^n * 窓関数(k) * S0^2 * (1/k) * (1/R^2) * 後方散乱振幅(k) * "
                             "sin( 2KR + P0 + P2 * k^2 ) * exp( -2 * σ^2 * k^2 )   : S0 = 1.0");
    QTest::newRow("unknown stays untranslated") << "ChiR"
                                                << "Pointer" << QString();
}

void tst_Startup::catalogueTexts() {
    QFETCH(QString, context);
    QFETCH(QString, source);
    QFETCH(QString, translation);
    QTranslator t;
    QVERIFY(t.load(QStringLiteral(":Tovik_ja_JP"), QCoreApplication::applicationDirPath()));
    QCOMPARE(t.translate(qPrintable(context), source.toUtf8().constData()), translation);
}

// The compiled catalogue answers every message of its source exactly, and
// no message is left untranslated.
void tst_Startup::catalogueIsComplete() {
    QFile ts(QStringLiteral(TOVIK_CATALOGUE_SOURCE));
    QVERIFY(ts.open(QIODevice::ReadOnly));
    QTranslator t;
    QVERIFY(t.load(QStringLiteral(":Tovik_ja_JP"), QCoreApplication::applicationDirPath()));
    QXmlStreamReader xml(&ts);
    QString context, source;
    int messages = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            QVERIFY2(xml.attributes().value(QLatin1String("type")).isEmpty(), qPrintable(source));
            const QString translation = xml.readElementText();
            QVERIFY2(!translation.isEmpty(), qPrintable(source));
            QCOMPARE(t.translate(qPrintable(context), source.toUtf8().constData()), translation);
            ++messages;
        }
    }
    QVERIFY(!xml.hasError());
    QVERIFY(messages >= 80);
}

// Menus and their entries read in Japanese, with their access keys.
void tst_Startup::japaneseMenus() {
    Program program({QStringLiteral("tovik")});
    auto texts = [](QMenuBar* bar) {
        QStringList t;
        for (QAction* menu : bar->actions()) {
            t << menu->text();
            for (QAction* a : menu->menu()->actions())
                if (!a->isSeparator())
                    t << a->text();
        }
        return t;
    };
    QCOMPARE(texts(program.main->menuBar()),
             QStringList({"ファイル(&F)",
                          "シナリオを開く(&O)…",
                          "シナリオに名前を付けて保存(&S)…",
                          "授業(&L)",
                          "測定した χ(k) を開く(&M)…",
                          "測定した μ(E) を開く(&E)…",
                          "測定した χ(k) を消す",
                          "散乱パスを開く(&T)…",
                          "フィルターしたデータを殻の振幅と位相に使う(&F)…",
                          "パスを外す",
                          "曲線を残す(&H)",
                          "残した曲線を消す(&U)",
                          "図を書き出す(&P)…",
                          "データを書き出す(&D)…",
                          "図をコピー(&C)",
                          "終了(&Q)",
                          "表示(&V)",
                          "軸と単位(&A)",
                          "凡例(&L)",
                          "物理的な振幅(&P)",
                          "縦軸を固定(&K)",
                          "フィルターした χ(q)(&Q)",
                          "μ(E)(&M)",
                          "左右に並べる(&S)",
                          "散乱殻(&H)…",
                          "フィット(&F)…",
                          "比率法(&R)…",
                          "授業のノート(&N)…",
                          "言語(&G)",
                          "ヘルプ(&H)",
                          "Tovik について(&A)"}));
    QCOMPARE(texts(program.chiR()->menuBar()),
             QStringList({"ファイル(&F)", "散乱パスを開く(&T)…",
                          "フィルターしたデータを殻の振幅と位相に使う(&F)…", "パスを外す",
                          "図を書き出す(&P)…", "データを書き出す(&D)…", "図をコピー(&C)",
                          "表示(&V)", "軸と単位(&A)", "凡例(&L)", "物理的な振幅(&P)",
                          "縦軸を固定(&K)", "フィルターした χ(q)(&Q)", "μ(E)(&M)",
                          "左右に並べる(&S)", "言語(&G)", "ヘルプ(&H)", "Tovik について(&A)"}));
}

void tst_Startup::mainWindowTitle_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("title");
    QTest::newRow("default Japanese") << QStringList{"tovik"} << QString::fromUtf8("\u03c7(k)");
    QTest::newRow("-e") << QStringList{"tovik", "-e"} << QStringLiteral("chi(k)");
    QTest::newRow("-e -j") << QStringList{"tovik", "-e", "-j"} << QString::fromUtf8("\u03c7(k)");
    QTest::newRow("-E ignored") << QStringList{"tovik", "-E"} << QString::fromUtf8("\u03c7(k)");
}

void tst_Startup::mainWindowTitle() {
    QFETCH(QStringList, args);
    QFETCH(QString, title);
    // Built as the entry function builds it; the objects it keeps for the
    // whole run are released by the fixture.
    Program program(args);
    QCOMPARE(program.main->windowTitle(), title);
}

void tst_Startup::mainWindowForm() {
    Program program;
    ChiK& window = *program.main;
    QCOMPARE(window.size(), QSize(800, 600));
    QVERIFY(window.DispA);
    QCOMPARE(window.DispA->frameShape(), QFrame::StyledPanel);
    QCOMPARE(window.frame->sizePolicy().verticalPolicy(), QSizePolicy::Maximum);
    QCOMPARE(window.gridLayout_3->spacing(), 0);
    QVERIFY(window.WaveCtrlLayout);
    QCOMPARE(window.centralWidget(), window.centralwidget);
}

QTEST_MAIN(tst_Startup)
#include "tst_Startup.moc"
