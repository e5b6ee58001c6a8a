#include "CurvePixels.h"
#include "Program.h"

#include "WaveCtrl.h"
#include "WindowFunc.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QtTest>

Q_DECLARE_METATYPE(Startup::Language)

// The whole program, built as the entry function builds it, driven by mouse
// and keyboard events; the chi(k) plot is read back pixel by pixel.
class tst_ChiK : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void drawnFromAComputedWaveAtStart();
    void chiRIsASeparateWindow();
    void sliderMoveRecomputesOnceAndRepaintsBoth();
    void plotPixels();
    void everyCurveInItsColour();
    void eachEditRepaintsItsPlotsOnce_data();
    void eachEditRepaintsItsPlotsOnce();
    void menus();
    void draggingAnEnvelopePoint();
    void draggingAWindowHandle();
    void onePressDragsOneHandle();
    void factorsFollowTheEditorsAtZeroR();
    void typingAWindowPosition();
    void flatRestoresTheEnvelope();
    void factorSwitchChangesChi();
    void closedChiRComesBackAtTheNextChange();
    void japaneseInterface();
    void closingTheMainWindowLeavesChiROpen();
    void fitsHalfALaptopScreen_data();
    void fitsHalfALaptopScreen();
    void chiRBesideChiK();

private:
    QImage paintK();
    QImage paintR() { return program->chiR()->DispA->grab().toImage(); }
    int X(double k) const { return static_cast<int>(program->main->DispA->coord.toPixelX(k)); }
    int Y(double v) const { return static_cast<int>(program->main->DispA->coord.toPixelY(v)); }
    QPoint at(double k, double v) const {
        return QPoint(qRound(program->main->DispA->coord.toPixelX(k)),
                      qRound(program->main->DispA->coord.toPixelY(v)));
    }

    Program* program = nullptr;
    AWave* wave = nullptr;
    DispArea* area = nullptr;
};

void tst_ChiK::init() {
    program = new Program;
    wave = program->wave();
    area = program->main->DispA;
    QVERIFY(QTest::qWaitForWindowExposed(program->main));
}

void tst_ChiK::cleanup() {
    delete program;
    program = nullptr;
}

QImage tst_ChiK::paintK() {
    return area->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

void tst_ChiK::drawnFromAComputedWaveAtStart() {
    QCOMPARE(wave->chi.size(), 1024);
    QCOMPARE(wave->kCount, 159);
    QCOMPARE(program->main->waves.size(), 1);
    QVERIFY(wave->envelope);
    QCOMPARE(wave->envelope->points.size(), 17);
    QCOMPARE(wave->envelope->mouse, &area->mouse);
    QCOMPARE(wave->ctrl->WindowCtrl->coord, &area->coord);
    QCOMPARE(wave->ctrl->parentWidget(), program->main->frame);
    // The panel sits below the plot.
    QVERIFY(program->main->frame->geometry().top() >= area->geometry().bottom());
    const QImage img = paintK();
    int black = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            black += img.pixel(x, y) == qRgb(0, 0, 0);
    QVERIFY2(black > 200, qPrintable(QString::number(black)));
}

void tst_ChiK::chiRIsASeparateWindow() {
    ChiR* r = program->chiR();
    QVERIFY(r->isWindow());
    QVERIFY(r->isVisible());
    QVERIFY(r->parent() == nullptr);
    QCOMPARE(r->size(), QSize(800, 600));
    QCOMPARE(program->main->size(), QSize(800, 600));
}

void tst_ChiK::sliderMoveRecomputesOnceAndRepaintsBoth() {
    int paintsK = 0, paintsR = 0;
    connect(area, &DispArea::draw, this, [&](QPainter*) { ++paintsK; });
    connect(program->chiR()->DispA, &DispArea::draw, this, [&](QPainter*) { ++paintsR; });
    QTest::qWait(50);
    paintsK = paintsR = 0;
    QSignalSpy updated(wave, SIGNAL(updated()));
    const QVector<double> before = wave->chi;
    wave->ctrl->RBar->setValue(25);
    QCOMPARE(updated.count(), 1);
    QCOMPARE(wave->r, 2.5);
    QVERIFY(wave->chi != before);
    QTest::qWait(100);
    QCOMPARE(paintsK, 1);
    QCOMPARE(paintsR, 1);
    // And by keyboard: one step of the slider.
    wave->ctrl->RBar->setFocus();
    QTest::keyClick(wave->ctrl->RBar, Qt::Key_Right);
    QCOMPARE(updated.count(), 2);
    QCOMPARE(wave->r, 2.6);
    QCOMPARE(wave->ctrl->RVal->text(), QStringLiteral("2.6"));
}

void tst_ChiK::plotPixels() {
    const QImage img = paintK();
    // The frame after the paint: k 0 .. 16, value +-1.1.
    QCOMPARE(area->coord.xMin, 0.0);
    QCOMPARE(area->coord.xMax, 16.0);
    QCOMPARE(area->coord.yMax, 1.1);
    QCOMPARE(area->coord.yMin, -1.1);
    const QRgb white = qRgb(255, 255, 255), blue = qRgb(0, 150, 255), green = qRgb(0, 255, 150),
               grey = qRgb(200, 200, 200);
    for (double k : {0.5, 2.5, 9.5, 15.5})
        QCOMPARE(img.pixel(X(k), 2), white);
    // Window positions: 2-pixel blue lines, the green envelope line of the
    // same whole k drawn over one of their columns.
    for (double p : {3.0, 4.0, 15.0, 16.0}) {
        const int x = X(p);
        const bool blueBeside = img.pixel(x - 1, 2) == blue || img.pixel(x + 1, 2) == blue;
        QVERIFY2(blueBeside, qPrintable(QString::number(p)));
        const QRgb handle = img.pixel(x - 2, Y(0) - 2);
        QCOMPARE(handle, blue);
    }
    for (int k : {0, 1, 7, 10, 12})
        QCOMPARE(img.pixel(X(k), 2), green);
    // The zero line is drawn last, across the whole surface.
    for (int x = 0; x < img.width(); x += 7)
        QCOMPARE(img.pixel(x, Y(0)), grey);
    // Envelope handles: 5 x 5 green squares centred on (k, 1).
    QCOMPARE(img.pixel(X(8) + 2, Y(1) + 2), green);
    // The chi curve: black near its largest value and nowhere past k = 16.
    int black = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = X(16) + 2; x < img.width(); ++x)
            black += img.pixel(x, y) == qRgb(0, 0, 0);
    QCOMPARE(black, 0);
    int peak = -1;
    for (int i = 0; i < wave->kCount; ++i)
        if (wave->chi[i] == 1.0)
            peak = i;
    QVERIFY(peak > 0);
    const int px = X(wave->kValues[peak]), py = Y(1.0);
    bool found = false;
    for (int dx = -2; dx <= 2 && !found; ++dx)
        for (int dy = -2; dy <= 2 && !found; ++dy)
            found = img.pixel(px + dx, py + dy) == qRgb(0, 0, 0);
    QVERIFY(found);
}

// Each curve in the colour its key shows (the key's own test checks the
// key), wherever it is drawn clear of the others; +F and -F both.
void tst_ChiK::everyCurveInItsColour() {
    const QImage img = paintK();
    const QRgb black = qRgb(0, 0, 0), blue = qRgb(0, 150, 255), orange = qRgb(255, 180, 0);
    QVector<PlottedCurve> curves = {
        {"chi", black, {}}, {"W", blue, {}}, {"+F", orange, {}}, {"-F", orange, {}}};
    for (int i = 0; i < wave->kCount; ++i) {
        const int x = X(wave->kValues[i]);
        curves[0].vertices << QPoint(x, Y(wave->chi[i]));
        curves[1].vertices << QPoint(x, Y(wave->windowValues[i]));
        curves[2].vertices << QPoint(x, Y(wave->envelopeValues[i]));
        curves[3].vertices << QPoint(x, Y(-wave->envelopeValues[i]));
    }
    // Envelope points and window positions draw full-height lines; the
    // labels hang under the zero line.
    QVector<int> columns;
    for (int k = 0; k <= 16; ++k)
        columns << X(k);
    for (double p : wave->ctrl->WindowCtrl->positions)
        columns << X(p);
    QStringList wrong;
    const QVector<int> checked =
        checkCurveColours(img, curves, columns, Y(0) - 4, Y(0) + area->height() / 40 + 14, &wrong);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(", ")));
    for (int c = 0; c < curves.size(); ++c)
        QVERIFY2(checked[c] >= 3, curves[c].name);
}

// Every kind of edit repaints each plot that shows what it changed once.
void tst_ChiK::eachEditRepaintsItsPlotsOnce_data() {
    QTest::addColumn<QString>("edit");
    QTest::addColumn<int>("paintsK");
    QTest::addColumn<int>("paintsR");
    QTest::newRow("envelope point drag") << "envelope" << 1 << 1;
    QTest::newRow("window handle drag") << "handle" << 1 << 1;
    QTest::newRow("typed window position") << "position" << 1 << 1;
    QTest::newRow("typed sigma") << "sigma" << 1 << 1;
    QTest::newRow("chi(R) pointer drag") << "pointer" << 0 << 1;
}

void tst_ChiK::eachEditRepaintsItsPlotsOnce() {
    QFETCH(QString, edit);
    QFETCH(int, paintsK);
    QFETCH(int, paintsR);
    DispArea* areaR = program->chiR()->DispA;
    paintK();
    areaR->grab();
    int k = 0, r = 0;
    connect(area, &DispArea::draw, this, [&](QPainter*) { ++k; });
    connect(areaR, &DispArea::draw, this, [&](QPainter*) { ++r; });
    QTest::qWait(50);
    k = r = 0;
    auto drag = [](DispArea* a, QPoint from, QPoint to) {
        press(a, from);
        dragTo(a, to);
        release(a, to);
    };
    auto type = [](QLineEdit* box, const char* text) {
        QTest::mouseClick(box, Qt::LeftButton);
        box->selectAll();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    };
    if (edit == "envelope")
        drag(area, at(6, 1), at(6, 0.5));
    else if (edit == "handle")
        drag(area, at(15, 0), at(14, 0));
    else if (edit == "position")
        type(wave->ctrl->WindowCtrl->Pos2, "5");
    else if (edit == "sigma")
        type(wave->ctrl->SigVal, "0.12");
    else
        drag(areaR, QPoint(qRound(areaR->coord.toPixelX(2.0)), 100),
             QPoint(qRound(areaR->coord.toPixelX(3.0)), 100));
    QTest::qWait(100);
    QCOMPARE(k, paintsK);
    QCOMPARE(r, paintsR);
}

// Both menu bars, their standard shortcuts, and Ctrl+C left to the boxes.
void tst_ChiK::menus() {
    auto texts = [](QMenuBar* bar) {
        QStringList t;
        for (QAction* menu : bar->actions()) {
            t << menu->text();
            for (QAction* a : menu->menu()->actions())
                t << (a->isSeparator() ? QStringLiteral("-") : a->text());
        }
        return t;
    };
    QCOMPARE(texts(program->main->menuBar()), QStringList({"&File",
                                                           "&Open scenario…",
                                                           "&Save scenario as…",
                                                           "&Lessons",
                                                           "-",
                                                           "Open &measured chi(k)…",
                                                           "Open measured mu(&E)…",
                                                           "Clear measured chi(k)",
                                                           "Open scattering pa&th…",
                                                           "Use &filtered data as the shell's "
                                                           "amplitude and phase…",
                                                           "Remove path",
                                                           "&Hold curves",
                                                           "Clear held c&urves",
                                                           "-",
                                                           "Export &picture…",
                                                           "Export &data…",
                                                           "&Copy picture",
                                                           "-",
                                                           "&Quit",
                                                           "&View",
                                                           "&Axes and units",
                                                           "&Legend",
                                                           "&Physical amplitude",
                                                           "Loc&k scales",
                                                           "Filtered χ(&q)",
                                                           "-",
                                                           "&mu(E)",
                                                           "Arrange &side by side",
                                                           "S&hells…",
                                                           "&Fit…",
                                                           "&Ratio…",
                                                           "&Notes…",
                                                           "-",
                                                           "Lan&guage",
                                                           "&Help",
                                                           "&About Tovik"}));
    QCOMPARE(texts(program->chiR()->menuBar()), QStringList({"&File",
                                                             "Open scattering pa&th…",
                                                             "Use &filtered data as the shell's "
                                                             "amplitude and phase…",
                                                             "Remove path",
                                                             "-",
                                                             "Export &picture…",
                                                             "Export &data…",
                                                             "&Copy picture",
                                                             "&View",
                                                             "&Axes and units",
                                                             "&Legend",
                                                             "&Physical amplitude",
                                                             "Loc&k scales",
                                                             "Filtered χ(&q)",
                                                             "-",
                                                             "&mu(E)",
                                                             "Arrange &side by side",
                                                             "-",
                                                             "Lan&guage",
                                                             "&Help",
                                                             "&About Tovik"}));
    ChiK* k = program->main;
    QCOMPARE(k->actionOpenScenario->shortcut(), QKeySequence(QKeySequence::Open));
    QCOMPARE(k->actionSaveScenario->shortcut(), QKeySequence(QKeySequence::Save));
    QCOMPARE(k->actionQuit->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));

    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    k->activateWindow();
    wave->ctrl->SigVal->setFocus();
    wave->ctrl->SigVal->selectAll();
    QTest::keyClick(wave->ctrl->SigVal, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), QStringLiteral("0.05"));
    QVERIFY(clipboard->image().isNull());
    QTest::keyClick(wave->ctrl->SigVal, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(clipboard->image().convertToFormat(QImage::Format_RGB32), paintK());

    // Quit closes both windows, as the program's start wires it.
    connect(k, SIGNAL(finishing()), qApp, SLOT(closeAllWindows()));
    QSignalSpy finishing(k, SIGNAL(finishing()));
    QTest::keyClick(wave->ctrl->SigVal, Qt::Key_Q, Qt::ControlModifier);
    QCOMPARE(finishing.count(), 1);
    QVERIFY(!k->isVisible() && !program->chiR()->isVisible());
}

void tst_ChiK::draggingAnEnvelopePoint() {
    paintK();
    const QImage before = paintR();
    const QVector<double> chiBefore = wave->chi;
    QSignalSpy updated(wave, SIGNAL(updated()));
    press(area, at(5, 1));
    QVERIFY(wave->envelope->grabbed);
    QCOMPARE(wave->envelope->grabbedIndex, 5);
    dragTo(area, at(5, 0.5));
    QCOMPARE(updated.count(), 1);
    const QPointF p = wave->envelope->points[5];
    QVERIFY(qAbs(p.x() - 5) < 0.05);
    QVERIFY(qAbs(p.y() - 0.5) < 0.01);
    QVERIFY(wave->chi != chiBefore);
    QVERIFY(paintR() != before);
    // Above the plot the point stays on its top edge (1.1), grabbable.
    dragTo(area, QPoint(at(5, 0).x(), -40));
    release(area, QPoint(at(5, 0).x(), -40));
    QVERIFY(!wave->envelope->grabbed);
    QCOMPARE(wave->envelope->points[5].y(), 1.1);
    // Its handle square reaches into the top rows, beside its line.
    QCOMPARE(paintK().pixel(X(wave->envelope->points[5].x()) + 2, 1), qRgb(0, 255, 150));
    press(area, QPoint(at(5, 0).x(), 1));
    QVERIFY(wave->envelope->grabbed);
    QCOMPARE(wave->envelope->grabbedIndex, 5);
}

// Where an envelope point sits on a window handle, one press drags the point
// alone; a press on a handle with no point there drags the handle.
void tst_ChiK::onePressDragsOneHandle() {
    paintK();
    WindowFunc* wf = wave->ctrl->WindowCtrl;
    press(area, at(3, 1));
    dragTo(area, at(3, 0));
    release(area, at(3, 0));
    // The point lands on the pixel row nearest the zero line: the line itself
    // where the plot's height is even (Qt 5's offscreen fonts), half a pixel
    // off it where it is odd (Qt 6's smaller ones make the panel shorter).
    const ChCoord& c = area->coord;
    QCOMPARE(wave->envelope->points[3].y(), c.toWorldY(at(3, 0).y()));
    QVERIFY(qAbs(wave->envelope->points[3].y()) <= 0.5 * (c.yMax - c.yMin) / area->height());
    paintK();
    press(area, at(3, 0));
    QVERIFY(wave->envelope->grabbed);
    QVERIFY(!wf->grabbed);
    dragTo(area, at(3.5, 0.5));
    release(area, at(3.5, 0.5));
    QCOMPARE(wf->positions, QVector<double>({3, 4, 15, 16}));
    QVERIFY(qAbs(wave->envelope->points[3].x() - 3.5) < 0.05);
    // No point near this handle: the window takes the press.
    paintK();
    press(area, at(15, 0));
    QVERIFY(!wave->envelope->grabbed);
    QVERIFY(wf->grabbed);
    dragTo(area, at(14, 0));
    release(area, at(14, 0));
    QVERIFY(qAbs(wf->positions[2] - 14) < 0.05);
    for (int i = 0; i <= 16; ++i) {
        if (i != 3)
            QCOMPARE(wave->envelope->points[i], QPointF(i, 1.0));
    }
}

// At R = 0 the shell's term is undefined, but the factors still follow
// the editors: a dragged window handle moves W(k) and its transform, and
// the plots repaint; chi keeps its last values.
void tst_ChiK::factorsFollowTheEditorsAtZeroR() {
    wave->ctrl->RBar->setValue(0);
    QCOMPARE(wave->r, 0.0);
    paintK();
    const QVector<double> chi = wave->chi, window = wave->windowValues;
    const std::vector<double> windowSpectrum(wave->windowSpectrum.get(),
                                             wave->windowSpectrum.get() + wave->fftLength);
    QSignalSpy updated(wave, SIGNAL(updated()));
    press(area, at(15, 0));
    dragTo(area, at(12, 0));
    release(area, at(12, 0));
    QCOMPARE(updated.count(), 1);
    const double p3 = wave->ctrl->WindowCtrl->positions[2];
    QVERIFY(qAbs(p3 - 12) < 0.05);
    for (int i = 0; i < wave->kCount; ++i)
        QCOMPARE(wave->windowValues[i], wave->ctrl->WindowCtrl->valueAt(wave->kValues[i]));
    QVERIFY(wave->windowValues != window);
    QVERIFY(!std::equal(windowSpectrum.begin(), windowSpectrum.end(), wave->windowSpectrum.get()));
    QCOMPARE(wave->chi, chi);
    // The W(k) curve is drawn from the new values: at k = 13.5 it lies on
    // the fall, well below its old plateau of 1.
    const QImage img = paintK();
    QVERIFY(img.pixel(X(13.5), Y(1.0)) != qRgb(0, 150, 255));
    const double w = wave->ctrl->WindowCtrl->valueAt(13.5);
    bool blue = false;
    for (int dy = -1; dy <= 1; ++dy)
        blue = blue || img.pixel(X(13.5), Y(w) + dy) == qRgb(0, 150, 255);
    QVERIFY(blue);

    // Sigma and the envelope too.
    wave->ctrl->SigBar->setValue(120);
    QCOMPARE(updated.count(), 2);
    const double k = wave->kValues[100];
    QCOMPARE(wave->debyeWallerValues[100], std::exp(((k * (-2 * k)) * 0.12) * 0.12));
    QTest::mouseClick(wave->ctrl->Flat, Qt::LeftButton);
    QCOMPARE(updated.count(), 3);
    QCOMPARE(wave->chi, chi);
}

void tst_ChiK::draggingAWindowHandle() {
    paintK();
    QSignalSpy updated(wave, SIGNAL(updated()));
    WindowFunc* wf = wave->ctrl->WindowCtrl;
    press(area, at(15, 0));
    QVERIFY(wf->grabbed);
    dragTo(area, at(13.5, 0));
    release(area, at(13.5, 0));
    QVERIFY(!wf->grabbed);
    QVERIFY(updated.count() >= 1);
    QVERIFY(qAbs(wf->positions[2] - 13.5) < 0.05);
    QCOMPARE(wf->positions[0], 3.0);
    QCOMPARE(wf->positions[1], 4.0);
    QCOMPARE(wf->positions[3], 16.0);
    QCOMPARE(wf->Pos3->text(), QString::number(wf->positions[2], 'g', 6));
    // W falls from the new position on.
    const int i = 145; // k = 14.5
    QVERIFY(wave->windowValues[i] < 1.0);
}

void tst_ChiK::typingAWindowPosition() {
    WindowFunc* wf = wave->ctrl->WindowCtrl;
    QSignalSpy updated(wave, SIGNAL(updated()));
    wf->Pos1->setFocus();
    wf->Pos1->selectAll();
    QTest::keyClicks(wf->Pos1, "2");
    QTest::keyClick(wf->Pos1, Qt::Key_Return);
    QCOMPARE(updated.count(), 1);
    QCOMPARE(wf->positions[0], 2.0);
    QCOMPARE(wave->windowValues[25], (1 - std::cos((2.5 - 2.0) * (3.1415926535 / 2.0))) * 0.5);
}

void tst_ChiK::flatRestoresTheEnvelope() {
    paintK();
    press(area, at(8, 1));
    dragTo(area, at(8, 0.5));
    release(area, at(8, 0.5));
    QVERIFY(wave->envelope->points[8].y() < 0.6);
    QSignalSpy updated(wave, SIGNAL(updated()));
    QTest::mouseClick(wave->ctrl->Flat, Qt::LeftButton);
    QCOMPARE(updated.count(), 1);
    for (const QPointF& p : wave->envelope->points)
        QCOMPARE(p.y(), 1.0);
    for (int i = 0; i < wave->kCount; ++i)
        QCOMPARE(wave->envelopeValues[i], 1.0);
}

void tst_ChiK::factorSwitchChangesChi() {
    const QVector<double> before = wave->chi;
    QSignalSpy updated(wave, SIGNAL(updated()));
    QTest::mouseClick(wave->ctrl->SelDebye, Qt::LeftButton);
    QVERIFY(!wave->ctrl->SelDebye->isChecked());
    QCOMPARE(updated.count(), 1);
    QVERIFY(wave->chi != before);
    QTest::mouseClick(wave->ctrl->SelDebye, Qt::LeftButton);
    QCOMPARE(updated.count(), 2);
    QCOMPARE(wave->chi, before);
}

void tst_ChiK::closedChiRComesBackAtTheNextChange() {
    ChiR* r = program->chiR();
    r->close();
    QVERIFY(!r->isVisible());
    wave->ctrl->Phi0Bar->setValue(5);
    QTest::qWait(100);
    QVERIFY(r->isVisible());
}

// Run inside the event loop, as the program does: closing the main window
// leaves chi(R) open, closing both ends the loop with exit code 0.
void tst_ChiK::closingTheMainWindowLeavesChiROpen() {
    bool chiRStayed = false;
    QTimer::singleShot(0, this, [&] { program->main->close(); });
    QTimer::singleShot(50, this, [&] {
        chiRStayed = program->chiR()->isVisible() && !program->main->isVisible();
        program->chiR()->close();
    });
    QTimer::singleShot(5000, this, [] { QCoreApplication::exit(99); });
    const int code = QCoreApplication::exec();
    QVERIFY(chiRStayed);
    QCOMPARE(code, 0);
}

void tst_ChiK::japaneseInterface() {
    delete program;
    program = new Program({QStringLiteral("tovik")});
    QCOMPARE(program->main->windowTitle(), QString::fromUtf8("\u03c7(k)"));
    QCOMPARE(program->chiR()->windowTitle(), QString::fromUtf8("\u03c7(R)"));
    QCOMPARE(program->chiR()->label->text(), QString::fromUtf8("指示位置"));
    QCOMPARE(program->wave()->ctrl->Flat->text(), QString::fromUtf8("包絡線平坦化"));
}

void tst_ChiK::fitsHalfALaptopScreen_data() {
    QTest::addColumn<Startup::Language>("language");
    QTest::newRow("English") << Startup::Language::English;
    QTest::newRow("Japanese") << Startup::Language::Japanese;
}

// Half of a 1366 x 768 screen: every label and button shows its whole text
// (the read-out keeps R by its own rule), the plots keep a fair height.
void tst_ChiK::fitsHalfALaptopScreen() {
    QFETCH(Startup::Language, language);
    program->main->chooseLanguage(language);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    for (QMainWindow* w :
         {static_cast<QMainWindow*>(program->main), static_cast<QMainWindow*>(program->chiR())}) {
        w->resize(683, 700);
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QCoreApplication::processEvents();
        QCOMPARE(w->size(), QSize(683, 700));
        QVERIFY(w->findChild<DispArea*>()->height() > 700 / 3);
        for (const QWidget* c : w->findChildren<QWidget*>()) {
            auto* l = qobject_cast<const QLabel*>(c);
            auto* b = qobject_cast<const QAbstractButton*>(c);
            if (c->isVisible() && l && !l->wordWrap() && l->objectName() != "ReadOut")
                QVERIFY2(l->fontMetrics().horizontalAdvance(l->text()) <= l->contentsRect().width(),
                         qPrintable(l->text()));
            if (c->isVisible() && b)
                QVERIFY2(b->sizeHint().width() <= b->width(), qPrintable(b->text()));
        }
    }
}

// Side by side where the screen has room; else where they were.
void tst_ChiK::chiRBesideChiK() {
    ChiK& main = *program->main;
    const QPoint before = program->chiR()->pos();
    main.placeBeside(QRect(0, 0, 1366 / 2, 768));
    QCOMPARE(program->chiR()->pos(), before);
    main.placeBeside(QRect(0, 0, 1700, 900));
    QCOMPARE(main.frameGeometry().topLeft(), QPoint(0, 0));
    QCOMPARE(program->chiR()->frameGeometry().topLeft(), QPoint(main.frameGeometry().width(), 0));
}

QTEST_MAIN(tst_ChiK)
#include "tst_ChiK.moc"
