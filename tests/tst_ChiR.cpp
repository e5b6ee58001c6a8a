#include "CurvePixels.h"
#include "DirectDft.h"
#include "HeldCurves.h"
#include "MeasuredCurve.h"
#include "Program.h"
#include "WaveCtrl.h"

#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

// The chi(R) window with a real wave at the defaults. Pixels are read back
// from the painted surface at places computed from its own frame.
class tst_ChiR : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void form();
    void gridZeroLineAndPointerPixels();
    void shellPeaksAtItsDistance();
    void modulusPixelsFollowTotal();
    void everythingOffLeavesTheFrame();
    void everyCurveInItsColour_data();
    void everyCurveInItsColour();
    void valueRange_data();
    void valueRange();
    void pointerGrab_data();
    void pointerGrab();
    void pointerDragIsUnclamped();
    void typedPointer_data();
    void typedPointer();
    void eachToggleRepaintsOnce_data();
    void eachToggleRepaintsOnce();
    void paintingChangesNothing();

private:
    QImage paint();
    int X(double r) const { return pixel(c->coord->toPixelX(r)); }
    int Y(double v) const { return pixel(c->coord->toPixelY(v)); }
    static int pixel(double v) { return static_cast<int>(v); }
    static bool isRgb(const QImage& img, int x, int y, int r, int g, int b) {
        return img.pixel(x, y) == qRgb(r, g, b);
    }

    Program* program = nullptr;
    ChiR* c = nullptr;
};

void tst_ChiR::init() {
    program = new Program;
    c = program->chiR();
    c->resize(800, 600);
    QVERIFY(QTest::qWaitForWindowExposed(c));
}

void tst_ChiR::cleanup() {
    delete program;
    program = nullptr;
    c = nullptr;
}

QImage tst_ChiR::paint() {
    return c->DispA->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

void tst_ChiR::form() {
    QVERIFY(c->isWindow());
    QCOMPARE(c->size(), QSize(800, 600));
    QCOMPARE(c->windowTitle(), QStringLiteral("Chi(R)"));
    QCOMPARE(c->label->text(), QStringLiteral("Pointer : "));
    QCOMPARE(c->PointVal->text(), QStringLiteral("2"));
    QCOMPARE(c->pointerR, 2.0);
    QVERIFY(!c->grabbed);
    const QList<QRadioButton*> sel{c->SelReal,   c->SelImag, c->SelAbs,  c->SelEnvelope,
                                   c->SelWindow, c->SelWave, c->SelTotal};
    const QList<bool> checked{false, false, true, true, true, true, true};
    for (int i = 0; i < sel.size(); ++i) {
        QVERIFY(!sel[i]->autoExclusive());
        QCOMPARE(sel[i]->isChecked(), checked[i]);
    }
    // Independent switches: checking two of them keeps both checked.
    c->SelReal->setChecked(true);
    c->SelImag->setChecked(true);
    QVERIFY(c->SelReal->isChecked() && c->SelImag->isChecked() && c->SelAbs->isChecked());
    QCOMPARE(c->waves, &program->main->waves);
}

void tst_ChiR::gridZeroLineAndPointerPixels() {
    QImage img = paint();
    const int bottomRow = img.height() - 2;
    // Twelve grey grid columns; the pointer at R = 2 is drawn over its one.
    for (int r = -2; r <= 9; ++r) {
        if (r != 2)
            QVERIFY2(isRgb(img, X(r), bottomRow, 200, 200, 200), qPrintable(QString::number(r)));
    }
    QVERIFY(isRgb(img, X(2), bottomRow, 255, 0, 0));
    QVERIFY(isRgb(img, X(2), 1, 255, 0, 0));
    // Between grid lines, below the zero line, there is only background.
    QVERIFY(isRgb(img, X(2.5), bottomRow, 255, 255, 255));

    c->pointerR = 2.5;
    img = paint();
    QVERIFY(isRgb(img, X(2.5), bottomRow, 255, 0, 0));
    QVERIFY(isRgb(img, X(2.5), 1, 255, 0, 0));
    QVERIFY(isRgb(img, X(2.5) + 2, bottomRow, 255, 255, 255));
}

// A shell at R = 8 with no phase peaks at 8 on the plot: the R step of a
// bin is pi / (dk N) with the grid's own dk.
void tst_ChiR::shellPeaksAtItsDistance() {
    AWave* w = program->wave();
    QCOMPARE(w->binWidthR(), 3.1415926535 / (0.1 * 1024));
    w->ctrl->RBar->setValue(80);
    int peak = 1;
    for (int j = 1; j * w->binWidthR() <= 10; ++j)
        if (w->magnitude(w->chiSpectrum.get(), j) > w->magnitude(w->chiSpectrum.get(), peak))
            peak = j;
    QVERIFY2(std::abs(peak * w->binWidthR() - 8) <= w->binWidthR(),
             qPrintable(QString::number(peak * w->binWidthR())));
    // On the plot, the black curve's crest (the middle of its top row of
    // pixels) stands at R = 8, to within a bin (two pixels here).
    const QImage img = paint();
    int top = -1;
    for (int y = 0; y < img.height() && top < 0; ++y)
        for (int x = 0; x < img.width() && top < 0; ++x)
            if (img.pixel(x, y) == qRgb(0, 0, 0))
                top = y;
    int first = -1, last = -1;
    for (int x = 0; x < img.width(); ++x)
        if (img.pixel(x, top) == qRgb(0, 0, 0)) {
            if (first < 0)
                first = x;
            last = x;
        }
    const double crest = c->coord->toWorldX((first + last + 1) / 2.0);
    QVERIFY2(std::abs(crest - 8) < w->binWidthR(), qPrintable(QString::number(crest)));
}

void tst_ChiR::modulusPixelsFollowTotal() {
    auto countBlack = [](const QImage& img, int x0, int x1) {
        int n = 0;
        for (int x = x0; x <= x1; ++x)
            for (int y = 0; y < img.height(); ++y)
                n += img.pixel(x, y) == qRgb(0, 0, 0);
        return n;
    };
    QImage img = paint();
    // The shell at R = 2 puts the peak of |chi(R)| a little below 2 (the
    // phase of k sin(2kR) shifts it); look for black around it.
    const int withTotal = countBlack(img, X(1.5), X(2.3));
    QVERIFY2(withTotal > 20, qPrintable(QString::number(withTotal)));
    // The peak stands well above the zero line (the range is set by the
    // envelope's transform, whose bin 0 is far larger).
    int highest = img.height();
    for (int x = X(1.5); x <= X(2.3); ++x)
        for (int y = 0; y < img.height(); ++y)
            if (img.pixel(x, y) == qRgb(0, 0, 0))
                highest = std::min(highest, y);
    QVERIFY(highest < Y(0) - 10);

    c->SelTotal->setChecked(false);
    img = paint();
    QCOMPARE(countBlack(img, 0, img.width() - 1), 0);
}

void tst_ChiR::everythingOffLeavesTheFrame() {
    for (QRadioButton* b :
         {c->SelReal, c->SelImag, c->SelAbs, c->SelEnvelope, c->SelWindow, c->SelWave, c->SelTotal})
        b->setChecked(false);
    c->pointerR = 4.5;
    const QImage img = paint();
    const int zeroRow = Y(0);
    QSet<QRgb> colours;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            colours.insert(img.pixel(x, y));
    // White, red, the grid's grey and the grey shades of the labels' text.
    for (QRgb rgb : colours) {
        const bool grey = qRed(rgb) == qGreen(rgb) && qGreen(rgb) == qBlue(rgb) && qRed(rgb) >= 200;
        QVERIFY2(grey || rgb == qRgb(255, 0, 0), qPrintable(QString::number(rgb, 16)));
    }
    QVERIFY(isRgb(img, X(4.5), 3, 255, 0, 0));
    // The zero row is grey across the surface, away from the red pointer.
    for (double r : {-1.5, 0.5, 3.3, 7.7, 9.9})
        QVERIFY(isRgb(img, X(r), zeroRow, 200, 200, 200));
}

// Each curve in the colour its key shows (the key's own test checks the
// key), wherever it is drawn clear of the others: the three moduli with each
// part of the total in turn.
void tst_ChiR::everyCurveInItsColour_data() {
    QTest::addColumn<int>("part");
    QTest::addColumn<QRgb>("colour");
    QTest::newRow("real part") << 0 << qRgb(200, 0, 0);
    QTest::newRow("imaginary part") << 1 << qRgb(0, 200, 0);
    QTest::newRow("modulus") << 2 << qRgb(0, 0, 0);
}

void tst_ChiR::everyCurveInItsColour() {
    QFETCH(int, part);
    QFETCH(QRgb, colour);
    c->SelReal->setChecked(part == 0);
    c->SelImag->setChecked(part == 1);
    c->SelAbs->setChecked(part == 2);
    const QImage img = paint();
    const AWave* w = program->wave();
    const QRgb envelope = qRgb(255, 200, 0), window = qRgb(0, 150, 255), wave = qRgb(0, 255, 180);
    QVector<PlottedCurve> curves = {
        {"|F|", envelope, {}}, {"|W|", window, {}}, {"|sin|", wave, {}}, {"total", colour, {}}};
    double (AWave::*value[])(const double*, int)
        const = {&AWave::realPart, &AWave::imagPart, &AWave::magnitude};
    const double dR = w->binWidthR();
    for (int j = static_cast<int>(c->rMin / dR); j * dR <= c->rMax; ++j) {
        const int x = X(j * dR);
        curves[0].vertices << QPoint(x, Y(w->magnitude(w->envelopeSpectrum.get(), j)));
        curves[1].vertices << QPoint(x, Y(w->magnitude(w->windowSpectrum.get(), j)));
        if (j < 1)
            continue; // the oscillation and the total start at the first bin
        curves[2].vertices << QPoint(x, Y(w->magnitude(w->oscillationSpectrum.get(), j)));
        curves[3].vertices << QPoint(x, Y((w->*value[part])(w->chiSpectrum.get(), j)));
    }
    // Grid lines and the pointer at whole R, their labels under the zero line.
    QVector<int> columns;
    for (int r = -2; r <= 10; ++r)
        columns << X(r);
    QStringList wrong;
    const QVector<int> checked = checkCurveColours(img, curves, columns, Y(0) - 4,
                                                   Y(0) + c->DispA->height() / 40 + 14, &wrong);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(", ")));
    // The modulus of F(k) crowds in with that of W(k): it is clear at two places.
    for (int i = 0; i < curves.size(); ++i)
        QVERIFY2(checked[i] >= 2, curves[i].name);
}

void tst_ChiR::valueRange_data() {
    QTest::addColumn<bool>("abs");
    QTest::addColumn<bool>("real");
    QTest::addColumn<bool>("imag");
    QTest::addColumn<bool>("total");
    QTest::addColumn<int>("n");
    QTest::newRow("abs alone") << true << false << false << true << 2;
    QTest::newRow("abs alone, n 3") << true << false << false << true << 3;
    QTest::newRow("abs alone, total off") << true << false << false << false << 2;
    QTest::newRow("abs + real") << true << true << false << true << 2;
    QTest::newRow("abs + real, n 3") << true << true << false << true << 3;
    QTest::newRow("real alone") << false << true << false << true << 2;
    QTest::newRow("none") << false << false << false << true << 2;
    QTest::newRow("all three, total off") << true << true << true << false << 2;
}

// Normalised as in physical mode, the value axis fits the curves drawn and
// nothing else: the hidden transform of the bare oscillation (with n = 3
// hundreds of times the total's) sets no scale. The oracle is a direct DFT
// of the model's chi(k).
void tst_ChiR::valueRange() {
    QFETCH(bool, abs);
    QFETCH(bool, real);
    QFETCH(bool, imag);
    QFETCH(bool, total);
    QFETCH(int, n);
    program->wave()->ctrl->NBar->setValue(n);
    // Only the total's parts: the factors' and the bare oscillation's
    // transforms are hidden.
    c->SelEnvelope->setChecked(false);
    c->SelWindow->setChecked(false);
    c->SelWave->setChecked(false);
    c->SelAbs->setChecked(abs);
    c->SelReal->setChecked(real);
    c->SelImag->setChecked(imag);
    c->SelTotal->setChecked(total);
    paint();
    QCOMPARE(c->coord->xMin, -2.0);
    QCOMPARE(c->coord->xMax, 10.0);
    const AWave* w = program->wave();
    QVERIFY(!w->physical && !c->SelWave->isChecked());
    const int N = w->fftLength;
    std::vector<double> x(N, 0.0);
    std::copy(w->chi.begin(), w->chi.end(), x.begin());
    const DirectDft::Bins d = DirectDft::bins(x.data(), N);
    double modulus = 0, lowestReal = 0;
    for (int j = 0; j <= N / 2; ++j) {
        modulus = std::max(modulus, double(std::hypot(d.c[j], d.s[j])));
        lowestReal = std::min(lowestReal, double(d.c[j]));
    }
    const bool drawn = total && (abs || real || imag);
    if (!drawn) {
        QCOMPARE(c->coord->yMax, 1.05);
        QCOMPARE(c->coord->yMin, -0.05);
        return;
    }
    // The modulus bounds the parts: the top is the modulus's where it is
    // drawn.
    if (abs)
        QVERIFY(std::abs(c->coord->yMax - 1.05 * modulus) <= 1e-9 * modulus);
    else
        QVERIFY(c->coord->yMax <= 1.05 * modulus * (1 + 1e-9));
    if (abs && !real && !imag)
        QVERIFY(std::abs(c->coord->yMin + 0.05 * modulus) <= 1e-9 * modulus);
    else if (real && !imag)
        QVERIFY(std::abs(c->coord->yMin - 1.05 * lowestReal) <= 1e-9 * modulus);
    else
        QVERIFY(c->coord->yMin < 0 && c->coord->yMin >= -1.05 * modulus * (1 + 1e-9));
    // Far below the hidden oscillation's transform.
    if (n == 3)
        QVERIFY(c->coord->yMax < 0.5 * w->spectrumScale);
}

void tst_ChiR::pointerGrab_data() {
    QTest::addColumn<int>("offset");
    QTest::addColumn<bool>("grabs");
    QTest::newRow("on the line") << 0 << true;
    QTest::newRow("9 right") << 9 << true;
    QTest::newRow("9 left") << -9 << true;
    QTest::newRow("10 right") << 10 << false;
    QTest::newRow("10 left") << -10 << false;
    QTest::newRow("40 left") << -40 << false;
}

void tst_ChiR::pointerGrab() {
    QFETCH(int, offset);
    QFETCH(bool, grabs);
    // A surface 768 pixels wide puts R = 2 exactly on pixel 256, so the
    // offsets are exact distances.
    c->resize(c->width() + 768 - c->DispA->width(), 600);
    QTest::qWait(20);
    QCOMPARE(c->DispA->width(), 768);
    paint();
    const double lineX = c->coord->toPixelX(c->pointerR);
    QCOMPARE(lineX, 256.0);
    const int x = 256 + offset;
    press(c->DispA, QPoint(x, 123));
    QCOMPARE(c->grabbed, grabs);
    dragTo(c->DispA, QPoint(x + 30, 300));
    if (grabs) {
        QCOMPARE(c->pointerR, c->coord->toWorldX(x + 30));
        QCOMPARE(c->PointVal->text(), QString::number(c->pointerR, 'g', 6));
    } else {
        QCOMPARE(c->pointerR, 2.0);
        QCOMPARE(c->PointVal->text(), QStringLiteral("2"));
    }
    release(c->DispA, QPoint(x + 30, 300));
    QVERIFY(!c->grabbed);
    const double after = c->pointerR;
    dragTo(c->DispA, QPoint(x + 60, 300));
    QCOMPARE(c->pointerR, after);
}

void tst_ChiR::pointerDragIsUnclamped() {
    paint();
    const int x = qRound(c->coord->toPixelX(2.0));
    press(c->DispA, QPoint(x, 50));
    dragTo(c->DispA, QPoint(-300, 50));
    QVERIFY(c->pointerR < -2);
    QCOMPARE(c->PointVal->text(), QString::number(c->coord->toWorldX(-300), 'g', 6));
    QVERIFY(c->PointVal->text().startsWith('-'));
    dragTo(c->DispA, QPoint(c->DispA->width() + 200, 50));
    QVERIFY(c->pointerR > 10);
    release(c->DispA, QPoint(c->DispA->width() + 200, 50));
}

// A number typed into the Pointer box moves the line there and repaints
// once; anything else leaves the line and shows its R again.
void tst_ChiR::typedPointer_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("returnKey"); // else focus leaves the box
    QTest::addColumn<double>("r");
    QTest::newRow("number") << "7.25" << true << 7.25;
    QTest::newRow("focus out") << "3" << false << 3.0;
    QTest::newRow("off the plot") << "-4.5" << true << -4.5;
    QTest::newRow("empty") << "" << true << 2.0;
    QTest::newRow("letters") << "R=3" << true << 2.0;
    QTest::newRow("nan") << "nan" << false << 2.0;
    QTest::newRow("inf") << "-inf" << true << 2.0;
    QTest::newRow("too large") << "1e400" << true << 2.0;
}

void tst_ChiR::typedPointer() {
    QFETCH(QString, typed);
    QFETCH(bool, returnKey);
    QFETCH(double, r);
    paint();
    int paints = 0;
    connect(c->DispA, &DispArea::draw, this, [&](QPainter*) { ++paints; });
    QTest::qWait(50);
    paints = 0;
    c->PointVal->setFocus();
    c->PointVal->selectAll();
    QTest::keyClick(c->PointVal, Qt::Key_Delete);
    QTest::keyClicks(c->PointVal, typed);
    if (returnKey) {
        QTest::keyClick(c->PointVal, Qt::Key_Return);
    } else {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(c->PointVal, &out);
    }
    QCOMPARE(c->pointerR, r);
    QCOMPARE(c->PointVal->text(), QString::number(r, 'g', 6));
    QTest::qWait(100);
    QCOMPARE(paints, r == 2.0 ? 0 : 1);
    if (r >= -2 && r <= 10) {
        const QImage img = paint();
        QVERIFY(isRgb(img, X(r), img.height() - 2, 255, 0, 0));
    }
}

void tst_ChiR::eachToggleRepaintsOnce_data() {
    QTest::addColumn<QString>("button");
    for (const char* name :
         {"SelReal", "SelImag", "SelAbs", "SelEnvelope", "SelWindow", "SelWave", "SelTotal"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void tst_ChiR::eachToggleRepaintsOnce() {
    QFETCH(QString, button);
    auto* b = c->findChild<QRadioButton*>(button);
    QVERIFY(b);
    QCoreApplication::processEvents();
    int paints = 0;
    connect(c->DispA, &DispArea::draw, this, [&](QPainter*) { ++paints; });
    QTest::qWait(50);
    paints = 0;
    b->toggle();
    QTest::qWait(100);
    QCOMPARE(paints, 1);
    b->toggle();
    QTest::qWait(100);
    QCOMPARE(paints, 2);
}

// A paint of either plot, with data and held curves on both, sets the frame
// and nothing else: no signal, no window shown, no further paint.
void tst_ChiR::paintingChangesNothing() {
    QTemporaryDir tmp;
    QVERIFY(program->openData(tmp.filePath(QStringLiteral("data.chi")), 1));
    program->main->actionHold->trigger();
    program->wave()->ctrl->RBar->setValue(25);
    c->setFitRange(1, 3);
    c->hide();
    QTest::qWait(50);
    const QVector<QSignalSpy*> spies{
        new QSignalSpy(program->wave(), &AWave::updated),
        new QSignalSpy(program->main->measured, &MeasuredCurve::changed),
        new QSignalSpy(program->main->held, &HeldCurves::changed),
        new QSignalSpy(program->main->view, &ViewOptions::changed)};
    int paints = 0;
    for (DispArea* a : {c->DispA, program->main->DispA})
        connect(a, &DispArea::draw, this, [&](QPainter*) { ++paints; });
    const double pointer = c->pointerR;
    const QImage r = paint(), k = program->main->DispA->grab().toImage();
    QTest::qWait(100);
    QCOMPARE(paints, 2);
    for (QSignalSpy* spy : spies)
        QCOMPARE(spy->count(), 0);
    QVERIFY(!c->isVisible());
    QCOMPARE(c->pointerR, pointer);
    QVERIFY(c->fitRangeShown() && c->fitRangeLow() == 1 && c->fitRangeHigh() == 3);
    // Painted again, the same pictures.
    QCOMPARE(paint(), r);
    QCOMPARE(program->main->DispA->grab().toImage(), k);
    qDeleteAll(spies);
}

QTEST_MAIN(tst_ChiR)
#include "tst_ChiR.moc"
