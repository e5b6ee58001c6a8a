#include "CurvePixels.h"
#include "HeldCurves.h"
#include "Legend.h"
#include "MeasuredCurve.h"
#include "Palette.h"
#include "Program.h"
#include "TransformTraces.h"
#include "WaveCtrl.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

// Comparing on both plots: measured data loaded from a file and curves held
// from earlier states, read back from the painted pixels.
class tst_HeldCurves : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void measuredOnBothPlots();
    void heldCurvesStayBehind();
    void namesAndShades();
    void heldDataUnderNewData();
    void tracesForEitherPlot_data();
    void tracesForEitherPlot();

private:
    QImage grab(DispArea* a) const {
        return a->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    static int count(const QImage& img, QRgb colour, const QRect& where) {
        int n = 0;
        for (int y = where.top(); y <= where.bottom(); ++y)
            for (int x = where.left(); x <= where.right(); ++x)
                n += img.pixel(x, y) == colour;
        return n;
    }
    Program* program = nullptr;
    QTemporaryDir tmp;
};

void tst_HeldCurves::init() {
    program = new Program;
    program->chiR()->resize(800, 600);
    QVERIFY(QTest::qWaitForWindowExposed(program->chiR()));
}

void tst_HeldCurves::cleanup() {
    delete program;
    program = nullptr;
}

void tst_HeldCurves::measuredOnBothPlots() {
    const QString path = tmp.filePath(QStringLiteral("shell.chi"));
    DispArea* k = program->main->DispA;
    DispArea* r = program->chiR()->DispA;
    const QRgb data = Palette::measured().rgb();
    QCOMPARE(count(grab(k), data, k->rect()), 0);
    QVERIFY(program->openData(path, 1));
    const QImage k1 = grab(k), r1 = grab(r);
    QVERIFY(count(k1, data, k->rect()) > 200);
    QVERIFY(count(r1, data, r->rect()) > 100);
    // On the chi(k) plot the data run through their own processed values.
    const MeasuredCurve* m = program->main->measured;
    // Samples away from what is drawn over the data: the zero line, the
    // envelope points' lines at whole k, the window handles at 3 and 4, and
    // the live curve.
    int onCurve = 0, tried = 0;
    for (int i = 23; i < 130; i += 5) {
        const double kk = program->wave()->kValues[i];
        const int x = int(k->coord.toPixelX(kk));
        const int y = int(k->coord.toPixelY(m->values[i]));
        if (std::abs(m->values[i]) < 0.08 || std::abs(kk - 3) < 0.2 || std::abs(kk - 4) < 0.2 ||
            k1.pixel(x, y) == qRgb(0, 0, 0))
            continue;
        ++tried;
        onCurve += colourNear(k1, QPoint(x, y), data, 1, 2);
    }
    QVERIFY2(tried >= 8 && onCurve == tried,
             qPrintable(QStringLiteral("%1/%2").arg(onCurve).arg(tried)));
    // The read-out gives the data's transform at the pointer too, also
    // after a change of the wave reprocessed them.
    program->wave()->ctrl->setWindowPos(3, 12.0);
    const int j = program->chiR()->pointerBin();
    QVERIFY2(
        program->chiR()->ReadOut->text().contains(
            QStringLiteral("   data |χ| = %1")
                .arg(QString::number(program->wave()->magnitude(m->spectrum.get(), j), 'g', 4))),
        qPrintable(program->chiR()->ReadOut->text()));
    // A change of n reweights the data; the curve moves.
    program->wave()->ctrl->NBar->setValue(3);
    QVERIFY(grab(k) != k1);
    program->main->actionClearData->trigger();
    QCOMPARE(count(grab(k), data, k->rect()), 0);
    QCOMPARE(count(grab(r), data, r->rect()), 0);
}

// Held curves keep their pixels while the live curve moves on, behind it.
void tst_HeldCurves::heldCurvesStayBehind() {
    DispArea* k = program->main->DispA;
    grab(k);
    program->main->actionHold->trigger();
    const HeldCurves::Curve held = program->main->held->curves.first();
    program->wave()->ctrl->RBar->setValue(27);
    const QImage img = grab(k);
    const QRgb shade = HeldCurves::shadeOf(Qt::black, 0).rgb();
    int found = 0, tried = 0;
    for (int i = 45; i < 150; i += 3) {
        const int x = int(k->coord.toPixelX(held.k[i]));
        const int y = int(k->coord.toPixelY(held.chi[i]));
        // Where the live curve, an envelope handle's line or the zero line
        // is not drawn over it.
        const QRgb over = img.pixel(x, y);
        if (over == qRgb(0, 0, 0) || over == Palette::envelopeHandle().rgb() ||
            over == Palette::grid().rgb())
            continue;
        ++tried;
        for (int dy = -1; dy <= 1; ++dy)
            if (img.pixel(x, y + dy) == shade) {
                ++found;
                break;
            }
    }
    QVERIFY2(tried > 20 && found >= tried - 3,
             qPrintable(QStringLiteral("%1/%2").arg(found).arg(tried)));
    QVERIFY(count(grab(program->chiR()->DispA), shade, program->chiR()->DispA->rect()) > 50);
    program->main->actionClearHeld->trigger();
    QCOMPARE(count(grab(k), shade, k->rect()), 0);
}

// At most three; the oldest goes; each is named by what differs, in the key.
void tst_HeldCurves::namesAndShades() {
    HeldCurves* held = program->main->held;
    WaveCtrl* c = program->wave()->ctrl;
    for (int r : {21, 22, 23, 24}) {
        c->RBar->setValue(r);
        program->main->actionHold->trigger();
    }
    QCOMPARE(held->curves.size(), 3);
    QCOMPARE(held->curves.first().number, 2);
    QCOMPARE(held->curves.first().state.r, 2.2);
    const Scenario now = held->curves.last().state;
    QCOMPARE(HeldCurves::nameOf(held->curves.first(), now), QStringLiteral("held 2: R = 2.2"));
    QCOMPARE(HeldCurves::nameOf(held->curves.last(), now), QStringLiteral("held 4"));
    Scenario two = now;
    two.sigma = 0.1;
    two.n = 3;
    QCOMPARE(HeldCurves::nameOf(held->curves.first(), two), QStringLiteral("held 2"));
    Scenario fitted = held->curves.last().state;
    fitted.amplitude = 10.8;
    QCOMPARE(HeldCurves::nameOf(held->curves.last(), fitted), QStringLiteral("held 4: A = 1"));
    fitted = held->curves.last().state;
    fitted.phi1 = 0.2;
    held->curves.last().state.phi1 = -0.35;
    QCOMPARE(HeldCurves::nameOf(held->curves.last(), fitted), QStringLiteral("held 4: P1 = -0.35"));
    // Paler with age, never white, never the live colour.
    const QColor newest = HeldCurves::shadeOf(QColor(200, 0, 0), 0);
    const QColor oldest = HeldCurves::shadeOf(QColor(200, 0, 0), 2);
    QVERIFY(newest.green() < oldest.green() && oldest.green() < 255);
    QVERIFY(newest != QColor(200, 0, 0));
    // The key names them whenever they are shown.
    DispArea* k = program->main->DispA;
    const QImage img = grab(k);
    QVector<Legend::Entry> entries;
    for (int h = 2; h >= 0; --h)
        entries.append(
            {HeldCurves::shadeOf(Qt::black, 2 - h), 1, HeldCurves::nameOf(held->curves[h], now)});
    const QRect box = Legend::box(entries, k->rect(), k->font());
    const QFontMetrics fm(k->font());
    for (int row = 0; row < 3; ++row)
        QCOMPARE(img.pixel(box.left() + 6 + Legend::swatch / 2,
                           box.top() + 4 + row * fm.height() + fm.height() / 2),
                 entries[row].colour.rgb());
    program->main->actionClearHeld->trigger();
    QVERIFY(held->curves.isEmpty());
}

// Held with data loaded, the data stay too, pale, named by their file,
// under the next data loaded; they belong to the amplitude mode they were
// held in.
void tst_HeldCurves::heldDataUnderNewData() {
    program->main->view->setPhysical(true);
    QVERIFY(program->openData(tmp.filePath(QStringLiteral("cold.chi")), 1));
    program->main->actionHold->trigger();
    QVERIFY(program->openData(tmp.filePath(QStringLiteral("warm.chi")), 0.6));
    const HeldCurves::Curve held = program->main->held->curves.first();
    QVERIFY(held.hasData() && held.physical);
    QCOMPARE(held.dataName, QStringLiteral("cold.chi"));
    // In absolute units the held data are 1 / 0.6 of the live ones.
    const QVector<double>& live = program->main->measured->values;
    for (int i = 20; i < 150; i += 13)
        QVERIFY(std::abs(held.dataChi[i] - live[i] / 0.6) <= 1e-12 * (1 + std::abs(live[i])));

    DispArea* k = program->main->DispA;
    DispArea* r = program->chiR()->DispA;
    const QRgb pale = HeldCurves::shadeOf(Palette::measured(), 0).rgb();
    QVERIFY(count(grab(k), pale, k->rect()) > 200);
    QVERIFY(count(grab(r), pale, r->rect()) > 50);
    // The key: the held model, then its data by file.
    const QVector<Legend::Entry> entries = program->main->held->entries(held.state, true);
    QCOMPARE(entries.size(), 2);
    QCOMPARE(entries[1].name, QStringLiteral("cold.chi (held 1)"));
    QCOMPARE(entries[1].colour.rgb(), pale);
    // Normalised, the physical copies are not shown; back, they are.
    program->main->view->setPhysical(false);
    QCOMPARE(count(grab(k), pale, k->rect()), 0);
    QCOMPARE(count(grab(r), pale, r->rect()), 0);
    program->main->view->setPhysical(true);
    QVERIFY(count(grab(k), pale, k->rect()) > 200);
}

// A packed spectrum of 16 values by its layout: real parts of bins 0 to 8,
// then imaginary parts of bins 1 to 7; here Re = size (1 + j), Im = -size (2 + j).
static std::vector<double> packed(double size) {
    std::vector<double> s(16);
    for (int j = 0; j <= 8; ++j)
        s[j] = size * (1 + j);
    for (int j = 1; j <= 7; ++j)
        s[8 + j] = -size * (2 + j);
    return s;
}

void tst_HeldCurves::tracesForEitherPlot_data() {
    QTest::addColumn<bool>("onR");
    QTest::addColumn<int>("parts"); // chosen on chi(R): 1 real, 2 imaginary, 4 modulus
    QTest::addColumn<double>("binWidth");
    QTest::addColumn<int>("traces");
    QTest::newRow("chi(k)") << false << 0 << 0.5 << 2;
    QTest::newRow("chi(R), modulus") << true << 4 << 0.5 << 2;
    QTest::newRow("chi(R), every part") << true << 7 << 0.5 << 6;
    QTest::newRow("chi(R), no part") << true << 0 << 0.5 << 0;
    QTest::newRow("chi(R), other bins") << true << 7 << 0.25 << 0;
}

// One routine for both plots: the curves of the mode (and on chi(R) of the
// same bins), each its data wide and dashed by part, then its model thin,
// paled by age.
void tst_HeldCurves::tracesForEitherPlot() {
    QFETCH(bool, onR);
    QFETCH(int, parts);
    QFETCH(double, binWidth);
    QFETCH(int, traces);
    HeldCurves held;
    HeldCurves::Curve c;
    c.k = {1, 2, 3};
    c.chi = {0.1, 0.2, 0.3};
    c.dataChi = {0.4, 0.5, 0.6};
    c.spectrum = packed(1);
    c.dataSpectrum = packed(2);
    c.fftLength = 16;
    c.binWidthR = 0.5;
    HeldCurves::Curve other = c;
    other.physical = true;
    held.curves = {c, other};

    TransformTraces r;
    r.length = 16;
    r.binWidth = binWidth;
    r.count = 100;
    r.rMax = 3;
    for (int i = 0; i < 3; ++i)
        r.chosen[i] = parts & (1 << i);
    const QVector<PlotTrace> out = held.traces(false, onR ? &r : nullptr);
    QCOMPARE(out.size(), traces);
    const QColor data(200, 0, 200), model[] = {QColor(200, 0, 0), QColor(0, 200, 0), Qt::black};
    int t = 0;
    for (int wide : {2, 1}) {
        const double size = wide == 2 ? 2 : 1;
        if (!onR) {
            QCOMPARE(out[t].x, c.k);
            QCOMPARE(out[t].y, wide == 2 ? c.dataChi : c.chi);
            QCOMPARE(out[t].count, 3);
            QCOMPARE(out[t].pen.width(), wide);
            QCOMPARE(out[t].pen.color(), HeldCurves::shadeOf(wide == 2 ? data : model[2], 1));
            ++t;
            continue;
        }
        for (int part = 0; part < 3; ++part) {
            if (!(parts & (1 << part)) || t >= out.size())
                continue;
            const PlotTrace& trace = out[t++];
            // Bins 0 to 6: R = 3 is the last within reach.
            QCOMPARE(trace.count, 7);
            for (int j = 0; j < 7; ++j) {
                const double re = size * (1 + j), im = j == 0 ? 0 : -size * (2 + j);
                const double v[] = {re, im, std::hypot(re, im)};
                QCOMPARE(trace.x[j], j * 0.5);
                QVERIFY(std::abs(trace.y[j] - v[part]) <= 1e-12 * std::abs(v[part]));
            }
            const Qt::PenStyle dashes[] = {Qt::DashLine, Qt::DotLine, Qt::SolidLine};
            QCOMPARE(trace.pen.style(), wide == 2 ? dashes[part] : Qt::SolidLine);
            QCOMPARE(trace.pen.width(), wide);
            QCOMPARE(trace.pen.color(), HeldCurves::shadeOf(wide == 2 ? data : model[part], 1));
        }
    }
    QCOMPARE(t, traces);
}

QTEST_MAIN(tst_HeldCurves)
#include "tst_HeldCurves.moc"
