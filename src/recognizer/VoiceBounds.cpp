#include "VoiceBounds.h"

namespace {

constexpr qsizetype kSamplesPerMs = 16;
constexpr int kFrameMs = 10;

} // namespace

VoiceBounds::VoiceBounds(int prerollMs, int startWhenLoudMs, int quietSpeechEndMs)
    : m_prerollSamples(prerollMs * kSamplesPerMs),
      m_startWithinSamples(qMax(prerollMs, startWhenLoudMs) * kSamplesPerMs),
      m_waitForVoice(startWhenLoudMs > 0), m_quietEndFrames(quietSpeechEndMs / kFrameMs)
{}

std::optional<qint64> VoiceBounds::startAt(qint64 position, bool speechStarted, bool nearVoice)
{
    if (!speechStarted) {
        m_speechSure.reset();
        return std::nullopt;
    }
    if (!m_speechSure)
        m_speechSure = position;
    if (m_waitForVoice && !nearVoice)
        return std::nullopt;
    const qint64 start = qMax(*m_speechSure - m_prerollSamples, position - m_startWithinSamples);
    m_speechSure.reset();
    m_quietFrames = 0;
    return start;
}

bool VoiceBounds::quietSpeechGoesOn(bool speech, bool nearVoice)
{
    if (nearVoice)
        m_quietFrames = 0;
    else if (speech)
        ++m_quietFrames;
    return m_quietEndFrames > 0 && m_quietFrames > m_quietEndFrames;
}

void VoiceBounds::reset()
{
    m_speechSure.reset();
    m_quietFrames = 0;
}
