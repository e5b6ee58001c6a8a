#include "ChiDataReader.h"

#include <QTemporaryDir>
#include <QtTest>

using Doubles = QVector<double>;

// Measured chi(k) files as the analysis packages write them, and every kind
// of file that is refused with the line and the reason.
class tst_ChiDataReader : public QObject {
    Q_OBJECT
private slots:
    void formats_data();
    void formats();
    void badText_data();
    void badText();
    void badFiles();
};

void tst_ChiDataReader::formats_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<Doubles>("k");
    QTest::addColumn<Doubles>("chi");
    QTest::newRow("header and E exponents")
        << QByteArray("# XDI/1.0\n# Column.1: k\n#------\n#  k  chi\n"
                      "  .5000000E-01   1.2864742539E+000\n  0.1000000E+00  -3e-2\n")
        << Doubles{0.05, 0.1} << Doubles{1.2864742539, -0.03};
    QTest::newRow("Fortran D and ! comments")
        << QByteArray("! made by hand\n1.0D0 2.5D-03\n\n! between\n1.5d+00 -1.0D-1\n")
        << Doubles{1.0, 1.5} << Doubles{0.0025, -0.1};
    QTest::newRow("commas, % comments, extra columns")
        << QByteArray("% k,chi,mag\n2,0.5,9\n2.25, -0.25 ,9\n3,0,9,9\n") << Doubles{2, 2.25, 3}
        << Doubles{0.5, -0.25, 0};
    QTest::newRow("CRLF, byte-order mark, tabs")
        << QByteArray("\xEF\xBB\xBF# k\tchi\r\n4\t1\r\n4.1\t\t2\r\n") << Doubles{4, 4.1}
        << Doubles{1, 2};
    QTest::newRow("old Mac CR line ends, underflow")
        << QByteArray("# k chi\r1 1e-400\r\r2 -1e100\r") << Doubles{1, 2} << Doubles{0, -1e100};
    QTest::newRow("signs and no final newline")
        << QByteArray("+1 -0.5\n1.0001 +.25") << Doubles{1, 1.0001} << Doubles{-0.5, 0.25};
}

void tst_ChiDataReader::formats() {
    QFETCH(QByteArray, text);
    QFETCH(Doubles, k);
    QFETCH(Doubles, chi);
    Doubles gotK, gotChi;
    QString error;
    QVERIFY2(ChiDataReader::parse(text, &gotK, &gotChi, &error), qPrintable(error));
    QCOMPARE(gotK, k);
    QCOMPARE(gotChi, chi);
}

void tst_ChiDataReader::badText_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("only comments") << QByteArray("# k chi\n\n! x\n") << "no rows of numbers";
    QTest::newRow("one row") << QByteArray("# one\n1 2\n") << "one row of numbers";
    QTest::newRow("one column") << QByteArray("1 2\n2\n") << "Line 2: a row needs two columns";
    QTest::newRow("header without #") << QByteArray("k chi\n1 2\n") << "Line 1: \"k\" is not";
    QTest::newRow("text in chi") << QByteArray("1 2\n2 abc\n3 4\n") << "Line 2: \"abc\"";
    QTest::newRow("nan") << QByteArray("1 nan\n2 1\n") << "Line 1: \"nan\" is not a finite";
    QTest::newRow("inf") << QByteArray("1 1\n2 -inf\n") << "Line 2: \"-inf\" is not a finite";
    QTest::newRow("k repeats") << QByteArray("1 1\n2 1\n2 3\n") << "Line 3: k must increase";
    QTest::newRow("k falls") << QByteArray("# h\n1 1\n0.5 3\n") << "Line 3: k must increase";
    QTest::newRow("beyond 1e100") << QByteArray("1 1\n2 -1.000000000000001e100\n")
                                  << "Line 2: \"-1.000000000000001e100\" is too large";
    QTest::newRow("beyond double")
        << QByteArray("1 1\r2 1\r3e400 1\r") << "Line 3: \"3e400\" is too";
    QTest::newRow("binary") << QByteArray("1 2\n\0\x01\x02", 7) << "binary";
}

void tst_ChiDataReader::badText() {
    QFETCH(QByteArray, text);
    QFETCH(QString, message);
    Doubles k{9}, chi{9};
    QString error;
    QVERIFY(!ChiDataReader::parse(text, &k, &chi, &error));
    QVERIFY2(error.contains(message), qPrintable(error));
    QCOMPARE(k, Doubles{9});
    QCOMPARE(chi, Doubles{9});
}

// Files: too large, missing, a folder, and a bad file named in its message.
void tst_ChiDataReader::badFiles() {
    QTemporaryDir tmp;
    Doubles k, chi;
    QString error;
    const QString big = tmp.filePath(QStringLiteral("big.chi"));
    QFile f(big);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QVERIFY(f.resize(ChiDataReader::maxFileSize + 1));
    f.close();
    QVERIFY(!ChiDataReader::readFile(big, &k, &chi, &error));
    QVERIFY2(error.contains(QStringLiteral("16 MiB")), qPrintable(error));
    // Exactly at the limit: read.
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("1 2\n3 4\n#");
    f.write(QByteArray(int(ChiDataReader::maxFileSize) - 9, 'x'));
    f.close();
    QVERIFY2(ChiDataReader::readFile(big, &k, &chi, &error), qPrintable(error));
    QCOMPARE(chi, Doubles({2, 4}));
    k.clear();
    chi.clear();
    QVERIFY(!ChiDataReader::readFile(tmp.filePath(QStringLiteral("none.chi")), &k, &chi, &error));
    QVERIFY2(error.contains(QStringLiteral("none.chi")), qPrintable(error));
    QVERIFY(!ChiDataReader::readFile(tmp.path(), &k, &chi, &error));
    QVERIFY2(error.contains(QStringLiteral("folder")), qPrintable(error));
    const QString bad = tmp.filePath(QStringLiteral("bad.chi"));
    QFile b(bad);
    QVERIFY(b.open(QIODevice::WriteOnly));
    b.write("1 1\n2 x\n");
    b.close();
    QVERIFY(!ChiDataReader::readFile(bad, &k, &chi, &error));
    QCOMPARE(error, QStringLiteral("bad.chi: Line 2: \"x\" is not a number."));
    QVERIFY(k.isEmpty() && chi.isEmpty());
    // A word that may be a secret pasted into the wrong file is quoted by
    // its first 12 characters; a mistyped number by up to 40.
    QVERIFY(b.open(QIODevice::WriteOnly | QIODevice::Truncate));
    b.write("1 1\n2 ghp_A1b2C3d4E5f6G7h8I9j0\n");
    b.close();
    QVERIFY(!ChiDataReader::readFile(bad, &k, &chi, &error));
    QCOMPARE(error, QString("bad.chi: Line 2: \"ghp_A1b2C3d4\u2026\" is not a number."));
    QVERIFY(b.open(QIODevice::WriteOnly | QIODevice::Truncate));
    b.write("1 1\n2 1.2.3.4.5.6.7.8.9.0.1.2.3.4.5.6.7.8.9.0.1\n");
    b.close();
    QVERIFY(!ChiDataReader::readFile(bad, &k, &chi, &error));
    QCOMPARE(error, QString("bad.chi: Line 2: \"1.2.3.4.5.6.7.8.9.0.1.2.3.4.5.6.7.8.9.0.\u2026\" "
                            "is not a number."));
}

QTEST_MAIN(tst_ChiDataReader)
#include "tst_ChiDataReader.moc"
