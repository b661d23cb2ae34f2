#include "WavHeader.h"

#include <QIODevice>
#include <QtEndian>

namespace {

constexpr quint16 kFormatPcm = 1;
constexpr quint16 kFormatFloat = 3;
constexpr quint16 kFormatExtensible = 0xFFFE;
constexpr qint64 kFormatBytes = 16;
// The extensible format's subformat begins 24 bytes into its format chunk.
constexpr qint64 kExtensibleBytes = 26;

// Data sizes that programs writing to a pipe put in the header, not knowing the length: the
// sound then runs to the end of the file (sox and espeak-ng write 0x7FFFF000).
bool isUnknownLength(quint32 size)
{
    return size == 0xFFFFFFFF || size == 0x7FFFFFFF || size == 0x7FFFF000;
}

} // namespace

bool WavHeader::isFloat() const
{
    return format == kFormatFloat;
}

QString WavHeader::read(QIODevice &device)
{
    const QByteArray riff = device.read(12);
    if (riff.size() < 12 || !riff.startsWith("RIFF") || riff.mid(8, 4) != "WAVE")
        return QStringLiteral("it is not a WAV file (it does not begin with RIFF and WAVE).");
    const qint64 fileSize = device.size();
    const auto missing = [this] {
        return format ? QStringLiteral("it has no sound data; the file may be cut short.")
                      : QStringLiteral("it has no format chunk.");
    };
    for (qint64 pos = 12;;) {
        const QByteArray chunk = device.read(8);
        if (chunk.size() < 8)
            return missing();
        const QByteArray id = chunk.left(4);
        const quint32 size = qFromLittleEndian<quint32>(chunk.constData() + 4);
        const qint64 body = pos + 8;
        if (id == "data") {
            if (!format)
                return QStringLiteral("its sound data comes before its format chunk.");
            return placeData(body, size, fileSize);
        }
        if (body + qint64(size) > fileSize)
            return QStringLiteral("it ends inside a chunk before its sound data: the file is "
                                  "cut short or its header is wrong.");
        if (id == "fmt ") {
            if (const QString problem = readFormat(device, size); !problem.isEmpty())
                return problem;
        }
        pos = body + qint64(size) + (size & 1);
        if (pos >= fileSize || !device.seek(pos))
            return missing();
    }
}

QString WavHeader::readFormat(QIODevice &device, qint64 size)
{
    if (size < kFormatBytes)
        return QStringLiteral("its format chunk is too short (%1 bytes).").arg(size);
    const QByteArray fmt = device.read(qMin(size, kExtensibleBytes));
    if (fmt.size() < kFormatBytes)
        return QStringLiteral("its format chunk cannot be read.");
    const char *p = fmt.constData();
    format = qFromLittleEndian<quint16>(p);
    channels = qFromLittleEndian<quint16>(p + 2);
    rate = int(qMin<quint32>(qFromLittleEndian<quint32>(p + 4), 0x7FFFFFFF));
    blockAlign = qFromLittleEndian<quint16>(p + 12);
    bits = qFromLittleEndian<quint16>(p + 14);
    if (format == kFormatExtensible && fmt.size() >= kExtensibleBytes)
        format = qFromLittleEndian<quint16>(p + 24);
    return checkFormat();
}

QString WavHeader::checkFormat() const
{
    const bool supported =
        (format == kFormatPcm && (bits == 8 || bits == 16 || bits == 24 || bits == 32)) ||
        (format == kFormatFloat && (bits == 32 || bits == 64));
    if (!supported)
        return QStringLiteral("its encoding (format %1, %2 bits) is not supported; use PCM.")
            .arg(format)
            .arg(bits);
    if (channels < 1 || rate < 1000 || rate > 384000)
        return QStringLiteral("it declares %1 channels at %2 Hz.").arg(channels).arg(rate);
    if (blockAlign != frameBytes())
        return QStringLiteral("its header is inconsistent: it declares frames of %1 bytes, but a "
                              "frame of %2 of %3 bits has %4.")
            .arg(blockAlign)
            .arg(channels == 1 ? QStringLiteral("one channel")
                               : QStringLiteral("%1 channels").arg(channels))
            .arg(bits)
            .arg(frameBytes());
    return {};
}

QString WavHeader::placeData(qint64 start, quint32 size, qint64 fileSize)
{
    dataStart = start;
    const qint64 available = qMax<qint64>(fileSize - start, 0);
    if (isUnknownLength(size)) {
        dataSize = available - available % frameBytes();
        return {};
    }
    if (qint64(size) > available)
        return QStringLiteral("its header promises %1 bytes of sound, but the file holds only %2: "
                              "it is cut short or its header is wrong.")
            .arg(size)
            .arg(available);
    if (size % quint32(frameBytes()))
        return QStringLiteral("its sound data (%1 bytes) is not a whole number of %2-byte frames.")
            .arg(size)
            .arg(frameBytes());
    dataSize = size;
    return {};
}
