#pragma once

#include <QString>

// Untrusted text (file names, fields of a refused file) as a message may show
// it: control characters written as escapes (\x1b, \u0085), so nothing
// reaches a terminal or a font as a control code, and the length bounded.
class Escaped {
public:
    static constexpr int tokenLength = 40;
    static constexpr int pathLength = 60;
    static constexpr int messageLength = 300;

    // A token: escaped, cut after `length` characters with an ellipsis.
    static QString text(const QString& text, int length = tokenLength);
    static QString text(const QByteArray& utf8, int length = tokenLength);
    // A path keeps its end, where the file's own name is.
    static QString path(const QString& path);
    // A whole message, last guard before it is shown: escaped and bounded.
    static QString message(const QString& message);
    static bool hasControl(const QString& text);
};
