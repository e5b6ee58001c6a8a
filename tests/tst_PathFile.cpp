#include "PathFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// Copper's first-shell path file as FEFF 6 wrote it, the same in other
// dresses, and every kind of fault refused with its line.
class tst_PathFile : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void copper_data();
    void copper();
    void reducedMassOfTwoElements();
    void refused_data();
    void refused();
    void refusedFiles();

private:
    QByteArray copperText;
};

namespace {

// The file with line `number` (from 1) changed by `edit`.
QByteArray edited(const QByteArray& text, int number,
                  const std::function<QByteArray(QByteArray)>& edit) {
    QList<QByteArray> lines = text.split('\n');
    lines[number - 1] = edit(lines[number - 1]);
    return lines.join('\n');
}

QByteArray withLine(const QByteArray& text, int number, const QByteArray& line) {
    return edited(text, number, [&](QByteArray) { return line; });
}

} // namespace

void tst_PathFile::initTestCase() {
    QFile file(QStringLiteral(TOVIK_TEST_DATA "/feff0001.dat"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    copperText = file.readAll();
}

void tst_PathFile::copper_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("as FEFF 6 wrote it") << copperText;
    QTest::newRow("CRLF") << QByteArray(copperText).replace("\n", "\r\n");
    // Later FEFF versions write the header lines without '#'.
    QTest::newRow("no # before the header") << QByteArray(copperText).replace("\n#", "\n ").mid(1);
}

void tst_PathFile::copper() {
    QFETCH(QByteArray, text);
    PathData path;
    QString error;
    QVERIFY2(PathFile::parse(text, &path, &error), qPrintable(error));
    QCOMPARE(path.legs, 2);
    QCOMPARE(path.degeneracy, 12.0);
    QCOMPARE(path.reff, 2.5478);
    QVERIFY(path.header.first().startsWith("Cu  metal  fcc a=3.603"));
    QCOMPARE(path.atoms.size(), 2);
    QCOMPARE(path.atoms[0].atomicNumber, 29);
    QCOMPARE(path.atoms[1].atomicNumber, 29);
    QCOMPARE(path.atoms[1].potential, 1);
    QCOMPARE(path.atoms[1].y, -1.8016);
    QCOMPARE(path.atoms[1].z, 1.8016);
    QCOMPARE(path.atoms[1].label, QStringLiteral("Cu"));
    // Half of copper's standard atomic weight, 63.546.
    QVERIFY(qAbs(path.reducedMass - 31.773) < 1e-9);
    QCOMPARE(path.rows(), 59);
    const int last = path.rows() - 1;
    const QVector<double> first{path.k[0],   path.realPhc[0], path.mag[0],  path.phase[0],
                                path.red[0], path.lambda[0],  path.realP[0]};
    QCOMPARE(first, (QVector<double>{0, 3.5015, 0, -5.132, 0.9872, 15.637, 1.8071}));
    const QVector<double> end{path.k[last],   path.realPhc[last], path.mag[last],  path.phase[last],
                              path.red[last], path.lambda[last],  path.realP[last]};
    QCOMPARE(end, (QVector<double>{20, -2.2337, 0.10466, -15.591, 0.8754, 46.332, 20.025}));
}

void tst_PathFile::reducedMassOfTwoElements() {
    // An Fe-O pair: 55.845 · 15.999 / (55.845 + 15.999) amu.
    QByteArray text = withLine(copperText, 10, "#  .0 .0 .0  0  26 Fe  absorbing atom");
    text = withLine(text, 11, "#  .0 .0 2.0  1  8 O");
    PathData path;
    QString error;
    QVERIFY2(PathFile::parse(text, &path, &error), qPrintable(error));
    QVERIFY(qAbs(path.reducedMass - 12.43617) < 1e-5);
}

void tst_PathFile::refused_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("message");
    // Lines 1-11 are the header and the atoms, 12 names the columns, rows from 13 on.
    const QByteArray& t = copperText;
    QTest::newRow("no column header")
        << withLine(t, 12, "") << "Line 13: the line naming the columns (k real[2*phc] mag[feff]";
    QTest::newRow("no columns at all")
        << t.left(t.indexOf("#   k")) << "no line naming the columns";
    QTest::newRow("short row") << edited(t, 15, [](QByteArray l) { return l.left(40); })
                               << "Line 15: a row needs seven numbers";
    QTest::newRow("k not increasing")
        << withLine(t, 15, t.split('\n')[13])
        << "Line 15: k must increase from row to row; 0.1 Å⁻¹ follows 0.1 Å⁻¹";
    QTest::newRow("lambda zero") << edited(t, 20, [](QByteArray l) {
        return l.replace("1.6388E+01", "0.0");
    }) << "Line 20: the mean free path lambda must be positive; it is 0";
    QTest::newRow("not a number") << edited(t, 30, [](QByteArray l) {
        return l.replace("E+00", "Ex00");
    }) << "Line 30: \"3.4640Ex00\" (real[2*phc]) is not a finite number.";
    QTest::newRow("NaN") << edited(t, 30, [](QByteArray l) {
        return l.replace("3.4640E+00", "nan");
    }) << "Line 30: \"nan\" (real[2*phc]) is not a finite number.";
    QTest::newRow("measured chi, not a path")
        << QByteArray("# k chi\n1 0.5\n2 0.25\n") << "This is not a scattering path file";
    QTest::newRow("binary") << QByteArray("#  2  12.0 2.5 nleg\0", 20) << "This is a binary file";
    QTest::newRow("nleg line without numbers")
        << withLine(t, 8, "# nleg, deg, reff") << "Line 8: the line naming nleg, deg and reff";
    QTest::newRow("an atom missing")
        << withLine(t, 11, "") << "Line 12: a path of 2 legs lists 2 atoms; this one lists 1.";
    QTest::newRow("atom without Z")
        << withLine(t, 11, "#  .0 1.8 1.8  1") << "Line 11: an atom's line needs x, y, z";
    QTest::newRow("unknown element") << withLine(t, 11, "#  .0 1.8 1.8  1  97 Bk")
                                     << "Line 11: Z = 97 is not an element from 1 to 96.";
    QTest::newRow("two rows") << t.left(t.indexOf("   .200"))
                              << "holds 2 rows of numbers; at least 3";
}

void tst_PathFile::refused() {
    QFETCH(QByteArray, text);
    QFETCH(QString, message);
    PathData path;
    path.legs = -7;
    QString error;
    QVERIFY(!PathFile::parse(text, &path, &error));
    QVERIFY2(error.contains(message), qPrintable(error));
    QCOMPARE(path.legs, -7);
}

void tst_PathFile::refusedFiles() {
    QTemporaryDir dir;
    PathData path;
    QString error;
    QVERIFY(PathFile::readFile(QStringLiteral(TOVIK_TEST_DATA "/feff0001.dat"), &path, &error));
    QCOMPARE(path.rows(), 59);

    QVERIFY(!PathFile::readFile(dir.filePath("missing.dat"), &path, &error));
    QVERIFY2(error.contains("missing.dat"), qPrintable(error));

    QFile large(dir.filePath("large.dat"));
    QVERIFY(large.open(QIODevice::WriteOnly));
    large.write(QByteArray(PathFile::maxFileSize + 1, ' '));
    large.close();
    QVERIFY(!PathFile::readFile(large.fileName(), &path, &error));
    QVERIFY2(error.contains("larger than 1 MiB"), qPrintable(error));

    QFile bad(dir.filePath("feff\x1b[31m.dat"));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write(withLine(copperText, 12, ""));
    bad.close();
    QVERIFY(!PathFile::readFile(bad.fileName(), &path, &error));
    QVERIFY2(error.startsWith("feff\\x1b[31m.dat: Line 13: "), qPrintable(error));
}

QTEST_GUILESS_MAIN(tst_PathFile)
#include "tst_PathFile.moc"
