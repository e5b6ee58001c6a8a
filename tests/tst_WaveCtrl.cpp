#include "WaveCtrl.h"

#include <QTranslator>
#include <QtTest>

class tst_WaveCtrl : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void formAsTabled();
    void formTranslates_data();
    void formTranslates();
    void sliderShowsAndAnnounces_data();
    void sliderShowsAndAnnounces();
    void boxIsWrittenBeforeTheSignal();
    void keysMoveSliders_data();
    void keysMoveSliders();
    void unchangedSliderIsSilent();
    void typedValues_data();
    void typedValues();
    void formulaShowsTermsInUse_data();
    void formulaShowsTermsInUse();
    void flatAnnouncesEachClick();
    void switchesAreIndependent();
    void windowPositionPassesThrough();
    void longValuesFit_data();
    void longValuesFit();

private:
    WaveCtrl* ctrl = nullptr;
};

void tst_WaveCtrl::init() {
    ctrl = new WaveCtrl;
}

void tst_WaveCtrl::cleanup() {
    delete ctrl;
    ctrl = nullptr;
}

void tst_WaveCtrl::formAsTabled() {
    QCOMPARE(ctrl->objectName(), QString("WaveCtrl"));
    QCOMPARE(ctrl->size(), QSize(712, 199));
    QVERIFY(!ctrl->parent());
    QCOMPARE(ctrl->gridLayout_2->contentsMargins(), QMargins(9, 9, 9, 9));
    QCOMPARE(ctrl->gridLayout->spacing(), 3);
    QCOMPARE(ctrl->gridLayout->contentsMargins(), QMargins(3, 3, 3, 3));
    QCOMPARE(ctrl->gridLayout_3->spacing(), 3);
    QCOMPARE(ctrl->gridLayout_3->contentsMargins(), QMargins(0, 0, 0, 0));

    QCOMPARE(ctrl->label_6->text(),
             QString("k^n * W(k) * S0^2 * (1/k) * (1/R^2) * F(k) * sin( 2KR + P0 + P2*k^2 ) * "
                     "exp( -2 * Sigma^2 * k^2 )   : S0 = 1.0"));

    struct Row {
        QLabel* label;
        const char* text;
        QSlider* bar;
        int min, max, value, page;
        QLineEdit* box;
    };
    const Row rows[] = {
        {ctrl->label_7, "n:", ctrl->NBar, 1, 3, 2, 1, ctrl->NVal},
        {ctrl->label_2, "R:", ctrl->RBar, 0, 100, 0, 10, ctrl->RVal},
        {ctrl->label_3, "P0 : ", ctrl->Phi0Bar, -100, 100, 0, 10, ctrl->Phi0Val},
        {ctrl->label, "P2 : ", ctrl->Phi2Bar, -100, 100, 0, 10, ctrl->Phi2Val},
        {ctrl->label_4, "Sigma :", ctrl->SigBar, 0, 200, 50, 10, ctrl->SigVal},
        {ctrl->labelDE0, "dE0 :", ctrl->DE0Bar, -200, 200, 0, 10, ctrl->DE0Val},
    };
    for (int r = 0; r < 6; ++r) {
        const Row& row = rows[r];
        QCOMPARE(row.label->text(), QString(row.text));
        QCOMPARE(row.bar->orientation(), Qt::Horizontal);
        QCOMPARE(row.bar->minimum(), row.min);
        QCOMPARE(row.bar->maximum(), row.max);
        QCOMPARE(row.bar->value(), row.value);
        QCOMPARE(row.bar->pageStep(), row.page);
        QCOMPARE(row.bar->singleStep(), 1);
        QCOMPARE(row.box->text(), QString());
        QCOMPARE(row.box->isReadOnly(), row.box == ctrl->NVal);
        QCOMPARE(row.box->styleSheet(), QString("background-color: rgb(254, 255, 222);"));
        QCOMPARE(row.box->alignment() & (Qt::AlignHorizontal_Mask | Qt::AlignVertical_Mask),
                 Qt::AlignRight | Qt::AlignVCenter);
        QCOMPARE(row.box->sizePolicy().verticalPolicy(), QSizePolicy::Fixed);
        QWidget* const cells[] = {row.label, row.bar, row.box};
        for (int c = 0; c < 3; ++c) {
            int gr, gc, rs, cs;
            ctrl->gridLayout->getItemPosition(ctrl->gridLayout->indexOf(cells[c]), &gr, &gc, &rs,
                                              &cs);
            QCOMPARE(gr, r);
            QCOMPARE(gc, c);
            QCOMPARE(cells[c]->parentWidget(), ctrl->frame);
        }
    }
    QCOMPARE(ctrl->Flat->text(), QString("Flat"));

    // The promoted window panel is a live WindowFunc, not a plain frame.
    QCOMPARE(ctrl->WindowCtrl->objectName(), QString("WindowCtrl"));
    QCOMPARE(ctrl->WindowCtrl->frameShape(), QFrame::StyledPanel);
    QCOMPARE(ctrl->WindowCtrl->positions, QVector<double>({3, 4, 15, 16}));
    QCOMPARE(ctrl->findChild<WindowFunc*>(), ctrl->WindowCtrl);

    QCOMPARE(ctrl->frame_2->sizePolicy().verticalPolicy(), QSizePolicy::Maximum);
    QCOMPARE(ctrl->label_5->text(), QString("Select Factors : "));
    const QPair<QRadioButton*, const char*> switches[] = {
        {ctrl->SelEnvelope, "E&nvelope"},
        {ctrl->SelWindowF, "W&indow Function"},
        {ctrl->SelDebye, "&Debye Waller"},
    };
    for (const auto& s : switches) {
        QCOMPARE(s.first->text(), QString(s.second));
        QVERIFY(s.first->isChecked());
        QVERIFY(!s.first->autoExclusive());
        QCOMPARE(s.first->parentWidget(), ctrl->frame_2);
    }
}

// The form's texts must match the catalogue's source texts exactly.
void tst_WaveCtrl::formTranslates_data() {
    QTest::addColumn<QString>("object");
    QTest::addColumn<QString>("japanese");
    QTest::newRow("formula") << "label_6"
                             << "k^n * 窓関数(k) * S0^2 * (1/k) * (1/R^2) * 後方散乱振幅(k) * "
                                "sin( 2KR + P0 + P2 * k^2 ) * exp( -2 * σ^2 * k^2 )   : S0 = 1.0";
    QTest::newRow("n") << "label_7"
                       << "n (k^nの次数)";
    QTest::newRow("R") << "label_2"
                       << "R (原子間距離) : ";
    QTest::newRow("P0") << "label_3"
                        << "P0 (0次の位相因子) : ";
    QTest::newRow("P2") << "label"
                        << "P2 (2次の位相因子) : ";
    QTest::newRow("Sigma") << "label_4"
                           << "σ (デバイ・ワラ因子) : ";
    QTest::newRow("dE0") << "labelDE0"
                         << "dE0 (E0シフト) : ";
    QTest::newRow("Flat") << "Flat"
                          << "包絡線平坦化";
    QTest::newRow("select") << "label_5"
                            << "効果選択 : ";
    QTest::newRow("envelope") << "SelEnvelope"
                              << "後方散乱振幅(包絡線)";
    QTest::newRow("window") << "SelWindowF"
                            << "窓関数";
    QTest::newRow("Debye-Waller") << "SelDebye"
                                  << "デバイ・ワラ因子";
    QTest::newRow("title") << ""
                           << "Waveコントロールパネル";
    QTest::newRow("embedded window panel") << "radioButton_2"
                                           << "ハニング関数";
}

void tst_WaveCtrl::formTranslates() {
    QFETCH(QString, object);
    QFETCH(QString, japanese);
    QTranslator translator;
    QVERIFY(translator.load(":/Tovik_ja_JP"));
    QCoreApplication::installTranslator(&translator);
    WaveCtrl translated;
    QCoreApplication::removeTranslator(&translator);
    if (object.isEmpty()) {
        QCOMPARE(translated.windowTitle(), japanese);
        return;
    }
    QObject* o = translated.findChild<QObject*>(object);
    QVERIFY(o);
    QCOMPARE(o->property("text").toString(), japanese);
}

void tst_WaveCtrl::sliderShowsAndAnnounces_data() {
    QTest::addColumn<QString>("bar");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("signal");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<double>("value");

    QTest::newRow("n 3") << "NBar"
                         << "NVal" << SIGNAL(newN(int)) << 3 << "3" << 3.0;
    QTest::newRow("n 1") << "NBar"
                         << "NVal" << SIGNAL(newN(int)) << 1 << "1" << 1.0;
    QTest::newRow("R left end") << "RBar"
                                << "RVal" << SIGNAL(newR(double)) << 0 << "0" << 0.0;
    QTest::newRow("R 1") << "RBar"
                         << "RVal" << SIGNAL(newR(double)) << 1 << "0.1" << 0.1;
    QTest::newRow("R 25") << "RBar"
                          << "RVal" << SIGNAL(newR(double)) << 25 << "2.5" << 2.5;
    QTest::newRow("R right end") << "RBar"
                                 << "RVal" << SIGNAL(newR(double)) << 100 << "10" << 10.0;
    QTest::newRow("P0 -3") << "Phi0Bar"
                           << "Phi0Val" << SIGNAL(newPhi0(double)) << -3 << "-0.3" << -0.3;
    QTest::newRow("P0 left end") << "Phi0Bar"
                                 << "Phi0Val" << SIGNAL(newPhi0(double)) << -100 << "-10" << -10.0;
    QTest::newRow("P2 left end") << "Phi2Bar"
                                 << "Phi2Val" << SIGNAL(newPhi2(double)) << -100 << "-1" << -1.0;
    QTest::newRow("P2 7") << "Phi2Bar"
                          << "Phi2Val" << SIGNAL(newPhi2(double)) << 7 << "0.07" << 0.07;
    QTest::newRow("Sigma right end") << "SigBar"
                                     << "SigVal" << SIGNAL(newSig(double)) << 200 << "0.2" << 0.2;
    QTest::newRow("Sigma 1") << "SigBar"
                             << "SigVal" << SIGNAL(newSig(double)) << 1 << "0.001" << 0.001;
    QTest::newRow("Sigma 0") << "SigBar"
                             << "SigVal" << SIGNAL(newSig(double)) << 0 << "0" << 0.0;
    QTest::newRow("dE0 left end") << "DE0Bar"
                                  << "DE0Val" << SIGNAL(newDE0(double)) << -200 << "-20" << -20.0;
    QTest::newRow("dE0 37") << "DE0Bar"
                            << "DE0Val" << SIGNAL(newDE0(double)) << 37 << "3.7" << 3.7;
    QTest::newRow("dE0 right end") << "DE0Bar"
                                   << "DE0Val" << SIGNAL(newDE0(double)) << 200 << "20" << 20.0;
}

void tst_WaveCtrl::sliderShowsAndAnnounces() {
    QFETCH(QString, bar);
    QFETCH(QString, box);
    QFETCH(QString, signal);
    QFETCH(int, position);
    QFETCH(QString, shown);
    QFETCH(double, value);

    // Start away from the target, so that setting it is a change.
    QSlider* slider = ctrl->findChild<QSlider*>(bar);
    slider->setValue(position == slider->minimum() ? slider->maximum() : slider->minimum());
    QSignalSpy spy(ctrl, signal.toLatin1().constData());
    QVERIFY(spy.isValid());
    slider->setValue(position);
    QCOMPARE(ctrl->findChild<QLineEdit*>(box)->text(), shown);
    QCOMPARE(spy.count(), 1);
    const QVariant arg = spy.at(0).at(0);
    if (arg.userType() == QMetaType::Int) {
        QCOMPARE(arg.toInt(), int(value));
    } else {
        // The same floating-point division, so the value is exact.
        QCOMPARE(arg.userType(), int(QMetaType::Double));
        QVERIFY(arg.toDouble() == value);
    }
}

// A receiver of the signal already finds the new value in the box.
void tst_WaveCtrl::boxIsWrittenBeforeTheSignal() {
    QString seen;
    connect(ctrl, &WaveCtrl::newPhi2, ctrl, [&] { seen = ctrl->Phi2Val->text(); });
    ctrl->Phi2Bar->setValue(-37);
    QCOMPARE(seen, QString("-0.37"));
}

void tst_WaveCtrl::keysMoveSliders_data() {
    QTest::addColumn<QString>("bar");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("shown");
    QTest::newRow("n right") << "NBar" << int(Qt::Key_Right) << 3 << "3";
    QTest::newRow("n page down") << "NBar" << int(Qt::Key_PageDown) << 1 << "1";
    QTest::newRow("R page up") << "RBar" << int(Qt::Key_PageUp) << 10 << "1";
    QTest::newRow("R end") << "RBar" << int(Qt::Key_End) << 100 << "10";
    QTest::newRow("P0 home") << "Phi0Bar" << int(Qt::Key_Home) << -100 << "-10";
    QTest::newRow("P2 left") << "Phi2Bar" << int(Qt::Key_Left) << -1 << "-0.01";
    QTest::newRow("Sigma up") << "SigBar" << int(Qt::Key_Up) << 51 << "0.051";
    QTest::newRow("dE0 page down") << "DE0Bar" << int(Qt::Key_PageDown) << -10 << "-1";
    QTest::newRow("dE0 right") << "DE0Bar" << int(Qt::Key_Right) << 1 << "0.1";
}

void tst_WaveCtrl::keysMoveSliders() {
    QFETCH(QString, bar);
    QFETCH(int, key);
    QFETCH(int, position);
    QFETCH(QString, shown);
    QSlider* slider = ctrl->findChild<QSlider*>(bar);
    QSignalSpy any(ctrl, bar == "NBar"      ? SIGNAL(newN(int))
                         : bar == "RBar"    ? SIGNAL(newR(double))
                         : bar == "Phi0Bar" ? SIGNAL(newPhi0(double))
                         : bar == "Phi2Bar" ? SIGNAL(newPhi2(double))
                         : bar == "DE0Bar"  ? SIGNAL(newDE0(double))
                                            : SIGNAL(newSig(double)));
    QTest::keyClick(slider, Qt::Key(key));
    QCOMPARE(slider->value(), position);
    QCOMPARE(any.count(), 1);
    QCOMPARE(any.at(0).at(0).toString(), shown);
}

void tst_WaveCtrl::unchangedSliderIsSilent() {
    ctrl->RBar->setValue(20);
    ctrl->RVal->setText("kept");
    QSignalSpy r(ctrl, SIGNAL(newR(double)));
    QSignalSpy n(ctrl, SIGNAL(newN(int)));
    ctrl->RBar->setValue(20);
    ctrl->NBar->setValue(2);
    // Beyond the range the slider stays at its end: no change either.
    ctrl->NBar->setValue(1);
    n.clear();
    ctrl->NBar->setValue(0);
    QCOMPARE(ctrl->NBar->value(), 1);
    QCOMPARE(r.count(), 0);
    QCOMPARE(n.count(), 0);
    QCOMPARE(ctrl->RVal->text(), QString("kept"));
}

// A value typed into the R, P0, P2 or Sigma box (keys sent to the box, then
// Return or leaving it) is announced exactly as typed and shown in its
// shortest form; the slider points at the nearest step without announcing
// its own. Anything else changes nothing and the box shows the value again.
void tst_WaveCtrl::typedValues_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("returnKey"); // else focus leaves the box
    QTest::addColumn<bool>("announced");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("shown");
    // Start: R 2, P0 0, P2 0, Sigma 0.05.
    QTest::newRow("R off the steps") << "RVal"
                                     << "2.57" << true << true << 2.57 << 26 << "2.57";
    QTest::newRow("R trailing zeros") << "RVal"
                                      << "2.870" << true << true << 2.87 << 29 << "2.87";
    QTest::newRow("P0 exponent") << "Phi0Val"
                                 << "-1.47e-1" << true << true << -0.147 << -1 << "-0.147";
    QTest::newRow("P2 -0.037") << "Phi2Val"
                               << "-0.037" << true << true << -0.037 << -4 << "-0.037";
    QTest::newRow("sigma 0.0876") << "SigVal"
                                  << "0.0876" << false << true << 0.0876 << 88 << "0.0876";
    QTest::newRow("R above") << "RVal"
                             << "10.001" << true << false << 0.0 << 20 << "2";
    QTest::newRow("P0 letters") << "Phi0Val"
                                << "abc" << false << false << 0.0 << 0 << "0";
    QTest::newRow("P2 nan") << "Phi2Val"
                            << "nan" << true << false << 0.0 << 0 << "0";
    QTest::newRow("sigma inf") << "SigVal"
                               << "inf" << true << false << 0.0 << 50 << "0.05";
    QTest::newRow("sigma below") << "SigVal"
                                 << "-0.001" << true << false << 0.0 << 50 << "0.05";
    QTest::newRow("sigma same value") << "SigVal"
                                      << "0.050" << true << false << 0.0 << 50 << "0.05";
    QTest::newRow("dE0 off the steps") << "DE0Val"
                                       << "-4.27" << true << true << -4.27 << -43 << "-4.27";
    QTest::newRow("dE0 above") << "DE0Val"
                               << "20.05" << true << false << 0.0 << 0 << "0";
}

void tst_WaveCtrl::typedValues() {
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(bool, returnKey);
    QFETCH(bool, announced);
    QFETCH(double, value);
    QFETCH(int, position);
    QFETCH(QString, shown);
    ctrl->RBar->setValue(20);
    ctrl->show();
    QLineEdit* edit = ctrl->findChild<QLineEdit*>(box);
    QSlider* bar = ctrl->findChild<QSlider*>(box.left(box.size() - 3) + "Bar");
    const char* signal = box == "RVal"      ? SIGNAL(newR(double))
                         : box == "Phi0Val" ? SIGNAL(newPhi0(double))
                         : box == "Phi2Val" ? SIGNAL(newPhi2(double))
                         : box == "DE0Val"  ? SIGNAL(newDE0(double))
                                            : SIGNAL(newSig(double));
    QSignalSpy spy(ctrl, signal);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, typed);
    if (returnKey) {
        QTest::keyClick(edit, Qt::Key_Return);
    } else {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(edit, &out);
    }
    QCOMPARE(spy.count(), announced ? 1 : 0);
    if (announced)
        QVERIFY(spy.first().first().toDouble() == value); // exactly, not fuzzily
    QCOMPARE(bar->value(), position);
    QCOMPARE(edit->text(), shown);
    // Leaving the box after Return is no second change.
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(edit, &out);
    QCOMPARE(spy.count(), announced ? 1 : 0);
}

// The formula names the amplitude and the linear phase only when they are
// in use; at A = 1 and P1 = 0 it is the form's own text.
void tst_WaveCtrl::formulaShowsTermsInUse_data() {
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("p1");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("japanese");
    QTest::newRow("A")
        << 10.8 << 0.0
        << "k^n * W(k) * N*S0^2 * (1/k) * (1/R^2) * F(k) * sin( 2KR + P0 + P2*k^2 ) * exp( -2 * "
           "Sigma^2 * k^2 )   : N*S0^2 = 10.8"
        << "k^n * 窓関数(k) * N*S0^2 * (1/k) * (1/R^2) * 後方散乱振幅(k) * sin( 2KR + P0 + P2 * "
           "k^2 ) * exp( -2 * σ^2 * k^2 )   : N*S0^2 = 10.8";
    QTest::newRow("P1")
        << 1.0 << -0.5
        << "k^n * W(k) * S0^2 * (1/k) * (1/R^2) * F(k) * sin( 2KR + P0 + P1*k + P2*k^2 ) * exp( "
           "-2 * Sigma^2 * k^2 )   : S0 = 1.0"
        << "k^n * 窓関数(k) * S0^2 * (1/k) * (1/R^2) * 後方散乱振幅(k) * sin( 2KR + P0 + P1 * k + "
           "P2 * k^2 ) * exp( -2 * σ^2 * k^2 )   : S0 = 1.0";
    QTest::newRow("both, A 0")
        << 0.0 << 3.0
        << "k^n * W(k) * N*S0^2 * (1/k) * (1/R^2) * F(k) * sin( 2KR + P0 + P1*k + P2*k^2 ) * exp( "
           "-2 * Sigma^2 * k^2 )   : N*S0^2 = 0"
        << "k^n * 窓関数(k) * N*S0^2 * (1/k) * (1/R^2) * 後方散乱振幅(k) * sin( 2KR + P0 + P1 * k "
           "+ "
           "P2 * k^2 ) * exp( -2 * σ^2 * k^2 )   : N*S0^2 = 0";
}

void tst_WaveCtrl::formulaShowsTermsInUse() {
    QFETCH(double, a);
    QFETCH(double, p1);
    QFETCH(QString, english);
    QFETCH(QString, japanese);
    ctrl->showFormula(a, p1);
    QCOMPARE(ctrl->label_6->text(), english);
    QTranslator translator;
    QVERIFY(translator.load(":/Tovik_ja_JP"));
    QCoreApplication::installTranslator(&translator);
    WaveCtrl translated;
    translated.showFormula(a, p1);
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(translated.label_6->text(), japanese);
}

void tst_WaveCtrl::flatAnnouncesEachClick() {
    QSignalSpy flat(ctrl, SIGNAL(enFlat()));
    QSignalSpy selection(ctrl, SIGNAL(newSelection()));
    QTest::mouseClick(ctrl->Flat, Qt::LeftButton);
    QCOMPARE(flat.count(), 1);
    QTest::mouseClick(ctrl->Flat, Qt::LeftButton);
    QTest::keyClick(ctrl->Flat, Qt::Key_Space);
    QCOMPARE(flat.count(), 3);
    QCOMPARE(selection.count(), 0);
}

// Auto-exclusivity is off: each switch toggles on its own, and both
// directions announce a new selection.
void tst_WaveCtrl::switchesAreIndependent() {
    QSignalSpy selection(ctrl, SIGNAL(newSelection()));
    QRadioButton* const all[] = {ctrl->SelEnvelope, ctrl->SelWindowF, ctrl->SelDebye};
    int expected = 0;
    for (QRadioButton* b : all) {
        QTest::mouseClick(b, Qt::LeftButton);
        QVERIFY(!b->isChecked());
        QCOMPARE(selection.count(), ++expected);
    }
    for (QRadioButton* b : all)
        QVERIFY(!b->isChecked());
    QTest::mouseClick(ctrl->SelWindowF, Qt::LeftButton);
    QCOMPARE(selection.count(), ++expected);
    QVERIFY(ctrl->SelWindowF->isChecked());
    QVERIFY(!ctrl->SelEnvelope->isChecked());
    QVERIFY(!ctrl->SelDebye->isChecked());
    ctrl->SelWindowF->setChecked(true);
    QCOMPARE(selection.count(), expected);
}

void tst_WaveCtrl::windowPositionPassesThrough() {
    QSignalSpy updated(ctrl->WindowCtrl, SIGNAL(updated()));
    ctrl->setWindowPos(0, 20.0);
    QCOMPARE(ctrl->WindowCtrl->positions, QVector<double>({4, 15, 16, 20}));
    QCOMPARE(ctrl->WindowCtrl->Pos4->text(), QString("20"));
    QCOMPARE(updated.count(), 1);
    ctrl->setWindowPos(7, 1.0);
    QCOMPARE(updated.count(), 1);
}

void tst_WaveCtrl::longValuesFit_data() {
    QTest::addColumn<int>("box");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("exact");
    QTest::newRow("P0 after a fit")
        << int(WaveCtrl::Phi0Box) << -1.7254145492514699 << "-1.7254145492514699";
    QTest::newRow("sigma after a fit")
        << int(WaveCtrl::SigBox) << 0.062324778451400054 << "0.062324778451400054";
    QTest::newRow("R after a fit")
        << int(WaveCtrl::RBox) << 2.5471234567891234 << "2.5471234567891234";
    QTest::newRow("P2 after a fit")
        << int(WaveCtrl::Phi2Box) << -0.01234567890123 << "-0.01234567890123";
    QTest::newRow("short value whole") << int(WaveCtrl::RBox) << 2.57 << "2.57";
}

// A value with many digits (a fit's) is kept exactly, shown in as many
// digits as the box can show, with the exact value in the tooltip; Return
// on the shortened text changes nothing.
void tst_WaveCtrl::longValuesFit() {
    QFETCH(int, box);
    QFETCH(double, value);
    QFETCH(QString, exact);
    ctrl->show();
    QVERIFY(QTest::qWaitForWindowExposed(ctrl));
    const auto b = WaveCtrl::Box(box);
    QLineEdit* edit =
        QList<QLineEdit*>{ctrl->RVal, ctrl->Phi0Val, ctrl->Phi2Val, ctrl->SigVal}[box];
    QVERIFY(ctrl->setExact(b, value));
    QCOMPARE(ctrl->current(b), value);
    const QString shown = edit->text();
    QVERIFY2(edit->fontMetrics().horizontalAdvance(shown) <= edit->contentsRect().width(),
             qPrintable(shown));
    QVERIFY(std::abs(shown.toDouble() - value) <= 1e-4 * std::abs(value));
    if (shown == exact) {
        QVERIFY(!edit->toolTip().contains(exact));
    } else {
        QVERIFY2(edit->toolTip().contains(exact), qPrintable(edit->toolTip()));
        QVERIFY(shown.size() < exact.size());
    }
    QSignalSpy spy(ctrl, SIGNAL(newR(double)));
    QSignalSpy spyP0(ctrl, SIGNAL(newPhi0(double)));
    QSignalSpy spyP2(ctrl, SIGNAL(newPhi2(double)));
    QSignalSpy spySig(ctrl, SIGNAL(newSig(double)));
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(spy.count() + spyP0.count() + spyP2.count() + spySig.count(), 0);
    QCOMPARE(ctrl->current(b), value);
    QCOMPARE(edit->text(), shown);

    // The formula line likewise.
    ctrl->showFormula(3.2954266588587244, 0);
    QVERIFY2(ctrl->label_6->text().endsWith("N*S0^2 = 3.295427"),
             qPrintable(ctrl->label_6->text()));
    QVERIFY(ctrl->label_6->toolTip().contains("3.2954266588587244"));
    ctrl->showFormula(2.5, 0);
    QVERIFY(ctrl->label_6->text().endsWith("N*S0^2 = 2.5"));
    QVERIFY(!ctrl->label_6->toolTip().contains("exactly"));
}

QTEST_MAIN(tst_WaveCtrl)
#include "tst_WaveCtrl.moc"
