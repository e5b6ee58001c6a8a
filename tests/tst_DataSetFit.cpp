#include "DataSetFit.h"
#include "FitReport.h"
#include "FlatFitInputs.h"
#include "ParameterTable.h"

#include <QJsonArray>
#include <QTranslator>
#include <QtTest>

#include <cmath>
#include <cstring>
#include <random>

// Temperature series written by the closed form with a flat F(k) = 1,
//   chi(k) = A sin(2kR + P0) exp(-2 sigma² k²) / (k R²),
// sigma² from the Einstein model written here with cosh / sinh, not the
// program's code; the fit starts away from the truth.
class tst_DataSetFit : public QObject {
    Q_OBJECT
private slots:
    void recovers_data();
    void recovers();
    void oneSetIsTheSingleFit_data();
    void oneSetIsTheSingleFit();
    void refusals_data();
    void refusals();
    void refusalsInJapanese();
    void report();
};

namespace {
constexpr double amplitude = 10.8, distance = 2.55, phase = 1.0;
constexpr double mass = 63.546 / 2; // Cu-Cu, u

double einsteinSigma2(double theta, double temperature, double offset) {
    const double x = theta / (2 * temperature);
    return 24.254 / (mass * theta) * std::cosh(x) / std::sinh(x) + offset;
}

// The data 1 ... 15 in steps of `step` (a multiple of it lies on every
// model point) on the hand-made inputs.
fit::FitInputs series(double sigma2, double r, double noise, double step, unsigned seed) {
    fit::FitInputs in = flatFitInputs();
    std::mt19937 random(seed);
    std::normal_distribution<double> gauss(0, 1);
    const int last = int(std::lround(14 / step));
    for (int i = 0; i <= last; ++i) {
        const double k = 1 + i * step;
        in.dataK << k;
        in.dataChi << amplitude * std::sin(2 * k * r + phase) * std::exp(-2 * sigma2 * k * k) /
                              (k * r * r) +
                          (noise > 0 ? noise * gauss(random) : 0.0);
    }
    return in;
}

const QList<double> temperatures{10, 150, 300};

std::vector<fit::DataSet> einsteinSeries(double theta, double offset, double noise, double alpha,
                                         const QList<double>& t = temperatures) {
    std::vector<fit::DataSet> sets;
    for (int s = 0; s < t.size(); ++s) {
        // The second set on a finer k grid than the others.
        const double step = s == 1 ? 0.025 : 0.05;
        const double r = distance + alpha * t[s] * distance;
        sets.push_back({QString("cu_%1k.chi").arg(t[s]), t[s],
                        series(einsteinSigma2(theta, t[s], offset), r, noise, step, 11 + s)});
    }
    return sets;
}

// The place of set s's own sigma among a result's parameters.
int sigmaIndex(const fit::Result& res, int s) {
    for (size_t i = 0; i < res.best.size(); ++i)
        if (res.best[i].name == fit::DataSetFit::perDatasetName("sigma", s))
            return int(i);
    return -1;
}

bool sameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}
} // namespace

void tst_DataSetFit::recovers_data() {
    QTest::addColumn<bool>("einstein");
    QTest::addColumn<double>("offset");
    QTest::addColumn<double>("alpha");
    QTest::addColumn<double>("noise");
    QTest::newRow("Einstein") << true << 0.0 << 0.0 << 0.0;
    QTest::newRow("Einstein + static") << true << 0.0015 << 0.0 << 0.0;
    QTest::newRow("Einstein + expansion") << true << 0.0 << 2e-5 << 0.0;
    QTest::newRow("sigma per set") << false << 0.0 << 0.0 << 0.0;
    QTest::newRow("sigma per set + expansion") << false << 0.0 << -3e-5 << 0.0;
    QTest::newRow("noisy Einstein") << true << 0.0 << 0.0 << 0.01;
    QTest::newRow("noisy Einstein + static") << true << 0.0015 << 0.0 << 0.01;
    QTest::newRow("noisy sigma per set") << false << 0.0 << 0.0 << 0.01;
}

void tst_DataSetFit::recovers() {
    QFETCH(bool, einstein);
    QFETCH(double, offset);
    QFETCH(double, alpha);
    QFETCH(double, noise);
    const double theta = 233;
    fit::DataSetFitOptions options;
    options.varied = QStringList{"amplitude", "R", "P0"};
    if (einstein) {
        options.sigmaModel = fit::SigmaModel::Einstein;
        options.reducedMass = mass;
        options.thetaE = 300;
        options.varied << "thetaE";
        if (offset > 0) {
            options.varied << "sigma2Static";
            options.sigma2Static = 0.0005;
        }
    } else {
        options.varied << "sigma";
        options.perDataset << "sigma";
    }
    options.thermalExpansion = alpha != 0;
    if (alpha != 0) {
        options.varied << "alpha";
        options.reff = distance;
    }
    const fit::DataSetFit fit(einsteinSeries(theta, offset, noise, alpha), options);
    QVERIFY2(fit.error().isEmpty(), qPrintable(fit.error().english()));
    const fit::SeriesResult series = fit.run();
    const fit::Result& res = series.result;
    QVERIFY2(res.ok, qPrintable(res.error.english()));

    QMap<QString, double> truth{{"amplitude", amplitude}, {"R", distance}, {"P0", phase}};
    if (einstein) {
        truth["thetaE"] = theta;
        if (offset > 0)
            truth["sigma2Static"] = offset;
    } else {
        for (int s = 0; s < temperatures.size(); ++s)
            truth[fit::DataSetFit::perDatasetName("sigma", s)] =
                std::sqrt(einsteinSigma2(theta, temperatures[s], 0));
    }
    if (alpha != 0)
        truth["alpha"] = alpha;
    int checked = 0;
    for (size_t i = 0; i < res.best.size(); ++i) {
        const fit::Parameter& p = res.best[i];
        if (!truth.contains(p.name))
            continue;
        ++checked;
        QVERIFY(p.varied && !p.atBound);
        const double want = truth[p.name];
        const QString what =
            QString("%1 = %2 +- %3, not %4").arg(p.name).arg(p.value).arg(res.errors[i]).arg(want);
        if (noise == 0)
            QVERIFY2(std::abs(p.value - want) <= 1e-6 * std::abs(want), qPrintable(what));
        else
            QVERIFY2(std::abs(p.value - want) < 2.5 * res.errors[i], qPrintable(what));
    }
    QCOMPARE(checked, truth.size());
    // The covariance's diagonal holds the errors' squares.
    const size_t n = res.best.size();
    QCOMPARE(res.covariance.size(), n * n);
    for (size_t i = 0; i < n; ++i)
        if (res.best[i].varied)
            QVERIFY(std::abs(res.covariance[i * n + i] - res.errors[i] * res.errors[i]) <=
                    1e-12 * res.covariance[i * n + i]);

    // Each set's sigma² against the formula, within its propagated error
    // when there is noise.
    QCOMPARE(int(series.dataSets.size()), temperatures.size());
    for (int s = 0; s < temperatures.size(); ++s) {
        const fit::DataSetResult& d = series.dataSets[size_t(s)];
        const double want = einsteinSigma2(theta, temperatures[s], offset);
        QVERIFY(d.sigma2Error > 0);
        const QString what = QString("set %1: sigma² %2 +- %3, not %4")
                                 .arg(s + 1)
                                 .arg(d.sigma2)
                                 .arg(d.sigma2Error)
                                 .arg(want);
        if (noise == 0) {
            QVERIFY2(std::abs(d.sigma2 - want) <= 1e-6 * want, qPrintable(what));
            QVERIFY(d.rFactor < 1e-12);
        } else {
            QVERIFY2(std::abs(d.sigma2 - want) < 2.5 * d.sigma2Error, qPrintable(what));
            QVERIFY(d.rFactor > 0 && d.rFactor < 0.1);
        }
        QCOMPARE(d.temperature, temperatures[s]);
        if (!einstein) {
            // sigma² of a free sigma: its error 2 sigma d sigma.
            const size_t i = size_t(sigmaIndex(res, s));
            QCOMPARE(d.sigma2, res.best[i].value * res.best[i].value);
            QCOMPARE(d.sigma2Error, 2 * res.best[i].value * res.errors[i]);
        }
    }
    if (noise > 0) {
        // White noise of the size the data's far transform shows: the
        // reduced chi-square near 1. N_idp is the sets' sum, each over
        // k 1 ... 14 (the data's start, the window's end) and R 1 ... 3.
        QVERIFY2(res.reducedChiSquare > 0.3 && res.reducedChiSquare < 3,
                 qPrintable(QString::number(res.reducedChiSquare)));
        QCOMPARE(series.context.independentPoints, 3 * 2 * (14 - 1) * (3 - 1) / M_PI);
    }
}

void tst_DataSetFit::oneSetIsTheSingleFit_data() {
    QTest::addColumn<double>("noise");
    QTest::addColumn<QStringList>("vary");
    QTest::newRow("noise-free, four") << 0.0 << QStringList{"amplitude", "R", "sigma", "P0"};
    QTest::newRow("noisy, four") << 0.01 << QStringList{"amplitude", "R", "sigma", "P0"};
    QTest::newRow("noisy, with P1") << 0.01 << QStringList{"amplitude", "sigma", "P0", "P1"};
    // The negative amplitude's turn of the phase takes the same path.
    QTest::newRow("negative start") << 0.01 << QStringList{"amplitude", "R", "sigma", "P0"};
}

void tst_DataSetFit::oneSetIsTheSingleFit() {
    QFETCH(double, noise);
    QFETCH(QStringList, vary);
    fit::FitInputs in = series(0.005, distance, noise, 0.05, 3);
    if (QByteArray(QTest::currentDataTag()) == "negative start")
        in.parameters.phi0 = 0.6 + M_PI;
    const fit::Result single = fit::FitProblem(in, 1.0, 3.0).run(vary);
    QVERIFY(single.ok);
    fit::DataSetFitOptions options;
    options.rMin = 1.0;
    options.rMax = 3.0;
    options.varied = vary;
    options.perDataset = QStringList{"sigma", "R"}; // one set: nothing to give per set
    const fit::SeriesResult series = fit::DataSetFit({{"a.chi", 20, in}}, options).run();
    const fit::Result& stacked = series.result;
    QVERIFY(stacked.ok);
    QCOMPARE(stacked.best.size(), single.best.size());
    for (size_t i = 0; i < single.best.size(); ++i) {
        QCOMPARE(stacked.best[i].name, single.best[i].name);
        QVERIFY2(sameBits(stacked.best[i].value, single.best[i].value),
                 qPrintable(single.best[i].name));
        QVERIFY(sameBits(stacked.errors[i], single.errors[i]));
        QCOMPARE(stacked.best[i].atBound, single.best[i].atBound);
    }
    QVERIFY(sameBits(stacked.chiSquare, single.chiSquare));
    QVERIFY(sameBits(stacked.reducedChiSquare, single.reducedChiSquare));
    QVERIFY(sameBits(stacked.rFactor, single.rFactor));
    QCOMPARE(stacked.evaluations, single.evaluations);
    QCOMPARE(stacked.correlations.size(), single.correlations.size());
    QVERIFY(sameBits(series.dataSets[0].rFactor, single.rFactor));
}

void tst_DataSetFit::refusals_data() {
    // 0 free, 1 Einstein, 2 Einstein + expansion, 3 Einstein from theta_E 0
    QTest::addColumn<int>("model");
    QTest::addColumn<QList<double>>("temperatures");
    QTest::addColumn<QStringList>("vary");
    QTest::addColumn<QStringList>("perDataset");
    QTest::addColumn<double>("reducedMass");
    QTest::addColumn<QString>("message");
    const double nan = std::nan("");
    const QStringList basic{"amplitude", "R", "thetaE"};
    QTest::newRow("no temperature")
        << 1 << QList<double>{10, nan, 300} << basic << QStringList() << mass
        << "Data set 2 (cu_nank.chi): its temperature must be given, "
           "above 0 K.";
    QTest::newRow("zero kelvin") << 1 << QList<double>{10, 150, 0} << basic << QStringList() << mass
                                 << "Data set 3 (cu_0k.chi): its temperature must be given, above "
                                    "0 K.";
    QTest::newRow("negative, expansion")
        << 2 << QList<double>{-5, 150} << basic << QStringList() << mass
        << "Data set 1 (cu_-5k.chi): its temperature must be given, above 0 K.";
    QTest::newRow("no reduced mass") << 1 << temperatures << basic << QStringList() << 0.0
                                     << "The Einstein model needs the pair's reduced mass, above "
                                        "0 u.";
    QTest::newRow("sigma under Einstein")
        << 1 << temperatures << QStringList{"sigma", "thetaE"} << QStringList() << mass
        << "\"sigma\" is not a parameter this fit can vary.";
    QTest::newRow("unknown name") << 0 << temperatures << QStringList{"Sigma"} << QStringList()
                                  << mass << "\"Sigma\" is not a parameter this fit can vary.";
    QTest::newRow("thetaE, free sigma")
        << 0 << temperatures << QStringList{"R", "thetaE"} << QStringList() << mass
        << "\"thetaE\" belongs to the Einstein model of sigma, which this fit does not use.";
    QTest::newRow("sigma per set under Einstein")
        << 1 << temperatures << basic << QStringList{"sigma"} << mass
        << "\"sigma\" cannot be given per data set.";
    QTest::newRow("R per set, expansion")
        << 2 << temperatures << basic << QStringList{"R"} << mass
        << "R follows thermal expansion, so it cannot be given per data set.";
    QTest::newRow("a set without data")
        << 0 << QList<double>{10, -1} << QStringList{"R"} << QStringList() << mass
        << "Data set 2 (cu_-1k.chi): No measured data are loaded.";
    QTest::newRow("a set fixed at R = 0")
        << 0 << QList<double>{10, -2} << QStringList{"amplitude"} << QStringList{"R"} << mass
        << "Data set 2 (cu_-2k.chi): The main shell is at R = 0, where it has no signal (1/R²): "
           "set R above 0 or vary it.";
    QTest::newRow("alpha without expansion")
        << 0 << temperatures << QStringList{"R", "alpha"} << QStringList() << mass
        << "\"alpha\" is not a parameter this fit can vary.";
    QTest::newRow("theta_E from 0") << 3 << temperatures << basic << QStringList() << mass
                                    << "thetaE starts at 0, outside its limits 10 to 3000.";
    QTest::newRow("no data set") << 0 << QList<double>() << QStringList{"R"} << QStringList()
                                 << mass << "No data set is given.";
}

void tst_DataSetFit::refusals() {
    QFETCH(int, model);
    QFETCH(QList<double>, temperatures);
    QFETCH(QStringList, vary);
    QFETCH(QStringList, perDataset);
    QFETCH(double, reducedMass);
    QFETCH(QString, message);
    std::vector<fit::DataSet> sets = einsteinSeries(233, 0, 0, 0, temperatures);
    // Under the free model a negative "temperature" marks a broken set.
    if (model == 0 && !temperatures.isEmpty() && temperatures.last() == -1)
        sets.back().inputs.dataK.clear();
    if (model == 0 && !temperatures.isEmpty() && temperatures.last() == -2)
        sets.back().inputs.parameters.r = 0;
    fit::DataSetFitOptions options;
    options.varied = vary;
    options.perDataset = perDataset;
    options.sigmaModel = model > 0 ? fit::SigmaModel::Einstein : fit::SigmaModel::Free;
    options.thermalExpansion = model == 2;
    if (model == 3)
        options.thetaE = 0;
    options.reducedMass = reducedMass;
    const fit::DataSetFit fit(sets, options);
    QCOMPARE(fit.error().english(), message);
    const fit::SeriesResult series = fit.run();
    QVERIFY(!series.result.ok);
    QCOMPARE(series.result.error.english(), message);
    QVERIFY(series.dataSets.empty());
}

// A set's refusal is worded in the interface's language, its own message
// (from whichever part refused) inside the one that names the set.
void tst_DataSetFit::refusalsInJapanese() {
    QTranslator ja;
    QVERIFY(ja.load(QStringLiteral(":/Tovik_ja_JP.qm")));
    QCoreApplication::installTranslator(&ja);
    fit::DataSetFitOptions options;
    options.varied = QStringList{"R", "thetaE"};
    options.sigmaModel = fit::SigmaModel::Einstein;
    options.reducedMass = mass;
    std::vector<fit::DataSet> sets = einsteinSeries(233, 0, 0, 0, {10, 0});
    const QString cold = fit::DataSetFit(sets, options).error().text();
    sets[1].temperature = 150;
    sets[1].inputs.dataK.clear();
    const QString empty = fit::DataSetFit(sets, options).error().text();
    options.varied << "sigma";
    const QString sigma = fit::DataSetFit(sets, options).error().text();
    QCoreApplication::removeTranslator(&ja);
    QCOMPARE(cold,
             QString("データセット 2 (cu_0k.chi): 温度 (0 K より大きい値) が与えられていません。"));
    QCOMPARE(empty, QString("データセット 2 (cu_0k.chi): 測定データが読み込まれていません。"));
    QCOMPARE(sigma, QString("「sigma」はこのフィットで動かせるパラメータではありません。"));
}

void tst_DataSetFit::report() {
    fit::DataSetFitOptions options;
    options.varied = QStringList{"amplitude", "R", "P0", "thetaE"};
    options.sigmaModel = fit::SigmaModel::Einstein;
    options.reducedMass = mass;
    const fit::SeriesResult series =
        fit::DataSetFit(einsteinSeries(233, 0, 0.01, 0), options).run();
    QVERIFY(series.result.ok);
    const QJsonObject json = fit::reportJson(series);
    QCOMPARE(json["format"].toString(), QString("tovik-fit"));
    QCOMPARE(json["sigmaModel"].toString(), QString("einstein"));
    const QJsonObject theta = json["parameters"].toObject()["thetaE"].toObject();
    const size_t t = fit::FitProblem::names().size(); // after the model's rows, less sigma
    QCOMPARE(series.result.best[t - 1].name, QString("thetaE"));
    QCOMPARE(theta["value"].toDouble(), series.result.best[t - 1].value);
    QCOMPARE(theta["error"].toDouble(), series.result.errors[t - 1]);
    QVERIFY(!json["parameters"].toObject().contains("sigma"));
    QVERIFY(json["parameters"].toObject()["sigma2Static"].toObject()["error"].isNull());
    QCOMPARE(json["independentPoints"].toDouble(), series.context.independentPoints);
    const QJsonArray sets = json["datasets"].toArray();
    QCOMPARE(sets.size(), 3);
    for (int s = 0; s < 3; ++s) {
        const QJsonObject o = sets[s].toObject();
        const fit::DataSetResult& d = series.dataSets[size_t(s)];
        QCOMPARE(o["file"].toString(), QString("cu_%1k.chi").arg(temperatures[s]));
        QCOMPARE(o["temperature"].toDouble(), temperatures[s]);
        QCOMPARE(o["sigma2"].toObject()["value"].toDouble(), d.sigma2);
        QCOMPARE(o["sigma2"].toObject()["error"].toDouble(), d.sigma2Error);
        QCOMPARE(o["rFactor"].toDouble(), d.rFactor);
        QVERIFY(d.sigma2Error > 0 && d.rFactor > 0);
    }
}

QTEST_GUILESS_MAIN(tst_DataSetFit)
#include "tst_DataSetFit.moc"
