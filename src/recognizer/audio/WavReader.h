#pragma once

#include "Resampler.h"
#include "WavHeader.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <memory>
#include <optional>

class QIODevice;

// Reads a RIFF WAVE file of any sample rate and channel count (PCM of 8, 16, 24 or 32 bits, or
// 32/64-bit float) as the recognizer's 16 kHz 16-bit mono, a piece at a time: memory does not
// grow with the length of the file. The header is checked when the file is opened, so that a
// file which is cut short, lies about its sizes or holds other sound is refused with a message
// before any of it is heard.
class WavReader
{
public:
    static constexpr int TargetRate = Resampler::TargetRate;

    WavReader();
    ~WavReader();
    WavReader(const WavReader &) = delete;
    WavReader &operator=(const WavReader &) = delete;

    // False, with a message naming the file, when it cannot be read or its sound cannot be used.
    bool open(const QString &path, QString *error);
    // The same for a file's bytes in memory.
    bool open(const QByteArray &bytes, QString *error);
    // Up to count samples; fewer only at the end of the sound, 0 after it. -1, with a message
    // naming the file, when the file cannot be read on.
    qsizetype read(qint16 *samples, qsizetype count, QString *error);

    // The whole sound of a file, or of a file's bytes, at once.
    static bool read(const QString &path, QList<qint16> *samples, QString *error);
    static bool decode(const QByteArray &bytes, QList<qint16> *samples, QString *error);

private:
    bool start(QString *error);
    bool readAll(QList<qint16> *samples, QString *error);
    // Decodes the next piece of the sound into m_ready; false when the file cannot be read on.
    bool decodePiece(QString *error);
    QString problem(const QString &why) const;

    std::unique_ptr<QIODevice> m_device;
    QString m_name;
    WavHeader m_header;
    std::optional<Resampler> m_resampler;
    qint64 m_dataLeft = 0;
    bool m_finished = false;
    QByteArray m_piece;
    QList<float> m_mono;
    // Samples decoded and not yet read, from m_readyAt on.
    QList<qint16> m_ready;
    qsizetype m_readyAt = 0;
};
