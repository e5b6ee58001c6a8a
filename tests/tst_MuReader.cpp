#include "MuReader.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

#include <cmath>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

using Doubles = QVector<double>;

// mu(E) in the layouts the field writes, the measured files shipped in
// data/, a pipe, and every refusal with the line and the reason.
class tst_MuReader : public QObject {
    Q_OBJECT
private slots:
    void layouts_data();
    void layouts();
    void measured_data();
    void measured();
    void pipe();
    void refusals_data();
    void refusals();
    void firstRows();
};

namespace {

// n rows "E  a  b  c" with E = 8000 + 10 i and the columns a, b, c given by
// the caller from i; the header goes first.
QByteArray rows(const QByteArray& header, int n, const std::function<QByteArray(int)>& columns) {
    QByteArray text = header;
    for (int i = 0; i < n; ++i)
        text += QByteArray::number(8000 + 10 * i) + ' ' + columns(i) + '\n';
    return text;
}

Doubles energies(int n) {
    Doubles e;
    for (int i = 0; i < n; ++i)
        e << 8000 + 10 * i;
    return e;
}

Doubles values(int n, const std::function<double(int)>& f) {
    Doubles v;
    for (int i = 0; i < n; ++i)
        v << f(i);
    return v;
}

const MuColumns automatic{0, 0, 0, false}; // marks "let the reader choose"

} // namespace

Q_DECLARE_METATYPE(MuColumns)

void tst_MuReader::layouts_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<MuColumns>("columns");
    QTest::addColumn<Doubles>("mu");
    QTest::addColumn<QString>("source");
    const int n = 25;
    auto i0 = [](int i) { return 1000.0 + i; };
    auto it = [](int i) { return 400.0 + 3 * i; };
    auto cols = [&](int i) {
        return QByteArray::number(i0(i), 'g', 17) + ' ' + QByteArray::number(it(i), 'g', 17) + ' ' +
               QByteArray::number(0.5 * i, 'g', 17);
    };
    QTest::newRow("plain, # comments")
        << rows("# energy mu\n#--\n", n, [](int i) { return QByteArray::number(0.25 * i); })
        << automatic << values(n, [](int i) { return 0.25 * i; }) << "column 2";
    QTest::newRow("plain, ; comments, labels, extra columns, CRLF")
        << rows("; from the beamline\nenergy mu other\n", n,
                [](int i) { return QByteArray::number(i) + " 99\r"; })
        << automatic << values(n, [](int i) { return double(i); }) << "column 2";
    QTest::newRow("plain, commas and Fortran D")
        << rows("", n, [](int i) { return ", " + QByteArray::number(i) + "D-01"; }) << automatic
        << values(n, [](int i) { return i / 10.0; }) << "column 2";
    QTest::newRow("XDI mutrans")
        << rows("# XDI/1.0\n# Column.1: energy eV\n# Column.2: i0\n# Column.3: mutrans\n# ///\n"
                "#----\n#  energy i0 mutrans\n",
                n, [](int i) { return "5 " + QByteArray::number(-0.5 + 0.01 * i); })
        << automatic << values(n, [](int i) { return -0.5 + 0.01 * i; }) << "mutrans";
    QTest::newRow("XDI mufluor, energy not first")
        << QByteArray(
               "# XDI/1.0 GSE/1.0\n# Column.2: energy eV\n# Column.1: mufluor\n# ///\n#--\n") +
               [&] {
                   QByteArray t;
                   for (int i = 0; i < n; ++i)
                       t += QByteArray::number(0.1 * i) + ' ' + QByteArray::number(7000 + i) + '\n';
                   return t;
               }()
        << automatic << values(n, [](int i) { return 0.1 * i; }) << "mufluor";
    QTest::newRow("XDI i0 and itrans: ln(i0/itrans)")
        << rows("# XDI/1.0\n# Column.1: energy eV\n# Column.2: i0\n# Column.3: itrans\n"
                "# Column.4: irefer\n# ///\n#----\n",
                n, cols)
        << automatic << values(n, [&](int i) { return std::log(i0(i) / it(i)); })
        << "ln(i0/itrans)";
    QTest::newRow("XDI i0 and ifluor: ifluor/i0")
        << rows("# XDI/1.0\n# Column.1: energy eV\n# Column.2: I0\n# Column.3: IFluor\n# ///\n", n,
                cols)
        << automatic << values(n, [&](int i) { return it(i) / i0(i); }) << "ifluor/i0";
    QTest::newRow("chosen: ln(3 / 2)")
        << rows("", n, cols) << MuColumns{1, 3, 2, true}
        << values(n, [&](int i) { return std::log(it(i) / i0(i)); }) << "ln(column 3 / column 2)";
    QTest::newRow("chosen: 3 / 2, no log")
        << rows("", n, cols) << MuColumns{1, 3, 2, false}
        << values(n, [&](int i) { return it(i) / i0(i); }) << "column 3 / column 2";
    QTest::newRow("chosen: ln(2), no denominator")
        << rows("", n, cols) << MuColumns{1, 2, 0, true}
        << values(n, [&](int i) { return std::log(i0(i)); }) << "ln(column 2)";
    QTest::newRow("chosen: 4 of an XDI file")
        << rows("# XDI/1.0\n# Column.1: energy eV\n# Column.2: i0\n# Column.3: itrans\n", n, cols)
        << MuColumns{1, 4, 0, false} << values(n, [](int i) { return 0.5 * i; }) << "column 4";
}

void tst_MuReader::layouts() {
    QFETCH(QByteArray, text);
    QFETCH(MuColumns, columns);
    QFETCH(Doubles, mu);
    QFETCH(QString, source);
    MuData data;
    QString error;
    const bool ok = columns.energy == 0 ? MuReader::parse(text, &data, &error)
                                        : MuReader::parse(text, columns, &data, &error);
    QVERIFY2(ok, qPrintable(error));
    QCOMPARE(data.mu.size(), mu.size());
    for (int i = 0; i < mu.size(); ++i)
        QVERIFY2(std::abs(data.mu[i] - mu[i]) <= 1e-15 * std::max(1.0, std::abs(mu[i])),
                 qPrintable(QString::number(i)));
    if (QByteArray(QTest::currentDataTag()).contains("energy not first"))
        QCOMPARE(data.energy, values(mu.size(), [](int i) { return 7000.0 + i; }));
    else
        QCOMPARE(data.energy, energies(mu.size()));
    QCOMPARE(data.source, source);
}

void tst_MuReader::measured_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("points");
    QTest::addColumn<double>("firstEnergy");
    QTest::addColumn<double>("firstMu");
    QTest::addColumn<double>("lastEnergy");
    QTest::addColumn<double>("lastMu");
    QTest::addColumn<QString>("source");
    // The first and last rows as the files hold them.
    QTest::newRow("copper 10 K") << "cu_10k.xmu" << 612 << 8786.204 << 1.013661 << 11362.47
                                 << 1.344309 << "column 2";
    QTest::newRow("copper 150 K") << "cu_150k.xmu" << 618 << 8774.104 << 0.9082243 << 11365.49
                                  << 1.275257 << "column 2";
    QTest::newRow("Fe3C, XDI") << "fe3c_rt.xdi" << 348 << 6962.0 << -0.069530319 << 7969.247
                               << 0.64833533 << "mutrans";
}

void tst_MuReader::measured() {
    QFETCH(QString, file);
    QFETCH(int, points);
    QFETCH(double, firstEnergy);
    QFETCH(double, firstMu);
    QFETCH(double, lastEnergy);
    QFETCH(double, lastMu);
    QFETCH(QString, source);
    MuData data;
    QString error;
    QVERIFY2(MuReader::readFile(QStringLiteral(TOVIK_TEST_DATA "/") + file, &data, &error),
             qPrintable(error));
    QCOMPARE(data.energy.size(), points);
    QCOMPARE(data.mu.size(), points);
    QCOMPARE(data.energy.first(), firstEnergy);
    QCOMPARE(data.mu.first(), firstMu);
    QCOMPARE(data.energy.last(), lastEnergy);
    QCOMPARE(data.mu.last(), lastMu);
    QCOMPARE(data.source, source);
}

// A named pipe, as a shell's <(gunzip -c file) gives one.
void tst_MuReader::pipe() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray path = dir.filePath(QStringLiteral("mu.fifo")).toLocal8Bit();
    QVERIFY(::mkfifo(path.constData(), 0600) == 0);
    const QByteArray text = rows("# piped\n", 30, [](int i) { return QByteArray::number(i); });
    std::thread writer([&] {
        const int fd = ::open(path.constData(), O_WRONLY);
        if (fd >= 0) {
            qint64 done = 0;
            while (done < text.size()) {
                const auto n = ::write(fd, text.constData() + done, size_t(text.size() - done));
                if (n <= 0)
                    break;
                done += n;
            }
            ::close(fd);
        }
    });
    MuData data;
    QString error;
    const bool ok = MuReader::readFile(QString::fromLocal8Bit(path), &data, &error);
    writer.join();
    QVERIFY2(ok, qPrintable(error));
    QCOMPARE(data.energy, energies(30));
    QCOMPARE(data.mu, values(30, [](int i) { return double(i); }));
}

void tst_MuReader::refusals_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<MuColumns>("columns");
    QTest::addColumn<QString>("message");
    auto good = [](int i) { return QByteArray::number(1 + i) + " 2 3"; };
    QByteArray backwards = rows("# x\n", 25, good);
    backwards.replace("8100 ", "8080 ");
    QTest::newRow("energies not increasing")
        << backwards << automatic
        << "Line 12: energies must increase from row to row; 8080 eV "
           "follows 8090 eV.";
    QByteArray repeated = rows("", 25, good);
    repeated.replace("8030 ", "8020 ");
    QTest::newRow("energy repeated") << repeated << automatic
                                     << "Line 4: energies must increase from row to row; 8020 eV "
                                        "follows 8020 eV.";
    QTest::newRow("19 points") << rows("", 19, good) << automatic
                               << "The file holds 19 rows of numbers; mu(E) needs at least 20.";
    QTest::newRow("no numbers") << QByteArray("# only\n# comments\n") << automatic
                                << "The file holds no rows of numbers.";
    QTest::newRow("column missing") << rows("#\n", 25, good) << MuColumns{1, 5, 0, false}
                                    << "Line 2: column 5 does not exist: this row has 4.";
    QTest::newRow("denominator missing") << rows("", 25, good) << MuColumns{1, 2, 7, true}
                                         << "Line 1: column 7 does not exist: this row has 4.";
    QTest::newRow("one column") << QByteArray("8000\n8001\n") << automatic
                                << "Line 1: column 2 does not exist: this row has 1.";
    QTest::newRow("column 0") << rows("", 25, good) << MuColumns{0, 2, 0, false}
                              << "Column numbers start at 1.";
    QByteArray negative = rows("", 25, good);
    negative.replace("8070 8 2 3", "8070 -8 2 3");
    QTest::newRow("log of a negative ratio")
        << negative << MuColumns{1, 2, 3, true}
        << "Line 8: the logarithm needs a positive ratio, but -8 / 2 is not.";
    QByteArray zero = rows("", 25, good);
    zero.replace("8000 1 2 3", "8000 0 2 3");
    QTest::newRow("log of zero") << zero << MuColumns{1, 2, 0, true}
                                 << "Line 1: the logarithm needs a positive value, but 0 is not.";
    QByteArray divide = rows("", 25, good);
    divide.replace("8010 2 2 3", "8010 2 0 3");
    QTest::newRow("zero denominator")
        << divide << MuColumns{1, 4, 3, false} << "Line 2: the denominator (column 3) is zero.";
    QTest::newRow("not a number") << rows("", 25, good).replace("8050 6", "8050 six") << automatic
                                  << "Line 6: \"six\" is not a number.";
    QTest::newRow("too large") << rows("", 25, good).replace("8050 6", "8050 2e100") << automatic
                               << "Line 6: \"2e100\" is too large: values must lie within ±1e100.";
    QTest::newRow("ratio too large")
        << rows("", 25, good).replace("8050 6 2", "8050 1e90 1e-90") << MuColumns{1, 2, 3, false}
        << "Line 6: mu = 1e+90 / 1e-90 is too large.";
    QTest::newRow("binary") << QByteArray("8000 1\n\0\n", 9) << automatic
                            << "Line 1: this is a binary file, not columns of numbers.";
    QTest::newRow("XDI without mu")
        << rows("# XDI/1.0\n# Column.1: energy\n# Column.2: i0\n# Column.3: irefer\n", 25, good)
        << automatic
        << "The XDI file names no column of mu (mutrans, mufluor or mu), nor i0 with itrans or "
           "ifluor.";
    QTest::newRow("XDI bad column line")
        << rows("# XDI/1.0\n# Column.1: energy\n# Column.two: mu\n", 25, good) << automatic
        << "Line 3: an XDI column line must read \"# Column.N: name\" with N from 1 on.";
    QTest::newRow("XDI column beyond the rows")
        << rows("# XDI/1.0\n# Column.1: energy\n# Column.9: mutrans\n", 25, good) << automatic
        << "Line 4: column 9 does not exist: this row has 4.";
    QTest::newRow("control characters escaped")
        << rows("", 25, good).replace("8050 6", "8050 \x1b[31m") << automatic
        << "Line 6: \"\\x1b[31m\" is not a number.";
}

// Every refusal names the line and the fault and leaves the data alone.
void tst_MuReader::refusals() {
    QFETCH(QByteArray, text);
    QFETCH(MuColumns, columns);
    QFETCH(QString, message);
    MuData data;
    data.source = QStringLiteral("untouched");
    QString error;
    const bool ok = columns.energy == 0 && columns.numerator == 0
                        ? MuReader::parse(text, &data, &error)
                        : MuReader::parse(text, columns, &data, &error);
    QVERIFY(!ok);
    QCOMPARE(error, message);
    QCOMPARE(data.source, QStringLiteral("untouched"));
    QVERIFY(data.energy.isEmpty());

    // The same through a file: its name goes first.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bad.dat"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    QVERIFY(columns.energy == 0 && columns.numerator == 0
                ? !MuReader::readFile(path, &data, &error)
                : !MuReader::readFile(path, columns, &data, &error));
    QCOMPARE(error, "bad.dat: " + message);
}

// The preview of the columns dialog: the first rows that are not comments.
void tst_MuReader::firstRows() {
    const QByteArray text("# XDI/1.0\n; note\n\n  energy\ti0 , it\r\n8000 1.5D0 7\n"
                          "8010 \x1b 8\n8020 3 9\n8030 4 10\n");
    const QVector<QStringList> two = MuReader::firstRows(text, 2);
    QCOMPARE(two, (QVector<QStringList>{{"energy", "i0", "it"}, {"8000", "1.5D0", "7"}}));
    const QVector<QStringList> all = MuReader::firstRows(text, 100);
    QCOMPARE(all.size(), 5);
    QCOMPARE(all[2], (QStringList{"8010", "\\x1b", "8"}));
    QVERIFY(MuReader::firstRows(text, 0).isEmpty());
    QVERIFY(MuReader::firstRows(QByteArray("1 2\n\0", 5), 3).isEmpty());

    QTemporaryDir dir;
    QVector<QStringList> table;
    QString error;
    QVERIFY(MuReader::firstRowsOfFile(QStringLiteral(TOVIK_TEST_DATA "/fe3c_rt.xdi"), 1, &table,
                                      &error));
    QCOMPARE(table, (QVector<QStringList>{{"6962.0000", "-0.69530319E-01", "303823.80"}}));
    QVERIFY(!MuReader::firstRowsOfFile(dir.filePath(QStringLiteral("none")), 1, &table, &error));
    QVERIFY(error.contains(QStringLiteral("none")));
    QCOMPARE(table.size(), 1);
}

QTEST_GUILESS_MAIN(tst_MuReader)
#include "tst_MuReader.moc"
