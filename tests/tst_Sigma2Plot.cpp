#include "ChCoord.h"
#include "CurvePixels.h"
#include "Sigma2Plot.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

#include <cmath>

// The sigma²(T) renderer alone: each data set's point and error bar and the
// model's curve found in their colours at pixels computed from the frame,
// nothing painted outside the frame.
class tst_Sigma2Plot : public QObject {
    Q_OBJECT
private slots:
    void pointsBarsAndCurve_data();
    void pointsBarsAndCurve();
};

namespace {
// A coth-shaped curve by its own formula (not the fit's): 0.003 coth(200 / 2T).
double curve(double t) {
    return 0.003 / std::tanh(100.0 / t);
}
} // namespace

void tst_Sigma2Plot::pointsBarsAndCurve_data() {
    QTest::addColumn<QRect>("frame");
    QTest::addColumn<QString>("title");
    QTest::newRow("whole image") << QRect(0, 0, 480, 320) << QString();
    QTest::newRow("inset, titled") << QRect(40, 30, 400, 260) << QStringLiteral("Cu–Cu");
}

void tst_Sigma2Plot::pointsBarsAndCurve() {
    QFETCH(QRect, frame);
    QFETCH(QString, title);
    const QRgb fill = qRgb(1, 2, 3), white = qRgb(255, 255, 255), dark = qRgb(40, 40, 40),
               model = qRgb(0, 110, 190), points = qRgb(190, 30, 30);

    Sigma2PlotInputs in;
    in.title = title;
    // 10 K and 150 K with bars; 300 K without; a NaN value is left out.
    in.temperature = {10, 150, 300, 80};
    in.sigma2 = {0.0031, 0.0052, 0.0079, std::nan("")};
    in.sigma2Error = {0.0004, 0.0006, std::nan(""), 0.0002};
    for (int t = 5; t <= 320; t += 5)
        in.model.emplace_back(t, curve(t));

    QImage img(480, 320, QImage::Format_RGB32);
    img.fill(fill);
    {
        QPainter p(&img);
        Sigma2Plot::paint(p, frame, in);
    }
    ChCoord coord;
    Sigma2Plot::setFrame(coord, frame, QPainter(&img).font(), in);
    auto X = [&](double t) { return int(coord.toPixelX(t)); };
    auto Y = [&](double s) { return int(coord.toPixelY(s)); };
    auto near = [&](int x, int y, QRgb c) { return colourNear(img, QPoint(x, y), c, 1, 1); };

    // T from 0 K at the left axis; every value and bar inside the ranges.
    QCOMPARE(coord.xMin, 0.0);
    QVERIFY(coord.xMax >= 320);
    QVERIFY(coord.yMin <= 0);
    QVERIFY(coord.yMax >= 0.0079);
    QVERIFY(coord.pixelArea.left > frame.left() && coord.pixelArea.right <= frame.right() + 1);
    QVERIFY(coord.pixelArea.top > frame.top() && coord.pixelArea.bottom < frame.bottom());
    QCOMPARE(img.pixel(X(0), Y(0.004)), dark);

    // Each point at its centre, its bar's ends and caps, nothing past the caps.
    for (int i : {0, 1}) {
        const double t = in.temperature[i], s = in.sigma2[i], e = in.sigma2Error[i];
        QCOMPARE(img.pixel(X(t), Y(s)), points);
        QCOMPARE(img.pixel(X(t) + Sigma2Plot::pointHalf, Y(s) - Sigma2Plot::pointHalf), points);
        QCOMPARE(img.pixel(X(t), Y(s + e)), points);
        QCOMPARE(img.pixel(X(t), Y(s - e)), points);
        QCOMPARE(img.pixel(X(t) + Sigma2Plot::capHalf, Y(s + e)), points);
        QCOMPARE(img.pixel(X(t) - Sigma2Plot::capHalf, Y(s - e)), points);
        QVERIFY(img.pixel(X(t) + Sigma2Plot::capHalf + 2, Y(s + e)) != points);
        QVERIFY(img.pixel(X(t), Y(s + e) - 3) != points);
    }
    // 300 K: the point without a bar above it.
    QCOMPARE(img.pixel(X(300), Y(0.0079)), points);
    QVERIFY(img.pixel(X(300), Y(0.0079) - Sigma2Plot::pointHalf - 3) != points);
    // The NaN value draws nothing in its column.
    for (int y = int(coord.pixelArea.top); y < int(coord.pixelArea.bottom); ++y)
        QVERIFY(img.pixel(X(80), y) != points);

    // The curve where its formula puts it, away from the points.
    for (double t : {50.0, 100.0, 220.0, 280.0})
        QVERIFY2(near(X(t), Y(curve(t)), model), qPrintable(QStringLiteral("T = %1").arg(t)));
    QCOMPARE(img.pixel(X(200), Y(curve(200) + 0.001)), white);

    // The frame filled, nothing outside it.
    for (int x = 0; x < img.width(); ++x)
        for (int y = 0; y < img.height(); ++y)
            if (!frame.contains(x, y))
                QVERIFY2(img.pixel(x, y) == fill,
                         qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
    // The title in the text colour above the data, when there is one.
    bool titled = false;
    for (int y = frame.top(); y < int(coord.pixelArea.top) - 2; ++y)
        for (int x = frame.left() + frame.width() / 3; x < frame.left() + 2 * frame.width() / 3;
             ++x)
            titled = titled || img.pixel(x, y) != white;
    QCOMPARE(titled, !title.isEmpty());
}

QTEST_MAIN(tst_Sigma2Plot)
#include "tst_Sigma2Plot.moc"
