#pragma once

#include <QString>

// Untrusted text (file names, fields of a refused file) as a message may show
// it: control and invisible format characters written as escapes (\x1b,
// \u0085, \u202e), so nothing reaches a terminal or a font as a control code
// or turns the text around, and the length bounded.
class Escaped {
public:
    static constexpr int tokenLength = 40;
    // A field that is not a mistyped number may be a key or a password
    // pasted into the wrong file: only its start is quoted.
    static constexpr int wordLength = 12;
    static constexpr int pathLength = 60;
    static constexpr int messageLength = 300;

    // A token: escaped, cut after `length` characters with an ellipsis.
    static QString text(const QString& text, int length = tokenLength);
    static QString text(const QByteArray& utf8, int length = tokenLength);
    // A field of a refused data file: up to tokenLength characters when it
    // is made of number characters only, up to wordLength otherwise.
    static QString field(const QByteArray& utf8);
    // A path keeps its end, where the file's own name is.
    static QString path(const QString& path);
    // A whole message, last guard before it is shown: escaped and bounded.
    static QString message(const QString& message);
    static bool hasControl(const QString& text);
};
