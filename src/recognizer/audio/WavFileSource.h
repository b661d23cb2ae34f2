#pragma once

#include "AudioSource.h"

#include <QStringList>
#include <chrono>
#include <memory>

class WavReader;

// WAV files in place of the microphone: played in order, then silence, at the pace of a real
// microphone (or faster, for tests, by speed). Every file's header is checked at the first
// opening; the sound is read as it is played.
class WavFileSource : public AudioSource
{
public:
    explicit WavFileSource(const QStringList &files, double speed = 1.0);
    ~WavFileSource() override;

    bool open(QString *error) override;
    bool read(qint16 *samples, int count, QString *error) override;
    void close() override {}

    // Samples delivered so far, silence included.
    qint64 position() const { return m_position; }

private:
    void nextFile();

    QStringList m_files;
    double m_speed;
    bool m_checked = false;
    // The file being played, m_files[m_fileIndex].
    std::unique_ptr<WavReader> m_reader;
    qsizetype m_fileIndex = 0;
    qint64 m_position = 0;
    qint64 m_clockStartPosition = 0;
    std::chrono::steady_clock::time_point m_clockStart;
};
