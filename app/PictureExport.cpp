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
// Plays `paint` through a painter on `device`; false if the painter never
// became active or the device refused a page.
bool paintInto(const std::function<void(QPainter&)>& paint, QPaintDevice* device) {
    QPainter painter;
    if (!painter.begin(device))
        return false;
    paint(painter);
    return painter.end();
}

// Encodes what `paint` draws on a surface of `size`; `png` gives the pixels.
QByteArray encode(const std::function<QImage()>& png, const std::function<void(QPainter&)>& paint,
                  const QSize& size, PictureExport::Format format, const QString& title) {
    using Format = PictureExport::Format;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    bool done = false;
    // A surface with no pixels encodes as nothing or as a picture of nothing.
    if (!size.isEmpty()) {
        switch (format) {
        case Format::Png:
            done = png().save(&buffer, "PNG");
            break;
        case Format::Svg: {
            QSvgGenerator svg;
            svg.setOutputDevice(&buffer);
            svg.setSize(size);
            svg.setViewBox(QRect(QPoint(0, 0), size));
            svg.setTitle(title);
            svg.setDescription(QStringLiteral("Tovik"));
            done = paintInto(paint, &svg);
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
            done = paintInto(paint, &pdf);
            break;
        }
        }
    }
    buffer.close();
    return done ? bytes : QByteArray();
}

// The reason an encoding of a surface of `size` came out empty.
QString failure(const QSize& size) {
    return PictureExport::tr("The picture could not be drawn: the plot has no area (%1 x %2 "
                             "pixels) or the encoder failed.")
        .arg(size.width())
        .arg(size.height());
}
} // namespace

QByteArray PictureExport::render(QWidget* surface, Format format, const QString& title,
                                 QString* error) {
    const QSize size = surface->size();
    // Widget rendering into a vector device replays the paint event
    // through this painter, so the drawing stays lines and text.
    const QByteArray bytes = encode(
        [surface] { return surface->grab().toImage(); },
        [surface](QPainter& p) { surface->render(&p, QPoint(), QRegion(), QWidget::DrawChildren); },
        size, format, title);
    if (!bytes.isEmpty())
        return bytes;
    if (error)
        *error = failure(size);
    return QByteArray();
}

QByteArray PictureExport::render(const std::function<void(QPainter&)>& paint, const QSize& size,
                                 Format format, const QString& title, QString* error) {
    const auto pixels = [&] {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter p(&image);
            paint(p);
        }
        return image;
    };
    const QByteArray bytes = encode(pixels, paint, size, format, title);
    if (!bytes.isEmpty())
        return bytes;
    if (error)
        *error = failure(size);
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
