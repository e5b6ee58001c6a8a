#include "MuPlot.h"

#include "Axes.h"
#include "ChCoord.h"
#include "Palette.h"
#include "PixelDrawing.h"

#include <QPainter>

using pixeldraw::pixel;
using pixeldraw::pixelLine;
using pixeldraw::solidPen;

void MuPlot::paint(QPainter& p, const ChCoord& frame, const Inputs& in) {
    const int width = in.size.width();
    const int height = in.size.height();
    p.fillRect(QRect(QPoint(0, 0), QPoint(width - 1, height - 1)), Palette::background());
    if (in.curves.isEmpty())
        return;
    if (in.axes)
        p.setClipRect(in.plot);
    QVector<QLine> segments;
    for (const PlotTrace& t : in.curves)
        t.stroke(p, frame, width, &segments);
    if (in.hasEdge) {
        const double x = frame.toPixelX(in.e0);
        p.setPen(solidPen(Palette::edgeMark(), 1));
        const QLine mark = pixelLine(x, 0, x, height);
        p.drawLines(&mark, 1);
        // The handle sits at the top of the data area, where no curve is.
        const int left = pixel(x) - handleReach;
        const int top = in.axes ? in.plot.top() : 0;
        p.fillRect(QRect(left, top, 2 * handleReach + 1, 2 * handleReach + 1), Palette::edgeMark());
    }
    p.setClipping(false);
    if (in.axes)
        Axes::draw(&p, frame, in.axesFont, in.xTitle, in.yTitle);
    Legend::draw(&p, in.legend, in.plot, in.axesFont);
}
