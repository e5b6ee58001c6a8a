#include "ChiR.h"

#include "AWave.h"
#include "About.h"
#include "Axes.h"
#include "ChCoord.h"
#include "Escaped.h"
#include "HeldCurves.h"
#include "Legend.h"
#include "MeasuredCurve.h"
#include "Palette.h"
#include "PixelDrawing.h"
#include "ProgramState.h"
#include "Startup.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QPainter>
#include <QResizeEvent>

#include <algorithm>
#include <cmath>
#include <utility>

using pixeldraw::measuredColour;
using pixeldraw::pixelLine;
using pixeldraw::solidPen;

namespace {
// Where the shells really are: a short tick under the zero line at each
// shell's own R, one colour per shell, so each peak's phase shift shows.
// Drawn only with extra shells, so the one-shell picture stays as it was.
void drawShellMarks(QPainter* p, const ChCoord& coord, const AWave& w) {
    if (w.shells.isEmpty())
        return;
    const double y = coord.toPixelY(0);
    for (int i = 0; i <= w.shells.size(); ++i) {
        const double r = i == 0 ? w.r : w.shells[i - 1].r;
        if (!AWave::inSum(r))
            continue;
        QPen pen(Palette::shellMark(i));
        pen.setWidth(3);
        pen.setCapStyle(Qt::FlatCap);
        p->setPen(pen);
        const double x = coord.toPixelX(r);
        const QLine tick = pixelLine(x, y + ChiR::markGap, x, y + ChiR::markGap + ChiR::markLength);
        p->drawLines(&tick, 1);
    }
}
} // namespace

ChiR::ChiR(QWidget* parent) : QMainWindow(parent) {
    setupUi(this);
    grabbed = false;
    pointerR = 2.0;
    mouse = &DispA->mouse;
    coord = &DispA->coord;
    PointVal->setText(QString::number(pointerR, 'g', 6));

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
}

void ChiR::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QMainWindow::changeEvent(event);
}

void ChiR::retranslate() {
    retranslateUi(this);
    updateReadOut();
    fitControls(width());
    // The axis titles and the key are painted in the new language.
    DispA->update();
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
    const double dx = coord->toPixelX(pointerR) - mouse->curPos.x();
    if (dx * dx < 100)
        grabbed = true;
}

void ChiR::mMoved() {
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
}

void ChiR::drawR(QPainter* p) {
    const QRect geometry = DispA->geometry();
    const int width = geometry.width();
    const int height = geometry.height();
    p->fillRect(QRect(QPoint(0, 0), QPoint(width - 1, height - 1)), Palette::background());

    const bool axes = view && view->axes;
    const ViewOptions::Range range = view && view->lockScales ? view->lockedR : fittedRange();
    const QFont axesFont = DispA->font();
    const QRect plot = Axes::setFrame(*coord, geometry.size(), axesFont, axes);
    if (axes)
        p->setClipRect(plot);
    coord->setScale(rMin, range.first, rMax, range.second);

    auto X = [this](double v) { return coord->toPixelX(v); };
    auto Y = [this](double v) { return coord->toPixelY(v); };

    const QFont font;
    const int labelHeight = std::max(height / 40, 10);

    // The fit's R range: a pale band under everything else.
    if (fitShown)
        p->fillRect(QRect(QPoint(X(fitLow), 0), QPoint(X(fitHigh), height - 1)),
                    Palette::fitBand());

    p->setPen(solidPen(Palette::grid(), 1));
    for (int i = 0; i < 12; ++i) {
        const double r = -2 + i;
        const QLine grid = pixelLine(X(r), 0, X(r), height);
        p->drawLines(&grid, 1);
        DispA->textDrawer.drawFitted(p, QRectF(X(r) + 5, Y(0) + 5, X(r + 0.5), labelHeight),
                                     QFont(font), Qt::AlignLeft | Qt::AlignTop, 1,
                                     QString::number(r, 'g', 6), 10);
    }
    const QLine zero = pixelLine(0, Y(0), width, Y(0));
    p->drawLines(&zero, 1);

    // Over the grid, so that it shows at a whole R too; under the curves.
    p->setPen(solidPen(Palette::pointer(), 1));
    const QLine pointer = pixelLine(X(pointerR), 0, X(pointerR), height);
    p->drawLines(&pointer, 1);

    if (!waves) {
        drawFurniture(p, plot, axesFont);
        return;
    }
    QVector<QLine> segments;
    for (const AWave* w : *waves) {
        const double dR = w->binWidthR();
        const int count = w->chi.size();
        for (const Trace& t : traces(*w)) {
            p->setPen(t.pen);
            segments.clear();
            for (int j = t.jStart; j < count; ++j) {
                const double r = j * dR;
                if (r > rMax)
                    break;
                segments << pixelLine(X(r - dR), Y((w->*t.value)(t.spectrum, j - 1)), X(r),
                                      Y((w->*t.value)(t.spectrum, j)));
            }
            p->drawLines(segments.constData(), segments.size());
        }
    }
    if (!waves->isEmpty())
        drawShellMarks(p, *coord, *waves->first());
    drawFurniture(p, plot, axesFont);
}

void ChiR::drawFurniture(QPainter* p, const QRect& plot, const QFont& font) {
    p->setClipping(false);
    if (view && view->axes)
        Axes::draw(p, *coord, font, tr("R (Å)"), valueTitle());
    QVector<Legend::Entry> entries;
    if (view && view->legend)
        entries = liveEntries();
    // The data and the held curves are always named.
    if (measured && measured->isLoaded())
        entries.append({measuredColour(), 2, Escaped::text(QFileInfo(measured->path).fileName())});
    if (held && !held->curves.isEmpty() && waves && !waves->isEmpty())
        entries +=
            held->entries(ProgramState::capture(*waves->first(), *this), waves->first()->physical);
    Legend::draw(p, entries, plot, font);
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

QVector<ChiR::Trace> ChiR::traces(const AWave& w) const {
    QVector<Trace> out;
    const double dR = w.binWidthR();
    if (w.fftLength <= 0 || !w.chiSpectrum || !(dR > 0) || !std::isfinite(dR))
        return out;
    const int j0 = static_cast<int>(rMin / dR);
    auto pen = [](const QColor& colour, int width, Qt::PenStyle style = Qt::SolidLine) {
        QPen p(colour);
        p.setWidth(width);
        p.setStyle(style);
        return p;
    };
    // The parts of the total that are chosen, drawn in `colours` (real,
    // imaginary, modulus) with `width`; measured data tell their parts apart
    // by dashes.
    auto totalParts = [&](const double* spectrum, const QColor(&colours)[3], int width,
                          bool dashed) {
        if (!SelTotal->isChecked() || !spectrum)
            return;
        const bool chosen[] = {SelReal->isChecked(), SelImag->isChecked(), SelAbs->isChecked()};
        double (AWave::*parts[])(const double*, int)
            const = {&AWave::realPart, &AWave::imagPart, &AWave::magnitude};
        const Qt::PenStyle dashes[] = {Qt::DashLine, Qt::DotLine, Qt::SolidLine};
        for (int part = 0; part < 3; ++part)
            if (chosen[part])
                out.append({spectrum, parts[part], 1,
                            pen(colours[part], width, dashed ? dashes[part] : Qt::SolidLine)});
    };
    const QColor live[] = {Palette::realPart(), Palette::imagPart(), Palette::modulus()};
    const bool first = waves && !waves->isEmpty() && &w == waves->first();
    if (first && held) {
        // Held curves first, behind the live ones, pale: the model's thin,
        // the data's as wide as the live data. Only those of this mode.
        for (int h = 0; h < held->curves.size(); ++h) {
            const HeldCurves::Curve& c = held->curves[h];
            if (c.fftLength != w.fftLength || c.binWidthR != dR || c.physical != w.physical)
                continue;
            const int age = held->curves.size() - 1 - h;
            const QColor paleData = HeldCurves::shadeOf(measuredColour(), age);
            const QColor data[] = {paleData, paleData, paleData};
            if (c.hasData())
                totalParts(c.dataSpectrum.data(), data, 2, true);
            const QColor pale[] = {HeldCurves::shadeOf(live[0], age),
                                   HeldCurves::shadeOf(live[1], age),
                                   HeldCurves::shadeOf(live[2], age)};
            totalParts(c.spectrum.data(), pale, 1, false);
        }
    }
    if (SelEnvelope->isChecked())
        out.append({w.envelopeSpectrum.get(), &AWave::magnitude, j0, solidPen(Palette::envelopeR(), 1)});
    if (SelWindow->isChecked())
        out.append({w.windowSpectrum.get(), &AWave::magnitude, j0, solidPen(Palette::window(), 1)});
    if (SelWave->isChecked())
        out.append({w.oscillationSpectrum.get(), &AWave::magnitude, 1, solidPen(Palette::oscillation(), 1)});
    if (first && measured && measured->isLoaded() && measured->fftLength == w.fftLength) {
        const QColor data[] = {measuredColour(), measuredColour(), measuredColour()};
        totalParts(measured->spectrum.get(), data, 2, true);
    }
    // The modulus last, on top.
    totalParts(w.chiSpectrum.get(), live, 2, false);
    return out;
}

ViewOptions::Range ChiR::fittedRange() const {
    if (waves && !waves->isEmpty() && waves->first()->physical) {
        // Physical amplitudes: every bin of every curve drawn, nothing else;
        // below zero only as far as a real or imaginary part goes.
        double high = 0, low = 0;
        for (const AWave* w : *waves) {
            const double dR = w->binWidthR();
            for (const Trace& t : traces(*w))
                for (int j = t.jStart - 1; j < w->chi.size() && j * dR <= rMax; ++j) {
                    const double v = (w->*t.value)(t.spectrum, j);
                    high = std::max(high, v);
                    low = std::min(low, v);
                }
        }
        if (!(high > 0 || low < 0) || !std::isfinite(high - low)) {
            high = 1;
            low = 0;
        }
        return {low < 0 ? 1.05 * low : -0.05 * high, high > 0 ? 1.05 * high : 0.05 * -low};
    }
    double scale = -1e300;
    if (waves) {
        for (const AWave* w : *waves)
            if (w->spectrumScale > scale)
                scale = w->spectrumScale;
        // Measured data share the axis.
        if (measured && measured->isLoaded() && !waves->isEmpty() &&
            measured->fftLength == waves->first()->fftLength) {
            for (int j = 0; j < measured->fftLength; ++j)
                scale = std::max(scale, waves->first()->magnitude(measured->spectrum.get(), j));
        }
    }
    // With nothing transformed yet (or an all-zero signal) the value axis
    // would collapse to a point; show the unit range instead.
    if (!(scale > 0) || !std::isfinite(scale))
        scale = 1;
    // The modulus alone is never negative: keep only a sliver below zero.
    const bool absOnly = SelAbs->isChecked() && !SelReal->isChecked() && !SelImag->isChecked();
    return {absOnly ? -0.05 * scale : -1.05 * scale, 1.05 * scale};
}
