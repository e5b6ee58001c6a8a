#include "CsvExport.h"

#include "AWave.h"
#include "Escaped.h"
#include "FourierFilter.h"
#include "MeasuredCurve.h"
#include "Number.h"
#include "SafeFile.h"
#include "Scenario.h"

#include <QFileInfo>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

// Locale-independent, the shortest text that reads back as the same double
// (2.9, not 2.8999999999999999). Qt writes a negative zero as "0"; the
// window's zeros times a negative oscillation are such zeros, and the file
// keeps their sign.
QByteArray number(double v) {
    if (v == 0 && std::signbit(v))
        return QByteArrayLiteral("-0");
    return shortestNumber(v).toUtf8();
}

QByteArray onOff(bool on) {
    return on ? QByteArrayLiteral("on") : QByteArrayLiteral("off");
}

// A file's name without its folder, escaped and bounded as one line.
QByteArray fileName(const QString& path) {
    return Escaped::text(QFileInfo(path).fileName(), 255).toUtf8();
}

// The '#' lines: the state the numbers below were made from.
QByteArray stateLines(const char* title, const Scenario& s, const MeasuredCurve* data) {
    QByteArray out;
    out += "# Tovik ";
    out += title;
    out += " data\n";
    out += QByteArray("# ") + KWeight::key + " = " + QByteArray::number(s.n) + '\n';
    for (const ParameterRow& row : parameterTable)
        out += QByteArray("# ") + row.symbol + " = " + number(s.parameter(row.id)) + '\n';
    out += "# extra shells: ";
    if (s.shells.isEmpty())
        out += "none";
    const QByteArray sigmaSymbol = parameterRow(ModelParameter::Sigma).symbol;
    const QByteArray dE0Symbol = parameterRow(ModelParameter::DeltaE0).symbol;
    for (int i = 0; i < s.shells.size(); ++i) {
        const Scenario::ExtraShell& e = s.shells[i];
        out += QByteArray(i ? "; " : "") + "R " + number(e.r) + " amplitude " + number(e.amplitude);
        if (!e.pathFile.isEmpty())
            out += " path " + fileName(e.pathFile) + ' ' + sigmaSymbol + ' ' + number(e.sigma) +
                   ' ' + dE0Symbol + ' ' + number(e.deltaE0);
    }
    out += '\n';
    out += "# path: " + (s.pathFile.isEmpty() ? QByteArray("none") : fileName(s.pathFile)) + '\n';
    out += "# factors: envelope " + onOff(s.envelopeOn) + ", window " + onOff(s.windowOn) +
           ", debye_waller " + onOff(s.debyeWallerOn) + '\n';
    out += "# window positions: ";
    for (int i = 0; i < s.windowPositions.size(); ++i)
        out += (i ? ", " : "") + number(s.windowPositions[i]);
    out += '\n';
    out += "# envelope points: ";
    for (int i = 0; i < s.envelopePoints.size(); ++i)
        out += (i ? "; " : "") + number(s.envelopePoints[i].x()) + ' ' +
               number(s.envelopePoints[i].y());
    out += '\n';
    out += "# chi(R) shows: real " + onOff(s.showReal) + ", imag " + onOff(s.showImag) + ", abs " +
           onOff(s.showAbs) + ", envelope " + onOff(s.showEnvelope) + ", window " +
           onOff(s.showWindow) + ", wave " + onOff(s.showWave) + ", total " + onOff(s.showTotal) +
           '\n';
    out += "# pointer R = " + number(s.pointerR) + '\n';
    out += QByteArray("# amplitude: ") + (s.viewPhysical ? "physical" : "normalised") + '\n';
    if (data)
        out += "# measured data: " + Escaped::text(QFileInfo(data->path).fileName(), 255).toUtf8() +
               '\n';
    return out;
}

void appendRow(QByteArray* out, const double* values, int count) {
    for (int c = 0; c < count; ++c) {
        if (c)
            *out += ',';
        *out += number(values[c]);
    }
    *out += '\n';
}

} // namespace

QByteArray CsvExport::chiK(const AWave& wave, const Scenario& state, const MeasuredCurve* data) {
    const bool withData = data && data->isLoaded() && data->values.size() == wave.fftLength;
    QByteArray out = stateLines("chi(k)", state, withData ? data : nullptr);
    out += withData ? "k,chi,oscillation,envelope,window,debye_waller,data\n"
                    : "k,chi,oscillation,envelope,window,debye_waller\n";

    const QVector<double>* columns[] = {&wave.kValues,      &wave.chi,
                                        &wave.oscillation,  &wave.envelopeValues,
                                        &wave.windowValues, &wave.debyeWallerValues};
    // Before the first synthesis the arrays are shorter than kCount (empty).
    int rows = std::max(wave.kCount, 0);
    for (const QVector<double>* c : columns)
        rows = std::min(rows, int(c->size()));

    double row[7];
    for (int i = 0; i < rows; ++i) {
        for (int c = 0; c < 6; ++c)
            row[c] = (*columns[c])[i];
        if (withData)
            row[6] = data->values[i];
        appendRow(&out, row, withData ? 7 : 6);
    }
    return out;
}

QByteArray CsvExport::chiR(const AWave& wave, const Scenario& state, double rMin, double rMax,
                           const MeasuredCurve* data) {
    const bool withData =
        data && data->isLoaded() && data->spectrum && data->fftLength == wave.fftLength;
    QByteArray out = stateLines("chi(R)", state, withData ? data : nullptr);
    if (wave.physical)
        out += "# chi(R) = dk/sqrt(pi) * sum over the k grid of k^n W(k) chi(k) exp(2ikR), dk = " +
               number(wave.dk) + " 1/Å, in 1/Å^" + QByteArray::number(wave.n + 1) +
               " (data the same)\n";
    out += "R,chi_re,chi_im,chi_abs,oscillation_re,oscillation_im,oscillation_abs,"
           "envelope_re,envelope_im,envelope_abs,window_re,window_im,window_abs,"
           "debye_waller_re,debye_waller_im,debye_waller_abs";
    out += withData ? ",data_re,data_im,data_abs\n" : "\n";

    const double* spectra[] = {wave.chiSpectrum.get(), wave.oscillationSpectrum.get(),
                               wave.envelopeSpectrum.get(), wave.windowSpectrum.get(),
                               wave.debyeWallerSpectrum.get()};
    for (const double* s : spectra) {
        if (!s)
            return out;
    }
    // The plot's own bin range (ChiR::drawR): it skips a wave without a
    // usable bin width, and so does the file.
    if (wave.fftLength <= 0)
        return out;
    const double dR = wave.binWidthR();
    if (!(dR > 0) || !std::isfinite(dR))
        return out;
    const double first = rMin / dR;
    // Beyond int the plot's cast is undefined; such a range has no rows here.
    if (!(first > double(INT_MIN) - 1 && first < double(INT_MAX) + 1))
        return out;
    const int j0 = static_cast<int>(first);
    const int count = wave.chi.size();

    double row[19];
    for (int j = j0; j < count; ++j) {
        const double r = j * dR;
        if (r > rMax)
            break;
        row[0] = r;
        for (int s = 0; s < 5; ++s) {
            row[1 + 3 * s] = wave.realPart(spectra[s], j);
            row[2 + 3 * s] = wave.imagPart(spectra[s], j);
            row[3 + 3 * s] = wave.magnitude(spectra[s], j);
        }
        if (withData) {
            row[16] = wave.realPart(data->spectrum.get(), j);
            row[17] = wave.imagPart(data->spectrum.get(), j);
            row[18] = wave.magnitude(data->spectrum.get(), j);
        }
        appendRow(&out, row, withData ? 19 : 16);
    }
    return out;
}

bool CsvExport::write(const QString& path, const QByteArray& data, QString* error) {
    const QFileInfo file(path);
    QString why;
    if (SafeFile::write(file.path(), {{file.fileName(), data}}, SafeFile::Folder::MustExist,
                        nullptr, &why))
        return true;
    if (error)
        *error = why;
    return false;
}

QByteArray CsvExport::chiQ(const Scenario& state, const FilteredSpectrum& model,
                           const FilteredSpectrum* data, const MeasuredCurve* measured) {
    QByteArray out = stateLines("chi(q)", state, data ? measured : nullptr);
    out += "# R window: ";
    for (int i = 0; i < state.filterRWindow.size(); ++i)
        out += (i ? ", " : "") + number(state.filterRWindow[i]);
    out += " Å; chi(q) = the R window's chi(R) transformed back, divided by k^n W(k); phase in "
           "rad, unwrapped, Re = amplitude sin(phase)\n";
    out += data ? "q,re,im,amplitude,phase,data_re,data_im,data_amplitude,data_phase\n"
                : "q,re,im,amplitude,phase\n";
    for (int i = 0; i < model.q.size(); ++i) {
        const double row[] = {model.q[i], model.real[i], model.imag[i], model.amplitude[i],
                              model.phase[i]};
        QByteArray line;
        appendRow(&line, row, 5);
        if (data) {
            line.chop(1);
            // Both are on the wave's grid: the data's point at the same index.
            const int j = model.firstIndex + i - data->firstIndex;
            if (j >= 0 && j < data->q.size()) {
                const double more[] = {data->real[j], data->imag[j], data->amplitude[j],
                                       data->phase[j]};
                line += ',';
                appendRow(&line, more, 4);
            } else {
                line += ",,,,\n";
            }
        }
        out += line;
    }
    return out;
}
