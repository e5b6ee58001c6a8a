#include "FitReport.h"
#include "Fitter.h"

#include <QJsonArray>
#include <QtTest>

#include <cmath>

// The tovik-fit JSON from a result and context made by hand: every field
// read back against the number put in, so that a field swapped for another
// (the chi-square for the reduced one) or an error claimed where none holds
// shows.
class tst_FitReport : public QObject {
    Q_OBJECT
private slots:
    void fields();
    void parameters_data();
    void parameters();
    void terminationTexts_data();
    void terminationTexts();
};

namespace {
fit::Result handMade() {
    fit::Result r;
    r.ok = true;
    // name, value, minimum, maximum, varied, atBound
    r.best = {{"amplitude", 10.5, 0, 50, true, false},
              {"R", 2.54, 0.1, 10, true, false},
              {"sigma", 0.2, 0, 0.2, true, true},
              {"P0", 1.25, -10, 10, false, false}};
    const double nan = std::nan("");
    r.errors = {0.75, 0.0125, nan, nan};
    r.chiSquare = 42.5;
    r.reducedChiSquare = 4.25;
    r.rFactor = 0.0125;
    r.correlations = {{"amplitude", "R", 0.875}};
    r.evaluations = 37;
    r.info = 2;
    r.message = fit::terminationMessage(2);
    return r;
}
const fit::ReportContext context{1.25, 3.5, 2.5, 13.75, 3, 15.5, 0.0625, 0.003};
} // namespace

void tst_FitReport::fields() {
    const QJsonObject o = fit::reportJson(handMade(), context);
    QCOMPARE(o.value("format").toString(), QString("tovik-fit"));
    QCOMPARE(o.value("version").toInt(), 1);
    QCOMPARE(o.value("Rrange").toArray(), (QJsonArray{1.25, 3.5}));
    QCOMPARE(o.value("kRange").toArray(), (QJsonArray{2.5, 13.75}));
    QCOMPARE(o.value("n").toInt(), 3);
    QCOMPARE(o.value("independentPoints").toDouble(), 15.5);
    QCOMPARE(o.value("epsilonR").toDouble(), 0.0625);
    QCOMPARE(o.value("epsilonK").toDouble(), 0.003);
    QCOMPARE(o.value("chiSquare").toDouble(), 42.5);
    QCOMPARE(o.value("reducedChiSquare").toDouble(), 4.25);
    QCOMPARE(o.value("rFactor").toDouble(), 0.0125);
    QCOMPARE(o.value("correlations").toArray(), (QJsonArray{QJsonArray{"amplitude", "R", 0.875}}));
    QCOMPARE(o.value("evaluations").toInt(), 37);
    QCOMPARE(o.value("message").toString(),
             QString("relative change of the parameters is at most xtol"));

    // Without a noise the chi-squares are unknown, and say so.
    fit::Result noNoise = handMade();
    noNoise.chiSquare = noNoise.reducedChiSquare = std::nan("");
    const QJsonObject p = fit::reportJson(noNoise, context);
    QVERIFY(p.value("chiSquare").isNull());
    QVERIFY(p.value("reducedChiSquare").isNull());
    QCOMPARE(p.value("rFactor").toDouble(), 0.0125);
}

void tst_FitReport::parameters_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("value");
    QTest::addColumn<QVariant>("error"); // invalid: null in the JSON
    QTest::addColumn<bool>("varied");
    QTest::addColumn<bool>("atBound");
    QTest::newRow("varied") << "amplitude" << 10.5 << QVariant(0.75) << true << false;
    QTest::newRow("varied, small") << "R" << 2.54 << QVariant(0.0125) << true << false;
    QTest::newRow("at its bound: no error") << "sigma" << 0.2 << QVariant() << true << true;
    QTest::newRow("fixed: no error") << "P0" << 1.25 << QVariant() << false << false;
}

void tst_FitReport::parameters() {
    QFETCH(QString, name);
    QFETCH(double, value);
    QFETCH(QVariant, error);
    QFETCH(bool, varied);
    QFETCH(bool, atBound);
    const QJsonObject all = fit::reportJson(handMade(), context).value("parameters").toObject();
    QCOMPARE(all.size(), 4);
    const QJsonObject p = all.value(name).toObject();
    QCOMPARE(p.value("value").toDouble(), value);
    QCOMPARE(p.value("varied").toBool(), varied);
    QVERIFY(p.value("atBound").isBool());
    QCOMPARE(p.value("atBound").toBool(), atBound);
    if (error.isValid())
        QCOMPARE(p.value("error").toDouble(), error.toDouble());
    else
        QVERIFY(p.value("error").isNull());
}

// MINPACK's codes in words, each the one its documentation gives: the ends
// of the table and the codes that decide convergence (2 is checked above).
void tst_FitReport::terminationTexts_data() {
    QTest::addColumn<int>("info");
    QTest::addColumn<QString>("words");
    QTest::newRow("0") << 0 << "improper input parameters";
    QTest::newRow("4") << 4 << "orthogonal to the Jacobian's columns to machine precision (gtol)";
    QTest::newRow("5") << 5 << "number of model evaluations reached its limit";
    QTest::newRow("8") << 8 << "gtol is too small";
    QTest::newRow("stopped by the model") << -1 << "could not be evaluated";
}

void tst_FitReport::terminationTexts() {
    QFETCH(int, info);
    QFETCH(QString, words);
    QVERIFY2(fit::terminationMessage(info).contains(words),
             qPrintable(fit::terminationMessage(info)));
}

QTEST_GUILESS_MAIN(tst_FitReport)
#include "tst_FitReport.moc"
