#pragma once

#include "AudioSource.h"

#include <QList>
#include <QStringList>
#include <chrono>

// WAV files in place of the microphone: played in order, then silence, at the pace of a real
// microphone (or faster, for tests, by speed).
class WavFileSource : public AudioSource
{
public:
    explicit WavFileSource(const QStringList &files, double speed = 1.0);

    bool open(QString *error) override;
    bool read(qint16 *samples, int count, QString *error) override;
    void close() override {}

    // Samples delivered so far, silence included.
    qint64 position() const { return m_position; }

private:
    QStringList m_files;
    double m_speed;
    QList<qint16> m_samples;
    bool m_loaded = false;
    qint64 m_position = 0;
    qint64 m_clockStartPosition = 0;
    std::chrono::steady_clock::time_point m_clockStart;
};
