#include "WavFileSource.h"

#include "WavReader.h"

#include <thread>

WavFileSource::WavFileSource(const QStringList &files, double speed)
    : m_files(files), m_speed(speed > 0 ? speed : 1.0)
{}

bool WavFileSource::open(QString *error)
{
    if (!m_loaded) {
        for (const QString &file : std::as_const(m_files)) {
            QList<qint16> samples;
            if (!WavReader::read(file, &samples, error))
                return false;
            m_samples += samples;
        }
        m_loaded = true;
    }
    // Playing resumes where it stopped, like a microphone that was muted.
    m_clockStart = std::chrono::steady_clock::now();
    m_clockStartPosition = m_position;
    return true;
}

bool WavFileSource::read(qint16 *samples, int count, QString *)
{
    for (int i = 0; i < count; ++i) {
        const qint64 at = m_position + i;
        samples[i] = at < m_samples.size() ? m_samples[at] : 0;
    }
    m_position += count;
    const auto due =
        m_clockStart + std::chrono::microseconds(
                           qint64((m_position - m_clockStartPosition) * 1e6 / 16000 / m_speed));
    std::this_thread::sleep_until(due);
    return true;
}
