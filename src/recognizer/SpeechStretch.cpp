#include "SpeechStretch.h"

bool SpeechStretch::startUtterance(qint64 start)
{
    const bool goesOn = m_end && start - *m_end < m_gap;
    m_startsInside = goesOn && m_cutOff;
    if (!goesOn)
        m_start = start;
    return goesOn;
}

void SpeechStretch::endUtterance(qint64 lastVoiced, Ending ending)
{
    m_end = lastVoiced;
    m_cutOff = ending == Ending::CutOff;
    if (isTalkAt(lastVoiced))
        m_talkEnd = lastVoiced;
}

void SpeechStretch::reset()
{
    m_start = 0;
    m_end.reset();
    m_talkEnd.reset();
    m_cutOff = false;
    m_startsInside = false;
}
