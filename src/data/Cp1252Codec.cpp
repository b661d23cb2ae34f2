#include "Cp1252Codec.h"

#include <QList>
#include <array>

namespace {

// Code points of the bytes 0x80-0x9F; the undefined bytes map to themselves.
constexpr std::array<char32_t, 32> kHighTable = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char encodeCodePoint(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<char>(cp);
    for (std::size_t i = 0; i < kHighTable.size(); ++i) {
        if (kHighTable[i] == cp)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

} // namespace

QString Cp1252Codec::decode(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        const char32_t cp = (byte >= 0x80 && byte < 0xA0) ? kHighTable[byte - 0x80] : byte;
        text.append(QChar(static_cast<char16_t>(cp)));
    }
    return text;
}

QByteArray Cp1252Codec::encode(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    // Walk code points so that a character outside the basic plane becomes one "?", not two.
    for (const uint cp : text.toUcs4())
        bytes.append(encodeCodePoint(cp));
    return bytes;
}
