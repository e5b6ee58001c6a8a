#include "DispArea.h"
#include "WindowFunc.h"

#include <QToolTip>
#include <QTranslator>
#include <QtTest>

#include <cmath>
#include <limits>

// The window is driven as the user drives it: text typed into its boxes,
// mouse events delivered to a real drawing surface whose relay the window
// reads. The surface's frame is fixed by hand at 100 pixels per unit of k
// (0 ... 16 over 1600 pixels) and 50 per unit of y (-2 ... 2 over 200 pixels,
// y growing upward), so the zero line lies at pixel y 100.
class tst_WindowFunc : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startsAsTabled();
    void formTranslates();
    void valueAtTabledPoints_data();
    void valueAtTabledPoints();
    void typing_data();
    void typing();
    void editingFinishesOnFocusChange();
    void setPosRefuses_data();
    void setPosRefuses();
    void equalNeighboursKeepFactor();
    void narrowGapStaysFinite();
    void hitTest_data();
    void hitTest();
    void nearestHandleWinsFirstOnTies_data();
    void nearestHandleWinsFirstOnTies();
    void dragPastNeighbourKeepsHandle();
    void mouseWithoutFrameDoesNothing();

private:
    void send(QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons);
    void wire();
    static QVector<double> posList(const QString& s);

    WindowFunc* window = nullptr;
    DispArea* area = nullptr;
};

// The k of pixel x and the pixel x of k in the fixed frame.
static int px(double k) {
    return qRound(k * 100);
}
static const int zeroLine = 100;

void tst_WindowFunc::init() {
    window = new WindowFunc(nullptr);
    area = new DispArea;
    area->resize(1600, 200);
    area->coord.setPixelArea(0, 200, 1600, 0);
    area->coord.setScale(0, -2, 16, 2);
}

void tst_WindowFunc::cleanup() {
    delete window;
    delete area;
    window = nullptr;
    area = nullptr;
}

void tst_WindowFunc::wire() {
    window->coord = &area->coord;
    window->mouse = &area->mouse;
    connect(&area->mouse, SIGNAL(mPressed()), window, SLOT(mPressed()));
    connect(&area->mouse, SIGNAL(mMoved()), window, SLOT(mMoved()));
    connect(&area->mouse, SIGNAL(mReleased()), window, SLOT(mReleased()));
}

void tst_WindowFunc::send(QEvent::Type type, QPoint pos, Qt::MouseButton button,
                          Qt::MouseButtons buttons) {
    QMouseEvent e(type, QPointF(pos), QPointF(area->mapToGlobal(pos)), button, buttons,
                  Qt::NoModifier);
    QCoreApplication::sendEvent(area, &e);
}

QVector<double> tst_WindowFunc::posList(const QString& s) {
    QVector<double> v;
    for (const QString& part : s.split(','))
        v << part.toDouble();
    return v;
}

void tst_WindowFunc::startsAsTabled() {
    QCOMPARE(window->objectName(), QString("WindowFunc"));
    QCOMPARE(window->size(), QSize(469, 290));
    QCOMPARE(window->positions, QVector<double>({3, 4, 15, 16}));
    QCOMPARE(window->edits,
             QVector<QLineEdit*>({window->Pos1, window->Pos2, window->Pos3, window->Pos4}));
    const QStringList texts{"3", "4", "15", "16"};
    for (int i = 0; i < 4; ++i) {
        QLineEdit* e = window->edits[i];
        QCOMPARE(e->objectName(), QString("Pos%1").arg(i + 1));
        QCOMPARE(e->text(), texts[i]);
        QVERIFY(!e->isReadOnly());
        QCOMPARE(e->styleSheet(), QString("background-color: rgb(254, 255, 222);"));
        QCOMPARE(e->alignment() & (Qt::AlignHorizontal_Mask | Qt::AlignVertical_Mask),
                 Qt::AlignRight | Qt::AlignVCenter);
        QCOMPARE(e->sizePolicy().horizontalPolicy(), QSizePolicy::Preferred);
        QCOMPARE(e->sizePolicy().verticalPolicy(), QSizePolicy::Fixed);
        int row, col, rs, cs;
        window->gridLayout->getItemPosition(window->gridLayout->indexOf(e), &row, &col, &rs, &cs);
        QCOMPARE(row, 0);
        QCOMPARE(col, i + 2);
    }
    QCOMPARE(window->gridLayout->spacing(), 3);
    QCOMPARE(window->gridLayout->contentsMargins(), QMargins(3, 3, 3, 3));
    QVERIFY(!window->radioButton->isEnabled());
    QVERIFY(window->radioButton_2->isChecked());
    QCOMPARE(window->radioButton->text(), QString("&Linear"));
    // Greyed out, it still says why when the pointer rests on it.
    window->show();
    QHelpEvent hover(QEvent::ToolTip, QPoint(2, 2), window->radioButton->mapToGlobal(QPoint(2, 2)));
    QCoreApplication::sendEvent(window->radioButton, &hover);
    QVERIFY(QToolTip::isVisible());
    QVERIFY(QToolTip::text().contains(QString("not available, because")));
    QToolTip::hideText();
    QCOMPARE(window->radioButton_2->text(), QString("H&anning"));
    QCOMPARE(window->windowTitle(), QString("Frame"));
    QCOMPARE(window->riseFactor, 3.1415926535);
    QCOMPARE(window->fallFactor, 3.1415926535);
    QCOMPARE(window->riseSpan, 1.0);
    QCOMPARE(window->fallSpan, 1.0);
    QVERIFY(!window->grabbed);
    QCOMPARE(window->grabbedIndex, -1);
    QVERIFY(!window->mouse);
    QVERIFY(!window->coord);
}

// The form's texts must be the catalogue's source texts, character for
// character, or they silently stay English.
void tst_WindowFunc::formTranslates() {
    QTranslator translator;
    QVERIFY(translator.load(":/Tovik_ja_JP"));
    QCoreApplication::installTranslator(&translator);
    WindowFunc w(nullptr);
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(w.radioButton->text(), QString::fromUtf8("線形"));
    QCOMPARE(w.radioButton_2->text(), QString::fromUtf8("ハニング関数"));
    QCOMPARE(w.windowTitle(), QString::fromUtf8("窓関数コントロールパネル"));
}

void tst_WindowFunc::valueAtTabledPoints_data() {
    QTest::addColumn<double>("k");
    QTest::addColumn<double>("expected");
    // Rise and fall are half periods of a cosine; closed forms below use the
    // full-precision pi, so they agree with the program's constant to ~1e-10.
    QTest::newRow("below Pos1") << -1.0 << 0.0;
    QTest::newRow("at Pos1") << 3.0 << 0.0;
    QTest::newRow("rise quarter") << 3.25 << (1 - std::cos(M_PI / 4)) / 2;
    QTest::newRow("rise middle") << 3.5 << 0.5;
    QTest::newRow("at Pos2") << 4.0 << 1.0;
    QTest::newRow("plateau") << 9.0 << 1.0;
    QTest::newRow("at Pos3") << 15.0 << 1.0;
    QTest::newRow("fall middle") << 15.5 << 0.5;
    QTest::newRow("fall three quarters") << 15.75 << (1 + std::cos(0.75 * M_PI)) / 2;
    QTest::newRow("at Pos4") << 16.0 << 0.0;
    QTest::newRow("beyond Pos4") << 40.0 << 0.0;
}

void tst_WindowFunc::valueAtTabledPoints() {
    QFETCH(double, k);
    QFETCH(double, expected);
    QVERIFY2(std::abs(window->valueAt(k) - expected) < 1e-9,
             qPrintable(QString::number(window->valueAt(k), 'g', 17)));
}

void tst_WindowFunc::typing_data() {
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("positions");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<int>("emissions");

    const QStringList unchanged{"3", "4", "15", "16"};
    QTest::newRow("beyond all renumbers")
        << 0 << "20"
        << "4,15,16,20" << QStringList{"4", "15", "16", "20"} << 1;
    QTest::newRow("within its place") << 1 << "3.5"
                                      << "3,3.5,15,16" << QStringList{"3", "3.5", "15", "16"} << 1;
    QTest::newRow("below all") << 3 << "-2.25"
                               << "-2.25,3,4,15" << QStringList{"-2.25", "3", "4", "15"} << 1;
    QTest::newRow("exponent form") << 2 << "1.2e1"
                                   << "3,4,12,16" << QStringList{"3", "4", "12", "16"} << 1;
    // The same number in another spelling is no change: not even the box is
    // rewritten.
    QTest::newRow("same value retyped") << 1 << "4.0"
                                        << "3,4,15,16" << QStringList{"3", "4.0", "15", "16"} << 0;
    // Text that is no finite number is refused and the box shows the
    // position again.
    QTest::newRow("letters") << 2 << "abc"
                             << "3,4,15,16" << unchanged << 0;
    QTest::newRow("empty") << 2 << ""
                           << "3,4,15,16" << unchanged << 0;
    QTest::newRow("trailing junk") << 2 << "7x"
                                   << "3,4,15,16" << unchanged << 0;
    QTest::newRow("nan") << 0 << "nan"
                         << "3,4,15,16" << unchanged << 0;
    QTest::newRow("inf") << 3 << "inf"
                         << "3,4,15,16" << unchanged << 0;
    QTest::newRow("-inf") << 0 << "-inf"
                          << "3,4,15,16" << unchanged << 0;
    QTest::newRow("overflow") << 3 << "1e400"
                              << "3,4,15,16" << unchanged << 0;
}

void tst_WindowFunc::typing() {
    QFETCH(int, box);
    QFETCH(QString, typed);
    QFETCH(QString, positions);
    QFETCH(QStringList, shown);
    QFETCH(int, emissions);

    QSignalSpy updated(window, SIGNAL(updated()));
    QLineEdit* edit = window->edits[box];
    edit->clear();
    QTest::keyClicks(edit, typed);
    QTest::keyClick(edit, Qt::Key_Return);

    QCOMPARE(window->positions, posList(positions));
    for (int i = 0; i < 4; ++i)
        QCOMPARE(window->edits[i]->text(), shown[i]);
    QCOMPARE(updated.count(), emissions);
    for (double k = -1; k <= 21; k += 0.05)
        QVERIFY(std::isfinite(window->valueAt(k)));
}

void tst_WindowFunc::editingFinishesOnFocusChange() {
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    window->Pos1->setFocus();
    QTRY_VERIFY(window->Pos1->hasFocus());
    QSignalSpy updated(window, SIGNAL(updated()));
    window->Pos1->selectAll();
    QTest::keyClicks(window->Pos1, "20");
    QCOMPARE(updated.count(), 0);
    window->Pos3->setFocus();
    QTRY_COMPARE(updated.count(), 1);
    QCOMPARE(window->positions, QVector<double>({4, 15, 16, 20}));
    QVERIFY(window->valueAt(3.9) == 0);
    QCOMPARE(window->valueAt(15.5), 1.0);
}

void tst_WindowFunc::setPosRefuses_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<double>("value");
    QTest::newRow("NaN") << 1 << std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("+inf") << 2 << std::numeric_limits<double>::infinity();
    QTest::newRow("-inf") << 0 << -std::numeric_limits<double>::infinity();
    QTest::newRow("index -1") << -1 << 7.0;
    QTest::newRow("index 4") << 4 << 7.0;
    QTest::newRow("unchanged value") << 2 << 15.0;
}

void tst_WindowFunc::setPosRefuses() {
    QFETCH(int, index);
    QFETCH(double, value);
    QSignalSpy updated(window, SIGNAL(updated()));
    window->Pos3->setText("typed");
    window->setPos(index, value);
    QCOMPARE(updated.count(), 0);
    QCOMPARE(window->positions, QVector<double>({3, 4, 15, 16}));
    QCOMPARE(window->Pos3->text(), QString("typed"));
}

// An empty rise leaves the factor of the last non-empty one, and W jumps
// straight to the plateau.
void tst_WindowFunc::equalNeighboursKeepFactor() {
    window->setPos(1, 5.0);
    const double factor = window->riseFactor;
    QCOMPARE(factor, 3.1415926535 / 2);
    window->setPos(1, 3.0);
    QCOMPARE(window->positions, QVector<double>({3, 3, 15, 16}));
    QCOMPARE(window->riseFactor, factor);
    QCOMPARE(window->valueAt(2.999), 0.0);
    QCOMPARE(window->valueAt(3.0), 1.0);
}

// A gap whose reciprocal overflows would make the rise NaN at its own lower
// end (0 * inf).
void tst_WindowFunc::narrowGapStaysFinite() {
    window->setPos(0, 0.0);
    window->setPos(1, std::numeric_limits<double>::denorm_min());
    QCOMPARE(window->positions[0], 0.0);
    QVERIFY(window->positions[1] > 0);
    QVERIFY(std::isfinite(window->riseFactor));
    QVERIFY(std::isfinite(window->valueAt(0.0)));
    QCOMPARE(window->valueAt(0.0), 0.0);
}

void tst_WindowFunc::hitTest_data() {
    QTest::addColumn<int>("dx");
    QTest::addColumn<int>("dy");
    QTest::addColumn<bool>("hit");
    QTest::newRow("on the handle") << 0 << 0 << true;
    QTest::newRow("9 right") << 9 << 0 << true;
    QTest::newRow("10 right") << 10 << 0 << false;
    QTest::newRow("9 left") << -9 << 0 << true;
    QTest::newRow("10 left") << -10 << 0 << false;
    QTest::newRow("9 up") << 0 << -9 << true;
    QTest::newRow("10 down") << 0 << 10 << false;
    QTest::newRow("6,7 (85)") << 6 << 7 << true;
    QTest::newRow("6,8 (exactly 10)") << 6 << 8 << false;
}

void tst_WindowFunc::hitTest() {
    QFETCH(int, dx);
    QFETCH(int, dy);
    QFETCH(bool, hit);
    wire();
    const QPoint at(px(4) + dx, zeroLine + dy);
    send(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    QCOMPARE(window->grabbed, hit);
    QCOMPARE(window->grabbedIndex, hit ? 1 : -1);

    QSignalSpy updated(window, SIGNAL(updated()));
    send(QEvent::MouseMove, at + QPoint(100, 0), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(updated.count(), hit ? 1 : 0);
    QCOMPARE(window->positions[1], hit ? (px(4) + dx + 100) / 100.0 : 4.0);
}

void tst_WindowFunc::nearestHandleWinsFirstOnTies_data() {
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("expected");
    // Handles at k = 3 and 3.1, ten pixels apart.
    QTest::newRow("nearer the first") << 303 << 0;
    QTest::newRow("nearer the second") << 306 << 1;
    QTest::newRow("halfway: the first") << 305 << 0;
}

void tst_WindowFunc::nearestHandleWinsFirstOnTies() {
    QFETCH(int, x);
    QFETCH(int, expected);
    window->setPos(1, 3.1);
    wire();
    send(QEvent::MouseButtonPress, QPoint(x, zeroLine), Qt::LeftButton, Qt::LeftButton);
    QVERIFY(window->grabbed);
    QCOMPARE(window->grabbedIndex, expected);
}

// The dragged handle is the one the user took hold of, whatever index the
// re-sort gives it; the other three positions stay where they are.
void tst_WindowFunc::dragPastNeighbourKeepsHandle() {
    wire();
    QSignalSpy updated(window, SIGNAL(updated()));
    send(QEvent::MouseButtonPress, QPoint(px(4), zeroLine), Qt::LeftButton, Qt::LeftButton);
    QCOMPARE(window->grabbedIndex, 1);

    struct Step {
        double k;
        QVector<double> positions;
        int index;
    };
    const QVector<Step> steps{
        {2.5, {2.5, 3, 15, 16}, 0},   {2.0, {2, 3, 15, 16}, 0},   {10.0, {3, 10, 15, 16}, 1},
        {15.5, {3, 15, 15.5, 16}, 2}, {17.0, {3, 15, 16, 17}, 3}, {3.5, {3, 3.5, 15, 16}, 1},
    };
    int emitted = 0;
    for (const Step& s : steps) {
        send(QEvent::MouseMove, QPoint(px(s.k), zeroLine + 30), Qt::NoButton, Qt::LeftButton);
        QCOMPARE(updated.count(), ++emitted);
        QCOMPARE(window->positions, s.positions);
        QCOMPARE(window->grabbedIndex, s.index);
        QCOMPARE(window->edits[s.index]->text(), QString::number(s.k, 'g', 6));
    }

    send(QEvent::MouseButtonRelease, QPoint(px(3.5), zeroLine), Qt::LeftButton, Qt::NoButton);
    QVERIFY(!window->grabbed);
    QCOMPARE(window->grabbedIndex, -1);
    send(QEvent::MouseMove, QPoint(px(8), zeroLine), Qt::NoButton, Qt::NoButton);
    QCOMPARE(updated.count(), emitted);
    QCOMPARE(window->positions, QVector<double>({3, 3.5, 15, 16}));
}

void tst_WindowFunc::mouseWithoutFrameDoesNothing() {
    QSignalSpy updated(window, SIGNAL(updated()));
    window->mPressed();
    QVERIFY(!window->grabbed);
    window->grabbed = true;
    window->grabbedIndex = 0;
    window->mMoved();
    window->mReleased();
    QCOMPARE(updated.count(), 0);
    QCOMPARE(window->positions, QVector<double>({3, 4, 15, 16}));
}

QTEST_MAIN(tst_WindowFunc)
#include "tst_WindowFunc.moc"
