#include "Axes.h"
#include "Legend.h"
#include "Program.h"
#include "WaveCtrl.h"

#include <QPainter>
#include <QtTest>

// The View menu's options as both windows draw them, the locked scales, the
// chi(R) read-out and pointer keys, and the side-by-side arrangement.
class tst_ViewOptions : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void niceSteps_data();
    void niceSteps();
    void offLeavesThePictures();
    void axesWhereTheFrameSays_data();
    void axesWhereTheFrameSays();
    void legendNamesTheCurves();
    void lockedScalesHold();
    void menusStayInStep();
    void readOutAndKeys();
    void doubleClickFindsThePeak();
    void sideBySide();

private:
    QImage grab(DispArea* a) const {
        return a->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    Program* program = nullptr;
    ViewOptions* view = nullptr;
};

void tst_ViewOptions::init() {
    program = new Program;
    view = program->main->view;
    program->chiR()->resize(800, 600);
    QVERIFY(QTest::qWaitForWindowExposed(program->chiR()));
}

void tst_ViewOptions::cleanup() {
    delete program;
    program = nullptr;
}

void tst_ViewOptions::niceSteps_data() {
    QTest::addColumn<double>("span");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<double>("step");
    QTest::newRow("k axis") << 16.0 << 10 << 2.0;
    QTest::newRow("R axis") << 12.0 << 10 << 2.0;
    QTest::newRow("unit range") << 2.2 << 8 << 0.5;
    QTest::newRow("small") << 0.031 << 5 << 0.01;
    QTest::newRow("large") << 315.0 << 6 << 100.0;
    QTest::newRow("exact") << 10.0 << 10 << 1.0;
}

void tst_ViewOptions::niceSteps() {
    QFETCH(double, span);
    QFETCH(int, ticks);
    QFETCH(double, step);
    QCOMPARE(Axes::niceStep(span, ticks), step);
    const QVector<double> t = Axes::ticks(-1.1, 1.1, 0.5);
    QCOMPARE(t, QVector<double>({-1, -0.5, 0, 0.5, 1}));
    QCOMPARE(Axes::label(0.1 + 0.2, 0.1), QStringLiteral("0.3"));
    QCOMPARE(Axes::label(-1e-17, 0.5), QStringLiteral("0.0"));
}

// Switched on and off again, every option leaves both pictures as they
// were, pixel for pixel.
void tst_ViewOptions::offLeavesThePictures() {
    DispArea* k = program->main->DispA;
    DispArea* r = program->chiR()->DispA;
    const QImage k0 = grab(k), r0 = grab(r);
    view->setAxes(true);
    view->setLegend(true);
    view->setLockScales(true);
    QVERIFY(grab(k) != k0 && grab(r) != r0);
    view->setAxes(false);
    view->setLegend(false);
    view->setLockScales(false);
    QCOMPARE(grab(k), k0);
    QCOMPARE(grab(r), r0);
}

void tst_ViewOptions::axesWhereTheFrameSays_data() {
    QTest::addColumn<bool>("chiR");
    QTest::newRow("chi(k)") << false;
    QTest::newRow("chi(R)") << true;
}

// The data are inset by the axes' margins, the world ranges stay, and each
// tick stands at its value's pixel in the labels' dark grey.
void tst_ViewOptions::axesWhereTheFrameSays() {
    QFETCH(bool, chiR);
    DispArea* a = chiR ? program->chiR()->DispA : program->main->DispA;
    grab(a);
    const double xMin = a->coord.xMin, xMax = a->coord.xMax;
    view->setAxes(true);
    const QImage img = grab(a);
    const QMargins m = Axes::margins(a->font());
    QCOMPARE(a->coord.pixelArea.left, double(m.left()));
    QCOMPARE(a->coord.pixelArea.bottom, double(a->height() - m.bottom()));
    QCOMPARE(a->coord.xMin, xMin);
    QCOMPARE(a->coord.xMax, xMax);
    const QRgb dark = qRgb(Axes::shade, Axes::shade, Axes::shade);
    const int bottom = int(a->coord.pixelArea.bottom);
    const double step = 2; // 12 or 16 units over about 700 pixels
    int ticks = 0;
    for (double x : Axes::ticks(xMin, xMax, step)) {
        const int px = int(a->coord.toPixelX(x));
        QCOMPARE(img.pixel(px, bottom + 3), dark);
        // Its label lies under it: some dark-ish pixels there.
        int ink = 0;
        const QFontMetrics fm(a->font());
        for (int y = bottom + 6; y < bottom + 6 + fm.height(); ++y)
            for (int dx = -fm.averageCharWidth(); dx <= fm.averageCharWidth(); ++dx)
                ink += qGray(img.pixel(px + dx, y)) < 128;
        QVERIFY2(ink > 3, qPrintable(QString::number(x)));
        ++ticks;
    }
    QCOMPARE(ticks, chiR ? 7 : 9);
    // The left axis line and nothing of the data left of it.
    const int left = int(a->coord.pixelArea.left);
    QCOMPARE(img.pixel(left, a->height() / 2), dark);
}

void tst_ViewOptions::legendNamesTheCurves() {
    view->setLegend(true);
    struct Case {
        DispArea* area;
        QVector<QRgb> colours;
    } cases[] = {{program->main->DispA, {qRgb(0, 0, 0), qRgb(0, 150, 255), qRgb(255, 180, 0)}},
                 {program->chiR()->DispA,
                  {qRgb(255, 200, 0), qRgb(0, 150, 255), qRgb(0, 255, 180), qRgb(0, 0, 0)}}};
    for (const Case& c : cases) {
        const QImage img = grab(c.area);
        QVector<Legend::Entry> entries(c.colours.size());
        const QRect box = Legend::box(entries, c.area->rect(), c.area->font());
        // The entries' names are wider than nothing: measure with the rows only.
        const QFontMetrics fm(c.area->font());
        for (int i = 0; i < c.colours.size(); ++i) {
            const int y = box.top() + 4 + i * fm.height() + fm.height() / 2;
            bool found = false;
            for (int x = 0; x < img.width() && !found; ++x)
                found = img.pixel(x, y) == c.colours[i] &&
                        img.pixel(x + Legend::swatch - 2, y) == c.colours[i];
            QVERIFY2(found, qPrintable(QString::number(i)));
        }
    }
    // Switching a curve off removes its entry: no green row any more.
    program->chiR()->SelWave->setChecked(false);
    const QImage img = grab(program->chiR()->DispA);
    int green = 0;
    for (int y = 0; y < img.height() / 3; ++y)
        for (int x = img.width() / 2; x < img.width(); ++x)
            green += img.pixel(x, y) == qRgb(0, 255, 180);
    QCOMPARE(green, 0);
}

// While locked, parameter changes leave both frames' value ranges; off,
// they fit again.
void tst_ViewOptions::lockedScalesHold() {
    DispArea* k = program->main->DispA;
    DispArea* r = program->chiR()->DispA;
    grab(k);
    grab(r);
    view->setLockScales(true);
    grab(k);
    grab(r);
    const double k0 = k->coord.yMin, k1 = k->coord.yMax, r0 = r->coord.yMin, r1 = r->coord.yMax;
    QCOMPARE(view->lockedR, ViewOptions::Range(r0, r1));
    // The envelope's transform sets the chi(R) range; a lower envelope and
    // physical amplitudes change both plots' fits.
    QVector<QPointF> low = program->wave()->envelope->points;
    for (QPointF& pt : low)
        pt.setY(0.2);
    program->wave()->envelope->setPoints(low);
    program->wave()->ctrl->RBar->setValue(45);
    program->wave()->ctrl->SelWindowF->click();
    program->wave()->ctrl->SelDebye->click();
    view->setPhysical(true);
    grab(k);
    grab(r);
    QCOMPARE(k->coord.yMin, k0);
    QCOMPARE(k->coord.yMax, k1);
    QCOMPARE(r->coord.yMin, r0);
    QCOMPARE(r->coord.yMax, r1);
    view->setLockScales(false);
    grab(k);
    grab(r);
    QCOMPARE(k->coord.yMax, 1.1 * program->wave()->valueScale);
    QCOMPARE(r->coord.yMax, 1.05 * program->wave()->spectrumScale);
    QVERIFY(r->coord.yMax < 0.5 * r1);
    QVERIFY(k->coord.yMax < 0.5 * k1);
}

// An option set in either window shows checked in both, and the physical
// one reaches the wave.
void tst_ViewOptions::menusStayInStep() {
    program->chiR()->actionPhysical->trigger();
    QVERIFY(view->physical);
    QVERIFY(program->main->actionPhysical->isChecked());
    QVERIFY(program->wave()->physical);
    program->main->actionAxes->trigger();
    QVERIFY(program->chiR()->actionAxes->isChecked());
    program->main->actionAxes->trigger();
    QVERIFY(!program->chiR()->actionAxes->isChecked() && !view->axes);
}

void tst_ViewOptions::readOutAndKeys() {
    ChiR* c = program->chiR();
    const AWave* w = program->wave();
    const double dR = w->binWidthR();
    auto expected = [&](int j) {
        const double* s = w->chiSpectrum.get();
        return QStringLiteral("At R = %1 Å:  |chi| = %2   Re chi = %3   Im chi = %4")
            .arg(QString::number(j * dR, 'f', 3), QString::number(w->magnitude(s, j), 'g', 4),
                 QString::number(w->realPart(s, j), 'g', 4),
                 QString::number(w->imagPart(s, j), 'g', 4));
    };
    QCOMPARE(c->ReadOut->text(), expected(qRound(2.0 / dR)));
    c->DispA->setFocus();
    QTest::keyClick(c->DispA, Qt::Key_Right);
    const int j = qRound(2.0 / dR) + 1;
    QCOMPARE(c->pointerR, j * dR);
    QCOMPARE(c->ReadOut->text(), expected(j));
    QTest::keyClick(c->DispA, Qt::Key_Left);
    QTest::keyClick(c->DispA, Qt::Key_Left);
    QCOMPARE(c->pointerR, (j - 2) * dR);
    // The read-out follows the wave too.
    program->wave()->ctrl->RBar->setValue(30);
    QCOMPARE(c->ReadOut->text(), expected(j - 2));
}

void tst_ViewOptions::doubleClickFindsThePeak() {
    ChiR* c = program->chiR();
    const AWave* w = program->wave();
    grab(c->DispA);
    const double dR = w->binWidthR();
    const double clicked = 2.25;
    int best = -1;
    double largest = -1;
    for (int j = 0; j * dR <= clicked + 0.3; ++j)
        if (j * dR >= clicked - 0.3 && w->magnitude(w->chiSpectrum.get(), j) > largest) {
            largest = w->magnitude(w->chiSpectrum.get(), j);
            best = j;
        }
    const QPoint at(qRound(c->coord->toPixelX(clicked)), 100);
    QMouseEvent e(QEvent::MouseButtonDblClick, at, c->DispA->mapToGlobal(at), Qt::LeftButton,
                  Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(c->DispA, &e);
    QCOMPARE(c->pointerR, best * dR);
    QVERIFY(std::abs(c->pointerR - 2) < 0.1); // the shell is at 2 with no phase
}

// On a 1366 x 768 laptop both windows fit whole, side by side.
void tst_ViewOptions::sideBySide() {
    const QRect screen(0, 0, 1366, 740);
    ChiK::arrange(program->main, program->chiR(), screen);
    const QRect a = program->main->frameGeometry(), b = program->chiR()->frameGeometry();
    QVERIFY2(screen.contains(a) && screen.contains(b),
             qPrintable(QStringLiteral("%1 %2").arg(a.width()).arg(b.width())));
    QVERIFY(!a.intersects(b));
    QCOMPARE(a.width() + b.width(), 1366);
}

QTEST_MAIN(tst_ViewOptions)
#include "tst_ViewOptions.moc"
