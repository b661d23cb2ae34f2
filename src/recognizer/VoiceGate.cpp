#include "VoiceGate.h"

#include <algorithm>
#include <cmath>

void VoiceGate::addFrame(const qint16 *frame)
{
    double sum = 0;
    for (qsizetype i = 0; i < FrameSamples; ++i)
        sum += double(frame[i]) * frame[i];
    m_frameEnergy[m_next] = sum;
    m_next = (m_next + 1) % WindowFrames;
    m_peak = std::max(m_peak, level());
}

double VoiceGate::level() const
{
    double sum = 0;
    for (const double energy : m_frameEnergy)
        sum += energy;
    return std::sqrt(sum / (WindowFrames * FrameSamples));
}

double VoiceGate::belowVoiceDb() const
{
    if (m_voiceLevel <= 0)
        return 0;
    return 20 * std::log10(m_voiceLevel / std::max(m_peak, 1.0));
}

bool VoiceGate::isNearVoice() const
{
    return m_voiceLevel <= 0 ||
           20 * std::log10(m_voiceLevel / std::max(level(), 1.0)) <= m_marginDb;
}

void VoiceGate::reset()
{
    std::fill(std::begin(m_frameEnergy), std::end(m_frameEnergy), 0.0);
    m_next = 0;
    m_peak = 0;
}
