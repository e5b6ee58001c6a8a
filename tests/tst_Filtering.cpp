#include "Program.h"

#include "ChiDataReader.h"
#include "CurvePixels.h"
#include "FilteredCurves.h"
#include "MeasuredCurve.h"
#include "Palette.h"
#include "PhysicalUnits.h"
#include "ProgramState.h"
#include "RealFft.h"
#include "Scenario.h"
#include "ShellFile.h"
#include "ViewOptions.h"
#include "WaveCtrl.h"
#include "WindowFunc.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

// Fourier filtering in the program: the R window on chi(R), chi(q) on the
// chi(k) plot, chiq.csv, the filter's scenario keys and --ratio.
class tst_Filtering : public QObject {
    Q_OBJECT
private slots:
    void rWindowTypedAndDragged();
    void chiQDrawnOnTheChiKPlot();
    void chiQCsvAgainstTheShellsFormula();
    void scenarioKeys_data();
    void scenarioKeys();
    void ratioAgainstTheClosedForm_data();
    void ratioAgainstTheClosedForm();
    void ratioRefusals_data();
    void ratioRefusals();
};

namespace {
const double shellR = 2.3; // the data's sin(4.6 k): a shell at 2.3 Å

struct Run {
    int code = -1;
    QByteArray out, err;
};
Run runProgram(const QStringList& arguments) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(TOVIK_EXECUTABLE), QStringList{QStringLiteral("-e")} + arguments);
    Run r;
    if (!p.waitForFinished(120000))
        return r;
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

const WindowPositions wideR{1.0, 1.5, 3.1, 3.6};

void setKWindow(AWave* wave, const WindowPositions& p) {
    // From the top down, so that each lands in its own place.
    for (int i = 3; i >= 0; --i)
        wave->ctrl->WindowCtrl->setPos(i, p[i]);
}
} // namespace

void tst_Filtering::rWindowTypedAndDragged() {
    Program program;
    ChiR* chiR = program.chiR();
    chiR->resize(800, 600);
    // Hidden until filtering is on; the View entry shows the row.
    QVERIFY(!chiR->rWindowRow->isVisible());
    program.main->actions->filtered->trigger();
    QVERIFY(program.main->view->filtered);
    QVERIFY(chiR->rWindowRow->isVisible());

    // Typed: the fourth box past the others is sorted in; garbage is refused.
    QLineEdit* fourth = chiR->rWindowBoxes[3];
    fourth->setFocus();
    fourth->selectAll();
    QTest::keyClicks(fourth, QStringLiteral("3.4"));
    QTest::keyClick(fourth, Qt::Key_Return);
    QCOMPARE(chiR->rWindow[3], 3.4);
    QLineEdit* first = chiR->rWindowBoxes[0];
    first->selectAll();
    QTest::keyClicks(first, QStringLiteral("abc"));
    QTest::keyClick(first, Qt::Key_Return);
    QCOMPARE(chiR->rWindow[0], 1.7);
    QCOMPARE(first->text(), QStringLiteral("1.7"));

    // Dragged: the handle at 1.9 on the zero line, taken to 2.2 as pixels
    // of the frame the last paint set.
    DispArea* area = chiR->DispA;
    area->grab();
    const ChCoord& c = area->coord;
    const QPoint from(qRound(c.toPixelX(1.9)), qRound(c.toPixelY(0)));
    const QPoint to(qRound(c.toPixelX(2.2)), from.y());
    press(area, from);
    dragTo(area, to);
    release(area, to);
    QVERIFY(std::abs(chiR->rWindow[1] - 2.2) < 1.5 * (c.xMax - c.xMin) / area->width());
    QCOMPARE(chiR->rWindowBoxes[1]->text(), QString::number(chiR->rWindow[1], 'g', 6));
    // The pointer (at 2 Å, under the path) stayed.
    QCOMPARE(chiR->pointerR, 2.0);
    // Past its neighbour at 2.8, the dragged value takes its place and the
    // neighbour stays whole.
    const QPoint past(qRound(c.toPixelX(3.0)), from.y());
    press(area, to);
    dragTo(area, past);
    release(area, past);
    QCOMPARE(chiR->rWindow[1], 2.8);
    QVERIFY(std::abs(chiR->rWindow[2] - 3.0) < 1.5 * (c.xMax - c.xMin) / area->width());

    // Filtering off: the handles are not there to drag.
    program.main->actions->filtered->trigger();
    QVERIFY(!chiR->rWindowRow->isVisible());
    const WindowPositions before = chiR->rWindow;
    const QPoint handle(qRound(c.toPixelX(before[0])), from.y());
    press(area, handle);
    dragTo(area, handle + QPoint(40, 0));
    release(area, handle + QPoint(40, 0));
    QCOMPARE(chiR->rWindow, before);
}

void tst_Filtering::chiQDrawnOnTheChiKPlot() {
    QTemporaryDir dir;
    Program program;
    program.main->resize(800, 600);
    program.main->view->setPhysical(true);
    // The model far out (its chi(q) through this R window is all but 0),
    // so that the data's is alone off the zero line.
    program.wave()->setParameter(AWave::Parameter::R, 6.0);
    // A k window inside the data (they end at 14.5 Å^-1) with long sills,
    // and a wide R window: the window's side lobes leave chi(q) within 3 %
    // of the shell it was filtered from.
    setKWindow(program.wave(), {2, 6, 11, 14});
    const double size = 3;
    QVERIFY(program.openData(dir.filePath(QStringLiteral("shell.chi")), size));
    program.chiR()->setRWindow(wideR);
    program.main->actions->filtered->trigger();

    DispArea* area = program.main->DispA;
    const QImage img = area->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const ChCoord& c = area->coord;
    const int n = program.wave()->n;
    const QRgb colour = Palette::filteredData().rgb();
    int checked = 0;
    QStringList missing;
    // Below the zero line, away from the key, and between the envelope
    // handles' lines at whole k: the lower envelope -k^n size / k and the
    // troughs of k^n chi(q) = k^n size sin(4.6 k) / k.
    auto look = [&](double k, double value, const QString& what) {
        const int x = qRound(c.toPixelX(k));
        const int y = qRound(c.toPixelY(value));
        const int reach = std::max(2, qRound(std::abs(c.toPixelY(1.03 * value) - y)) + 1);
        ++checked;
        if (!colourNear(img, QPoint(x, y), colour, 1, reach))
            missing << QStringLiteral("%1 at k = %2").arg(what).arg(k);
    };
    for (double k = 4.75; k <= 12; k += 0.5)
        look(k, -std::pow(k, n) * size / k, QStringLiteral("-|chi(q)|"));
    for (int m = 4; m <= 8; ++m) {
        const double k = (3 * M_PI / 2 + 2 * M_PI * m) / (2 * shellR); // sin = -1
        look(k, -size * std::pow(k, n - 1), QStringLiteral("chi(q) trough"));
    }
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral("; "))));
    QCOMPARE(checked, 20);

    // Off, not a pixel of it is left.
    program.main->actions->filtered->trigger();
    const QImage off = area->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int left = 0;
    for (int y = 0; y < off.height(); ++y)
        for (int x = 0; x < off.width(); ++x)
            left += off.pixel(x, y) == colour;
    QCOMPARE(left, 0);
}

void tst_Filtering::chiQCsvAgainstTheShellsFormula() {
    QTemporaryDir dir;
    Program program;
    program.main->view->setPhysical(true);
    setKWindow(program.wave(), {2, 6, 11, 14});
    const double size = 2;
    QVERIFY(program.openData(dir.filePath(QStringLiteral("shell.chi")), size));
    program.chiR()->setRWindow(wideR);

    QVector<SafeFile::Entry> files;
    QString error;
    QVERIFY(program.main->files->exportFiles(&files, &error));
    QCOMPARE(files.size(), FileCommands::exportNames().size()); // not filtering: no chiq.csv
    program.main->actions->filtered->trigger();
    files.clear();
    QVERIFY2(program.main->files->exportFiles(&files, &error), qPrintable(error));
    QCOMPARE(files.size(), FileCommands::exportNames().size() + 1);
    QCOMPARE(files.last().name, FileCommands::filteredName());

    const QList<QByteArray> lines = files.last().bytes.split('\n');
    int header = -1;
    for (int i = 0; i < lines.size() && header < 0; ++i)
        if (!lines[i].startsWith('#'))
            header = i;
    QCOMPARE(lines.value(header),
             QByteArray("q,re,im,amplitude,phase,data_re,data_im,data_amplitude,data_phase"));
    // The data's columns against sin(2 k 2.3) size / k: amplitude, the
    // parts, and the phase 4.6 k up to a whole number of turns.
    int rows = 0;
    double worstAmplitude = 0, worstPhase = 0;
    for (int i = header + 1; i < lines.size(); ++i) {
        const QList<QByteArray> cells = lines[i].split(',');
        if (cells.size() != 9)
            continue;
        const double q = cells[0].toDouble();
        if (q < 4.5 || q > 12)
            continue;
        ++rows;
        const double amplitude = size / q;
        worstAmplitude = std::max(worstAmplitude, std::abs(cells[7].toDouble() / amplitude - 1));
        double turn = (cells[8].toDouble() - 2 * shellR * q) / (2 * M_PI);
        turn -= std::round(turn);
        worstPhase = std::max(worstPhase, std::abs(turn * 2 * M_PI));
        QVERIFY(std::abs(cells[5].toDouble() - amplitude * std::sin(2 * shellR * q)) <
                0.03 * amplitude);
        QVERIFY(std::abs(cells[6].toDouble() - amplitude * std::cos(2 * shellR * q)) <
                0.03 * amplitude);
        // The file's model columns are the filter's output for the model's
        // spectrum, which the plot draws too.
        QVERIFY(std::abs(cells[3].toDouble() -
                         std::hypot(cells[1].toDouble(), cells[2].toDouble())) < 1e-12);
    }
    QCOMPARE(rows, 76); // 4.5, 4.6, ... 12.0 on the program's 0.1 grid
    QVERIFY2(worstAmplitude < 0.03, qPrintable(QString::number(worstAmplitude)));
    QVERIFY2(worstPhase < 0.002, qPrintable(QString::number(worstPhase)));
}

void tst_Filtering::scenarioKeys_data() {
    QTest::addColumn<QByteArray>("filter");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("all")
        << QByteArray(R"({"Rwindow": [1.5, 1.8, 2.7, 3.1], "show": true, "kRange": [3, 13]})")
        << true;
    QTest::newRow("decreasing") << QByteArray(R"({"Rwindow": [1.5, 1.4, 2.7, 3.1]})") << false;
    QTest::newRow("three positions") << QByteArray(R"({"Rwindow": [1.5, 2.7, 3.1]})") << false;
    QTest::newRow("no width") << QByteArray(R"({"Rwindow": [2, 2, 2, 2]})") << false;
    QTest::newRow("beyond 15 Å") << QByteArray(R"({"Rwindow": [1, 2, 3, 16]})") << false;
    QTest::newRow("k range reversed") << QByteArray(R"({"kRange": [12, 4]})") << false;
    QTest::newRow("show not a boolean") << QByteArray(R"({"show": 1})") << false;
    QTest::newRow("not an object") << QByteArray(R"([1, 2])") << false;
}

void tst_Filtering::scenarioKeys() {
    QFETCH(QByteArray, filter);
    QFETCH(bool, accepted);
    const QByteArray text =
        R"({"format": "tovik-scenario", "version": 1, "filter": )" + filter + "}";
    const Scenario base;
    Scenario s = base;
    QString error;
    QCOMPARE(Scenario::fromJson(text, base, &s, &error), accepted);
    if (!accepted) {
        QVERIFY(error.contains(QLatin1String("filter")));
        QVERIFY(s == base);
        return;
    }
    QCOMPARE(s.filterRWindow, (QVector<double>{1.5, 1.8, 2.7, 3.1}));
    QVERIFY(s.filterShown);
    QCOMPARE(s.ratioKMin, 3.0);
    QCOMPARE(s.ratioKMax, 13.0);
    // Into the program and out again: the windows keep all of it.
    Program program;
    ProgramState::apply(s, *program.wave(), *program.chiR());
    const Scenario captured = ProgramState::capture(*program.wave(), *program.chiR());
    QCOMPARE(captured.filterRWindow, s.filterRWindow);
    QVERIFY(captured.filterShown);
    QVERIFY(program.chiR()->rWindowRow->isVisibleTo(program.chiR()));
    QCOMPARE(captured.ratioKMax, 13.0);
    Scenario back;
    QVERIFY(Scenario::fromJson(captured.toJson(), Scenario(), &back, &error));
    QVERIFY(back == captured);
}

void tst_Filtering::ratioAgainstTheClosedForm_data() {
    QTest::addColumn<double>("n1");
    QTest::addColumn<double>("sigma1");
    QTest::addColumn<double>("r1");
    QTest::addColumn<double>("n2");
    QTest::addColumn<double>("sigma2");
    QTest::addColumn<double>("r2");
    QTest::newRow("warmer second") << 12.0 << 0.0030 << 2.3 << 12.0 << 0.0050 << 2.3;
    QTest::newRow("fewer neighbours first") << 8.0 << 0.0045 << 2.3 << 12.0 << 0.0030 << 2.3;
    QTest::newRow("longer bond first") << 12.0 << 0.0040 << 2.33 << 12.0 << 0.0040 << 2.29;
}

void tst_Filtering::ratioAgainstTheClosedForm() {
    QFETCH(double, n1);
    QFETCH(double, sigma1);
    QFETCH(double, r1);
    QFETCH(double, n2);
    QFETCH(double, sigma2);
    QFETCH(double, r2);
    QTemporaryDir dir;
    const QString first = dir.filePath(QStringLiteral("first.chi"));
    const QString second = dir.filePath(QStringLiteral("second.chi"));
    QVERIFY(writeShellFile(first, n1, sigma1, r1));
    QVERIFY(writeShellFile(second, n2, sigma2, r2));
    const Run r = runProgram({QStringLiteral("--ratio"), QStringLiteral("--data"), first,
                              QStringLiteral("--data2"), second});
    QCOMPARE(r.code, 0);
    QVERIFY(r.err.isEmpty());
    const QJsonObject o = QJsonDocument::fromJson(r.out).object();
    QCOMPARE(o.value(QLatin1String("format")).toString(), QStringLiteral("tovik-ratio"));
    auto value = [&o](const char* key) {
        return o.value(QLatin1String(key)).toObject().value(QLatin1String("value")).toDouble(1e9);
    };
    auto error = [&o](const char* key) {
        return o.value(QLatin1String(key)).toObject().value(QLatin1String("error")).toDouble(-1);
    };
    // ln(A1/A2) = ln(N1/N2) + 2 ln(R2/R1) - 2 k² (sigma1² - sigma2²), Φ1 - Φ2 = 2k(R1 - R2).
    QVERIFY2(std::abs(value("deltaSigma2") - (sigma1 - sigma2)) < 2e-5,
             qPrintable(QString::number(value("deltaSigma2"))));
    QVERIFY(std::abs(value("lnAmplitudeRatio") - (std::log(n1 / n2) + 2 * std::log(r2 / r1))) <
            2e-3);
    QVERIFY2(std::abs(value("deltaR") - (r1 - r2)) < 1e-3,
             qPrintable(QString::number(value("deltaR"))));
    for (const char* key : {"deltaSigma2", "lnAmplitudeRatio", "deltaR"})
        QVERIFY(error(key) >= 0);
    // The defaults: copper's first shell and 4 ... 12 Å^-1; the errors
    // widened by sqrt(points / (2 Δk ΔR / pi)), ΔR between the half heights.
    const double points = o.value(QLatin1String("points")).toDouble();
    QCOMPARE(points, 81.0);
    const double independent = 2 * 8 * ((2.8 + 3.0) / 2 - (1.7 + 1.9) / 2) / M_PI;
    QVERIFY(std::abs(o.value(QLatin1String("independentPoints")).toDouble() - independent) < 1e-12);
    QVERIFY(std::abs(o.value(QLatin1String("errorFactor")).toDouble() -
                     std::sqrt(points / independent)) < 1e-12);
}

void tst_Filtering::ratioRefusals_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("says");
    const QString a = QStringLiteral("A.chi"), b = QStringLiteral("B.chi");
    const QString data = QStringLiteral("--data"), data2 = QStringLiteral("--data2"),
                  ratio = QStringLiteral("--ratio");
    QTest::newRow("--data2 without --data") << QStringList{ratio, data2, b} << 2 << "--data2 needs";
    QTest::newRow("--ratio without --data2") << QStringList{ratio, data, a} << 2 << "--ratio needs";
    QTest::newRow("--data2 without --ratio") << QStringList{data, a, data2, b} << 2 << "only by";
    QTest::newRow("--ratio with --fit")
        << QStringList{ratio, QStringLiteral("--fit"), data, a, data2, b} << 2 << "alone";
    QTest::newRow("second file missing")
        << QStringList{ratio, data, a, data2, QStringLiteral("none.chi")} << 1 << "none.chi";
    QTest::newRow("k range beyond the spectra") << QStringList{ratio,
                                                               data,
                                                               a,
                                                               data2,
                                                               b,
                                                               QStringLiteral("--scenario"),
                                                               QStringLiteral("far.json")}
                                                << 1 << "No ratio";
}

void tst_Filtering::ratioRefusals() {
    QFETCH(QStringList, arguments);
    QFETCH(int, code);
    QFETCH(QString, says);
    QTemporaryDir dir;
    QVERIFY(writeShellFile(dir.filePath(QStringLiteral("A.chi")), 12, 0.003, 2.55));
    QVERIFY(writeShellFile(dir.filePath(QStringLiteral("B.chi")), 12, 0.005, 2.55));
    QFile far(dir.filePath(QStringLiteral("far.json")));
    QVERIFY(far.open(QIODevice::WriteOnly));
    far.write(R"({"format": "tovik-scenario", "version": 1, "filter": {"kRange": [4, 40]}})");
    far.close();
    for (QString& argument : arguments)
        if (argument.endsWith(QLatin1String(".chi")) || argument.endsWith(QLatin1String(".json")))
            argument = dir.filePath(argument);
    const Run r = runProgram(arguments);
    QCOMPARE(r.code, code);
    QVERIFY(r.out.isEmpty());
    const QList<QByteArray> lines = r.err.trimmed().split('\n');
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines.first().contains(says.toUtf8()), lines.first().constData());
}

QTEST_MAIN(tst_Filtering)
#include "tst_Filtering.moc"
