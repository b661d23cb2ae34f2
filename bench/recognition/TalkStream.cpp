#include "TalkStream.h"

#include "Noise.h"

#include <cmath>

namespace {

// The noise of a quiet room, as under the other talk condition.
constexpr double kRoomSnrDb = 35;
constexpr qsizetype kSamplesPerMs = 16;

// As the other talk condition measures it: over all of the talk, its pauses too.
double gainFor(double speechRms, double snrDb, const QList<qint16> &talk)
{
    // Summed here rather than through a copy in doubles, which would add to the peak memory
    // the benchmark measures.
    double sum = 0;
    for (const qint16 s : talk)
        sum += double(s) * s;
    const double talkRms = talk.isEmpty() ? 0 : std::sqrt(sum / double(talk.size()));
    return speechRms / std::pow(10.0, snrDb / 20) / qMax(1.0, talkRms);
}

} // namespace

TalkStream::TalkStream(const QList<qint16> &talk, double speechRms, double snrDb, quint32 seed)
    : m_talk(talk), m_talkGain(gainFor(speechRms, snrDb, talk)),
      m_roomGain(speechRms / std::pow(10.0, kRoomSnrDb / 20)), m_seed(seed)
{}

QList<qint16> TalkStream::slot(const QList<qint16> &speech)
{
    const qsizetype at = SpeechAtMs * kSamplesPerMs;
    const qsizetype n = qMax(SlotMs * kSamplesPerMs, at + speech.size());
    const QList<double> room = Noise::pink(n, m_seed++);
    const double roomGain = m_roomGain / Noise::rms(room);
    QList<qint16> samples(n);
    for (qsizetype i = 0; i < n; ++i) {
        const double said = i >= at && i - at < speech.size() ? speech[i - at] : 0;
        const double talk = m_talk.isEmpty() ? 0 : m_talk[(m_talkAt + i) % m_talk.size()];
        samples[i] = qint16(
            qBound(-32768.0, std::round(said + talk * m_talkGain + room[i] * roomGain), 32767.0));
    }
    m_talkAt = m_talk.isEmpty() ? 0 : (m_talkAt + n) % m_talk.size();
    return samples;
}
