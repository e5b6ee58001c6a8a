#include "RatioWindow.h"

#include "SeriesCurves.h"

#include "AWave.h"
#include "ChiR.h"
#include "HeldCurves.h"
#include "MeasuredCurve.h"
#include "Palette.h"
#include "RatioPlot.h"
#include "SeriesCurves.h"

#include <QEvent>
#include <QPainter>
#include <QSignalBlocker>

#include <cmath>

namespace {
QString shown(double v) {
    return QString::number(v, 'g', 6);
}
} // namespace

RatioWindow::RatioWindow(const AWave* wave_, const MeasuredCurve* data_, const HeldCurves* held_,
                         const SeriesCurves* series_, ChiR* chiR_, QWidget* parent)
    : QWidget(parent, Qt::Window), wave(wave_), data(data_), held(held_), series(series_),
      chiR(chiR_) {
    setupUi(this);
    for (QLineEdit* box : {KMin, KMax})
        box->setStyleSheet(Palette::valueBoxStyle());
    KMin->setText(shown(chiR->ratioKMin));
    KMax->setText(shown(chiR->ratioKMax));
    connect(KMin, SIGNAL(editingFinished()), this, SLOT(kTyped()));
    connect(KMax, SIGNAL(editingFinished()), this, SLOT(kTyped()));
    connect(Source, SIGNAL(activated(int)), this, SLOT(recompute()));
    connect(AmplitudePlot, SIGNAL(draw(QPainter*)), this, SLOT(drawAmplitude(QPainter*)));
    connect(PhasePlot, SIGNAL(draw(QPainter*)), this, SLOT(drawPhase(QPainter*)));
    fillSources();
    recompute();
}

void RatioWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        retranslateUi(this);
        fillSources();
        recompute();
    }
    QWidget::changeEvent(event);
}

void RatioWindow::fillSources() {
    const int number = Source->currentData().toInt();
    const QSignalBlocker quiet(Source);
    Source->clear();
    Source->addItem(tr("the model"), 0);
    for (const HeldCurves::Curve& c : held->curves)
        if (c.hasData())
            Source->addItem(HeldCurves::dataNameOf(c), c.number);
    const QVector<SeriesCurves::Set>& sets = series->sets();
    for (int i = 1; i < sets.size(); ++i)
        Source->addItem(tr("data set %1: %2").arg(i + 1).arg(sets[i].name), -i);
    const int at = Source->findData(number);
    Source->setCurrentIndex(at < 0 ? 0 : at);
}

void RatioWindow::kTyped() {
    bool okMin = false, okMax = false;
    const double low = KMin->text().toDouble(&okMin);
    const double high = KMax->text().toDouble(&okMax);
    // A range that is no range keeps the last one; the report says why.
    if (okMin && okMax && std::isfinite(low) && std::isfinite(high) && low < high) {
        chiR->ratioKMin = low;
        chiR->ratioKMax = high;
    }
    KMin->setText(shown(chiR->ratioKMin));
    KMax->setText(shown(chiR->ratioKMax));
    recompute();
}

bool RatioWindow::secondSpectrum(FilteredSpectrum* out, QString* why) {
    const int number = Source->currentData().toInt();
    if (number == 0) {
        // Normalised, the model's size is its largest value's: no ratio.
        if (!wave->physical || !wave->chiSpectrum) {
            *why = tr("The model compares only in physical amplitude (View > Physical amplitude).");
            return false;
        }
        return filter.filter(FilteredCurves::inputOf(*wave, wave->chiSpectrum.get(), chiR->rWindow),
                             out, why);
    }
    for (const HeldCurves::Curve& c : held->curves) {
        if (c.number != number || !c.hasData())
            continue;
        if (!c.physical) {
            *why = tr("Held data compare only when held in physical amplitude.");
            return false;
        }
        return filter.filter(FilteredCurves::inputOf(c, c.dataSpectrum.data(), chiR->rWindow), out,
                             why);
    }
    if (number < 0) {
        const QVector<SeriesCurves::Set>& sets = series->sets();
        if (-number >= sets.size()) {
            *why = tr("The data set is gone.");
            return false;
        }
        // Read as the loaded data is, on the wave's grid.
        const SeriesCurves::Set& set = sets[-number];
        QVector<double> envelopeAtK, windowAtK;
        if (wave->factors().window)
            wave->factorInputs(&envelopeAtK, &windowAtK);
        return filter.filterData(set.k, set.chi, wave->grid(), wave->n, windowAtK, chiR->rWindow,
                                 out, why);
    }
    *why = tr("The held curve is gone.");
    return false;
}

void RatioWindow::recompute() {
    fillSources();
    last = RatioRun();
    last.context = ratioContext(*wave, chiR->rWindow, chiR->ratioKMin, chiR->ratioKMax);
    FilteredSpectrum first, second;
    if (!data->isLoaded()) {
        last.error = tr("Open measured data first (File > Open measured chi(k)…).");
    } else {
        // The loaded data as read, not normalised, on the wave's grid.
        QVector<double> envelopeAtK, windowAtK;
        if (wave->factors().window)
            wave->factorInputs(&envelopeAtK, &windowAtK);
        if (filter.filterData(data->dataK, data->dataChi, wave->grid(), wave->n, windowAtK,
                              chiR->rWindow, &first, &last.error) &&
            secondSpectrum(&second, &last.error))
            last = runRatio(first, second, last.context);
    }
    if (last.ok) {
        const fit::RatioResult& r = last.result;
        Report->setText(tr("Δσ² = %1 ± %2 Å²    ln(N₁/N₂) = %3 ± %4    ΔR = %5 ± %6 Å\n"
                           "%7 points over %8 to %9 Å⁻¹, %10 independent: errors × %11")
                            .arg(QString::number(r.deltaSigma2.value, 'g', 4),
                                 QString::number(r.deltaSigma2.error, 'g', 2),
                                 QString::number(r.lnAmplitudeRatio.value, 'g', 4),
                                 QString::number(r.lnAmplitudeRatio.error, 'g', 2),
                                 QString::number(r.deltaR.value, 'g', 4),
                                 QString::number(r.deltaR.error, 'g', 2))
                            .arg(r.k.size())
                            .arg(shown(last.context.kMin), shown(last.context.kMax),
                                 QString::number(last.independentPoints, 'f', 1),
                                 QString::number(last.errorFactor, 'f', 2)));
    } else {
        Report->setText(tr("No ratio: %1").arg(last.error));
    }
    AmplitudePlot->update();
    PhasePlot->update();
}

void RatioWindow::drawAmplitude(QPainter* p) {
    RatioPlot::Inputs in;
    in.size = AmplitudePlot->size();
    in.axesFont = AmplitudePlot->font();
    in.xTitle = tr("k² (Å⁻²)");
    in.yTitle = tr("ln(A₁/A₂)");
    if (last.ok) {
        in.x = last.result.kSquared;
        in.y = last.result.lnRatio;
        in.hasLine = true;
        in.slope = last.result.amplitudeLine.slope;
        in.intercept = last.result.amplitudeLine.intercept;
    }
    RatioPlot::paint(*p, AmplitudePlot->coord, in);
}

void RatioWindow::drawPhase(QPainter* p) {
    RatioPlot::Inputs in;
    in.size = PhasePlot->size();
    in.axesFont = PhasePlot->font();
    in.xTitle = tr("k (Å⁻¹)");
    in.yTitle = tr("Φ₁ − Φ₂ (rad)");
    if (last.ok) {
        in.x = last.result.k;
        in.y = last.result.phaseDifference;
        in.hasLine = true;
        in.slope = last.result.phaseLine.slope;
        in.intercept = last.result.phaseLine.intercept;
    }
    RatioPlot::paint(*p, PhasePlot->coord, in);
}
