#include "WavFileSource.h"

#include "WavReader.h"

#include <algorithm>
#include <thread>

WavFileSource::WavFileSource(const QStringList &files, double speed)
    : m_files(files), m_speed(speed > 0 ? speed : 1.0)
{}

WavFileSource::~WavFileSource() = default;

bool WavFileSource::open(QString *error)
{
    // A file that cannot be played is told before any is, as a microphone that cannot be opened.
    if (!m_checked) {
        for (const QString &file : std::as_const(m_files)) {
            if (!WavReader().open(file, error))
                return false;
        }
        m_checked = true;
    }
    // Playing resumes where it stopped, like a microphone that was muted.
    m_clockStart = std::chrono::steady_clock::now();
    m_clockStartPosition = m_position;
    return true;
}

void WavFileSource::nextFile()
{
    m_reader.reset();
    ++m_fileIndex;
}

bool WavFileSource::read(qint16 *samples, int count, QString *error)
{
    qsizetype filled = 0;
    while (filled < count && m_fileIndex < m_files.size()) {
        if (!m_reader) {
            m_reader = std::make_unique<WavReader>();
            if (!m_reader->open(m_files.at(m_fileIndex), error)) {
                nextFile(); // told once; listening goes on with the next file when resumed
                return false;
            }
        }
        const qsizetype n = m_reader->read(samples + filled, count - filled, error);
        if (n <= 0)
            nextFile();
        if (n < 0)
            return false;
        filled += n;
    }
    std::fill(samples + filled, samples + count, qint16(0));
    m_position += count;
    const auto due =
        m_clockStart + std::chrono::microseconds(
                           qint64((m_position - m_clockStartPosition) * 1e6 / 16000 / m_speed));
    std::this_thread::sleep_until(due);
    return true;
}
