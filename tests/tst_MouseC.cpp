#include "DispArea.h"

#include <QPainter>
#include <QtTest>

// The relay is driven through a real surface: events are delivered to the
// widget the way the window system would, and the public record is read
// from inside the slot that the signal reaches, as the editors do.
class tst_MouseC : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void moveWithoutButtonIsTracked();
    void pressRoundsAndRecords();
    void moveAfterPressKeepsPrevious();
    void releaseRecords();
    void doubleClickSequence();
    void receiversSeeTheirOwnEvent();
    void wheelSteps_data();
    void wheelSteps();
    void paintFitsFrameAndEmitsDraw();

private:
    void send(QEvent::Type type, QPointF pos, Qt::MouseButton button, Qt::MouseButtons buttons,
              Qt::KeyboardModifiers mods = Qt::NoModifier);
    DispArea* area = nullptr;
};

void tst_MouseC::init() {
    area = new DispArea;
    area->resize(200, 150);
}

void tst_MouseC::cleanup() {
    delete area;
    area = nullptr;
}

void tst_MouseC::send(QEvent::Type type, QPointF pos, Qt::MouseButton button,
                      Qt::MouseButtons buttons, Qt::KeyboardModifiers mods) {
    QMouseEvent e(type, pos, area->mapToGlobal(pos.toPoint()), button, buttons, mods);
    QCoreApplication::sendEvent(area, &e);
}

void tst_MouseC::moveWithoutButtonIsTracked() {
    QVERIFY(area->hasMouseTracking());
    QSignalSpy moved(&area->mouse, SIGNAL(mMoved()));
    send(QEvent::MouseMove, QPointF(30, 40), Qt::NoButton, Qt::NoButton, Qt::ShiftModifier);
    QCOMPARE(moved.count(), 1);
    QCOMPARE(area->mouse.curPos, QPoint(30, 40));
    QCOMPARE(area->mouse.prevPos, QPoint(0, 0));
    QCOMPARE(area->mouse.pressed, false);
    QCOMPARE(area->mouse.moveButton, Qt::NoButton);
    QCOMPARE(area->mouse.moveModifiers, Qt::KeyboardModifiers(Qt::ShiftModifier));
}

void tst_MouseC::pressRoundsAndRecords() {
    QSignalSpy pressed(&area->mouse, SIGNAL(mPressed()));
    send(QEvent::MouseButtonPress, QPointF(10.6, 20.4), Qt::RightButton, Qt::RightButton,
         Qt::ControlModifier);
    QCOMPARE(pressed.count(), 1);
    QCOMPARE(area->mouse.curPos, QPoint(11, 20));
    QCOMPARE(area->mouse.pressPos, QPoint(11, 20));
    QCOMPARE(area->mouse.pressed, true);
    QCOMPARE(area->mouse.pressButton, Qt::RightButton);
    QCOMPARE(area->mouse.pressModifiers, Qt::KeyboardModifiers(Qt::ControlModifier));
}

void tst_MouseC::moveAfterPressKeepsPrevious() {
    send(QEvent::MouseButtonPress, QPointF(10.6, 20.4), Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, QPointF(15, 25), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(area->mouse.prevPos, QPoint(11, 20));
    QCOMPARE(area->mouse.curPos, QPoint(15, 25));
    QCOMPARE(area->mouse.pressed, true);
    QCOMPARE(area->mouse.pressPos, QPoint(11, 20));
}

void tst_MouseC::releaseRecords() {
    send(QEvent::MouseButtonPress, QPointF(5, 5), Qt::LeftButton, Qt::LeftButton);
    QSignalSpy released(&area->mouse, SIGNAL(mReleased()));
    send(QEvent::MouseButtonRelease, QPointF(50.5, 60.49), Qt::LeftButton, Qt::NoButton,
         Qt::AltModifier);
    QCOMPARE(released.count(), 1);
    QCOMPARE(area->mouse.prevPos, QPoint(5, 5));
    QCOMPARE(area->mouse.curPos, QPoint(51, 60));
    QCOMPARE(area->mouse.releasePos, QPoint(51, 60));
    QCOMPARE(area->mouse.pressed, false);
    QCOMPARE(area->mouse.releaseButton, Qt::LeftButton);
    QCOMPARE(area->mouse.releaseModifiers, Qt::KeyboardModifiers(Qt::AltModifier));
}

// The window system delivers press, release, double-click, release.
void tst_MouseC::doubleClickSequence() {
    QSignalSpy dclicked(&area->mouse, SIGNAL(mDClicked()));
    send(QEvent::MouseButtonPress, QPointF(20, 30), Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, QPointF(20, 30), Qt::LeftButton, Qt::NoButton);
    send(QEvent::MouseButtonDblClick, QPointF(21, 31), Qt::LeftButton, Qt::LeftButton,
         Qt::ShiftModifier);
    QCOMPARE(dclicked.count(), 1);
    QCOMPARE(area->mouse.dClickPos, QPoint(21, 31));
    QCOMPARE(area->mouse.dClickButton, Qt::LeftButton);
    QCOMPARE(area->mouse.dClickModifiers, Qt::KeyboardModifiers(Qt::ShiftModifier));
    QCOMPARE(area->mouse.curPos, QPoint(20, 30));
    QCOMPARE(area->mouse.pressed, false);
    send(QEvent::MouseButtonRelease, QPointF(21, 31), Qt::LeftButton, Qt::NoButton);
    QCOMPARE(area->mouse.curPos, QPoint(21, 31));
    QCOMPARE(area->mouse.prevPos, QPoint(20, 30));
}

void tst_MouseC::receiversSeeTheirOwnEvent() {
    QVector<QPoint> seen;
    MouseC* m = &area->mouse;
    connect(m, &MouseC::mMoved, this, [&] { seen << m->curPos; });
    for (int i = 0; i < 5; ++i)
        send(QEvent::MouseMove, QPointF(i * 3, i * 4), Qt::NoButton, Qt::NoButton);
    QCOMPARE(seen, (QVector<QPoint>{{0, 0}, {3, 4}, {6, 8}, {9, 12}, {12, 16}}));
}

void tst_MouseC::wheelSteps_data() {
    QTest::addColumn<int>("delta");
    QTest::addColumn<int>("step");
    QTest::newRow("60 -> 0") << 60 << 0;
    QTest::newRow("119 -> 0") << 119 << 0;
    QTest::newRow("120 -> 1") << 120 << 1;
    QTest::newRow("-120 -> -1") << -120 << -1;
    QTest::newRow("-240 -> -2") << -240 << -2;
    QTest::newRow("-60 -> 0") << -60 << 0;
    QTest::newRow("359 -> 2") << 359 << 2;
}

void tst_MouseC::wheelSteps() {
    QFETCH(int, delta);
    QFETCH(int, step);
    QSignalSpy wheel(&area->mouse, SIGNAL(wheelMoved(int)));
    const QPointF pos(40, 40);
    QWheelEvent e(pos, area->mapToGlobal(pos.toPoint()), QPoint(), QPoint(0, delta), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(area, &e);
    QCOMPARE(wheel.count(), 1);
    QCOMPARE(wheel.at(0).at(0).toInt(), step);
    QCOMPARE(area->mouse.curPos, QPoint(0, 0));
}

// The frame follows the widget's size at the next paint only.
void tst_MouseC::paintFitsFrameAndEmitsDraw() {
    int drawn = 0;
    connect(area, &DispArea::draw, this, [&](QPainter* p) {
        QVERIFY(p && p->isActive());
        ++drawn;
    });
    area->grab();
    QCOMPARE(drawn, 1);
    QCOMPARE(area->coord.pixelArea.right, 200.0);
    QCOMPARE(area->coord.pixelArea.bottom, 150.0);
    QCOMPARE(area->coord.pixelArea.left, 0.0);
    QCOMPARE(area->coord.pixelArea.top, 0.0);
    area->resize(321, 123);
    QCOMPARE(area->coord.pixelArea.right, 200.0);
    area->grab();
    QCOMPARE(drawn, 2);
    QCOMPARE(area->coord.pixelArea.right, 321.0);
    QCOMPARE(area->coord.pixelArea.bottom, 123.0);
}

QTEST_MAIN(tst_MouseC)
#include "tst_MouseC.moc"
