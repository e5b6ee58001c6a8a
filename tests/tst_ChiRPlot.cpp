#include "Axes.h"
#include "ChCoord.h"
#include "ChiRPlot.h"
#include "CurvePixels.h"
#include "DrawText.h"
#include "Legend.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

#include <cmath>

// The chi(R) renderer alone, from plain inputs and no window: each part
// found in its colour at pixels computed from the frame, in the order the
// plot stacks them.
class tst_ChiRPlot : public QObject {
    Q_OBJECT
private slots:
    void partsWhereTheFramePutsThem_data();
    void partsWhereTheFramePutsThem();
};

namespace {
QPen pen(QRgb colour, int width) {
    QPen p{QColor(colour)};
    p.setWidth(width);
    return p;
}

// A peak of height `top` at R = 1.5 by its own formula, sampled every
// 0.05 Å over [0, 4].
PlotTrace peak(double top, double sign, QRgb colour) {
    PlotTrace t;
    for (int i = 0; i <= 80; ++i) {
        const double r = 0.05 * i;
        t.x << r;
        t.y << top * std::exp(-std::pow((r - 1.5) / 0.3, 2));
    }
    t.count = t.x.size();
    // Past `count`: a point that must not be joined.
    t.x << 9;
    t.y << 0.9;
    t.sign = sign;
    t.pen = pen(colour, 2);
    return t;
}
} // namespace

void tst_ChiRPlot::partsWhereTheFramePutsThem_data() {
    QTest::addColumn<bool>("axes");
    QTest::newRow("whole surface") << false;
    QTest::newRow("with axes") << true;
}

void tst_ChiRPlot::partsWhereTheFramePutsThem() {
    QFETCH(bool, axes);
    const QSize size(720, 480);
    const QRgb white = qRgb(255, 255, 255), band = qRgb(255, 240, 200), grid = qRgb(200, 200, 200),
               red = qRgb(255, 0, 0), dark = qRgb(40, 40, 40);
    const QRgb up = qRgb(10, 20, 200), down = qRgb(0, 120, 30), across = qRgb(150, 60, 90),
               mark = qRgb(140, 70, 0);

    ChCoord frame;
    frame.setPixelArea(0, size.height(), size.width(), 0);
    DrawText text;
    ChiRPlot::Inputs in;
    in.size = size;
    in.axes = axes;
    in.plot = Axes::setFrame(frame, size, in.axesFont, axes);
    frame.setScale(-2, -1, 10, 1);
    in.fitShown = true;
    in.fitLow = 5.2;
    in.fitHigh = 6.8;
    for (int r = -2; r <= 9; ++r)
        in.gridR << r;
    in.pointer = 3;
    PlotTrace flat;
    flat.x = {-2.6, -1.4};
    flat.y = {0.5, 0.5};
    flat.count = 2;
    flat.pen = pen(across, 1);
    in.traces = {peak(0.5, 1, up), peak(0.5, -1, down), flat};
    in.marks = {{8.0, QColor(mark)}};
    in.legend = {{QColor(up), 2, QStringLiteral("model")}};
    in.text = &text;

    QImage img(size, QImage::Format_RGB32);
    img.fill(qRgb(1, 2, 3));
    {
        QPainter p(&img);
        ChiRPlot::paint(p, frame, in);
    }
    auto X = [&](double r) { return int(frame.toPixelX(r)); };
    auto Y = [&](double v) { return int(frame.toPixelY(v)); };
    auto near = [&](int x, int y, QRgb c) { return colourNear(img, QPoint(x, y), c, 1, 1); };

    QCOMPARE(img.pixel(X(4.5), Y(0.8)), white);
    QCOMPARE(img.pixel(X(5.5), Y(-0.8)), band);
    // The grid over the band, the pointer over the grid, the zero line.
    QCOMPARE(img.pixel(X(6), Y(-0.8)), grid);
    QCOMPARE(img.pixel(X(3), Y(-0.8)), red);
    QCOMPARE(img.pixel(X(3), Y(0.8)), red);
    QCOMPARE(img.pixel(X(4.5), Y(0)), grid);
    // The peak at its top and mirrored below zero; nothing joined past it.
    QVERIFY(near(X(1.5), Y(0.5), up));
    QVERIFY(near(X(1.5), Y(-0.5), down));
    for (int y = 0; y < size.height(); ++y)
        QVERIFY(img.pixel(X(6.5), y) != up);
    // The shell's tick under the zero line.
    QCOMPARE(img.pixel(X(8), Y(0) + ChiRPlot::markGap + ChiRPlot::markLength / 2), mark);
    QCOMPARE(img.pixel(X(8) - 4, Y(0) + ChiRPlot::markGap + ChiRPlot::markLength / 2), white);
    QCOMPARE(img.pixel(X(-1.7), Y(0.5)), across);
    if (axes) {
        // Curves stay inside the frame; the axis is drawn over them.
        for (int x = 0; x < in.plot.left(); ++x)
            QVERIFY(img.pixel(x, Y(0.5)) != across);
        QCOMPARE(img.pixel(in.plot.left(), Y(0.5)), dark);
    }
    // The key over everything, in the top right corner of the frame.
    const QRect key = Legend::box(in.legend, in.plot, in.axesFont);
    const int row = key.top() + 4 + QFontMetrics(in.axesFont).height() / 2;
    QCOMPARE(img.pixel(key.left() + 6 + Legend::swatch / 2, row), up);
    QCOMPARE(img.pixel(key.left(), row), dark);
}

QTEST_MAIN(tst_ChiRPlot)
#include "tst_ChiRPlot.moc"
