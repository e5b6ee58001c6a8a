#include "Escaped.h"

#include <QDir>

namespace {
const QChar ellipsis(0x2026);

// Control characters, and the invisible format characters (bidi overrides
// and isolates, zero-width joiners, the byte order mark, tags) that can make
// a message read otherwise than it is written.
bool isControl(char32_t c) {
    if (c < 0x20 || c == 0x7f || (c >= 0x80 && c <= 0x9f))
        return true;
    switch (QChar::category(c)) {
    case QChar::Other_Format:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

QString escapedChar(char32_t c) {
    if (c <= 0xff)
        return QStringLiteral("\\x%1").arg(unsigned(c), 2, 16, QLatin1Char('0'));
    if (c <= 0xffff)
        return QStringLiteral("\\u%1").arg(unsigned(c), 4, 16, QLatin1Char('0'));
    return QStringLiteral("\\U%1").arg(unsigned(c), 8, 16, QLatin1Char('0'));
}

QString escaped(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const auto u : text.toUcs4()) {
        const char32_t c = u;
        if (isControl(c)) {
            out += escapedChar(c);
        } else if (QChar::requiresSurrogates(c)) {
            out += QChar(QChar::highSurrogate(c));
            out += QChar(QChar::lowSurrogate(c));
        } else {
            out += QChar(char16_t(c));
        }
    }
    return out;
}

// Digits, signs, decimal points and exponent letters: what a mistyped
// number is made of. Anything else may be a word someone would not want
// echoed whole.
bool looksNumeric(const QByteArray& field) {
    for (const char c : field)
        if (!((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == ',' || c == 'e' ||
              c == 'E' || c == 'd' || c == 'D'))
            return false;
    return true;
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

QString Escaped::field(const QByteArray& utf8) {
    return text(utf8, looksNumeric(utf8) ? tokenLength : wordLength);
}

QString Escaped::path(const QString& path) {
    const QString e = escaped(QDir::toNativeSeparators(path.right(pathLength + 1)));
    return e.size() > pathLength ? ellipsis + e.right(pathLength) : e;
}

QString Escaped::message(const QString& message) {
    return text(message, messageLength);
}

bool Escaped::hasControl(const QString& text) {
    for (const auto c : text.toUcs4())
        if (isControl(char32_t(c)))
            return true;
    return false;
}
