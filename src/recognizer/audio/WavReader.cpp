#include "WavReader.h"

#include <QBuffer>
#include <QFile>
#include <QtEndian>
#include <cstring>
#include <iterator>

namespace {

// About 64 KB of the file at a time.
constexpr qint64 kPieceBytes = 64 * 1024;

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

} // namespace

WavReader::WavReader() = default;
WavReader::~WavReader() = default;

bool WavReader::open(const QString &path, QString *error)
{
    auto file = std::make_unique<QFile>(path);
    m_name = path;
    if (!file->open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("The sound file %1 cannot be read: %2")
                         .arg(path, file->errorString());
        return false;
    }
    m_device = std::move(file);
    return start(error);
}

bool WavReader::open(const QByteArray &bytes, QString *error)
{
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(bytes);
    buffer->open(QIODevice::ReadOnly);
    m_name.clear();
    m_device = std::move(buffer);
    return start(error);
}

QString WavReader::problem(const QString &why) const
{
    return m_name.isEmpty()
               ? QStringLiteral("The sound cannot be used: %1").arg(why)
               : QStringLiteral("The sound file %1 cannot be used: %2").arg(m_name, why);
}

bool WavReader::start(QString *error)
{
    m_header = WavHeader();
    if (const QString why = m_header.read(*m_device); !why.isEmpty()) {
        if (error)
            *error = problem(why);
        m_device.reset();
        return false;
    }
    m_device->seek(m_header.dataStart);
    m_dataLeft = m_header.dataSize;
    m_resampler.emplace(m_header.rate);
    m_finished = false;
    m_ready.clear();
    m_readyAt = 0;
    return true;
}

qsizetype WavReader::read(qint16 *samples, qsizetype count, QString *error)
{
    if (!m_device)
        return 0;
    while (m_ready.size() - m_readyAt < count && !m_finished) {
        if (!decodePiece(error))
            return -1;
    }
    const qsizetype n = qMin(count, m_ready.size() - m_readyAt);
    if (n > 0)
        std::memcpy(samples, m_ready.constData() + m_readyAt, size_t(n) * sizeof(qint16));
    m_readyAt += n;
    if (m_readyAt == m_ready.size()) {
        m_ready.clear();
        m_readyAt = 0;
    }
    return n;
}

bool WavReader::decodePiece(QString *error)
{
    if (m_readyAt > 0) {
        m_ready.remove(0, m_readyAt);
        m_readyAt = 0;
    }
    const int frameBytes = m_header.frameBytes();
    const qint64 want =
        qMin(m_dataLeft, qMax<qint64>(frameBytes, kPieceBytes - kPieceBytes % frameBytes));
    if (want == 0) {
        m_resampler->finish(&m_ready);
        m_finished = true;
        return true;
    }
    m_piece.resize(want);
    if (m_device->read(m_piece.data(), want) != want) {
        if (error)
            *error = QStringLiteral("The sound file %1 cannot be read to its end: %2")
                         .arg(m_name, m_device->errorString());
        return false;
    }
    m_dataLeft -= want;
    const qsizetype frames = want / frameBytes;
    const int width = m_header.bytesPerSample();
    m_mono.resize(frames);
    for (qsizetype f = 0; f < frames; ++f) {
        const char *frame = m_piece.constData() + f * frameBytes;
        float sum = 0;
        for (int c = 0; c < m_header.channels; ++c)
            sum += sampleAt(frame + c * width, m_header.bits, m_header.isFloat());
        m_mono[f] = sum / m_header.channels;
    }
    m_resampler->push(m_mono.constData(), frames, &m_ready);
    return true;
}

bool WavReader::read(const QString &path, QList<qint16> *samples, QString *error)
{
    WavReader reader;
    return reader.open(path, error) && reader.readAll(samples, error);
}

bool WavReader::decode(const QByteArray &bytes, QList<qint16> *samples, QString *error)
{
    WavReader reader;
    return reader.open(bytes, error) && reader.readAll(samples, error);
}

bool WavReader::readAll(QList<qint16> *samples, QString *error)
{
    samples->clear();
    qint16 piece[4096];
    qsizetype n = 0;
    while ((n = read(piece, std::size(piece), error)) > 0)
        samples->append(QList<qint16>(piece, piece + n));
    return n == 0;
}
