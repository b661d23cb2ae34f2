#include "WavReader.h"

#include <QFile>
#include <QtEndian>
#include <cmath>

namespace {

constexpr quint16 kFormatPcm = 1;
constexpr quint16 kFormatFloat = 3;
constexpr quint16 kFormatExtensible = 0xFFFE;

quint16 u16(const char *p)
{
    return qFromLittleEndian<quint16>(p);
}

quint32 u32(const char *p)
{
    return qFromLittleEndian<quint32>(p);
}

float sampleAt(const char *p, int bits, bool isFloat)
{
    if (isFloat)
        return bits == 32 ? qFromLittleEndian<float>(p) : float(qFromLittleEndian<double>(p));
    switch (bits) {
    case 8:
        return (quint8(*p) - 128) / 128.0f;
    case 16:
        return qFromLittleEndian<qint16>(p) / 32768.0f;
    case 24: {
        const qint32 v = qint32(quint32(quint8(p[0])) << 8 | quint32(quint8(p[1])) << 16 |
                                quint32(quint8(p[2])) << 24) >>
                         8;
        return v / 8388608.0f;
    }
    default:
        return qFromLittleEndian<qint32>(p) / 2147483648.0f;
    }
}

// What the chunks of a RIFF WAVE file say about its sound.
struct Layout
{
    quint16 format = 0;
    int channels = 0;
    int rate = 0;
    int bits = 0;
    const char *data = nullptr;
    qsizetype dataSize = 0;
};

// Walks the chunks for the format and the sound data; empty when both are there, else what is
// wrong.
QString readChunks(const QByteArray &bytes, Layout *layout)
{
    for (qsizetype pos = 12; pos + 8 <= bytes.size();) {
        const QByteArray id = bytes.mid(pos, 4);
        const qsizetype size = u32(bytes.constData() + pos + 4);
        const char *body = bytes.constData() + pos + 8;
        const qsizetype available = qMin<qsizetype>(size, bytes.size() - pos - 8);
        if (id == "fmt ") {
            if (available < 16)
                return QStringLiteral("its format chunk is too short.");
            layout->format = u16(body);
            layout->channels = u16(body + 2);
            layout->rate = int(u32(body + 4));
            layout->bits = u16(body + 14);
            if (layout->format == kFormatExtensible && available >= 26)
                layout->format = u16(body + 24);
        } else if (id == "data") {
            layout->data = body;
            layout->dataSize = available; // a file cut short keeps what it has
            break;
        }
        pos += 8 + size + (size & 1);
    }
    if (!layout->format)
        return QStringLiteral("it has no format chunk.");
    if (!layout->data)
        return QStringLiteral("it has no sound data.");
    return {};
}

// The channels averaged, in [-1, 1].
QList<float> mono(const Layout &layout, bool isFloat)
{
    const int frameBytes = layout.bits / 8 * layout.channels;
    const qsizetype frames = layout.dataSize / frameBytes;
    QList<float> mono(frames);
    for (qsizetype f = 0; f < frames; ++f) {
        float sum = 0;
        for (int c = 0; c < layout.channels; ++c)
            sum += sampleAt(layout.data + f * frameBytes + c * (layout.bits / 8), layout.bits,
                            isFloat);
        mono[f] = sum / layout.channels;
    }
    return mono;
}

} // namespace

bool WavReader::read(const QString &path, QList<qint16> *samples, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("The sound file %1 cannot be read: %2")
                         .arg(path, file.errorString());
        return false;
    }
    if (!decode(file.readAll(), samples, error)) {
        if (error)
            *error = path + QStringLiteral(": ") + *error;
        return false;
    }
    return true;
}

bool WavReader::decode(const QByteArray &bytes, QList<qint16> *samples, QString *error)
{
    auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return fail(QStringLiteral("this is not a WAV file."));
    Layout layout;
    if (const QString problem = readChunks(bytes, &layout); !problem.isEmpty())
        return fail(problem);
    const bool isFloat = layout.format == kFormatFloat;
    const int bits = layout.bits;
    const bool supported =
        (layout.format == kFormatPcm && (bits == 8 || bits == 16 || bits == 24 || bits == 32)) ||
        (isFloat && (bits == 32 || bits == 64));
    if (!supported)
        return fail(QStringLiteral("its encoding (format %1, %2 bits) is not supported; use PCM.")
                        .arg(layout.format)
                        .arg(bits));
    if (layout.channels < 1 || layout.rate < 1000 || layout.rate > 384000)
        return fail(QStringLiteral("it declares %1 channels at %2 Hz.")
                        .arg(layout.channels)
                        .arg(layout.rate));
    *samples = resample(mono(layout, isFloat), layout.rate);
    return true;
}

QList<qint16> WavReader::resample(const QList<float> &mono, int rate)
{
    QList<float> source = mono;
    if (rate > TargetRate) {
        // A moving average over the ratio takes out most of what would fold back below 8 kHz.
        const int width = int(std::lround(double(rate) / TargetRate));
        if (width > 1) {
            QList<float> smoothed(source.size());
            double sum = 0;
            for (qsizetype i = 0; i < source.size(); ++i) {
                sum += source[i];
                if (i >= width)
                    sum -= source[i - width];
                smoothed[i] = float(sum / qMin<qsizetype>(i + 1, width));
            }
            source = smoothed;
        }
    }
    const double step = double(rate) / TargetRate;
    const qsizetype count =
        rate == TargetRate ? source.size() : qsizetype(std::floor(source.size() / step));
    QList<qint16> out(count);
    for (qsizetype i = 0; i < count; ++i) {
        const double at = i * step;
        const qsizetype j = qsizetype(at);
        const double frac = at - j;
        const float a = source.value(j);
        const float b = j + 1 < source.size() ? source[j + 1] : a;
        const double v = (a + (b - a) * frac) * 32768.0;
        out[i] = qint16(qBound(-32768.0, std::round(v), 32767.0));
    }
    return out;
}
