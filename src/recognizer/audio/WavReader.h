#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Reads a RIFF WAVE file of any sample rate and channel count (PCM of 8, 16, 24 or 32 bits, or
// 32/64-bit float) and converts it to the recognizer's 16 kHz 16-bit mono.
class WavReader
{
public:
    static constexpr int TargetRate = 16000;

    // False, with a message the caller can show, when the file cannot be read or is no WAV.
    static bool read(const QString &path, QList<qint16> *samples, QString *error);
    static bool decode(const QByteArray &bytes, QList<qint16> *samples, QString *error);
    // Mono samples in [-1, 1] at rate, to 16 kHz 16-bit.
    static QList<qint16> resample(const QList<float> &mono, int rate);
};
