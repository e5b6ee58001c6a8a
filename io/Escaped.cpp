#include "Escaped.h"

#include <QDir>

namespace {
const QChar ellipsis(0x2026);

bool isControl(char16_t c) {
    return c < 0x20 || c == 0x7f || (c >= 0x80 && c <= 0x9f) || c == 0x2028 || c == 0x2029 ||
           (c >= 0x202a && c <= 0x202e) || (c >= 0x2066 && c <= 0x2069);
}

QString escapedChar(char16_t c) {
    return c <= 0xff ? QStringLiteral("\\x%1").arg(unsigned(c), 2, 16, QLatin1Char('0'))
                     : QStringLiteral("\\u%1").arg(unsigned(c), 4, 16, QLatin1Char('0'));
}

QString escaped(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (isControl(c.unicode()))
            out += escapedChar(c.unicode());
        else
            out += c;
    }
    return out;
}
} // namespace

QString Escaped::text(const QString& text, int length) {
    // Escape a little more than is kept, so a long text costs nothing.
    const QString e = escaped(text.left(length + 1));
    return e.size() > length ? e.left(length) + ellipsis : e;
}

QString Escaped::text(const QByteArray& utf8, int length) {
    return text(QString::fromUtf8(utf8.left(4 * (length + 1))), length);
}

QString Escaped::path(const QString& path) {
    const QString e = escaped(QDir::toNativeSeparators(path.right(pathLength + 1)));
    return e.size() > pathLength ? ellipsis + e.right(pathLength) : e;
}

QString Escaped::message(const QString& message) {
    return text(message, messageLength);
}

bool Escaped::hasControl(const QString& text) {
    for (const QChar c : text)
        if (isControl(c.unicode()))
            return true;
    return false;
}
