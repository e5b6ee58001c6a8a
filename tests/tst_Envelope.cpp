#include "DispArea.h"
#include "Envelope.h"
#include "WindowFunc.h"

#include <QtTest>

#include <cmath>
#include <utility>

// Mouse events go to a real drawing surface whose relay the envelope reads.
// The frame is fixed at 100 pixels per unit of k (0 ... 16 over 1600 pixels)
// and 50 per unit of F (-2 ... 2 over 200 pixels, F growing upward), so the
// seeded point (k, 1) lies at pixel (100 k, 50).
class tst_Envelope : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void interpolateLine_data();
    void interpolateLine();
    void valueAt_data();
    void valueAt();
    void hitTest_data();
    void hitTest();
    void nearestPointWinsFirstOnTies_data();
    void nearestPointWinsFirstOnTies();
    void dragMovesOnePoint();
    void dragKeepsTheOrder_data();
    void dragKeepsTheOrder();
    void flatResetsHeights();
    void pressGrabsEnvelopeAndWindowTogether();
    void mouseWithoutFrameDoesNothing();

private:
    void send(QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons);
    void wire();
    void seed();

    Envelope* envelope = nullptr;
    DispArea* area = nullptr;
};

using Points = QVector<QPointF>;
Q_DECLARE_METATYPE(Points)

void tst_Envelope::init() {
    envelope = new Envelope;
    area = new DispArea;
    area->resize(1600, 200);
    area->coord.setPixelArea(0, 200, 1600, 0);
    area->coord.setScale(0, -2, 16, 2);
}

void tst_Envelope::cleanup() {
    delete envelope;
    delete area;
    envelope = nullptr;
    area = nullptr;
}

void tst_Envelope::seed() {
    for (int i = 0; i <= 16; ++i)
        envelope->points << QPointF(i, 1.0);
}

void tst_Envelope::wire() {
    envelope->coord = &area->coord;
    envelope->mouse = &area->mouse;
    Envelope* e = envelope;
    connect(&area->mouse, &MouseC::mPressed, e, [e] { e->mPressed(); });
    connect(&area->mouse, &MouseC::mMoved, e, [e] { e->mMoved(); });
    connect(&area->mouse, &MouseC::mReleased, e, [e] { e->mReleased(); });
}

void tst_Envelope::send(QEvent::Type type, QPoint pos, Qt::MouseButton button,
                        Qt::MouseButtons buttons) {
    QMouseEvent e(type, QPointF(pos), QPointF(area->mapToGlobal(pos)), button, buttons,
                  Qt::NoModifier);
    QCoreApplication::sendEvent(area, &e);
}

void tst_Envelope::interpolateLine_data() {
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("x0");
    QTest::addColumn<double>("y0");
    QTest::addColumn<double>("x1");
    QTest::addColumn<double>("y1");
    QTest::addColumn<double>("expected");
    QTest::newRow("inside") << 1.5 << 1.0 << 2.0 << 3.0 << 6.0 << 3.0;
    QTest::newRow("before") << -1.0 << 1.0 << 2.0 << 3.0 << 6.0 << -2.0;
    QTest::newRow("after") << 5.0 << 1.0 << 2.0 << 3.0 << 6.0 << 10.0;
    QTest::newRow("reversed ends") << 2.0 << 3.0 << 6.0 << 1.0 << 2.0 << 4.0;
    QTest::newRow("equal x: mean") << 7.0 << 2.0 << 1.0 << 2.0 << 4.0 << 2.5;
    QTest::newRow("equal x, both zero") << 0.0 << 0.0 << -3.0 << 0.0 << 3.0 << 0.0;
}

void tst_Envelope::interpolateLine() {
    QFETCH(double, x);
    QFETCH(double, x0);
    QFETCH(double, y0);
    QFETCH(double, x1);
    QFETCH(double, y1);
    QFETCH(double, expected);
    QCOMPARE(interpolate(x, x0, y0, x1, y1), expected);
}

void tst_Envelope::valueAt_data() {
    QTest::addColumn<Points>("points");
    QTest::addColumn<double>("k");
    QTest::addColumn<double>("expected");

    Points flat;
    for (int i = 0; i <= 16; ++i)
        flat << QPointF(i, 1.0);
    Points bump = flat;
    bump[5] = QPointF(5, 2);
    const Points parabola{{0, 0}, {1, 1}, {2, 4}};
    const Points unsorted{{0, 0}, {2, 2}, {1, 5}};
    const Points doubled{{0, 0}, {1, 2}, {1, 4}};

    QTest::newRow("no points") << Points() << 3.0 << 1.0;
    QTest::newRow("one point") << Points{{4, 0.25}} << -7.0 << 0.25;
    QTest::newRow("flat below range") << flat << -3.0 << 1.0;
    QTest::newRow("flat inside") << flat << 7.3 << 1.0;
    QTest::newRow("flat at end") << flat << 16.0 << 1.0;
    QTest::newRow("flat beyond range") << flat << 30.0 << 1.0;
    QTest::newRow("bump left flank") << bump << 4.5 << 1.5;
    QTest::newRow("bump top") << bump << 5.0 << 2.0;
    QTest::newRow("bump right flank") << bump << 5.5 << 1.5;
    QTest::newRow("bump far") << bump << 3.0 << 1.0;
    QTest::newRow("first segment extended") << parabola << -1.0 << -1.0;
    QTest::newRow("last segment extended") << parabola << 3.0 << 7.0;
    QTest::newRow("at last point") << parabola << 2.0 << 4.0;
    // The stored order decides the segment, not the order of the x values.
    QTest::newRow("unsorted, first segment") << unsorted << 0.5 << 0.5;
    QTest::newRow("unsorted, still first") << unsorted << 1.5 << 1.5;
    QTest::newRow("unsorted, last segment") << unsorted << 3.0 << -1.0;
    QTest::newRow("equal x: mean") << doubled << 5.0 << 3.0;
    QTest::newRow("equal x at the x") << doubled << 1.0 << 3.0;
}

void tst_Envelope::valueAt() {
    QFETCH(Points, points);
    QFETCH(double, k);
    QFETCH(double, expected);
    envelope->points = points;
    QCOMPARE(envelope->valueAt(k), expected);
    QCOMPARE(envelope->points, points);
}

void tst_Envelope::hitTest_data() {
    QTest::addColumn<int>("dx");
    QTest::addColumn<int>("dy");
    QTest::addColumn<bool>("hit");
    QTest::newRow("on the point") << 0 << 0 << true;
    QTest::newRow("9 right") << 9 << 0 << true;
    QTest::newRow("10 right") << 10 << 0 << false;
    QTest::newRow("9 down") << 0 << 9 << true;
    QTest::newRow("10 up") << 0 << -10 << false;
    QTest::newRow("-6,7 (85)") << -6 << 7 << true;
    QTest::newRow("8,-6 (exactly 10)") << 8 << -6 << false;
}

void tst_Envelope::hitTest() {
    QFETCH(int, dx);
    QFETCH(int, dy);
    QFETCH(bool, hit);
    seed();
    wire();
    QSignalSpy updated(envelope, SIGNAL(updated()));
    send(QEvent::MouseButtonPress, QPoint(700 + dx, 50 + dy), Qt::LeftButton, Qt::LeftButton);
    QCOMPARE(envelope->grabbed, hit);
    QCOMPARE(envelope->grabbedIndex, hit ? 7 : -1);
    QCOMPARE(updated.count(), 0);
}

void tst_Envelope::nearestPointWinsFirstOnTies_data() {
    QTest::addColumn<bool>("prepend");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<int>("expected");
    // An extra point (3.06, 1) lies six pixels right of the seeded (3, 1).
    // Appended it is index 17 and the seeded one 3; prepended it is index 0
    // and the seeded one 4.
    QTest::newRow("appended, on the seeded") << false << QPoint(300, 50) << 3;
    QTest::newRow("appended, nearer the extra") << false << QPoint(305, 50) << 17;
    QTest::newRow("appended, tie") << false << QPoint(303, 50) << 3;
    QTest::newRow("appended, tie off the line") << false << QPoint(303, 54) << 3;
    QTest::newRow("prepended, nearer the seeded") << true << QPoint(302, 51) << 4;
    QTest::newRow("prepended, tie") << true << QPoint(303, 46) << 0;
}

void tst_Envelope::nearestPointWinsFirstOnTies() {
    QFETCH(bool, prepend);
    QFETCH(QPoint, at);
    QFETCH(int, expected);
    seed();
    if (prepend)
        envelope->points.prepend(QPointF(3.06, 1));
    else
        envelope->points.append(QPointF(3.06, 1));
    wire();
    send(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    QVERIFY(envelope->grabbed);
    QCOMPARE(envelope->grabbedIndex, expected);
}

void tst_Envelope::dragMovesOnePoint() {
    seed();
    wire();
    QSignalSpy updated(envelope, SIGNAL(updated()));
    send(QEvent::MouseButtonPress, QPoint(503, 48), Qt::LeftButton, Qt::LeftButton);
    QCOMPARE(envelope->grabbedIndex, 5);
    // To (5, 1.5), then to (5, 2): both coordinates follow the pointer.
    send(QEvent::MouseMove, QPoint(500, 25), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(envelope->points[5], QPointF(5, 1.5));
    send(QEvent::MouseMove, QPoint(500, 0), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(updated.count(), 2);
    QCOMPARE(envelope->points[5], QPointF(5, 2));
    QCOMPARE(envelope->valueAt(4.5), 1.5);
    QCOMPARE(envelope->valueAt(5.5), 1.5);
    QCOMPARE(envelope->valueAt(3), 1.0);
    for (int i = 0; i <= 16; ++i) {
        if (i != 5)
            QCOMPARE(envelope->points[i], QPointF(i, 1.0));
    }

    // The pointer may leave the plot; the point stays on its top edge,
    // where it can be grabbed again.
    send(QEvent::MouseMove, QPoint(500, -100), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(envelope->points[5], QPointF(5, 2));
    send(QEvent::MouseMove, QPoint(500, 300), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(envelope->points[5], QPointF(5, -2));

    send(QEvent::MouseButtonRelease, QPoint(500, 300), Qt::LeftButton, Qt::NoButton);
    QVERIFY(!envelope->grabbed);
    QCOMPARE(envelope->grabbedIndex, 5);
    send(QEvent::MouseMove, QPoint(900, 150), Qt::NoButton, Qt::NoButton);
    QCOMPARE(updated.count(), 4);
    QCOMPARE(envelope->points[5], QPointF(5, -2));
    send(QEvent::MouseButtonPress, QPoint(502, 198), Qt::LeftButton, Qt::LeftButton);
    QCOMPARE(envelope->grabbedIndex, 5);
}

// Dragged sideways, a point stops just short of its neighbours, so F(k)
// keeps following the points in order; the end points are held only by
// the plot's edges.
void tst_Envelope::dragKeepsTheOrder_data() {
    QTest::addColumn<QPoint>("grab");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<int>("index");
    QTest::addColumn<QPointF>("expected");
    const double gap = Envelope::minimumGap;
    QTest::newRow("past the right neighbour")
        << QPoint(500, 50) << QPoint(840, 0) << 5 << QPointF(6 - gap, 2);
    QTest::newRow("past the left neighbour")
        << QPoint(500, 50) << QPoint(100, 50) << 5 << QPointF(4 + gap, 1);
    // Pressed against the first point, which sits at k = 0: F(0) stays a
    // number.
    QTest::newRow("onto the first point")
        << QPoint(100, 50) << QPoint(-50, 10) << 1 << QPointF(gap, 1.8);
    QTest::newRow("first point, outward")
        << QPoint(0, 50) << QPoint(-300, 50) << 0 << QPointF(0, 1);
    QTest::newRow("last point, outward")
        << QPoint(1600, 50) << QPoint(1900, 50) << 16 << QPointF(16, 1);
    QTest::newRow("within the gap") << QPoint(500, 50) << QPoint(550, 50) << 5 << QPointF(5.5, 1);
}

void tst_Envelope::dragKeepsTheOrder() {
    QFETCH(QPoint, grab);
    QFETCH(QPoint, to);
    QFETCH(int, index);
    QFETCH(QPointF, expected);
    seed();
    wire();
    send(QEvent::MouseButtonPress, grab, Qt::LeftButton, Qt::LeftButton);
    QCOMPARE(envelope->grabbedIndex, index);
    send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    QCOMPARE(envelope->points[index], expected);
    for (int i = 1; i < envelope->points.size(); ++i)
        QVERIFY(envelope->points[i].x() - envelope->points[i - 1].x() >=
                0.999 * Envelope::minimumGap);
    // F(k) still passes through every point.
    for (const QPointF& pt : std::as_const(envelope->points))
        QCOMPARE(envelope->valueAt(pt.x()), pt.y());
    QVERIFY(std::isfinite(envelope->valueAt(0)));
}

void tst_Envelope::flatResetsHeights() {
    seed();
    envelope->points[2] = QPointF(2.5, -3);
    envelope->points[9] = QPointF(9, 0.25);
    QSignalSpy updated(envelope, SIGNAL(updated()));
    envelope->enFlat();
    QCOMPARE(updated.count(), 1);
    for (int i = 0; i <= 16; ++i)
        QCOMPARE(envelope->points[i], QPointF(i == 2 ? 2.5 : i, 1.0));
    for (double k = -2; k < 18; k += 0.25)
        QCOMPARE(envelope->valueAt(k), 1.0);

    envelope->points.clear();
    envelope->enFlat();
    QCOMPARE(updated.count(), 2);
}

// One press may take hold of an envelope point and a window handle at once;
// the following moves then drag both.
void tst_Envelope::pressGrabsEnvelopeAndWindowTogether() {
    seed();
    envelope->points[3] = QPointF(3, 0);
    wire();
    WindowFunc window(nullptr);
    window.coord = &area->coord;
    window.mouse = &area->mouse;
    connect(&area->mouse, SIGNAL(mPressed()), &window, SLOT(mPressed()));
    connect(&area->mouse, SIGNAL(mMoved()), &window, SLOT(mMoved()));

    send(QEvent::MouseButtonPress, QPoint(302, 101), Qt::LeftButton, Qt::LeftButton);
    QVERIFY(envelope->grabbed);
    QCOMPARE(envelope->grabbedIndex, 3);
    QVERIFY(window.grabbed);
    QCOMPARE(window.grabbedIndex, 0);
    send(QEvent::MouseMove, QPoint(250, 75), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(envelope->points[3], QPointF(2.5, 0.5));
    QCOMPARE(window.positions, QVector<double>({2.5, 4, 15, 16}));
}

void tst_Envelope::mouseWithoutFrameDoesNothing() {
    seed();
    QSignalSpy updated(envelope, SIGNAL(updated()));
    envelope->mPressed();
    QVERIFY(!envelope->grabbed);
    envelope->grabbed = true;
    envelope->grabbedIndex = 4;
    envelope->mMoved();
    envelope->mReleased();
    QVERIFY(!envelope->grabbed);
    QCOMPARE(updated.count(), 0);
    QCOMPARE(envelope->points[4], QPointF(4, 1));
}

QTEST_MAIN(tst_Envelope)
#include "tst_Envelope.moc"
