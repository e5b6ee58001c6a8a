#include "AbsorptionWindow.h"
#include "Background.h"
#include "CurvePixels.h"
#include "MeasuredCurve.h"
#include "MuColumnsDialog.h"
#include "MuPlot.h"
#include "Number.h"
#include "Palette.h"
#include "Program.h"
#include "ViewOptions.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

#include <cmath>

// The mu(E) window driven as a user drives it, with its effect on the
// measured chi(k) both plots show, and the lesson's figures through the
// program.
class tst_AbsorptionWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void openShowsMuAndMeasuredChi();
    void typedBoxes_data();
    void typedBoxes();
    void dragOfTheEdge();
    void pixelsOfThePlot_data();
    void pixelsOfThePlot();
    void columnDialog_data();
    void columnDialog();
    void copperPeaksInPhysicalMode();
    void lessonFigures_data();
    void lessonFigures();

private:
    static QString data(const char* name) { return QStringLiteral(TOVIK_TEST_DATA "/") + name; }
    AbsorptionWindow* openCopper();
    // |chi(R)| of the measured data as the chi(R) export has it: R and value.
    QVector<QPair<double, double>> dataModulus() const;
    std::unique_ptr<Program> program;
};

void tst_AbsorptionWindow::init() {
    program = std::make_unique<Program>();
}

void tst_AbsorptionWindow::cleanup() {
    program.reset();
}

AbsorptionWindow* tst_AbsorptionWindow::openCopper() {
    const QString error = program->main->files->readMu(data("cu_10k.xmu"), std::nullopt);
    if (!error.isEmpty())
        qWarning("%s", qPrintable(error));
    program->main->actions->muWindow->trigger();
    AbsorptionWindow* w = program->main->absorptionWindow;
    if (w)
        w->resize(800, 600);
    QTest::qWait(20);
    return w;
}

QVector<QPair<double, double>> tst_AbsorptionWindow::dataModulus() const {
    QString error;
    const QStringList lines =
        QString::fromUtf8(program->main->files->data(FileCommands::Plot::R, &error)).split('\n');
    QVector<QPair<double, double>> out;
    int column = -1;
    for (const QString& line : lines) {
        if (line.startsWith('#') || line.isEmpty())
            continue;
        const QStringList fields = line.split(',');
        if (column < 0) {
            column = fields.indexOf(QStringLiteral("data_abs"));
            continue;
        }
        out.append({fields.value(0).toDouble(), fields.value(column).toDouble()});
    }
    return out;
}

void tst_AbsorptionWindow::openShowsMuAndMeasuredChi() {
    AbsorptionWindow* w = openCopper();
    QVERIFY(w && w->isVisible());
    const AbsorptionState& state = *program->main->absorption;
    QVERIFY(state.isLoaded());
    const MeasuredCurve& measured = *program->main->measured;
    // The processed chi(k) is the measured data, on the 0.05 grid.
    QCOMPARE(measured.dataK, state.current().result.k);
    QCOMPARE(measured.dataChi, state.current().result.chi);
    QCOMPARE(measured.dataK.value(1), Background::gridStep);
    QCOMPARE(measured.path, QFileInfo(data("cu_10k.xmu")).absoluteFilePath());
    QVERIFY(program->main->actionFit->isEnabled());
    // The edge found and shown; the data go past the program's grid, and
    // the chi(k) plot says so.
    QVERIFY(std::abs(state.current().result.e0 - 8979) < 5);
    QCOMPARE(w->E0Box->placeholderText(), shortestNumber(state.current().result.e0));
    QVERIFY(measured.dataK.last() > 16);
    // A saved scenario holds the mu(E), not a data file.
    const Scenario saved = program->main->currentState();
    QVERIFY(saved.dataFile.isEmpty());
    QCOMPARE(saved.muFile, measured.path);
    // A chi(k) file opened afterwards takes its place.
    QTemporaryDir dir;
    QVERIFY(program->openData(dir.filePath("shell.chi"), 1));
    QVERIFY(!state.isLoaded());
    QVERIFY(program->main->currentState().muFile.isEmpty());
    QVERIFY(w->InfoLabel->text().startsWith("No mu(E)"));
}

void tst_AbsorptionWindow::typedBoxes_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("Rbkg") << "RbkgBox"
                          << "1.5" << true;
    QTest::newRow("Rbkg awkward") << "RbkgBox"
                                  << "0.30000000000000004" << true;
    QTest::newRow("E0") << "E0Box"
                        << "8981.25" << true;
    QTest::newRow("pre-edge start") << "PreFromBox"
                                    << "-120" << true;
    QTest::newRow("normalisation end") << "NormToBox"
                                       << "600" << true;
    QTest::newRow("kmax") << "KMaxBox"
                          << "14.5" << true;
    QTest::newRow("kmin") << "KMinBox"
                          << "0.5" << true;
    QTest::newRow("Rbkg too small") << "RbkgBox"
                                    << "0.2" << false;
    QTest::newRow("Rbkg not a number") << "RbkgBox"
                                       << "one" << false;
    QTest::newRow("E0 outside the data") << "E0Box"
                                         << "20000" << false;
    QTest::newRow("kmax beyond the data") << "KMaxBox"
                                          << "40" << false;
    QTest::newRow("pre-edge reversed") << "PreToBox"
                                       << "-200" << false;
}

void tst_AbsorptionWindow::typedBoxes() {
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    AbsorptionWindow* w = openCopper();
    QVERIFY(w);
    auto* edit = w->findChild<QLineEdit*>(box);
    QVERIFY(edit);
    const AbsorptionState& state = *program->main->absorption;
    const AbsorptionState::Loaded before = state.current();
    int paintsMu = 0, paintsK = 0, paintsR = 0;
    connect(w->DispA, &DispArea::draw, this, [&](QPainter*) { ++paintsMu; });
    connect(program->main->DispA, &DispArea::draw, this, [&](QPainter*) { ++paintsK; });
    connect(program->chiR()->DispA, &DispArea::draw, this, [&](QPainter*) { ++paintsR; });
    QString shown;
    if (!accepted)
        // The refusal comes as a message box over the window; read and close it.
        QTimer::singleShot(0, this, [&shown] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown = box->text();
                box->close();
            }
        });
    typeInto(edit, typed);
    QTest::qWait(50);
    const AbsorptionSettings& s = state.current().settings;
    if (!accepted) {
        QVERIFY2(!shown.isEmpty(), "no message box");
        QVERIFY(!shown.contains('\n'));
        // Nothing changed, and the box shows what is in force.
        QVERIFY(state.current().settings == before.settings);
        QCOMPARE(program->main->measured->dataChi, before.result.chi);
        QVERIFY(edit->text() != typed);
        return;
    }
    // Exactly the value typed.
    const double v = typed.toDouble();
    const double got = box == "RbkgBox"      ? s.rbkg
                       : box == "E0Box"      ? s.e0.value_or(-1)
                       : box == "PreFromBox" ? s.preEdge[0]
                       : box == "NormToBox"  ? s.normalization[1]
                       : box == "KMaxBox"    ? s.kMax.value_or(-1)
                                             : s.kMin;
    QCOMPARE(got, v);
    const AbsorptionResult& r = state.current().result;
    QCOMPARE(r.knotK.size(), Background::knotCount(r.rbkg, r.kMin, r.kMax));
    // chi(k) follows, and each plot is painted once for the one edit.
    QVERIFY(program->main->measured->dataChi != before.result.chi);
    QCOMPARE(program->main->measured->dataChi, r.chi);
    QCOMPARE(paintsMu, 1);
    QCOMPARE(paintsK, 1);
    QCOMPARE(paintsR, 1);
}

void tst_AbsorptionWindow::dragOfTheEdge() {
    AbsorptionWindow* w = openCopper();
    QVERIFY(w);
    w->DispA->repaint();
    const AbsorptionState& state = *program->main->absorption;
    const ChCoord& frame = w->DispA->coord;
    const double e0 = state.current().result.e0;
    const int x = int(frame.toPixelX(e0));
    const int y = w->DispA->height() / 2;
    int paintsMu = 0, paintsR = 0;
    connect(w->DispA, &DispArea::draw, this, [&](QPainter*) { ++paintsMu; });
    connect(program->chiR()->DispA, &DispArea::draw, this, [&](QPainter*) { ++paintsR; });
    const QVector<double> chiBefore = program->main->measured->dataChi;
    // A press away from the mark grabs nothing.
    press(w->DispA, QPoint(x + 3 * MuPlot::handleReach, y));
    QVERIFY(!w->dragging());
    release(w->DispA, QPoint(x + 3 * MuPlot::handleReach, y));
    QCOMPARE(state.current().result.e0, e0);

    press(w->DispA, QPoint(x + 2, y));
    QVERIFY(w->dragging());
    for (int step = 1; step <= 3; ++step) {
        dragTo(w->DispA, QPoint(x + 2 + 2 * step, y));
        QTest::qWait(20);
        // Live: E0 under the pointer, chi(k) redone, each plot once per move.
        QCOMPARE(state.current().result.e0, frame.toWorldX(x + 2 + 2 * step));
        QCOMPARE(paintsMu, step);
        QCOMPARE(paintsR, step);
    }
    release(w->DispA, QPoint(x + 8, y));
    QVERIFY(!w->dragging());
    const double moved = frame.toWorldX(x + 8);
    QCOMPARE(*state.current().settings.e0, moved);
    QCOMPARE(w->E0Box->text(), shortestNumber(moved));
    QVERIFY(program->main->measured->dataChi != chiBefore);
}

void tst_AbsorptionWindow::pixelsOfThePlot_data() {
    QTest::addColumn<bool>("normalized");
    QTest::addColumn<bool>("axes");
    QTest::newRow("mu(E)") << false << false;
    QTest::newRow("normalised") << true << false;
    QTest::newRow("normalised, axes") << true << true;
}

void tst_AbsorptionWindow::pixelsOfThePlot() {
    QFETCH(bool, normalized);
    QFETCH(bool, axes);
    AbsorptionWindow* w = openCopper();
    QVERIFY(w);
    program->main->actions->axes->setChecked(axes);
    QTest::mouseClick(w->SelNormalized, Qt::LeftButton);
    if (w->SelNormalized->isChecked() != normalized)
        QTest::mouseClick(w->SelNormalized, Qt::LeftButton);
    QCOMPARE(w->SelNormalized->isChecked(), normalized);
    const QImage image = w->DispA->grab().toImage();
    const ChCoord& frame = w->DispA->coord;
    const AbsorptionResult& r = program->main->absorption->current().result;
    // The E0 mark's full height, and its handle at the data area's top.
    const int markX = int(frame.toPixelX(r.e0));
    QCOMPARE(image.pixelColor(markX, image.height() / 2), Palette::edgeMark());
    // mu at points well before and well after the edge, where the curve is
    // flat enough for its pixel to be where the value maps.
    for (int i : {5, int(r.energy.size()) - 200}) {
        const double value = normalized ? r.normalized[i] : r.mu[i];
        const QPoint at(int(frame.toPixelX(r.energy[i])), int(frame.toPixelY(value)));
        QVERIFY2(colourNear(image, at, Palette::measured().rgb(), 2, 2),
                 qPrintable(QString::number(r.energy[i])));
    }
    if (normalized) {
        // The normalised edge rises from 0 before it to about 1 where the
        // post-edge range begins.
        int after = 0;
        while (r.energy[after] < r.e0 + 150)
            ++after;
        QVERIFY(std::abs(r.normalized[5]) < 0.05);
        QVERIFY2(std::abs(r.normalized[after] - 1) < 0.15,
                 qPrintable(QString::number(r.normalized[after])));
        QCOMPARE(w->valueTitle(), QStringLiteral("normalised μ(E)"));
    } else {
        QCOMPARE(w->valueTitle(), QStringLiteral("μ(E)"));
    }
    // The derivative switch: its largest value lies at E0 and is drawn
    // where it maps (the key's swatch shares the colour, so the test looks
    // at the curve's own place, not at the topmost pixel of that colour).
    QTest::mouseClick(w->SelDerivative, Qt::LeftButton);
    const QImage d = w->DispA->grab().toImage();
    int peak = 0;
    for (int i = 1; i < r.derivative.size(); ++i)
        if (r.derivative[i] > r.derivative[peak])
            peak = i;
    QVERIFY(std::abs(r.energy[peak] - r.e0) < 10);
    const double top = normalized ? r.derivative[peak] / r.step : r.derivative[peak];
    QVERIFY(colourNear(d, QPoint(int(frame.toPixelX(r.energy[peak])), int(frame.toPixelY(top))),
                       Palette::measured().rgb(), 2, 2));
}

void tst_AbsorptionWindow::columnDialog_data() {
    QTest::addColumn<bool>("declared");
    QTest::addColumn<int>("energy");
    QTest::addColumn<int>("numerator");
    QTest::addColumn<int>("denominator");
    QTest::addColumn<bool>("log");
    QTest::addColumn<double>("firstMu");
    QTest::addColumn<QString>("message");
    // Energy, an unrelated column, I0 and I; the first row's mu by hand.
    QTest::newRow("declared layout") << true << 1 << 2 << 0 << false << 7.0 << "";
    QTest::newRow("log of the ratio") << false << 1 << 3 << 4 << true << std::log(2.0 / 0.5) << "";
    QTest::newRow("ratio") << false << 1 << 4 << 3 << false << 0.25 << "";
    QTest::newRow("one column") << false << 1 << 3 << 0 << false << 2.0 << "";
    QTest::newRow("missing column") << false << 1 << 5 << 0 << false << 0.0 << "column 5";
    QTest::newRow("energies not increasing") << false << 2 << 3 << 0 << false << 0.0 << "Line";
}

void tst_AbsorptionWindow::columnDialog() {
    QFETCH(bool, declared);
    QFETCH(int, energy);
    QFETCH(int, numerator);
    QFETCH(int, denominator);
    QFETCH(bool, log);
    QFETCH(double, firstMu);
    QFETCH(QString, message);
    QByteArray text = "# energy other i0 i\n";
    for (int i = 0; i < 40; ++i)
        text += QByteArray::number(8900 + i) + ' ' + QByteArray::number(7 - (i % 2)) + ' ' +
                QByteArray::number(2.0 + 0.01 * i) + ' ' + QByteArray::number(0.5) + '\n';
    MuColumnsDialog dialog(text, "four.dat");
    QCOMPARE(dialog.table->columnCount(), 4);
    QCOMPARE(dialog.table->item(0, 2)->text(), QStringLiteral("2"));
    if (!declared)
        QTest::mouseClick(dialog.declared, Qt::LeftButton);
    dialog.energy->setValue(energy);
    dialog.numerator->setMaximum(9);
    dialog.numerator->setValue(numerator);
    dialog.denominator->setValue(denominator);
    dialog.log->setChecked(log);
    QPushButton* ok = dialog.buttons->button(QDialogButtonBox::Ok);
    if (!message.isEmpty()) {
        QVERIFY(!ok->isEnabled());
        QVERIFY2(dialog.message->text().contains(message), qPrintable(dialog.message->text()));
        return;
    }
    QVERIFY(ok->isEnabled());
    QCOMPARE(dialog.data().energy.size(), 40);
    QVERIFY(std::abs(dialog.data().mu.first() - firstMu) < 1e-12);
    QCOMPARE(dialog.columns().has_value(), !declared);
}

void tst_AbsorptionWindow::copperPeaksInPhysicalMode() {
    program->main->actions->physical->setChecked(true);
    double peaks[2] = {0, 0};
    const char* files[2] = {"cu_10k.xmu", "cu_150k.xmu"};
    for (int i = 0; i < 2; ++i) {
        QCOMPARE(program->main->files->readMu(data(files[i]), std::nullopt), QString());
        for (const auto& [r, value] : dataModulus())
            if (r > 1.5 && r < 3)
                peaks[i] = std::max(peaks[i], value);
    }
    // Colder, less disorder: the first shell stands higher.
    QVERIFY2(peaks[0] > 1.1 * peaks[1], qPrintable(QString("%1 %2").arg(peaks[0]).arg(peaks[1])));
}

void tst_AbsorptionWindow::lessonFigures_data() {
    QTest::addColumn<QString>("rbkg");
    QTest::addColumn<QString>("e0");
    QTest::addColumn<double>("belowOne");
    QTest::addColumn<double>("peak");
    QTest::addColumn<double>("peakR");
    // As the notes of lesson 09 state them, to their last digit.
    QTest::newRow("Rbkg 1.0") << "1.0"
                              << "" << 0.044 << 1.089 << 2.27;
    QTest::newRow("Rbkg 0.5") << "0.5"
                              << "" << 0.083 << 1.094 << 2.27;
    QTest::newRow("Rbkg 1.5") << "1.5"
                              << "" << 0.015 << 1.084 << 2.27;
    QTest::newRow("E0 - 5 eV") << "1.0"
                               << "8972.58" << -1.0 << 1.099 << 2.30;
    QTest::newRow("E0 + 5 eV") << "1.0"
                               << "8982.58" << -1.0 << 1.057 << 2.24;
}

void tst_AbsorptionWindow::lessonFigures() {
    QFETCH(QString, rbkg);
    QFETCH(QString, e0);
    QFETCH(double, belowOne);
    QFETCH(double, peak);
    QFETCH(double, peakR);
    const QString lesson = Lessons::find(QStringLiteral("09-mu-to-chi"));
    QVERIFY(!lesson.isEmpty());
    QCOMPARE(program->main->files->readScenario(lesson), QString());
    QCOMPARE(shortestNumber(program->main->absorption->current().result.e0),
             QStringLiteral("8977.58"));
    program->main->actions->muWindow->trigger();
    AbsorptionWindow* w = program->main->absorptionWindow;
    typeInto(w->RbkgBox, rbkg);
    if (!e0.isEmpty())
        typeInto(w->E0Box, e0);
    double low = 0, top = 0, topR = 0;
    for (const auto& [r, value] : dataModulus()) {
        if (r > 0 && r < 1)
            low = std::max(low, value);
        if (r > 1.5 && r < 2.8 && value > top) {
            top = value;
            topR = r;
        }
    }
    if (belowOne >= 0)
        QVERIFY2(std::abs(low - belowOne) <= 0.0005, qPrintable(QString::number(low)));
    QVERIFY2(std::abs(top - peak) <= 0.0005, qPrintable(QString::number(top)));
    QVERIFY2(std::abs(topR - peakR) <= 0.005, qPrintable(QString::number(topR)));
}

QTEST_MAIN(tst_AbsorptionWindow)
#include "tst_AbsorptionWindow.moc"
