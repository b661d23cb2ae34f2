#pragma once

#include <QByteArray>
#include <QString>

// The single-byte Windows-1252 code page of the data files. The five bytes that the code page
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) decode to the control characters of the same
// value and encode back to themselves, so a file with such bytes survives a read and a rewrite.
class Cp1252Codec
{
public:
    static QString decode(const QByteArray &bytes);
    // A character outside the code page is written as "?".
    static QByteArray encode(const QString &text);
    // The text as it reads back after a trip through the code page; titles and class names are
    // compared in this form so that a name with foreign characters still matches itself.
    static QString normalize(const QString &text) { return decode(encode(text)); }
};
