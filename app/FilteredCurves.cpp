#include "FilteredCurves.h"

#include "AWave.h"
#include "ChiDataReader.h"
#include "MeasuredCurve.h"
#include "MeasuredStandard.h"
#include "Palette.h"
#include "PhysicalUnits.h"
#include "PixelDrawing.h"
#include "RealFft.h"

#include <cmath>
#include <vector>

FilterInput FilteredCurves::inputOf(const AWave& wave, const double* spectrum,
                                    const WindowPositions& r) {
    FilterInput in;
    in.spectrum = spectrum;
    in.spectrumFactor = wave.physical ? PhysicalUnits::transformFactor(wave.dk) : 1;
    in.grid = wave.grid();
    in.n = wave.n;
    if (wave.factors().window) {
        QVector<double> envelopeAtK;
        wave.factorInputs(&envelopeAtK, &in.kWindow);
    }
    in.rWindow = r;
    return in;
}

FilterInput FilteredCurves::inputOf(const HeldCurves::Curve& c, const double* spectrum,
                                    const WindowPositions& r) {
    FilterInput in;
    in.spectrum = spectrum;
    if (c.k.size() < 2)
        return in; // refused by the filter: no signal points
    in.grid.kMin = c.k.first();
    in.grid.dk = c.k[1] - c.k[0];
    in.grid.kCount = c.k.size();
    in.grid.length = c.fftLength;
    in.spectrumFactor = c.physical ? PhysicalUnits::transformFactor(in.grid.dk) : 1;
    in.n = c.state.n;
    if (c.state.windowOn && c.state.windowPositions.size() == 4) {
        const WindowPositions k{c.state.windowPositions[0], c.state.windowPositions[1],
                                c.state.windowPositions[2], c.state.windowPositions[3]};
        for (int i = 0; i < in.grid.kCount; ++i)
            in.kWindow.append(hanningWindow(k, in.grid.k(i)));
    }
    in.rWindow = r;
    return in;
}

bool FilteredCurves::filter(const FilterInput& in, FilteredSpectrum* out, QString* error) {
    return engine.filter(in, out, error);
}

bool FilteredCurves::filterData(const QVector<double>& k, const QVector<double>& chi,
                                const WaveGrid& grid, int n, const QVector<double>& kWindow,
                                const WindowPositions& r, FilteredSpectrum* out, QString* error) {
    if (grid.length < 4 || grid.kCount <= 0 || grid.kCount > grid.length) {
        if (error)
            *error = FourierFilter::tr("The k grid holds no signal to filter.");
        return false;
    }
    const QVector<double> x =
        PhysicalUnits::weightedData(k, chi, grid, n, kWindow.isEmpty() ? nullptr : &kWindow);
    std::vector<double> spectrum(grid.length);
    fft::RealFft<double>(grid.length).forwardTransform(spectrum.data(), x.constData());
    PhysicalUnits::scaleSpectrum(spectrum.data(), grid.length, grid.dk);
    FilterInput in;
    in.spectrum = spectrum.data();
    in.spectrumFactor = PhysicalUnits::transformFactor(grid.dk);
    in.grid = grid;
    in.n = n;
    in.kWindow = kWindow;
    in.rWindow = r;
    return engine.filter(in, out, error);
}

ShellPathPtr FilteredCurves::standard(const QVector<double>& k, const QVector<double>& chi,
                                      const WaveGrid& grid, const StandardOrigin& origin,
                                      QString* error) {
    if (k.isEmpty()) {
        if (error)
            *error = MeasuredStandard::tr("There are no data to make the standard from.");
        return nullptr;
    }
    QVector<double> kWindow(grid.kCount);
    for (int i = 0; i < grid.kCount; ++i)
        kWindow[i] = hanningWindow(origin.kWindow, grid.k(i));
    FilteredSpectrum f;
    if (!filterData(k, chi, grid, origin.kWeight, kWindow, origin.rWindow, &f, error))
        return nullptr;
    return MeasuredStandard::fromFiltered(f, grid, origin, error);
}

ShellPathPtr FilteredCurves::standard(const WaveGrid& grid, const StandardOrigin& origin,
                                      QString* error) {
    QVector<double> k, chi;
    if (!ChiDataReader::readFile(origin.file, &k, &chi, error))
        return nullptr;
    return standard(k, chi, grid, origin, error);
}

void FilteredCurves::appendTraces(QVector<PlotTrace>* out, const FilteredSpectrum& f, int n,
                                  const QColor& colour, int width) {
    const int count = f.q.size();
    QVector<double> real(count), amplitude(count);
    for (int i = 0; i < count; ++i) {
        const double weight = std::pow(f.q[i], n);
        real[i] = weight * f.real[i];
        amplitude[i] = weight * f.amplitude[i];
    }
    const QPen thin = pixeldraw::solidPen(colour, 1);
    out->append({f.q, amplitude, count, 1, thin, true});
    out->append({f.q, amplitude, count, -1, thin, true});
    out->append({f.q, real, count, 1, pixeldraw::solidPen(colour, width), true});
}

QVector<PlotTrace> FilteredCurves::traces(const AWave& wave, const MeasuredCurve* data,
                                          const HeldCurves* held, const WindowPositions& r) {
    QVector<PlotTrace> out;
    FilteredSpectrum f;
    if (held) {
        for (int h = 0; h < held->curves.size(); ++h) {
            const HeldCurves::Curve& c = held->curves[h];
            if (c.physical != wave.physical)
                continue;
            const int age = held->curves.size() - 1 - h;
            if (c.hasData() && filter(inputOf(c, c.dataSpectrum.data(), r), &f, nullptr))
                appendTraces(&out, f, c.state.n, HeldCurves::shadeOf(Palette::filteredData(), age),
                             2);
            if (!c.spectrum.empty() && filter(inputOf(c, c.spectrum.data(), r), &f, nullptr))
                appendTraces(&out, f, c.state.n, HeldCurves::shadeOf(Palette::filteredModel(), age),
                             1);
        }
    }
    if (data && data->isLoaded() && data->spectrum && data->fftLength == wave.fftLength &&
        filter(inputOf(wave, data->spectrum.get(), r), &f, nullptr))
        appendTraces(&out, f, wave.n, Palette::filteredData(), 2);
    if (wave.chiSpectrum && wave.fftLength > 0 &&
        filter(inputOf(wave, wave.chiSpectrum.get(), r), &f, nullptr))
        appendTraces(&out, f, wave.n, Palette::filteredModel(), 2);
    return out;
}
