#include "DrawText.h"

#include <QPainter>
#include <QtTest>

#include <functional>

// Fitted text is checked by pixels: what drawFitted paints must equal what a
// painter paints with the point size worked out by hand from the 10 pt box.
class tst_DrawText : public QObject {
    Q_OBJECT
private slots:
    void fitScalesWithTheBox_data();
    void fitScalesWithTheBox();
    void otherModeDrawsWithFontUnchanged();
    void negativeRectangleIsNormalised();
    void zeroSizedRectangleKeepsTenPoints();
    void painterIsLeftWithTheGivenFont();

private:
    static QImage paint(const std::function<void(QPainter&)>& body);
    static QRectF box10(const QString& text);
    const int flags = Qt::AlignLeft | Qt::AlignTop;
};

QImage tst_DrawText::paint(const std::function<void(QPainter&)>& body) {
    QImage img(400, 200, QImage::Format_ARGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setPen(QColor(200, 200, 200));
    body(p);
    p.end();
    return img;
}

QRectF tst_DrawText::box10(const QString& text) {
    QRectF box;
    paint([&](QPainter& p) {
        QFont f;
        f.setPointSizeF(10);
        p.setFont(f);
        box = p.boundingRect(QRectF(0, 0, 5000, 5000), Qt::AlignLeft | Qt::AlignTop, text);
    });
    return box;
}

// (width factor, height factor, bound, expected point size)
void tst_DrawText::fitScalesWithTheBox_data() {
    QTest::addColumn<double>("wf");
    QTest::addColumn<double>("hf");
    QTest::addColumn<double>("bound");
    QTest::addColumn<double>("expected");
    QTest::newRow("twice as wide, unbounded -> 20") << 2.0 << 10.0 << 0.0 << 20.0;
    QTest::newRow("twice as wide, bound 10 -> 10") << 2.0 << 10.0 << 10.0 << 10.0;
    QTest::newRow("height limits -> 15") << 5.0 << 1.5 << 0.0 << 15.0;
    QTest::newRow("half size -> 5") << 0.5 << 3.0 << 10.0 << 5.0;
    QTest::newRow("negative bound is no bound -> 24") << 2.4 << 8.0 << -1.0 << 24.0;
}

void tst_DrawText::fitScalesWithTheBox() {
    QFETCH(double, wf);
    QFETCH(double, hf);
    QFETCH(double, bound);
    QFETCH(double, expected);
    const QString text = QStringLiteral("12.5");
    const QRectF m = box10(text);
    QVERIFY(m.width() > 0 && m.height() > 0);
    const QRectF target(30, 20, m.width() * wf, m.height() * hf);

    QRectF returned;
    DrawText dt;
    const QImage got = paint(
        [&](QPainter& p) { returned = dt.drawFitted(&p, target, QFont(), flags, 1, text, bound); });
    const QImage want = paint([&](QPainter& p) {
        QFont f;
        f.setPointSizeF(expected);
        p.setFont(f);
        p.drawText(target, flags, text);
    });
    QCOMPARE(returned, m);
    QVERIFY(got == want);
    // And it is not the same picture as the unfitted 10 pt text.
    if (expected != 10.0) {
        const QImage ten = paint([&](QPainter& p) {
            QFont f;
            f.setPointSizeF(10);
            p.setFont(f);
            p.drawText(target, flags, text);
        });
        QVERIFY(got != ten);
    }
}

void tst_DrawText::otherModeDrawsWithFontUnchanged() {
    QFont f;
    f.setPointSizeF(17);
    const QRectF target(10, 10, 5, 5);
    QRectF returned(1, 1, 1, 1);
    DrawText dt;
    const QImage got = paint([&](QPainter& p) {
        returned = dt.drawFitted(&p, target, f, flags, 0, QStringLiteral("Chi"), 10);
    });
    const QImage want = paint([&](QPainter& p) {
        p.setFont(f);
        p.drawText(target, flags, QStringLiteral("Chi"));
    });
    QCOMPARE(returned, QRectF(0, 0, 0, 0));
    QVERIFY(got == want);
}

void tst_DrawText::negativeRectangleIsNormalised() {
    const QRectF normal(50, 40, 120, 30);
    const QRectF flipped(170, 70, -120, -30);
    DrawText dt;
    const QImage a = paint([&](QPainter& p) {
        dt.drawFitted(&p, normal, QFont(), flags, 1, QStringLiteral("-2"), 10);
    });
    const QImage b = paint([&](QPainter& p) {
        dt.drawFitted(&p, flipped, QFont(), flags, 1, QStringLiteral("-2"), 10);
    });
    QVERIFY(a == b);
    QVERIFY(a != paint([](QPainter&) {}));
}

// Zero width gives a fitted size of 0, which no font takes: 10 pt is kept.
void tst_DrawText::zeroSizedRectangleKeepsTenPoints() {
    const QRectF target(60, 60, 0, 25);
    DrawText dt;
    const QImage got = paint([&](QPainter& p) {
        dt.drawFitted(&p, target, QFont(), flags, 1, QStringLiteral("16"), 10);
    });
    const QImage want = paint([&](QPainter& p) {
        QFont f;
        f.setPointSizeF(10);
        p.setFont(f);
        p.drawText(target, flags, QStringLiteral("16"));
    });
    QVERIFY(got == want);
}

void tst_DrawText::painterIsLeftWithTheGivenFont() {
    QFont given;
    given.setPointSizeF(13);
    given.setItalic(true);
    DrawText dt;
    for (int mode : {0, 1, 2}) {
        paint([&](QPainter& p) {
            QFont before;
            before.setPointSizeF(31);
            p.setFont(before);
            dt.drawFitted(&p, QRectF(0, 0, 80, 20), given, flags, mode, QStringLiteral("9"), 10);
            QCOMPARE(p.font(), given);
        });
    }
}

QTEST_MAIN(tst_DrawText)
#include "tst_DrawText.moc"
