#include "ChCoord.h"

#include <QtTest>

// The frame is checked against hand-computed values of the linear maps and
// against round trips; nothing is clamped.
class tst_ChCoord : public QObject {
    Q_OBJECT
private slots:
    void newFrameIsIdentity_data();
    void newFrameIsIdentity();
    void mapping_data();
    void mapping();
    void roundTrip_data();
    void roundTrip();
    void argumentOrder();
    void emptyPixelSpanDoesNotDivideByZero();
};

void tst_ChCoord::newFrameIsIdentity_data() {
    QTest::addColumn<double>("v");
    QTest::newRow("0") << 0.0;
    QTest::newRow("1") << 1.0;
    QTest::newRow("0.25") << 0.25;
    QTest::newRow("-3 (outside)") << -3.0;
}

void tst_ChCoord::newFrameIsIdentity() {
    QFETCH(double, v);
    ChCoord c;
    QCOMPARE(c.toPixelX(v), v);
    QCOMPARE(c.toPixelY(v), v);
    QCOMPARE(c.toWorldX(v), v);
    QCOMPARE(c.toWorldY(v), v);
}

// Frame of a 400 x 300 surface showing x in [0, 20], y in [-1, 1].
void tst_ChCoord::mapping_data() {
    QTest::addColumn<char>("axis");
    QTest::addColumn<bool>("toPixel");
    QTest::addColumn<double>("in");
    QTest::addColumn<double>("out");
    QTest::newRow("x 10 -> 200") << 'x' << true << 10.0 << 200.0;
    QTest::newRow("x 0 -> 0") << 'x' << true << 0.0 << 0.0;
    QTest::newRow("x 20 -> 400") << 'x' << true << 20.0 << 400.0;
    QTest::newRow("x -5 -> -100 unclamped") << 'x' << true << -5.0 << -100.0;
    QTest::newRow("x 30 -> 600 unclamped") << 'x' << true << 30.0 << 600.0;
    QTest::newRow("y -1 -> 300 (bottom)") << 'y' << true << -1.0 << 300.0;
    QTest::newRow("y 1 -> 0 (top)") << 'y' << true << 1.0 << 0.0;
    QTest::newRow("y 0 -> 150") << 'y' << true << 0.0 << 150.0;
    QTest::newRow("y 2 -> -150 unclamped") << 'y' << true << 2.0 << -150.0;
    QTest::newRow("px 200 -> 10") << 'x' << false << 200.0 << 10.0;
    QTest::newRow("px -40 -> -2") << 'x' << false << -40.0 << -2.0;
    QTest::newRow("py 150 -> 0") << 'y' << false << 150.0 << 0.0;
    QTest::newRow("py 0 -> 1") << 'y' << false << 0.0 << 1.0;
    QTest::newRow("py 450 -> -2 unclamped") << 'y' << false << 450.0 << -2.0;
}

void tst_ChCoord::mapping() {
    QFETCH(char, axis);
    QFETCH(bool, toPixel);
    QFETCH(double, in);
    QFETCH(double, out);
    ChCoord c;
    c.setPixelArea(0, 300, 400, 0);
    c.setScale(0, -1, 20, 1);
    double got;
    if (axis == 'x')
        got = toPixel ? c.toPixelX(in) : c.toWorldX(in);
    else
        got = toPixel ? c.toPixelY(in) : c.toWorldY(in);
    QCOMPARE(got, out);
}

void tst_ChCoord::roundTrip_data() {
    QTest::addColumn<double>("v");
    for (double v : {-7.3, -2.0, 0.0, 0.1, 3.14159, 9.99, 15.9, 123.456})
        QTest::newRow(qPrintable(QString::number(v))) << v;
}

void tst_ChCoord::roundTrip() {
    QFETCH(double, v);
    ChCoord c;
    c.setPixelArea(0, 577, 798, 0);
    c.setScale(-2, -0.05, 10, 1.05);
    QVERIFY(qAbs(c.toWorldX(c.toPixelX(v)) - v) < 1e-12 * (1 + qAbs(v)));
    QVERIFY(qAbs(c.toWorldY(c.toPixelY(v)) - v) < 1e-12 * (1 + qAbs(v)));
}

// setPixelArea takes (left, bottom, right, top), setScale (xMin, yMin, xMax, yMax).
void tst_ChCoord::argumentOrder() {
    ChCoord c;
    c.setPixelArea(1, 2, 3, 4);
    QCOMPARE(c.pixelArea.left, 1.0);
    QCOMPARE(c.pixelArea.bottom, 2.0);
    QCOMPARE(c.pixelArea.right, 3.0);
    QCOMPARE(c.pixelArea.top, 4.0);
    c.setScale(5, 6, 7, 8);
    QCOMPARE(c.xMin, 5.0);
    QCOMPARE(c.yMin, 6.0);
    QCOMPARE(c.xMax, 7.0);
    QCOMPARE(c.yMax, 8.0);
}

// A surface squeezed to nothing must not turn a pointer position into inf/NaN.
void tst_ChCoord::emptyPixelSpanDoesNotDivideByZero() {
    ChCoord c;
    c.setPixelArea(0, 0, 0, 0);
    c.setScale(0, -1.1, 16, 1.1);
    QVERIFY(qIsFinite(c.toWorldX(5)));
    QVERIFY(qIsFinite(c.toWorldY(5)));
    QCOMPARE(c.toWorldX(5), 0.0);
    QCOMPARE(c.toWorldY(5), -1.1);
}

QTEST_APPLESS_MAIN(tst_ChCoord)
#include "tst_ChCoord.moc"
