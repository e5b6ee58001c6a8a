#pragma once

#include "PlotTrace.h"

#include <QColor>
#include <QVector>

// The chi(R) plot's curves as polylines: a part of a packed spectrum at
// R = j dR for the bins the plot draws, from bin `first` - 1 while
// j < count and j dR <= rMax. The live and the held curves are made here
// alike.
struct TransformTraces {
    enum class Part { Real, Imaginary, Modulus };

    int length = 0;      // of the packed spectra
    double binWidth = 0; // dR
    int count = 0;       // bins considered: the wave's grid size
    double rMax = 0;
    // The total's parts that are chosen (real, imaginary, modulus); none
    // without the total.
    bool chosen[3] = {false, false, false};

    // True where a spectrum of `length` and bin width `dR` lies on these bins.
    bool sameBins(int otherLength, double otherBinWidth) const {
        return otherLength == length && otherBinWidth == binWidth;
    }
    // One part of `spectrum` from bin `first` - 1 on.
    PlotTrace part(const double* spectrum, Part which, int first, const QPen& pen) const;
    // The chosen parts of a total from bin 0 on, in `colours` (real,
    // imaginary, modulus) with `width`; measured data tell their parts
    // apart by dashes. Nothing for a null spectrum.
    void appendTotal(QVector<PlotTrace>* out, const double* spectrum, const QColor (&colours)[3],
                     int width, bool dashed) const;
};
