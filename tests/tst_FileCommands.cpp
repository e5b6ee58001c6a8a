#include "FileCommands.h"
#include "MeasuredCurve.h"
#include "Program.h"
#include "Scenario.h"
#include "WaveCtrl.h"

#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QImage>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

// Both windows' File menus: the dialog-free half refuses bad paths with its
// reason and changes nothing, writes what the command line's export writes,
// and the menu half reports over the window whose menu was used.
class tst_FileCommands : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void refusals_data();
    void refusals();
    void sameBytesAsTheCommandLine();
    void failureShownOverItsWindow_data();
    void failureShownOverItsWindow();
    void copyTakesItsOwnPlot_data();
    void copyTakesItsOwnPlot();
    void pathMenus_data();
    void pathMenus();
    void pathEndingBeforeTheWindowRefused();

private:
    Program* program = nullptr;
};

using Plot = FileCommands::Plot;
Q_DECLARE_METATYPE(FileCommands::Plot)

void tst_FileCommands::init() {
    program = new Program;
    QVERIFY(QTest::qWaitForWindowExposed(program->main));
    QVERIFY(QTest::qWaitForWindowExposed(program->chiR()));
}

void tst_FileCommands::cleanup() {
    delete program;
    program = nullptr;
}

void tst_FileCommands::refusals_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("name"); // inside a fresh folder
    QTest::addColumn<QString>("message");
    QTest::newRow("picture, unknown format") << "picture k"
                                             << "plot.bmp"
                                             << "use .png, .svg or .pdf";
    QTest::newRow("picture, no such folder") << "picture R"
                                             << "no/plot.svg"
                                             << "no/plot.svg";
    QTest::newRow("data, no such folder") << "data k"
                                          << "no/chik.csv"
                                          << "no/chik.csv";
    QTest::newRow("data, folder in the way") << "data R"
                                             << "taken"
                                             << "it is a folder";
    QTest::newRow("scenario, no such folder") << "save scenario"
                                              << "no/s.tovik.json"
                                              << "cannot be written";
    QTest::newRow("scenario missing") << "open scenario"
                                      << "none.tovik.json"
                                      << "none.tovik.json";
    QTest::newRow("scenario out of range") << "open scenario"
                                           << "bad.tovik.json"
                                           << "sigma";
    QTest::newRow("scenario's data unreadable") << "open scenario"
                                                << "lost.tovik.json"
                                                << "gone.chi";
    QTest::newRow("data, k repeated") << "open data"
                                      << "bad.chi"
                                      << "Line 2";
}

// Each refusal is one sentence naming the cause; nothing is written and the
// program's state (its measured data included) is as it was.
void tst_FileCommands::refusals() {
    QFETCH(QString, command);
    QFETCH(QString, name);
    QFETCH(QString, message);
    QTemporaryDir tmp;
    auto write = [&tmp](const char* file, const QByteArray& bytes) {
        QFile f(tmp.filePath(QLatin1String(file)));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    write("bad.tovik.json", R"({"format": "tovik-scenario", "version": 1, "sigma": 7})");
    write("lost.tovik.json",
          R"({"format": "tovik-scenario", "version": 1, "R": 3, "measuredData": "gone.chi"})");
    write("bad.chi", "1 1\n1 2\n");
    QVERIFY(QDir(tmp.path()).mkdir(QStringLiteral("taken")));
    program->wave()->ctrl->RBar->setValue(31);
    const Scenario before = program->main->currentState();
    const QStringList entriesBefore = QDir(tmp.path()).entryList(QDir::AllEntries | QDir::Hidden);

    FileCommands& files = *program->main->files;
    const QString path = tmp.filePath(name);
    const Plot plot = command.endsWith('R') ? Plot::R : Plot::K;
    const QString error = command.startsWith("picture") ? files.writePicture(plot, path)
                          : command.startsWith("data")  ? files.writeData(plot, path)
                          : command == "save scenario"  ? files.writeScenario(path)
                          : command == "open scenario"  ? files.readScenario(path)
                                                        : files.readData(path);
    QVERIFY2(error.contains(message), qPrintable(error));
    QCOMPARE(error.count('\n'), 0);
    QCOMPARE(QDir(tmp.path()).entryList(QDir::AllEntries | QDir::Hidden), entriesBefore);
    QVERIFY(QFileInfo(tmp.filePath("taken")).isDir());
    QVERIFY(program->main->currentState() == before);
    QVERIFY(!program->main->measured->isLoaded());
}

// The files a menu writes are those of `tovik --export`, for both plots, in
// every format the export writes.
void tst_FileCommands::sameBytesAsTheCommandLine() {
    QTemporaryDir exported, menu;
    QProcess p;
    p.start(QStringLiteral(TOVIK_EXECUTABLE), {"-e", "--export", exported.path()});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 0);
    FileCommands& files = *program->main->files;
    const QStringList names = FileCommands::exportNames();
    QCOMPARE(names.size(), 6);
    for (const QString& name : names) {
        const Plot plot = name.startsWith(QLatin1String("chik")) ? Plot::K : Plot::R;
        const QString path = menu.filePath(name);
        QCOMPARE(name.endsWith(QLatin1String(".csv")) ? files.writeData(plot, path)
                                                      : files.writePicture(plot, path),
                 QString());
        QFile mine(path), theirs(exported.filePath(name));
        QVERIFY(mine.open(QIODevice::ReadOnly) && theirs.open(QIODevice::ReadOnly));
        const QByteArray bytes = mine.readAll(), expected = theirs.readAll();
        QVERIFY2(bytes.size() > 1000, qPrintable(name));
        // A test runs at 96 dpi, which the PNG records: there the pixels.
        if (name.endsWith(QLatin1String(".png")))
            QCOMPARE(QImage::fromData(bytes), QImage::fromData(expected));
        else
            QVERIFY2(bytes == expected, qPrintable(name));
    }
}

void tst_FileCommands::failureShownOverItsWindow_data() {
    QTest::addColumn<Plot>("plot");
    QTest::addColumn<bool>("picture");
    QTest::newRow("chi(k) picture") << Plot::K << true;
    QTest::newRow("chi(k) data") << Plot::K << false;
    QTest::newRow("chi(R) picture") << Plot::R << true;
    QTest::newRow("chi(R) data") << Plot::R << false;
}

void tst_FileCommands::failureShownOverItsWindow() {
    QFETCH(Plot, plot);
    QFETCH(bool, picture);
    QMainWindow* window = plot == Plot::K ? static_cast<QMainWindow*>(program->main)
                                          : static_cast<QMainWindow*>(program->chiR());
    QTemporaryDir tmp;
    const QString path = tmp.filePath(picture ? "no/plot.png" : "no/plot.csv");
    QString text, title;
    QWidget* over = nullptr;
    QTimer::singleShot(0, this, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            text = box->text();
            title = box->windowTitle();
            over = box->parentWidget();
            box->accept();
        }
    });
    FileCommands& files = *program->main->files;
    QVERIFY(!(picture ? files.exportPictureFile(plot, path) : files.exportDataFile(plot, path)));
    QCOMPARE(over, window);
    QCOMPARE(title, window->windowTitle());
    QVERIFY2(text.contains(QStringLiteral("no/plot")), qPrintable(text));
}

void tst_FileCommands::copyTakesItsOwnPlot_data() {
    QTest::addColumn<Plot>("plot");
    QTest::newRow("chi(k)") << Plot::K;
    QTest::newRow("chi(R)") << Plot::R;
}

// Ctrl+Shift+C in either window copies that window's plot.
void tst_FileCommands::copyTakesItsOwnPlot() {
    QFETCH(Plot, plot);
    QMainWindow* window = plot == Plot::K ? static_cast<QMainWindow*>(program->main)
                                          : static_cast<QMainWindow*>(program->chiR());
    QWidget* surface = plot == Plot::K ? static_cast<QWidget*>(program->main->DispA)
                                       : static_cast<QWidget*>(program->chiR()->DispA);
    QGuiApplication::clipboard()->clear();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
             surface->grab().toImage().convertToFormat(QImage::Format_RGB32));
}

void tst_FileCommands::pathMenus_data() {
    QTest::addColumn<Plot>("plot");
    QTest::newRow("chi(k) window") << Plot::K;
    QTest::newRow("chi(R) window") << Plot::R;
}

// "Open scattering path…" from either window's File menu, through its
// dialog: the main shell takes the path, N·S0² becomes 12 × 0.9, the
// formula names the path and the envelope drawn is the path's amplitude,
// which a drag does not move. "Remove path" brings the hand envelope back.
void tst_FileCommands::pathMenus() {
    QFETCH(Plot, plot);
    ChiK& main = *program->main;
    ChiR& chiR = *program->chiR();
    QAction* open = plot == Plot::K ? main.actionOpenPath : chiR.actionOpenPath;
    QAction* remove = plot == Plot::K ? main.actionRemovePath : chiR.actionRemovePath;
    QVERIFY(!remove->isEnabled());
    AWave& wave = *program->wave();
    const QVector<double> handEnvelope = wave.envelopeValues;
    const QString file = QStringLiteral(TOVIK_TEST_DATA "/feff0001.dat");
    QTimer::singleShot(0, this, [&] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            dialog->selectFile(file);
            QMetaObject::invokeMethod(dialog, "accept");
        }
    });
    open->trigger();
    QVERIFY(wave.path);
    QCOMPARE(wave.path->fileName, QFileInfo(file).absoluteFilePath());
    QCOMPARE(wave.amplitude, 12 * 0.9);
    QVERIFY(remove->isEnabled());
    QVERIFY(!wave.ctrl->Flat->isEnabled());
    QVERIFY2(wave.ctrl->label_6->text().contains(QLatin1String("feff0001.dat")),
             qPrintable(wave.ctrl->label_6->text()));
    // Copper's |f| exp(−2R/λ) is below 1 and not flat.
    double low = 1e9, high = 0;
    for (int i = 30; i < 150; ++i) {
        low = std::min(low, wave.envelopeValues[i]);
        high = std::max(high, wave.envelopeValues[i]);
    }
    QVERIFY2(low > 0 && high < 1 && high > 1.5 * low, qPrintable(QString::number(high)));
    // A drag where an envelope point sits leaves the envelope alone.
    const QVector<QPointF> points = wave.envelope->points;
    const QVector<double> before = wave.envelopeValues;
    QWidget* area = main.DispA;
    const QPoint at(int(main.DispA->coord.toPixelX(8.0)), int(main.DispA->coord.toPixelY(1.0)));
    press(area, at);
    dragTo(area, at + QPoint(0, 30));
    release(area, at + QPoint(0, 30));
    QCOMPARE(wave.envelope->points, points);
    QCOMPARE(wave.envelopeValues, before);

    remove->trigger();
    QVERIFY(!wave.path);
    QVERIFY(!remove->isEnabled());
    QVERIFY(wave.ctrl->Flat->isEnabled());
    QCOMPARE(wave.envelopeValues, handEnvelope);
}

// A path whose rows end at k = 10 Å⁻¹ is refused while the window reaches
// 16 Å⁻¹, in a message box that names both; the model keeps no path.
void tst_FileCommands::pathEndingBeforeTheWindowRefused() {
    QTemporaryDir tmp;
    QFile full(QStringLiteral(TOVIK_TEST_DATA "/feff0001.dat"));
    QVERIFY(full.open(QIODevice::ReadOnly));
    QByteArray text;
    while (!full.atEnd()) {
        const QByteArray line = full.readLine();
        bool number = false;
        const double k = line.simplified().split(' ').value(0).toDouble(&number);
        if (!number || k <= 10)
            text += line;
    }
    const QString path = tmp.filePath(QStringLiteral("short.dat"));
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(text);
    out.close();
    QString shown;
    QTimer::singleShot(0, this, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->accept();
        }
    });
    QVERIFY(!program->main->files->openPathFile(path));
    QVERIFY(!program->wave()->path);
    QVERIFY2(shown.contains(QLatin1String("short.dat")) &&
                 shown.contains(QLatin1String("k = 10")) && shown.contains(QLatin1String("k = 16")),
             qPrintable(shown));
}

QTEST_MAIN(tst_FileCommands)
#include "tst_FileCommands.moc"
