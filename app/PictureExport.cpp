#include "PictureExport.h"

#include "Escaped.h"
#include "SafeFile.h"

#include <QBuffer>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPixmap>
#include <QSvgGenerator>
#include <QWidget>

bool PictureExport::formatOf(const QString& path, Format* format) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png"))
        *format = Format::Png;
    else if (suffix == QLatin1String("svg"))
        *format = Format::Svg;
    else if (suffix == QLatin1String("pdf"))
        *format = Format::Pdf;
    else
        return false;
    return true;
}

namespace {
// Plays the surface's paint through a painter on `device`; false if the
// painter never became active or the device refused a page.
bool paintInto(QWidget* surface, QPaintDevice* device) {
    QPainter painter;
    if (!painter.begin(device))
        return false;
    // Widget rendering into a vector device replays the paint event
    // through this painter, so the drawing stays lines and text.
    surface->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
    return painter.end();
}
} // namespace

QByteArray PictureExport::render(QWidget* surface, Format format, const QString& title,
                                 QString* error) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QSize size = surface->size();
    bool done = false;
    // A surface with no pixels encodes as nothing or as a picture of nothing.
    if (!size.isEmpty()) {
        switch (format) {
        case Format::Png:
            done = surface->grab().save(&buffer, "PNG");
            break;
        case Format::Svg: {
            QSvgGenerator svg;
            svg.setOutputDevice(&buffer);
            svg.setSize(size);
            svg.setViewBox(QRect(QPoint(0, 0), size));
            svg.setTitle(title);
            svg.setDescription(QStringLiteral("Tovik"));
            done = paintInto(surface, &svg);
            break;
        }
        case Format::Pdf: {
            QPdfWriter pdf(&buffer);
            // One page the size of the surface: at 96 dpi a pixel is 0.75 pt.
            pdf.setResolution(96);
            pdf.setPageSize(QPageSize(QSizeF(size) * 0.75, QPageSize::Point));
            pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
            pdf.setTitle(title);
            pdf.setCreator(QStringLiteral("Tovik"));
            done = paintInto(surface, &pdf);
            break;
        }
        }
    }
    buffer.close();
    if (done && !bytes.isEmpty())
        return bytes;
    if (error)
        *error = tr("The picture could not be drawn: the plot has no area (%1 x %2 pixels) or "
                    "the encoder failed.")
                     .arg(size.width())
                     .arg(size.height());
    return QByteArray();
}

bool PictureExport::save(QWidget* surface, const QString& path, const QString& title,
                         QString* error) {
    Format format;
    if (!formatOf(path, &format)) {
        *error = tr("Cannot tell the picture format of \"%1\": use .png, .svg or .pdf.")
                     .arg(Escaped::text(QFileInfo(path).fileName()));
        return false;
    }
    const QByteArray bytes = render(surface, format, title, error);
    if (bytes.isEmpty())
        return false;
    const QFileInfo file(path);
    return SafeFile::write(file.path(), {{file.fileName(), bytes}}, SafeFile::Folder::MustExist,
                           nullptr, error);
}

void PictureExport::copyToClipboard(QWidget* surface) {
    QGuiApplication::clipboard()->setImage(surface->grab().toImage());
}
