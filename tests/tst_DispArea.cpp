#include "DispArea.h"

#include <QPainter>
#include <QScreen>
#include <QtTest>

// The surface as the plots use it: what reaches the screen is what the same
// renderer paints straight into the window's own format, and one update is
// one paint.
class tst_DispArea : public QObject {
    Q_OBJECT
private slots:
    void paintsWhatADirectPaintPaints_data();
    void paintsWhatADirectPaintPaints();
    void oneUpdateIsOnePaint();
};

namespace {
// Opaque and translucent fills, lines one and two pixels wide, a dashed one,
// and antialiased text in the painter's own pen and font.
void render(QPainter* p, int width, int height) {
    const QPen textPen = p->pen();
    p->fillRect(QRect(0, 0, width, height), QColor(255, 255, 255));
    for (int i = 0; i < 60; ++i) {
        QPen pen(QColor(4 * i, 150, 255 - 4 * i), 1 + i % 2, i % 5 ? Qt::SolidLine : Qt::DashLine);
        p->setPen(pen);
        p->drawLine(i * 5, 20 + (i * 37) % 150, i * 5 + 4, 20 + (i * 53) % 150);
    }
    p->setBrush(QColor(255, 255, 255, 235));
    p->drawRect(40, 40, 120, 60);
    p->setPen(textPen);
    p->drawText(45, 70, QStringLiteral("chi(k) 0.25"));
}
} // namespace

// Sizes the surface is painted at; a surface first shown at another size
// paints once there, so that the later paint starts from a reallocated image.
void tst_DispArea::paintsWhatADirectPaintPaints_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QSize>("firstSize");
    QTest::newRow("300 x 200") << QSize(300, 200) << QSize(300, 200);
    QTest::newRow("odd width and height") << QSize(301, 199) << QSize(301, 199);
    QTest::newRow("shrunk after a paint") << QSize(240, 150) << QSize(300, 200);
    QTest::newRow("grown after a paint") << QSize(333, 222) << QSize(300, 200);
}

// Both ways a picture leaves the surface: rendered into another device, and
// painted into the window's own surface (what reaches the screen).
void tst_DispArea::paintsWhatADirectPaintPaints() {
    QFETCH(QSize, size);
    QFETCH(QSize, firstSize);
    DispArea area;
    area.resize(firstSize);
    QPalette palette = area.palette();
    palette.setColor(area.foregroundRole(), QColor(200, 0, 0));
    area.setPalette(palette);
    QFont font = area.font();
    font.setPixelSize(17);
    area.setFont(font);
    connect(&area, &DispArea::draw, this,
            [&](QPainter* p) { render(p, area.width(), area.height()); });
    area.show();
    QVERIFY(QTest::qWaitForWindowExposed(&area));
    area.repaint();
    area.resize(size);
    area.repaint();

    // The pen and font a painter on the widget starts with.
    QImage direct(size, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&direct);
    p.setPen(QColor(200, 0, 0));
    p.setFont(font);
    render(&p, size.width(), size.height());
    p.end();
    const QImage expected = direct.convertToFormat(QImage::Format_RGB32);
    QCOMPARE(area.grab().toImage().convertToFormat(QImage::Format_RGB32), expected);
    const QImage shown = area.screen()->grabWindow(area.winId()).toImage();
    QCOMPARE(shown.size(), size);
    QCOMPARE(shown.convertToFormat(QImage::Format_RGB32), expected);
}

// The frame is set at every paint; a paint must not ask for another, and the
// frame's own signal repaints once.
void tst_DispArea::oneUpdateIsOnePaint() {
    DispArea area;
    area.resize(200, 100);
    int paints = 0;
    connect(&area, &DispArea::draw, this, [&](QPainter* p) {
        ++paints;
        p->fillRect(QRect(0, 0, 200, 100), Qt::white);
    });
    area.show();
    QVERIFY(QTest::qWaitForWindowExposed(&area));
    QTest::qWait(50);
    paints = 0;
    area.update();
    QTest::qWait(100);
    QCOMPARE(paints, 1);
    QCOMPARE(area.coord.pixelArea.bottom, 100.0);
    emit area.coord.updated();
    QTest::qWait(100);
    QCOMPARE(paints, 2);
}

QTEST_MAIN(tst_DispArea)
#include "tst_DispArea.moc"
