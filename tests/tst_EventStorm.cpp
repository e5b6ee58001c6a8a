#include "Program.h"

#include "WaveCtrl.h"
#include "WindowFunc.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QtTest>

#include <cmath>
#include <random>

// User input the program must survive: every hostile text in every box,
// extreme window sizes, then a seeded, reproducible sequence of mixed
// actions through the whole program. After every step the model must hold
// only finite numbers in the shapes the plots rely on, and at the end
// closing both windows must end the event loop. TOVIK_STORM_SEED and
// TOVIK_STORM_STEPS override the storm's defaults; the seed is printed so
// that a failure can be replayed.
class tst_EventStorm : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void hostileTyping_data();
    void hostileTyping();
    void extremeSizes_data();
    void extremeSizes();
    void storm();
    void closingBothEndsTheLoop();

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
    double uniform(double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng); }
    QPoint somewhere(DispArea* area);
    QPoint nearHandle();
    void mouseStep();
    void sliderStep();
    void toggleStep();
    void typeStep();
    void resizeStep();
    QLineEdit* edit(int i) const;
    static void typeAndFinish(QLineEdit* e, const QString& text, bool viaReturn);
    bool invariantsHold(QString* why) const;

    std::mt19937 rng;
    Program* program = nullptr;
    AWave* wave = nullptr;
    QHash<QString, int> counts;
};

QPoint tst_EventStorm::somewhere(DispArea* area) {
    return QPoint(int(uniform(-200, area->width() + 200)),
                  int(uniform(-200, area->height() + 200)));
}

// A pixel at or near a handle, taken from the frame the last paint left, so
// that many presses really grab something.
QPoint tst_EventStorm::nearHandle() {
    const ChCoord& c = program->main->DispA->coord;
    // Typed positions may lie anywhere up to 1e308: keep the pixel in int range.
    auto px = [](double v) { return std::isfinite(v) ? int(qBound(-1e6, v, 1e6)) : 0; };
    const QPoint jitter(pick(25) - 12, pick(25) - 12);
    if (pick(2) == 0 && !wave->envelope->points.isEmpty()) {
        const QPointF p = wave->envelope->points[pick(wave->envelope->points.size())];
        return QPoint(px(c.toPixelX(p.x())), px(c.toPixelY(p.y()))) + jitter;
    }
    const double pos = wave->ctrl->WindowCtrl->positions[pick(4)];
    return QPoint(px(c.toPixelX(pos)), px(c.toPixelY(0))) + jitter;
}

void tst_EventStorm::mouseStep() {
    const bool onMain = pick(3) != 0;
    DispArea* area = onMain ? program->main->DispA : program->chiR()->DispA;
    QPoint pos;
    if (onMain && pick(2) == 0)
        pos = nearHandle();
    else if (!onMain && pick(2) == 0)
        pos = QPoint(int(qBound(-1e6, area->coord.toPixelX(program->chiR()->pointerR), 1e6)) +
                         pick(25) - 12,
                     pick(std::max(1, area->height())));
    else
        pos = somewhere(area);

    auto noteGrab = [this] {
        if (wave->envelope->grabbed || wave->ctrl->WindowCtrl->grabbed || program->chiR()->grabbed)
            ++counts["grabbed"];
    };
    switch (pick(6)) {
    case 0: { // a drag: press, a few moves, release
        press(area, pos);
        noteGrab();
        const int moves = 1 + pick(5);
        for (int i = 0; i < moves; ++i) {
            pos += QPoint(pick(81) - 40, pick(81) - 40);
            dragTo(area, pos);
        }
        if (pick(4) != 0)
            release(area, pos);
        ++counts["drag"];
        break;
    }
    case 1:
        press(area, pos);
        noteGrab();
        ++counts["press"];
        break;
    case 2:
        sendMouse(area, QEvent::MouseMove, pos, Qt::NoButton,
                  area->mouse.pressed ? Qt::LeftButton : Qt::NoButton);
        ++counts["move"];
        break;
    case 3:
        release(area, pos);
        ++counts["release"];
        break;
    case 4:
        press(area, pos);
        release(area, pos);
        sendMouse(area, QEvent::MouseButtonDblClick, pos, Qt::LeftButton, Qt::LeftButton);
        release(area, pos);
        ++counts["double-click"];
        break;
    default: {
        const int delta = (pick(9) - 4) * 60;
        QWheelEvent e(QPointF(pos), QPointF(area->mapToGlobal(pos)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(area, &e);
        ++counts["wheel"];
        break;
    }
    }
}

void tst_EventStorm::sliderStep() {
    WaveCtrl* ctrl = wave->ctrl;
    QSlider* sliders[] = {ctrl->NBar, ctrl->RBar, ctrl->Phi0Bar, ctrl->Phi2Bar, ctrl->SigBar};
    QSlider* s = sliders[pick(5)];
    switch (pick(4)) {
    case 0:
        s->setValue(s->minimum());
        break;
    case 1:
        s->setValue(s->maximum());
        break;
    case 2:
        s->setValue(s->minimum() - 5 + pick(s->maximum() - s->minimum() + 11));
        break;
    default: {
        const Qt::Key keys[] = {Qt::Key_Left,     Qt::Key_Right, Qt::Key_PageUp,
                                Qt::Key_PageDown, Qt::Key_Home,  Qt::Key_End};
        QTest::keyClick(s, keys[pick(6)]);
        break;
    }
    }
    ++counts["slider"];
}

void tst_EventStorm::toggleStep() {
    WaveCtrl* ctrl = wave->ctrl;
    ChiR* r = program->chiR();
    QAbstractButton* buttons[] = {ctrl->SelEnvelope, ctrl->SelWindowF, ctrl->SelDebye, r->SelReal,
                                  r->SelImag,        r->SelAbs,        r->SelEnvelope, r->SelWindow,
                                  r->SelWave,        r->SelTotal,      ctrl->Flat};
    QAbstractButton* b = buttons[pick(11)];
    if (pick(2) == 0)
        QTest::mouseClick(b, Qt::LeftButton);
    else
        b->click();
    ++counts[b == ctrl->Flat ? "flat" : "toggle"];
}

namespace {
const QStringList& hostileTexts() {
    static const QStringList texts = {QString(),
                                      QStringLiteral("   "),
                                      QStringLiteral("abc"),
                                      QStringLiteral("nan"),
                                      QStringLiteral("inf"),
                                      QStringLiteral("-inf"),
                                      QStringLiteral("1e308"),
                                      QStringLiteral("-1e308"),
                                      QStringLiteral("1e-320"),
                                      QStringLiteral("0x10"),
                                      QString(10000, QLatin1Char('7')),
                                      QStringLiteral("3,5"),
                                      QStringLiteral("1,000"),
                                      QStringLiteral("-2"),
                                      QStringLiteral("5.5"),
                                      QStringLiteral("12"),
                                      QStringLiteral("0"),
                                      QStringLiteral("16.0000001"),
                                      QStringLiteral("1e5")};
    return texts;
}
constexpr int editCount = 6;
} // namespace

QLineEdit* tst_EventStorm::edit(int i) const {
    WindowFunc* wf = wave->ctrl->WindowCtrl;
    QLineEdit* edits[editCount] = {wf->Pos1, wf->Pos2,           wf->Pos3,
                                   wf->Pos4, wave->ctrl->SigVal, program->chiR()->PointVal};
    return edits[i];
}

void tst_EventStorm::typeAndFinish(QLineEdit* e, const QString& text, bool viaReturn) {
    e->setFocus();
    e->selectAll();
    if (text.size() > 40)
        e->insert(text); // as pasted
    else
        QTest::keyClicks(e, text);
    if (viaReturn) {
        QTest::keyClick(e, Qt::Key_Return);
    } else {
        // Leaving the box finishes the edit too.
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(e, &out);
        e->clearFocus();
    }
}

void tst_EventStorm::typeStep() {
    typeAndFinish(edit(pick(editCount)), hostileTexts()[pick(hostileTexts().size())], pick(2) == 0);
    ++counts["typing"];
}

void tst_EventStorm::resizeStep() {
    QWidget* w = pick(2) == 0 ? static_cast<QWidget*>(program->main) : program->chiR();
    static const QSize sizes[] = {{1, 1}, {2000, 1500}, {800, 600}, {120, 90}, {640, 2}};
    const QSize s = pick(3) == 0 ? QSize(1 + pick(1999), 1 + pick(1499)) : sizes[pick(5)];
    w->resize(s);
    if (pick(2) == 0) {
        program->main->DispA->grab();
        program->chiR()->DispA->grab();
    }
    ++counts["resize"];
}

bool tst_EventStorm::invariantsHold(QString* why) const {
    const int n = wave->fftLength;
    const QVector<double>* arrays[] = {&wave->kValues,      &wave->chi,
                                       &wave->oscillation,  &wave->envelopeValues,
                                       &wave->windowValues, &wave->debyeWallerValues};
    for (const QVector<double>* a : arrays) {
        if (a->size() != n) {
            *why = QStringLiteral("array of %1 values").arg(a->size());
            return false;
        }
        for (double v : *a)
            if (!std::isfinite(v)) {
                *why = QStringLiteral("non-finite array value");
                return false;
            }
    }
    const double* spectra[] = {wave->chiSpectrum.get(), wave->oscillationSpectrum.get(),
                               wave->envelopeSpectrum.get(), wave->windowSpectrum.get(),
                               wave->debyeWallerSpectrum.get()};
    for (const double* s : spectra) {
        if (!s) {
            *why = QStringLiteral("missing spectrum");
            return false;
        }
        for (int i = 0; i < n; ++i)
            if (!std::isfinite(s[i])) {
                *why = QStringLiteral("non-finite spectrum value");
                return false;
            }
    }
    const QVector<double>& p = wave->ctrl->WindowCtrl->positions;
    for (int i = 0; i < p.size(); ++i) {
        if (!std::isfinite(p[i]) || (i > 0 && p[i - 1] > p[i])) {
            *why = QStringLiteral("window positions %1 %2 %3 %4")
                       .arg(p[0])
                       .arg(p[1])
                       .arg(p[2])
                       .arg(p[3]);
            return false;
        }
    }
    const QVector<QPointF>& points = wave->envelope->points;
    for (int i = 1; i < points.size(); ++i) {
        if (!(points[i - 1].x() < points[i].x())) {
            *why = QStringLiteral("envelope points %1 and %2 out of order").arg(i - 1).arg(i);
            return false;
        }
    }
    if (!std::isfinite(wave->valueScale) || !std::isfinite(wave->spectrumScale)) {
        *why = QStringLiteral("non-finite scale");
        return false;
    }
    return true;
}

void tst_EventStorm::initTestCase() {
    program = new Program;
    wave = program->wave();
    QVERIFY(QTest::qWaitForWindowExposed(program->main));
    program->main->DispA->grab();
    program->chiR()->DispA->grab();
}

void tst_EventStorm::hostileTyping_data() {
    QTest::addColumn<int>("box");
    QTest::addColumn<int>("text");
    QTest::addColumn<bool>("viaReturn");
    const char* boxes[editCount] = {"Pos1", "Pos2", "Pos3", "Pos4", "SigVal", "PointVal"};
    for (int b = 0; b < editCount; ++b)
        for (int t = 0; t < hostileTexts().size(); ++t)
            for (const bool viaReturn : {true, false})
                QTest::addRow("%s, text %d, %s", boxes[b], t, viaReturn ? "Return" : "focus out")
                    << b << t << viaReturn;
}

// Whatever is typed into a box, and however the edit ends, the model stays
// whole and both plots still paint.
void tst_EventStorm::hostileTyping() {
    QFETCH(int, box);
    QFETCH(int, text);
    QFETCH(bool, viaReturn);
    typeAndFinish(edit(box), hostileTexts()[text], viaReturn);
    program->main->DispA->grab();
    program->chiR()->DispA->grab();
    QString why;
    QVERIFY2(invariantsHold(&why), qPrintable(why));
}

void tst_EventStorm::extremeSizes_data() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("1 x 1") << QSize(1, 1);
    QTest::newRow("640 x 2") << QSize(640, 2);
    QTest::newRow("2 x 480") << QSize(2, 480);
    QTest::newRow("2000 x 1500") << QSize(2000, 1500);
    QTest::newRow("800 x 600") << QSize(800, 600);
}

// Windows squeezed to a pixel or stretched wide still paint both plots.
void tst_EventStorm::extremeSizes() {
    QFETCH(QSize, size);
    for (QWidget* w :
         {static_cast<QWidget*>(program->main), static_cast<QWidget*>(program->chiR())})
        w->resize(size);
    QCoreApplication::processEvents();
    const QImage k = program->main->DispA->grab().toImage();
    const QImage r = program->chiR()->DispA->grab().toImage();
    // A surface the layout squeezed to nothing paints nothing.
    for (const auto& [image, area] :
         {std::pair{k, program->main->DispA}, std::pair{r, program->chiR()->DispA}})
        QCOMPARE(image.size(), area->size().isEmpty() ? QSize(0, 0) : area->size());
    QString why;
    QVERIFY2(invariantsHold(&why), qPrintable(why));
}

void tst_EventStorm::storm() {
    const unsigned seed = qEnvironmentVariableIsSet("TOVIK_STORM_SEED")
                              ? qEnvironmentVariableIntValue("TOVIK_STORM_SEED")
                              : 20261208u;
    const int steps = qEnvironmentVariableIsSet("TOVIK_STORM_STEPS")
                          ? qEnvironmentVariableIntValue("TOVIK_STORM_STEPS")
                          : 1500;
    qInfo("event storm: seed %u, %d steps", seed, steps);
    rng.seed(seed);

    for (int step = 0; step < steps; ++step) {
        const int kind = pick(20);
        if (kind < 11)
            mouseStep();
        else if (kind < 14)
            sliderStep();
        else if (kind < 16)
            toggleStep();
        else if (kind < 18)
            typeStep();
        else
            resizeStep();
        if (step % 4 == 0)
            QCoreApplication::processEvents();
        QString why;
        if (!invariantsHold(&why))
            QFAIL(qPrintable(QStringLiteral("step %1 (seed %2): %3").arg(step).arg(seed).arg(why)));
    }

    QStringList summary;
    for (auto it = counts.constBegin(); it != counts.constEnd(); ++it)
        summary << QStringLiteral("%1 %2").arg(it.key()).arg(it.value());
    summary.sort();
    qInfo("event storm: %d steps done (%s)", steps, qPrintable(summary.join(", ")));
}

void tst_EventStorm::closingBothEndsTheLoop() {
    // Both windows still close after all of the above, and closing the last
    // one ends the event loop with exit code 0, as it ends the program.
    QTimer::singleShot(0, this, [this] { program->main->close(); });
    QTimer::singleShot(20, this, [this] { program->chiR()->close(); });
    QTimer::singleShot(5000, this, [] { QCoreApplication::exit(99); });
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(!program->main->isVisible() && !program->chiR()->isVisible());
    delete program;
    program = nullptr;
}

QTEST_MAIN(tst_EventStorm)
#include "tst_EventStorm.moc"
