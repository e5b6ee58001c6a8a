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

QByteArray PictureExport::render(QWidget* surface, Format format, const QString& title) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QSize size = surface->size();
    switch (format) {
    case Format::Png:
        surface->grab().save(&buffer, "PNG");
        break;
    case Format::Svg: {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(title);
        svg.setDescription(QStringLiteral("Tovik"));
        QPainter painter(&svg);
        // Widget rendering into a vector device replays the paint event
        // through this painter, so the drawing stays lines and text.
        surface->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
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
        QPainter painter(&pdf);
        surface->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
        break;
    }
    }
    return bytes;
}

bool PictureExport::save(QWidget* surface, const QString& path, const QString& title,
                         QString* error) {
    Format format;
    if (!formatOf(path, &format)) {
        *error = tr("Cannot tell the picture format of \"%1\": use .png, .svg or .pdf.")
                     .arg(Escaped::text(QFileInfo(path).fileName()));
        return false;
    }
    const QFileInfo file(path);
    return SafeFile::write(file.path(), {{file.fileName(), render(surface, format, title)}},
                           SafeFile::Folder::MustExist, nullptr, error);
}

void PictureExport::copyToClipboard(QWidget* surface) {
    QGuiApplication::clipboard()->setImage(surface->grab().toImage());
}
