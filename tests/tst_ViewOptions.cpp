#include "Axes.h"
#include "DirectDft.h"
#include "Legend.h"
#include "MeasuredCurve.h"
#include "Program.h"
#include "WaveCtrl.h"

#include <QMenu>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <complex>

namespace {
// The field's transform of grid values x_i (k_i = 0.1 i) at R, and its modulus.
std::complex<long double> fieldSum(const QVector<double>& x, long double r) {
    return DirectDft::fieldSum(x.constData(), x.size(), 0.1L, r);
}
long double fieldTransform(const QVector<double>& x, long double r) {
    return std::abs(fieldSum(x, r));
}
// R of bin j: the FFT's own grid, pi / (N dk) apart.
long double binR(int j) {
    return DirectDft::pi * j / (1024 * 0.1L);
}
} // namespace

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
    void menusStayInStep_data();
    void menusStayInStep();
    void readOutAndKeys();
    void doubleClickFindsTheTop();
    void physicalRangeFitsTheDrawnCurves();
    void valueTitles();
    void narrowReadOutKeepsR();
    void sideBySide();

private:
    QImage grab(DispArea* a) const {
        return a->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    QTemporaryDir tmp;
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
    const QRgb dark = qRgb(40, 40, 40);
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
    // Physical: chi(k) fits what it draws, W's plateau of 1 the largest.
    QCOMPARE(k->coord.yMax, 1.1);
    QCOMPARE(r->coord.yMax, program->chiR()->fittedRange().second);
    QVERIFY(r->coord.yMax < 0.5 * r1);
}

// Both View menus hold the same entries where the windows always had them,
// so an option set in either window shows checked in both; the physical one
// reaches the wave.
void tst_ViewOptions::menusStayInStep_data() {
    QTest::addColumn<bool>("chiR");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("chi(k)") << false
                            << QStringList{"actionAxes",
                                           "actionLegend",
                                           "actionPhysical",
                                           "actionLockScales",
                                           "actionFiltered",
                                           "|",
                                           "actionMuWindow",
                                           "actionArrange",
                                           "actionShells",
                                           "actionFit",
                                           "actionRatio",
                                           "actionNotes",
                                           "|",
                                           "menuLanguage"};
    QTest::newRow("chi(R)") << true
                            << QStringList{"actionAxes",       "actionLegend",   "actionPhysical",
                                           "actionLockScales", "actionFiltered", "|",
                                           "actionMuWindow",   "actionArrange",  "|",
                                           "menuLanguage"};
}

void tst_ViewOptions::menusStayInStep() {
    QFETCH(bool, chiR);
    QFETCH(QStringList, entries);
    QMainWindow* window = chiR ? static_cast<QMainWindow*>(program->chiR()) : program->main;
    QMenu* menu = chiR ? program->chiR()->menuView : program->main->menuView;
    QMenu* language = chiR ? program->chiR()->menuLanguage : program->main->menuLanguage;
    QStringList shown;
    for (const QAction* a : menu->actions())
        shown << (a->isSeparator() ? QStringLiteral("|")
                  : a->menu()      ? a->menu()->objectName()
                                   : a->objectName());
    QCOMPARE(shown, entries);
    const Actions* actions = program->main->actions;
    QCOMPARE(language->actions(), (QList<QAction*>{actions->japanese, actions->english}));
    QVERIFY(window->isVisible());

    // The menu's own entry, as a user picks it in this window.
    QAction* physical = menu->actions().at(2);
    physical->trigger();
    QVERIFY(view->physical);
    QVERIFY(program->wave()->physical);
    QMenu* other = chiR ? program->main->menuView : program->chiR()->menuView;
    QVERIFY(other->actions().at(2)->isChecked());
    QAction* axes = menu->actions().at(0);
    axes->trigger();
    QVERIFY(other->actions().at(0)->isChecked() && view->axes);
    axes->trigger();
    QVERIFY(!other->actions().at(0)->isChecked() && !view->axes);
}

// A click on the plot takes the keys: Left and Right then step the pointer
// bin by bin, with the read-out; before the click they go elsewhere.
void tst_ViewOptions::readOutAndKeys() {
    ChiR* c = program->chiR();
    c->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(c));
    const AWave* w = program->wave();
    const double dR = w->binWidthR();
    auto expected = [&](int j) {
        const double* s = w->chiSpectrum.get();
        return QStringLiteral("bin R = %1 Å   |χ| = %2   Re χ = %3   Im χ = %4")
            .arg(QString::number(j * dR, 'f', 3), QString::number(w->magnitude(s, j), 'g', 4),
                 QString::number(w->realPart(s, j), 'g', 4),
                 QString::number(w->imagPart(s, j), 'g', 4));
    };
    const int j = qRound(2.0 / dR);
    QCOMPARE(c->ReadOut->text(), expected(j));
    QTest::keyClick(c->windowHandle(), Qt::Key_Right);
    QCOMPARE(c->pointerR, 2.0);
    QTest::mouseClick(c->DispA, Qt::LeftButton, Qt::NoModifier, QPoint(40, 40));
    QCOMPARE(c->focusWidget(), c->DispA);
    QCOMPARE(c->pointerR, 2.0); // the click was far from the line
    QTest::keyClick(c->windowHandle(), Qt::Key_Right);
    QCOMPARE(c->pointerR, (j + 1) * dR);
    QCOMPARE(c->ReadOut->text(), expected(j + 1));
    QTest::keyClick(c->windowHandle(), Qt::Key_Left);
    QTest::keyClick(c->windowHandle(), Qt::Key_Left);
    QCOMPARE(c->pointerR, (j - 1) * dR);
    // The read-out follows the wave too.
    program->wave()->ctrl->RBar->setValue(30);
    QCOMPARE(c->ReadOut->text(), expected(j - 1));
}

// A double-click near the shell's peak puts the pointer on the top of
// |chi(R)| as a direct transform at any R finds it, and the read-out gives
// that R to 0.001 Å and its height, in Å^-3; a step leaves the top again.
void tst_ViewOptions::doubleClickFindsTheTop() {
    ChiR* c = program->chiR();
    view->setPhysical(true);
    grab(c->DispA);
    const AWave* w = program->wave();
    // The true top, by a fine search.
    long double trueR = 1.9L;
    for (long double r = 1.9L; r <= 2.1L; r += 0.0001L)
        if (fieldTransform(w->chi, r) > fieldTransform(w->chi, trueR))
            trueR = r;
    const double trueTop = double(fieldTransform(w->chi, trueR));

    const QPoint at(qRound(c->coord->toPixelX(2.25)), 100);
    sendMouse(c->DispA, QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
    QVERIFY(std::abs(c->pointerR - double(trueR)) < 0.002);
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("^peak R = (\\d\\.\\d{3}) Å   top \\|χ\\| = (\\S+) Å⁻³$"))
            .match(c->ReadOut->text());
    QVERIFY2(m.hasMatch(), qPrintable(c->ReadOut->text()));
    QCOMPARE(m.captured(1), QString::number(c->pointerR, 'f', 3));
    QVERIFY(std::abs(m.captured(2).toDouble() - trueTop) < 0.002 * trueTop);
    QTest::mouseClick(c->DispA, Qt::LeftButton, Qt::NoModifier, QPoint(40, 40));
    QTest::keyClick(c->windowHandle(), Qt::Key_Right);
    QVERIFY(c->ReadOut->text().startsWith(QStringLiteral("bin R = ")));
}

// Physical amplitudes: the chi(R) value axis covers the curves drawn, every
// bin of them, and nothing else (chi(k): lockedScalesHold).
void tst_ViewOptions::physicalRangeFitsTheDrawnCurves() {
    ChiR* c = program->chiR();
    QVERIFY(program->openData(tmp.filePath(QStringLiteral("shell.chi")), 0.15));
    view->setPhysical(true);
    for (QRadioButton* b : {c->SelEnvelope, c->SelWindow, c->SelWave})
        b->setChecked(false);
    grab(c->DispA);
    const AWave* w = program->wave();
    const QVector<double>& data = program->main->measured->values;
    long double top = 0;
    for (int j = 0; binR(j) <= 10; ++j) // segments from bin 0 on
        top = std::max({top, fieldTransform(w->chi, binR(j)), fieldTransform(data, binR(j))});
    QVERIFY(std::abs(c->coord->yMax - 1.05 * double(top)) < 1e-9 * double(top));
    QCOMPARE(c->coord->yMin, -0.05 * double(top));
    // The envelope's transform, not drawn, would have set it.
    QVERIFY(fieldTransform(w->envelopeValues, 0) > 1.5L * top);
    // The real part drawn too: below zero as far as it goes.
    c->SelReal->setChecked(true);
    grab(c->DispA);
    long double low = 0;
    for (int j = 0; binR(j) <= 10; ++j)
        low = std::min({low, fieldSum(w->chi, binR(j)).real(), fieldSum(data, binR(j)).real()});
    QVERIFY(std::abs(c->coord->yMin - 1.05 * double(low)) < 1e-9 * double(top));
    QVERIFY(c->coord->yMin > -0.9 * c->coord->yMax);
}

// The value axes' titles, with the unit of n or "normalised", painted
// upright left of the labels.
void tst_ViewOptions::valueTitles() {
    view->setPhysical(true);
    view->setAxes(true);
    QCOMPARE(program->main->valueTitle(), QStringLiteral("k²·χ(k) (Å⁻²)"));
    QCOMPARE(program->chiR()->valueTitle(), QStringLiteral("|χ(R)| (Å⁻³)"));
    DispArea* a = program->chiR()->DispA;
    const QImage img = grab(a);
    int ink = 0;
    for (int x = 2; x < 2 + QFontMetrics(a->font()).height(); ++x)
        for (int y = a->height() / 3; y < 2 * a->height() / 3; ++y)
            ink += qGray(img.pixel(x, y)) < 128;
    QVERIFY(ink > 20);
    view->setPhysical(false);
    program->wave()->ctrl->NBar->setValue(3);
    program->chiR()->SelReal->setChecked(true);
    QCOMPARE(program->main->valueTitle(), QStringLiteral("k³·χ(k), normalised"));
    QCOMPARE(program->chiR()->valueTitle(), QStringLiteral("|χ(R)|, Re χ(R), normalised"));
    program->chiR()->SelTotal->setChecked(false);
    QVERIFY(program->chiR()->valueTitle().isEmpty());
}

// However narrow, the read-out drops its least important numbers first
// (Re and Im before the data's |chi|) and keeps R and |chi| whole in its
// width, R alone last.
// (The window itself stops at its smallest width, so below that the label is
// narrowed directly, as a 600-pixel window's layout would.)
void tst_ViewOptions::narrowReadOutKeepsR() {
    ChiR* c = program->chiR();
    QVERIFY(program->openData(tmp.filePath(QStringLiteral("shell.chi")), 0.15));
    const QFontMetrics fm(c->ReadOut->font());
    const QString start = QStringLiteral("bin R = 1.994 Å   |χ| = 52.87");
    // Too narrow for Re and Im; for anything after R.
    const int noParts =
        fm.horizontalAdvance(start + QStringLiteral("   Re χ = 5.934   Im χ = 52.54"));
    const int rOnly = fm.horizontalAdvance(QStringLiteral("bin R = 1.994 Å")) + 4;
    c->resize(683, 600);
    QTRY_VERIFY(c->ReadOut->width() > 650);
    for (int width : {683, 582, noParts, rOnly}) {
        if (width < 683)
            c->ReadOut->resize(width, c->ReadOut->height());
        const QString text = c->ReadOut->text();
        QVERIFY(fm.horizontalAdvance(text) <= c->ReadOut->contentsRect().width());
        QVERIFY(width == rOnly ? text == QStringLiteral("bin R = 1.994 Å")
                               : text.startsWith(start));
        if (width == noParts)
            QVERIFY(!text.contains(QStringLiteral("Re χ")) &&
                    text.contains(QStringLiteral("data |χ|")));
    }
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
