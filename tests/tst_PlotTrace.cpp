#include "ChCoord.h"
#include "PlotTrace.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

#include <algorithm>
#include <cmath>

// A trace's segments against pixels worked out here from the linear map,
// truncated toward zero, and the picture against the same segments drawn
// one by one.
class tst_PlotTrace : public QObject {
    Q_OBJECT
private slots:
    void strokesEverySegmentOnce_data();
    void strokesEverySegmentOnce();
};

namespace {
// World x from 0 to 10 onto pixels 0..200, world y from -1 to 1 onto 100..0.
constexpr int surfaceWidth = 200;
constexpr int surfaceHeight = 100;

int pixelX(double x) {
    return int(std::trunc(x * 20.0));
}
int pixelY(double y) {
    return int(std::trunc(100.0 - (y + 1.0) * 50.0));
}
} // namespace

void tst_PlotTrace::strokesEverySegmentOnce_data() {
    QTest::addColumn<QVector<double>>("x");
    QTest::addColumn<QVector<double>>("y");
    QTest::addColumn<int>("count");
    QTest::addColumn<double>("sign");
    QTest::addColumn<bool>("skipOff");
    const QVector<double> x{0.3, 1.7, 2.2, 4.9, 5.0, 8.65, 9.9};
    const QVector<double> y{0.1, 0.9, -0.75, 0.2, -0.99, 0.5, 0.0};
    QTest::newRow("all points") << x << y << 7 << 1.0 << false;
    QTest::newRow("mirrored") << x << y << 7 << -1.0 << false;
    QTest::newRow("first three points") << x << y << 3 << 1.0 << false;
    QTest::newRow("one point: nothing") << x << y << 1 << 1.0 << false;
    // Pixel x -40, -20, 100, 260, 280: the first and last segments lie wholly
    // beyond the 2-pixel margin; the ones crossing an edge stay.
    const QVector<double> wide{-2.0, -1.0, 5.0, 13.0, 14.0};
    const QVector<double> level{0.0, 0.5, -0.5, 0.25, 0.75};
    QTest::newRow("beside the surface, kept") << wide << level << 5 << 1.0 << false;
    QTest::newRow("beside the surface, skipped") << wide << level << 5 << 1.0 << true;
}

void tst_PlotTrace::strokesEverySegmentOnce() {
    QFETCH(QVector<double>, x);
    QFETCH(QVector<double>, y);
    QFETCH(int, count);
    QFETCH(double, sign);
    QFETCH(bool, skipOff);

    QVector<QLine> expected;
    for (int i = 1; i < count; ++i) {
        const QLine line(pixelX(x[i - 1]), pixelY(sign * y[i - 1]), pixelX(x[i]),
                         pixelY(sign * y[i]));
        const bool beside = std::min(line.x1(), line.x2()) > surfaceWidth + 2 ||
                            std::max(line.x1(), line.x2()) < -2;
        if (!(skipOff && beside))
            expected << line;
    }

    ChCoord frame;
    frame.setPixelArea(0, surfaceHeight, surfaceWidth, 0);
    frame.setScale(0, -1, 10, 1);
    PlotTrace trace;
    trace.x = x;
    trace.y = y;
    trace.count = count;
    trace.sign = sign;
    trace.pen = QPen(QColor(20, 90, 200), 1);
    trace.skipOff = skipOff;

    QImage stroked(surfaceWidth, surfaceHeight, QImage::Format_RGB32);
    stroked.fill(Qt::white);
    QVector<QLine> segments{QLine(1, 2, 3, 4)}; // scratch left from an earlier trace
    {
        QPainter p(&stroked);
        trace.stroke(p, frame, surfaceWidth, &segments);
    }
    QCOMPARE(segments, expected);

    QImage drawn(surfaceWidth, surfaceHeight, QImage::Format_RGB32);
    drawn.fill(Qt::white);
    {
        QPainter p(&drawn);
        p.setPen(trace.pen);
        for (const QLine& line : expected)
            p.drawLine(line);
    }
    QCOMPARE(stroked, drawn);
}

QTEST_MAIN(tst_PlotTrace)
#include "tst_PlotTrace.moc"
