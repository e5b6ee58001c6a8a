#pragma once

#include <QByteArray>

// The lines of a text file as every column reader walks them, so that all of
// them number lines, end them and skip a byte order mark alike.
namespace TextLines {

// Blanks inside a line; line ends are not among them.
inline bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

// What separates the fields of a column file: blanks and commas.
inline bool isSeparator(char c) {
    return isBlank(c) || c == ',';
}

// Calls visit(number, begin, end) for every line, numbered from 1, with its
// leading blanks and its line end left out, until visit returns false. CR, LF
// and CRLF all end a line; a UTF-8 byte order mark before the first is
// skipped. Returns false where visit stopped the walk.
template <typename Visit> bool forEach(const QByteArray& text, Visit visit) {
    const char* p = text.constData();
    const char* const end = p + text.size();
    if (text.startsWith("\xEF\xBB\xBF"))
        p += 3;
    for (int number = 1; p < end; ++number) {
        const char* lineEnd = p;
        while (lineEnd < end && *lineEnd != '\n' && *lineEnd != '\r')
            ++lineEnd;
        const char* next = lineEnd;
        if (next < end)
            next += (*next == '\r' && next + 1 < end && next[1] == '\n') ? 2 : 1;
        const char* c = p;
        p = next;
        while (c < lineEnd && isBlank(*c))
            ++c;
        if (!visit(number, c, static_cast<const char*>(lineEnd)))
            return false;
    }
    return true;
}

} // namespace TextLines
