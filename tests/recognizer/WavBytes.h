#pragma once

#include <QByteArray>
#include <QList>
#include <QtEndian>

// WAV files built byte by byte, so that the reader is not checked against itself.
namespace WavBytes {

inline QByteArray chunk(const char *id, const QByteArray &body)
{
    QByteArray size(4, '\0');
    qToLittleEndian<quint32>(quint32(body.size()), size.data());
    return QByteArray(id) + size + body + (body.size() % 2 ? QByteArray(1, '\0') : QByteArray());
}

// A format chunk's body; blockAlign 0: the one the layout needs.
inline QByteArray format(quint16 format, int channels, int rate, int bits, int blockAlign = 0)
{
    QByteArray fmt(16, '\0');
    qToLittleEndian<quint16>(format, fmt.data());
    qToLittleEndian<quint16>(quint16(channels), fmt.data() + 2);
    qToLittleEndian<quint32>(quint32(rate), fmt.data() + 4);
    qToLittleEndian<quint32>(quint32(rate * channels * bits / 8), fmt.data() + 8);
    qToLittleEndian<quint16>(quint16(blockAlign ? blockAlign : channels * bits / 8),
                             fmt.data() + 12);
    qToLittleEndian<quint16>(quint16(bits), fmt.data() + 14);
    return fmt;
}

inline QByteArray wav(quint16 fmt, int channels, int rate, int bits, const QByteArray &data,
                      const QByteArray &extraChunk = {})
{
    return chunk("RIFF", "WAVE" + chunk("fmt ", format(fmt, channels, rate, bits)) + extraChunk +
                             chunk("data", data));
}

template <typename T> QByteArray samples(const QList<T> &values)
{
    QByteArray bytes(values.size() * sizeof(T), '\0');
    for (qsizetype i = 0; i < values.size(); ++i)
        qToLittleEndian<T>(values[i], bytes.data() + i * sizeof(T));
    return bytes;
}

// The file with the size field of its data chunk (found by its id) replaced.
inline QByteArray withDataSize(QByteArray file, quint32 size)
{
    qToLittleEndian<quint32>(size, file.data() + file.indexOf("data") + 4);
    return file;
}

} // namespace WavBytes
