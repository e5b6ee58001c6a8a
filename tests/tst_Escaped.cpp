#include "Escaped.h"

#include <QtTest>

// Untrusted text as messages show it, against escapes written out by hand.
class tst_Escaped : public QObject {
    Q_OBJECT
private slots:
    void text_data();
    void text();
    void field_data();
    void field();
};

void tst_Escaped::text_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("control");
    const auto u = [](char32_t c) {
        if (!QChar::requiresSurrogates(c))
            return QString(QChar(char16_t(c)));
        const QChar pair[2] = {QChar(QChar::highSurrogate(c)), QChar(QChar::lowSurrogate(c))};
        return QString(pair, 2);
    };
    QTest::newRow("plain") << "copper.chi"
                           << "copper.chi" << false;
    QTest::newRow("Greek and Japanese kept")
        << QString("χ(R) 授業") << QString("χ(R) 授業") << false;
    QTest::newRow("emoji kept") << u(0x1f600) << u(0x1f600) << false;
    QTest::newRow("escape") << "a\x1b[31mb"
                            << "a\\x1b[31mb" << true;
    QTest::newRow("tab and newline") << "a\tb\n"
                                     << "a\\x09b\\x0a" << true;
    QTest::newRow("delete") << "a\x7f"
                            << "a\\x7f" << true;
    QTest::newRow("next line U+0085") << "a" + u(0x85) << "a\\x85" << true;
    QTest::newRow("right-to-left override U+202E") << "evil" + u(0x202e) + "fdp.chi"
                                                   << "evil\\u202efdp.chi" << true;
    QTest::newRow("left-to-right isolate U+2066") << u(0x2066) + "x"
                                                  << "\\u2066x" << true;
    QTest::newRow("Arabic letter mark U+061C") << u(0x61c) << "\\u061c" << true;
    QTest::newRow("zero-width space U+200B") << "a" + u(0x200b) + "b"
                                             << "a\\u200bb" << true;
    QTest::newRow("byte order mark U+FEFF") << "k" + u(0xfeff) << "k\\ufeff" << true;
    QTest::newRow("line separator U+2028") << u(0x2028) << "\\u2028" << true;
    QTest::newRow("tag U+E0041") << "x" + u(0xe0041) << "x\\U000e0041" << true;
    QTest::newRow("41 characters cut at 40")
        << QString(41, 'a') << QString(40, 'a') + QChar(0x2026) << false;
    QTest::newRow("40 characters whole") << QString(40, 'a') << QString(40, 'a') << false;
}

void tst_Escaped::text() {
    QFETCH(QString, input);
    QFETCH(QString, shown);
    QFETCH(bool, control);
    QCOMPARE(Escaped::text(input), shown);
    QCOMPARE(Escaped::text(input.toUtf8()), shown);
    QCOMPARE(Escaped::hasControl(input), control);
    QVERIFY(!Escaped::hasControl(Escaped::text(input)));
}

void tst_Escaped::field_data() {
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("shown");
    QTest::newRow("short word") << QByteArray("abc") << "abc";
    QTest::newRow("12-character word whole") << QByteArray("abcdefghijkl") << "abcdefghijkl";
    QTest::newRow("key-like word")
        << QByteArray("sk_live_51HxQabcdefghij") << QString("sk_live_51Hx") + QChar(0x2026);
    QTest::newRow("digits and one letter")
        << QByteArray("1234567890123x") << QString("123456789012") + QChar(0x2026);
    QTest::newRow("long mistyped number")
        << QByteArray("1.5e-3.7e+2,1.5d-3.7D+2-1.5e-3.7e+2,1.5d-3")
        << QString("1.5e-3.7e+2,1.5d-3.7D+2-1.5e-3.7e+2,1.5d") + QChar(0x2026);
    QTest::newRow("word with a control") << QByteArray("a\x1b") << "a\\x1b";
}

void tst_Escaped::field() {
    QFETCH(QByteArray, input);
    QFETCH(QString, shown);
    QCOMPARE(Escaped::field(input), shown);
}

QTEST_GUILESS_MAIN(tst_Escaped)
#include "tst_Escaped.moc"
