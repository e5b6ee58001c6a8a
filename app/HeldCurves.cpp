#include "HeldCurves.h"

#include "AWave.h"
#include "Escaped.h"
#include "MeasuredCurve.h"
#include "Palette.h"
#include "PixelDrawing.h"
#include "TransformTraces.h"

#include <QFileInfo>

#include <algorithm>

HeldCurves::HeldCurves(QObject* parent) : QObject(parent) {}

void HeldCurves::hold(const AWave& wave, const Scenario& state, const MeasuredCurve* data) {
    Curve c;
    const int count = std::min(wave.kCount, int(std::min(wave.chi.size(), wave.kValues.size())));
    c.k = wave.kValues.mid(0, count);
    c.chi = wave.chi.mid(0, count);
    if (wave.chiSpectrum && wave.fftLength > 0)
        c.spectrum.assign(wave.chiSpectrum.get(), wave.chiSpectrum.get() + wave.fftLength);
    c.fftLength = wave.fftLength;
    c.binWidthR = wave.binWidthR();
    c.state = state;
    c.physical = wave.physical;
    if (data && data->isLoaded() && data->spectrum && data->fftLength == wave.fftLength &&
        data->values.size() >= count) {
        c.dataChi = data->values.mid(0, count);
        c.dataSpectrum.assign(data->spectrum.get(), data->spectrum.get() + data->fftLength);
        c.dataName = Escaped::text(QFileInfo(data->path).fileName());
    }
    c.number = ++held;
    if (curves.size() == capacity)
        curves.removeFirst();
    curves.append(c);
    emit changed();
}

void HeldCurves::clear() {
    if (curves.isEmpty())
        return;
    curves.clear();
    emit changed();
}

QColor HeldCurves::shadeOf(QColor live, int age) {
    // Towards white, the more the older: the newest is the darkest of them.
    return Palette::towardWhite(live, 0.45 + 0.15 * std::min(age, capacity - 1));
}

QString HeldCurves::nameOf(const Curve& c, const Scenario& now) {
    const QString base = tr("held %1").arg(c.number);
    const Scenario& s = c.state;
    QStringList differ;
    if (s.n != now.n)
        differ << QStringLiteral("%1 = %2").arg(QLatin1String(KWeight::key)).arg(s.n);
    for (const ParameterRow& row : parameterTable) {
        const double value = s.parameter(row.id);
        if (value != now.parameter(row.id))
            differ << QStringLiteral("%1 = %2").arg(QString::fromUtf8(row.shortName)).arg(value);
    }
    // The path by its file's name.
    if (s.pathFile != now.pathFile)
        differ << (s.pathFile.isEmpty() ? tr("no path")
                                        : tr("path %1").arg(QFileInfo(s.pathFile).fileName()));
    return differ.size() == 1 ? tr("%1: %2").arg(base, differ.first()) : base;
}

QString HeldCurves::dataNameOf(const Curve& c) {
    return tr("%1 (held %2)").arg(c.dataName).arg(c.number);
}

QVector<Legend::Entry> HeldCurves::entries(const Scenario& now, bool physical) const {
    QVector<Legend::Entry> out;
    for (int h = curves.size() - 1; h >= 0; --h) {
        const Curve& c = curves[h];
        if (c.physical != physical)
            continue;
        const int age = curves.size() - 1 - h;
        out.append({shadeOf(Palette::chi(), age), 1, nameOf(c, now)});
        if (c.hasData())
            out.append({shadeOf(Palette::measured(), age), 2, dataNameOf(c)});
    }
    return out;
}

QVector<Legend::Entry> HeldCurves::entries(const AWave& now) const {
    // Names compare the k-weight and the table's parameters alone.
    Scenario state;
    state.n = now.n;
    for (const ParameterRow& row : parameterTable)
        state.setParameter(row.id, now.parameter(row.id));
    return entries(state, now.physical);
}

QVector<PlotTrace> HeldCurves::traces(bool physical, const TransformTraces* r) const {
    QVector<PlotTrace> out;
    for (int h = 0; h < curves.size(); ++h) {
        const Curve& c = curves[h];
        if (c.physical != physical || (r && !r->sameBins(c.fftLength, c.binWidthR)))
            continue;
        const int age = curves.size() - 1 - h;
        const QColor data = shadeOf(Palette::measured(), age);
        if (r) {
            const QColor dataParts[] = {data, data, data};
            const QColor modelParts[] = {shadeOf(Palette::realPart(), age),
                                         shadeOf(Palette::imagPart(), age),
                                         shadeOf(Palette::modulus(), age)};
            if (c.hasData())
                r->appendTotal(&out, c.dataSpectrum.data(), dataParts, 2, true);
            r->appendTotal(&out, c.spectrum.data(), modelParts, 1, false);
            continue;
        }
        auto trace = [&](const QVector<double>& values, const QColor& colour, int width) {
            const int count = int(std::min(c.k.size(), values.size()));
            out.append({c.k, values, count, 1, pixeldraw::solidPen(colour, width), false});
        };
        if (c.hasData())
            trace(c.dataChi, data, 2);
        trace(c.chi, shadeOf(Palette::chi(), age), 1);
    }
    return out;
}
