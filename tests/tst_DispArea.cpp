#include "DispArea.h"

#include <QPainter>
#include <QtTest>

// The surface as the plots use it: what reaches the screen is what the same
// renderer paints straight into the window's own format, and one update is
// one paint.
class tst_DispArea : public QObject {
    Q_OBJECT
private slots:
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

void tst_DispArea::paintsWhatADirectPaintPaints() {
    DispArea area;
    area.resize(300, 200);
    QPalette palette = area.palette();
    palette.setColor(area.foregroundRole(), QColor(200, 0, 0));
    area.setPalette(palette);
    QFont font = area.font();
    font.setPixelSize(17);
    area.setFont(font);
    connect(&area, &DispArea::draw, this, [&](QPainter* p) { render(p, 300, 200); });
    area.show();
    QVERIFY(QTest::qWaitForWindowExposed(&area));

    // The pen and font a painter on the widget starts with.
    QImage direct(300, 200, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&direct);
    p.setPen(QColor(200, 0, 0));
    p.setFont(font);
    render(&p, 300, 200);
    p.end();
    const QImage shown = area.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown, direct.convertToFormat(QImage::Format_RGB32));
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
