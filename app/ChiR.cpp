#include "ChiR.h"

#include "AWave.h"
#include "About.h"
#include "Axes.h"
#include "ChCoord.h"
#include "ChiRPlot.h"
#include "Escaped.h"
#include "HandleHit.h"
#include "HeldCurves.h"
#include "Legend.h"
#include "MeasuredCurve.h"
#include "Palette.h"
#include "PixelDrawing.h"
#include "Scenario.h"
#include "SeriesCurves.h"
#include "Startup.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QResizeEvent>

#include <algorithm>
#include <cmath>
#include <utility>

using pixeldraw::solidPen;

namespace {
// Where the shells really are: a short tick under the zero line at each
// shell's own R, one colour per shell, so each peak's phase shift shows.
// Only with extra shells, so the one-shell picture stays as it was.
QVector<ChiRPlot::Mark> shellMarks(const AWave& w) {
    QVector<ChiRPlot::Mark> marks;
    if (w.shells.isEmpty())
        return marks;
    for (int i = 0; i <= w.shells.size(); ++i) {
        const double r = i == 0 ? w.r : w.shells[i - 1].r;
        if (AWave::inSum(r))
            marks.append({r, Palette::shellMark(i)});
    }
    return marks;
}
} // namespace

ChiR::ChiR(QWidget* parent) : QMainWindow(parent) {
    setupUi(this);
    grabbed = false;
    pointerR = 2.0;
    mouse = &DispA->mouse;
    coord = &DispA->coord;
    PointVal->setText(QString::number(pointerR, 'g', 6));
    PointVal->setStyleSheet(Palette::valueBoxStyle());

    connect(mouse, SIGNAL(mMoved()), this, SLOT(mMoved()));
    connect(mouse, SIGNAL(mPressed()), this, SLOT(mPressed()));
    connect(mouse, SIGNAL(mReleased()), this, SLOT(mReleased()));
    connect(SelAbs, SIGNAL(toggled(bool)), DispA, SLOT(update()));
    connect(SelReal, SIGNAL(toggled(bool)), DispA, SLOT(update()));
    connect(SelImag, SIGNAL(toggled(bool)), DispA, SLOT(update()));
    connect(DispA, SIGNAL(draw(QPainter*)), this, SLOT(drawR(QPainter*)));
    connect(SelEnvelope, SIGNAL(toggled(bool)), DispA, SLOT(update()));
    connect(SelWindow, SIGNAL(toggled(bool)), DispA, SLOT(update()));
    connect(SelWave, SIGNAL(toggled(bool)), DispA, SLOT(update()));
    connect(SelTotal, SIGNAL(toggled(bool)), DispA, SLOT(update()));
    connect(PointVal, SIGNAL(editingFinished()), this, SLOT(pointerTyped()));

    connect(actionAbout, SIGNAL(triggered()), this, SLOT(about()));
    connect(mouse, SIGNAL(mDClicked()), this, SLOT(dClicked()));
    // A click on the plot takes the keys, for Left and Right.
    DispA->setFocusPolicy(Qt::ClickFocus);
    DispA->installEventFilter(this);
    // The row's own minimum is set by fitControls, whichever way it is laid.
    frame->setSizePolicy(QSizePolicy::Ignored, frame->sizePolicy().verticalPolicy());
    fitControls(width());
    // The read-out is fitted to its width.
    ReadOut->installEventFilter(this);

    // The R window's row under the buttons, shown while filtering.
    rWindowRow = new QFrame(centralwidget);
    rWindowRow->setObjectName(QStringLiteral("rWindowRow"));
    auto* row = new QHBoxLayout(rWindowRow);
    row->setContentsMargins(3, 0, 3, 0);
    auto* title = new QLabel(rWindowRow);
    title->setObjectName(QStringLiteral("rWindowLabel"));
    row->addWidget(title);
    for (int i = 0; i < 4; ++i) {
        auto* box = new QLineEdit(rWindowRow);
        box->setObjectName(QStringLiteral("rWindow%1").arg(i + 1));
        box->setStyleSheet(Palette::valueBoxStyle());
        box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        connect(box, SIGNAL(editingFinished()), this, SLOT(rWindowTyped()));
        row->addWidget(box);
        rWindowBoxes.append(box);
    }
    row->addStretch();
    gridLayout->addWidget(rWindowRow, 2, 0);
    rWindowRow->hide();
    const Scenario defaults;
    ratioKMin = defaults.ratioKMin;
    ratioKMax = defaults.ratioKMax;
    const QVector<double> start = defaults.filterRWindow;
    setRWindow({start[0], start[1], start[2], start[3]});
    retranslateRWindow();
}

int ChiR::setRWindow(int i, double r) {
    if (i < 0 || i >= 4 || !std::isfinite(r))
        return i;
    rWindow[i] = r;
    // Sorted, following the moved value: a drag past a neighbour swaps them.
    int placed = i;
    while (placed > 0 && rWindow[placed] < rWindow[placed - 1]) {
        std::swap(rWindow[placed], rWindow[placed - 1]);
        --placed;
    }
    while (placed < 3 && rWindow[placed] > rWindow[placed + 1]) {
        std::swap(rWindow[placed], rWindow[placed + 1]);
        ++placed;
    }
    for (int b = 0; b < rWindowBoxes.size(); ++b)
        rWindowBoxes[b]->setText(QString::number(rWindow[b], 'g', 6));
    if (filtering())
        DispA->update();
    emit rWindowChanged();
    return placed;
}

void ChiR::setRWindow(const WindowPositions& positions) {
    WindowPositions sorted = positions;
    for (double r : sorted)
        if (!std::isfinite(r))
            return;
    std::sort(sorted.begin(), sorted.end());
    rWindow = sorted;
    for (int b = 0; b < rWindowBoxes.size(); ++b)
        rWindowBoxes[b]->setText(QString::number(rWindow[b], 'g', 6));
    if (filtering())
        DispA->update();
    emit rWindowChanged();
}

void ChiR::rWindowTyped() {
    const int i = rWindowBoxes.indexOf(qobject_cast<QLineEdit*>(sender()));
    if (i < 0)
        return;
    bool ok = false;
    const double typed = rWindowBoxes[i]->text().toDouble(&ok);
    if (!ok || !std::isfinite(typed) || typed == rWindow[i]) {
        // Garbage is not a position: the one that stays is shown.
        rWindowBoxes[i]->setText(QString::number(rWindow[i], 'g', 6));
        return;
    }
    setRWindow(i, typed);
}

void ChiR::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QMainWindow::changeEvent(event);
}

void ChiR::retranslate() {
    retranslateUi(this);
    retranslateRWindow();
    updateReadOut();
    fitControls(width());
    // The axis titles and the key are painted in the new language.
    DispA->update();
}

void ChiR::retranslateRWindow() {
    rWindowRow->findChild<QLabel*>(QStringLiteral("rWindowLabel"))->setText(tr("R window (Å):"));
    const char* tips[] = {QT_TR_NOOP("R window position 1, where the filter starts to rise, in Å"),
                          QT_TR_NOOP("R window position 2, where the filter reaches 1, in Å"),
                          QT_TR_NOOP("R window position 3, where the filter starts to fall, in Å"),
                          QT_TR_NOOP("R window position 4, where the filter reaches 0, in Å")};
    for (int i = 0; i < rWindowBoxes.size(); ++i)
        rWindowBoxes[i]->setToolTip(tr(tips[i]));
}

void ChiR::resizeEvent(QResizeEvent* event) {
    fitControls(event->size().width());
    QMainWindow::resizeEvent(event);
}

void ChiR::fitControls(int windowWidth) {
    QGridLayout* grid = gridLayout_2;
    const QMargins margins = gridLayout->contentsMargins();
    int buttons = 0;
    for (const QWidget* w : {SelReal, SelImag, SelAbs, SelEnvelope, SelWindow, SelWave, SelTotal})
        buttons += w->minimumSizeHint().width() + grid->horizontalSpacing();
    const int pointer = label->minimumSizeHint().width() + PointVal->minimumSizeHint().width() +
                        2 * grid->horizontalSpacing();
    frame->setMinimumWidth(buttons);
    const bool below = buttons + pointer + margins.left() + margins.right() > windowWidth;
    if (below == pointerBelow)
        return;
    pointerBelow = below;
    for (QWidget* w : {static_cast<QWidget*>(label), static_cast<QWidget*>(PointVal),
                       static_cast<QWidget*>(ReadOut)})
        grid->removeWidget(w);
    if (below) {
        grid->addWidget(label, 1, 0);
        grid->addWidget(PointVal, 1, 1, 1, 2);
        grid->addWidget(ReadOut, 1, 3, 1, 8);
    } else {
        grid->addWidget(label, 0, 9);
        grid->addWidget(PointVal, 0, 10);
        grid->addWidget(ReadOut, 1, 0, 1, 11);
    }
}

void ChiR::syncView() {
    rWindowRow->setVisible(filtering());
    DispA->update();
}

int ChiR::pointerBin() const {
    if (!waves || waves->isEmpty())
        return 0;
    const double dR = waves->first()->binWidthR();
    const double j = std::round(pointerR / dR);
    return std::isfinite(j) && std::abs(j) < 1e9 ? static_cast<int>(j) : 0;
}

void ChiR::spectraChanged() {
    onPeak = false;
    updateReadOut();
}

void ChiR::updateReadOut() {
    const AWave* w = waves && !waves->isEmpty() ? waves->first() : nullptr;
    if (!w || !w->chiSpectrum) {
        ReadOut->clear();
        return;
    }
    // Items in the order shown, each with a rank: when the line is too
    // narrow the highest ranks go first, R last of all.
    QVector<QPair<QString, int>> items;
    auto number = [](double v) { return QString::number(v, 'g', 4); };
    const QString unit =
        w->physical ? QStringLiteral(" Å") + Axes::superscript(-(w->n + 1)) : QString();
    const bool withData = measured && measured->isLoaded() && measured->fftLength == w->fftLength;
    if (onPeak) {
        items.append({tr("peak R = %1 Å").arg(pointerR, 0, 'f', 3), -1});
        if (modelPeak.found)
            items.append({tr("top |χ| = %1").arg(number(modelPeak.height) + unit), 0});
        if (withData && dataPeak.found)
            items.append(
                {tr("data: peak R = %1 Å, top |χ| = %2")
                     .arg(QString::number(dataPeak.r, 'f', 3), number(dataPeak.height) + unit),
                 1});
    } else {
        const int j = pointerBin();
        const double* s = w->chiSpectrum.get();
        items.append({tr("bin R = %1 Å").arg(j * w->binWidthR(), 0, 'f', 3), -1});
        items.append({tr("|χ| = %1").arg(number(w->magnitude(s, j)) + unit), 0});
        items.append({tr("Re χ = %1").arg(number(w->realPart(s, j))), 2});
        items.append({tr("Im χ = %1").arg(number(w->imagPart(s, j))), 2});
        if (withData) {
            const double* d = measured->spectrum.get();
            items.append({tr("data |χ| = %1").arg(number(w->magnitude(d, j)) + unit), 1});
            items.append({tr("data Re χ = %1").arg(number(w->realPart(d, j))), 3});
            items.append({tr("data Im χ = %1").arg(number(w->imagPart(d, j))), 3});
        }
    }
    const QFontMetrics fm(ReadOut->font());
    const int room = ReadOut->contentsRect().width();
    QString text;
    for (int rank = 3; rank >= -1; --rank) {
        QStringList kept;
        for (const auto& item : std::as_const(items))
            if (item.second <= rank)
                kept << item.first;
        text = kept.join(QStringLiteral("   "));
        if (fm.horizontalAdvance(text) <= room)
            break;
    }
    // Narrower still: cut at the end, so R stays.
    ReadOut->setText(
        fm.horizontalAdvance(text) <= room ? text : fm.elidedText(text, Qt::ElideRight, room));
}

bool ChiR::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ReadOut && event->type() == QEvent::Resize)
        updateReadOut();
    if (watched == DispA && event->type() == QEvent::KeyPress && waves && !waves->isEmpty()) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Left || key == Qt::Key_Right) {
            setPointer((pointerBin() + (key == Qt::Key_Right ? 1 : -1)) *
                       waves->first()->binWidthR());
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool ChiR::parabolaTop(double below, double middle, double above, double* offset, double* top) {
    if (!(middle >= below && middle >= above))
        return false;
    // y(x) = middle + b x + a x^2 through x = -1, 0, 1.
    const double a = (below + above) / 2 - middle;
    const double b = (above - below) / 2;
    *offset = a < 0 ? -b / (2 * a) : 0;
    *top = middle + b * *offset / 2;
    return true;
}

ChiR::Peak ChiR::peakNear(const AWave& w, const double* spectrum, double r) {
    Peak peak;
    const double dR = w.binWidthR();
    if (!spectrum || !(dR > 0))
        return peak;
    const double first = std::ceil((r - peakReach) / dR), last = std::floor((r + peakReach) / dR);
    if (!std::isfinite(first) || !std::isfinite(last) || std::abs(first) > 1e6 ||
        std::abs(last) > 1e6)
        return peak;
    int best = static_cast<int>(first);
    for (int j = best; j <= last; ++j)
        if (w.magnitude(spectrum, j) > w.magnitude(spectrum, best))
            best = j;
    double offset = 0, top = 0;
    if (parabolaTop(w.magnitude(spectrum, best - 1), w.magnitude(spectrum, best),
                    w.magnitude(spectrum, best + 1), &offset, &top)) {
        peak.found = true;
        peak.r = (best + offset) * dR;
        peak.height = top;
    } else {
        // No top within reach: the largest bin, for the pointer only.
        peak.r = best * dR;
    }
    return peak;
}

void ChiR::dClicked() {
    if (!waves || waves->isEmpty() || !waves->first()->chiSpectrum)
        return;
    const AWave* w = waves->first();
    const double r = coord->toWorldX(mouse->dClickPos.x());
    modelPeak = peakNear(*w, w->chiSpectrum.get(), r);
    const bool withData = measured && measured->isLoaded() && measured->fftLength == w->fftLength;
    dataPeak = withData ? peakNear(*w, measured->spectrum.get(), r) : Peak();
    // The model's top; the data's when the model has none there.
    const Peak& target = !modelPeak.found && dataPeak.found ? dataPeak : modelPeak;
    onPeak = target.found;
    placePointer(target.r);
}

void ChiR::about() {
    About::show(this);
}

void ChiR::setPointer(double r) {
    onPeak = false;
    placePointer(r);
}

void ChiR::placePointer(double r) {
    if (r != pointerR) {
        pointerR = r;
        DispA->update();
    }
    PointVal->setText(QString::number(pointerR, 'g', 6));
    updateReadOut();
}

void ChiR::pointerTyped() {
    bool ok = false;
    const double typed = PointVal->text().toDouble(&ok);
    setPointer(ok && std::isfinite(typed) ? typed : pointerR);
}

void ChiR::mPressed() {
    grabbed = false;
    grabbedR = -1;
    // The R window's handles on the zero line come before the pointer.
    if (filtering()) {
        const double y = coord->toPixelY(0.0);
        grabbedR = nearestHandle(
            4, [&](int i) { return QPointF(coord->toPixelX(rWindow[i]), y); }, mouse->curPos);
        if (grabbedR >= 0)
            return;
    }
    const double dx = coord->toPixelX(pointerR) - mouse->curPos.x();
    if (dx * dx < 100)
        grabbed = true;
}

void ChiR::mMoved() {
    if (grabbedR >= 0) {
        grabbedR = setRWindow(grabbedR, coord->toWorldX(mouse->curPos.x()));
        return;
    }
    if (!grabbed)
        return;
    pointerR = coord->toWorldX(mouse->curPos.x());
    onPeak = false;
    PointVal->setText(QString::number(pointerR, 'g', 6));
    DispA->update();
    updateReadOut();
}

void ChiR::setFitRange(double low, double high) {
    if (fitShown && fitLow == low && fitHigh == high)
        return;
    fitLow = low;
    fitHigh = high;
    fitShown = true;
    DispA->update();
}

void ChiR::clearFitRange() {
    if (!fitShown)
        return;
    fitShown = false;
    DispA->update();
}

void ChiR::mReleased() {
    grabbed = false;
    grabbedR = -1;
}

void ChiR::drawR(QPainter* p) {
    ChiRPlot::Inputs in;
    in.size = DispA->geometry().size();
    in.axes = view && view->axes;
    in.axesFont = DispA->font();
    in.text = &DispA->textDrawer;
    const ViewOptions::Range range = view && view->lockScales ? view->lockedR : fittedRange();
    // The frame is set here, before the renderer paints, and only read by
    // it; the mouse code later maps through what this paint used.
    in.plot = Axes::setFrame(*coord, in.size, in.axesFont, in.axes);
    coord->setScale(rMin, range.first, rMax, range.second);

    in.fitShown = fitShown;
    in.fitLow = fitLow;
    in.fitHigh = fitHigh;
    for (int i = 0; rMin + i < rMax; ++i)
        in.gridR.append(rMin + i);
    in.pointer = pointerR;
    if (filtering())
        in.rWindow = QVector<double>(rWindow.begin(), rWindow.end());
    if (waves) {
        for (const AWave* w : *waves)
            in.traces += traces(*w);
        if (!waves->isEmpty())
            in.marks = shellMarks(*waves->first());
    }

    in.xTitle = tr("R (Å)");
    in.yTitle = valueTitle();
    if (view && view->legend)
        in.legend = liveEntries();
    // The data and the held curves are always named.
    if (measured && measured->isLoaded())
        in.legend.append(
            {Palette::measured(), 2, Escaped::text(QFileInfo(measured->path).fileName())});
    if (held && !held->curves.isEmpty() && waves && !waves->isEmpty())
        in.legend += held->entries(*waves->first());
    if (series)
        in.legend += series->entries();
    ChiRPlot::paint(*p, *coord, in);
}

QString ChiR::valueTitle() const {
    if (!waves || waves->isEmpty() || !SelTotal->isChecked())
        return QString();
    QStringList parts;
    if (SelAbs->isChecked())
        parts << QStringLiteral("|χ(R)|");
    if (SelReal->isChecked())
        parts << QStringLiteral("Re χ(R)");
    if (SelImag->isChecked())
        parts << QStringLiteral("Im χ(R)");
    if (parts.isEmpty())
        return QString();
    const AWave* w = waves->first();
    const QString shown = parts.join(QStringLiteral(", "));
    return w->physical ? tr("%1 (Å%2)").arg(shown, Axes::superscript(-(w->n + 1)))
                       : tr("%1, normalised").arg(shown);
}

QVector<Legend::Entry> ChiR::liveEntries() const {
    QVector<Legend::Entry> entries;
    if (SelEnvelope->isChecked())
        entries.append({Palette::envelopeR(), 1, SelEnvelope->text()});
    if (SelWindow->isChecked())
        entries.append({Palette::window(), 1, SelWindow->text()});
    if (SelWave->isChecked())
        entries.append({Palette::oscillation(), 1, tr("sin(2kR+phi)")});
    if (SelTotal->isChecked()) {
        if (SelReal->isChecked())
            entries.append({Palette::realPart(), 2, tr("Total, real part")});
        if (SelImag->isChecked())
            entries.append({Palette::imagPart(), 2, tr("Total, imaginary part")});
        if (SelAbs->isChecked())
            entries.append({Palette::modulus(), 2, tr("Total, modulus")});
    }
    return entries;
}

TransformTraces ChiR::bins(const AWave& w) const {
    TransformTraces bins;
    bins.length = w.fftLength;
    bins.binWidth = w.binWidthR();
    bins.count = w.chi.size();
    bins.rMax = rMax;
    if (SelTotal->isChecked()) {
        bins.chosen[0] = SelReal->isChecked();
        bins.chosen[1] = SelImag->isChecked();
        bins.chosen[2] = SelAbs->isChecked();
    }
    return bins;
}

QVector<PlotTrace> ChiR::traces(const AWave& w) const {
    QVector<PlotTrace> out;
    const TransformTraces r = bins(w);
    const double dR = r.binWidth;
    if (w.fftLength <= 0 || !w.chiSpectrum || !(dR > 0) || !std::isfinite(dR))
        return out;
    using Part = TransformTraces::Part;
    const int j0 = static_cast<int>(rMin / dR);
    const bool first = waves && !waves->isEmpty() && &w == waves->first();
    // Held curves first, behind the live ones.
    if (first && held)
        out = held->traces(w.physical, &r);
    if (first && series)
        out += series->traces(&r);
    if (SelEnvelope->isChecked())
        out.append(
            r.part(w.envelopeSpectrum.get(), Part::Modulus, j0, solidPen(Palette::envelopeR(), 1)));
    if (SelWindow->isChecked())
        out.append(
            r.part(w.windowSpectrum.get(), Part::Modulus, j0, solidPen(Palette::window(), 1)));
    if (SelWave->isChecked())
        out.append(r.part(w.oscillationSpectrum.get(), Part::Modulus, 1,
                          solidPen(Palette::oscillation(), 1)));
    if (first && measured && measured->isLoaded() && measured->fftLength == w.fftLength) {
        const QColor data[] = {Palette::measured(), Palette::measured(), Palette::measured()};
        r.appendTotal(&out, measured->spectrum.get(), data, 2, true);
    }
    // The modulus last, on top.
    const QColor live[] = {Palette::realPart(), Palette::imagPart(), Palette::modulus()};
    r.appendTotal(&out, w.chiSpectrum.get(), live, 2, false);
    return out;
}

ViewOptions::Range ChiR::fittedRange() const {
    // In either amplitude mode: every bin of every curve drawn, nothing else
    // (a hidden transform, such as the bare oscillation's, sets no scale);
    // below zero only as far as a real or imaginary part goes.
    double high = 0, low = 0;
    if (waves)
        for (const AWave* w : *waves)
            for (const PlotTrace& t : traces(*w))
                for (int i = 0; i < t.count; ++i) {
                    const double v = t.sign * t.y[i];
                    high = std::max(high, v);
                    low = std::min(low, v);
                }
    // With nothing transformed yet (or an all-zero signal) the value axis
    // would collapse to a point; show the unit range instead.
    if (!(high > 0 || low < 0) || !std::isfinite(high - low)) {
        high = 1;
        low = 0;
    }
    return {low < 0 ? 1.05 * low : -0.05 * high, high > 0 ? 1.05 * high : 0.05 * -low};
}
