#include "SeriesCurves.h"

#include "AWave.h"
#include "Escaped.h"
#include "MeasuredCurve.h"
#include "Palette.h"
#include "ParameterTable.h"
#include "PhysicalUnits.h"
#include "PixelDrawing.h"
#include "RealFft.h"
#include "TransformTraces.h"

#include <cmath>

SeriesCurves::SeriesCurves(QObject* parent) : QObject(parent) {}

SeriesCurves::~SeriesCurves() = default;

void SeriesCurves::setSets(const QVector<Set>& sets) {
    all = sets;
    processed.clear();
    processed.resize(size_t(all.size()));
    for (int i = 0; i < all.size(); ++i)
        processSet(i);
    emit changed();
}

void SeriesCurves::setShown(bool on) {
    if (shown == on)
        return;
    shown = on;
    emit changed();
}

void SeriesCurves::process(const AWave* w) {
    wave = w;
    for (int i = 0; i < all.size(); ++i)
        processSet(i);
}

void SeriesCurves::processSet(int i) {
    Processed& p = processed[size_t(i)];
    const Set& set = all[i];
    if (i > 0 && !set.k.isEmpty()) {
        if (!p.data) {
            p.data = std::make_unique<MeasuredCurve>();
            p.data->setData(set.k, set.chi, set.name);
        }
        p.data->process(wave);
    }
    p.model.clear();
    p.modelSpectrum.clear();
    if (!wave || set.model.size() != fitOrder().size() || wave->fftLength <= 0)
        return;
    // The model with this set's values, made as the wave's own chi and on
    // the measured data's scale.
    WaveParameters parameters = wave->parameters();
    for (size_t j = 0; j < set.model.size(); ++j)
        parameters.*fitOrder()[j]->field = set.model[j];
    QVector<double> envelopeAtK, windowAtK;
    wave->factorInputs(&envelopeAtK, &windowAtK);
    WaveArrays arrays;
    synthesizeWave(parameters, wave->factors(), wave->grid(), envelopeAtK, windowAtK, true,
                   &arrays);
    const int N = wave->fftLength;
    if (arrays.chi.size() < N)
        return;
    p.model = arrays.chi.mid(0, N);
    if (!wave->physical && wave->divisor > 0 && std::isfinite(wave->divisor))
        for (double& v : p.model)
            v /= wave->divisor;
    p.modelSpectrum.assign(size_t(N), 0.0);
    fft::RealFft<double>(N).forwardTransform(p.modelSpectrum.data(), p.model.constData());
    if (wave->physical)
        PhysicalUnits::scaleSpectrum(p.modelSpectrum.data(), N, wave->dk);
}

QVector<PlotTrace> SeriesCurves::traces(const TransformTraces* r) const {
    QVector<PlotTrace> out;
    if (!shown || !wave || wave->fftLength <= 0)
        return out;
    const int count = std::min(wave->kCount, int(wave->kValues.size()));
    for (int i = 0; i < all.size(); ++i) {
        const Processed& p = processed[size_t(i)];
        const QColor colour = Palette::dataSet(i);
        const bool hasData = i > 0 && p.data && p.data->fftLength == wave->fftLength;
        const bool hasModel = int(p.modelSpectrum.size()) == wave->fftLength;
        if (r) {
            if (!r->sameBins(wave->fftLength, wave->binWidthR()))
                continue;
            const QColor parts[] = {colour, colour, colour};
            if (hasData)
                r->appendTotal(&out, p.data->spectrum.get(), parts, 2, true);
            if (hasModel)
                r->appendTotal(&out, p.modelSpectrum.data(), parts, 1, false);
            continue;
        }
        if (hasData && p.data->values.size() >= count)
            out.append(
                {wave->kValues, p.data->values, count, 1, pixeldraw::solidPen(colour, 2), false});
        if (hasModel && p.model.size() >= count)
            out.append({wave->kValues, p.model, count, 1, pixeldraw::solidPen(colour, 1), false});
    }
    return out;
}

QVector<Legend::Entry> SeriesCurves::entries() const {
    QVector<Legend::Entry> out;
    if (!shown)
        return out;
    for (int i = 0; i < all.size(); ++i) {
        const Processed& p = processed[size_t(i)];
        const QString name = Escaped::text(all[i].name);
        if (i > 0 && p.data && p.data->isLoaded())
            out.append({Palette::dataSet(i), 2, name});
        if (!p.model.isEmpty())
            out.append({Palette::dataSet(i), 1, tr("model of %1").arg(name)});
    }
    return out;
}

QVector<QVector<double>> SeriesCurves::values() const {
    QVector<QVector<double>> out;
    if (!shown)
        return out;
    for (size_t i = 0; i < processed.size(); ++i) {
        if (processed[i].data)
            out.append(processed[i].data->values);
        out.append(processed[i].model);
    }
    return out;
}
