#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QSize>
#include <QString>

#include <functional>

class QPainter;
class QWidget;

// A plot surface as a picture: PNG holds the pixels as shown, SVG and PDF
// are vector drawings made by the same paint code. The format follows the
// file name's extension.
class PictureExport {
    Q_DECLARE_TR_FUNCTIONS(PictureExport)

public:
    enum class Format { Png, Svg, Pdf };

    // False for an extension that is none of .png, .svg, .pdf.
    static bool formatOf(const QString& path, Format* format);
    // The encoded picture; empty, with a translated reason in `error`, if
    // the painter or the encoder failed. Never an empty file as success.
    static QByteArray render(QWidget* surface, Format format, const QString& title,
                             QString* error = nullptr);
    // The same for a drawing made by `paint` on a surface of `size` (white
    // under it in PNG), for a plot that is not a widget.
    static QByteArray render(const std::function<void(QPainter&)>& paint, const QSize& size,
                             Format format, const QString& title, QString* error = nullptr);
    // Renders and writes atomically; false with a translated reason.
    static bool save(QWidget* surface, const QString& path, const QString& title, QString* error);
    static void copyToClipboard(QWidget* surface);
};
