#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QtEndian>

// Record files built and taken apart byte by byte, without the program's own classes, so that
// the tests check the format on disk and not the code against itself.
namespace RecordFileBytes {

inline QByteArray slot(const QByteArray &text, int slotLength)
{
    QByteArray bytes(slotLength, '\0');
    qToLittleEndian<quint16>(quint16(text.size()), bytes.data());
    bytes.replace(2, text.size(), text);
    return bytes.left(slotLength);
}

inline QByteArray file(const QList<QByteArray> &records, int slotLength)
{
    QByteArray bytes;
    for (const QByteArray &record : records)
        bytes += slot(record, slotLength);
    return bytes;
}

inline QList<QByteArray> records(const QByteArray &bytes, int slotLength)
{
    QList<QByteArray> result;
    for (qsizetype start = 0; start + 2 <= bytes.size(); start += slotLength) {
        const int length = qFromLittleEndian<quint16>(bytes.constData() + start);
        result.append(bytes.mid(start + 2, length));
    }
    return result;
}

inline QByteArray read(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(path.section(QLatin1Char('/'), 0, -2));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

} // namespace RecordFileBytes
