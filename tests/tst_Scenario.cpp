#include "Scenario.h"

#include <QDir>
#include <QtTest>

#include <csignal>
#include <cstring>
#include <sys/resource.h>

// Scenarios through text and files: exact round trips, every kind of bad
// input refused with its message and nothing changed, partial documents
// over a base, the size limit and atomic saves.
class tst_Scenario : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void badScenario_data();
    void badScenario();
    void missingKeysKeepBase();
    void absorptionOverABase();
    void missingShellsMeansNone();
    void seriesBelongsToItsFile();
    void unknownKeysIgnored();
    void sizeLimit();
    void unreadableFile_data();
    void unreadableFile();
    void failedSaveKeepsOldFile();
};

Q_DECLARE_METATYPE(Scenario)

namespace {

// The start-up state: envelope flat at 1 on k = 0 ... 16.
Scenario flat() {
    return Scenario();
}

// Differs from flat() in every field, so a field taken from the wrong place
// shows.
Scenario other() {
    Scenario s;
    s.n = 1;
    s.r = 7.25;
    s.phi0 = -3.5;
    s.phi1 = -1.25;
    s.phi2 = 0.5;
    s.sigma = 0.125;
    s.amplitude = 10.8;
    s.envelopeOn = s.windowOn = s.debyeWallerOn = false;
    s.windowPositions = {1, 2, 3, 4};
    for (int i = 0; i <= 16; ++i)
        s.envelopePoints[i] = QPointF(i * 0.5, -0.5);
    s.showReal = s.showImag = true;
    s.showAbs = s.showEnvelope = s.showWindow = s.showWave = s.showTotal = false;
    s.pointerR = 9.5;
    s.viewAxes = s.viewLegend = s.viewPhysical = s.viewLockScales = true;
    s.dataFile = QDir::cleanPath(QDir::tempPath() + QStringLiteral("/tovik-data/fe.chi"));
    return s;
}

QVector<quint64> bits(const Scenario& s) {
    QVector<double> d{s.r, s.phi0, s.phi1, s.phi2, s.sigma, s.amplitude, s.deltaE0, s.pointerR};
    for (const Scenario::ExtraShell& e : s.shells)
        d << e.r << e.amplitude << e.sigma << e.deltaE0;
    d += s.windowPositions;
    d << s.fitThetaE << s.fitSigma2Static << s.fitReducedMass << s.fitAlpha;
    for (const Scenario::DataSetEntry& e : s.fitDataSets)
        d << e.temperature;
    for (const QPointF& p : s.envelopePoints)
        d << p.x() << p.y();
    QVector<quint64> out;
    for (const double v : d) {
        quint64 b;
        std::memcpy(&b, &v, sizeof b);
        out << b;
    }
    return out;
}

QJsonObject validObject() {
    return QJsonDocument::fromJson(flat().toJson()).object();
}

QByteArray text(const QJsonObject& o) {
    return QJsonDocument(o).toJson();
}

// An undefined value removes the key.
QByteArray withKey(const char* key, const QJsonValue& v) {
    QJsonObject o = validObject();
    o[key] = v;
    return text(o);
}

QByteArray withNested(const char* outer, const char* key, const QJsonValue& v) {
    QJsonObject o = validObject();
    QJsonObject inner = o[outer].toObject();
    inner[key] = v;
    o[outer] = inner;
    return text(o);
}

QByteArray withElement(const char* key, int i, const QJsonValue& v) {
    QJsonObject o = validObject();
    QJsonArray a = o[key].toArray();
    a[i] = v;
    o[key] = a;
    return text(o);
}

} // namespace

void tst_Scenario::roundTrip_data() {
    QTest::addColumn<Scenario>("state");
    QTest::newRow("flat") << flat();
    QTest::newRow("other") << other();

    // Values without a short decimal form, and the ends of every range.
    Scenario s = flat();
    s.n = 3;
    s.r = 0.1 + 0.2;
    s.phi0 = -10.0 / 3;
    s.phi2 = 5e-324;
    s.sigma = 0.2 / 3;
    s.phi1 = -3;
    s.amplitude = 50 / 3.0;
    s.windowPositions = {-1000, 1.0 / 3, 1.0 / 3, 2.7};
    for (int i = 0; i <= 16; ++i)
        s.envelopePoints[i] = QPointF(i * (16.0 / 17.0) + 1.0 / 7, 1.1 * std::sin(i * 0.7));
    s.envelopePoints[0] = QPointF(0, -1.1);
    s.envelopePoints[16] = QPointF(16, 1.1);
    s.pointerR = -1000.0 / 3;
    QTest::newRow("awkward") << s;
    s.r = 10;
    s.sigma = 0.2;
    s.phi2 = -1;
    s.phi1 = 3;
    s.amplitude = 50;
    s.pointerR = 1000;
    s.viewAxes = s.viewPhysical = true;
    QTest::newRow("upper ends, view") << s;
    s.shells = {{0, 2}, {10, 0}, {0.1 + 0.2, 1.0 / 3}};
    QTest::newRow("shells at the ends") << s;
    s.hasFit = true;
    s.fitVary = QStringList{"P2", "sigma"};
    s.fitRMin = 0.1 + 0.2;
    s.fitRMax = 15;
    QTest::newRow("fit") << s;
    s.title = {QStringLiteral("R & phase"), QString()};
    s.notes = {QString(Scenario::maxTextLength, QLatin1Char('x')), QStringLiteral("一\n\n二")};
    QTest::newRow("lesson texts") << s;
    // Paths as a loaded scenario holds them: absolute, written relative.
    s.pathFile = QStringLiteral("/data/paths/feff0001.dat");
    s.deltaE0 = -20;
    Scenario::ExtraShell withPath(3.6, 0.5);
    withPath.pathFile = QStringLiteral("/data/paths/feff0002.dat");
    withPath.sigma = 0.2;
    withPath.deltaE0 = 0.1 + 0.2;
    s.shells = {withPath, {2.9, 1}};
    QTest::newRow("paths and dE0") << s;

    // mu(E): E0 found and the ranges open to the data's end, then every
    // value given, awkward and at its range's ends.
    Scenario mu = flat();
    mu.muFile = QDir::cleanPath(QDir::tempPath() + QStringLiteral("/tovik-data/cu.xmu"));
    QTest::newRow("mu(E), defaults") << mu;
    mu.absorption.e0 = 8979.0 + 1.0 / 3;
    mu.absorption.rbkg = 0.3;
    mu.absorption.kWeight = 3;
    mu.absorption.preEdge = {{-200.0 / 3, -0.1 - 0.2}};
    mu.absorption.normalization = {{150.0 / 7, 1e5}};
    mu.absorption.kMin = 0.1 + 0.2;
    mu.absorption.kMax = 50;
    mu.muColumns = MuColumns{2, 4, 0, true};
    QTest::newRow("mu(E), every value") << mu;
    mu.absorption.rbkg = 3;
    mu.absorption.kWeight = 0;
    mu.muColumns = MuColumns{1, 1000, 7, false};
    QTest::newRow("mu(E), other ends") << mu;

    // A series of a chi(k) file and two mu(E) files, one without a
    // temperature, fitted with the Einstein model and every start given.
    Scenario series = flat();
    series.hasFit = true;
    series.fitVary = QStringList{"amplitude", "R", "thetaE", "sigma2Static", "alpha"};
    Scenario::DataSetEntry first;
    first.dataFile = QDir::cleanPath(QDir::tempPath() + QStringLiteral("/tovik-data/cu10.chi"));
    first.temperature = 10;
    Scenario::DataSetEntry hot;
    hot.muFile = QDir::cleanPath(QDir::tempPath() + QStringLiteral("/tovik-series/cu150.xmu"));
    hot.absorption.rbkg = 1.25;
    hot.absorption.e0 = 8979.0 + 1.0 / 3;
    hot.muColumns = MuColumns{1, 3, 2, true};
    hot.temperature = 150 + 1.0 / 3;
    Scenario::DataSetEntry unknown;
    unknown.muFile = QDir::cleanPath(QDir::tempPath() + QStringLiteral("/cu300.xmu"));
    series.fitDataSets = {first, hot, unknown};
    series.dataFile = first.dataFile;
    series.fitPerDataset = QStringList{"amplitude", "dE0"};
    QTest::newRow("series, free sigma") << series;
    series.fitDataSets[2].temperature = 1e5;
    series.fitSigmaModel = Scenario::SigmaModelChoice::Einstein;
    series.fitThetaE = 0.1 + 300;
    series.fitSigma2Static = -0.1;
    series.fitReducedMass = 63.546 / 2;
    series.fitThermalExpansion = true;
    series.fitAlpha = 1.0 / 3 * 1e-5;
    QTest::newRow("series, Einstein, expansion") << series;
    // The first set from mu(E): it is the measured data shown.
    std::swap(series.fitDataSets[0], series.fitDataSets[1]);
    series.dataFile.clear();
    series.muFile = hot.muFile;
    series.muColumns = hot.muColumns;
    series.absorption = hot.absorption;
    QTest::newRow("series, first from mu(E)") << series;
}

void tst_Scenario::roundTrip() {
    QFETCH(Scenario, state);
    // A base unlike the state, so every value has to come from the text.
    const Scenario base = state == other() ? flat() : other();

    Scenario read = base;
    QString error;
    QVERIFY2(Scenario::fromJson(state.toJson(), base, &read, &error), qPrintable(error));
    QCOMPARE(bits(read), bits(state));
    QVERIFY(read == state);

    QTemporaryDir dir;
    const QString path = dir.filePath("state.tovik.json");
    QVERIFY2(state.writeFile(path, &error), qPrintable(error));
    Scenario fromFile = base;
    QVERIFY2(Scenario::readFile(path, base, &fromFile, &error), qPrintable(error));
    QCOMPARE(bits(fromFile), bits(state));
    QVERIFY(fromFile == state);
}

void tst_Scenario::badScenario_data() {
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("message");

    QTest::newRow("not JSON") << QByteArray("{\"format\": ") << "not valid JSON: ";
    QTest::newRow("parse error: line and column")
        << QByteArray("{\"n\": 1x}") << "not valid JSON: unterminated object at line 1, column 9.";
    QTest::newRow("parse error on a later line")
        << QByteArray("{\n  \"P0\": \"\xce\xb1\xce\xb2\",\n  \"n\": @\n}")
        << "at line 3, column 8.";
    QTest::newRow("UTF-16") << QByteArray("\xff\xfe{\0}\0", 6)
                            << "in UTF-16; a scenario must be UTF-8";
    QTest::newRow("UTF-32") << QByteArray("{\0\0\0}\0\0\0", 8) << "in UTF-32";
    QTest::newRow("control character in the data file")
        << withKey("measuredData", QString::fromLatin1("abc\0def\x1b]0;x", 12))
        << "without control characters; it is \"abc\\x00def\\x1b]0;x\".";
    // Qt refuses numbers beyond double range while parsing.
    QTest::newRow("huge number") << QByteArray("{\"R\": 1e400}") << "not valid JSON";
    QTest::newRow("array") << QByteArray("[1, 2]") << "not a JSON object";
    QTest::newRow("no format") << withKey("format", QJsonValue::Undefined)
                               << "required field format is missing.";
    QTest::newRow("format type") << withKey("format", 1) << "field format must be a string.";
    QTest::newRow("other format") << withKey("format", "tovik-shells")
                                  << "its format is \"tovik-shells\", not \"tovik-scenario\".";
    QTest::newRow("no version") << withKey("version", QJsonValue::Undefined)
                                << "required field version is missing.";
    QTest::newRow("version type") << withKey("version", "1") << "field version must be a number.";
    QTest::newRow("version fraction")
        << withKey("version", 1.5) << "field version must be a whole number; it is 1.5.";
    QTest::newRow("newer") << withKey("version", 2) << "made by a newer Tovik (version 2)";
    QTest::newRow("version 0") << withKey("version", 0) << "scenario version 0 is unknown.";
    QTest::newRow("n fraction") << withKey("n", 2.5) << "field n must be a whole number; it is 2.5";
    QTest::newRow("n high") << withKey("n", 4) << "field n must lie between 1 and 3; it is 4.";
    QTest::newRow("R null") << withKey("R", QJsonValue()) << "field R must be a number.";
    QTest::newRow("R above") << withKey("R", 10.000000000000002)
                             << "field R must lie between 0 and 10; it is 10.000000000000002.";
    QTest::newRow("sigma") << withKey("sigma", 0.21) << "field sigma must lie between 0 and 0.2";
    QTest::newRow("P1") << withKey("P1", -3.01)
                        << "field P1 must lie between -3 and 3; it is -3.01.";
    QTest::newRow("P0") << withKey("P0", -10.5)
                        << "field P0 must lie between -10 and 10; it is -10.5.";
    QTest::newRow("P2") << withKey("P2", 1.01) << "field P2 must lie between -1 and 1; it is 1.01.";
    QTest::newRow("sigma below") << withKey("sigma", -0.001)
                                 << "field sigma must lie between 0 and 0.2; it is -0.001.";
    QTest::newRow("fit vary unknown") << withKey("fit", QJsonObject{{"vary", QJsonArray{"R", "N"}}})
                                      << "field fit.vary[1] must name one of amplitude, R, sigma, "
                                         "P0, P1, P2, dE0, thetaE, sigma2Static, alpha, each at "
                                         "most once.";
    QTest::newRow("fit vary twice") << withKey("fit", QJsonObject{{"vary", QJsonArray{"R", "R"}}})
                                    << "field fit.vary[1] must name one of";
    QTest::newRow("fit range reversed") << withKey("fit", QJsonObject{{"Rrange", QJsonArray{3, 1}}})
                                        << "field fit.Rrange must hold a lower and a higher R.";
    // A series: each fault names its data set (from 1) and file, and the field.
    const auto series = [](const QJsonArray& sets, const char* model = "free") {
        return withKey("fit", QJsonObject{{"datasets", sets}, {"sigmaModel", model}});
    };
    const QJsonObject cold{{"data", "cu10.chi"}, {"temperature", 10}};
    QTest::newRow("series: temperature 0")
        << series({cold, QJsonObject{{"data", "cu150.chi"}, {"temperature", 0}}})
        << "Data set 2 (cu150.chi): The field fit.datasets[1].temperature must be a temperature "
           "above 0 K and at most 100000 K; it is 0.";
    QTest::newRow("series: temperature negative")
        << series({QJsonObject{{"data", "a.chi"}, {"temperature", -5}}})
        << "Data set 1 (a.chi): The field fit.datasets[0].temperature must be a temperature above "
           "0 K";
    QTest::newRow("series: temperature a string")
        << series({cold, QJsonObject{{"data", "b.chi"}, {"temperature", "300"}}})
        << "Data set 2 (b.chi): The field fit.datasets[1].temperature must be a number.";
    QTest::newRow("series: no temperature, Einstein")
        << series({cold, QJsonObject{{"data", "cu150.chi"}}}, "einstein")
        << "Data set 2 (cu150.chi): The field fit.datasets[1].temperature is required by the "
           "Einstein model.";
    QTest::newRow("series: no temperature, mu(E), Einstein")
        << series({QJsonObject{{"absorption", QJsonObject{{"file", "cu.xmu"}}}}}, "einstein")
        << "Data set 1 (cu.xmu): The field fit.datasets[0].temperature is required";
    QTest::newRow("series: no temperature, thermal expansion")
        << withKey("fit", QJsonObject{{"datasets", QJsonArray{QJsonObject{{"data", "x.chi"}}}},
                                      {"thermalExpansion", true}})
        << "Data set 1 (x.chi): The field fit.datasets[0].temperature is required by thermal "
           "expansion.";
    QTest::newRow("series: item not an object")
        << series({cold, 3}) << "Data set 2: The field fit.datasets[1] must be an object.";
    QTest::newRow("series: neither data nor absorption")
        << series({QJsonObject{{"temperature", 10}}})
        << "Data set 1: The field fit.datasets[0] must name its data with exactly one of data and "
           "absorption.";
    QTest::newRow("series: both data and absorption")
        << series({QJsonObject{{"data", "a.chi"}, {"absorption", QJsonObject{{"file", "a.xmu"}}}}})
        << "Data set 1 (a.chi): The field fit.datasets[0] must name its data with exactly one";
    QTest::newRow("series: empty file name")
        << series({cold, QJsonObject{{"data", ""}}})
        << "Data set 2: The field fit.datasets[1].data must name a file.";
    QTest::newRow("series: bad absorption")
        << series({QJsonObject{{"absorption", QJsonObject{{"file", "cu.xmu"}, {"rbkg", 9}}},
                               {"temperature", 10}}})
        << "Data set 1 (cu.xmu): The field fit.datasets[0].absorption.rbkg must lie between";
    QTest::newRow("series: not an array") << withKey("fit", QJsonObject{{"datasets", cold}})
                                          << "field fit.datasets must be an array.";
    QTest::newRow("series: empty")
        << series({}) << "field fit.datasets must hold from 1 to 50 data sets; it has 0.";
    QTest::newRow("series: first is not the data shown")
        <<
        [] {
            QJsonObject o = validObject();
            o["measuredData"] = "cu10.chi";
            o["fit"] = QJsonObject{{"datasets", QJsonArray{QJsonObject{{"data", "other.chi"}}}}};
            return text(o);
        }()
        << "The first entry of fit.datasets must be the measured data the file shows "
           "(measuredData).";
    QTest::newRow("sigma model unknown")
        << withKey("fit", QJsonObject{{"sigmaModel", "debye"}})
        << "The field fit.sigmaModel must be \"free\" or \"einstein\".";
    QTest::newRow("per data set unknown")
        << withKey("fit", QJsonObject{{"perDataset", QJsonArray{"R", "thetaE"}}})
        << "The field fit.perDataset[1] must name one of amplitude, R, sigma, P0, P1, P2, dE0, "
           "each at most once.";
    QTest::newRow("per data set not an array") << withKey("fit", QJsonObject{{"perDataset", "R"}})
                                               << "The field fit.perDataset must be an array.";
    QTest::newRow("thetaE 0") << withKey("fit", QJsonObject{{"thetaE", 0}})
                              << "The field fit.thetaE must lie between 1 and 10000; it is 0.";
    QTest::newRow("reduced mass negative")
        << withKey("fit", QJsonObject{{"reducedMass", -1}})
        << "The field fit.reducedMass must lie between 0 and 1000; it is -1.";
    QTest::newRow("thermal expansion type")
        << withKey("fit", QJsonObject{{"thermalExpansion", 1}})
        << "The field fit.thermalExpansion must be true or false.";
    QTest::newRow("amplitude") << withKey("amplitude", 50.5)
                               << "field amplitude must lie between 0 and 50; it is 50.5.";
    QTest::newRow("amplitude type")
        << withKey("amplitude", "1") << "field amplitude must be a number.";
    QTest::newRow("factors type") << withKey("factors", QJsonArray{true})
                                  << "field factors must be an object.";
    QTest::newRow("factor type") << withNested("factors", "window", "yes")
                                 << "field factors.window must be true or false.";
    QTest::newRow("three positions")
        << withKey("windowPositions", QJsonArray{3, 4, 15})
        << "field windowPositions must hold exactly 4 entries; it has 3.";
    QTest::newRow("position range") << withElement("windowPositions", 3, 1000.5)
                                    << "field windowPositions[3] must lie between -1000 and 1000";
    QTest::newRow("positions order")
        << withElement("windowPositions", 2, 3.5)
        << "field windowPositions[2] must not be smaller than windowPositions[1].";
    QTest::newRow("no points") << withKey("envelopePoints", QJsonArray{})
                               << "field envelopePoints must hold exactly 17 entries; it has 0.";
    QTest::newRow("point type") << withElement("envelopePoints", 3, 1.0)
                                << "field envelopePoints[3] must be an array.";
    QTest::newRow("point size") << withElement("envelopePoints", 3, QJsonArray{3, 1, 0})
                                << "field envelopePoints[3] must hold exactly 2 entries; it has 3.";
    QTest::newRow("point k type") << withElement("envelopePoints", 3, QJsonArray{"3", 1})
                                  << "field envelopePoints[3][0] must be a number.";
    QTest::newRow("point k range")
        << withElement("envelopePoints", 16, QJsonArray{16.5, 1})
        << "field envelopePoints[16][0] must lie between 0 and 16; it is 16.5.";
    QTest::newRow("point F range") << withElement("envelopePoints", 3, QJsonArray{3, -1.2})
                                   << "field envelopePoints[3][1] must lie between -1.1 and 1.1";
    QTest::newRow("points order") << withElement("envelopePoints", 5, QJsonArray{4, 1})
                                  << "field envelopePoints[5][0] must be larger than 4.0005.";
    // Closer than half the gap a drag keeps: its slope could overflow.
    QTest::newRow("points too close") << withElement("envelopePoints", 5, QJsonArray{4.0001, 1})
                                      << "field envelopePoints[5][0] must be larger than 4.0005.";
    const QJsonObject shell{{"R", 2.9}, {"amplitude", 1}};
    QTest::newRow("shells type") << withKey("shells", shell) << "field shells must be an array.";
    QTest::newRow("four shells") << withKey("shells", QJsonArray{shell, shell, shell, shell})
                                 << "field shells must hold at most 3 entries; it has 4.";
    QTest::newRow("shell type") << withKey("shells", QJsonArray{shell, 2.9})
                                << "field shells[1] must be an object.";
    QTest::newRow("shell without R")
        << withKey("shells", QJsonArray{QJsonObject{{"r", 2.9}, {"amplitude", 1}}})
        << "required field shells[0].R is missing.";
    QTest::newRow("shell without amplitude")
        << withKey("shells", QJsonArray{shell, QJsonObject{{"R", 2.9}}})
        << "required field shells[1].amplitude is missing.";
    QTest::newRow("shell R type") << withKey("shells", QJsonArray{QJsonObject{{"R", "2.9"},
                                                                              {"amplitude", 1}}})
                                  << "field shells[0].R must be a number.";
    QTest::newRow("shell R range")
        << withKey("shells", QJsonArray{QJsonObject{{"R", -0.1}, {"amplitude", 1}}})
        << "field shells[0].R must lie between 0 and 10; it is -0.1.";
    QTest::newRow("shell amplitude range")
        << withKey("shells", QJsonArray{shell, shell, QJsonObject{{"R", 3}, {"amplitude", 2.05}}})
        << "field shells[2].amplitude must lie between 0 and 2; it is 2.05.";
    QTest::newRow("dE0 above") << withKey("dE0", 20.5)
                               << "field dE0 must lie between -20 and 20; it is 20.5.";
    QTest::newRow("path type") << withKey("path", 3) << "field path must be a string.";
    QTest::newRow("path control") << withKey("path", "a\u001bb.dat")
                                  << "field path must be a file name without control";
    QTest::newRow("shell path type")
        << withKey("shells", QJsonArray{QJsonObject{{"R", 3}, {"amplitude", 1}, {"path", 1}}})
        << "field shells[0].path must be a string.";
    QTest::newRow("shell dE0 range")
        << withKey("shells", QJsonArray{QJsonObject{
                                 {"R", 3}, {"amplitude", 1}, {"path", "p.dat"}, {"dE0", -21}}})
        << "field shells[0].dE0 must lie between -20 and 20; it is -21.";
    QTest::newRow("shell sigma range")
        << withKey("shells", QJsonArray{QJsonObject{
                                 {"R", 3}, {"amplitude", 1}, {"path", "p.dat"}, {"sigma", 0.3}}})
        << "field shells[0].sigma must lie between 0 and 0.2; it is 0.3.";
    QTest::newRow("selection type")
        << withNested("chiR", "abs", 1) << "field chiR.abs must be true or false.";
    QTest::newRow("pointer range")
        << withNested("chiR", "pointerR", -1000.5)
        << "field chiR.pointerR must lie between -1000 and 1000; it is -1000.5.";
    QTest::newRow("view type") << withKey("view", 1) << "field view must be an object.";
    QTest::newRow("data file type")
        << withKey("measuredData", 2) << "field measuredData must be a string.";
    QTest::newRow("view option type") << withNested("view", "lockScales", "yes")
                                      << "field view.lockScales must be true or false.";
    QTest::newRow("title type") << withKey("title", "R") << "field title must be an object.";
    QTest::newRow("notes text type")
        << withNested("notes", "ja", 1) << "field notes.ja must be a string.";
    // mu(E): each field named with its range.
    const auto absorption = [](const char* key, const QJsonValue& v) {
        QJsonObject a{{"file", "cu.xmu"}};
        if (key)
            a[key] = v;
        QJsonObject o = validObject();
        o["measuredData"] = "";
        o["absorption"] = a;
        return text(o);
    };
    QTest::newRow("absorption type")
        << withKey("absorption", 1) << "field absorption must be an object.";
    QTest::newRow("absorption without file") << withKey("absorption", QJsonObject{{"rbkg", 1}})
                                             << "required field absorption.file is missing.";
    QTest::newRow("absorption file empty")
        << absorption("file", "") << "field absorption.file must be a string.";
    QTest::newRow("absorption file control")
        << absorption("file", "a\nb") << "field absorption.file must be a file name without";
    QTest::newRow("absorption and measuredData") << [] {
        QJsonObject o = validObject();
        o["measuredData"] = "cu.chi";
        o["absorption"] = QJsonObject{{"file", "cu.xmu"}};
        return text(o);
    }() << "fields measuredData and absorption cannot both name a file.";
    QTest::newRow("rbkg low") << absorption("rbkg", 0.29)
                              << "field absorption.rbkg must lie between 0.3 and 3; it is 0.29.";
    QTest::newRow("rbkg high") << absorption("rbkg", 3.5)
                               << "field absorption.rbkg must lie between 0.3 and 3; it is 3.5.";
    QTest::newRow("rbkg type") << absorption("rbkg", "1")
                               << "field absorption.rbkg must be a number.";
    QTest::newRow("kweight fraction")
        << absorption("kweight", 1.5)
        << "field absorption.kweight must be a whole number; it is 1.5.";
    QTest::newRow("kweight high") << absorption("kweight", 4)
                                  << "field absorption.kweight must lie between 0 and 3; it is 4.";
    QTest::newRow("e0 type") << absorption("e0", true) << "field absorption.e0 must be a number.";
    QTest::newRow("e0 negative") << absorption("e0", -1)
                                 << "field absorption.e0 must lie between 0 and 1e+06; it is -1.";
    QTest::newRow("preEdge size")
        << absorption("preEdge", QJsonArray{-150})
        << "field absorption.preEdge must hold exactly 2 entries; it has 1.";
    QTest::newRow("preEdge reversed")
        << absorption("preEdge", QJsonArray{-30, -150})
        << "field absorption.preEdge[1] must be larger than absorption.preEdge[0].";
    QTest::newRow("preEdge open end") << absorption("preEdge", QJsonArray{-150, QJsonValue::Null})
                                      << "field absorption.preEdge[1] must be a number.";
    QTest::newRow("normalization reversed")
        << absorption("normalization", QJsonArray{150, 100})
        << "field absorption.normalization[1] must be larger than absorption.normalization[0].";
    QTest::newRow("kRange beyond")
        << absorption("kRange", QJsonArray{0, 51})
        << "field absorption.kRange[1] must lie between 0 and 50; it is 51.";
    QTest::newRow("kRange negative")
        << absorption("kRange", QJsonArray{-1, 10})
        << "field absorption.kRange[0] must lie between 0 and 50; it is -1.";
    QTest::newRow("columns type") << absorption("columns", 3)
                                  << "field absorption.columns must be an object.";
    QTest::newRow("columns without numerator")
        << absorption("columns", QJsonObject{{"energy", 1}})
        << "required field absorption.columns.numerator is missing.";
    QTest::newRow("column zero")
        << absorption("columns", QJsonObject{{"energy", 0}, {"numerator", 2}})
        << "field absorption.columns.energy must lie between 1 and 1000; it is 0.";
    QTest::newRow("column fraction")
        << absorption("columns", QJsonObject{{"energy", 1}, {"numerator", 2.5}})
        << "field absorption.columns.numerator must be a whole number; it is 2.5.";
    QTest::newRow("log type") << absorption(
                                     "columns",
                                     QJsonObject{{"energy", 1}, {"numerator", 2}, {"log", 1}})
                              << "field absorption.columns.log must be true or false.";
    QTest::newRow("notes too long")
        << withNested("notes", "en", QString(Scenario::maxTextLength + 1, QLatin1Char('x')))
        << "field notes.en must hold at most 20000 characters; it has 20001.";
}

void tst_Scenario::badScenario() {
    QFETCH(QByteArray, json);
    QFETCH(QString, message);
    // The valid parts of each document differ from this state, so a partial
    // update before the fault would show.
    const Scenario before = other();
    Scenario result = before;
    QString error;
    QVERIFY(!Scenario::fromJson(json, flat(), &result, &error));
    QVERIFY2(error.contains(message), qPrintable(error));
    QVERIFY2(error.endsWith('.') && !error.contains('\n'), qPrintable(error));
    QVERIFY(result == before);
}

void tst_Scenario::missingKeysKeepBase() {
    const QByteArray json = R"({"format": "tovik-scenario", "version": 1, "n": 3,
        "factors": {"window": false}, "chiR": {"pointerR": 5.5, "real": true},
        "view": {"legend": false}})";
    Scenario expected = other();
    expected.n = 3;
    expected.windowOn = false;
    expected.viewLegend = false;
    expected.pointerR = 5.5;
    expected.showReal = true;
    Scenario result = flat();
    QString error;
    QVERIFY2(Scenario::fromJson(json, other(), &result, &error), qPrintable(error));
    QVERIFY(result == expected);

    // The header alone gives the base back.
    QVERIFY(Scenario::fromJson(R"({"version": 1, "format": "tovik-scenario"})", other(), &result,
                               &error));
    QVERIFY(result == other());
}

// Unlike the other keys, a file without "shells" has no extra shell, so
// that files from before the shells open as they were made.
// mu(E) is kept over a file that names no measured data at all, and
// dropped by one that does, as every saved file does.
void tst_Scenario::absorptionOverABase() {
    Scenario base;
    base.muFile = QStringLiteral("/data/cu.xmu");
    base.absorption.rbkg = 1.25;
    QJsonObject o = validObject();
    o.remove("measuredData");
    Scenario read;
    QVERIFY(Scenario::fromJson(text(o), base, &read, nullptr));
    QCOMPARE(read.muFile, base.muFile);
    QCOMPARE(read.absorption.rbkg, 1.25);
    QVERIFY(Scenario::fromJson(flat().toJson(), base, &read, nullptr));
    QVERIFY(read.muFile.isEmpty());
    QCOMPARE(read.absorption.rbkg, AbsorptionSettings().rbkg);
    o["measuredData"] = "cu.chi";
    QVERIFY(Scenario::fromJson(text(o), base, &read, nullptr));
    QVERIFY(read.muFile.isEmpty());
    QCOMPARE(read.dataFile, QStringLiteral("cu.chi"));
}

// A base's data sets never carry into a file that names none; the first
// data set becomes the measured data; under the Einstein model a fit that
// names nothing to vary varies thetaE instead of sigma.
void tst_Scenario::seriesBelongsToItsFile() {
    Scenario base = flat();
    base.hasFit = true;
    base.fitDataSets = {Scenario::DataSetEntry()};
    base.fitDataSets[0].dataFile = QStringLiteral("/old/a.chi");
    base.fitSigmaModel = Scenario::SigmaModelChoice::Einstein;
    base.fitThetaE = 250;
    Scenario read;
    QVERIFY(Scenario::fromJson(flat().toJson(), base, &read, nullptr));
    QVERIFY(read.fitDataSets.isEmpty());
    QVERIFY(read.fitSigmaModel == Scenario::SigmaModelChoice::Free);
    QCOMPARE(read.fitThetaE, flat().fitThetaE);

    QJsonObject o = validObject();
    o.remove("measuredData");
    o["fit"] = QJsonObject{
        {"sigmaModel", "einstein"},
        {"datasets", QJsonArray{QJsonObject{{"data", "./cu10.chi"}, {"temperature", 10}},
                                QJsonObject{{"data", "cu150.chi"}, {"temperature", 150}}}}};
    QString error;
    QVERIFY2(Scenario::fromJson(text(o), flat(), &read, &error), qPrintable(error));
    QCOMPARE(read.dataFile, QStringLiteral("./cu10.chi"));
    QCOMPARE(read.fitDataSets.size(), 2);
    QCOMPARE(read.fitDataSets[1].temperature, 150.0);
    QStringList vary = Scenario::defaultFitVary();
    vary.removeAll(QStringLiteral("sigma"));
    vary << QStringLiteral("thetaE");
    QCOMPARE(read.fitVary, vary);
    // The same file named both ways is one file.
    o["measuredData"] = "cu10.chi";
    QVERIFY2(Scenario::fromJson(text(o), flat(), &read, &error), qPrintable(error));
    // A "vary" given is taken as it is.
    QJsonObject f = o["fit"].toObject();
    f["vary"] = QJsonArray{"R", "thetaE"};
    o["fit"] = f;
    QVERIFY2(Scenario::fromJson(text(o), flat(), &read, &error), qPrintable(error));
    QCOMPARE(read.fitVary, (QStringList{"R", "thetaE"}));

    // Written relative to the scenario's folder, read back absolute.
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("data"));
    read.dataFile = dir.filePath("data/cu10.chi");
    read.fitDataSets[0].dataFile = read.dataFile;
    read.fitDataSets[1].dataFile = dir.filePath("data/cu150.chi");
    const QString path = dir.filePath("series.tovik.json");
    QVERIFY2(read.writeFile(path, &error), qPrintable(error));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QJsonObject written = QJsonDocument::fromJson(file.readAll()).object();
    QCOMPARE(written["fit"].toObject()["datasets"].toArray()[1].toObject()["data"].toString(),
             QStringLiteral("data/cu150.chi"));
    Scenario back;
    QVERIFY2(Scenario::readFile(path, flat(), &back, &error), qPrintable(error));
    QVERIFY(back == read);
}

void tst_Scenario::missingShellsMeansNone() {
    Scenario base = other();
    base.shells = {{2.9, 0.75}};
    // A lesson's texts belong to it alone, likewise.
    base.title = base.notes = {QStringLiteral("en"), QStringLiteral("ja")};
    Scenario result;
    QString error;
    QVERIFY(
        Scenario::fromJson(R"({"version": 1, "format": "tovik-scenario"})", base, &result, &error));
    QVERIFY(result == other());
    QVERIFY(Scenario::fromJson(R"({"version": 1, "format": "tovik-scenario", "shells": []})", base,
                               &result, &error));
    QVERIFY(result.shells.isEmpty());
    // Exactly these key names, each shell on its own.
    QVERIFY2(Scenario::fromJson(R"({"version": 1, "format": "tovik-scenario", "shells":
                 [{"R": 2.5, "amplitude": 0.5}, {"amplitude": 2, "R": 0}]})",
                                base, &result, &error),
             qPrintable(error));
    QCOMPARE(result.shells.size(), 2);
    QCOMPARE(result.shells[0], (Scenario::ExtraShell{2.5, 0.5}));
    QCOMPARE(result.shells[1], (Scenario::ExtraShell{0, 2}));
}

void tst_Scenario::unknownKeysIgnored() {
    QJsonObject o = QJsonDocument::fromJson(other().toJson()).object();
    o["notes"] = QJsonObject{{"axes", true}};
    o["extras"] = QJsonArray{1, "two"};
    QJsonObject factors = o["factors"].toObject();
    factors["measured"] = "yes";
    o["factors"] = factors;
    Scenario result;
    QString error;
    QVERIFY2(Scenario::fromJson(text(o), flat(), &result, &error), qPrintable(error));
    QVERIFY(result == other());
}

void tst_Scenario::sizeLimit() {
    // Valid documents padded with white space to the limit and one byte past.
    QTemporaryDir dir;
    const QByteArray json = other().toJson();
    for (const qint64 size : {Scenario::maxFileSize, Scenario::maxFileSize + 1}) {
        const QString path = dir.filePath(QString::number(size));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(json + QByteArray(size - json.size(), ' '));
        f.close();
        QCOMPARE(f.size(), size);

        Scenario result = flat();
        QString error;
        const bool ok = Scenario::readFile(path, flat(), &result, &error);
        QCOMPARE(ok, size == Scenario::maxFileSize);
        QVERIFY(result == (ok ? other() : flat()));
        if (!ok)
            QVERIFY2(error.contains("larger than 1 MiB, too large for a scenario"),
                     qPrintable(error));
    }
}

void tst_Scenario::unreadableFile_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << "absent.tovik.json"
                             << "No such file";
    QTest::newRow("directory") << ""
                               << "it is a folder";
}

void tst_Scenario::unreadableFile() {
    QFETCH(QString, name);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    Scenario result = other();
    QString error;
    QVERIFY(!Scenario::readFile(path, flat(), &result, &error));
    QVERIFY2(error.contains("cannot be read") && error.contains(reason, Qt::CaseInsensitive),
             qPrintable(error));
    QVERIFY(result == other());
}

void tst_Scenario::failedSaveKeepsOldFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath("state.tovik.json");
    QVERIFY(other().writeFile(path, nullptr));
    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QByteArray old = written.readAll();
    written.close();
    QVERIFY(old.contains("\"measuredData\": \"../tovik-data/fe.chi\""));

    // A file size limit below the new text makes the write itself fail
    // (root ignores permissions, but not this).
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous;
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &previous), 0);
    rlimit small = previous;
    small.rlim_cur = 64;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString error;
    const bool saved = flat().writeFile(path, &error);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    QVERIFY(!saved);
    QVERIFY2(error.endsWith("cannot be written: File too large."), qPrintable(error));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), old);
    // No half-written temporary file stays behind.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{"state.tovik.json"});
}

QTEST_GUILESS_MAIN(tst_Scenario)
#include "tst_Scenario.moc"
