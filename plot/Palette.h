#pragma once

#include <QColor>
#include <QString>

#include <algorithm>

// Every colour the plots paint with, the Shells window's row colours that
// match the chi(R) marks and the value boxes' background: each is defined
// here once and read everywhere. All are opaque but the key's background.
namespace Palette {

inline QColor opaque(int r, int g, int b) {
    QColor c;
    c.setRgb(r, g, b, 255);
    return c;
}

// `colour` moved toward white by `mix` (0 none, 1 white), rounded.
inline QColor towardWhite(const QColor& colour, double mix) {
    auto toward = [mix](int v) { return int(v + (255 - v) * mix + 0.5); };
    return opaque(toward(colour.red()), toward(colour.green()), toward(colour.blue()));
}

inline QColor background() {
    return opaque(255, 255, 255);
}
// The live chi(k) curve and, on chi(R), the modulus of its transform.
inline QColor chi() {
    return opaque(0, 0, 0);
}
inline QColor window() {
    return opaque(0, 150, 255);
}
// The envelope: chi(k) and chi(R) have always drawn it in two near shades,
// and the pictures keep both.
inline QColor envelopeK() {
    return opaque(255, 180, 0);
}
inline QColor envelopeR() {
    return opaque(255, 200, 0);
}
inline QColor envelopeHandle() {
    return opaque(0, 255, 150);
}
// Axes, their labels and titles, the key's frame and names: dark enough
// for a projector.
inline QColor text() {
    return opaque(40, 40, 40);
}
// Behind the key: white, the curves just showing through.
inline QColor keyBackground() {
    QColor c;
    c.setRgb(255, 255, 255, 235);
    return c;
}
// Zero lines, grid lines and their labels.
inline QColor grid() {
    return opaque(200, 200, 200);
}
inline QColor pointer() {
    return opaque(255, 0, 0);
}
inline QColor fitBand() {
    return opaque(255, 240, 200);
}
inline QColor oscillation() {
    return opaque(0, 255, 180);
}
inline QColor realPart() {
    return opaque(200, 0, 0);
}
inline QColor imagPart() {
    return opaque(0, 200, 0);
}
inline QColor modulus() {
    return chi();
}
// Measured data on both plots: a colour no other curve or handle uses.
inline QColor measured() {
    return opaque(200, 0, 200);
}
// The Fourier filter: the R window on chi(R) has the k window's colour (it
// is the same shape); chi(q) of the model and of the data on chi(k), apart
// from the curves they were filtered out of.
inline QColor rWindow() {
    return window();
}
inline QColor filteredModel() {
    return opaque(30, 60, 170);
}
inline QColor filteredData() {
    return opaque(220, 60, 110);
}
// The Ratio window: the points of ln(A1/A2) or Φ1 - Φ2, made of filtered
// data, and their line.
inline QColor ratioPoints() {
    return filteredData();
}
inline QColor ratioLine() {
    return opaque(0, 0, 0);
}

// The data sets of a series fitted together, each with its model: the
// first is the loaded data in the measured colour, the others apart from
// every curve colour of both plots; after the last they repeat.
constexpr int dataSetColours = 5;
inline QColor dataSet(int i) {
    static const QColor colours[dataSetColours] = {opaque(0, 120, 50), opaque(180, 120, 0),
                                                   opaque(60, 130, 200), opaque(150, 30, 60),
                                                   opaque(110, 80, 40)};
    return i <= 0 ? measured() : colours[(i - 1) % dataSetColours];
}

// The sigma²(T) plot: the model's curve and each data set's point and error bar.
inline QColor sigma2Model() {
    return opaque(0, 110, 190);
}
inline QColor sigma2Points() {
    return opaque(190, 30, 30);
}

// The mu(E) plot: the pre-edge line, the post-edge curve, the background and
// the E0 mark, beside the measured curve's own colour.
inline QColor preEdge() {
    return opaque(0, 140, 0);
}
inline QColor postEdge() {
    return opaque(230, 120, 0);
}
inline QColor muBackground() {
    return opaque(0, 80, 220);
}
inline QColor edgeMark() {
    return pointer();
}

// Behind the numbers in the value boxes of the panels, as a style sheet.
inline QString valueBoxStyle() {
    const QColor c = opaque(254, 255, 222);
    return QStringLiteral("background-color: rgb(%1, %2, %3);")
        .arg(c.red())
        .arg(c.green())
        .arg(c.blue());
}

// The chi(R) tick of shell i (0 the main shell) and its row in the Shells
// window; apart from every curve colour of both plots.
constexpr int shellColours = 4;
inline QColor shellMark(int i) {
    static const QColor colours[shellColours] = {opaque(140, 70, 0), opaque(110, 0, 220),
                                                 opaque(0, 130, 130), opaque(255, 110, 0)};
    return colours[std::clamp(i, 0, shellColours - 1)];
}

} // namespace Palette
