#include "AWave.h"
#include "CsvExport.h"
#include "Envelope.h"
#include "MeasuredCurve.h"
#include "Scenario.h"

#include <QtTest>

#include <cmath>
#include <cstring>

// The two CSV files read back: the '#' lines, the header, the row count and
// every number bit for bit against the wave's arrays and bin accessors. The
// wave is built as the main window builds it: AWave(2.0, 0.0, 1.0), 17
// envelope points (i, 1), the grid 0 ... 16 step 0.1 on 1024 points.
class tst_CsvExport : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void stateLines();
    void chiKRows();
    void measuredColumns();
    void chiRRows_data();
    void chiRRows();
    void nothingSynthesised();
    void writeFile();

private:
    AWave* wave = nullptr;
    Envelope* envelope = nullptr;
};

namespace {

struct Csv {
    QList<QByteArray> comments;
    QByteArray header;
    QVector<QVector<double>> rows;
};

// Empty on any malformed line, so that the comparisons fail.
Csv parse(const QByteArray& data) {
    Csv csv;
    if (!data.endsWith('\n') || data.contains('\r'))
        return csv;
    QList<QByteArray> lines = data.split('\n');
    lines.removeLast();
    int i = 0;
    while (i < lines.size() && lines[i].startsWith('#'))
        csv.comments << lines[i++];
    if (i < lines.size())
        csv.header = lines[i++];
    const int columns = csv.header.count(',') + 1;
    for (; i < lines.size(); ++i) {
        QVector<double> row;
        for (const QByteArray& field : lines[i].split(',')) {
            bool ok = false;
            row << field.toDouble(&ok);
            if (!ok)
                return Csv{};
        }
        if (row.size() != columns)
            return Csv{};
        csv.rows << row;
    }
    return csv;
}

quint64 bitsOf(double v) {
    quint64 b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

Scenario state() {
    Scenario s;
    s.n = 3;
    s.r = 0.1 + 0.2;
    s.phi0 = -2.5;
    s.sigma = 0.05;
    s.envelopeOn = false;
    s.debyeWallerOn = false;
    s.windowPositions = {2.5, 4, 15, 16};
    s.envelopePoints[3].setY(0.5);
    s.showReal = true;
    s.showAbs = false;
    s.pointerR = -1.5;
    return s;
}

const char* const chiRHeader =
    "R,chi_re,chi_im,chi_abs,oscillation_re,oscillation_im,oscillation_abs,envelope_re,"
    "envelope_im,envelope_abs,window_re,window_im,window_abs,debye_waller_re,debye_waller_im,"
    "debye_waller_abs";

} // namespace

void tst_CsvExport::init() {
    wave = new AWave(2.0, 0.0, 1.0);
    envelope = new Envelope;
    for (int i = 0; i <= 16; ++i)
        envelope->points << QPointF(i, 1.0);
    wave->envelope = envelope;
    wave->setKGrid(0, 16, 0.1, 1024);
    wave->synthesize();
}

void tst_CsvExport::cleanup() {
    delete wave;
    delete envelope;
    wave = nullptr;
    envelope = nullptr;
}

void tst_CsvExport::stateLines() {
    QList<QByteArray> expected{
        "# n = 3",
        "# R = 0.30000000000000004",
        "# P0 = -2.5",
        "# P1 = 0",
        "# P2 = 0",
        "# sigma = 0.05",
        "# A = 1",
        "# dE0 = 0",
        "# extra shells: none",
        "# path: none",
        "# factors: envelope off, window on, debye_waller off",
        "# window positions: 2.5, 4, 15, 16",
        "# envelope points: 0 1; 1 1; 2 1; 3 0.5; 4 1; 5 1; 6 1; 7 1; 8 1; 9 1; 10 1; 11 1; "
        "12 1; 13 1; 14 1; 15 1; 16 1",
        "# chi(R) shows: real on, imag off, abs off, envelope on, window on, wave on, total on",
        "# pointer R = -1.5",
        "# amplitude: normalised",
    };
    expected.prepend("# Tovik chi(k) data");
    QCOMPARE(parse(CsvExport::chiK(*wave, state())).comments, expected);
    expected[0] = "# Tovik chi(R) data";
    QCOMPARE(parse(CsvExport::chiR(*wave, state(), -2, 10)).comments, expected);
    Scenario physical = state();
    physical.viewPhysical = true;
    QCOMPARE(parse(CsvExport::chiK(*wave, physical)).comments.last(),
             QByteArray("# amplitude: physical"));
    // Physical spectra say what they are.
    wave->setPhysical(true);
    QCOMPARE(parse(CsvExport::chiR(*wave, physical, -2, 10)).comments.last(),
             QByteArray("# chi(R) = dk/sqrt(pi) * sum over the k grid of k^n W(k) chi(k) "
                        "exp(2ikR), dk = 0.1 1/Å, in 1/Å^3 (data the same)"));
    QCOMPARE(parse(CsvExport::chiK(*wave, physical)).comments.last(),
             QByteArray("# amplitude: physical"));
    Scenario shells = state();
    shells.shells = {{2.9, 1}, {0.1 + 0.2, 0.05}};
    shells.phi1 = -0.73;
    shells.amplitude = 10.8;
    const QList<QByteArray> lines = parse(CsvExport::chiR(*wave, shells, -2, 10)).comments;
    QCOMPARE(lines.value(4), QByteArray("# P1 = -0.73"));
    QCOMPARE(lines.value(7), QByteArray("# A = 10.8"));
    QCOMPARE(lines.value(9), QByteArray("# extra shells: R 2.9 amplitude 1; "
                                        "R 0.30000000000000004 amplitude 0.05"));
}

void tst_CsvExport::chiKRows() {
    const Csv csv = parse(CsvExport::chiK(*wave, state()));
    QCOMPARE(csv.header, QByteArray("k,chi,oscillation,envelope,window,debye_waller"));
    QCOMPARE(wave->kCount, 159);
    QCOMPARE(csv.rows.size(), 159);
    const QVector<double>* columns[] = {&wave->kValues,      &wave->chi,
                                        &wave->oscillation,  &wave->envelopeValues,
                                        &wave->windowValues, &wave->debyeWallerValues};
    for (int i = 0; i < csv.rows.size(); ++i) {
        for (int c = 0; c < 6; ++c) {
            if (bitsOf(csv.rows[i][c]) != bitsOf((*columns[c])[i]))
                QFAIL(qPrintable(QString("row %1 column %2").arg(i).arg(c)));
        }
    }
}

// Measured data add their processed values and transform, bit for bit.
void tst_CsvExport::measuredColumns() {
    MeasuredCurve data;
    data.setData({1, 2.05, 7, 12.5}, {0.5, -0.25, 0.125, 0.75}, QStringLiteral("/x/fe.chi"));
    data.process(wave);
    const Csv k = parse(CsvExport::chiK(*wave, state(), &data));
    QCOMPARE(k.header, QByteArray("k,chi,oscillation,envelope,window,debye_waller,data"));
    QCOMPARE(k.comments.last(), QByteArray("# measured data: fe.chi"));
    QCOMPARE(k.rows.size(), 159);
    for (int i = 0; i < 159; ++i)
        QCOMPARE(bitsOf(k.rows[i][6]), bitsOf(data.values[i]));
    const Csv r = parse(CsvExport::chiR(*wave, state(), -2, 10, &data));
    QCOMPARE(r.header, QByteArray(chiRHeader) + ",data_re,data_im,data_abs");
    const double dR = wave->binWidthR();
    const int j0 = static_cast<int>(-2 / dR);
    QVERIFY(!r.rows.isEmpty());
    for (int row = 0; row < r.rows.size(); ++row) {
        const int j = j0 + row;
        QCOMPARE(bitsOf(r.rows[row][16]), bitsOf(wave->realPart(data.spectrum.get(), j)));
        QCOMPARE(bitsOf(r.rows[row][17]), bitsOf(wave->imagPart(data.spectrum.get(), j)));
        QCOMPARE(bitsOf(r.rows[row][18]), bitsOf(wave->magnitude(data.spectrum.get(), j)));
    }
    // Cleared, the files are as without data.
    data.clear();
    QCOMPARE(CsvExport::chiK(*wave, state(), &data), CsvExport::chiK(*wave, state()));
}

void tst_CsvExport::chiRRows_data() {
    QTest::addColumn<double>("rMin");
    QTest::addColumn<double>("rMax");
    QTest::newRow("plot range") << -2.0 << 10.0;
    QTest::newRow("positive part") << 0.0 << 5.0;
    QTest::newRow("up to the last bin") << -2.0 << 1e6;
    QTest::newRow("empty") << 0.5 << 0.2;
}

void tst_CsvExport::chiRRows() {
    QFETCH(double, rMin);
    QFETCH(double, rMax);
    const Csv csv = parse(CsvExport::chiR(*wave, state(), rMin, rMax));
    QCOMPARE(csv.header, QByteArray(chiRHeader));

    const double dR = 3.1415926535 / (0.1 * 1024);
    QCOMPARE(wave->binWidthR(), dR);
    const int first = static_cast<int>(std::trunc(rMin / dR));
    const int last = std::min(static_cast<int>(std::floor(rMax / dR)), 1023);
    QCOMPARE(csv.rows.size(), std::max(last - first + 1, 0));

    const double* spectra[] = {wave->chiSpectrum.get(), wave->oscillationSpectrum.get(),
                               wave->envelopeSpectrum.get(), wave->windowSpectrum.get(),
                               wave->debyeWallerSpectrum.get()};
    for (int i = 0; i < csv.rows.size(); ++i) {
        const int j = first + i;
        QVector<double> expected{j * dR};
        for (const double* s : spectra)
            expected << wave->realPart(s, j) << wave->imagPart(s, j) << wave->magnitude(s, j);
        for (int c = 0; c < expected.size(); ++c) {
            if (bitsOf(csv.rows[i][c]) != bitsOf(expected[c]))
                QFAIL(qPrintable(QString("bin %1 column %2").arg(j).arg(c)));
        }
    }
}

void tst_CsvExport::nothingSynthesised() {
    AWave fresh(2.0, 0.0, 1.0);
    fresh.setKGrid(0, 16, 0.1, 1024);
    const Csv k = parse(CsvExport::chiK(fresh, state()));
    const Csv r = parse(CsvExport::chiR(fresh, state(), -2, 10));
    QCOMPARE(k.comments.size(), 17);
    QCOMPARE(k.header, QByteArray("k,chi,oscillation,envelope,window,debye_waller"));
    QCOMPARE(k.rows.size(), 0);
    QCOMPARE(r.comments.size(), 17);
    QCOMPARE(r.header, QByteArray(chiRHeader));
    QCOMPARE(r.rows.size(), 0);
}

void tst_CsvExport::writeFile() {
    QTemporaryDir dir;
    const QByteArray data = CsvExport::chiK(*wave, state());
    QString error;
    QVERIFY2(CsvExport::write(dir.filePath("chik.csv"), data, &error), qPrintable(error));
    QFile f(dir.filePath("chik.csv"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), data);

    // A folder where a file was expected.
    QVERIFY(!CsvExport::write(dir.filePath("chik.csv/chir.csv"), data, &error));
    QVERIFY2(error.contains("chik.csv/chir.csv cannot be written: ") &&
                 error.endsWith("chik.csv is not a folder."),
             qPrintable(error));
}

QTEST_MAIN(tst_CsvExport)
#include "tst_CsvExport.moc"
