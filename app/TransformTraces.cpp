#include "TransformTraces.h"

#include "PackedTransform.h"

PlotTrace TransformTraces::part(const double* spectrum, Part which, int first,
                                const QPen& pen) const {
    PlotTrace t;
    t.pen = pen;
    for (int j = first - 1; j < count && j * binWidth <= rMax; ++j) {
        t.x.append(j * binWidth);
        t.y.append(which == Part::Real        ? realPart(spectrum, length, j)
                   : which == Part::Imaginary ? imagPart(spectrum, length, j)
                                              : magnitude(spectrum, length, j));
    }
    t.count = t.x.size();
    return t;
}

void TransformTraces::appendTotal(QVector<PlotTrace>* out, const double* spectrum,
                                  const QColor (&colours)[3], int width, bool dashed) const {
    if (!spectrum)
        return;
    const Part parts[] = {Part::Real, Part::Imaginary, Part::Modulus};
    const Qt::PenStyle dashes[] = {Qt::DashLine, Qt::DotLine, Qt::SolidLine};
    for (int i = 0; i < 3; ++i) {
        if (!chosen[i])
            continue;
        QPen pen(colours[i]);
        pen.setWidth(width);
        pen.setStyle(dashed ? dashes[i] : Qt::SolidLine);
        out->append(part(spectrum, parts[i], 1, pen));
    }
}
